#!/usr/bin/env bash
# `cmake --install` into a temporary prefix, and the installed programs used from there: the
# window finds its help (as it does in the build folder), quorgen renders, the desktop files
# validate, the file types are known, the manual pages show.
#   installed_prefix.sh BUILD_DIR VERSION EDITOR_ENTRY
set -euo pipefail
build=$1
version=$2
editor_entry=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/installed_checks.sh"
source "$here/../../scripts/private_display.sh"
installed_checks_begin cmake soxi Xvfb xdotool desktop-file-validate appstreamcli \
  update-mime-database update-desktop-database xdg-mime mimetype man

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
  { cat "$work/install.log"; fail "cmake --install failed"; }
check_quorgen "$prefix" "$version"
check_desktop_files "$prefix"
# The script editor's entry is installed only with the editor; it must be valid before then.
desktop-file-validate "$editor_entry" || fail "$editor_entry does not validate"
check_file_types "$prefix"
check_manual_pages "$prefix"
private_display_start "$work" || exit 1
check_window_help "$prefix/bin/quor-generator"
check_window_help "$build/app/quor-generator"
