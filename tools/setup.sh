#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need, when any is missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  fonts-ipafont-gothic fonts-ipafont-mincho
  nlohmann-json3-dev libgtest-dev libbenchmark-dev
  clang libclang-rt-dev clang-format
  xvfb xauth xdotool desktop-file-utils
  python3 abcmidi fluidsynth fluid-soundfont-gm vorbis-tools sox
  qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-pulseaudio
  pulseaudio pulseaudio-utils
  at-spi2-core python3-pyatspi dbus python3-dbus
)
# The Debian package's makers and checkers (dpkg-shlibdeps, lintian, appstreamcli,
# hardening-check), without what they only recommend.
package_tools=(dpkg-dev lintian appstream devscripts)
missing=()
missing_tools=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
for p in "${package_tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing_tools+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ ${#missing_tools[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]} ${missing_tools[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  if [ ${#missing[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
  fi
  if [ ${#missing_tools[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
      "${missing_tools[@]}"
  fi
fi
