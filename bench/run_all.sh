#!/usr/bin/env bash
# Prints every performance figure of the project, each against its target, in one run.
set -uo pipefail
build=${1:?usage: run_all.sh BUILD_DIR}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../scripts/services.sh"
services_start
trap services_stop EXIT
for script in synthesis_vs_sox.sh audio_vs_sox.sh window_startup.sh ui_stall.sh start_latency.sh \
    script_wait.sh script_render_vs_sox.sh soak.sh; do
  if [ -x "$here/$script" ]; then
    echo "== $script"
    "$here/$script" "$build"
  fi
done
