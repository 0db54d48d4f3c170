#!/usr/bin/env bash
# Scenario: the installer run silently in a fresh prefix, the host started from the installed folder on the sample
# pictures and closed as a user closes it, the postcard program likewise while its welcome pages are up, then the
# uninstaller: the registry (HKCU\Software, HKLM\Software, which holds HKCR) and the prefix's files are as before,
# the program folder is gone.
#   install_roundtrip.sh TREE        (CTest runs it in the Win32 tree with the test environment's display)
# The prefix (TREE/testenv/install/prefix) is made once and kept while the round trip leaves it clean: a run that
# fails leaves it marked dirty, and the next run makes it afresh.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
tree="$(cd "${1:?usage: install_roundtrip.sh TREE}" && pwd)"
work="$tree/testenv/install"
HOST_START_SECONDS=60   # the host's first start in a prefix (its wait message, the default launch items)
GALLERY_SECONDS=5       # the Gallery making thumbnails of the sample folder (their cache is written at close)
WELCOME_SECONDS=1       # the postcard program's welcome pages coming up once it noted that it shows them
mkdir -p "$work"
export WINEPREFIX="$work/prefix" WINEARCH=win32 WINEDEBUG=-all
# No Linux menu entries for the installer's shortcuts (they would land in the real home folder).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
[ -f "$tree/testenv/display" ] && export DISPLAY=":$(cat "$tree/testenv/display")"

fail() { echo "install_roundtrip: $*" >&2; exit 1; }
step() {  # what was done: prints its time
  local now; now="$(date +%s.%N)"
  awk -v what="$1" -v a="$started" -v b="$now" 'BEGIN { printf "%-32s %5.1f s\n", what, b - a }'
  started="$now"
}
started="$(date +%s.%N)"

# Few samples and quick compression: what is installed and how is the same as in the full installer.
installer="$(ORV_SAMPLE_COUNT=6 ORV_NSIS_COMPRESSOR=zlib bash "$top/scripts/package.sh" "$tree" --no-build --out "$work/Orvane-setup.exe" | tail -n 1)"
step "installer built"
echo "installer: $(stat -c %s "$installer") bytes"

if [ ! -f "$WINEPREFIX/.orv-clean" ]; then
  bash "$top/scripts/new-prefix.sh" "$WINEPREFIX" "$work/wineboot.log"
  step "fresh prefix"
fi
rm -f "$WINEPREFIX/.orv-clean"
wineserver -p30 </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT

# The registry as text, without what Wine itself changes while programs run: its own settings and the sound
# devices it lists at the first use of sound.
snapshot() {  # name
  local root
  for root in 'HKCU\Software' 'HKLM\Software'; do
    wine reg export "$root" "$(winepath -w "$work/$1.reg")" /y >/dev/null 2>&1 || fail "reg export $root"
    iconv -f UTF-16 -t UTF-8 "$work/$1.reg" | tr -d '\r' |
      awk '/^\[/ { skip = ($0 ~ /^\[HKEY_CURRENT_USER\\Software\\Wine\\|\\CurrentVersion\\MMDevices/) } !skip' \
      >>"$work/$1.txt"
  done
  rm -f "$work/$1.reg"
  (cd "$WINEPREFIX/drive_c" && find . -path ./windows/temp -prune -o -path './users/*/Temp' -prune -o -print | sort) \
    >"$work/$1.files"
}
rm -f "$work"/before.* "$work"/after.*
snapshot before
step "registry and files before"

wine "$(winepath -w "$installer")" /S || fail "the installer failed ($?)"
step "silent install"
folder='C:\Program Files\Nexlumen\Orvane'
unix_folder="$(winepath -u "$folder")"
for f in Orvane.exe gallery.dll OrvRes.dll GalRes.dll libstdc++-6.dll Uninstall.exe "Sample Pictures"; do
  [ -e "$unix_folder/$f" ] || fail "$f not installed"
done
developer="$(cd "$unix_folder" && ls | grep -Ei 'test|probe|demo|bench|recorder|standin|double|samplegen' || true)"
[ -z "$developer" ] || fail "developer files installed: $developer"
wine reg query 'HKCU\Software\Nexlumen\Orvane\Location' /v Path | grep -qF "$folder" || fail "host Location not written"
wine reg query 'HKCR\CLSID\{78310281-AFCD-11D2-ACD0-00A0248F3AF9}\InprocServer32' | grep -qiF "$folder\\gallery.dll" ||
  fail "the Gallery is not registered from the program folder"
wine reg query 'HKCR\CLSID\{443E2160-35DE-11D2-A4F5-B4CE0CC10000}\InprocServer32' | grep -qiF "$folder\\OrvaneExt.dll" ||
  fail "the shell extension is not registered"
