#!/usr/bin/env bash
# Builds the demo and starts it in its working directory (the build
# directory, which holds dwarf.x, its texture and the vertex programs).
# Arguments go to the demo (--out-of-step, --help).
#
# With a display this is the normal interactive program. Without one it runs
# on a virtual display: the three questions are asked as usual, each new
# window caption is printed, a screenshot is saved after a few seconds and
# the window is closed after about 20 seconds, as a window manager closes it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh" >/dev/null
cd "$build"
if [ -n "${DISPLAY:-}" ]; then
  exec ./hwskinning "$@"
fi
echo "No display: running on a virtual display (Xvfb)."
exec "$root/scripts/with-display.sh" "$root/scripts/run-headless.sh" "$@"
