which and layers: the copy of a path a game loads from a folder of game
folders, for both engine families.

  $ mkdir -p q/id1/maps q/mod src && printf 'id' > src/progs.dat && printf 'map' > src/e1m1.bsp
  $ vantor-pak new q/id1/pak0.pak && vantor-pak add q/id1/pak0.pak src/progs.dat && vantor-pak add --to maps q/id1/pak0.pak src/e1m1.bsp
  $ vantor-pak new q/id1/pak1.pak && printf 'patched' > src/progs.dat && vantor-pak add q/id1/pak1.pak src/progs.dat
  $ vantor-pak new q/id1/pak3.pak && printf 'loose' > q/id1/progs.dat && printf 'mod' > src/progs.dat
  $ vantor-pak new q/mod/pak0.pak && vantor-pak add q/mod/pak0.pak src/progs.dat && printf 'x' > q/mod/autoexec.cfg

Classic engines: the higher pak number wins, paks win over loose files,
and a pak after a missing number is never loaded.

  $ vantor-pak which q progs.dat
  loads    q/id1/pak1.pak record 0 (7 bytes)
  shadows  q/id1/pak0.pak record 0 (2 bytes)
  shadows  q/id1/progs.dat
  $ vantor-pak which --game mod q progs.dat
  loads    q/mod/pak0.pak record 0 (3 bytes)
  shadows  q/id1/pak1.pak record 0 (7 bytes)
  shadows  q/id1/pak0.pak record 0 (2 bytes)
  shadows  q/id1/progs.dat
  $ vantor-pak layers --game mod q
  q/mod/pak0.pak
  q/mod/
  q/id1/pak1.pak
  q/id1/pak0.pak
  q/id1/
  warning: numbering-gap: q/id1/pak3.pak: pak2.pak is missing

DarkPlaces: loose files win, every pak is loaded.

  $ vantor-pak which --profile darkplaces --game mod q progs.dat
  loads    q/mod/pak0.pak record 0 (3 bytes)
  shadows  q/id1/progs.dat
  shadows  q/id1/pak1.pak record 0 (7 bytes)
  shadows  q/id1/pak0.pak record 0 (2 bytes)
  $ vantor-pak layers --profile=darkplaces --json q
  {"layers": [
    {"game": "id1", "path": "q/id1", "kind": "folder"},
    {"game": "id1", "path": "q/id1/pak3.pak", "kind": "pak"},
    {"game": "id1", "path": "q/id1/pak1.pak", "kind": "pak"},
    {"game": "id1", "path": "q/id1/pak0.pak", "kind": "pak"}
  ], "warnings": [
  ]}
  $ vantor-pak which --json --game mod q maps/e1m1.bsp
  {"path": "maps/e1m1.bsp", "copies": [
    {"source": "q/id1/pak0.pak", "record": 1, "length": 3, "loads": true}
  ]}

What no folder holds, and what is not a game folder.

  $ vantor-pak which q nothing.txt
  ! vantor-pak: nothing.txt: no game folder holds it
  [1]
  $ vantor-pak layers q/id1/progs.dat
  ! vantor-pak: q/id1/progs.dat: not a folder
  [2]
  $ vantor-pak layers --profile quake q
  ! vantor-pak: layers: --profile is classic or darkplaces
  ! usage: vantor-pak layers [--profile P] [--game MOD]... [--json] DIR
  [2]
