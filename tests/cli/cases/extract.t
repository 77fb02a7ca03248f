extract: entries beneath a folder (default: the current one), with their

Not on Windows: a full disk is made with ulimit -f, which Wine reports as a hardware error.
pak folders recreated. It prints nothing when standard error is not a
terminal.

  $ mkdir here && cd here && vantor-pak extract ../base.pak && find . -type f | sort
  ./autoexec.cfg
  ./maps/dm/dm1.bsp
  ./maps/e1m1.bsp
  ./progs/player.mdl
  ./sound/empty.wav
  $ vantor-pak extract -C out base.pak && diff -r here out && echo same
  same

Named entries and folders; a trailing / names a folder.

  $ vantor-pak extract -C some base.pak maps/dm/ progs/player.mdl && find some -type f | sort
  some/maps/dm/dm1.bsp
  some/progs/player.mdl
  $ cat some/maps/dm/dm1.bsp
  deathmatch
  $ vantor-pak extract -C root base.pak / && find root -type f | wc -l
  5

Existing files are overwritten unless --no-overwrite; a skipped file is
not a failure.

  $ mkdir -p keep/maps && echo mine > keep/maps/e1m1.bsp
  $ vantor-pak extract -C keep --no-overwrite base.pak maps/e1m1.bsp && cat keep/maps/e1m1.bsp
  mine
  $ vantor-pak extract -C keep base.pak maps/e1m1.bsp && cat keep/maps/e1m1.bsp
  level one

Each failed item is reported and the rest still extracted (status 1).

  $ vantor-pak extract -C part base.pak nothere.bsp maps/ nofolder/ autoexec.cfg; find part -type f | sort
  part/autoexec.cfg
  part/maps/dm/dm1.bsp
  part/maps/e1m1.bsp
  ! vantor-pak: nothere.bsp: File not found.
  ! vantor-pak: nofolder/: File not found.
  $ mkdir blocked && touch blocked/maps
  $ vantor-pak extract -C blocked base.pak; find blocked -type f | sort
  blocked/autoexec.cfg
  blocked/maps
  blocked/progs/player.mdl
  blocked/sound/empty.wav
  ! vantor-pak: maps/e1m1.bsp: One or more folders could not be copied because a file with the same name already exists.
  ! vantor-pak: maps/dm/dm1.bsp: One or more folders could not be copied because a file with the same name already exists.

Names that could leave the folder are refused one by one; nothing is
written outside it, and the harmless entry still arrives.

  $ mkdir -p jail/in && vantor-pak extract -C jail/in bad-escape.pak
  ! vantor-pak: ../evil.txt: Invalid filename.
  ! vantor-pak: maps/./x.txt: Invalid filename.
  ! vantor-pak: a//b.txt: Invalid filename.
  ! vantor-pak: /evil.txt: Invalid filename.
  [1]
  $ find jail -type f | sort
  jail/in/fine.txt
  $ test -e /evil.txt || echo "none at /"; find . -name evil.txt | wc -l
  none at /
  0

A target that cannot be a folder fails before any entry.

  $ touch afile && vantor-pak extract -C afile base.pak
  ! vantor-pak: afile: The directory you specified does not exist.
  [1]

The pak itself is never written over, however an entry is named: an entry
called like the pak, extracted beside it, fails alone and the others
arrive.

  $ cp self/self.pak before.pak
  $ cd self && vantor-pak extract self.pak; find . -type f | sort
  ./a.txt
  ./maps/b.bsp
  ./self.pak
  ! vantor-pak: self.pak: Sharing violation.
  $ vantor-pak extract -C self self/self.pak self.pak
  ! vantor-pak: self.pak: Sharing violation.
  [1]
  $ cmp self/self.pak before.pak && echo unchanged
  unchanged

An entry whose data runs past the end of the pak is reported by name; the
entries before and after it are still extracted.

  $ vantor-pak extract -C cut damaged.pak; find cut -type f | sort
  cut/a.txt
  cut/maps/b.bsp
  cut/z.txt
  ! vantor-pak: maps/cut.bsp: The end of the file was passed.
  $ vantor-pak extract -C cut2 damaged.pak maps/
  ! vantor-pak: maps/cut.bsp: The end of the file was passed.
  [1]
  $ cat cut/z.txt cut2/maps/b.bsp
  last
  second

A full disk where the files go (here a file size limit) is reported as
such: gibbing files from the pak would not help.

  $ (trap '' XFSZ && ulimit -f 1 && vantor-pak extract -C full big.pak); find full -type f
  full/small.txt
  ! vantor-pak: big.bin: Disk full.
