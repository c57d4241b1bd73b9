#!/usr/bin/env bash
# The Debian package as `./quor package` builds it: its dependencies come from the programs'
# libraries, and unpacked into a temporary root its programs run: quorgen renders, the window
# finds its help.
#   debian_package.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/installed_checks.sh"
source "$here/../../scripts/private_display.sh"
installed_checks_begin cpack dpkg-deb dpkg-shlibdeps soxi Xvfb xdotool

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
package=$(echo "$work"/package/quor-generator_*.deb)
[ -f "$package" ] || { cat "$work/cpack.log"; fail "cpack made no quor-generator_*.deb"; }
[ "$(dpkg-deb -f "$package" Version)" = "$version-1" ] ||
  fail "the package's version is $(dpkg-deb -f "$package" Version), not $version-1"
depends=$(dpkg-deb -f "$package" Depends)
for library in libc6 libqt6widgets6 libqt6dbus6 libportaudio2 libsndfile1; do
  grep -qE "(^|, )$library( |,|$)" <<<"$depends" || fail "the package does not depend on $library: $depends"
done
echo "ok: $(basename "$package") depends on $depends"

dpkg -x "$package" "$work/root"
check_quorgen "$work/root/usr" "$version"
private_display_start "$work" || exit 1
check_window_help "$work/root/usr/bin/quor-generator"
