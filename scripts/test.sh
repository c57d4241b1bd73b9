#!/usr/bin/env bash
# Runs every test. Tests that need a sound server or a display get private ones, started here
# and stopped on exit, so a developer's own session is never touched.
set -euo pipefail
build=$1; shift
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=services.sh
source "$here/services.sh"
services_start
trap services_stop EXIT
ctest --test-dir "$build" --output-on-failure -j 2 "$@"
