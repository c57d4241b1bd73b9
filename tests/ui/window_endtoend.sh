#!/usr/bin/env bash
# The real program under a private virtual display, playing into the test sound server's null
# sink: F5 starts the 1000 Hz default tone; Ctrl+F opens the frequency slider, whose thumb is
# dragged to 2000 Hz while the tone holds 1000 Hz until F5 F5 restarts it at 2000 Hz; F5 stops
# it, Ctrl+X closes the program. Keeps screenshots of the screen while the tones play.
#   window_endtoend.sh PROGRAM TONE_PROBE ARTIFACT_DIR
set -euo pipefail
program=$1
probe=$2
artifacts=$3
# shellcheck source=sink_capture.sh
source "$(dirname "${BASH_SOURCE[0]}")/sink_capture.sh"
sink_session_start || exit 1

program_window_start "$program" || exit 1
sink_capture_start || exit 1

xdotool key --window "$window" --clearmodifiers F5
sleep 0.5
tone_from=$(mark)
sleep 1.5
tone_to=$(mark)
import -window root "$artifacts/endtoend-screen.png"

# The slider window opens active at the top left. Its range narrowed to 1000..2000 Hz puts
# the thumb at the left end of the track (4 pixels in); dragged past the right end, it writes
# 2000 into the frequency field.
xdotool key --window "$window" --clearmodifiers ctrl+f
slider=$(timeout 10 xdotool search --sync --onlyvisible --name '^Frequency Control$' | head -n1) || {
  echo "Ctrl+F did not open the frequency slider"; exit 1; }
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$slider")"
range_field() {  # range_field LEFT TEXT: type TEXT into the field at LEFT and press Enter
  xdotool mousemove $(( X + $1 + 20 )) $(( Y + 39 )) click 1
  sleep 0.2
  xdotool key ctrl+a
  xdotool type --delay 30 "$2"
  xdotool key Return
  sleep 0.2
}
range_field $(( WIDTH - 80 )) 2000
range_field 9 1000
xdotool mousemove $(( X + 10 )) $(( Y + 8 )) mousedown 1
for x in 200 400 600 $(( WIDTH + 50 )); do
  sleep 0.05
  xdotool mousemove $(( X + x )) $(( Y + 8 ))
done
xdotool mouseup 1
sleep 0.5
held_from=$(mark)
sleep 1
held_to=$(mark)
import -window root "$artifacts/endtoend-slider.png"

xdotool windowfocus --sync "$window"
xdotool key --window "$window" --clearmodifiers F5
sleep 0.3
xdotool key --window "$window" --clearmodifiers F5
sleep 0.5
dragged_from=$(mark)
sleep 1.5
dragged_to=$(mark)

xdotool key --window "$window" --clearmodifiers F5
sleep 0.5
silence_from=$(mark)
sleep 1
silence_to=$(mark)

cut "$tone_from" "$tone_to" "$work/tone.raw"
cut "$held_from" "$held_to" "$work/held.raw"
cut "$dragged_from" "$dragged_to" "$work/dragged.raw"
cut "$silence_from" "$silence_to" "$work/silence.raw"
echo "with the tone on:"
"$probe" "$work/tone.raw" 48000 tone 1000
echo "after the slider was dragged to 2000 Hz, before an apply:"
"$probe" "$work/held.raw" 48000 tone 1000
echo "after the tone was restarted:"
"$probe" "$work/dragged.raw" 48000 tone 2000
echo "after the second F5:"
"$probe" "$work/silence.raw" 48000 silence

# The window is gone before the keys are released, which xdotool reports as an error.
xdotool key --window "$window" --clearmodifiers ctrl+x 2>/dev/null || true
for _ in $(seq 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$program_pid" 2>/dev/null; then
  echo "Ctrl+X did not close the program"; exit 1
fi
wait "$program_pid"
echo "closed with Ctrl+X; screenshots in $artifacts/endtoend-screen.png and endtoend-slider.png"
