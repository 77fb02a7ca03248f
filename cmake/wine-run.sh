#!/bin/sh
# Runs a Windows program under Wine, headless, in the prefix WINEPREFIX
# names (made on first use), and exits with the program's status. No
# messages of Wine's own, and no offer to fetch Mono or Gecko: nothing here
# needs them.
#
# Wine's server and its service processes outlive the program and inherit
# its standard streams: given a pipe, they keep whatever reads it (ninja,
# ctest, a $(...)) waiting long after the program ended. So the program
# writes to files here, which are then copied to this script's streams.
set -u
: "${WINEPREFIX:?wine-run.sh needs WINEPREFIX}"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX" || exit 1
(
  flock 9
  if [ ! -f "$WINEPREFIX/.vantor-ready" ]; then
    wine wineboot --init </dev/null >/dev/null 2>&1 9>&- && touch "$WINEPREFIX/.vantor-ready"
  fi
  # A server that lingers a minute after its last program: with Wine's
  # default of three seconds, a program started while the server shuts down
  # can fail silently (seen once in CI). Fails harmlessly if one runs.
  wineserver -p60 </dev/null >/dev/null 2>&1 9>&- || :
) 9>"$WINEPREFIX/.vantor-lock"
out=$(mktemp) err=$(mktemp) || exit 1
trap 'rm -f "$out" "$err"' EXIT
wine "$@" >"$out" 2>"$err"
status=$?
cat "$out"
cat "$err" >&2
exit $status
