#!/usr/bin/env bash
# Prints how fast quorgen renders a one-minute tone script against sox making the same tones:
# one `sox ... synth` a line and one more sox that joins the pieces, as a shell script would.
#   60 s at 96000 samples/s (bandwidth 48000), 16 bit: two tones, two sweeps, two delays;
#   wall clock, best of five (the disk makes single runs vary); target ratio <= 0.5
# Usage: bench/script_render_vs_sox.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: script_render_vs_sox.sh BUILD_DIR}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=against_sox.sh
source "$here/against_sox.sh"
quorgen="$build/tools/quorgen"
[ -x "$quorgen" ] || { echo "script_render_vs_sox: $quorgen is not built" >&2; exit 1; }
command -v sox >/dev/null || { echo "script_render_vs_sox: sox is not installed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/minute.qvs" <<'SCRIPT'
rem one minute: tones, sweeps and silences
tone 1000 10 0 50 100
delay 5
sweep 100 10000 15 0 50 90 1
tone 440 10 0 50 80
delay 5
sweep 20 5000 15 0 50 100 0
end
SCRIPT

# The same lines for sox: a level of L is (L - 100) dB, a logarithmic sweep is "/", a linear ":".
sox_pieces() {
  local s=(sox -n -r 96000 -b 16 -c 1)
  "${s[@]}" "$work/s1.wav" synth 10 sine 1000
  "${s[@]}" "$work/s2.wav" trim 0 5
  "${s[@]}" "$work/s3.wav" synth 15 sine 100/10000 vol -10dB
  "${s[@]}" "$work/s4.wav" synth 10 sine 440 vol -20dB
  "${s[@]}" "$work/s5.wav" trim 0 5
  "${s[@]}" "$work/s6.wav" synth 15 sine 20:5000
  sox "$work"/s[1-6].wav "$work/sox.wav"
}

q=$(best_wall "$quorgen" render --bandwidth 48000 --bits 16 "$work/minute.qvs" -o "$work/q.wav")
s=$(best_wall sox_pieces)
echo "render of a one-minute script at 96000 samples/s, 16 bit (wall clock, best of 5):"
ratio_line "  script" "$q" "$s" 0.5
awk -v q="$q" -v d="$(soxi -D "$work/q.wav")" \
  'BEGIN{printf "  %.1f s of output, rendered %.0f times faster than it plays\n", d, (q > 0 ? d / q : 0)}'
