Paks from other writers: the same entries with the directory last, first,
in the middle, among gaps, and with empty entries that point anywhere.
list, cat and extract must agree with what the writer was given (inputs/).

  $ for p in layout-*.pak; do echo "$p: $(vantor-pak list $p | paste -sd' ')"; done
  layout-end.pak: maps/e1m1.bsp progs/player.mdl sound/empty.wav readme.txt maps/dm/dm1.bsp gfx/blank.lmp
  layout-first.pak: maps/e1m1.bsp progs/player.mdl sound/empty.wav readme.txt maps/dm/dm1.bsp gfx/blank.lmp
  layout-gaps.pak: maps/e1m1.bsp progs/player.mdl sound/empty.wav readme.txt maps/dm/dm1.bsp gfx/blank.lmp
  layout-middle.pak: maps/e1m1.bsp progs/player.mdl sound/empty.wav readme.txt maps/dm/dm1.bsp gfx/blank.lmp
  layout-stray.pak: maps/e1m1.bsp progs/player.mdl readme.txt maps/dm/dm1.bsp sound/empty.wav gfx/blank.lmp
  $ vantor-pak list -l layout-first.pak
  396 10 maps/e1m1.bsp
  406 768 progs/player.mdl
  1174 0 sound/empty.wav
  1174 8 readme.txt
  1182 11 maps/dm/dm1.bsp
  1193 0 gfx/blank.lmp
  $ vantor-pak list -l layout-gaps.pak
  112 10 maps/e1m1.bsp
  223 768 progs/player.mdl
  1477 0 sound/empty.wav
  1580 8 readme.txt
  1692 11 maps/dm/dm1.bsp
  1808 0 gfx/blank.lmp
  $ vantor-pak list -l layout-stray.pak
  12 10 maps/e1m1.bsp
  22 768 progs/player.mdl
  790 8 readme.txt
  798 11 maps/dm/dm1.bsp
  0 0 sound/empty.wav
  2147483632 0 gfx/blank.lmp

Every entry, through cat:

  $ for p in layout-*.pak; do
  >   for n in $(vantor-pak list $p); do vantor-pak cat $p $n | cmp - inputs/$n || echo "$p $n differs"; done
  > done; echo compared
  compared

The whole pak, through extract:

  $ for p in layout-*.pak; do vantor-pak extract -C out-$p $p && diff -r inputs out-$p && echo "$p same"; done
  layout-end.pak same
  layout-first.pak same
  layout-gaps.pak same
  layout-middle.pak same
  layout-stray.pak same

The layouts are sound; only the gaps are unused space.

  $ for p in layout-*.pak; do vantor-pak check $p | tr '\n' ' '; echo "$p"; done
  unused: 0 layout-end.pak
  unused: 0 layout-first.pak
  unused: 665 layout-gaps.pak
  unused: 0 layout-middle.pak
  unused: 0 layout-stray.pak

Changing such a pak keeps every other entry intact.

  $ for p in layout-*.pak; do
  >   vantor-pak rm $p readme.txt && vantor-pak add $p --to maps inputs/readme.txt && vantor-pak extract -C x-$p $p &&
  >   cmp x-$p/maps/readme.txt inputs/readme.txt && rm x-$p/maps/readme.txt && cp inputs/readme.txt x-$p/ && diff -r inputs x-$p && echo "$p kept"
  > done
  layout-end.pak kept
  layout-first.pak kept
  layout-gaps.pak kept
  layout-middle.pak kept
  layout-stray.pak kept
