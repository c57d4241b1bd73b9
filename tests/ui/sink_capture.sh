#!/usr/bin/env bash
# Sourced by the end-to-end tests that listen to what the program plays into the test sound
# server's null sink, on a private display.

# shellcheck source=../../scripts/private_display.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/private_display.sh"

# sink_session_start: exits with the skip status 77 unless the tools and the test sound server
# (started by scripts/test.sh) are there, then starts the private session (private_display.sh).
sink_session_start() {
  local tool
  for tool in Xvfb xdotool parec pactl import; do
    command -v "$tool" >/dev/null 2>&1 || {
      echo "SKIPPED: $tool is not installed (scripts/setup.sh installs it)"; exit 77; }
  done
  [ -n "${PULSE_SERVER:-}" ] || {
    echo "SKIPPED: no test sound server (run through scripts/test.sh, which starts it)"; exit 77; }
  pactl info >/dev/null 2>&1 || {
    echo "SKIPPED: the test sound server at $PULSE_SERVER does not answer"; exit 77; }
  private_session_start
}

# sink_capture_start: one capture of the sink for the whole test, in $work/capture.raw (48000
# samples/s, 16 bits, mono), its processes added to the caller's `pids`. An idle sink sends
# nothing to its monitor, so a stream of zeros keeps it running; what was played is cut from
# the capture by the byte counts (mark) reached at the moments of interest.
sink_capture_start() {
  pacat --format=s16le --rate=48000 --channels=1 </dev/zero &
  pids+=($!)
  parec -d "${PULSE_SOURCE:-quor_null.monitor}" --format=s16le --rate=48000 --channels=1 \
    --latency-msec=20 >"$work/capture.raw" &
  pids+=($!)
  for _ in $(seq 100); do [ "$(mark)" -gt 9600 ] && break; sleep 0.05; done
  [ "$(mark)" -gt 9600 ] || { echo "the sink's monitor sends nothing"; return 1; }
}

mark() { stat -c %s "$work/capture.raw"; }

cut() {  # cut FROM TO FILE: bytes FROM..TO of the capture, on whole samples
  local from=$(( $1 / 2 * 2 )) to=$(( $2 / 2 * 2 ))
  dd if="$work/capture.raw" of="$3" iflag=skip_bytes,count_bytes bs=65536 skip="$from" \
    count=$(( to - from )) status=none
}
