#!/usr/bin/env bash
# Runs every test of BUILD. Tests that need a sound server or a display get private ones, started
# here and stopped on exit, so a developer's own session is never touched.
#   test.sh BUILD [--sanitized] [ctest arguments]
# --sanitized: BUILD was made with the address and undefined-behaviour sanitizers; the first
# fault, a leak included, ends its test.
set -euo pipefail
build=$1; shift
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ "${1:-}" = --sanitized ]; then
  shift
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$here/sanitizer-leaks.supp:print_suppressions=0
fi
# shellcheck source=services.sh
source "$here/services.sh"
services_start
trap services_stop EXIT
ctest --test-dir "$build" --output-on-failure -j 2 "$@"
