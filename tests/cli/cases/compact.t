compact: the live data packed from offset 12, the directory last.

  $ vantor-pak compact layout-gaps.pak
  recovered: 665
  $ vantor-pak info layout-gaps.pak
  entries: 6
  directory: 809 384
  size: 1193
  unused: 0
  $ vantor-pak extract -C out layout-gaps.pak && diff -r inputs out && echo same
  same
  $ vantor-pak compact layout-gaps.pak
  recovered: 0

After removing entries, their bytes are what comes back.

  $ vantor-pak rm base.pak maps/ && vantor-pak compact base.pak && cli_fixture dump base.pak
  recovered: 21
  directory 33 192, file 225 bytes
  12 14 autoexec.cfg "exec quake.rc\x0A"
  26 7 progs/player.mdl "player\x0A"
  33 0 sound/empty.wav ""

A pak whose entries share bytes is refused and left as it was.

  $ cp bad-overlap.pak before.pak
  $ vantor-pak compact bad-overlap.pak
  recovered: 0
  ! vantor-pak: bad-overlap.pak: Not all empty space could be recovered.
  [1]
  $ cmp bad-overlap.pak before.pak && echo unchanged
  unchanged
