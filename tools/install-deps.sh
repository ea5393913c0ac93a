#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and its tests need.
# Only what is missing is installed, so a machine that has everything is left as it is.
set -euo pipefail
pkgs=(
  cmake ninja-build g++ qt6-base-dev libqt6sql6-sqlite qt6-multimedia-dev libx11-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-pulseaudio
  pulseaudio pulseaudio-utils espeak-ng sox
  cups printer-driver-cups-pdf poppler-utils fonts-liberation2 fonts-dejavu-core
  libsane-dev sane-utils sqlite3 qt6-image-formats-plugins qt6-pdf-dev
  dpkg-dev fakeroot lintian desktop-file-utils appstream librsvg2-bin
  clang libclang-rt-14-dev clang-format clang-tidy libbenchmark-dev
  xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick procps
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
