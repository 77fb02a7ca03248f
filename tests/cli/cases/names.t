Names other tools wrote. Windows tools store '\' between levels: such

Not on Windows: control bytes and bytes that are not UTF-8 cannot travel in a Windows command line, which is UTF-16.
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

Names are bytes. Text output keeps valid UTF-8 and other bytes as they
are, but escapes control characters: C0, DEL and C1, the last whether
raw (0x9B starts a terminal command) or encoded in UTF-8 (U+0085).

  $ vantor-pak list names.pak | sed -n '1p;3,5p'
  café.txt
  a\xC2\x85b.txt
  a\x9B2Jb.txt
  €😀.txt
  $ vantor-pak list names.pak | sed -n 2p | cmp - <(printf 'caf\xE9.txt\n') && echo latin-1 kept
  latin-1 kept
  $ vantor-pak cat names.pak $'a\xC2\x85b.txt'
  utf-8 next line
  $ vantor-pak cat names.pak $'a\xC2\x85c.txt'; vantor-pak cat names.pak $'\x9B2J\xC3\xA9'
  ! vantor-pak: a\xC2\x85c.txt: File not found.
  ! vantor-pak: \x9B2Jé: File not found.
  [1]

JSON is always valid UTF-8: UTF-8 names go out as they are, a byte that
is no UTF-8 as its Latin-1 character, control characters escaped.

  $ vantor-pak list --json names.pak
  {
    "entries": [
      {"name": "café.txt", "offset": 12, "length": 6},
      {"name": "caf\u00E9.txt", "offset": 18, "length": 8},
      {"name": "a\u0085b.txt", "offset": 26, "length": 16},
      {"name": "a\u009B2Jb.txt", "offset": 42, "length": 8},
      {"name": "€😀.txt", "offset": 50, "length": 12}
    ]
  }
