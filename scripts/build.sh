#!/usr/bin/env bash
# Builds the program, the tools and the tests into build/ (or $BUILD_DIR).
# The build directory is also the demo's working directory.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j "$(nproc)"
