#!/usr/bin/env bash
# Starts the host program Orvane on a folder of sample pictures that the project makes itself: builds what is
# missing (scripts/build.sh), makes the samples once (samplegen), prepares the Win32 tree's Wine environment
# (scripts/testenv.sh: prefix, registered servers, display) and runs Orvane.exe there until it is closed.
#   scripts/run.sh                      run until the program is closed (view the display with a VNC/X client)
#   scripts/run.sh --screenshot OUT.png wait for the window, save the display to OUT.png, close the program
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
shot=""
if [ "${1:-}" = "--screenshot" ]; then shot="${2:?usage: run.sh [--screenshot OUT.png]}"; fi
settle="${ORV_RUN_SETTLE_SECONDS:-12}"

bash "$top/scripts/build.sh"
samples="$top/build/samples"
if [ ! -d "$samples" ]; then "$top/build/native/bin/samplegen" "$samples" --count 24; fi
export ORV_TESTENV="$top/build/win32/testenv"
bash "$top/scripts/testenv.sh" up "$ORV_TESTENV"
trap 'bash "$top/scripts/testenv.sh" down "$ORV_TESTENV"' EXIT
folder="$(WINEPREFIX="$ORV_TESTENV/prefix" winepath -w "$samples" 2>/dev/null)"

if [ -z "$shot" ]; then
  "$top/scripts/wine-run.sh" "$top/build/win32/bin/Orvane.exe" "$folder"
  exit 0
fi
"$top/scripts/wine-run.sh" "$top/build/win32/bin/Orvane.exe" "$folder" &
sleep "$settle"
bash "$top/scripts/screenshot.sh" "$ORV_TESTENV" "$shot"
# Closed as a user closes it (WM_CLOSE), so that it saves its settings and revokes its classes.
WINEPREFIX="$ORV_TESTENV/prefix" DISPLAY=":$(cat "$ORV_TESTENV/display")" wine taskkill /im Orvane.exe >/dev/null 2>&1 || true
wait
