#!/usr/bin/env bash
# Installs the Debian packages a task needs, only those that are missing.
# Usage: scripts/install-deps.sh build|test|bench|fuzz|look|package|cross ...
set -euo pipefail

declare -A PACKAGES=(
  [build]="g++ cmake ninja-build pkg-config libglib2.0-dev qt6-base-dev qt6-multimedia-dev qt6-svg-dev libqt6svg6 libsndfile1-dev libpng-dev xdg-utils"
  [test]="libgtest-dev libgmock-dev xclip xvfb xauth xdotool"
  [bench]="libbenchmark-dev time tar coreutils"
  [fuzz]="clang libclang-rt-14-dev"
  [look]="xvfb xauth imagemagick xdotool"
  [package]="dpkg-dev file lintian desktop-file-utils appstream mandoc"
  # The Windows build: cross compiler, GoogleTest sources to build with it, Wine to run it.
  [cross]="g++-mingw-w64-x86-64 googletest wine wine64"
)

wanted=()
for group in "$@"; do
  [[ -n "${PACKAGES[$group]+set}" ]] || { echo "install-deps: unknown group '$group'" >&2; exit 2; }
  read -r -a list <<<"${PACKAGES[$group]}"
  wanted+=("${list[@]}")
done

missing=()
for package in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  sudo=()
elif command -v sudo >/dev/null; then
  sudo=(sudo)
else
  echo "install-deps: need root or sudo to install ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
