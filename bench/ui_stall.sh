#!/usr/bin/env bash
# Longest stall of the user-interface thread at a tone's start, at a stop by the toggle and at
# a tone's natural end, on the test sound server (target <= 20 ms each): the engine drives the
# real device as the window does while a 1 ms timer beats on the event loop.
#   ui_stall.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:?usage: ui_stall.sh BUILD_DIR [RUNS]}
bench="$build/bench/quor_ui_stall_bench"
[ -x "$bench" ] || { echo "ui_stall: $bench is not built"; exit 1; }
# shellcheck source=../scripts/services.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/services.sh"
services_start
pactl info >/dev/null 2>&1 || { echo "  skipped: no sound server (pulseaudio) could be started"; exit 0; }
"$bench" "${2:-5}"
