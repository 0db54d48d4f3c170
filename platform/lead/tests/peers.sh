#!/bin/sh
# Peer files for the toolkit's Wine tests: "make DIR" writes pictures with ImageMagick (and libtiff's
# tiffcp when installed); "check DIR" opens the files the Wine test wrote with ImageMagick and compares
# their pixels with the expected pattern.
set -eu
mode=$1
dir=$2
mkdir -p "$dir"
cd "$dir"
# The pattern every peer file carries: 64 x 48, red rising left to right, green top to bottom, blue 77.
pattern() {
  convert -size 64x48 xc:black -channel R -fx 'i/63' -channel G -fx 'j/47' -channel B -fx '77/255' +channel \
    -depth 8 "$@"
}
if [ "$mode" = make ]; then
  rm -f out_*
  pattern pattern.ppm
  convert pattern.ppm -type TrueColor peer24.bmp
  convert pattern.ppm -colors 16 -type Palette -compress RLE peer_rle8.bmp
  convert pattern.ppm -colorspace Gray -type Grayscale peer_grey.png
  convert pattern.ppm peer24.png
  # Every PNG layout our own reader takes, and an interlaced file for the imaging component.
  convert pattern.ppm PNG48:peer16.png
  convert pattern.ppm -colorspace Gray -depth 16 -define png:color-type=0 peer_grey16.png
  convert pattern.ppm -colorspace Gray -depth 2 -define png:bit-depth=2 -define png:color-type=0 peer_grey2.png
  convert pattern.ppm -colorspace Gray -alpha set -channel A -fx 0.5 +channel -define png:color-type=4 peer_ga.png
  convert pattern.ppm -colors 12 -type Palette peer_pal4.png
  convert pattern.ppm -interlace PNG peer_interlaced.png
  convert pattern.ppm -compress LZW peer_lzw.tif
  # Colour strips the toolkit reads itself: several strips, PackBits, big-endian.
  convert pattern.ppm -define tiff:rows-per-strip=7 peer_strips.tif
  convert pattern.ppm -define tiff:rows-per-strip=5 -compress RLE peer_packbits.tif
  convert pattern.ppm -define tiff:endian=msb -density 150 peer_msb.tif
  convert pattern.ppm \( pattern.ppm -resize 32x24 \) peer_two.tif
  convert pattern.ppm -colors 200 peer.gif
  convert pattern.ppm -quality 90 peer.jpg
  # ImageMagick's own reading of each peer file, for exact comparisons of paletted and lossy files; the name
  # keeps the extension (peer.gif and peer.jpg must not share one reference).
  rm -f ref_*
  for f in peer*.*; do convert "$f[0]" -depth 8 "ref_${f%.*}_${f##*.}.ppm"; done
  if command -v tiffcp >/dev/null 2>&1; then
    tiffcp -c zip peer_lzw.tif peer_zip.tif
  else
    convert pattern.ppm -compress Zip peer_zip.tif
  fi
  convert peer_zip.tif -depth 8 ref_peer_zip_tif.ppm
  exit 0
fi
# check: every out_* file written by the Wine test must open and match the pattern within a tolerance
# that fits its depth (palette files are compared as images reduced to the same colours).
fail=0
found=0
for f in out_*; do
  [ -e "$f" ] || continue
  found=$((found + 1))
  size=$(identify -format '%wx%h' "$f[0]" 2>/dev/null) || { echo "FAIL $f: ImageMagick cannot open it"; fail=1; continue; }
  if [ "$size" != 64x48 ]; then echo "FAIL $f: size $size"; fail=1; continue; fi
  case $f in *_1bit*) continue;; esac
  tol=3
  case $f in *_8bit*|*_4bit*|*.gif) tol=24;; *.jpg) tol=12;; esac
  # Mean absolute error per channel, 0..255.
  err=$(compare -metric MAE "$f[0]" pattern.ppm null: 2>&1 | sed 's/.*(\(.*\)).*/\1/')
  bad=$(awk -v e="$err" -v t="$tol" 'BEGIN { print (e * 255 > t) ? 1 : 0 }')
  if [ "$bad" = 1 ]; then echo "FAIL $f: mean error $(awk -v e="$err" 'BEGIN{print e*255}')"; fail=1; else echo "ok $f"; fi
done
if [ "$found" -lt 5 ]; then echo "FAIL: only $found output files"; exit 1; fi
exit $fail
