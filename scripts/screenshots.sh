#!/usr/bin/env bash
# screenshots.sh - makes the pictures of a race on each of the four tracks (race-1.png
# to race-4.png), of the main menu (menu.png) and of the four set-up pages (setup-*.png),
# headless, with the screenshot tests, into the folder given as the first argument
# (default docs/screenshots). Shares the build folder of test.sh. The race pictures are
# taken inside the whole-race tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

out=${1:-docs/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)

cmake -S . -B build-ci -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-ci --target race_whole_test menus_screenshots_test game_data
KORV_SCREENSHOT_DIR="$out" ctest --test-dir build-ci -R '^(Tracks/RaceWhole|MenuScreenshots)' \
  --output-on-failure

# The test stores the image data uncompressed; ImageMagick packs it.
if command -v convert >/dev/null; then
  for picture in "$out"/race-*.png "$out"/menu.png "$out"/setup-*.png; do convert "$picture" -strip "$picture"; done
fi
ls -l "$out"/race-*.png "$out"/menu.png "$out"/setup-*.png
