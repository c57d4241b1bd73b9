#!/usr/bin/env bash
# Time from process start (quorgen play, sox's play, paplay, each a second of 1000 Hz) and from
# the switch (the output component in a running program) to the first sound on the null sink's
# monitor; target: quorgen no later than sox.
#   start_latency.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:?usage: start_latency.sh BUILD_DIR [RUNS]}
bench="$build/bench/quor_start_latency_bench"
[ -x "$bench" ] || { echo "start_latency: $bench is not built"; exit 1; }
for tool in sox play paplay parec; do
  command -v "$tool" >/dev/null || { echo "start_latency: $tool is missing"; exit 1; }
done
# shellcheck source=../scripts/services.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/services.sh"
services_start
pactl info >/dev/null 2>&1 || { echo "  skipped: no sound server (pulseaudio) could be started"; exit 0; }
"$bench" "${2:-5}"
