#!/usr/bin/env bash
# Starts the program's window on the system's sound server. Arguments go to the program.
set -euo pipefail
build=$1; shift
exec "$build/app/quor-generator" "$@"
