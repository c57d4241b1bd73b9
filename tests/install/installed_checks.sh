#!/usr/bin/env bash
# Sourced by the tests of an installed Quor Generator (cmake --install, the Debian package).
# Each check takes the installation's root, the folder with bin/ and share/, and ends the test
# with a message when something is wrong.

fail() { echo "FAILED: $*" >&2; exit 1; }

# installed_checks_begin: a work folder ($work) removed at exit with every process listed in
# `pids`, and the tools the checks need.
installed_checks_begin() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is not installed (scripts/setup.sh installs it)"
  done
  work=$(mktemp -d)
  pids=()
  trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$work"' EXIT
}

# check_quorgen ROOT VERSION: says its version and renders the window's first-start tone,
# eight buffers of 8192 samples at 22050 samples per second.
check_quorgen() {
  local root=$1 version=$2 said
  said=$("$root/bin/quorgen" --version) || fail "quorgen --version failed"
  [ "$said" = "quorgen (Quor Generator) $version" ] || fail "quorgen --version says '$said'"
  "$root/bin/quorgen" render -o "$work/tone.wav" >/dev/null || fail "quorgen render failed"
  [ "$(soxi -s "$work/tone.wav")" = 65536 ] && [ "$(soxi -r "$work/tone.wav")" = 22050 ] ||
    fail "quorgen render wrote $(soxi "$work/tone.wav")"
  echo "ok: $root/bin/quorgen says its version and renders the default tone"
}

# check_window_help PROGRAM: the window opens on the private display and F1 brings up help
# topic 1, which the help window's title names. Needs private_display_start first.
check_window_help() {
  local program=$1 pid window
  XDG_CONFIG_HOME="$work/config" "$program" >"$work/window.log" 2>&1 &
  pid=$!
  pids+=("$pid")
  window=$(timeout 10 xdotool search --all --sync --onlyvisible --pid "$pid" --name '^Quor Generator' |
    head -n1) || { cat "$work/window.log"; fail "the window of $program did not appear"; }
  xdotool windowfocus --sync "$window"
  xdotool key --window "$window" --clearmodifiers F1
  timeout 10 xdotool search --all --sync --onlyvisible --pid "$pid" \
    --name '^Quor Generator Help: Quor Generator($| )' >/dev/null || {
    cat "$work/window.log"
    fail "F1 in $program did not show help topic 1 (help windows:" \
      "$(xdotool search --all --pid "$pid" --name 'Help' getwindowname %@ 2>/dev/null))"
  }
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "ok: $program finds its help, F1 shows topic 1"
}

# check_desktop_files ROOT: every desktop entry validates and starts a program of ROOT, with
# an icon of ROOT; the software centre's record validates.
check_desktop_files() {
  local root=$1 entry program icon
  for entry in "$root"/share/applications/*.desktop; do
    desktop-file-validate "$entry" || fail "$entry does not validate"
    program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [ -x "$root/bin/$program" ] || fail "$entry starts '$program', which is not in $root/bin"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ -f "$root/share/icons/hicolor/scalable/apps/$icon.svg" ] &&
      [ -f "$root/share/icons/hicolor/48x48/apps/$icon.png" ] ||
      fail "$entry shows the icon '$icon', which is not in $root/share/icons/hicolor"
  done
  appstreamcli validate --no-net "$root"/share/metainfo/*.metainfo.xml >"$work/appstream.log" ||
    { cat "$work/appstream.log"; fail "the metainfo file does not validate"; }
  echo "ok: the desktop entries and the metainfo validate and name what $root holds"
}

# check_file_types ROOT: with only ROOT's data known to the desktop, a .qvp and a .qvs file
# are recognised as ours, and the program's entry is the one to open them.
check_file_types() {
  local root=$1 file type expected entry
  desktop_only "$root" update-mime-database "$root/share/mime" || fail "update-mime-database failed"
  update-desktop-database "$root/share/applications" || fail "update-desktop-database failed"
  printf 'Memory 1\r\n' >"$work/presets.qvp"
  printf 'end\r\n' >"$work/tones.qvs"
  for file in presets.qvp:application/x-quor-tone-presets tones.qvs:application/x-quor-tone-script; do
    expected=${file#*:}
    file=$work/${file%%:*}
    type=$(desktop_only "$root" xdg-mime query filetype "$file") || fail "xdg-mime failed"
    [ "$type" = "$expected" ] || fail "xdg-mime says $file is '$type', not $expected"
    entry=$(desktop_only "$root" xdg-mime query default "$expected")
    [ -f "$root/share/applications/$entry" ] && grep -q '^Exec=quor-generator ' \
      "$root/share/applications/$entry" || fail "$expected opens with '$entry'"
  done
  echo "ok: xdg-mime knows .qvp and .qvs as ours and opens them with quor-generator"
}

# desktop_only ROOT COMMAND...: runs COMMAND as on a desktop that knows only ROOT's data.
desktop_only() {
  local root=$1
  shift
  env -u DISPLAY -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION XDG_DATA_HOME="$work/no-data" \
    XDG_CONFIG_HOME="$work/no-config" XDG_CONFIG_DIRS="$work/no-config" \
    XDG_DATA_DIRS="$root/share" "$@"
}

# check_manual_pages ROOT: each program's page formats without a warning and lists its
# options.
check_manual_pages() {
  local root=$1 page text
  for page in quor-generator:--version quorgen:--freq Quor_ScriptEditor:--version; do
    text=$(MANPAGER=cat MANWIDTH=80 man --warnings -l "$root/share/man/man1/${page%%:*}.1.gz" \
      2>"$work/man.log") || fail "man -l cannot show ${page%%:*}.1.gz"
    [ ! -s "$work/man.log" ] || { cat "$work/man.log"; fail "${page%%:*}.1.gz has faults"; }
    grep -q -- "${page#*:}" <<<"$text" || fail "${page%%:*}.1.gz does not mention ${page#*:}"
  done
  echo "ok: the manual pages show the options"
}
