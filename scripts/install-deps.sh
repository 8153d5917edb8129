#!/usr/bin/env bash
# install-deps.sh - installs the Debian packages that playing (play) or building and
# testing (test) Korvalinth needs, when they are missing. Uses sudo when not root.
set -euo pipefail

profile=${1:-test}
play_packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libfreetype-dev libfontconfig-dev libgl-dev libglu1-mesa-dev
  libegl-mesa0 libgl1-mesa-dri fonts-liberation
)
test_packages=(
  "${play_packages[@]}"
  googletest libgtest-dev
  xvfb xauth xdotool x11-utils x11-apps imagemagick xfonts-base openbox wmctrl
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64 wine wine64
)
case "$profile" in
  play) wanted=("${play_packages[@]}") ;;
  test) wanted=("${test_packages[@]}") ;;
  *) echo "usage: $0 [play|test]" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
