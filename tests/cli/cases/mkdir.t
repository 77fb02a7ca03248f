mkdir: a folder exists through its empty placeholder entry temp.tmp.

  $ vantor-pak mkdir base.pak textures maps/new && vantor-pak list -l base.pak
  12 14 autoexec.cfg
  26 10 maps/e1m1.bsp
  36 11 maps/dm/dm1.bsp
  47 7 progs/player.mdl
  54 0 sound/empty.wav
  54 0 textures/temp.tmp
  54 0 maps/new/temp.tmp
  $ vantor-pak list base.pak textures/
  textures/temp.tmp

Again, or with a broken path, it fails; the other folders still arrive.

  $ vantor-pak mkdir base.pak textures again 'bad name' ../up
  ! vantor-pak: textures: A file of this name already exists.
  ! vantor-pak: bad name: Invalid filename.
  ! vantor-pak: ../up: Invalid filename.
  [1]
  $ vantor-pak mkdir base.pak abcdefgh/abcdefgh/abcdefgh/abcdefgh/abcdefgh/abcdefgh/abc
  ! vantor-pak: abcdefgh/abcdefgh/abcdefgh/abcdefgh/abcdefgh/abcdefgh/abc: The pathname is too long.
  [1]
  $ vantor-pak list base.pak | grep temp.tmp
  textures/temp.tmp
  maps/new/temp.tmp
  again/temp.tmp
  $ vantor-pak check base.pak
  unused: 0

The root exists without a placeholder.

  $ vantor-pak mkdir base.pak / && vantor-pak list base.pak | grep -c '^temp.tmp'
  ! vantor-pak: /: Invalid filename.
  [1]
  $ cp base.pak before.pak && vantor-pak mkdir base.pak // '\/' C:///
  ! vantor-pak: //: Invalid filename.
  ! vantor-pak: \/: Invalid filename.
  ! vantor-pak: C:///: Invalid filename.
  [1]
  $ cmp base.pak before.pak && echo unchanged
  unchanged
