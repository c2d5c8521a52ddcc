#!/usr/bin/env bash
# Installs the Debian packages the suite needs to build and test, skipping
# the ones already present. Safe to run again; does nothing when all is there.
#
# The shipped programs are 32-bit: where the kernel runs 32-bit processes,
# Wine gets its 32-bit half (i386 packages beside the 64-bit ones, one WoW64
# prefix for both). Elsewhere the 32-bit half would only break Wine's
# launcher, so it is left out and the 32-bit tests are skipped.
set -euo pipefail
cd "$(dirname "$0")"

packages=(
  cmake make ninja-build g++ binutils
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
  wine wine64 xvfb xauth x11-utils xdotool imagemagick
  libgl1-mesa-dri libgl1-mesa-dev
  libx11-dev libgl-dev libasound2-dev
  libxml2-utils desktop-file-utils dpkg-dev lintian
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  python3 unzip
  xscreensaver xscreensaver-gl
)
packages_i386=(wine32:i386 libgl1:i386 libgl1-mesa-dri:i386)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive

missing_from() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

install() {
  echo "installing: $*"
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "$@"
}

mapfile -t missing < <(missing_from "${packages[@]}")
[ ${#missing[@]} -eq 0 ] || install "${missing[@]}"

status=0
./kernel-runs-i386.sh || status=$?
case $status in
  0) ;;
  1)
    echo "this kernel ($(uname -r)) does not run 32-bit processes: no 32-bit Wine"
    if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
      echo "wine32:i386 is installed all the same: /usr/bin/wine fails here; the build's wine-run does not"
    fi
    exit 0 ;;
  *) exit 1 ;;
esac
mapfile -t missing < <(missing_from "${packages_i386[@]}")
[ ${#missing[@]} -eq 0 ] && exit 0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
install "${missing[@]}"
