#!/usr/bin/env bash
# Builds Vantor and starts it on the sample pak.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DVANTOR_ENGINE_ONLY=OFF
cmake --build build

sample=build/samples/sample.pak
if [[ -x build/app/vantor ]]; then
  exec build/app/vantor "$sample" "$@"
fi
# No desktop program yet: show the sample pak with the command-line tool.
build/cli/vantor-pak info "$sample"
build/cli/vantor-pak list -l "$sample"
