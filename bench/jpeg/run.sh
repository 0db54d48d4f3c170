#!/bin/sh
# Builds and runs the JPEG benchmark: our codec against libjpeg-turbo on generated photo-like q90 JPEGs natively,
# then our i686 build under Wine (codec and the NXImageFile thumbnail path) on the same files.
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build/bench-jpeg}
win32=${WIN32_BUILD_DIR:-$root/build/bench-win32}
work=$build/images

missing=""
[ -f /usr/include/jpeglib.h ] || missing="$missing libjpeg-dev"
command -v djpeg >/dev/null && command -v cjpeg >/dev/null || missing="$missing libjpeg-turbo-progs"
command -v convert >/dev/null || missing="$missing imagemagick"
if [ -n "$missing" ]; then
  sudo=""
  [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo apt-get update
  $sudo apt-get install -y $missing
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_CXX_COMPILER="${CXX:-clang++}" >/dev/null
cmake --build "$build" --target jpeg_bench -j2 | grep -E "error|warning" || true

mkdir -p "$work"
for size in 4000x3000 1600x1200; do
  jpg="$work/photo-$size.jpg"
  if [ ! -f "$jpg" ]; then
    "$build/jpeg_bench" --generate "$work/photo-$size.ppm" "${size%x*}" "${size#*x}"
    cjpeg -quality 90 -outfile "$jpg" "$work/photo-$size.ppm"
    rm "$work/photo-$size.ppm"
  fi
done
files="$work/photo-4000x3000.jpg $work/photo-1600x1200.jpg"
native=$("$build/jpeg_bench" $files)
printf '%s\n' "$native" | sed '$d'

# The product's i686 build under Wine, same optimisation level, in a test prefix with the COM servers registered.
cmake -S "$root" -B "$win32" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
servers=$(sed -n 's|.*/\([^/]*\)\.dll$|\1|p' "$win32/testenv/servers.txt")
cmake --build "$win32" --target jpeg_bench_win32 $servers -j2 | grep -E "error|warning" || true
"$root/scripts/testenv.sh" up "$win32/testenv"
trap '"$root/scripts/testenv.sh" down "$win32/testenv"' EXIT
winfiles=""
for f in $files; do winfiles="$winfiles Z:$f"; done
(cd "$win32/bin" && ORV_TESTENV="$win32/testenv" "$root/scripts/wine-run.sh" ./jpeg_bench_win32.exe $winfiles)

printf '%s\n' "$native" | tail -n 1
