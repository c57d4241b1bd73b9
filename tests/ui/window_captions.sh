#!/usr/bin/env bash
# The captions as the window manager reads them (each window's _NET_WM_NAME), from the real
# program under a private virtual display: the main window once it is active, and the About
# window opened from the Help menu with the keyboard.
#   window_captions.sh PROGRAM
set -euo pipefail
program=$1
skip() { echo "SKIPPED: $*"; exit 77; }

for tool in Xvfb xdotool xprop; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/setup.sh installs it)"
done

# shellcheck source=../../scripts/private_display.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/private_display.sh"
private_session_start || exit 1

program_window_start "$program" || exit 1

caption() {
  xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'
}
# expect_caption WINDOW TEXT WHAT: the caption settles to TEXT within a few seconds.
expect_caption() {
  for _ in $(seq 30); do [ "$(caption "$1")" = "$2" ] && break; sleep 0.1; done
  local shown
  shown=$(caption "$1")
  if [ "$shown" != "$2" ]; then
    echo "the $3 reads \"$shown\", not \"$2\""
    cat "$work/program.log"
    exit 1
  fi
  echo "the $3 reads \"$shown\""
}

expect_caption "$window" "Quor Generator 3.4" "main window"

xdotool key --clearmodifiers alt+h
sleep 0.3
xdotool key --clearmodifiers a
about=$(timeout 10 xdotool search --sync --name '^About' | head -n1) || {
  echo "the About window did not appear"; cat "$work/program.log"; exit 1; }
expect_caption "$about" "About" "About window"
