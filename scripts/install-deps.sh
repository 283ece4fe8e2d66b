#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, run and test.
# Quick when everything is already there: apt-get runs only for missing packages.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev libfontconfig-dev zlib1g-dev
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick
  fonts-ipafont-gothic
  shared-mime-info desktop-file-utils libglib2.0-bin xdg-utils appstream
  clang libclang-rt-14-dev clang-format
  dpkg-dev file librsvg2-bin man-db
  lintian devscripts weston qt6-wayland
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq -o DPkg::Lock::Timeout=300
  $SUDO apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=300 "${missing[@]}"
fi
