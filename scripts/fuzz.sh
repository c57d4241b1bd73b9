#!/usr/bin/env bash
# Runs every fuzzing harness of BUILD (configured with QUOR_FUZZ) for SECONDS each, as many at
# once as there are cores (QUOR_FUZZ_JOBS), and prints one line per harness: executions,
# coverage (edges), features and corpus size. Each harness grows its corpus in BUILD/corpus/NAME, seeded from fuzz/corpus/NAME;
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

mkdir -p "$build/findings" "$build/logs" "$build/results"
# One harness per core at a time: each is a single process, and CI has two cores.
jobs=${QUOR_FUZZ_JOBS:-$(nproc 2>/dev/null || echo 1)}

# run_harness NAME PROGRAM: runs it and leaves its line of the table in results/NAME.
run_harness() {
  local name=$1 program=$2
  local corpus="$build/corpus/$name"
  local seeds="$here/fuzz/corpus/$name"
  local log="$build/logs/$name.log"
  mkdir -p "$corpus"
  # -timeout: an input that takes this long hangs; -rss_limit_mb: or grows without end.
  "$program" "$corpus" "$seeds" -dict="$here/fuzz/quor.dict" -max_total_time="$seconds" \
    -timeout=20 -rss_limit_mb=2560 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$name-" >"$log" 2>&1
  local status=$?
  local executions last edges features size result
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1)
  edges=$(sed -n 's/.*cov: \([0-9]*\).*/\1/p' <<<"$last")
  features=$(sed -n 's/.*ft: \([0-9]*\).*/\1/p' <<<"$last")
  size=$(find "$corpus" -type f | wc -l)
  if [ "$status" -eq 0 ]; then result=ok; else result="FINDING (exit $status): see $log"; fi
  printf '%-18s %12s %9s %9s %8s  %s\n' "$name" "${executions:-?}" "${edges:-?}" \
    "${features:-?}" "$size" "$result" >"$build/results/$name"
}

names=()
while read -r name program; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
  rm -f "$build/results/$name"
  run_harness "$name" "$program" &
  names+=("$name")
done <"$list"
wait

printf '%-18s %12s %9s %9s %8s  %s\n' harness executions edges features corpus result
passed=0
broken=0
for name in "${names[@]}"; do
  if [ -f "$build/results/$name" ]; then
    cat "$build/results/$name"
    if grep -q ' ok$' "$build/results/$name"; then passed=$((passed + 1)); else broken=$((broken + 1)); fi
  else
    printf '%-18s did not report\n' "$name"
    broken=$((broken + 1))
  fi
done

echo "fuzz: $passed passed, $broken failed"
if [ "$broken" -ne 0 ]; then
  echo "fuzz: inputs that broke a harness are in $build/findings; rerun one with" >&2
  echo "      $build/fuzz/NAME FILE" >&2
  exit 1
fi
