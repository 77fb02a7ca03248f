#!/usr/bin/env bash
# Prints the figures of docs/reliability.md that come from the engine tests
# and the fuzzers, as Markdown: the crash-harness table (every changing
# operation killed after each of its writes), the same operations with each
# write failing once as on a full disk, the malformed-header table, the
# hostile-name table, and the latest fuzz/run figures of each target.
# The engine tests run in a build of their own (build/reliability); a failing
# case is counted and makes the script fail.
#
# Usage: scripts/reliability.sh
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C

scripts/install-deps.sh build test
build=build/reliability
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOR_ENGINE_ONLY=ON >/dev/null
cmake --build "$build" -j "${VANTOR_JOBS:-2}" --target engine_tests >/dev/null
xml=$build/reliability.xml
status=0
"$build/tests/engine/engine_tests" --gtest_output="xml:$xml" \
  --gtest_filter='Directory/CrashSafety.*:Table/OpenMalformed.*:EveryExtraction/HostileNames.*' >/dev/null || status=$?

# One line per test case: suite, case, write points (or -), passed/FAILED.
cases=$(awk '
  function flush() { if (name != "") print suite, name, (points == "" ? "-" : points), (failed ? "FAILED" : "passed") }
  /<testcase / {
    flush(); failed = 0; points = ""
    match($0, /name="[^"]*"/); name = substr($0, RSTART + 6, RLENGTH - 7)
    match($0, /classname="[^"]*"/); suite = substr($0, RSTART + 11, RLENGTH - 12)
  }
  /<failure/ { failed = 1 }
  /<property name="WritePoints"/ { match($0, /value="[0-9]+"/); points = substr($0, RSTART + 7, RLENGTH - 8) }
  END { flush() }' "$xml")

count() { grep -c "$1" <<<"$cases" || true; }
failures() { grep "$1" <<<"$cases" | grep -c FAILED || true; }

echo "Engine tests, $(date -u '+%Y-%m-%d') (scripts/reliability.sh):"
echo
echo "| Case | Writes (each one a kill point and, in a second run, a full disk) |"
echo "|---|---|"
grep '^Directory/CrashSafety EveryStop' <<<"$cases" | awk '{ sub(/.*\//, "", $2); printf "| %s | %s |\n", $2, $3 }'
points=$(grep '^Directory/CrashSafety EveryStop' <<<"$cases" | awk '{ s += $3 } END { print s + 0 }')
echo
echo "- Crash harness: $(count 'CrashSafety EveryStop') operations, $points write points killed, $(failures 'CrashSafety EveryStop') failures."
echo "- Disk full: $(count 'CrashSafety AFullDisk') operations, each of the same $points writes failing once with ENOSPC, $(failures 'CrashSafety AFullDisk') failures."
echo "- Malformed headers: $(count '^Table/OpenMalformed') rows, $(failures '^Table/OpenMalformed') failures:" \
  "$(grep '^Table/OpenMalformed' <<<"$cases" | awk '{ sub(/.*\//, "", $2); printf "%s%s", sep, $2; sep = ", " }')."
names=$(sed -n '/kHostileNames\[\] = {/p' tests/engine/extract_test.cpp | grep -o '"[^"]*"' | wc -l)
echo "- Hostile names: $names names (kHostileNames) through $(count '^EveryExtraction/HostileNames') extraction operations," \
  "$(failures '^EveryExtraction/HostileNames') failures."
echo
echo "Fuzzing (the longest and the latest fuzz/run of each target, from build/fuzz/summary.txt):"
echo
if [[ -f build/fuzz/summary.txt ]]; then
  for target in fuzz_read_pak fuzz_edit_pak; do
    grep "^$target " build/fuzz/summary.txt | awk '
      { split($2, m, "="); if (m[2] + 0 >= best) { best = m[2] + 0; longest = $0 }; latest = $0 }
      END { if (longest != "") print "- longest: " longest; if (latest != longest) print "- latest: " latest }'
  done
else
  echo "- none yet: run fuzz/run MINUTES"
fi
exit $status
