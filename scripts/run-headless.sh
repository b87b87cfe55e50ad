#!/usr/bin/env bash
# Runs the demo on the current (virtual) display and plays the user at the
# window: prints each new caption, saves screenshot.png in the working
# directory after SHOT_AFTER seconds and closes the window after CLOSE_AFTER
# seconds. Arguments go to the demo. Exits with the demo's exit code.
set -uo pipefail
shot_after=${SHOT_AFTER:-5}
close_after=${CLOSE_AFTER:-20}

# A background job would read /dev/null: hand it this script's input.
exec 3<&0
./hwskinning "$@" <&3 3<&- &
demo=$!

window=""
while [ -z "$window" ] && kill -0 "$demo" 2>/dev/null; do
  window=$(./xwin find "Hardware Skinning example" 0.5 2>/dev/null || true)
done

if [ -n "$window" ]; then
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
fi
wait "$demo"
status=$?
echo "The demo ended with exit code $status."
exit $status
