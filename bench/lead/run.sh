#!/bin/sh
# Benchmark of the imaging toolkit against vips and ImageMagick on a 4000 x 3000 picture: resample to a 112 x 112
# box and to 50 %, rotate by 90, PNG and TIFF save + load. Ours runs in lead_bench.exe under Wine (the build
# tree's test prefix) and times the calls alone; the peers are timed per command line on memory-mapped inputs
# (.v for vips, .mpc for ImageMagick), so their figures include process start. Medians of RUNS runs; the last
# line gives ours over the faster peer.
# Usage: bench/lead/run.sh [BUILD_DIR] [RUNS]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build/lead2-win32}
runs=${2:-5}
if ! command -v vips >/dev/null 2>&1 || ! command -v convert >/dev/null 2>&1; then
  apt-get install -y libvips-tools imagemagick >/dev/null
fi
cmake --build "$build" -j2 --target lead_bench >/dev/null
"$root/scripts/testenv.sh" up "$build/testenv" >/dev/null
work="$build/bench-lead"
rm -rf "$work"
mkdir -p "$work"
cd "$work"
convert -size 4000x3000 gradient:'#3060d0-#f0a020' \( -size 4000x3000 xc: +noise Random -blur 0x3 \) \
  -compose overlay -composite -quality 90 input.jpg
vips copy input.jpg input.v
convert input.jpg input.mpc
# Median in ms of a command run $runs times.
median() {
  i=0
  : > times
  while [ $i -lt "$runs" ]; do
    s=$(date +%s%N); "$@" >/dev/null 2>&1; e=$(date +%s%N)
    echo $(( (e - s) / 1000 )) >> times
    i=$((i + 1))
  done
  sort -n times | awk '{ a[NR] = $1 } END { printf "%.2f", a[int((NR + 1) / 2)] / 1000 }'
}
win=$(echo "Z:$work" | tr / '\\')
echo "ours: lead_bench.exe under Wine (scripts/wine-run.sh, test prefix of $build), calls timed inside the process"
ORV_TESTENV="$build/testenv" "$root/scripts/wine-run.sh" "$build/bin/lead_bench.exe" "$win\\input.jpg" "$win" "$runs" > ours.txt
ours() { awk -v k="$1" '$1 == k { print $2 }' ours.txt; }
v_thumb=$(median vips thumbnail_image input.v t.v 112)
v_half=$(median vips resize input.v h.v 0.5)
v_rot=$(median vips rot input.v r.v d90)
v_png_s=$(median vips copy input.v out.png)
v_png_l=$(median vips copy out.png back.v)
v_tif_s=$(median vips copy input.v out.tif)
v_tif_l=$(median vips copy out.tif back.v)
m_thumb=$(median convert input.mpc -resize 112x112 t.mpc)
m_half=$(median convert input.mpc -resize 50% h.mpc)
m_rot=$(median convert input.mpc -rotate 90 r.mpc)
m_png_s=$(median convert input.mpc out_im.png)
m_png_l=$(median convert out_im.png back.mpc)
m_tif_s=$(median convert input.mpc out_im.tif)
m_tif_l=$(median convert out_im.tif back.mpc)
o_png=$(awk -v a="$(ours png_save)" -v b="$(ours png_load)" 'BEGIN { printf "%.2f", a + b }')
o_tif=$(awk -v a="$(ours tiff_save)" -v b="$(ours tiff_load)" 'BEGIN { printf "%.2f", a + b }')
v_png=$(awk -v a="$v_png_s" -v b="$v_png_l" 'BEGIN { printf "%.2f", a + b }')
v_tif=$(awk -v a="$v_tif_s" -v b="$v_tif_l" 'BEGIN { printf "%.2f", a + b }')
m_png=$(awk -v a="$m_png_s" -v b="$m_png_l" 'BEGIN { printf "%.2f", a + b }')
m_tif=$(awk -v a="$m_tif_s" -v b="$m_tif_l" 'BEGIN { printf "%.2f", a + b }')
printf "%-8s %10s %10s %12s   (median ms of %s runs)\n" op ours vips imagemagick "$runs"
row() { printf "%-8s %10s %10s %12s\n" "$1" "$2" "$3" "$4"; }
row thumb "$(ours thumb)" "$v_thumb" "$m_thumb"
row half "$(ours half)" "$v_half" "$m_half"
row rotate "$(ours rotate)" "$v_rot" "$m_rot"
row png "$o_png" "$v_png" "$m_png"
row tiff "$o_tif" "$v_tif" "$m_tif"
row png_save "$(ours png_save)" "$v_png_s" "$m_png_s"
row png_load "$(ours png_load)" "$v_png_l" "$m_png_l"
row tiff_save "$(ours tiff_save)" "$v_tif_s" "$m_tif_s"
row tiff_load "$(ours tiff_load)" "$v_tif_l" "$m_tif_l"
ratio() { awk -v o="$1" -v a="$2" -v b="$3" 'BEGIN { m = a < b ? a : b; printf "%.2f", o / m }'; }
echo "lead ratios: thumb=$(ratio "$(ours thumb)" "$v_thumb" "$m_thumb") half=$(ratio "$(ours half)" "$v_half" "$m_half") rotate=$(ratio "$(ours rotate)" "$v_rot" "$m_rot") png=$(ratio "$o_png" "$v_png" "$m_png") tiff=$(ratio "$o_tif" "$v_tif" "$m_tif")"
