#!/usr/bin/env bash
# Installs the Debian packages Taviro needs, quickly doing nothing when they are
# all present. Usage: scripts/deps.sh run|test
# Package lists live in scripts/deps/*.txt, one "<stage> <package>" per line,
# stage being build, run or test. "run" installs build and run packages; "test"
# installs all three.
set -euo pipefail
mode=${1:-run}
here=$(cd "$(dirname "$0")" && pwd)
case $mode in
  run) stages='^(build|run) ' ;;
  test) stages='^(build|run|test) ' ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac
mapfile -t wanted < <(cat "$here"/deps/*.txt | grep -E "$stages" | awk '{print $2}' | sort -u)
missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
if ((${#missing[@]} == 0)); then
  exit 0
fi
if [[ $(id -u) -ne 0 ]]; then
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Install them as root (sudo $0 $mode) and run again." >&2
  exit 1
fi
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
