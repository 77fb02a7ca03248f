Names other tools wrote. Windows tools store '\' between levels: such
entries are found by their '/' form, singly and as folders, by every
command, and listed as stored.

  $ vantor-pak list -l backslash.pak maps/
  12 8 maps\a.bsp
  20 8 maps\dm\b.bsp
  $ vantor-pak list backslash.pak maps/dm && vantor-pak list backslash.pak maps/a.bsp
  maps\dm\b.bsp
  maps\a.bsp
  $ vantor-pak cat backslash.pak maps/dm/b.bsp
  level b
  $ vantor-pak extract -C out backslash.pak maps/a.bsp && vantor-pak extract -C out backslash.pak maps/dm/ && find out -type f | sort
  out/maps/a.bsp
  out/maps/dm/b.bsp
  $ vantor-pak mv backslash.pak maps/a.bsp a.bsp && vantor-pak mv backslash.pak maps/ levels/ && vantor-pak list backslash.pak
  a.bsp
  levels/dm/b.bsp
  readme.txt
  $ vantor-pak rm backslash.pak a.bsp levels/dm/b.bsp && vantor-pak list backslash.pak && vantor-pak check backslash.pak
  readme.txt
  unused: 16
  $ vantor-pak rm base.pak 'maps\dm\' 'progs\player.mdl' && vantor-pak list base.pak
  autoexec.cfg
  maps/e1m1.bsp
  sound/empty.wav
