#!/usr/bin/env bash
# Makes a fresh 32-bit Wine prefix at PREFIX (anything there before is removed) with Wine's fonts copied in, so that
# captions and labels draw right; the boot's output goes to LOG. Used by the test environment, the install round
# trip and the run command, each for a prefix of its own.
set -euo pipefail
prefix="${1:?usage: new-prefix.sh PREFIX LOG}"; log="${2:?usage: new-prefix.sh PREFIX LOG}"
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all
rm -rf "$WINEPREFIX"
# Without a display: with one, the first boot waits on its desktop process for minutes.
env -u DISPLAY wineboot -i >"$log" 2>&1
env -u DISPLAY wineserver -w
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
