#!/bin/sh
# Clips from a peer writer: "make DIR" has ffmpeg write them; "probe DIR" checks with ffprobe the clips
# that avi_peer_tests edited and saved (listed with their expected frame count and length in DIR/expect.txt).
set -eu
mode="$1"
dir="$2"
case "$mode" in
make)
  mkdir -p "$dir"
  rm -f "$dir"/*.avi "$dir"/expect.txt
  video="-f lavfi -i testsrc=size=64x48:rate=10"
  ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
  ff $video -f lavfi -i sine=frequency=440:sample_rate=11025 -t 3 -c:v rawvideo -pix_fmt bgr24 -c:a pcm_u8 "$dir/bgr24_u8.avi"
  ff $video -f lavfi -i sine=frequency=440:sample_rate=22050 -t 3 -ac 2 -c:v rawvideo -pix_fmt bgr24 -c:a pcm_s16le "$dir/bgr24_s16.avi"
  ff $video -t 2 -c:v rawvideo -pix_fmt bgr24 -an "$dir/bgr24_silent.avi"
  # Compressed video with key frames and delta frames; Wine has a decoder for it.
  ff $video -f lavfi -i sine=frequency=440:sample_rate=11025 -t 3 -c:v cinepak -g 5 -c:a pcm_s16le "$dir/cinepak_s16.avi"
  ;;
probe)
  test -s "$dir/expect.txt" || { echo "no edited clips listed in $dir/expect.txt"; exit 1; }
  status=0
  while read -r file frames ms; do
    got_frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 "$dir/$file")
    got_s=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$dir/$file")
    got_ms=$(awk "BEGIN { printf \"%d\", $got_s * 1000 + 0.5 }")
    diff=$((got_ms - ms)); [ $diff -lt 0 ] && diff=$((-diff))
    if [ "$got_frames" != "$frames" ] || [ $diff -gt 150 ]; then
      echo "FAIL $file: $got_frames frames, ${got_ms} ms; expected $frames frames, $ms ms"
      status=1
    else
      echo "ok $file: $got_frames frames, ${got_ms} ms"
    fi
    ffprobe -v error "$dir/$file" || status=1
  done < "$dir/expect.txt"
  exit $status
  ;;
esac
