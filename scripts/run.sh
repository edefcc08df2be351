#!/usr/bin/env bash
# Installs what is missing, builds Taviro and runs it. Without a display it
# runs the headless driver instead; arguments are passed to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/deps.sh run
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTAVIRO_BUILD_TESTS=OFF -DTAVIRO_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/release -j "$(nproc)"
app=build/release/Taviro.app/Contents/MacOS/Taviro
if [[ -x $app && ( -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ) ]]; then
  exec "$app" "$@"
fi
if [[ -x build/release/taviro-driver ]]; then
  [[ -x $app ]] && echo "No display found: running the headless driver (taviro-driver)." >&2
  exec build/release/taviro-driver "$@"
fi
exec build/release/taviro-replay "$@" data/sample-stroke.txt
