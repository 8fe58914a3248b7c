#!/bin/bash
# Installs what building and testing need on Debian 12, as root. Idempotent: installs only
# the packages that are missing.
#
# A package mirror in the middle of a sync serves index files of the wrong size, and 32-bit
# Wine's i386 libraries may not match the amd64 ones yet: the index is fetched again a few
# times, a failed index is not the end while packages can still be installed, and without
# 32-bit Wine everything else is installed (the commands then use the 64-bit tree).
set -uo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev libbenchmark-dev googletest
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 xvfb xauth xdotool imagemagick librsvg2-bin fonts-wqy-microhei
  python3 nsis
  fonts-dejavu-core
)
# Wanted, not needed: without it the Windows tests and the run command use the 64-bit build.
optional=(wine32:i386)

update_tries=${NORVI_APT_UPDATE_TRIES:-4}
update_pause=${NORVI_APT_UPDATE_PAUSE:-10}

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing() {
  local p
  for p in "$@"; do installed "$p" || echo "$p"; done
}

# A failed 32-bit Wine is not tried again for a day, so every command does not wait on it.
marker=${NORVI_DEPS_MARKER:-${XDG_CACHE_HOME:-$HOME/.cache}/norvi/wine32-unavailable}

mapfile -t needed < <(missing "${packages[@]}")
wanted=()
if [ -z "$(find "$marker" -mmin -1440 2>/dev/null)" ]; then
  mapfile -t wanted < <(missing "${optional[@]}")
fi
[ ${#needed[@]} -eq 0 ] && [ ${#wanted[@]} -eq 0 ] && exit 0

echo "Installing: ${needed[*]} ${wanted[*]}"
if [ ${#wanted[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive

updated=0
for ((try = 1; try <= update_tries; try++)); do
  if apt-get update -qq; then
    updated=1
    break
  fi
  [ "$try" -lt "$update_tries" ] && echo "Package index incomplete (try $try of $update_tries); trying again in ${update_pause} s." && sleep "$update_pause"
done
[ $updated -eq 1 ] || echo "The package index could not be fetched whole; installing from what was fetched."

install() {
  apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

if ! install "${needed[@]}" "${wanted[@]}" && [ ${#wanted[@]} -gt 0 ]; then
  if install "${needed[@]}"; then
    echo "32-bit Wine could not be installed: the Windows tests and the program use the 64-bit build."
    mkdir -p "$(dirname "$marker")" && touch "$marker"
  fi
fi

mapfile -t still < <(missing "${packages[@]}")
if [ ${#still[@]} -gt 0 ]; then
  echo "Could not install: ${still[*]}" >&2
  exit 1
fi
exit 0
