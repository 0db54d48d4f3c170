#!/bin/sh
# Writes the decoder fuzzer's seed corpus: small JPEGs of every kind the codec reads, made by cjpeg and convert.
set -e
out=$1
for tool in cjpeg convert; do
  command -v $tool >/dev/null || { echo "make_seeds.sh: $tool not on PATH" >&2; exit 1; }
done
mkdir -p "$out"
src="$out/source.ppm"
convert -size 37x29 gradient:orange-navy -attenuate 0.4 +noise Gaussian -depth 8 "$src"
n=0
for opts in "" "-progressive" "-grayscale" "-grayscale -progressive" "-sample 1x1" "-sample 2x1" "-sample 1x2" \
            "-restart 1B" "-progressive -restart 2B" "-sample 2x1 -progressive" "-optimize -quality 30"; do
  cjpeg $opts -outfile "$out/seed$n.jpg" "$src"
  n=$((n + 1))
done
convert "$src" -colorspace CMYK -quality 70 "$out/cmyk.jpg"
convert "$src" -quality 60 -interlace Plane "$out/magick-progressive.jpg"
# A file with a JFIF extension thumbnail in RGB form (8 x 2 pixels) after SOI.
{
  printf '\377\330\377\340\000\072JFXX\000\023\010\002'
  head -c 48 /dev/zero | tr '\000' '\200'
  tail -c +3 "$out/seed0.jpg"
} > "$out/jfxx.jpg"
rm "$src"
