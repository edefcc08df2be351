#!/usr/bin/env bash
# For development: builds a release build in build/release and runs Taviro
# from there, without installing anything but missing Debian packages.
# Without a display it runs the headless driver instead; arguments are passed
# to the program. Access to the devices and the libinput quirks come with the
# package (scripts/run.sh) or with `cmake --install` (docs/linux.md).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/deps.sh run
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTAVIRO_BUILD_TESTS=OFF -DTAVIRO_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/release -j "$(nproc)"
if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
  exec build/release/Taviro.app/Contents/MacOS/Taviro "$@"
fi
echo "No display found: running the headless driver (taviro-driver)." >&2
exec build/release/taviro-driver "$@"
