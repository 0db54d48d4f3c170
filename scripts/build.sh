#!/usr/bin/env bash
# Configures (once) and builds both trees: the Win32 product in build/win32, the native sanitizer
# build of the portable core in build/native. Incremental on later runs.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
jobs="${ORV_JOBS:-$(nproc)}"
configure() {  # dir toolchain
  [ -f "$1/build.ninja" ] && return 0
  cmake -S "$top" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE="${ORV_BUILD_TYPE:-RelWithDebInfo}" \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$2" >"$1.configure.log" 2>&1 \
    || { cat "$1.configure.log"; exit 1; }
}
mkdir -p "$top/build"
configure "$top/build/native" native-clang.cmake
configure "$top/build/win32" mingw-i686.cmake
cmake --build "$top/build/native" -j "$jobs"
cmake --build "$top/build/win32" -j "$jobs"
