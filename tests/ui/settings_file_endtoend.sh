#!/usr/bin/env bash
# The real program and Qt's real file dialogs under a private virtual display: a hand-edited
# tone settings file named on the command line is loaded at start, Ctrl+S saves it under a
# name typed without extension, Ctrl+L loads another file through the open dialog, and the
# saves hold exactly what was loaded, in the program's own form. Keeps a screenshot of the
# window with the loaded preset names.
#   settings_file_endtoend.sh PROGRAM ARTIFACT_DIR
set -euo pipefail
program=$1
artifacts=$2
skip() { echo "SKIPPED: $*"; exit 77; }

for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/setup.sh installs it)"
done

# shellcheck source=../../scripts/private_display.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/private_display.sh"
private_session_start || exit 1

# block NAME FREQ LOOP LOGARITHMIC: one preset of a file, with LF line ends as an editor
# may leave them.
block() { printf '%s\n%s\n100\n10000\nconstant\n3\n100\n1\n%s\n%s\n0\n50\n' "$@"; }
{ block Bass 55 true 0; block Treble 8000 1 FALSE; block Three 1000 True True
  block Four 1000 True True; } >"$work/hand.qvp"
{ block One 100 True True; block Two 200 True True; block Three 300 True True
  block "Caf$(printf '\xe9')" 400 False False; } >"$work/other.qvp"
# What the program writes for them: CR LF line ends, "True" and "False".
normalised() {
  LC_ALL=C awk '{ line = (NR - 1) % 12 + 1
    if (line == 9 || line == 10) $0 = (tolower($0) == "true" || $0 + 0 != 0) ? "True" : "False"
    printf "%s\r\n", $0 }' "$1"
}

cd "$work"
program_window_start "$program" "$work/hand.qvp" || exit 1

# Under load a step can take seconds (a save waits until the file is on the disk): the waits
# are long, and a failure leaves a screenshot of what the screen showed.
failed() {
  echo "$*"; import -window root "$artifacts/settings-file-failed.png" || true
  ls -la "$work"; cat "$work/program.log"; exit 1
}

dialog() { program_file_dialog "$@" || failed "the dialog \"$2\" did not take the name"; }
wait_for() { for _ in $(seq 300); do [ -s "$1" ] && return 0; sleep 0.1; done; failed "no $1"; }

import -window root "$artifacts/settings-file-loaded.png"
dialog ctrl+s "Save Tone Settings As" copy
wait_for "$work/copy.qvp"
cmp <(normalised "$work/hand.qvp") "$work/copy.qvp" ||
  failed "the file loaded from the command line did not save back as it was"
echo "command-line file saved back through the save dialog, \".qvp\" added"

dialog ctrl+l "Load Tone Settings" other.qvp
dialog ctrl+s "Save Tone Settings As" again.qvp
wait_for "$work/again.qvp"
cmp <(normalised "$work/other.qvp") "$work/again.qvp" ||
  failed "the file loaded through the open dialog did not save back as it was"
echo "file loaded through the open dialog saved back unchanged"

xdotool windowfocus --sync "$window"
xdotool key --window "$window" --clearmodifiers ctrl+x 2>/dev/null || true
for _ in $(seq 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$program_pid" 2>/dev/null; then echo "Ctrl+X did not close the program"; exit 1; fi
wait "$program_pid"
echo "screenshot in $artifacts/settings-file-loaded.png"
