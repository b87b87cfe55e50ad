#!/usr/bin/env bash
# Regenerates the images that the README shows, on this machine:
#   docs/crowd-hardware-lit.png  the demo's window, hardware skinning, lit
#   docs/bench.png               the chart of a full benchmark run
# and rewrites the README's line that says which machine and renderer the
# chart came from. Arguments go to the benchmark (the default, the full run,
# takes about ten minutes). Nothing in docs/ changes unless every step works.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
work=$(mktemp -d "${TMPDIR:-/tmp}/docs-images.XXXXXX")
trap 'rm -rf "$work"' EXIT

"$root/scripts/build.sh" >/dev/null

# The demo as a user starts it: OpenGL, hardware skinning, lighting on; the
# window is photographed after five seconds of animation.
echo "Screenshot of the demo..."
rm -f "$build/screenshot.png"
(cd "$build" && printf '2\n1\n1\n' | SHOT_AFTER=5 CLOSE_AFTER=6 \
  "$root/scripts/with-display.sh" "$root/scripts/run-headless.sh") >"$work/demo.log" 2>&1 || {
  cat "$work/demo.log" >&2
  echo "docs-images.sh: the demo run failed." >&2
  exit 1
}
if [ ! -s "$build/screenshot.png" ]; then
  cat "$work/demo.log" >&2
  echo "docs-images.sh: the demo run left no screenshot." >&2
  exit 1
fi
mv "$build/screenshot.png" "$work/crowd-hardware-lit.png"

# The engine's log names the OpenGL version and, on the next line, the
# renderer ("llvmpipe (...): Mesa/X.org").
opengl=$(sed -n 's/^Using renderer: //p' "$work/demo.log")
renderer=$(sed -n '/^Using renderer:/{n;s/: [^:]*$//;p;q}' "$work/demo.log")
mesa=$(dpkg-query -W -f='${Version}' libgl1-mesa-dri | sed 's/-.*//')
cpu=$(grep -m1 '^model name' /proc/cpuinfo | sed 's/.*: //' || true)
. /etc/os-release
machine="$PRETTY_NAME, $(nproc) cores${cpu:+ ($cpu)}, Mesa $mesa $renderer, $opengl"

echo "Benchmark on $machine..."
"$root/scripts/bench.sh" --out "$work/bench" "$@"
"$root/scripts/bench-chart.sh" "$work/bench/bench.csv" "$work/bench.png" "$machine"

# The README's line under the chart names the machine.
line="Chart measured on $machine."
grep -q '^Chart measured on ' "$root/README.md" || {
  echo "docs-images.sh: README.md has no line starting \"Chart measured on \"." >&2
  exit 1
}
mkdir -p "$root/docs"
mv "$work/crowd-hardware-lit.png" "$work/bench.png" "$root/docs/"
cp "$work/bench/bench.csv" "$root/docs/bench.csv"
awk -v line="$line" '/^Chart measured on /{ $0 = line } { print }' "$root/README.md" >"$work/README.md"
cat "$work/README.md" >"$root/README.md"
echo "Written: docs/crowd-hardware-lit.png, docs/bench.png, docs/bench.csv; README: $line"
