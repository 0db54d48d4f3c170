#!/usr/bin/env bash
# Prepares (up) or ends (down) the private Wine test environment of one build tree: prefix, fonts,
# registered COM servers, a warm wineserver and an Xvfb display. Never touches ~/.wine or other prefixes.
set -euo pipefail
action="$1"; env_dir="$(mkdir -p "$2" && cd "$2" && pwd)"
mkdir -p "$env_dir"
export WINEPREFIX="$env_dir/prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
LINGER_SECONDS=120   # a wineserver left by an interrupted run ends by itself after this
DESKTOP_SIZE=1280x1024

display_alive() { [ -f "$env_dir/display.pid" ] && kill -0 "$(cat "$env_dir/display.pid")" 2>/dev/null; }

start_display() {
  display_alive && return 0
  local fifo="$env_dir/display.fifo"
  rm -f "$fifo"; mkfifo "$fifo"
  setsid Xvfb -displayfd 5 -screen 0 ${DESKTOP_SIZE}x24 -nolisten tcp 5>"$fifo" </dev/null >"$env_dir/xvfb.log" 2>&1 &
  echo $! >"$env_dir/display.pid"
  local num; read -r num <"$fifo"; rm -f "$fifo"
  echo "$num" >"$env_dir/display"
}

case "$action" in
up)
  if [ ! -f "$WINEPREFIX/.orv-ready" ]; then
    echo "testenv: creating Wine prefix $WINEPREFIX (once per build tree)"
    bash "$(dirname "$0")/new-prefix.sh" "$WINEPREFIX" "$env_dir/wineboot.log"
    touch "$WINEPREFIX/.orv-ready"
  fi
  if [ ! -f "$WINEPREFIX/.orv-desktop" ]; then
    # Every program runs inside Wine's own desktop, so top-level windows get frames on bare Xvfb
    # while exit codes still reach the caller (an explicit "explorer /desktop" start loses them).
    env -u DISPLAY wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >>"$env_dir/wine.log" 2>&1
    env -u DISPLAY wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$DESKTOP_SIZE" /f \
      >>"$env_dir/wine.log" 2>&1
    env -u DISPLAY wineserver -w
    touch "$WINEPREFIX/.orv-desktop"
  fi
  start_display
  export DISPLAY=":$(cat "$env_dir/display")"
  # Wine's background processes must not hold CTest's output pipe open, or the run waits for them.
  # A server still running for this prefix (an earlier 'up' by hand) makes -p refuse; keep using it.
  wineserver -p"$LINGER_SECONDS" </dev/null >>"$env_dir/wine.log" 2>&1 || true
  # The desktop process starts with the first program that needs it and lives as long as the
  # wineserver; started here, it does not inherit (and hold open) a test's output pipe.
  setsid wine explorer /desktop=Default,"$DESKTOP_SIZE" </dev/null >>"$env_dir/wine.log" 2>&1 &
  if [ -s "$env_dir/servers.txt" ]; then
    while read -r server; do
      [ -n "$server" ] || continue
      # From the server's own folder, so that the C++ runtime DLLs beside it are found.
      (cd "$(dirname "$server")" && wine regsvr32 /s "$server" </dev/null >>"$env_dir/wine.log" 2>&1) ||
        { echo "testenv: regsvr32 failed for $server" >&2; exit 1; }
    done <"$env_dir/servers.txt"
  fi
  ;;
down)
  wineserver -k </dev/null >/dev/null 2>&1 || true
  if display_alive; then kill "$(cat "$env_dir/display.pid")"; fi
  rm -f "$env_dir/display" "$env_dir/display.pid"
  ;;
*) echo "usage: testenv.sh up|down DIR" >&2; exit 2 ;;
esac
