#!/bin/sh
# Writes fuzzing seeds for the AVI/WAV parsers: small AVI and WAV files made by the sample generator.
set -eu
gen="$1"
out="$2"
mkdir -p "$out"
tmp="$out.work"
rm -rf "$tmp"
"$gen" "$tmp" --count 1 --seed 7 --small >/dev/null
cp "$tmp"/*.avi "$tmp"/*.wav "$out"/
rm -rf "$tmp"
