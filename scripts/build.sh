#!/usr/bin/env bash
# Configures and builds both trees: the Win32 product in build/win32, the native sanitizer build of the portable
# core in build/native. Incremental; a tree is configured again when its build type (ORV_BUILD_TYPE) or its
# toolchain differs from what it was configured with. ORV_JOBS sets the parallel jobs (README, "Variables").
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
jobs="${ORV_JOBS:-$(nproc)}"
build_type="${ORV_BUILD_TYPE:-RelWithDebInfo}"
generator=Ninja

cached() {  # dir variable: the value the tree's CMake cache holds, empty when none
  sed -n "s/^$2:[A-Z]*=//p" "$1/CMakeCache.txt" 2>/dev/null | head -n 1
}

# The toolchain file a tree was configured with, as an absolute path (CMake takes a relative one from the
# build tree, else from the source tree).
cached_toolchain() {  # dir
  local file; file="$(cached "$1" CMAKE_TOOLCHAIN_FILE)"
  case "$file" in
    ""|/*) ;;
    *) if [ -f "$1/$file" ]; then file="$1/$file"; else file="$top/$file"; fi ;;
  esac
  [ -n "$file" ] && realpath -m "$file"
  return 0
}

configure() {  # dir toolchain
  local dir="$1" toolchain; toolchain="$(realpath -m "$top/cmake/$2")"
  if [ -f "$dir/CMakeCache.txt" ]; then
    if [ "$(cached_toolchain "$dir")" != "$toolchain" ] || [ "$(cached "$dir" CMAKE_GENERATOR)" != "$generator" ]; then
      # Compilers and generator are fixed in a cache; only a fresh one takes others. The tree's test
      # environment (testenv/, the Wine prefix) stays.
      rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
    elif [ -f "$dir/build.ninja" ] && [ "$(cached "$dir" CMAKE_BUILD_TYPE)" = "$build_type" ]; then
      return 0
    fi
  fi
  cmake -S "$top" -B "$dir" -G "$generator" -DCMAKE_BUILD_TYPE="$build_type" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
}

mkdir -p "$top/build"
configure "$top/build/native" native-clang.cmake
configure "$top/build/win32" mingw-i686.cmake
cmake --build "$top/build/native" -j "$jobs"
cmake --build "$top/build/win32" -j "$jobs"
