#!/bin/sh
# Builds and runs the JPEG benchmark: our codec against libjpeg-turbo on generated photo-like q90 JPEGs, in one
# process with the runs interleaved, natively on x86-64 and on i686 (-m32 against Debian's i386 libjpeg-turbo);
# then the product's own i686 build under Wine (codec and the NXImageFile thumbnail path) on the same files.
# Usage: bench/jpeg/run.sh
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$root/build/bench-jpeg            # x86-64 harness and the pictures
build32=$root/build/bench-jpeg-i686     # i686 harness
win32=$root/build/bench-win32           # the product's Win32 tree, Release (-O2)
work=$build/images

bash "$root/scripts/setup.sh"
. "$here/../packages.sh"
bench_need libjpeg-dev libjpeg-turbo-progs g++-multilib libjpeg62-turbo-dev:i386

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_CXX_COMPILER="${CXX:-clang++}" >/dev/null
cmake --build "$build" --target jpeg_bench -j2 | grep -E "error|warning" || true
cmake -S "$here" -B "$build32" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_TOOLCHAIN_FILE="$here/i686-linux.cmake" >/dev/null
cmake --build "$build32" --target jpeg_bench -j2 | grep -E "error|warning" || true

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
echo "load before: $(cat /proc/loadavg)"
native=$("$build/jpeg_bench" --processes $files)
printf '%s\n' "$native" | sed '$d'
native32=$("$build32/jpeg_bench" $files)
printf '%s\n' "$native32" | sed '$d'

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
echo "load after:  $(cat /proc/loadavg)"

# "jpeg ratios ARCH: eighth=R full=R encode=R" from each harness, joined into one line.
ratios() { printf '%s\n' "$1" | tail -n 1 | sed 's/^jpeg ratios [^:]*: //'; }
echo "jpeg ratios: $(ratios "$native") i686: $(ratios "$native32")"
