#!/usr/bin/env bash
# Installs every Debian 12 package that building, testing and running the program need.
# Quick when everything is already there: apt is only called for missing packages.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-qpa-plugins
  libpng-dev zlib1g-dev
  libfluidsynth-dev fluidsynth timgm6mb-soundfont
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic
  xvfb x11-apps imagemagick netpbm xdotool
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
