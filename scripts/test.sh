#!/usr/bin/env bash
# Builds everything and runs the whole test suite, on a virtual display when
# there is no display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
cd "$build"
if [ -n "${DISPLAY:-}" ]; then
  ctest --output-on-failure "$@"
else
  xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure "$@"
fi
