#!/bin/sh
# Runs the sample generator twice with one seed and checks its output: same bytes both times, pictures of
# the named sizes (ImageMagick), clips and the sound accepted by ffprobe with the expected lengths.
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
exit $status
