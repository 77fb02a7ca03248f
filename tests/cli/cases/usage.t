Usage, help and version: help goes to standard output with status 0;
usage errors go to standard error with status 2.

  $ vantor-pak --help | head -n 1
  usage: vantor-pak COMMAND PAK [ARGS]
  $ vantor-pak --help | grep -c '^  [a-z]'
  14
  $ vantor-pak --version | sed 's/[0-9][0-9.]*$/VERSION/'
  vantor-pak VERSION
  $ vantor-pak 2>err.txt; echo "status $?, $(head -n 1 err.txt)"
  status 2, usage: vantor-pak COMMAND PAK [ARGS]

Every command has its own help, also after other arguments.

  $ vantor-pak list --help
  usage: vantor-pak list [-l] [--json] [--match QUERY] PAK [FOLDER]
  list the entries beneath FOLDER (default: all).
  
    -l              OFFSET LENGTH NAME a line
    --json          one JSON document: entries with name, offset and length
    --match QUERY   only entries whose full name matches QUERY
  
  Entries at any depth, in directory order. FOLDER may also name one entry.
  
  QUERY: terms separated by spaces must all match; a | b matches either; !t must
  not match; ^t at the start, t$ at the end; 't literally; * and ? are globs. A
  term with an upper-case letter is case-sensitive, others ignore case.
  $ vantor-pak extract base.pak -C out --help | head -n 1
  usage: vantor-pak extract [-C DIR] [--no-overwrite] [--match QUERY] PAK [NAME or FOLDER/ ...]

After "--" everything is an operand, even --help.

  $ vantor-pak list -- --help
  ! vantor-pak: --help: File not found.
  [2]
  $ vantor-pak frobnicate base.pak 2>&1 | head -n 2
  vantor-pak: unknown command 'frobnicate'
  usage: vantor-pak COMMAND PAK [ARGS]
  $ vantor-pak list -x base.pak
  ! vantor-pak: list: unknown option '-x'
  ! usage: vantor-pak list [-l] [--json] [--match QUERY] PAK [FOLDER]
  [2]
  $ vantor-pak list --json=yes base.pak
  ! vantor-pak: list: unknown option '--json=yes'
  ! usage: vantor-pak list [-l] [--json] [--match QUERY] PAK [FOLDER]
  [2]
  $ vantor-pak extract base.pak -C
  ! vantor-pak: extract: option '-C' needs a value
  ! usage: vantor-pak extract [-C DIR] [--no-overwrite] [--match QUERY] PAK [NAME or FOLDER/ ...]
  [2]
  $ vantor-pak info base.pak extra
  ! vantor-pak: info: expects PAK
  ! usage: vantor-pak info [--json] PAK
  [2]

Every command refuses missing operands before it touches anything.

  $ for c in list info cat extract new add rm mv mkdir compact check; do vantor-pak $c 2>/dev/null; echo "$c $?"; done | paste -sd' '
  list 2 info 2 cat 2 extract 2 new 2 add 2 rm 2 mv 2 mkdir 2 compact 2 check 2
  $ for c in cat add rm mkdir; do vantor-pak $c base.pak 2>/dev/null; echo "$c $?"; done | paste -sd' '
  cat 2 add 2 rm 2 mkdir 2
  $ vantor-pak mv base.pak a
  ! vantor-pak: mv: expects PAK OLD NEW
  ! usage: vantor-pak mv PAK OLD NEW
  [2]
  $ cmp base.pak <(cli_fixture write again >/dev/null && cat again/base.pak) && echo untouched
  untouched

Options may come before or after the pak; a value may be attached or
follow as the next argument.

  $ vantor-pak extract -Cone base.pak autoexec.cfg && vantor-pak extract base.pak --no-overwrite -C two autoexec.cfg
  $ ls one two
  one:
  autoexec.cfg
  
  two:
  autoexec.cfg
