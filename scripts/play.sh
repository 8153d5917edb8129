#!/usr/bin/env bash
# play.sh - builds Korvalinth and plays it in play/, a folder that survives rebuilds
# (it keeps save.car), with the data files made by our tool copied in.
# KORV_CONFIGURATION=1..6 picks the display configuration (default 1: 640x480 windowed).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh play
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORV_TESTS=OFF \
  -DKORV_CONFIGURATION="${KORV_CONFIGURATION:-1}" >/dev/null
cmake --build build --target Korvalinth game_data
mkdir -p play
cp -r build/data/. play/
rm -f play/stamp
cd play
exec ../build/Korvalinth
