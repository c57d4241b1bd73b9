#!/usr/bin/env bash
# CPU of a script waiting on a 10 s tone against the same tone switched on by hand (target:
# within 10 %), and the share of a core the wait itself takes (target < 2 %), through
# PortAudio into the test sound server: once as the command-line tools host scripts, once in
# the program's window (F5 against Run Tone Script) on a private virtual display.
#   script_wait.sh BUILD_DIR [SECONDS [ROUNDS]]
set -euo pipefail
build=${1:?usage: script_wait.sh BUILD_DIR [SECONDS [ROUNDS]]}
here=$(dirname "${BASH_SOURCE[0]}")
bench="$build/bench/quor_script_wait_bench"
window_bench="$build/bench/quor_window_script_wait_bench"
[ -x "$bench" ] || { echo "script_wait: $bench is not built"; exit 1; }
# shellcheck source=../scripts/services.sh
source "$here/../scripts/services.sh"
services_start
if ! pactl info >/dev/null 2>&1; then
  echo "  skipped: no sound server (pulseaudio) could be started"
  exit 0
fi
"$bench" "${2:-10}" "${3:-5}"
if [ ! -x "$window_bench" ]; then
  echo "  the window's figures skipped: $window_bench is not built"
elif ! command -v Xvfb >/dev/null 2>&1; then
  echo "  the window's figures skipped: Xvfb is missing"
else
  # shellcheck source=../scripts/private_display.sh
  source "$here/../scripts/private_display.sh"
  private_session_start || exit 1
  "$window_bench" "${2:-10}" "${3:-5}"
fi
