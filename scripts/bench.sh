#!/usr/bin/env bash
# Builds everything and runs the skinning benchmark in the demo's working
# directory, on a virtual display when there is no display, then draws its
# table as a chart, bench.png beside bench.csv. Arguments go to the benchmark
# (--frames N, --warmup N, --repeat N, --sizes 42,168,672, --out DIR,
# --out-of-step; the default DIR is bench-out in the build directory).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh" >/dev/null
cd "$build"

out=bench-out
arguments=("$@")
for ((i = 0; i + 1 < ${#arguments[@]}; ++i)); do
  [ "${arguments[i]}" != --out ] || out=${arguments[i + 1]}
done
mkdir -p "$out"
"$root/scripts/with-display.sh" ./hwskinbench --out "$out" "$@"
"$root/scripts/bench-chart.sh" "$out/bench.csv" "$out/bench.png"
echo "Chart: $(cd "$out" && pwd)/bench.png"
