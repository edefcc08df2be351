#!/usr/bin/env bash
# Runs the latency benchmark in the test VM and prints its figures.
# Usage: vm/run-latency.sh [BUILD_DIR]   (default build/linux; needs the
# targets taviro-driver and taviro-vm-latency built there)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/linux}
log=$build/vm/latency.log
mkdir -p "$(dirname "$log")"
"$here/run-vm.sh" "$here/guest/latency.sh" "$log" \
  "$build/taviro-driver" "$build/vm/taviro-vm-latency" \
  -- "$here/../data/shortcut.json=/data/shortcut.json"
