#!/usr/bin/env bash
# Starts what the program has so far. Until the window lands this is the command-line
# generator, playing the default tone (1000 Hz sine, level 100) through the sound server.
set -euo pipefail
build=$1; shift
if [ $# -eq 0 ]; then
  echo "Quor Generator: the window is not built yet; playing the default tone with quorgen (Ctrl+C stops)."
  set -- play --loop 5
fi
exec "$build/tools/quorgen" "$@"
