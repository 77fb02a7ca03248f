Out of memory: a message and status 2, never an abort. A forged header

Not on Windows: ulimit -v leaves Wine itself no room to start.
claims 204800 records (12.5 MiB of zeros, sparse on disk); holding
every finding check has about them needs far more than 60 MB of address
space, reading the records alone far less.

  $ printf 'PACK\x0c\x00\x00\x00\x00\x00\xc8\x00' > huge.pak && truncate -s $((12 + 0xc80000)) huge.pak
  $ (ulimit -v 60000 && vantor-pak check huge.pak)
  ! vantor-pak: Out of memory.
  [2]
