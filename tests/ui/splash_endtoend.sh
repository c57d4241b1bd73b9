#!/usr/bin/env bash
# The start splash of the real program under a private virtual display, with all its pauses:
# a screenshot during the hold shows the artwork centred on the screen, and wherever the
# artwork is red the screen behind it shows through (a window mask, no compositor needed). The
# main window follows once the splash has faded out. Keeps the screenshot.
#   splash_endtoend.sh PROGRAM ARTIFACT_DIR
set -euo pipefail
program=$1
artifacts=$2
skip() { echo "SKIPPED: $*"; exit 77; }

for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/setup.sh installs it)"
done

export QUOR_SKIP_SPLASH_WAITS=0
# shellcheck source=../../scripts/private_display.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/private_display.sh"
private_session_start || exit 1

failed() { echo "$*"; cat "$work/program.log"; exit 1; }
# pixel FILE X Y: "red,green,blue" of a pixel, whatever colour type the file was stored in.
pixel() { convert "$1" -format "%[fx:round(255*p{$2,$3}.r)],%[fx:round(255*p{$2,$3}.g)],%[fx:round(255*p{$2,$3}.b)]" info:; }

import -window root "$work/before.png"
"$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")
splash=$(timeout 10 xdotool search --sync --onlyvisible --name '^Starting Quor Generator$' | head -n1) ||
  failed "no splash appeared"
shown=$(date +%s%N)
# The fade-in takes 0.3 s and the hold 0.75 s after it.
sleep 0.5
import -window root "$artifacts/splash.png"
eval "$(xdotool getwindowgeometry --shell "$splash")"
[ "${WIDTH}x${HEIGHT}" = 535x341 ] || failed "the splash is ${WIDTH}x${HEIGHT}, not 535x341"
[ "$X,$Y" = "$(( (1024 - 535) / 2 )),$(( (768 - 341) / 2 ))" ] || failed "the splash is not centred: $X,$Y"

if convert "$artifacts/splash.png" -format %c histogram:info:- | grep -qi '#FF0000'; then
  failed "pure red shows on the screen: the splash's red is not see-through"
fi
# Places of the picture (at 8, 9 in the window): see-through ones show what the screen showed
# before; the screen of the artwork does not.
see_through() {  # see_through LEFT TOP WHAT: picture place LEFT,TOP shows the screen behind
  local x=$(( X + 8 + $1 )) y=$(( Y + 9 + $2 ))
  [ "$(pixel "$artifacts/splash.png" "$x" "$y")" = "$(pixel "$work/before.png" "$x" "$y")" ] ||
    failed "the $3 is not see-through"
}
see_through -6 -7 "window's margin"
see_through 2 2 "picture's corner"
see_through 449 200 "slot of the speaker grille"
x=$(( X + 8 + 250 )) y=$(( Y + 9 + 200 ))
[ "$(pixel "$artifacts/splash.png" "$x" "$y")" != "$(pixel "$work/before.png" "$x" "$y")" ] ||
  failed "the artwork does not show"
echo "the splash shows its artwork centred, its red see-through"

window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Quor Generator' | head -n1) ||
  failed "the main window did not appear after the splash"
waited=$(( ($(date +%s%N) - shown) / 1000000 ))
# 1.35 s of fades and hold, less what passed before the splash was found.
[ "$waited" -ge 1100 ] || failed "the main window came ${waited} ms after the splash: its pauses were skipped"
echo "the main window came ${waited} ms after the splash appeared"
xdotool windowfocus --sync "$window"
xdotool key --window "$window" --clearmodifiers ctrl+x 2>/dev/null || true
for _ in $(seq 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$program_pid" 2>/dev/null; then failed "Ctrl+X did not close the program"; fi
wait "$program_pid"
echo "screenshot in $artifacts/splash.png"
