#!/usr/bin/env bash
# Runs a test program on a private X server (xvfb-run), for what only a real
# display shows: the clipboard between two processes. Without the tools the
# test is skipped (exit 77), except in CI, which installs them
# (scripts/install-deps.sh test) and must never skip it.
set -euo pipefail
for tool in xvfb-run Xvfb xauth xclip; do
  if ! command -v "$tool" >/dev/null; then
    if [[ -n "${CI:-}" ]]; then
      echo "under_x11: $tool is missing; scripts/install-deps.sh test installs it" >&2
      exit 1
    fi
    echo "under_x11: $tool is missing, test skipped" >&2
    exit 77
  fi
done
export QT_QPA_PLATFORM=xcb
exec xvfb-run -a -s "-screen 0 640x480x24 -nolisten tcp" "$@"
