#!/usr/bin/env bash
# Builds everything and runs every test: the full build with warnings as
# errors (with the benchmarks, built but not run: they print figures, not
# verdicts), the engine alone without Qt, the engine tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, the engine and vantor-pak
# cross-built for Windows with their tests under Wine, each fuzz target for
# one minute, and the Debian package made from the full build and checked.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build test bench fuzz package cross
jobs=$(nproc)

echo "== full build and tests"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOR_BENCH=ON -DVANTOR_WERROR=ON
cmake --build build/test -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build/test --output-on-failure -j "$jobs"

echo "== Debian package from the full build, checked"
scripts/package.sh build/test
scripts/check-package.sh build/package/vantor_*.deb

echo "== engine alone (no Qt)"
cmake -S . -B build/engine -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTOR_ENGINE_ONLY=ON -DVANTOR_WERROR=ON
cmake --build build/engine -j "$jobs"
ctest --test-dir build/engine --output-on-failure -j "$jobs"

echo "== engine under AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTOR_ENGINE_ONLY=ON -DVANTOR_SANITIZE=ON -DVANTOR_WERROR=ON
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build/asan --output-on-failure -j "$jobs"

echo "== engine and vantor-pak for Windows, tests under Wine"
cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DVANTOR_ENGINE_ONLY=ON -DVANTOR_WERROR=ON
cmake --build build/win64 -j "$jobs"
export WINEPREFIX=$PWD/build/win64/wineprefix
ctest --test-dir build/win64 --output-on-failure -j "$jobs"
# The same commands on a real pak (game data from Debian) must give the same
# bytes on both platforms.
mkdir -p build/win64/data
if [[ ! -f build/win64/data/quakespasm.pak ]]; then
  (cd build/win64/data && { apt-get download quakespasm || { apt-get update -qq && apt-get download quakespasm; }; } &&
    dpkg-deb -x quakespasm_*.deb root &&
    cp root/usr/share/games/quake/quakespasm.pak .)
fi
tests/cli/compare_platforms.sh build/win64/data/quakespasm.pak build/engine/cli/vantor-pak \
  build/win64/cli/vantor-pak.exe cmake/wine-run.sh
wineserver -k || true
unset WINEPREFIX

echo "== fuzz targets, one minute each"
VANTOR_JOBS=$jobs fuzz/run 1

echo "== all tests passed"
