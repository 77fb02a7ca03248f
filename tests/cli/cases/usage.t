Usage, help and version: help goes to standard output with status 0;
usage errors go to standard error with status 2.

  $ vantor-pak --help | head -n 1
  usage: vantor-pak COMMAND PAK [ARGS]
  $ vantor-pak --help | grep -c '^  [a-z]'
  11
  $ vantor-pak --version | sed 's/[0-9][0-9.]*$/VERSION/'
  vantor-pak VERSION
  $ vantor-pak
  ! usage: vantor-pak COMMAND PAK [ARGS]
  ! 
  ! commands:
  !   list     list the entries beneath FOLDER (default: all)
  !   info     summarise the pak
  !   cat      write an entry's bytes to standard output
  !   extract  extract entries (default: all) beneath DIR
  !   new      create an empty pak
  !   add      add files, and folders with everything below them
  !   rm       remove entries and folders
  !   mv       rename or move an entry, or a folder when OLD ends in /
  !   mkdir    create folders (each holds an empty temp.tmp)
  !   compact  recover unused space
  !   check    validate the pak's bytes
  ! 
  ! Names in a pak are written maps/e1m1.bsp; a trailing / names a folder.
  ! vantor-pak COMMAND --help describes a command; --version prints the version.
  ! Exit status: 0 success, 1 an item failed, 2 usage error or the pak cannot be opened.
  [2]

Every command has its own help, also after other arguments.

  $ vantor-pak list --help
  usage: vantor-pak list [-l] [--json] PAK [FOLDER]
  list the entries beneath FOLDER (default: all).
  
    -l        OFFSET LENGTH NAME a line
    --json    one JSON document: entries with name, offset and length
  
  Entries at any depth, in directory order. FOLDER may also name one entry.
  $ vantor-pak extract base.pak -C out --help
  usage: vantor-pak extract [-C DIR] [--no-overwrite] PAK [NAME or FOLDER/ ...]
  extract entries (default: all) beneath DIR.
  
    -C DIR           extract beneath DIR (default: the current folder; made when missing)
    --no-overwrite   keep files that already exist
  
  Entries keep their pak folders. A name ending in / is a folder.
  $ for c in list info cat extract new add rm mv mkdir compact check; do vantor-pak $c --help | head -n 1; done
  usage: vantor-pak list [-l] [--json] PAK [FOLDER]
  usage: vantor-pak info [--json] PAK
  usage: vantor-pak cat PAK NAME
  usage: vantor-pak extract [-C DIR] [--no-overwrite] PAK [NAME or FOLDER/ ...]
  usage: vantor-pak new [--force] PAK
  usage: vantor-pak add [--to FOLDER] [--no-replace] PAK PATH...
  usage: vantor-pak rm PAK NAME or FOLDER/ ...
  usage: vantor-pak mv PAK OLD NEW
  usage: vantor-pak mkdir PAK FOLDER...
  usage: vantor-pak compact PAK
  usage: vantor-pak check [--json] PAK

After "--" everything is an operand, even --help.

  $ vantor-pak list -- --help
  ! vantor-pak: --help: File not found.
  [2]
  $ vantor-pak frobnicate base.pak 2>&1 | head -n 2
  vantor-pak: unknown command 'frobnicate'
  usage: vantor-pak COMMAND PAK [ARGS]
  $ vantor-pak list -x base.pak
  ! vantor-pak: list: unknown option '-x'
  ! usage: vantor-pak list [-l] [--json] PAK [FOLDER]
  [2]
  $ vantor-pak list --json=yes base.pak
  ! vantor-pak: list: unknown option '--json=yes'
  ! usage: vantor-pak list [-l] [--json] PAK [FOLDER]
  [2]
  $ vantor-pak extract base.pak -C
  ! vantor-pak: extract: option '-C' needs a value
  ! usage: vantor-pak extract [-C DIR] [--no-overwrite] PAK [NAME or FOLDER/ ...]
  [2]
  $ vantor-pak list
  ! vantor-pak: list: expects PAK [FOLDER]
  ! usage: vantor-pak list [-l] [--json] PAK [FOLDER]
  [2]
  $ vantor-pak info base.pak extra
  ! vantor-pak: info: expects PAK
  ! usage: vantor-pak info [--json] PAK
  [2]
  $ vantor-pak cat base.pak
  ! vantor-pak: cat: expects PAK NAME
  ! usage: vantor-pak cat PAK NAME
  [2]
  $ vantor-pak mv base.pak a
  ! vantor-pak: mv: expects PAK OLD NEW
  ! usage: vantor-pak mv PAK OLD NEW
  [2]
  $ vantor-pak rm base.pak
  ! vantor-pak: rm: expects PAK NAME or FOLDER/ ...
  ! usage: vantor-pak rm PAK NAME or FOLDER/ ...
  [2]
  $ vantor-pak add base.pak
  ! vantor-pak: add: expects PAK PATH...
  ! usage: vantor-pak add [--to FOLDER] [--no-replace] PAK PATH...
  [2]
  $ vantor-pak mkdir base.pak
  ! vantor-pak: mkdir: expects PAK FOLDER...
  ! usage: vantor-pak mkdir PAK FOLDER...
  [2]
  $ vantor-pak new
  ! vantor-pak: new: expects PAK
  ! usage: vantor-pak new [--force] PAK
  [2]
  $ vantor-pak compact
  ! vantor-pak: compact: expects PAK
  ! usage: vantor-pak compact PAK
  [2]
  $ vantor-pak check
  ! vantor-pak: check: expects PAK
  ! usage: vantor-pak check [--json] PAK
  [2]

Options may come before or after the pak; a value may be attached or
follow as the next argument.

  $ vantor-pak extract -Cone base.pak autoexec.cfg && vantor-pak extract base.pak --no-overwrite -C two autoexec.cfg
  $ ls one two
  one:
  autoexec.cfg
  
  two:
  autoexec.cfg
