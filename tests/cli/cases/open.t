A pak that cannot be opened stops every command with status 2 and the

Not on Windows: other openers are made with flock(1), an advisory lock that Windows sharing modes do not see.
engine's reason.

  $ vantor-pak list missing.pak
  ! vantor-pak: missing.pak: File not found.
  [2]
  $ printf 'not a pak at all' > text.pak
  $ vantor-pak info text.pak
  ! vantor-pak: text.pak: The file you selected is not a valid PAK.
  [2]
  $ vantor-pak rm text.pak a.txt
  ! vantor-pak: text.pak: The file you selected is not a valid PAK.
  [2]
  $ mkdir folder.pak
  $ vantor-pak list folder.pak
  ! vantor-pak: folder.pak: The file you selected is not a valid PAK.
  [2]
  $ vantor-pak list bad-zero-header.pak
  ! vantor-pak: bad-zero-header.pak: Error reading PAK directory.  The PAK file may be gibbed.
  [2]
  $ vantor-pak list bad-dir-past-end.pak
  ! vantor-pak: bad-dir-past-end.pak: Error reading file.
  [2]
  $ vantor-pak cat bad-short.pak a.txt
  ! vantor-pak: bad-short.pak: The file you selected is not a valid PAK.
  [2]

Names from a pak never reach the terminal raw: control bytes are shown
as \xHH, so a forged name cannot add a line.

  $ vantor-pak new ctl.pak && printf 'x' > 'a.txt' && vantor-pak add ctl.pak a.txt
  $ printf 'a\nb' | dd of=ctl.pak bs=1 seek=13 conv=notrunc 2>/dev/null
  $ vantor-pak list ctl.pak
  a\x0Abxt
  $ vantor-pak list --json ctl.pak
  {
    "entries": [
      {"name": "a\nbxt", "offset": 12, "length": 1}
    ]
  }
  $ vantor-pak check ctl.pak
  unused: 0

A pak another program is changing (an exclusive lock) is refused, by
name; check reads the bytes without opening the pak.

  $ flock base.pak vantor-pak list base.pak
  ! vantor-pak: base.pak: Sharing violation.  Another program has the pak open.
  [2]
  $ flock base.pak vantor-pak rm base.pak autoexec.cfg
  ! vantor-pak: base.pak: Sharing violation.  Another program has the pak open.
  [2]
  $ flock base.pak vantor-pak check base.pak
  unused: 0

Readers share: a reader's lock lets other readers in and keeps writers
out, with the reason, not "access denied".

  $ flock -s base.pak vantor-pak list base.pak
  autoexec.cfg
  maps/e1m1.bsp
  maps/dm/dm1.bsp
  progs/player.mdl
  sound/empty.wav
  $ flock -s base.pak vantor-pak rm base.pak autoexec.cfg
  ! vantor-pak: base.pak: Sharing violation.  Another program has the pak open.
  [2]

A pak longer than 2 GiB, whose offsets cannot reach its end, is read but
never changed, and says why.

  $ cp base.pak big.pak && truncate -s 3G big.pak
  $ vantor-pak cat big.pak autoexec.cfg
  exec quake.rc
  $ vantor-pak compact big.pak
  ! vantor-pak: big.pak: File access denied.  The pak is larger than 2 GiB, beyond what its offsets can reach.
  [2]
  $ vantor-pak rm big.pak autoexec.cfg
  ! vantor-pak: big.pak: File access denied.  The pak is larger than 2 GiB, beyond what its offsets can reach.
  [2]
  $ vantor-pak list big.pak | head -1
  autoexec.cfg
  $ cmp -n "$(stat -c %s base.pak)" base.pak big.pak && stat -c %s big.pak
  3221225472
