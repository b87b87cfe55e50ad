#!/usr/bin/env bash
# Builds everything and runs the whole test suite, on a virtual display when
# there is no display; then builds it again with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the suite once more (SANITIZERS=0 skips
# that second run). Arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
(cd "$build" && "$root/scripts/with-display.sh" ctest --output-on-failure "$@")
if [ "${SANITIZERS:-1}" != 0 ]; then
  "$root/scripts/test-sanitizers.sh" "$@"
fi
