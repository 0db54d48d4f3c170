#!/bin/sh
# Peer files for the LEAD-based module's imagio tests: "make DIR" writes pictures with ImageMagick (and
# libtiff's tiffcp when installed) and ImageMagick's own reading of each as a PPM; "check DIR" opens the files
# the Wine test wrote (out_*) with ImageMagick and compares them with the pattern.
set -eu
mode=$1
dir=$2
mkdir -p "$dir"
cd "$dir"
# 64 x 48: red rising left to right, green top to bottom, blue 77.
pattern() {
  convert -size 64x48 xc:black -channel R -fx 'i/63' -channel G -fx 'j/47' -channel B -fx '77/255' +channel \
    -depth 8 "$@"
}
if [ "$mode" = make ]; then
  rm -f out_* peer_* ref_*
  pattern pattern.ppm
  convert pattern.ppm -type TrueColor peer_24.bmp
  convert pattern.ppm -colors 16 -type Palette BMP3:peer_4.bmp
  convert pattern.ppm -colors 200 -type Palette BMP3:peer_8.bmp
  convert pattern.ppm -threshold 50% -type Bilevel peer_1.bmp
  convert pattern.ppm peer_24.png
  convert pattern.ppm -colors 100 PNG8:peer_8.png
  convert pattern.ppm -compress LZW peer_24.tif
  convert pattern.ppm -threshold 50% -type Bilevel -compress Group4 peer_1.tif
  convert pattern.ppm -colors 200 peer_8.gif
  convert pattern.ppm -quality 92 -interlace Plane peer_progressive.jpg
  for f in peer_*; do convert "$f[0]" -depth 8 "ref_${f%.*}_${f##*.}.ppm"; done
  if command -v tiffcp >/dev/null 2>&1; then
    tiffcp -c zip peer_24.tif peer_zip.tif
    convert peer_zip.tif -depth 8 ref_peer_zip_tif.ppm
  fi
  exit 0
fi
# check: out_<name>_<bits>bit.<ext> files must open, be 64 x 48 at their depth, match the pattern, and TIFF files
# carry a second page fitted into 80 x 80.
fail=0
found=0
for f in out_*; do
  [ -e "$f" ] || continue
  found=$((found + 1))
  size=$(identify -format '%wx%h' "$f[0]" 2>/dev/null) || { echo "FAIL $f: ImageMagick cannot open it"; fail=1; continue; }
  if [ "$size" != 64x48 ]; then echo "FAIL $f: size $size"; fail=1; continue; fi
  case $f in
    *.tif)
      page=$(identify -format '%wx%h %z %[type];' "$f" 2>/dev/null | cut -d';' -f2)
      case $f in
        *_1bit*) want="80x60 1 Bilevel";;
        *) want="80x60 8";;
      esac
      case $page in "$want"*) ;; *) echo "FAIL $f: second page '$page', want '$want'"; fail=1; continue;; esac
      ;;
  esac
  case $f in *_1bit*) echo "ok $f"; continue;; esac
  tol=3
  case $f in *_8bit*|*_4bit*) tol=24;; esac
  err=$(compare -metric MAE "$f[0]" pattern.ppm null: 2>&1 | sed 's/.*(\(.*\)).*/\1/')
  bad=$(awk -v e="$err" -v t="$tol" 'BEGIN { print (e * 255 > t) ? 1 : 0 }')
  if [ "$bad" = 1 ]; then echo "FAIL $f: mean error $(awk -v e="$err" 'BEGIN{print e*255}')"; fail=1; else echo "ok $f"; fi
done
if [ "$found" -lt 9 ]; then echo "FAIL: only $found output files"; exit 1; fi
exit $fail
