#!/usr/bin/env bash
# test.sh - installs what is missing, builds everything (the six configurations
# included) and runs every test: the suite, the suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the loader fuzzers for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

jobs=$(nproc)
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "== build (GCC)"
cmake -S . -B build-ci -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-ci -j "$jobs"

echo "== build (Clang, AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DKORV_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"

echo "== fuzzers"
if [ -x scripts/fuzz.sh ]; then scripts/fuzz.sh "${KORV_FUZZ_SECONDS:-20}"; fi

echo "== Windows executables, end to end under Wine"
scripts/windows.sh test

echo "== tests under the sanitizers"
ctest --test-dir build-asan -j "$jobs" --output-on-failure -LE e2e

echo "== tests"
ctest --test-dir build-ci -j "$jobs" --output-on-failure
