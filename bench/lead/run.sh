#!/bin/sh
# Benchmark of the imaging toolkit against libvips, both in process on the same decoded 4000 x 3000 picture:
# resample to a 112 x 112 box and to 50 %, rotate by 90, PNG and TIFF save, and load of the same reference PNG
# and TIFF files. Ours runs in lead_bench.exe (the product's i686 build) under Wine, vips in vips_bench natively;
# rounds of the two alternate so that the machine's load hits both alike. ImageMagick's command lines are timed
# as whole processes for a second reference. Prints medians and, last, the ratios ours / vips (one thread).
# Usage: bench/lead/run.sh    (ROUNDS and RUNS in the environment change the 5 rounds of 3 runs)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$root/build/bench-lead          # vips harness, Wine prefix and scratch files
win32=$root/build/bench-lead-win32    # the product's Win32 build, Release (-O2), orvlead and lead_bench only
rounds=${ROUNDS:-5}
runs=${RUNS:-3}

bash "$root/scripts/setup.sh"
. "$here/../packages.sh"
bench_need libvips-dev pkg-config imagemagick

cmake -S "$here/vips" -B "$build/vips" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/vips" -j2 | grep -E "error|warning" || true
cmake -S "$root" -B "$win32" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$win32" --target lead_bench -j2 | grep -E "error|warning" || true
# A prefix of its own (no COM servers: the toolkit is a plain DLL).
"$root/scripts/testenv.sh" up "$build/testenv" >/dev/null
trap '"$root/scripts/testenv.sh" down "$build/testenv"' EXIT

work=$build/work
rm -rf "$work"
mkdir -p "$work"
cd "$work"
convert -size 4000x3000 gradient:'#3060d0-#f0a020' \( -size 4000x3000 xc: +noise Random -blur 0x3 \) \
  -compose overlay -composite -quality 90 input.jpg
convert input.jpg ref.png
convert input.jpg -compress none ref.tif
convert input.jpg input.mpc
echo "load before: $(cat /proc/loadavg)"

win=$(echo "Z:$work" | tr / '\\')
: > ours.txt
: > vips1.txt
: > vipsn.txt
i=0
while [ $i -lt "$rounds" ]; do
  ORV_TESTENV="$build/testenv" "$root/scripts/wine-run.sh" "$win32/bin/lead_bench.exe" "$win\\input.jpg" "$win" "$runs" \
    >> ours.txt
  VIPS_CONCURRENCY=1 "$build/vips/vips_bench" input.jpg "$work" "$runs" >> vips1.txt
  "$build/vips/vips_bench" input.jpg "$work" "$runs" >> vipsn.txt
  i=$((i + 1))
done
echo "load after:  $(cat /proc/loadavg)"

# Median of the runs of one operation in a timing file; "-" when the file has none.
med() { awk -v k="$1" '$1 == k { t[++n] = $2 } END {
  if (!n) { print "-"; exit }
  for (i = 2; i <= n; ++i) { v = t[i]; for (j = i - 1; j > 0 && t[j] > v; --j) t[j + 1] = t[j]; t[j + 1] = v }
  printf "%.2f", (n % 2) ? t[(n + 1) / 2] : (t[n / 2] + t[n / 2 + 1]) / 2 }' "$2"; }
sum() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a + b }'; }
ratio() { awk -v o="$1" -v p="$2" 'BEGIN { printf "%.2f", o / p }'; }
# Median in ms of a whole command line run three times.
process() {
  : > times
  for k in 1 2 3; do
    s=$(date +%s%N); "$@" >/dev/null 2>&1; e=$(date +%s%N)
    echo $(( (e - s) / 1000 )) >> times
  done
  sort -n times | awk 'NR == 2 { printf "%.2f", $1 / 1000 }'
}

m_thumb=$(process convert input.mpc -resize 112x112 t.mpc)
m_half=$(process convert input.mpc -resize 50% h.mpc)
m_rot=$(process convert input.mpc -rotate 90 r.mpc)
m_png=$(sum "$(process convert input.mpc im_out.png)" "$(process convert ref.png back.mpc)")
m_tif=$(sum "$(process convert input.mpc im_out.tif)" "$(process convert ref.tif back.mpc)")

ops="thumb half rotate png_save png_load tiff_save tiff_load"
samples=$((rounds * runs))
echo "median ms of $samples runs each ($rounds interleaved rounds of $runs); ours: lead_bench.exe under Wine (i686),"
echo "vips: libvips $(pkg-config --modversion vips) in process; imagemagick: whole command lines, start-up and files included"
printf "%-10s %9s %12s %14s %12s\n" op ours "vips 1 thr" "vips threads" imagemagick
for op in $ops png tiff; do
  case $op in
    png|tiff)
      o=$(sum "$(med ${op}_save ours.txt)" "$(med ${op}_load ours.txt)")
      v1=$(sum "$(med ${op}_save vips1.txt)" "$(med ${op}_load vips1.txt)")
      vn=$(sum "$(med ${op}_save vipsn.txt)" "$(med ${op}_load vipsn.txt)") ;;
    *) o=$(med $op ours.txt); v1=$(med $op vips1.txt); vn=$(med $op vipsn.txt) ;;
  esac
  case $op in thumb) m=$m_thumb ;; half) m=$m_half ;; rotate) m=$m_rot ;; png) m=$m_png ;; tiff) m=$m_tif ;; *) m="" ;; esac
  printf "%-10s %9s %12s %14s %12s\n" "$op" "$o" "$v1" "$vn" "$m"
  eval "o_$op=$o v1_$op=$v1 vn_$op=$vn"
done
echo "png save: vips at its fastest deflate level with our Up filter; with its defaults $(med png_save_default vips1.txt) ms"
echo "file sizes: ours png $(stat -c %s bench_out.png), vips png $(stat -c %s vips_out.png) (defaults $(stat -c %s vips_default.png)); ours tif $(stat -c %s bench_out.tif), vips tif $(stat -c %s vips_out.tif)"
line() {
  printf "thumb=%s half=%s rotate=%s png=%s tiff=%s" "$(ratio "$o_thumb" "$1")" "$(ratio "$o_half" "$2")" \
    "$(ratio "$o_rotate" "$3")" "$(ratio "$o_png" "$4")" "$(ratio "$o_tiff" "$5")"
}
echo "lead ratios vips-threads: $(line "$vn_thumb" "$vn_half" "$vn_rotate" "$vn_png" "$vn_tiff")"
echo "lead ratios: $(line "$v1_thumb" "$v1_half" "$v1_rotate" "$v1_png" "$v1_tiff")"
