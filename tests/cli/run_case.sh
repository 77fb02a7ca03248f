#!/usr/bin/env bash
# Runs one vantor-pak regression case and compares the transcript.
#
# A case is a text file. Unindented lines are comments. "  $ " starts a
# command ("  > " continues it); the indented lines after it are what it
# must print: "  text" on standard output, "  ! text" on standard error,
# "  [N]" for an exit status other than 0, " (no-eol)" after a last line
# without a newline. Commands run with bash, one after another, in a fresh
# folder holding the paks `cli_fixture write` makes; vantor-pak and
# cli_fixture are on PATH.
#
# Usage: run_case.sh VANTOR_PAK CLI_FIXTURE CASE
# With VANTOR_CLI_RUNNER set, both programs run through that command.
# With VANTOR_CLI_ACCEPT=1 the case file is rewritten with what happened.
set -uo pipefail

tool=$1 fixture=$2 case_file=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/vantor-cli.XXXXXX")
trap 'chmod -R u+rwx "$work" 2>/dev/null; rm -rf "$work"' EXIT
mkdir "$work/bin"
if [[ -n ${VANTOR_CLI_RUNNER:-} ]]; then
  # Programs of another platform run through the runner (Wine for Windows).
  for pair in "vantor-pak=$tool" "cli_fixture=$fixture"; do
    printf '#!/bin/sh\nexec %q %q "$@"\n' "$VANTOR_CLI_RUNNER" "${pair#*=}" >"$work/bin/${pair%%=*}"
    chmod +x "$work/bin/${pair%%=*}"
  done
else
  ln -s "$tool" "$work/bin/vantor-pak"
  ln -s "$fixture" "$work/bin/cli_fixture"
fi
"$work/bin/cli_fixture" write "$work/run" || { echo "run_case: cli_fixture write failed" >&2; exit 1; }
export PATH="$work/bin:$PATH" LC_ALL=C TZ=UTC
actual=$work/actual

# Appends a stream's lines to the transcript with a prefix.
emit() {
  local prefix=$1 file=$2 line
  [[ -s $file ]] || return 0
  while IFS= read -r line; do printf '  %s%s\n' "$prefix" "$line"; done <"$file"
  [[ -z $(tail -c 1 "$file") ]] || printf '  %s%s (no-eol)\n' "$prefix" "$(tail -n 1 "$file")"
}

command=""
run_pending() {
  [[ -n $command ]] || return 0
  (cd "$work/run" && bash -c "$command" >"$work/out" 2>"$work/err" </dev/null)
  local status=$?
  {
    emit "" "$work/out"
    emit "! " "$work/err"
    [[ $status -eq 0 ]] || printf '  [%d]\n' "$status"
  } >>"$actual"
  command=""
}

: >"$actual"
while IFS= read -r line || [[ -n $line ]]; do
  case $line in
    "  \$ "*) run_pending; command=${line#"  \$ "}; printf '%s\n' "$line" >>"$actual" ;;
    "  > "*) command+=$'\n'${line#"  > "}; printf '%s\n' "$line" >>"$actual" ;;
    "  "*) ;;  # what the last command printed: replaced by what it prints now
    *) run_pending; printf '%s\n' "$line" >>"$actual" ;;
  esac
done <"$case_file"
run_pending

if [[ ${VANTOR_CLI_ACCEPT:-0} == 1 ]]; then
  cp "$actual" "$case_file"
  exit 0
fi
diff -u --label "expected $case_file" --label actual "$case_file" "$actual"
