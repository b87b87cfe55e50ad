#!/usr/bin/env bash
# Builds everything and runs the skinning benchmark in the demo's working
# directory, on a virtual display when there is no display. Arguments go to
# the benchmark (--frames N, --warmup N, --repeat N, --sizes 42,168,672,
# --out DIR, --out-of-step).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh" >/dev/null
cd "$build"
mkdir -p bench-out
if [ -n "${DISPLAY:-}" ]; then
  exec ./hwskinbench --out bench-out "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" ./hwskinbench --out bench-out "$@"
