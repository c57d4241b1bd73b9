#!/usr/bin/env bash
# Tone scripts in the real program under a private virtual display, playing into the test sound
# server's null sink. A three-tone script named on the command line plays its frequencies in
# order with only the progress dialog on the screen, and the program exits without writing its
# settings. Then a script chosen through File > Run Tone Script and Qt's open dialog plays its
# first tone until Next, its second tone, and stops at its pause message; after OK the run ends
# and the main window takes input again (Ctrl+X closes it). Keeps screenshots of the dialog.
#   script_endtoend.sh PROGRAM TONE_PROBE ARTIFACT_DIR
set -euo pipefail
program=$1
probe=$2
artifacts=$3
# shellcheck source=sink_capture.sh
source "$(dirname "${BASH_SOURCE[0]}")/sink_capture.sh"
sink_session_start || exit 1

failed() {
  echo "$*"; import -window root "$artifacts/script-failed.png" || true
  cat "$work/program.log" 2>/dev/null; exit 1
}
sink_capture_start || exit 1
# wait_gone PID SECONDS: the process has ended within SECONDS.
wait_gone() {
  for _ in $(seq $(( $2 * 10 ))); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  return 1
}

# ---- from the command line ----
# CR LF line ends; the second and third tone keep the first one's pulses, duty cycle and level.
printf 'rem three tones\r\ntone 500 2 0 50 100\r\ntone 1000 2\r\ntone 2000 2\r\nend\r\n' \
  >"$work/three.qvs"
before=$(mark)
"$program" "$work/three.qvs" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name 'three\.qvs$' | head -n1) ||
  failed "the script's progress dialog did not appear"
sleep 1
import -window root "$artifacts/script-commandline.png"
if xdotool search --onlyvisible --name '^Quor Generator' >/dev/null 2>&1; then
  failed "the main window is shown during a script run from the command line"
fi
wait_gone "$program_pid" 60 || failed "the program did not exit after its script"
status=0
wait "$program_pid" || status=$?
[ "$status" -eq 0 ] || failed "the program exited with status $status"
after=$(mark)
[ ! -e "$XDG_CONFIG_HOME/Nerovane/Quor Generator.conf" ] ||
  failed "the program wrote its settings after a command-line script"
cut "$before" "$after" "$work/three.raw"
echo "the command-line script, 500, 1000 and 2000 Hz:"
"$probe" "$work/three.raw" 48000 sequence 500 1000 2000 || failed "the three tones were not heard in order"
echo "the program exited with status 0 and wrote no settings"

# ---- from the menu ----
printf 'tone 700 60 0 50 100\ntone 1400 2\npause\nend\n' >"$work/menu.qvs"
program_window_start "$program" || exit 1
program_file_dialog ctrl+r Open "$work/menu.qvs" || failed "Run Tone Script did not take the script"
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name 'menu\.qvs$' | head -n1) ||
  failed "the script's progress dialog did not appear"
sleep 1.5
first_from=$(mark)
sleep 1
first_to=$(mark)
import -window root "$artifacts/script-menu.png"

# Next, in the dialog's client area at (109, 7), 61 x 20.
eval "$(xdotool getwindowgeometry --shell "$dialog")"
xdotool mousemove $(( X + 139 )) $(( Y + 17 )) click 1
sleep 0.5
second_from=$(mark)
sleep 1
second_to=$(mark)

box=
for _ in $(seq 100); do
  box=$(xdotool search --onlyvisible --name '^Quor Generator 3\.4$' 2>/dev/null | grep -vx "$window" | head -n1) || true
  [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || failed "the pause line showed no message"
import -window root "$artifacts/script-pause.png"
xdotool windowfocus --sync "$box"
xdotool key Return
for _ in $(seq 100); do
  xdotool search --onlyvisible --name 'menu\.qvs$' >/dev/null 2>&1 || break
  sleep 0.1
done
if xdotool search --onlyvisible --name 'menu\.qvs$' >/dev/null 2>&1; then
  failed "the progress dialog did not go after the end line"
fi

cut "$first_from" "$first_to" "$work/first.raw"
cut "$second_from" "$second_to" "$work/second.raw"
echo "the menu's script, before Next:"
"$probe" "$work/first.raw" 48000 tone 700 || failed "the first tone was not heard"
echo "after Next:"
"$probe" "$work/second.raw" 48000 tone 1400 || failed "Next did not go on with the second tone"

# Only a main window that takes input again closes on Ctrl+X.
xdotool windowfocus --sync "$window"
xdotool key --window "$window" --clearmodifiers ctrl+x 2>/dev/null || true
wait_gone "$program_pid" 5 || failed "Ctrl+X did not close the program after the run"
wait "$program_pid"
echo "screenshots in $artifacts/script-commandline.png, script-menu.png and script-pause.png"
