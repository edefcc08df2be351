#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# a ThreadSanitizer build of the platform-free core, then the full build's
# ctest suite (unit, widget, fuzz and VM tests are all ctest tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/deps.sh test
jobs=$(nproc)
common=(-G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)

echo "== ThreadSanitizer build of the core" >&2
cmake -S . -B build/tsan "${common[@]}" -DCMAKE_BUILD_TYPE=Debug \
  -DTAVIRO_CORE_ONLY=ON -DTAVIRO_SANITIZE=thread >/dev/null
cmake --build build/tsan -j "$jobs"
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build/tsan -j "$jobs" --output-on-failure

echo "== Full build" >&2
cmake -S . -B build/test "${common[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVIRO_BUILD_FUZZERS=ON >/dev/null
cmake --build build/test -j "$jobs"
ctest --test-dir build/test -j "$jobs" --output-on-failure "$@"
