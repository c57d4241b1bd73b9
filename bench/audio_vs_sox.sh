#!/usr/bin/env bash
# Prints quorgen's render time and playback CPU time against sox doing the same work.
#   render:   60 s at 96000 samples/s (bandwidth 48000), 16 bit, sine and triangle, into a WAV
#             file; best of five wall-clock times (the disk makes single runs vary); target ratio <= 0.5
#   playback: 10 s of a 1000 Hz sine at 96000 samples/s into the private null sink through
#             ALSA; process CPU time (user + system), median of five runs taken in turns
#             (QUOR_PLAYBACK_RUNS sets how many); target ratio <= 1.0
# Usage: bench/audio_vs_sox.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: audio_vs_sox.sh BUILD_DIR}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
quorgen="$build/tools/quorgen"
[ -x "$quorgen" ] || { echo "audio_vs_sox: $quorgen is not built" >&2; exit 1; }
command -v sox >/dev/null || { echo "audio_vs_sox: sox is not installed" >&2; exit 1; }
# shellcheck source=../scripts/services.sh
source "$here/../scripts/services.sh"
# shellcheck source=against_sox.sh
source "$here/against_sox.sh"
services_start
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Seconds of CPU time (user + system) of a command.
cpu() {
  local t
  t=$( { TIMEFORMAT='%U %S'; time "$@" >/dev/null 2>&1; } 2>&1 )
  awk -v t="$t" 'BEGIN{split(t,a," "); printf "%.3f", a[1]+a[2]}'
}

echo "render 60 s at 96000 samples/s, 16 bit (wall clock, best of 5):"
for wave in sine:sine triangle:triangular; do
  soxwave=${wave%%:*}
  ourwave=${wave##*:}
  q=$(best_wall "$quorgen" render --bandwidth 48000 --bits 16 --waveform "$ourwave" \
        --freq 1000 --period 60 --loop 60 -o "$work/q.wav")
  s=$(best_wall sox -n -r 96000 -b 16 -c 1 "$work/s.wav" synth 60 "$soxwave" 1000)
  ratio_line "  $soxwave" "$q" "$s" 0.5
done

median() { sort -n | awk '{v[NR]=$1} END{print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }

runs=${QUOR_PLAYBACK_RUNS:-5}
echo "playback 10 s of 1000 Hz sine at 96000 samples/s into the null sink (CPU time, median of $runs):"
if pactl info >/dev/null 2>&1; then
  ours=() theirs=()
  for _ in $(seq "$runs"); do
    ours+=("$(cpu "$quorgen" play --bandwidth 48000 --freq 1000 --period 10 --loop 10)")
    theirs+=("$(cpu sox -n -r 96000 -b 16 -c 1 -t alsa default synth 10 sine 1000)")
  done
  echo "  quorgen runs: ${ours[*]}"
  echo "  sox runs:     ${theirs[*]}"
  q=$(printf '%s\n' "${ours[@]}" | median)
  s=$(printf '%s\n' "${theirs[@]}" | median)
  ratio_line "  sine" "$q" "$s" 1.0
else
  echo "  skipped: no sound server (pulseaudio) could be started"
fi
