#!/usr/bin/env bash
# Runs the demo on the current (virtual) display and plays the user at the
# window: prints each new caption, saves screenshot.png in the working
# directory after SHOT_AFTER seconds and closes the window after CLOSE_AFTER
# seconds. Arguments go to the demo. Exits with the demo's exit code; gives up
# when no window appears within WINDOW_TIMEOUT seconds or the demo does not end
# within END_TIMEOUT seconds of its window closing.
set -uo pipefail
shot_after=${SHOT_AFTER:-5}
close_after=${CLOSE_AFTER:-20}
window_timeout=${WINDOW_TIMEOUT:-60}
end_timeout=${END_TIMEOUT:-30}
source "$(dirname "$0")/demo-window.sh"

# A background job would read /dev/null: hand it this script's input.
exec 3<&0
./hwskinning "$@" <&3 3<&- &
demo=$!

if window=$(find_demo_window "$demo" "$window_timeout"); then
  start=$SECONDS
  caption=""
  shot=""
  while kill -0 "$demo" 2>/dev/null; do
    now=$(./xwin title "$window" 2>/dev/null || true)
    if [ -n "$now" ] && [ "$now" != "$caption" ]; then
      caption=$now
      echo "Caption: $caption"
    fi
    if [ -z "$shot" ] && [ $((SECONDS - start)) -ge "$shot_after" ]; then
      shot=$PWD/screenshot.png
      import -window "$window" "$shot" && echo "Screenshot saved: $shot"
    fi
    if [ $((SECONDS - start)) -ge "$close_after" ]; then
      echo "Closing the window."
      ./xwin close "$window" >/dev/null 2>&1 || true
      break
    fi
    sleep 0.2
  done
else
  kill "$demo" 2>/dev/null
fi
wait_for_end "$demo" "$end_timeout"
status=$?
echo "The demo ended with exit code $status."
exit $status
