#!/bin/sh
# Runs the sample generator twice with one seed and checks its output: same bytes both times, pictures of
# the named sizes (ImageMagick), clips and the sound accepted by ffprobe with the expected lengths; then a
# camera-like photo with and without its EXIF thumbnail, read by ImageMagick.
# Usage: check_samplegen.sh OUTDIR RUNNER... (the runner is the generator, or Wine and the generator)
set -eu
out="$1"; shift
rm -rf "$out" "$out.again"
"$@" "$out" --count 6 --seed 3 >/dev/null
"$@" "$out.again" --count 6 --seed 3 >/dev/null
status=0
for f in "$out"/*; do
  name=$(basename "$f")
  cmp -s "$f" "$out.again/$name" || { echo "FAIL $name differs between two runs with one seed"; status=1; }
done
count=$(ls "$out" | grep -c '^photo')
[ "$count" -eq 6 ] || { echo "FAIL $count pictures instead of 6"; status=1; }
for f in "$out"/photo*; do
  want=$(basename "$f" | sed 's/^photo[0-9]*_\([0-9]*x[0-9]*\)\..*/\1/')
  got=$(identify -format '%wx%h' "$f" 2>/dev/null || echo unreadable)
  [ "$got" = "$want" ] && echo "ok $(basename "$f")" || { echo "FAIL $(basename "$f"): $got"; status=1; }
done
probe() {
  ffprobe -v error -show_entries "$2" -of csv=p=0 "$out/$1" | head -n1
}
[ "$(probe clip_sound.avi stream=nb_frames)" = 30 ] || { echo "FAIL clip_sound.avi frames"; status=1; }
[ "$(ffprobe -v error -show_entries stream=codec_type -of csv=p=0 "$out/clip_sound.avi" | tr '\n' ' ')" = "video audio " ] \
  || { echo "FAIL clip_sound.avi streams"; status=1; }
[ "$(ffprobe -v error -show_entries stream=codec_type -of csv=p=0 "$out/clip_silent.avi" | tr '\n' ' ')" = "video " ] \
  || { echo "FAIL clip_silent.avi streams"; status=1; }
[ "$(probe sweep.wav stream=duration)" = "2.000000" ] || { echo "FAIL sweep.wav duration"; status=1; }
rm -rf "$out.again"

# Camera-like photos: 4000x3000, an EXIF block only with --exif, its thumbnail where IFD1 says (offsets count
# from the TIFF header, 12 bytes into the file) and showing the same picture.
rm -rf "$out.photos" "$out.exif"
"$@" "$out.photos" --photos 1 --seed 3 >/dev/null
"$@" "$out.exif" --photos 1 --exif --seed 3 >/dev/null
plain="$out.photos/photo000.jpg" exif="$out.exif/photo000.jpg"
[ "$(identify -format '%wx%h' "$plain")" = 4000x3000 ] || { echo "FAIL camera photo size"; status=1; }
[ -z "$(identify -format '%[exif:*]' "$plain" 2>/dev/null)" ] || { echo "FAIL EXIF without --exif"; status=1; }
[ "$(identify -format '%wx%h %[exif:PixelXDimension]x%[exif:PixelYDimension] %[exif:Orientation]' "$exif")" = \
  "4000x3000 4000x3000 1" ] || { echo "FAIL EXIF photo fields"; status=1; }
at=$(identify -format '%[exif:thumbnail:JPEGInterchangeFormat]' "$exif")
length=$(identify -format '%[exif:thumbnail:JPEGInterchangeFormatLength]' "$exif")
dd if="$exif" of="$out.exif/thumb.jpg" bs=1 skip=$((12 + at)) count="$length" 2>/dev/null
[ "$(identify -format '%wx%h' "$out.exif/thumb.jpg" 2>/dev/null)" = 160x120 ] || { echo "FAIL EXIF thumbnail"; status=1; }
convert "$plain" -resize 160x120 "$out.exif/reduced.png"
error=$(compare -metric RMSE "$out.exif/thumb.jpg" "$out.exif/reduced.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
awk -v e="$error" 'BEGIN { exit !(e < 0.03) }' || { echo "FAIL EXIF thumbnail differs from the photo ($error)"; status=1; }
[ $status = 0 ] && echo "ok camera photos"
exit $status
