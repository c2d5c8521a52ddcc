#!/usr/bin/env bash
# Installs the Debian packages the suite needs to build and test, skipping
# the ones already present. Safe to run again; does nothing when all is there.
set -euo pipefail

packages=(
  cmake make ninja-build g++
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
  wine wine64 xvfb xauth x11-utils imagemagick
  libgl1-mesa-dri libgl1-mesa-dev
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# Wine must never pull its 32-bit loader in: these machines cannot run it.
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
