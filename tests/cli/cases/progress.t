Progress bars (items and bytes) go to standard error, and only when it is

Not on Windows: the bar needs a terminal, made here with script(1), which Wine does not give the program as a console.
a terminal: every other case shows that nothing is drawn into a pipe or a
file. Here `script` gives the commands a terminal; the bar ends blanked.

  $ script -qec 'vantor-pak extract -C out big.pak' /dev/null | tr '\r' '\n' | grep -m 1 -o 'extracting \[.*items'
  extracting [........................]   0%  0/2 items
  $ script -qec 'vantor-pak extract -C out big.pak' /dev/null | tr '\r' '\n' | grep -o '2/2 items.*MiB' | sort -u
  2/2 items  3.0/3.0 MiB
  $ script -qec 'vantor-pak extract -C out big.pak' /dev/null | tr '\r' '\n' | tail -n 1 | tr -d ' ' | wc -c
  1
  $ script -qec 'vantor-pak add big.pak --to copy out' /dev/null | tr '\r' '\n' | grep -o 'adding out \[#*\] 100%' | sort -u
  adding out [########################] 100%
  $ vantor-pak rm big.pak copy/ && script -qec 'vantor-pak compact big.pak' /dev/null | tr '\r' '\n' | grep -e 'compacting.*100%' -e recovered | sed 's/ *$//' | sort -u
  compacting [########################] 100%  2/2 items  0.0/0.0 MiB
  recovered: 3145739

With standard error sent elsewhere there is no bar, even on a terminal.

  $ script -qec 'vantor-pak extract -C out2 big.pak 2>err.txt' /dev/null; wc -c <err.txt
  0
