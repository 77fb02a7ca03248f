new: a 12-byte empty pak; an existing file is kept unless --force.

  $ vantor-pak new pak0.pak && od -An -c pak0.pak
     P   A   C   K  \f  \0  \0  \0  \0  \0  \0  \0
  $ echo keep > pak1.pak && vantor-pak new pak1.pak
  ! vantor-pak: pak1.pak: A file of this name already exists.
  [1]
  $ cat pak1.pak
  keep
  $ vantor-pak new --force pak1.pak && vantor-pak info pak1.pak
  entries: 0
  directory: 12 0
  size: 12
  unused: 0
  $ mkdir sub && vantor-pak new sub/pak2.pak && vantor-pak list sub/pak2.pak && ls sub
  pak2.pak

The name must be a short name, and the folder must exist.

  $ vantor-pak new longpakname.pak
  ! vantor-pak: longpakname.pak: Invalid filename.
  [1]
  $ vantor-pak new nofolder/pak3.pak
  ! vantor-pak: nofolder/pak3.pak: File not found.
  [1]
  $ test ! -e longpakname.pak && test ! -e nofolder && echo nothing made
  nothing made
