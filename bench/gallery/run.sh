#!/bin/sh
# Benchmark of the Gallery's folder opening: COUNT (default 200) photo-like 4000 x 3000 q90 JPEGs without embedded
# thumbnails, and the same photos with 160 x 120 EXIF thumbnails, made by our sample generator; each folder is
# opened in the slide table by gallery_bench.exe (the product's i686 build hosting the Gallery component under
# Wine): first screen, all thumbnails (cold, its cache file removed), CPU, and the reopening from the cache file
# (warm). The peer is vipsthumbnail making 112-pixel thumbnails of the same files in one process, one thread.
# Last line: gallery ratios: cold=R exif=R warm=R.
# Usage: bench/gallery/run.sh   (COUNT=N in the environment for fewer photos; ORV_BENCH_WIN32=DIR to time an
# existing Win32 tree of the suite instead of the benchmark's own Release tree)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$root/build/bench-gallery                         # the photos and the peer's output
win32=${ORV_BENCH_WIN32:-$root/build/bench-gallery-win32}  # the product's Win32 tree, Release (-O2)
count=${COUNT:-200}
pause_ms=10   # the loader's pause after each file

bash "$root/scripts/setup.sh"
. "$here/../packages.sh"
bench_need libvips-tools

if [ -z "${ORV_BENCH_WIN32:-}" ]; then
  cmake -S "$root" -B "$win32" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
fi
servers=$(sed -n 's|.*/\([^/]*\)\.dll$|\1|p' "$win32/testenv/servers.txt")
cmake --build "$win32" --target gallery_bench samplegen $servers -j2 | grep -E "error|warning" || true
"$root/scripts/testenv.sh" up "$win32/testenv" >/dev/null
trap '"$root/scripts/testenv.sh" down "$win32/testenv"' EXIT
run() { (cd "$win32/bin" && ORV_TESTENV="$win32/testenv" "$root/scripts/wine-run.sh" "$@"); }
win() { echo "Z:$1" | tr / '\\'; }

# The photos are made once per count and kept.
for kind in plain exif; do
  dir=$build/$kind-$count
  if [ "$(ls "$dir" 2>/dev/null | grep -c '\.jpg$')" != "$count" ]; then
    rm -rf "$dir"
    mkdir -p "$dir"
    flag=""
    [ $kind = exif ] && flag=--exif
    echo "bench: making $count $kind photos"
    run ./samplegen.exe "$(win "$dir")" --photos "$count" $flag >/dev/null
  fi
done

echo "load before: $(cat /proc/loadavg)"
ours=$(run ./gallery_bench.exe "$(win "$build/plain-$count")" "$(win "$build/exif-$count")")
printf '%s\n' "$ours"
# vipsthumbnail over all files of a folder in one process, one thread; ms.
vips() {
  out=$build/vips-out
  rm -rf "$out"
  mkdir -p "$out"
  s=$(date +%s%N)
  VIPS_CONCURRENCY=1 vipsthumbnail --size 112 -o "$out/%s.jpg" "$1"/*.jpg
  e=$(date +%s%N)
  echo $(( (e - s) / 1000000 ))
}
vips_plain=$(vips "$build/plain-$count")
vips_exif=$(vips "$build/exif-$count")
echo "load after:  $(cat /proc/loadavg)"

field() { printf '%s\n' "$ours" | sed -n "$1p" | tr ' ' '\n' | sed -n "s/^$2=//p"; }
calc() { awk "BEGIN { printf \"%.2f\", $1 }"; }
echo "$count photos 4000x3000 q90 per folder; ours: gallery_bench.exe under Wine (i686), one loader thread;"
echo "vips: vipsthumbnail $(vipsthumbnail --version | head -n 1 | cut -d' ' -f1-2) --size 112, one process, VIPS_CONCURRENCY=1"
for n in 1 2; do
  kind=$([ $n = 1 ] && echo plain || echo exif)
  cold=$(field $n cold_ms); cpu=$(field $n cpu_ms); first=$(field $n first_ms); warm=$(field $n warm_ms)
  save=$(field $n save_ms); photos=$(field $n photos)
  pause=$((photos * pause_ms))
  printf '%-5s cold %s ms (%s ms/photo; without the %s ms pause per file %s ms/photo), CPU %s ms/photo, first screen %s ms, cache written in %s ms, warm %s ms\n' \
    "$kind" "$cold" "$(calc "$cold / $photos")" "$pause_ms" "$(calc "($cold - $pause) / $photos")" \
    "$(calc "$cpu / $photos")" "$first" "$save" "$warm"
done
printf 'vips  plain %s ms (%s ms/photo), exif folder %s ms (%s ms/photo)\n' "$vips_plain" "$(calc "$vips_plain / $count")" \
  "$vips_exif" "$(calc "$vips_exif / $count")"
# Ours per photo without the loader's pause, over vips per photo; cold over warm.
cold_pp=$(calc "($(field 1 cold_ms) - $count * $pause_ms) / $count")
exif_pp=$(calc "($(field 2 cold_ms) - $count * $pause_ms) / $count")
echo "gallery ratios: cold=$(calc "$cold_pp / ($vips_plain / $count)") exif=$(calc "$exif_pp / ($vips_exif / $count)") warm=$(calc "$(field 1 cold_ms) / $(field 1 warm_ms)")"
