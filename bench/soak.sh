#!/usr/bin/env bash
# An hour of a looping sweep in virtual time, every sample compared with the plain definition,
# resident memory sampled each virtual minute (a few minutes of real time).
#   usage: bench/soak.sh <build-dir> [SECONDS]
set -euo pipefail
build=${1:?usage: soak.sh <build-dir> [SECONDS]}
exec "$build/bench/quor_soak_bench" "${2:-3600}"
