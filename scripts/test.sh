#!/usr/bin/env bash
# The one test command: installs what is missing, builds both trees and runs every test with CTest
# (the native sanitizer tests first, then the Win32 tests under Wine). Extra arguments go to both ctest runs.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
bash "$top/scripts/setup.sh"
bash "$top/scripts/build.sh"
status=0
ctest --test-dir "$top/build/native" --output-on-failure "$@" || status=$?
ctest --test-dir "$top/build/win32" --output-on-failure "$@" || status=$?
exit $status
