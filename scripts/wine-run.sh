#!/usr/bin/env bash
# Runs one Windows program of the build tree under Wine, in the test prefix and display that testenv.sh prepared.
# ORV_CLEAN_KEYS ('|'-separated registry keys, set by orv_add_gtest's CLEAN_KEYS) are deleted first, since the
# prefix keeps what earlier runs wrote.
set -u
env_dir="${ORV_TESTENV:?ORV_TESTENV must name the build tree testenv folder (scripts/testenv.sh up prepares it)}"
export WINEPREFIX="$env_dir/prefix" WINEARCH=win32 WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
[ -f "$env_dir/display" ] && export DISPLAY=":$(cat "$env_dir/display")"
if [ -n "${ORV_CLEAN_KEYS:-}" ]; then
  IFS='|' read -r -a keys <<<"$ORV_CLEAN_KEYS"
  for key in "${keys[@]}"; do
    # A key that is not there is already clean; reg then reports failure.
    wine reg delete "$key" /f </dev/null >/dev/null 2>&1 || true
  done
fi
exec wine "$@"
