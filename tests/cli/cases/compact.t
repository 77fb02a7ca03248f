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
  54 0 sound/empty.wav ""

A pak whose entries share bytes, or lie outside the file, is refused and
left as it was; the entries (or the directory) in the way are named as
check names them.

  $ cp bad-overlap.pak before.pak
  $ vantor-pak compact bad-overlap.pak
  recovered: 0
  ! vantor-pak: bad-overlap.pak: Not all empty space could be recovered.
  ! record 1 "b.txt": the data at 17, 10 bytes, overlaps record 0
  ! record 2 "c.txt": the data at 22, 10 bytes, overlaps record 1
  [1]
  $ cmp bad-overlap.pak before.pak && echo unchanged
  unchanged
  $ for f in bad-past-end bad-over-header bad-over-dir bad-dir-over-header; do cp $f.pak before.pak; vantor-pak compact $f.pak >/dev/null; cmp $f.pak before.pak || echo changed; done
  ! vantor-pak: bad-past-end.pak: Not all empty space could be recovered.
  ! record 1 "maps/far.bsp": the data at 1000, 50 bytes, runs past the end of the file (144 bytes)
  ! vantor-pak: bad-over-header.pak: Not all empty space could be recovered.
  ! record 1 "h.bin": the data at 0, 12 bytes, overlaps the header
  ! vantor-pak: bad-over-dir.pak: Not all empty space could be recovered.
  ! record 1 "d.bin": the data at 22, 64 bytes, overlaps the directory
  ! vantor-pak: bad-dir-over-header.pak: Not all empty space could be recovered.
  ! directory: at 0, 64 bytes, overlaps the header
