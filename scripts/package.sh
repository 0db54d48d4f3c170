#!/usr/bin/env bash
# Builds the suite's installer for Windows (NSIS): the files, registrations, "Location" keys and shortcuts that the
# build's manifest lists (build/<tree>/package/manifest.txt, written by cmake/package.cmake), the sample pictures
# made by samplegen, and an uninstaller that takes all of it away again.
#   scripts/package.sh                       builds both trees (scripts/build.sh), packages build/win32
#   scripts/package.sh TREE [--out FILE]     builds only the package's targets of an already configured Win32 tree
#   scripts/package.sh TREE --no-build ...   packages what the tree has built (the tests, after the build)
# Prints the installer's path. ORV_SAMPLE_COUNT sets the number of sample pictures (default 24), ORV_NSIS_COMPRESSOR
# the compression (default "/SOLID lzma", the smallest; "zlib" is several times faster to make).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
tree=""; out=""; build=1
while [ $# -gt 0 ]; do
  case "$1" in
    --out) out="${2:?--out needs a file}"; shift 2 ;;
    --no-build) build=0; shift ;;
    -*) echo "usage: package.sh [TREE] [--out FILE] [--no-build]" >&2; exit 2 ;;
    *) tree="$1"; shift ;;
  esac
done
jobs="${ORV_JOBS:-$(nproc)}"
[ "$build" = 1 ] && bash "$top/scripts/setup.sh"
if [ -z "$tree" ]; then
  tree="$top/build/win32"
  [ "$build" = 1 ] && bash "$top/scripts/build.sh"
elif [ "$build" = 1 ]; then
  tree="$(cd "$tree" && pwd)"
  mapfile -t targets <"$tree/package/targets.txt"
  cmake --build "$tree" -j "$jobs" --target "${targets[@]}"
fi
tree="$(cd "$tree" && pwd)"
samplegen="${ORV_SAMPLEGEN:-$top/build/native/bin/samplegen}"
[ -x "$samplegen" ] || { echo "package: $samplegen missing (scripts/build.sh builds it)" >&2; exit 1; }
manifest="$tree/package/manifest.txt"
out="${out:-$tree/package/Orvane-setup.exe}"
stage="${out%.*}.stage"   # beside the installer, so that two installers of a tree do not share it
count="${ORV_SAMPLE_COUNT:-24}"

# Windows paths inside the program folder, as NSIS writes them.
win() { printf '%s' "$1" | tr '/' '\\'; }

declare -a files=() servers=() registers=() locations=() shortcuts=() keys=() leftovers=() leftdirs=() inis=()
while IFS=$'\t' read -r kind a b c; do
  case "$kind" in
    file|comserver) files+=("$a"); [ "$kind" = comserver ] && servers+=("$(basename "$a")") ;;
    location) locations+=("$a"$'\t'"$b"$'\t'"$c") ;;
    register) registers+=("$(basename "$a")"$'\t'"$b"$'\t'"$c") ;;
    shortcut) shortcuts+=("$(basename "$a")"$'\t'"$b") ;;
    key) keys+=("$a"$'\t'"$b") ;;
    leftover) leftovers+=("$a") ;;
    leftdir) leftdirs+=("$a") ;;
    ini) inis+=("$a"$'\t'"$b") ;;
    "") ;;
    *) echo "package: unknown manifest step '$kind'" >&2; exit 1 ;;
  esac
done <"$manifest"

# Made again only when something it is made of is newer (the run command asks for it at every start).
current=1
[ -f "$out" ] && [ "$(cat "$out.samples" 2>/dev/null)" = "$count ${ORV_NSIS_COMPRESSOR:-}" ] || current=0
for f in "$manifest" "$top/scripts/installer/orvane.nsi" "$top/scripts/package.sh" "$samplegen" "${files[@]}"; do
  [ "$current" = 1 ] && [ "$f" -nt "$out" ] && current=0
done
if [ "$current" = 1 ]; then realpath -m "$out"; exit 0; fi

rm -rf "$stage"; mkdir -p "$stage/files" "$stage/samples"
install="$stage/install.nsh"; uninstall="$stage/uninstall.nsh"
: >"$install"; : >"$uninstall"

# The files, without their debugging information.
for f in "${files[@]}"; do
  [ -f "$f" ] || { echo "package: $f was not built" >&2; exit 1; }
  name="$(basename "$f")"
  case "$name" in
    *.exe|*.dll|*.EXE|*.DLL|*.BIN) i686-w64-mingw32-strip --strip-debug -o "$stage/files/$name" "$f" ;;
    *) cp "$f" "$stage/files/$name" ;;
  esac
  echo "File \"$stage/files/$name\"" >>"$install"
