#!/usr/bin/env bash
# Installs, idempotently, every Debian package the build, the tests and the run need.
set -euo pipefail

# Packages for the 32-bit Windows cross build, the Wine run time, the displays, the native test build and the
# installer (nsis).
PACKAGES=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-tools mingw-w64-i686-dev
  libz-mingw-w64-dev libwine-dev:i386
  wine wine32:i386 fonts-wine
  xvfb xauth x11-apps imagemagick
  cmake ninja-build clang libclang-rt-14-dev googletest
  libjpeg-turbo-progs libjpeg-dev
  ffmpeg zlib1g-dev
  nsis
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
echo "setup: installing ${missing[*]}"
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
