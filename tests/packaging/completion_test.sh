#!/usr/bin/env bash
# Runs vantor-pak's bash completion on typed lines and compares what it
# offers, on a pak made for the purpose.
#
# Usage: completion_test.sh VANTOR_PAK COMPLETION
set -uo pipefail
tool=$1 completion=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/vantor-completion.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/disk/games" "$work/disk/data"
ln -s "$tool" "$work/bin/vantor-pak"
export PATH="$work/bin:$PATH" LC_ALL=C
cd "$work/disk" || exit 1
touch data/e1m1.bsp data/e1m2.bsp data/pain.wav data/readme.txt
vantor-pak new t.pak &&
    vantor-pak add --to maps t.pak data/e1m1.bsp data/e1m2.bsp &&
    vantor-pak add --to sound/player t.pak data/pain.wav &&
    vantor-pak add t.pak data/readme.txt >/dev/null || { echo "completion_test: could not make the pak"; exit 1; }

# shellcheck source=/dev/null
source "$completion" || { echo "completion_test: cannot read $completion"; exit 1; }

status=0
# Each case: the line as typed (completing its last word; a trailing space
# means a new, empty word), then what the completion must offer, sorted.
cases=(
    "vantor-pak ch|check"
    "vantor-pak --v|--version"
    "vantor-pak list --|--help --json --match"
    "vantor-pak extract -C g|games"
    "vantor-pak which --profile |classic darkplaces"
    "vantor-pak extract t.pak |maps/ readme.txt sound/"
    "vantor-pak extract t.pak maps/|maps/e1m1.bsp maps/e1m2.bsp"
    "vantor-pak rm --match pain t.pak s|sound/"
    "vantor-pak cat t.pak sound/player/|sound/player/pain.wav"
    "vantor-pak extract -C games t.pak r|readme.txt"
    "vantor-pak info t.|t.pak"
    "vantor-pak list missing.pak |"
)
for case in "${cases[@]}"; do
    line=${case%%|*} want=${case#*|}
    read -r -a COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _vantor_pak
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' ')
    if [[ $got != "$want" ]]; then
        echo "completion_test: '$line' offered '$got', expected '$want'"
        status=1
    fi
done
[[ $status -eq 0 ]] && echo "completion_test: ${#cases[@]} lines completed as expected"
exit $status
