#!/usr/bin/env bash
# windows.sh - cross-builds the six Windows executables with mingw-w64 and puts them,
# with the data files made by our tool, into build-win/Korvalinth/, a folder to copy to
# a Windows PC as it is. Checks that each executable imports only Windows' own DLLs.
#
#   scripts/windows.sh          build and check the imports
#   scripts/windows.sh test     the same, then the end-to-end test under Wine
#
# Prints one PASS or FAIL line per check and exits non-zero when any failed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

case "${1:-}" in
  "" | test) ;;
  *) echo "usage: $0 [test]" >&2; exit 2 ;;
esac

scripts/install-deps.sh test
for tool in x86_64-w64-mingw32-g++ x86_64-w64-mingw32-objdump wine wineserver; do
  if ! command -v "$tool" >/dev/null; then
    echo "FAIL: $tool not found; install it with:" >&2
    echo "  apt-get install --no-install-recommends g++-mingw-w64-x86-64 wine wine64" >&2
    exit 1
  fi
done

jobs=$(nproc)
echo "== Windows executables (mingw-w64 cross build)"
cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-win -j "$jobs" --target all_configurations

# The data maker runs here, so it is built natively, on its own.
echo "== data files (native build of the data maker)"
cmake -S . -B build-win-data -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORV_TESTS=OFF >/dev/null
cmake --build build-win-data -j "$jobs" --target game_data

out=build-win/Korvalinth
rm -rf "$out"
mkdir -p "$out"
cp build-win/Korvalinth-[1-6].exe "$out/"
cp -r build-win-data/data/. "$out/"
rm -f "$out/stamp"

# Nothing but the system's DLLs: libgcc, libstdc++ and the thread library are linked in.
failures=0
allowed=" opengl32.dll glu32.dll gdi32.dll user32.dll kernel32.dll winmm.dll msvcrt.dll "
for config in 1 2 3 4 5 6; do
  exe="$out/Korvalinth-$config.exe"
  dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print tolower($3) }' | sort | tr '\n' ' ')
  foreign=""
  for dll in $dlls; do
    case "$allowed" in *" $dll "*) ;; *) foreign="$foreign $dll" ;; esac
  done
  if [ -z "${dlls// /}" ]; then
    echo "FAIL: Korvalinth-$config.exe: no imports found"
    failures=$((failures + 1))
  elif [ -n "$foreign" ]; then
    echo "FAIL: Korvalinth-$config.exe imports DLLs that Windows lacks:$foreign"
    failures=$((failures + 1))
  else
    echo "PASS: Korvalinth-$config.exe imports only $dlls"
  fi
done
missing=""
for file in models/ogro/tris.md2 models/ogro/ball.md2 sky.bmp checker.bmp map.bmp; do
  [ -f "$out/$file" ] || missing="$missing $file"
done
if [ -n "$missing" ]; then
  echo "FAIL: the data maker wrote no$missing"
  failures=$((failures + 1))
else
  echo "PASS: data files next to the executables"
fi
echo "Windows executables and data files in $root/$out"

if [ "${1:-}" = test ]; then
  echo "== end-to-end test under Wine"
  # The test bounds each of its own waits; this only stops a run that hangs outright.
  timeout 900 tests/e2e_wine/game_test.sh "$out" || failures=$((failures + 1))
fi
[ "$failures" -eq 0 ]
