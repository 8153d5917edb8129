#!/usr/bin/env bash
# fuzz.sh - builds the loader fuzzers (libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each for a bounded time.
#
#   scripts/fuzz.sh [seconds per fuzzer, default 30]
#
# Needs clang++ and libFuzzer's runtime (Debian: clang, libclang-rt-14-dev); installs
# nothing. The seeds are the shared loader test files. An input that crashes a loader is
# left in build-fuzz/findings-<loader>/ and the script exits non-zero; the mend comes
# with a loader test of that input and the outcome it must have, next to the loader's
# other small files.
set -euo pipefail

seconds="${1:-30}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
    echo "usage: $0 [seconds per fuzzer]" >&2
    exit 2
fi

root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/build-fuzz"
shared="$root/../shared/testdata"
cxx="${FUZZ_CXX:-clang++}"

if ! command -v "$cxx" >/dev/null; then
    echo "fuzz.sh: $cxx not found (Debian: apt-get install clang libclang-rt-14-dev)" >&2
    exit 2
fi
mkdir -p "$out"
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' \
    >"$out/probe.cpp"
if ! "$cxx" -fsanitize=fuzzer,address,undefined "$out/probe.cpp" -o "$out/probe" 2>/dev/null; then
    echo "fuzz.sh: $cxx cannot link libFuzzer (Debian: apt-get install libclang-rt-14-dev)" >&2
    exit 2
fi

flags=(-std=c++17 -g -O1 -fno-omit-frame-pointer
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -Wall -Wextra -I"$root/engine" -I"$root/platform/include" -I"$root/tests/support")
engine=("$root/engine/bitmap.cpp" "$root/engine/md2_model.cpp" "$root/engine/vector3.cpp"
        "$root/platform/file_system_posix.cpp" "$root/tests/support/recording_gl.cpp")

# name, extension of its inputs, seed files
build_and_run() {
    local name="$1" extension="$2"
    shift 2
    local binary="$out/${name}_fuzzer" corpus="$out/corpus-$name" findings="$out/findings-$name"
    local work="$out/work-$name"
    echo "== $name: building"
    "$cxx" "${flags[@]}" "$root/tests/fuzz/${name}_fuzzer.cpp" "${engine[@]}" -o "$binary"

    mkdir -p "$corpus" "$findings" "$work"
    rm -f "$findings"/*
    local seed
    for seed in "$@"; do
        [ -f "$seed" ] && cp "$seed" "$corpus/"
    done

    echo "== $name: fuzzing for $seconds s"
    local status=0
    (cd "$work" && ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=1" \
        "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=32768 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$corpus") || status=$?
    if [ "$status" -ne 0 ]; then
        local finding
        for finding in "$findings"/*; do
            [ -f "$finding" ] && echo "== $name: finding $finding (a .$extension file)"
        done
        echo "== $name: FAILED (status $status)"
        return 1
    fi
    echo "== $name: no crash"
}

failed=0
build_and_run bitmap bmp "$shared"/bmp/*/*.bmp "$shared"/bmp/bmpsuite/*/*.bmp \
    "$shared"/md2/derived/*.bmp || failed=1
build_and_run md2 md2 "$shared"/md2/derived/*.md2 "$shared"/md2/assimp/malformed_zero_numvertices.md2 \
    || failed=1
exit "$failed"
