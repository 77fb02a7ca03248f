list: full entry names at any depth, in directory order.

  $ vantor-pak list base.pak
  autoexec.cfg
  maps/e1m1.bsp
  maps/dm/dm1.bsp
  progs/player.mdl
  sound/empty.wav
  $ vantor-pak list -l base.pak
  12 14 autoexec.cfg
  26 10 maps/e1m1.bsp
  36 11 maps/dm/dm1.bsp
  47 7 progs/player.mdl
  54 0 sound/empty.wav
  $ vantor-pak list base.pak maps
  maps/e1m1.bsp
  maps/dm/dm1.bsp
  $ vantor-pak list base.pak maps/
  maps/e1m1.bsp
  maps/dm/dm1.bsp
  $ vantor-pak list -l base.pak maps/dm
  36 11 maps/dm/dm1.bsp

A folder prefix matches whole levels only; a missing folder is an error.

  $ vantor-pak list base.pak map
  ! vantor-pak: map: File not found.
  [1]
  $ vantor-pak list base.pak maps/e1m1.bsp
  maps/e1m1.bsp

JSON: one document with name, offset and length.

  $ vantor-pak list --json base.pak progs
  {
    "entries": [
      {"name": "progs/player.mdl", "offset": 47, "length": 7}
    ]
  }
  $ vantor-pak new empty.pak && vantor-pak list empty.pak && vantor-pak list --json empty.pak
  {
    "entries": []
  }

A name held twice is listed twice, each record with its own place.

  $ vantor-pak list -l bad-duplicate.pak
  12 5 a.txt
  17 1 b.txt
  18 6 a.txt
