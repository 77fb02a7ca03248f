export: one picture as an indexed PNG, with the palette the game would use.
The PNG's header shows width, height, bit depth 8 and colour type 3
(indexed): bytes 16 to 25.

  $ vantor-pak export quake/id1/pak0.pak gfx/qplaque.lmp plaque.png
  plaque.png: gfx/qplaque.lmp, 4x3, palette: id1/pak0.pak: gfx/palette.lmp
  $ od -An -tu1 -j16 -N10 plaque.png
     0   0   0   4   0   0   0   3   8   3

The palette comes from id1 when the mod's paks have none.

  $ vantor-pak export quake/mod/pak0.pak maps/start.bsp lava.png
  lava.png: maps/start.bsp: +0lava, 16x16, palette: id1/pak0.pak: gfx/palette.lmp
  $ vantor-pak export --image sky1 quake/mod/pak0.pak maps/start.bsp sky.png
  sky.png: maps/start.bsp: sky1, 32x16, palette: id1/pak0.pak: gfx/palette.lmp
  $ vantor-pak export --image 'SKIN 1, FRAME 1' quake/mod/pak0.pak progs/ogre.mdl skin.png
  skin.png: progs/ogre.mdl: skin 1, frame 1, 8x4, palette: id1/pak0.pak: gfx/palette.lmp
  $ vantor-pak export --image 0 quake/mod/pak0.pak progs/s_light.spr frame.png
  frame.png: progs/s_light.spr: frame 0, 2x2, palette: id1/pak0.pak: gfx/palette.lmp
  $ vantor-pak export --image conchars quake/mod/pak0.pak gfx.wad conchars.png
  conchars.png: gfx.wad: conchars, 128x128, palette: gfx.wad

A palette given on the command line wins; a palette entry draws itself.

  $ vantor-pak export --palette mine.lmp lone/pics.pak gfx/dot.lmp dot.png
  dot.png: gfx/dot.lmp, 1x1, palette: mine.lmp
  $ vantor-pak export quake/id1/pak0.pak gfx/palette.lmp palette.png
  palette.png: gfx/palette.lmp, 16x16, palette: gfx/palette.lmp

Refusals name the entry and why; nothing is written.

  $ vantor-pak export lone/pics.pak gfx/dot.lmp dot2.png
  ! vantor-pak: gfx/dot.lmp: No palette: gfx/palette.lmp is in neither this pak, its game folder nor id1. Give one with --palette FILE.
  [1]
  $ vantor-pak export quake/mod/pak0.pak gfx/bad.lmp bad.png
  ! vantor-pak: gfx/bad.lmp: Quake picture (qpic): A picture of 8×9 takes 80 bytes; there are 72.
  [1]
  $ vantor-pak export quake/mod/pak0.pak sprites/glow.spr glow.png
  ! vantor-pak: sprites/glow.spr: Half-Life sprite (SPR version 2): It is not a Quake 1 format.
  [1]
  $ vantor-pak export quake/mod/pak0.pak readme.txt readme.png
  ! vantor-pak: readme.txt: not a picture, texture, skin or sprite
  [1]
  $ vantor-pak export --image 1 quake/mod/pak0.pak maps/start.bsp missing.png
  ! vantor-pak: maps/start.bsp: texture 1: The map has no pixels for this texture.
  [1]
  $ vantor-pak export --image 9 quake/mod/pak0.pak maps/start.bsp nine.png
  ! vantor-pak: maps/start.bsp: Quake map (BSP 29): no picture 9
  [1]
  $ vantor-pak export quake/mod/pak0.pak gfx/none.lmp none.png
  ! vantor-pak: gfx/none.lmp: File not found.
  [1]
  $ vantor-pak export --palette readme.txt quake/mod/pak0.pak maps/start.bsp x.png
  ! vantor-pak: readme.txt: not a palette (a palette file holds 768 bytes)
  [2]
  $ vantor-pak export quake/id1/pak0.pak gfx/qplaque.lmp nofolder/x.png
  ! vantor-pak: nofolder/x.png: The PNG file could not be written: File not found.
  [1]
  $ vantor-pak export quake/id1/pak0.pak gfx/qplaque.lmp
  ! vantor-pak: export: expects PAK NAME OUT.png
  ! usage: vantor-pak export [--palette FILE] [--image N or NAME] PAK NAME OUT.png
  [2]
  $ ls *.png
  conchars.png
  dot.png
  frame.png
  lava.png
  palette.png
  plaque.png
  skin.png
  sky.png
