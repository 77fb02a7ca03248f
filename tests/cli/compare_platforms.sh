#!/usr/bin/env bash
# Runs list, extract, add and compact with two builds of vantor-pak on
# copies of one pak and fails unless both give the same bytes: what each
# command prints, the files extracted, and the paks changed.
#
# Usage: compare_platforms.sh PAK REFERENCE_VANTOR_PAK OTHER_VANTOR_PAK [RUNNER]
# RUNNER, if given, runs the other build's program (Wine for Windows).
set -euo pipefail

pak=$(realpath "$1") reference=$(realpath "$2") other=$(realpath "$3") runner=${4:+$(realpath "$4")}
work=$(mktemp -d "${TMPDIR:-/tmp}/vantor-compare.XXXXXX")
trap 'rm -rf "$work"' EXIT

# One build's run of every command, in its own folder; relative paths only,
# so that both print the same names.
run_all() {
  local side=$1
  shift
  local dir=$work/$side
  mkdir -p "$dir/src/maps"
  cp "$pak" "$dir/game.pak"
  printf 'textures and all\n' >"$dir/src/readme.txt"
  head -c 70000 "$pak" >"$dir/src/maps/extra.bsp"
  (
    cd "$dir"
    "$@" list -l game.pak >list.out
    "$@" extract -C out game.pak >extract.out
    "$@" add --to added game.pak src/readme.txt src/maps >add.out
    "$@" rm game.pak added/readme.txt >rm.out
    "$@" compact game.pak >compact.out
    "$@" list -l game.pak >relist.out
  )
}

run_all reference "$reference"
if [[ -n $runner ]]; then run_all other "$runner" "$other"; else run_all other "$other"; fi

if ! diff -r "$work/reference" "$work/other"; then
  echo "compare_platforms: the builds differ on $(basename "$pak")" >&2
  exit 1
fi
echo "compare_platforms: $(basename "$pak"): $(wc -l <"$work/reference/list.out") entries, same results"
