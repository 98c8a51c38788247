#!/usr/bin/env bash
# Builds the Debian package and tries it on a fresh Debian 12: installs it with apt into a
# bookworm chroot (made with debootstrap on first use), runs every program with --version,
# then purges it and checks that none of its files is left. Needs root and Debian's mirror.
# Usage: scripts/deb-check.sh [CHROOT_DIR]   (default /tmp/vwrd-bookworm)
set -euo pipefail
cd "$(dirname "$0")/.."
root=${1:-/tmp/vwrd-bookworm}
mirror=${MIRROR:-http://deb.debian.org/debian}
bash scripts/build.sh
(cd out && cpack -G DEB >/dev/null)
deb=$(ls -t out/varnel-wrd-maker_*.deb | head -n 1)
if [ ! -x "$root/usr/bin/apt-get" ]; then
  command -v debootstrap >/dev/null || apt-get install -y -q debootstrap
  debootstrap --variant=minbase bookworm "$root" "$mirror"
fi
mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
trap 'umount "$root/proc"' EXIT
cp "$deb" "$root/tmp/package.deb"
in_root() { chroot "$root" env DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 "$@"; }
log=$(mktemp)
# apt's output only when a step fails.
quiet() { "$@" >"$log" 2>&1 || { cat "$log" >&2; return 1; }; }
quiet in_root apt-get update -q
quiet in_root apt-get install -y -q /tmp/package.deb
files=$(in_root dpkg -L varnel-wrd-maker)
for program in $(printf '%s\n' "$files" | grep '^/usr/bin/'); do
  in_root "$program" --version
done
quiet in_root apt-get purge -y -q varnel-wrd-maker
quiet in_root apt-get autoremove --purge -y -q
left=0
for f in $files; do
  if [ -f "$root$f" ]; then echo "deb-check: 削除後も残っています: $f" >&2; left=1; fi
done
rm -f "$root/tmp/package.deb" "$log"
[ $left -eq 0 ] && echo "deb-check: $deb はインストール、実行、削除ともに正常です"
exit $left
