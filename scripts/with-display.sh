#!/usr/bin/env bash
# Runs a command on a display: usage  with-display.sh COMMAND [ARGS...]
#
# With DISPLAY set the command simply runs. Without, it runs on a virtual
# display (Xvfb) started for it alone and stopped when it ends, and this
# script exits with the command's exit code. Xvfb picks a free display number
# itself (-displayfd), so runs side by side never meet. It is started with
# -noreset: a plain Xvfb resets whenever its last client leaves, and a window
# opened during the reset fails.
# DISPLAY_TIMEOUT (default 30) is how many seconds Xvfb may take to come up.
set -uo pipefail
if [ $# -eq 0 ]; then
  echo "usage: $0 COMMAND [ARGS...]" >&2
  exit 2
fi
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
timeout=${DISPLAY_TIMEOUT:-30}

work=$(mktemp -d "${TMPDIR:-/tmp}/with-display.XXXXXX")
: >"$work/display"
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp \
  3>"$work/display" 2>"$work/xvfb.log" </dev/null &
xvfb=$!
stop_xvfb() {
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap stop_xvfb EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Xvfb writes its display number and a newline once it takes connections.
start=$SECONDS
until read -r number <"$work/display"; do
  if ! kill -0 "$xvfb" 2>/dev/null; then
    echo "with-display.sh: Xvfb ended before its display came up:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
  fi
  if [ $((SECONDS - start)) -ge "$timeout" ]; then
    echo "with-display.sh: Xvfb's display did not come up within $timeout s." >&2
    exit 1
  fi
  sleep 0.1
done

DISPLAY=:$number "$@"
