#!/usr/bin/env bash
# Installs, idempotently, every Debian package that Quor Generator needs to build, run and test.
# Skips what is installed; refreshes the package lists only when something is missing.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config clang-format
  # libraries
  qt6-base-dev qt6-base-dev-tools portaudio19-dev libsndfile1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # a sound server with ALSA routed to it, for real sound without a sound card
  pulseaudio pulseaudio-utils libasound2-plugins alsa-utils
  # a virtual display, screenshots and a session bus for the window's tests
  xvfb xauth x11-utils xdotool imagemagick fonts-dejavu-core fonts-dejavu-extra dbus
  # the reference tone generator the benchmarks compare with
  sox
  # installing: icon files, manual pages, the Debian package, and the checks of what they install
  qt6-svg-dev help2man dpkg-dev desktop-file-utils appstream shared-mime-info xdg-utils
  libfile-mimeinfo-perl man-db
  # the fuzzing harnesses: clang's libFuzzer and its sanitizer runtimes
  clang-14 libfuzzer-14-dev libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "setup: missing packages (${missing[*]}) and neither root nor sudo to install them" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
