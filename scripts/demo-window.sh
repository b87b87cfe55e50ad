# Shell functions for the scripts that drive the demo's window, to be sourced
# in the build directory (where xwin stands). Each wait has a deadline and
# says on standard error why it gave up.

# find_demo_window PID SECONDS: prints the id of the demo's window once it
# shows; fails when the process PID ends first or SECONDS pass.
find_demo_window() {
  local pid=$1 seconds=$2 start=$SECONDS window
  while kill -0 "$pid" 2>/dev/null; do
    if window=$(./xwin find 0.5 2>/dev/null); then
      echo "$window"
      return 0
    fi
    if [ $((SECONDS - start)) -ge "$seconds" ]; then
      echo "No window of the demo appeared within $seconds s." >&2
      return 1
    fi
  done
  echo "The demo ended before its window appeared." >&2
  return 1
}

# wait_for_end PID SECONDS: waits for the background job PID and returns its
# exit code; after SECONDS it stops the job, which then counts as failed.
wait_for_end() {
  local pid=$1 seconds=$2 start=$SECONDS
  while kill -0 "$pid" 2>/dev/null; do
    if [ $((SECONDS - start)) -ge "$seconds" ]; then
      echo "The demo did not end within $seconds s: stopping it." >&2
      kill "$pid" 2>/dev/null
      wait "$pid"
      return 1
    fi
    sleep 0.2
  done
  wait "$pid"
}
