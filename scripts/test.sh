#!/usr/bin/env bash
# Builds everything and runs the whole test suite, on a virtual display when
# there is no display; then builds it again with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the suite once more (SANITIZERS=0 skips
# that second run). Arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
(
  cd "$build"
  if [ -n "${DISPLAY:-}" ]; then
    ctest --output-on-failure "$@"
  else
    xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure "$@"
  fi
)
if [ "${SANITIZERS:-1}" != 0 ]; then
  "$root/scripts/test-sanitizers.sh" "$@"
fi
