#!/usr/bin/env bash
# Installs the Debian 12 packages that building and running the program need ("run", the
# default), or those and everything the tests, benchmarks, fuzzing and packaging checks need
# ("test"). Quick when everything is already there: apt is only called for missing packages.
# Usage: scripts/setup.sh [run|test]
set -euo pipefail
set_name=${1:-run}

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-qpa-plugins qt6-translations-l10n
  libpng-dev zlib1g-dev
  libfluidsynth-dev fluidsynth timgm6mb-soundfont
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev
  fonts-ipafont-gothic unifont
)

test_packages=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb x11-apps xdotool imagemagick netpbm
  clang libclang-rt-14-dev
  desktop-file-utils appstream dpkg-dev librsvg2-bin
)

case "$set_name" in
  run) ;;
  test) packages+=("${test_packages[@]}") ;;
  *) echo "setup: 引数は run か test です: $set_name" >&2; exit 2 ;;
esac

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
  echo "setup: 次のパッケージが無く、インストールには root が必要です: ${missing[*]}" >&2
  exit 1
fi

echo "setup: インストールします: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
