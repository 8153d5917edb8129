#!/usr/bin/env bash
# benchmark.sh - builds Korvalinth in Release and runs the frame benchmark headless (SDL's
# offscreen driver, Mesa's llvmpipe): the median and 95th-percentile frame time of the
# empty frame, the main menu, the four set-up pages and a race on each track at 640 x 480
# and 1024 x 768, where each frame's time goes, the start-up's parts and the peak memory.
# Arguments go to the benchmark (--frames N, --warmup N, --sizes WxH,WxH, --scene KEY).
# The figures depend on what else the machine is doing: run it on an idle machine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh play
cmake -S . -B build-benchmark -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORV_TESTS=OFF >/dev/null
cmake --build build-benchmark --target korv_frame_benchmark game_data >/dev/null
exec build-benchmark/bench/korv_frame_benchmark "$@"
