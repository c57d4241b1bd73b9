#!/usr/bin/env bash
# Sourced by scripts that open the program's window: a private virtual display of their own.

# private_display_start WORK_DIR: starts Xvfb on a free display number (Xvfb picks it and
# tells it through a descriptor), appends its pid to the caller's `pids` array for the
# caller's cleanup, and exports DISPLAY. Fails with Xvfb's log when it does not come up.
private_display_start() {
  local work=$1
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  [ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; return 1; }
  export DISPLAY=":$(head -n1 "$work/display")"
}

# private_session_start: a private display in a work folder of its own ($work), where the
# program keeps its settings instead of the user's. On exit the folder goes, and with it every
# process whose pid the caller appends to the `pids` array. The program starts without the
# pauses of its splash, unless the caller sets QUOR_SKIP_SPLASH_WAITS=0.
private_session_start() {
  work=$(mktemp -d)
  export XDG_CONFIG_HOME="$work/config"
  export QUOR_SKIP_SPLASH_WAITS=${QUOR_SKIP_SPLASH_WAITS:-1}
  pids=()
  trap private_session_stop EXIT
  private_display_start "$work"
}

private_session_stop() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}

# program_window_start PROGRAM [ARGUMENTS...]: starts the program in the background, its output
# in $work/program.log, waits for its main window and gives it the focus; sets `program_pid`
# and `window`.
program_window_start() {
  "$@" >"$work/program.log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
  window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Quor Generator' | head -n1) || {
    echo "the window did not appear"; cat "$work/program.log"; return 1; }
  xdotool windowfocus --sync "$window"
  sleep 0.5
}

# program_file_dialog KEYS TITLE NAME: opens a file dialog of the program's window with KEYS,
# types NAME into it and confirms; fails with a message when the dialog does not appear or
# does not close. The dialogs open in the program's working folder. A busy machine may let keys
# reach a dialog before it takes them: the name is typed again, over what arrived, until the
# dialog closes.
program_file_dialog() {
  # Without a window manager, a closed dialog hands the focus back to nobody.
  xdotool windowfocus --sync "$window"
  xdotool key --window "$window" --clearmodifiers "$1"
  local found attempt
  found=$(timeout 30 xdotool search --sync --onlyvisible --name "^$2\$" | head -n1) || {
    echo "the dialog \"$2\" did not appear"; return 1; }
  for attempt in 1 2 3; do
    xdotool windowfocus --sync "$found"
    sleep 0.5
    xdotool key ctrl+a
    xdotool type --delay 40 "$3"
    # The name's completion pops up a moment after the typing; Return then takes both.
    sleep 0.5
    xdotool key Return
    for _ in $(seq 100); do
      xdotool search --name "^$2\$" >/dev/null 2>&1 || return 0
      sleep 0.1
    done
  done
  echo "the dialog \"$2\" did not close"
  return 1
}
