#!/usr/bin/env bash
# Runs every fuzzing harness of BUILD (configured with QUOR_FUZZ) for SECONDS each, one after
# the other, and prints one line per harness: executions, coverage (edges), features and
# corpus size. Each harness grows its corpus in BUILD/corpus/NAME, seeded from fuzz/corpus/NAME;
# an input that breaks a harness is kept as BUILD/findings/NAME-crash-… and fails the run.
set -uo pipefail
build=${1:?usage: fuzz.sh BUILD SECONDS}
seconds=${2:?usage: fuzz.sh BUILD SECONDS}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
list="$build/fuzz/harnesses.txt"
[ -s "$list" ] || { echo "fuzz: no harnesses in $build (configure it with -DQUOR_FUZZ=ON)" >&2; exit 2; }

# Leaks are findings too; the few that Qt keeps for the life of a process are not ours.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:symbolize=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/scripts/sanitizer-leaks.supp:print_suppressions=0}
export QT_QPA_PLATFORM=offscreen

mkdir -p "$build/findings" "$build/logs"
failed=0
passed=0
broken=0
printf '%-18s %12s %9s %9s %8s  %s\n' harness executions edges features corpus result
while read -r name program; do
  corpus="$build/corpus/$name"
  seeds="$here/fuzz/corpus/$name"
  log="$build/logs/$name.log"
  mkdir -p "$corpus"
  # -timeout: an input that takes this long hangs; -rss_limit_mb: or grows without end.
  "$program" "$corpus" "$seeds" -dict="$here/fuzz/quor.dict" -max_total_time="$seconds" \
    -timeout=20 -rss_limit_mb=2560 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$name-" >"$log" 2>&1
  status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1)
  edges=$(sed -n 's/.*cov: \([0-9]*\).*/\1/p' <<<"$last")
  features=$(sed -n 's/.*ft: \([0-9]*\).*/\1/p' <<<"$last")
  size=$(find "$corpus" -type f | wc -l)
  if [ "$status" -eq 0 ]; then
    result=ok
    passed=$((passed + 1))
  else
    result="FINDING (exit $status): see $log"
    failed=1
    broken=$((broken + 1))
  fi
  printf '%-18s %12s %9s %9s %8s  %s\n' "$name" "${executions:-?}" "${edges:-?}" \
    "${features:-?}" "$size" "$result"
done <"$list"

echo "fuzz: $passed passed, $broken failed"
if [ "$failed" -ne 0 ]; then
  echo "fuzz: inputs that broke a harness are in $build/findings; rerun one with" >&2
  echo "      $build/fuzz/NAME FILE" >&2
fi
exit "$failed"
