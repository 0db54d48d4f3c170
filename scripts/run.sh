#!/usr/bin/env bash
# Starts the host program Orvane as a user of the suite gets it: builds what is missing (scripts/build.sh), makes the
# installer (scripts/package.sh, with the sample pictures), installs it silently into a Wine prefix of its own (kept
# between runs, never ~/.wine nor the tests' prefix) and starts Orvane on the installed "Sample Pictures" folder.
#   scripts/run.sh                      with DISPLAY set the window opens there; without, on a virtual display, of
#                                       which a screenshot is saved once the thumbnails are made (the screen stands
#                                       still); runs until closed or interrupted
#   scripts/run.sh --screenshot OUT.png saves the screenshot, then closes the program
# ORV_RUN_HOME sets the folder of the prefix (default build/run); ORV_RUN_SETTLE_SECONDS the longest wait for the
# thumbnails before the screenshot (default 30); ORV_RUN_TREE another configured Win32 tree to package (only its
# package's targets are built).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
shot=""; exit_after_shot=0
if [ "${1:-}" = "--screenshot" ]; then
  shot="$(realpath -m "${2:?usage: run.sh [--screenshot OUT.png]}")"; exit_after_shot=1
fi
settle="${ORV_RUN_SETTLE_SECONDS:-30}"
home="$(realpath -m "${ORV_RUN_HOME:-$top/build/run}")"
DESKTOP_SIZE=1280x1024
SHOW_SECONDS=8    # the least time before the screenshot: the splash and the wait message stand still too
STILL_SECONDS=3   # the screen unchanged this long: the thumbnails are there

bash "$top/scripts/setup.sh"
if [ -n "${ORV_RUN_TREE:-}" ]; then
  installer="$(bash "$top/scripts/package.sh" "$ORV_RUN_TREE" | tail -n 1)"
else
  bash "$top/scripts/build.sh"
  installer="$(bash "$top/scripts/package.sh" "$top/build/win32" --no-build | tail -n 1)"
fi

mkdir -p "$home"
export WINEPREFIX="$home/prefix" WINEARCH=win32 WINEDEBUG="${WINEDEBUG:--all}"
# No Linux menu entries for the installer's shortcuts (they would land in the real home folder).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$WINEPREFIX/.orv-ready" ]; then
  echo "run: creating the Wine prefix $WINEPREFIX (once)"
  bash "$top/scripts/new-prefix.sh" "$WINEPREFIX" "$home/wineboot.log"
  touch "$WINEPREFIX/.orv-ready"
fi

xvfb=""
cleanup() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ] || [ -n "$shot" ]; then
  # A display of our own.
  fifo="$home/display.fifo"; rm -f "$fifo"; mkfifo "$fifo"
  setsid Xvfb -displayfd 5 -screen 0 "${DESKTOP_SIZE}x24" -nolisten tcp 5>"$fifo" </dev/null >"$home/xvfb.log" 2>&1 &
  xvfb=$!
  read -r number <"$fifo"; rm -f "$fifo"
  export DISPLAY=":$number"
  [ -n "$shot" ] || shot="$home/orvane.png"
fi
wineserver -p30 </dev/null >/dev/null 2>&1 || true
if [ -n "$xvfb" ]; then
  # Wine's own desktop on the virtual display gives windows their frames without a window manager.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Orvane /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Orvane /d "$DESKTOP_SIZE" /f >/dev/null 2>&1
else
  wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
fi

# Installed again whenever the installer changed since the last install.
stamp="$WINEPREFIX/.orv-installed"
if [ ! -f "$stamp" ] || [ "$installer" -nt "$stamp" ]; then
  wine "$(winepath -w "$installer")" /S || { echo "run: the installer failed" >&2; exit 1; }
  touch "$stamp"
fi
folder="$(wine reg query 'HKCU\Software\Nexlumen\Orvane\Location' /v Path 2>/dev/null | tr -d '\r' |
          sed -n 's/^ *Path *REG_SZ *//p')"
[ -n "$folder" ] || { echo "run: the installer wrote no program folder" >&2; exit 1; }
samples="$folder\\Sample Pictures"
echo "run: prefix $WINEPREFIX, samples $samples ($(realpath "$(winepath -u "$samples")"))"

wine "$folder\\Orvane.exe" "$samples" </dev/null &
host=$!
close() {  # as a user closes it (WM_CLOSE), so that it saves its settings and revokes its classes
  wine taskkill /im Orvane.exe >/dev/null 2>&1 || true
  wait "$host" 2>/dev/null || true
}
trap 'close; exit 130' INT TERM
if [ -n "$shot" ]; then
  # The slide table is done when its loader has made the last thumbnail: the screen then stays as it is. (The
  # Gallery writes its cache file only when it leaves the folder, so that file cannot tell.)
  last=""; still=0
  for (( i = 0; i < settle; i++ )); do
    sleep 1
    kill -0 "$host" 2>/dev/null || { echo "run: Orvane ended" >&2; exit 1; }
    now="$(xwd -root -silent | md5sum)"
    if [ "$now" = "$last" ]; then still=$((still + 1)); else still=0; fi
    last="$now"
    [ "$i" -ge "$SHOW_SECONDS" ] && [ "$still" -ge "$STILL_SECONDS" ] && break
  done
  [ "$still" -ge "$STILL_SECONDS" ] || echo "run: the screen still changed after $settle s; the screenshot shows it as it is"
  import -window root "$shot"
  echo "run: screenshot $shot"
  if [ "$exit_after_shot" = 1 ]; then close; exit 0; fi
fi
wait "$host" || true
