#!/usr/bin/env bash
# The program on a real X server, as a user meets it: Copy and Cut of list
# rows put files on the X clipboard that another process (xclip, as a file
# manager would) reads, and files another process offers are pasted in. Without the tools the test is skipped (exit 77),
# except in CI, which installs them and must never skip it.
# Usage: desktop_clipboard.sh VANTOR VANTOR_PAK
set -euo pipefail
vantor=$1 vantor_pak=$2

if [[ -z "${UNDER_XVFB:-}" ]]; then
  for tool in xvfb-run Xvfb xauth xclip xdotool; do
    if ! command -v "$tool" >/dev/null; then
      [[ -n "${CI:-}" ]] && { echo "desktop_clipboard: $tool is missing" >&2; exit 1; }
      echo "desktop_clipboard: $tool is missing, test skipped" >&2
      exit 77
    fi
  done
  UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
fi

work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export TMPDIR=$work/tmp QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME/Tessamont" "$TMPDIR" "$work/in/sub"
# Settings as after the first run, so that no Options dialog comes first.
printf '[Options]\nAssociatePak=0\nNewPak=0\nRecoverOnExit=0\n' >"$XDG_CONFIG_HOME/Tessamont/Vantor.conf"

printf 'alpha bytes' >"$work/in/a.txt"
printf 'beta' >"$work/in/b.cfg"
printf 'inner' >"$work/in/sub/c.txt"
"$vantor_pak" new "$work/t.pak" >/dev/null
"$vantor_pak" add "$work/t.pak" "$work/in/a.txt" "$work/in/b.cfg" "$work/in/sub" >/dev/null

"$vantor" "$work/t.pak" &
pid=$!
window=$(xdotool search --sync --onlyvisible --name '^Vantor' | head -1)
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
sleep 1

fail() { echo "desktop_clipboard: $*" >&2; exit 1; }
# Reads the clipboard's file list until it names count files (the program
# answers from its own event loop).
read_uris() {
  local count=$1 uris=""
  for _ in $(seq 50); do
    uris=$(xclip -o -selection clipboard -t text/uri-list 2>/dev/null | tr -d '\r' || true)
    [[ $(grep -c '^file://' <<<"$uris") -eq $count ]] && { echo "$uris"; return 0; }
    sleep 0.2
  done
  fail "the clipboard offered: '$uris'"
}
to_path() { local p=${1#file://}; printf '%b' "${p//%/\\x}"; }

# Tab to the list, select every row, copy.
xdotool key Tab ctrl+a ctrl+c
uris=$(read_uris 3)
mapfile -t list <<<"$uris"
[[ $(basename "$(to_path "${list[0]}")") == a.txt ]] || fail "files must come first: ${list[*]}"
[[ $(cat "$(to_path "${list[0]}")") == 'alpha bytes' ]] || fail "a.txt does not hold the entry's bytes"
[[ $(cat "$(to_path "${list[1]}")") == 'beta' ]] || fail "b.cfg does not hold the entry's bytes"
[[ $(cat "$(to_path "${list[2]}")/c.txt") == 'inner' ]] || fail "the folder was not extracted"
[[ $(stat -c %a "$(dirname "$(dirname "$(to_path "${list[0]}")")")") == 700 ]] || fail "transfers must be private"

# Cut one file: offered as a cut, and gone from the pak.
xdotool key End ctrl+x
sleep 0.5
for _ in $(seq 50); do
  gnome=$(xclip -o -selection clipboard -t x-special/gnome-copied-files 2>/dev/null || true)
  [[ $gnome == cut* ]] && break
  sleep 0.2
done
[[ $(head -1 <<<"$gnome") == cut ]] || fail "a Cut must offer 'cut': '$gnome'"

# Another program offers two files and a folder; Paste brings them in.
mkdir -p "$work/out/pics"
printf 'first' >"$work/out/one.txt"
printf 'second' >"$work/out/two.txt"
printf 'picture' >"$work/out/pics/p.lmp"
printf 'file://%s\r\nfile://%s\r\nfile://%s\r\n' "$work/out/one.txt" "$work/out/two.txt" "$work/out/pics" |
  xclip -selection clipboard -t text/uri-list -i
sleep 0.5
xdotool key ctrl+v
sleep 1
kill "$pid"; wait "$pid" 2>/dev/null || true
pid=
[[ $("$vantor_pak" cat "$work/t.pak" one.txt) == first ]] || fail "one.txt was not pasted"
[[ $("$vantor_pak" cat "$work/t.pak" two.txt) == second ]] || fail "two.txt was not pasted"
[[ $("$vantor_pak" cat "$work/t.pak" pics/p.lmp) == picture ]] || fail "the folder was not pasted"
"$vantor_pak" list "$work/t.pak" | grep -q '^b.cfg$' && fail "the cut entry is still in the pak"
"$vantor_pak" list "$work/t.pak" | grep -q '^a.txt$' || fail "the other entries must stay"
echo "desktop_clipboard: ok"
