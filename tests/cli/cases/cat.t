cat: an entry's bytes on standard output and nothing else.

  $ vantor-pak cat base.pak maps/e1m1.bsp
  level one
  $ vantor-pak cat base.pak sound/empty.wav | wc -c
  0
  $ vantor-pak cat base.pak '\maps\dm\dm1.bsp'
  deathmatch

An entry of several megabytes arrives whole, byte for byte.

  $ vantor-pak cat big.pak big.bin | cmp - inputs-big/big.bin && echo same
  same

Failures name the entry; data that runs past the end of the file is
refused rather than padded.

  $ vantor-pak cat base.pak maps/nothere.bsp
  ! vantor-pak: maps/nothere.bsp: File not found.
  [1]
  $ vantor-pak cat base.pak maps/
  ! vantor-pak: maps/: File not found.
  [1]
  $ vantor-pak cat base.pak maps
  ! vantor-pak: maps: File not found.
  [1]
  $ vantor-pak cat bad-past-end.pak maps/far.bsp
  ! vantor-pak: maps/far.bsp: The end of the file was passed.
  [1]
