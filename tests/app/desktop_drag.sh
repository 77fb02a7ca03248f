#!/usr/bin/env bash
# The program on a real X server: a list row dragged with the mouse onto a
# folder of the tree, first copied, then with Shift moved; the pak is read
# back with vantor-pak. Skipped (exit 77) without the tools, except in CI.
# Usage: desktop_drag.sh VANTOR VANTOR_PAK
set -euo pipefail
vantor=$1 vantor_pak=$2

if [[ -z "${UNDER_XVFB:-}" ]]; then
  for tool in xvfb-run Xvfb xauth xdotool; do
    if ! command -v "$tool" >/dev/null; then
      [[ -n "${CI:-}" ]] && { echo "desktop_drag: $tool is missing" >&2; exit 1; }
      echo "desktop_drag: $tool is missing, test skipped" >&2
      exit 77
    fi
  done
  # The window's first size follows the screen: the points below assume this one.
  UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x700x24 -nolisten tcp" "$0" "$@"
fi

work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export TMPDIR=$work/tmp QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME/Tessamont" "$TMPDIR" "$work/in/maps" "$work/in/progs"
printf '[Options]\nAssociatePak=0\nNewPak=0\nRecoverOnExit=0\n' >"$XDG_CONFIG_HOME/Tessamont/Vantor.conf"
printf 'map' >"$work/in/maps/e1m1.bsp"
printf 'model' >"$work/in/progs/a.mdl"
printf 'read me' >"$work/in/readme.txt"
"$vantor_pak" new "$work/t.pak" >/dev/null
"$vantor_pak" add "$work/t.pak" "$work/in/maps" "$work/in/progs" "$work/in/readme.txt" >/dev/null

fail() { echo "desktop_drag: $*" >&2; exit 1; }
# Drags from the third list row (readme.txt, below the filter field) to the
# tree's first folder (maps), entering the tree over blank space below its
# folders, where nothing may be dropped.
drag() {
  local modifier=$1
  "$vantor" "$work/t.pak" &
  pid=$!
  local window
  window=$(xdotool search --sync --onlyvisible --name '^Vantor' | head -1)
  sleep 1.5
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + 230)) $((Y + 139))
  sleep 0.3
  xdotool mousedown 1
  sleep 0.3
  for i in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((X + 230 - i * 18)) $((Y + 139 - i * 4))
    sleep 0.15
  done
  # Held once the drag runs, as users do: at the press it would extend the
  # selection.
  [[ -n $modifier ]] && xdotool keydown "$modifier"
  for i in 1 2 3 4; do
    xdotool mousemove $((X + 80 + i)) $((Y + 77))
    sleep 0.2
  done
  xdotool mouseup 1
  [[ -n $modifier ]] && xdotool keyup "$modifier"
  sleep 1
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
}

drag ""
[[ $("$vantor_pak" cat "$work/t.pak" maps/readme.txt) == 'read me' ]] || fail "the copy did not reach maps/"
"$vantor_pak" list "$work/t.pak" | grep -qx 'readme.txt' || fail "a copy must leave the row where it was"
"$vantor_pak" rm "$work/t.pak" maps/readme.txt >/dev/null

drag shift
[[ $("$vantor_pak" cat "$work/t.pak" maps/readme.txt) == 'read me' ]] || fail "the move did not reach maps/"
"$vantor_pak" list "$work/t.pak" | grep -qx 'readme.txt' && fail "a move must take the row away"
echo "desktop_drag: ok"
