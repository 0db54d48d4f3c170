#!/usr/bin/env bash
# Runs one Windows program of the build tree under Wine, in the test prefix and display that testenv.sh prepared.
set -u
env_dir="${ORV_TESTENV:?ORV_TESTENV must name the build tree testenv folder (scripts/testenv.sh up prepares it)}"
export WINEPREFIX="$env_dir/prefix" WINEARCH=win32 WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
[ -f "$env_dir/display" ] && export DISPLAY=":$(cat "$env_dir/display")"
exec wine "$@"
