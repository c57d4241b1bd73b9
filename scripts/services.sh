#!/usr/bin/env bash
# Private services for the tests, sourced by scripts/test.sh (and the benchmarks), which call
# services_start before the tests and services_stop after them. Each service is started only
# if it is not running already and lives in a private folder, so a developer's own session is
# never touched. Add a service as a pair of *_start/*_stop functions and list it in both below.

quor_services_dir=${QUOR_SERVICES_DIR:-${TMPDIR:-/tmp}/quor-services-$(id -u)}

services_start() {
  mkdir -p "$quor_services_dir" && chmod 700 "$quor_services_dir"
  sound_server_start
}

services_stop() {
  sound_server_stop
}

# A PulseAudio daemon with one null sink ("quor_null", its monitor "quor_null.monitor"), and
# ALSA's default device pointed at it, so that PortAudio, sox and parec meet in one place
# without a sound card. Exports what the test processes need to find it.
sound_server_start() {
  if ! command -v pulseaudio >/dev/null 2>&1; then
    echo "services: pulseaudio is not installed; the real-sound tests will skip" >&2
    return 0
  fi
  export XDG_RUNTIME_DIR="$quor_services_dir/runtime"
  export PULSE_RUNTIME_PATH="$XDG_RUNTIME_DIR/pulse"
  export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"
  export PULSE_SINK=quor_null
  export PULSE_SOURCE=quor_null.monitor
  mkdir -p "$PULSE_RUNTIME_PATH" && chmod 700 "$XDG_RUNTIME_DIR" "$PULSE_RUNTIME_PATH"
  # ALSA reads its usual configuration first and ours last, which makes the server the default.
  cat >"$quor_services_dir/asound.conf" <<'CONF'
pcm.!default { type pulse }
ctl.!default { type pulse }
CONF
  export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$quor_services_dir/asound.conf"
  if pactl info >/dev/null 2>&1; then
    return 0
  fi
  # As root the daemon needs --system=false to run as a per-user server; the client config
  # keeps it from being started a second time behind our back.
  printf 'autospawn = no\n' >"$quor_services_dir/client.conf"
  export PULSE_CLIENTCONFIG="$quor_services_dir/client.conf"
  # A daemon that was killed a moment ago can leave its lock behind for a short while.
  for _ in 1 2 3 4 5; do
    pulseaudio --daemonize=yes --system=false --exit-idle-time=-1 -n \
      --use-pid-file=yes --disallow-exit=no \
      --load=module-native-protocol-unix \
      --load="module-null-sink sink_name=quor_null rate=48000" \
      --log-target="file:$quor_services_dir/pulseaudio.log" \
      2>>"$quor_services_dir/pulseaudio.err" && break
    sleep 0.5
  done
  for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
  done
  if ! pactl info >/dev/null 2>&1; then
    echo "services: pulseaudio did not start (see $quor_services_dir/pulseaudio.*)" >&2
    return 0
  fi
  pactl set-default-sink quor_null >/dev/null 2>&1 || true
  pactl set-default-source quor_null.monitor >/dev/null 2>&1 || true
  pactl set-sink-volume quor_null 100% >/dev/null 2>&1 || true
}

sound_server_stop() {
  [ -n "${PULSE_RUNTIME_PATH:-}" ] || return 0
  local pid
  pid=$(cat "$PULSE_RUNTIME_PATH/pid" 2>/dev/null || true)
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 30); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
  fi
  return 0
}
