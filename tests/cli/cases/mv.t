mv: rename or move an entry; a folder when OLD ends in /. The data stays
where it is.

  $ vantor-pak mv base.pak autoexec.cfg config.cfg && vantor-pak list -l base.pak
  12 14 config.cfg
  26 10 maps/e1m1.bsp
  36 11 maps/dm/dm1.bsp
  47 7 progs/player.mdl
  54 0 sound/empty.wav
  $ vantor-pak mv base.pak config.cfg cfg/ && vantor-pak list base.pak cfg
  cfg/config.cfg
  $ vantor-pak mv base.pak maps/ levels && vantor-pak list base.pak
  cfg/config.cfg
  levels/e1m1.bsp
  levels/dm/dm1.bsp
  progs/player.mdl
  sound/empty.wav
  $ vantor-pak mv base.pak levels/dm/ dm/ && vantor-pak list base.pak
  cfg/config.cfg
  levels/e1m1.bsp
  dm/dm1.bsp
  progs/player.mdl
  sound/empty.wav
  $ cli_fixture dump base.pak
  directory 54 320, file 374 bytes
  12 14 cfg/config.cfg "exec quake.rc\x0A"
  26 10 levels/e1m1.bsp "level one\x0A"
  36 11 dm/dm1.bsp "deathmatch\x0A"
  47 7 progs/player.mdl "player\x0A"
  54 0 sound/empty.wav ""

Clashes, broken rules and missing names fail with the engine's reason.

  $ vantor-pak mv base.pak dm/dm1.bsp levels/e1m1.bsp
  ! vantor-pak: dm/dm1.bsp: A file of this name already exists.
  [1]
  $ vantor-pak mv base.pak dm/dm1.bsp levels
  ! vantor-pak: dm/dm1.bsp: A file of this name already exists.
  [1]
  $ vantor-pak mv base.pak progs/ levels/
  ! vantor-pak: progs/: A file of this name already exists.
  [1]
  $ vantor-pak mv base.pak dm/dm1.bsp maps/LONGERNAME.BSP
  ! vantor-pak: dm/dm1.bsp: Invalid filename.
  [1]
  $ vantor-pak mv base.pak levels/ LONGFOLDERNAME/
  ! vantor-pak: levels/: Invalid filename.
  [1]
  $ vantor-pak mv base.pak dm/dm1.bsp ../up.bsp
  ! vantor-pak: dm/dm1.bsp: Invalid filename.
  [1]
  $ vantor-pak mv base.pak nothere.bsp x.bsp
  ! vantor-pak: nothere.bsp: File not found.
  [1]
  $ vantor-pak mv base.pak nofolder/ x/
  ! vantor-pak: nofolder/: File not found.
  [1]
  $ vantor-pak mv base.pak levels x
  ! vantor-pak: levels: File not found.
  [1]
  $ vantor-pak list base.pak
  cfg/config.cfg
  levels/e1m1.bsp
  dm/dm1.bsp
  progs/player.mdl
  sound/empty.wav

Names that mean the root are refused whichever side they are on, and
nothing moves, not even in a pak whose names begin with "/".

  $ vantor-pak mv base.pak // x/
  ! vantor-pak: //: Invalid filename.
  [1]
  $ vantor-pak mv base.pak C:/// x/
  ! vantor-pak: C:///: Invalid filename.
  [1]
  $ vantor-pak mv base.pak progs/ //
  ! vantor-pak: progs/: Invalid filename.
  [1]
  $ vantor-pak mv base.pak dm/dm1.bsp '\/'
  ! vantor-pak: dm/dm1.bsp: Invalid filename.
  [1]
  $ cp bad-escape.pak before.pak && vantor-pak mv bad-escape.pak // x/
  ! vantor-pak: //: Invalid filename.
  [1]
  $ cmp bad-escape.pak before.pak && echo unchanged && vantor-pak list base.pak
  unchanged
  cfg/config.cfg
  levels/e1m1.bsp
  dm/dm1.bsp
  progs/player.mdl
  sound/empty.wav
