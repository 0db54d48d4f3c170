#!/usr/bin/env bash
# Saves a PNG of the test environment's display (the Wine desktop the tests' windows appear on).
set -euo pipefail
env_dir="${1:?usage: screenshot.sh TESTENV_DIR OUT.png}"; out="${2:?usage: screenshot.sh TESTENV_DIR OUT.png}"
DISPLAY=":$(cat "$env_dir/display")" import -window root "$out"
