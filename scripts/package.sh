#!/usr/bin/env bash
# Builds the Debian package build/package/vantor_<version>_<arch>.deb.
# Usage: scripts/package.sh [BUILD_DIR]
# Without BUILD_DIR the programs get a release build of their own in
# build/release; with one, that build (build/test, say) is packaged as it is.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build package
build=${1:-build/release}
if [[ $# -eq 0 ]]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
fi
cmake --build "$build" -j "$(nproc)"

rm -f build/package/*.deb
cpack --config "$build/CPackConfig.cmake" -B "$PWD/build/package"
ls build/package/*.deb
