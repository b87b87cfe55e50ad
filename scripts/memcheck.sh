#!/usr/bin/env bash
# Runs the demo under valgrind memcheck for a few seconds in each skinning
# mode, on a virtual display when there is no display, closes its window as a
# window manager does and prints a summary per mode. A last run draws a crowd
# of a 60-joint model with hardware skinning (a test of test_faults), whose
# palette is larger than the vertex program's.
#
# Errors that belong to glibc or Mesa are suppressed in
# tests/sanitizers/valgrind.supp; anything else (an error in the program's
# own code, src/) makes the run fail. Exits 0 when every run is clean.
# RUN_SECONDS sets how long each window stays open (default 5); a run whose
# window does not appear, or which does not end, within five minutes fails.
# The logs stay in the build directory as memcheck-*.log. Takes about two
# minutes.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
run_seconds=${RUN_SECONDS:-5}

[ -n "${DISPLAY:-}" ] || exec "$root/scripts/with-display.sh" "$0" "$@"
"$root/scripts/build.sh" >/dev/null || exit 1
cd "$build"
source "$root/scripts/demo-window.sh"

memcheck=(valgrind --tool=memcheck --error-exitcode=99 --leak-check=full
  --errors-for-leak-kinds=definite --show-leak-kinds=definite --keep-debuginfo=yes
  --num-callers=40 --suppressions="$root/tests/sanitizers/valgrind.supp")

# The program's own source files, as valgrind names them in its stack frames.
own_files=$(cd "$root/src" && ls | paste -sd '|')

# Prints one line for a finished run and, when an unsuppressed error stands
# in the log, the frames of the program's own code that it passes through.
summarise() {
  local name=$1 status=$2 log=$3
  local errors leaks
  errors=$(grep -o 'ERROR SUMMARY: [0-9]* errors from [0-9]* contexts (suppressed: [0-9]* from [0-9]*)' "$log")
  leaks=$(grep -o 'definitely lost: [0-9,]* bytes in [0-9,]* blocks' "$log" || echo "definitely lost: 0 bytes")
  printf '%-28s exit %-3s %s; %s\n' "$name" "$status" "$errors" "$leaks"
  if [ "$status" != 0 ]; then
    grep -E "\((${own_files//./\\.}):[0-9]+\)" "$log" | sort | uniq -c | head -n 20
  fi
}

failed=0
run_mode() {
  local name=$1 answers=$2
  local log=$build/memcheck-$name.log
  printf '%b' "$answers" | "${memcheck[@]}" --log-file="$log" ./hwskinning >/dev/null 2>&1 &
  local demo=$!
  local window
  if window=$(find_demo_window "$demo" 300); then
    sleep "$run_seconds"
    ./xwin close "$window" >/dev/null 2>&1
  else
    kill "$demo" 2>/dev/null
  fi
  wait_for_end "$demo" 300
  local status=$?
  [ -n "$window" ] || status=1
  summarise "$name" "$status" "$log"
  [ "$status" = 0 ] || failed=1
}

echo "valgrind memcheck, ${run_seconds} s of frames per run:"
run_mode hardware '2\n1\n2\n'
run_mode hardware-lit '2\n1\n1\n'
run_mode engine '2\n2\n2\n'
run_mode none '2\n3\n2\n'

log=$build/memcheck-sixty-joints.log
"${memcheck[@]}" --log-file="$log" ./tests/test_faults \
  --gtest_filter='OddModelFrame.SixtyJointPaletteLeavesNoOpenGLError' >/dev/null 2>&1
status=$?
summarise sixty-joints-hardware "$status" "$log"
[ "$status" = 0 ] || failed=1
exit $failed
