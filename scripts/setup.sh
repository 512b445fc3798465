#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Phrasora
# needs. Safe to run again: when everything is present it does nothing.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ ccache pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6svg6-dev
  libpugixml-dev
  libx11-dev libxtst-dev libxkbcommon-dev libxkbcommon-x11-dev libxcb1-dev libxcb-xtest0-dev libxcb-xkb-dev
  # tests, benchmarks and fuzzing
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev
  libxml2-utils python3
  # a real desktop for the GUI tests
  xvfb xauth openbox tint2 xterm xdotool x11-xkb-utils xclip imagemagick
  fonts-dejavu-core
  # the desktop's URL and mail hand-off (xdg-open, xdg-email)
  xdg-utils
  # LibreOffice reads the RTF the engine writes (tests/richtext)
  libreoffice-writer-nogui
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
else
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
