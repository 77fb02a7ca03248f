add: files, and folders with everything below them, in one batch.

Not on Windows: a full disk is made with ulimit -f, which Wine reports as a hardware error, and failing disk paths print with '\'.

  $ vantor-pak new t.pak
  $ mkdir -p src/maps/dm src/maps/old && printf 'one' > src/maps/e1m1.bsp && printf 'dm' > src/maps/dm/dm1.bsp
  $ printf 'cfg' > src/auto.cfg && printf '' > src/zero.txt
  $ vantor-pak add t.pak src/auto.cfg src/zero.txt src/maps && vantor-pak list -l t.pak
  12 3 auto.cfg
  15 0 zero.txt
  15 2 maps/dm/dm1.bsp
  17 3 maps/e1m1.bsp
  $ cli_fixture dump t.pak
  directory 20 256, file 276 bytes
  12 3 auto.cfg "cfg"
  15 0 zero.txt ""
  15 2 maps/dm/dm1.bsp "dm"
  17 3 maps/e1m1.bsp "one"

An empty disk folder adds nothing. --to puts everything into a pak folder;
"." and a trailing / name the folder itself.

  $ (cd src/maps && vantor-pak add ../../t.pak --to=copy .) && vantor-pak list t.pak copy
  copy/maps/dm/dm1.bsp
  copy/maps/e1m1.bsp
  $ vantor-pak add t.pak --to deep/er src/maps/ && vantor-pak list t.pak deep
  deep/er/maps/dm/dm1.bsp
  deep/er/maps/e1m1.bsp

Existing entries are replaced, unless --no-replace keeps them.

  $ printf 'CFG2' > src/auto.cfg
  $ vantor-pak add t.pak --no-replace src/auto.cfg && vantor-pak cat t.pak auto.cfg
  cfg (no-eol)
  $ vantor-pak add t.pak src/auto.cfg && vantor-pak cat t.pak auto.cfg
  CFG2 (no-eol)
  $ vantor-pak list t.pak | grep -c auto.cfg
  1

Names that break the short-name rule fail as items; the others still
arrive and the status is 1.

  $ printf 'x' > src/LONGFILENAME.TXT && mkdir -p bad/LONGFOLDERNAME && printf 'y' > bad/LONGFOLDERNAME/a.txt && printf 'z' > bad/ok.txt
  $ vantor-pak add t.pak src/LONGFILENAME.TXT nothere.txt bad src/zero.txt
  ! vantor-pak: src/LONGFILENAME.TXT: Invalid filename.
  ! vantor-pak: nothere.txt: File not found.
  ! vantor-pak: bad/LONGFOLDERNAME: Invalid filename.
  [1]
  $ vantor-pak list t.pak bad
  bad/ok.txt
  $ vantor-pak check t.pak
  unused: 3

Adding to a pak that is not there, or to a file that is not a pak.

  $ vantor-pak add none.pak src/auto.cfg
  ! vantor-pak: none.pak: File not found.
  [2]
  $ vantor-pak add src/auto.cfg src/zero.txt
  ! vantor-pak: src/auto.cfg: The file you selected is not a valid PAK.
  [2]

When writing the pak fails (here a file size limit, which the system
reports as a full disk), the pak is named, not the file being added, and
it keeps its old contents.

  $ head -c 3000 /dev/zero > big.bin && mkdir -p tree/sub && cp big.bin tree/sub/ && cp base.pak before.pak
  $ (trap '' XFSZ && ulimit -f 1 && vantor-pak add base.pak big.bin)
  ! vantor-pak: base.pak: Disk full.  Gib some files and try again.
  [1]
  $ (trap '' XFSZ && ulimit -f 1 && vantor-pak add base.pak tree)
  ! vantor-pak: base.pak: Disk full.  Gib some files and try again.
  [1]
  $ cmp base.pak before.pak && echo unchanged
  unchanged
