#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# a ThreadSanitizer build of the platform-free core, an AddressSanitizer and
# UndefinedBehaviorSanitizer build of everything with the fuzz targets, then
# the full build's ctest suite (unit, widget and VM tests are all ctest tests).
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

# Every test but the VM test (the same code on a real kernel, only slower
# here) and the package check (which builds the package from the sources)
# with AddressSanitizer and UndefinedBehaviorSanitizer, the first finding
# failing its test. Every library also carries the coverage the
# libFuzzer targets need, which run here for a bounded time (label fuzz).
echo "== AddressSanitizer + UndefinedBehaviorSanitizer build, and the fuzz targets" >&2
cmake -S . -B build/asan "${common[@]}" -DCMAKE_BUILD_TYPE=Debug \
  -DTAVIRO_SANITIZE=address,undefined,fuzzer-no-link -DTAVIRO_BUILD_FUZZERS=ON \
  -DTAVIRO_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/asan -j "$jobs" --output-on-failure -LE 'vm|package'

echo "== Full build" >&2
cmake -S . -B build/test "${common[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVIRO_BUILD_FUZZERS=OFF >/dev/null
cmake --build build/test -j "$jobs"
ctest --test-dir build/test -j "$jobs" --output-on-failure "$@"
