#!/usr/bin/env bash
# Tests scripts/build.sh with a recording stand-in for cmake in a scratch copy of the tree's layout: configured
# once, configured again when the build type or the toolchain changes (a new toolchain in a fresh cache),
# ORV_JOBS passed to the builds.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/top/scripts" "$work/top/cmake" "$work/bin"
cp "$here/../build.sh" "$work/top/scripts/"
touch "$work/top/cmake/native-clang.cmake" "$work/top/cmake/mingw-i686.cmake" "$work/top/cmake/other.cmake"
log="$work/cmake.log"
cat >"$work/bin/cmake" <<'FAKE'
#!/usr/bin/env bash
# Records its arguments; a configure writes the cache entries build.sh reads, as CMake does.
echo "$*" >>"$FAKE_CMAKE_LOG"
[ "$1" = --build ] && exit 0
while [ $# -gt 0 ]; do
  case "$1" in
    -B) dir="$2"; shift ;;
    -G) gen="$2"; shift ;;
    -DCMAKE_BUILD_TYPE=*) type="${1#*=}" ;;
    -DCMAKE_TOOLCHAIN_FILE=*) chain="${1#*=}" ;;
  esac
  shift
done
mkdir -p "$dir/CMakeFiles"
[ -f "$dir/CMakeCache.txt" ] || echo "fresh" >"$dir/CMakeFiles/made"
printf 'CMAKE_BUILD_TYPE:STRING=%s\nCMAKE_TOOLCHAIN_FILE:FILEPATH=%s\nCMAKE_GENERATOR:INTERNAL=%s\n' \
  "$type" "$chain" "$gen" >"$dir/CMakeCache.txt"
touch "$dir/build.ninja"
FAKE
chmod +x "$work/bin/cmake"
export PATH="$work/bin:$PATH" FAKE_CMAKE_LOG="$log"
unset ORV_BUILD_TYPE ORV_JOBS
failures=0
run() { : >"$log"; bash "$work/top/scripts/build.sh" >/dev/null; }
expect() {  # description, pattern, wanted count of matching cmake calls
  local got; got="$(grep -c -- "$2" "$log" || true)"
  if [ "$got" != "$3" ]; then echo "FAIL: $1: $got calls match '$2', wanted $3"; sed 's/^/  /' "$log"; failures=$((failures + 1)); fi
}
build="$work/top/build"

run
expect "first run configures both trees" "-DCMAKE_BUILD_TYPE=RelWithDebInfo" 2
expect "first run builds both trees" "^--build" 2
run
expect "an unchanged tree is not configured again" "^-S" 0
expect "an unchanged tree is built" "^--build" 2
ORV_BUILD_TYPE=Debug run
expect "a new build type configures both trees" "-DCMAKE_BUILD_TYPE=Debug" 2
ORV_BUILD_TYPE=Debug run
expect "the new build type is kept" "^-S" 0
ORV_BUILD_TYPE=Debug ORV_JOBS=3 run
expect "ORV_JOBS reaches the builds" "^--build .* -j 3" 2

# The Win32 tree configured by hand with another toolchain: configured afresh, the native tree left alone.
sed -i "s|^CMAKE_TOOLCHAIN_FILE:FILEPATH=.*|CMAKE_TOOLCHAIN_FILE:FILEPATH=$work/top/cmake/other.cmake|" "$build/win32/CMakeCache.txt"
rm -f "$build/win32/CMakeFiles/made"
ORV_BUILD_TYPE=Debug run
expect "a changed toolchain configures that tree" "-B $build/win32 .*mingw-i686.cmake" 1
expect "the other tree stays" "-B $build/native" 0
[ -f "$build/win32/CMakeFiles/made" ] || { echo "FAIL: the tree with another toolchain did not get a fresh cache"; failures=$((failures + 1)); }

# The same toolchain named relative to the source tree (as a hand configure may do) is not a change.
sed -i "s|^CMAKE_TOOLCHAIN_FILE:FILEPATH=.*|CMAKE_TOOLCHAIN_FILE:FILEPATH=cmake/native-clang.cmake|" "$build/native/CMakeCache.txt"
ORV_BUILD_TYPE=Debug run
expect "a relative name of the same toolchain is no change" "^-S" 0

[ "$failures" = 0 ] && echo "build.sh: all checks passed"
exit "$failures"
