#!/usr/bin/env bash
# CPU of a script waiting on a 10 s tone against the same tone switched on by hand (target:
# within 10 %), and the share of a core the wait itself takes (target < 2 %), through
# PortAudio into the test sound server.
#   script_wait.sh BUILD_DIR [SECONDS [ROUNDS]]
set -euo pipefail
build=${1:?usage: script_wait.sh BUILD_DIR [SECONDS [ROUNDS]]}
bench="$build/bench/quor_script_wait_bench"
[ -x "$bench" ] || { echo "script_wait: $bench is not built"; exit 1; }
# shellcheck source=../scripts/services.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/services.sh"
services_start
if ! pactl info >/dev/null 2>&1; then
  echo "  skipped: no sound server (pulseaudio) could be started"
  exit 0
fi
"$bench" "${2:-10}" "${3:-3}"
