rm: entries and folders go in one change; their bytes stay as unused space.

  $ vantor-pak rm base.pak autoexec.cfg maps/ && vantor-pak list base.pak
  progs/player.mdl
  sound/empty.wav
  $ vantor-pak info base.pak
  entries: 2
  directory: 54 128
  size: 182
  unused: 35
  $ cli_fixture dump base.pak
  directory 54 128, file 182 bytes
  47 7 progs/player.mdl "player\x0A"
  54 0 sound/empty.wav ""

A folder is named with a trailing /; a name without one is an entry.
Each missing item is reported, the rest still go.

  $ vantor-pak rm base.pak progs nothere.txt sound/ nofolder/
  ! vantor-pak: progs: File not found.
  ! vantor-pak: nothere.txt: File not found.
  ! vantor-pak: nofolder/: File not found.
  [1]
  $ vantor-pak list base.pak
  progs/player.mdl

The root is never removed by "/", nor by anything else that means it
once drive and separators are gone; a pak whose names begin with "/"
keeps them.

  $ vantor-pak rm base.pak /
  ! vantor-pak: /: Invalid filename.
  [1]
  $ vantor-pak rm base.pak // '\/' C:/// 'C:\'
  ! vantor-pak: //: Invalid filename.
  ! vantor-pak: \/: Invalid filename.
  ! vantor-pak: C:///: Invalid filename.
  ! vantor-pak: C:\: Invalid filename.
  [1]
  $ vantor-pak list base.pak
  progs/player.mdl
  $ cp bad-escape.pak before.pak && vantor-pak rm bad-escape.pak // C:///
  ! vantor-pak: //: Invalid filename.
  ! vantor-pak: C:///: Invalid filename.
  [1]
  $ cmp bad-escape.pak before.pak && echo unchanged
  unchanged

Removing everything leaves a pak that still opens.

  $ vantor-pak rm base.pak progs/ && vantor-pak info base.pak && vantor-pak check base.pak
  entries: 0
  directory: 54 0
  size: 54
  unused: 42
  unused: 42
