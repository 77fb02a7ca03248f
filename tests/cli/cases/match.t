--match: list, extract and rm take the same filter as the views.

  $ vantor-pak new m.pak && mkdir -p src/maps src/sound/amb && printf 'b' > src/maps/e1m1.bsp && printf 'b' > src/maps/e1m2.bsp
  $ printf 'w' > src/sound/amb/wind.wav && printf 'w' > src/sound/door.WAV && printf 'o' > src/sound/a.ogg && printf 'c' > src/auto.cfg
  $ vantor-pak add m.pak src/maps src/sound src/auto.cfg

  $ vantor-pak list --match 'wav | ogg !amb' m.pak
  sound/a.ogg
  sound/door.WAV
  $ vantor-pak list --match '^maps e?m2' m.pak
  maps/e1m2.bsp
  $ vantor-pak list --match 'WAV' m.pak sound/
  sound/door.WAV
  $ vantor-pak list --match "'?" m.pak

  $ vantor-pak extract -C out --match '.bsp$' m.pak && find out -type f | sort
  out/maps/e1m1.bsp
  out/maps/e1m2.bsp
  $ vantor-pak rm --match 'wav' m.pak sound/amb/ && vantor-pak list m.pak
  maps/e1m1.bsp
  maps/e1m2.bsp
  sound/a.ogg
  sound/door.WAV
  auto.cfg
  $ vantor-pak rm --match '!^maps' m.pak && vantor-pak list m.pak
  maps/e1m1.bsp
  maps/e1m2.bsp
