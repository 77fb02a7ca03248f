info: the pak in one key: value a line.

  $ vantor-pak info base.pak
  entries: 5
  directory: 54 320
  size: 374
  unused: 0
  $ vantor-pak info --json base.pak
  {
    "entries": 5,
    "directory": {"offset": 54, "length": 320},
    "size": 374,
    "unused": 0
  }
  $ vantor-pak new empty.pak && vantor-pak info empty.pak
  entries: 0
  directory: 12 0
  size: 12
  unused: 0

Unused space counts gaps wherever they lie, and agrees with what compact
recovers.

  $ vantor-pak info layout-gaps.pak
  entries: 6
  directory: 991 384
  size: 1858
  unused: 665
  $ vantor-pak compact layout-gaps.pak
  recovered: 665
  $ vantor-pak info layout-gaps.pak
  entries: 6
  directory: 809 384
  size: 1193
  unused: 0

Overlapping entries count their shared bytes once.

  $ vantor-pak info bad-overlap.pak
  entries: 3
  directory: 32 192
  size: 224
  unused: 0

A directory length that is not whole records is shown as stored, and
info agrees with check on the unused bytes.

  $ vantor-pak info bad-dir-size.pak && vantor-pak check bad-dir-size.pak
  entries: 5
  directory: 54 330
  size: 384
  unused: 0
  header: the directory length 330 is not a multiple of 64
  unused: 0
  [1]
