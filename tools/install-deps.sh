#!/bin/bash
# Installs what building and testing need on Debian 12, as root. Idempotent: installs only
# the packages that are missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev libbenchmark-dev googletest
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine32:i386 wine64 xvfb xauth xdotool imagemagick librsvg2-bin fonts-wqy-microhei
  python3 nsis
  fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
