# Sourced by the benchmarks' run.sh: bench_need PACKAGE... installs the Debian packages that are missing
# (apt-get, idempotent; quick when all are there). Packages of another architecture are named pkg:arch.
bench_need() {
  missing=""
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
  done
  [ -n "$missing" ] || return 0
  sudo=""
  [ "$(id -u)" = 0 ] || sudo=sudo
  echo "bench: installing$missing"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
}
