check: one line per problem, then the unused bytes; status 1 when a
problem was found. Unused space alone is not a problem.

  $ vantor-pak check base.pak
  unused: 0
  $ vantor-pak check layout-gaps.pak
  unused: 665
  $ vantor-pak check layout-stray.pak
  unused: 0

The header.

  $ vantor-pak check bad-short.pak
  header: the file is 6 bytes long, too short for the 12-byte header
  [1]
  $ vantor-pak check bad-magic.pak
  header: the file does not begin with "PACK"
  [1]
  $ vantor-pak check bad-zero-header.pak
  header: the directory offset and length are both 0
  unused: 362
  [1]

The directory.

  $ vantor-pak check bad-dir-size.pak
  header: the directory length 330 is not a multiple of 64
  unused: 0
  [1]
  $ vantor-pak check bad-dir-past-end.pak
  directory: at 54, 320 bytes, runs past the end of the file (342 bytes)
  unused: 0
  [1]
  $ vantor-pak check bad-dir-over-header.pak
  directory: at 0, 64 bytes, overlaps the header
  unused: 0
  [1]

Entries' data.

  $ vantor-pak check bad-past-end.pak
  record 1 "maps/far.bsp": the data at 1000, 50 bytes, runs past the end of the file (144 bytes)
  unused: 0
  [1]
  $ vantor-pak check bad-overlap.pak
  record 1 "b.txt": the data at 17, 10 bytes, overlaps record 0
  record 2 "c.txt": the data at 22, 10 bytes, overlaps record 1
  unused: 0
  [1]
  $ vantor-pak check bad-over-header.pak
  record 1 "h.bin": the data at 0, 12 bytes, overlaps the header
  unused: 0
  [1]
  $ vantor-pak check bad-over-dir.pak
  record 1 "d.bin": the data at 22, 64 bytes, overlaps the directory
  unused: 0
  [1]

Entries' names.

  $ vantor-pak check bad-unterminated.pak
  record 1 "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx": the name has no terminating zero
  unused: 0
  [1]
  $ vantor-pak check bad-path.pak
  record 0 "my file.txt": the name breaks the path rule: Invalid filename.
  unused: 0
  [1]
  $ vantor-pak check bad-escape.pak
  record 0 "../evil.txt": the name could escape a folder when extracted
  record 1 "maps/./x.txt": the name could escape a folder when extracted
  record 2 "a//b.txt": the name could escape a folder when extracted
  record 3 "/evil.txt": the name breaks the path rule: Invalid filename.
  record 3 "/evil.txt": the name could escape a folder when extracted
  unused: 0
  [1]
  $ vantor-pak check bad-duplicate.pak
  record 2 "a.txt": the same name as record 0
  unused: 0
  [1]
  $ vantor-pak check --json bad-clash.pak
  {
    "problems": [
      {"kind": "file-folder-clash", "record": 0, "name": "a.txt", "text": "the name is also a folder of record 2"},
      {"kind": "file-folder-clash", "record": 3, "name": "maps", "text": "the name is also a folder of record 1"}
    ],
    "size": 366,
    "unused": 0
  }
  [1]

JSON.

  $ vantor-pak check --json base.pak
  {
    "problems": [],
    "size": 374,
    "unused": 0
  }
  $ vantor-pak check --json bad-duplicate.pak
  {
    "problems": [
      {"kind": "duplicate-name", "record": 2, "name": "a.txt", "text": "the same name as record 0"}
    ],
    "size": 216,
    "unused": 0
  }
  [1]
  $ vantor-pak check --json bad-short.pak
  {
    "problems": [
      {"kind": "short-header", "text": "the file is 6 bytes long, too short for the 12-byte header"}
    ],
    "size": 6,
    "unused": null
  }
  [1]

A file that cannot be read at all is not checked (status 2).

  $ vantor-pak check missing.pak
  ! vantor-pak: missing.pak: File not found.
  [2]
  $ mkdir folder.pak && vantor-pak check folder.pak
  ! vantor-pak: folder.pak: The file you selected is not a valid PAK.
  [2]