done
"$samplegen" "$stage/samples" --count "$count" >/dev/null
echo 'SetOutPath "$INSTDIR\Sample Pictures"' >>"$install"
for f in "$stage/samples"/*; do echo "File \"$f\"" >>"$install"; done
echo 'SetOutPath "$INSTDIR"' >>"$install"

for s in "${servers[@]}"; do
  echo "!insertmacro OrvRun '\"\$SYSDIR\\regsvr32.exe\" /s \"\$INSTDIR\\$s\"' \"Registering $s\"" >>"$install"
done
for r in "${registers[@]}"; do
  IFS=$'\t' read -r prog args _ <<<"$r"
  echo "!insertmacro OrvRun '\"\$INSTDIR\\$prog\" $args' \"$prog $args\"" >>"$install"
done
for l in "${locations[@]}"; do
  IFS=$'\t' read -r what path key <<<"$l"
  if [ "$what" = folder ]; then value='$INSTDIR'; else value="\$INSTDIR\\$(basename "$path")"; fi
  echo "WriteRegStr HKCU \"$key\" \"Path\" \"$value\"" >>"$install"
done
menu='$SMPROGRAMS\${PRODUCT_NAME}'
echo "CreateDirectory \"$menu\"" >>"$install"
for s in "${shortcuts[@]}"; do
  IFS=$'\t' read -r prog name <<<"$s"
  echo "CreateShortcut \"$menu\\$name.lnk\" \"\$INSTDIR\\$prog\"" >>"$install"
done
echo "CreateShortcut \"$menu\\Uninstall.lnk\" \"\$INSTDIR\\\${UNINSTALLER}\"" >>"$install"

# The uninstaller undoes the steps in reverse: registrations while the files are still there, then keys, files,
# folders.
for (( i=${#registers[@]}-1; i>=0; i-- )); do
  IFS=$'\t' read -r prog _ args <<<"${registers[$i]}"
  echo "!insertmacro OrvUnRun '\"\$INSTDIR\\$prog\" $args' \"$prog $args\"" >>"$uninstall"
done
for (( i=${#servers[@]}-1; i>=0; i-- )); do
  s="${servers[$i]}"
  echo "!insertmacro OrvUnRun '\"\$SYSDIR\\regsvr32.exe\" /u /s \"\$INSTDIR\\$s\"' \"Unregistering $s\"" >>"$uninstall"
done
declare -A parents=()
for l in "${locations[@]}"; do
  IFS=$'\t' read -r _ _ key <<<"$l"
  echo "DeleteRegKey HKCU \"$key\"" >>"$uninstall"
done
for k in "${keys[@]}"; do
  IFS=$'\t' read -r root key <<<"$k"
  echo "DeleteRegKey $root \"$key\"" >>"$uninstall"
  [ "$root" = HKCU ] && parents["${key%\\*}"]=1
done
# The maker's key goes when no other product of the maker is left under it.
for p in "${!parents[@]}"; do echo "DeleteRegKey /ifempty HKCU \"$p\"" >>"$uninstall"; done
for s in "${shortcuts[@]}"; do
  IFS=$'\t' read -r _ name <<<"$s"
  echo "Delete \"$menu\\$name.lnk\"" >>"$uninstall"
done
echo "Delete \"$menu\\Uninstall.lnk\"" >>"$uninstall"
echo "RMDir \"$menu\"" >>"$uninstall"
for f in "$stage/files"/*; do echo "Delete \"\$INSTDIR\\$(basename "$f")\"" >>"$uninstall"; done
for f in "$stage/samples"/*; do echo "Delete \"\$INSTDIR\\Sample Pictures\\$(basename "$f")\"" >>"$uninstall"; done
for f in "${leftovers[@]}"; do echo "Delete \"\$INSTDIR\\$(win "$f")\"" >>"$uninstall"; done
for f in "${leftdirs[@]}"; do echo "RMDir \"\$INSTDIR\\$(win "$f")\"" >>"$uninstall"; done
for i in "${inis[@]}"; do
  IFS=$'\t' read -r file section <<<"$i"
  echo "!insertmacro OrvUnIniSection \"\$WINDIR\\$file\" \"$section\"" >>"$uninstall"
done
echo 'RMDir "$INSTDIR\Sample Pictures"' >>"$uninstall"

cat >"$stage/product.nsh" <<'EOF'
!define PRODUCT_MAKER "Nexlumen"
!define PRODUCT_PROGRAM "Orvane"
!define PRODUCT_NAME "Nexlumen Orvane"
EOF
mkdir -p "$(dirname "$out")"
compressor=()
[ -n "${ORV_NSIS_COMPRESSOR:-}" ] && compressor=(-DCOMPRESSOR="$ORV_NSIS_COMPRESSOR")
makensis -V2 -DSTAGE="$stage" -DOUTFILE="$(realpath -m "$out")" "${compressor[@]}" "$top/scripts/installer/orvane.nsi" >"$stage/makensis.log" 2>&1 ||
  { cat "$stage/makensis.log" >&2; exit 1; }
echo "$count ${ORV_NSIS_COMPRESSOR:-}" >"$out.samples"
realpath -m "$out"
