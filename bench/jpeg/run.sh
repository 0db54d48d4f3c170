#!/bin/sh
# Builds and runs the JPEG benchmark: our codec against libjpeg-turbo on generated photo-like q90 JPEGs.
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build/bench-jpeg}
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
exec "$build/jpeg_bench" "$work/photo-4000x3000.jpg" "$work/photo-1600x1200.jpg"