[ -f "$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Nexlumen Orvane\Orvane.lnk')" ] ||
  fail "no Start-menu shortcut"

# The host from the installed folder, on the installed samples; closed with WM_CLOSE (a killed host would leave
# its class registration in rpcss).
wine "$folder\\Orvane.exe" "$folder\\Sample Pictures" </dev/null >"$work/host.log" 2>&1 &
host=$!
for (( i = 0; i < HOST_START_SECONDS * 2; i++ )); do
  wine reg query 'HKCU\Software\Nexlumen\Orvane\Launch Items' >/dev/null 2>&1 && break
  kill -0 "$host" 2>/dev/null || fail "the host ended at start: $(cat "$work/host.log")"
  sleep 0.5
done
wine reg query 'HKCU\Software\Nexlumen\Orvane\Launch Items' >/dev/null 2>&1 || fail "the host wrote no launch items"
sleep "$GALLERY_SECONDS"
step "host started"
wine taskkill /im Orvane.exe >/dev/null 2>&1 || fail "taskkill found no host"
status=0; wait "$host" || status=$?
[ "$status" -eq 0 ] || fail "the host ended with $status"
# Written when the Gallery leaves the folder; the uninstaller must take it too.
if [ -f "$unix_folder/Sample Pictures/Thumbnails.nxc" ]; then
  echo "host: the Gallery wrote the sample folder's thumbnail cache"
else
  echo "host: no thumbnail cache in the sample folder"
fi
step "host closed"

# The postcard program records where it is (its key and NEXLUMEN.INI in the Windows folder) when it ends. Its
# first start shows the welcome pages (noted in its profile as they open; without the splash, which would only
# add its seconds); it is closed from the task list once they are up: every window of it, the hidden ones too,
# then gets the close while the pages' own loop still runs.
welcome='HKCU\Software\Nexlumen\quillo\Settings'
wine "$folder\\quillo.exe" /NoSplash </dev/null >"$work/quillo.log" 2>&1 &
quillo=$!
for (( i = 0; i < HOST_START_SECONDS * 2; i++ )); do
  wine reg query "$welcome" /v 'Welcome Shown' >/dev/null 2>&1 && break
  kill -0 "$quillo" 2>/dev/null || fail "quillo ended at start: $(cat "$work/quillo.log")"
  sleep 0.5
done
wine reg query "$welcome" /v 'Welcome Shown' >/dev/null 2>&1 || fail "quillo showed no welcome pages"
sleep "$WELCOME_SECONDS"
wine taskkill /im quillo.exe >/dev/null 2>&1 || fail "taskkill found no quillo"
for (( i = 0; i < HOST_START_SECONDS * 2; i++ )); do
  kill -0 "$quillo" 2>/dev/null || break
  sleep 0.5
done
if kill -0 "$quillo" 2>/dev/null; then kill "$quillo"; fail "quillo did not close: $(cat "$work/quillo.log")"; fi
status=0; wait "$quillo" || status=$?
[ "$status" -eq 0 ] || fail "quillo ended with $status"
# Wine reports a fault on the program's error output even when its crash dialog is not shown.
! grep -q 'Unhandled' "$work/quillo.log" || fail "quillo crashed: $(grep 'Unhandled' "$work/quillo.log")"
grep -qi '^\[quillo\]' "$WINEPREFIX/drive_c/windows/NEXLUMEN.INI" || fail "quillo recorded no location"
step "quillo started and closed"

# As Windows' "Add or remove programs" does: the uninstaller from a copy, told the folder, so it can delete itself
# and the caller can wait for it. The folder goes as a short name: an argument with blanks reaches it quoted.
copy="$WINEPREFIX/drive_c/windows/temp/orv-uninstall"
mkdir -p "$copy"; cp "$unix_folder/Uninstall.exe" "$copy/"
wine 'C:\windows\temp\orv-uninstall\Uninstall.exe' /S "_?=$(winepath -s "$folder")" || fail "the uninstaller failed ($?)"
rm -rf "$copy"
step "silent uninstall"

[ ! -e "$unix_folder" ] || fail "the program folder is left: $(cd "$unix_folder" && find . | head -n 20)"
snapshot after
diff -u "$work/before.txt" "$work/after.txt" >"$work/registry.diff" || fail "registry changed:
$(head -n 60 "$work/registry.diff")"
diff -u "$work/before.files" "$work/after.files" >"$work/files.diff" || fail "files changed:
$(head -n 60 "$work/files.diff")"
step "registry and files after"
touch "$WINEPREFIX/.orv-clean"
echo "install_roundtrip: nothing of ours left"
