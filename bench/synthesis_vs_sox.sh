#!/usr/bin/env bash
# Sets the fill's cost per sample beside sox's, in one run on this machine: 96000 samples/s,
# 16-bit, a 1000 Hz tone, for the sine, square and triangular wave. Best of three each, as
# wall-clock time and as processor time (user + system), since a shared machine inflates the
# first. Prints one line per waveform; exits 0 whether the target is met or not.
#   usage: bench/synthesis_vs_sox.sh <build-dir>
set -euo pipefail

build=${1:?usage: synthesis_vs_sox.sh <build-dir>}
bench="$build/bench/quor_fill_bench"
if [ ! -x "$bench" ]; then
  echo "no $bench: build the target quor_fill_bench first" >&2
  exit 1
fi
if ! command -v sox >/dev/null 2>&1; then
  echo "sox is not installed (scripts/setup.sh installs it)" >&2
  exit 1
fi

sox_samples=5760000  # 60 s at 96000 samples/s
target=0.5

# Best of three sox runs: "<wall ns/sample> <cpu ns/sample>".
sox_per_sample() {
  local wave=$1 best_wall="" best_cpu="" t
  for _ in 1 2 3; do
    t=$( { TIMEFORMAT='%R %U %S'; time sox -n -r 96000 -b 16 -c 1 -t raw /dev/null \
      synth 60 "$wave" 1000; } 2>&1 )
    read -r best_wall best_cpu < <(awk -v t="$t" -v bw="$best_wall" -v bc="$best_cpu" \
      -v n="$sox_samples" 'BEGIN { split(t, a, " "); w = a[1] * 1e9 / n;
        c = (a[2] + a[3]) * 1e9 / n; if (bw != "" && bw < w) w = bw;
        if (bc != "" && bc < c) c = bc; printf "%.3f %.3f\n", w, c }')
  done
  echo "$best_wall $best_cpu"
}

# Best of three repetitions of the fill benchmark: "<wall ns/sample> <cpu ns/sample>".
ours_per_sample() {
  local wave=$1
  "$bench" --benchmark_filter="^BM_Fill/wave:$wave/bits:16/signal:0\$" \
    --benchmark_repetitions=3 --benchmark_format=json 2>/dev/null |
    awk -v samples=8192 '
      /"run_type": "iteration"/ { iteration = 1 }
      /"run_type": "aggregate"/ { iteration = 0 }
      iteration && /"real_time":/ { gsub(/[,"]/, ""); w = $2 / samples; if (bw == "" || w < bw) bw = w }
      iteration && /"cpu_time":/ { gsub(/[,"]/, ""); c = $2 / samples; if (bc == "" || c < bc) bc = c }
      END { printf "%.3f %.3f\n", bw, bc }'
}

verdict() { awk -v r="$1" -v t="$target" 'BEGIN { print (r <= t) ? "met" : "NOT met" }'; }

printf '%s\n' "fill vs sox, ns per sample at 96000 samples/s, 16-bit (best of 3; wall / cpu)"
index=0
for wave in sine square triangle; do
  read -r sox_wall sox_cpu < <(sox_per_sample "$wave")
  read -r our_wall our_cpu < <(ours_per_sample "$index")
  ratio_wall=$(awk -v a="$our_wall" -v b="$sox_wall" 'BEGIN { printf "%.3f", a / b }')
  ratio_cpu=$(awk -v a="$our_cpu" -v b="$sox_cpu" 'BEGIN { printf "%.3f", a / b }')
  printf '%-9s sox %7.2f / %7.2f   ours %7.2f / %7.2f   ours/sox %5.3f / %5.3f   target <= %s: wall %s, cpu %s\n' \
    "$wave" "$sox_wall" "$sox_cpu" "$our_wall" "$our_cpu" "$ratio_wall" "$ratio_cpu" \
    "$target" "$(verdict "$ratio_wall")" "$(verdict "$ratio_cpu")"
  index=$((index + 1))
done
