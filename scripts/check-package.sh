#!/usr/bin/env bash
# Checks a built Debian package the way a distribution would: lintian
# without errors, the desktop entry, AppStream metainfo and manual pages
# through their validators, and the programs run from an unpacked copy.
# Usage: scripts/check-package.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")
cd "$(dirname "$0")/.."
scripts/install-deps.sh package

echo "-- lintian"
lintian --fail-on error --tag-display-limit 0 "$deb"

root=$(mktemp -d "${TMPDIR:-/tmp}/vantor-package.XXXXXX")
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
share=$root/usr/share

echo "-- desktop-file-validate, appstreamcli"
desktop-file-validate "$share/applications/vantor.desktop"
appstreamcli validate --no-net "$share/metainfo/com.tessamont.vantor.metainfo.xml"

echo "-- mandoc -T lint"
for page in vantor vantor-pak vantor-uninstall; do
  findings=$(mandoc -T lint "$share/man/man1/$page.1.gz" 2>&1 || true)
  [[ -z $findings ]] || { echo "$findings"; exit 1; }
done

echo "-- the unpacked programs"
"$root/usr/bin/vantor-pak" --version
QT_QPA_PLATFORM=offscreen "$root/usr/bin/vantor" --version

echo "-- package checked: $(basename "$deb")"
