#!/usr/bin/env bash
# install-deps.sh [native|deb|bench|dist|run|test]: installs the Debian
# packages that make target needs (test, everything, when none is named),
# skipping the ones already present. Safe to run again; quick when all is
# there.
#
#   native, install  astrelle: g++, X11, Wayland, EGL, GL and ALSA headers,
#                    GoogleTest
#   deb              the same and what dpkg-buildpackage needs: debhelper
#                    (which brings dpkg-dev) and build-essential
#   bench            the same, Xvfb and sway, for the benches
#   dist             the Windows programs: mingw-w64, no Wine
#   run              the Windows programs under Wine on an Xvfb
#   test             all of it, and the fuzzers, lintian, autopkgtest,
#                    XScreenSaver, and the headless compositors astrelle's
#                    Wayland host is tested on
#
# Mirrors are sometimes caught half-synced: an index that fails to download
# is retried, then the lists apt already has are used, and the script fails
# only when a package that is needed cannot be installed, saying which and
# why in one line.
#
# The shipped programs are 32-bit: for run and test, where the kernel runs
# 32-bit processes, Wine gets its 32-bit half (i386 packages beside the
# 64-bit ones, one WoW64 prefix for both). That half is optional: when it
# cannot be installed the script says why, and the 32-bit tests are then
# skipped with that reason. Where the kernel cannot run 32-bit processes it
# would only break Wine's launcher, so it is left out.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:-test}

native=(
  cmake make ninja-build g++ binutils python3 pkg-config
  libx11-dev libgl-dev libgl1-mesa-dev libasound2-dev
  libwayland-dev wayland-protocols libegl-dev libxkbcommon-dev
  googletest libgtest-dev libbenchmark-dev
)
windows=(
  cmake make ninja-build binutils python3 googletest
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
)
wine=(wine wine64 xvfb xauth x11-utils xdotool imagemagick libgl1-mesa-dri)
deb=(debhelper build-essential)
testing=(
  clang libclang-rt-14-dev unzip
  libxml2-utils desktop-file-utils lintian autopkgtest
  xscreensaver xscreensaver-gl
  sway weston grim wtype
)
wine32=(wine32:i386 libgl1:i386 libgl1-mesa-dri:i386)

case $target in
  native | install) needed=("${native[@]}") ;;
  deb) needed=("${native[@]}" "${deb[@]}") ;;
  bench) needed=("${native[@]}" xvfb xauth libgl1-mesa-dri sway) ;;
  dist) needed=("${windows[@]}") ;;
  run) needed=("${windows[@]}" "${wine[@]}") ;;
  test) needed=("${native[@]}" "${deb[@]}" "${windows[@]}" "${wine[@]}" "${testing[@]}") ;;
  *) echo "usage: install-deps.sh [native|deb|bench|dist|run|test]" >&2; exit 2 ;;
esac

# Where the run and test targets note why Wine has no 32-bit half, for the
# Wine session of the 32-bit build to repeat when it skips that build's tests.
wine32_note=build/wine32-missing

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive

missing_from() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

# apt-get update, retried while some index fails to download; in the end the
# lists apt has are good enough for whatever they can install.
update_lists() {
  local attempt errors
  for attempt in 1 2 3; do
    if errors=$($sudo apt-get update -qq 2>&1 >/dev/null); then
      return 0
    fi
    [ $attempt -eq 3 ] || sleep $((attempt * 2))
  done
  echo "apt-get update failed 3 times ($(echo "$errors" | grep -m1 '^E:' | cut -c4-));" \
       "going on with the package lists there are"
}

# Why apt cannot install one package, in one line: the first broken
# dependency apt names (the package's own where it names one), then apt's
# verdict.
why_not() {
  local report depends verdict
  report=$(apt-get install -s --no-install-recommends "$1" 2>&1 || true)
  depends=$(echo "$report" | grep -m1 -E "^ ${1%%:*}(:[a-z0-9]+)? : " ||
            echo "$report" | grep -m1 -E '^ [^ ]+ : ' || true)
  verdict=$(echo "$report" | grep '^E:' | tail -n1 | cut -c4-)
  depends=$(echo "$depends" | sed -E 's/^ +//; s/ +/ /g')
  echo "${depends:+$depends; }${verdict:-apt gave no reason}"
}

# Installs the packages; on failure names each one that cannot be installed
# and apt's reason, one line each, and answers 1.
install_packages() {
  echo "installing: $*"
  local errors p named=false
  errors=$($sudo apt-get install -y -qq --no-install-recommends "$@" 2>&1 >/dev/null) && return 0
  for p in "$@"; do
    if ! apt-get install -s --no-install-recommends "$p" >/dev/null 2>&1; then
      echo "cannot install $p: $(why_not "$p")"
      named=true
    fi
  done
  $named || echo "cannot install $*: $(echo "$errors" | grep '^E:' | tail -n1 | cut -c4-)"
  return 1
}

# What every target needs first: the 32-bit probe below needs binutils.
mapfile -t missing < <(missing_from "${needed[@]}")
if [ ${#missing[@]} -gt 0 ]; then
  update_lists
  install_packages "${missing[@]}" || exit 1
fi
[ "$target" = run ] || [ "$target" = test ] || exit 0

status=0
tools/kernel-runs-i386.sh || status=$?
case $status in
  0) ;;
  1)
    echo "this kernel ($(uname -r)) does not run 32-bit processes: no 32-bit Wine"
    if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
      echo "wine32:i386 is installed all the same: /usr/bin/wine fails here; the build's wine-run does not"
    fi
    exit 0 ;;
  *)
    echo "whether this kernel runs 32-bit processes could not be told: no 32-bit Wine"
    exit 0 ;;
esac
mapfile -t missing32 < <(missing_from "${wine32[@]}")
[ ${#missing32[@]} -eq 0 ] && { rm -f "$wine32_note"; exit 0; }
# make run goes on with the 64-bit build where the half could not be had;
# make test tries again each time.
[ "$target" = run ] && [ -s "$wine32_note" ] && exit 0

added_i386=false
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  added_i386=true
fi
update_lists
echo "installing: ${missing32[*]}"
if reasons=$(install_packages "${missing32[@]}"); then
  rm -f "$wine32_note"
  exit 0
fi
reason=$(echo "$reasons" | grep -m1 '^cannot install' || echo "apt-get install failed")
mkdir -p "$(dirname "$wine32_note")"
echo "$reason" >"$wine32_note"
echo "Wine's 32-bit half is left out ($reason): the 32-bit tests are skipped and make run uses the 64-bit build"
# A foreign architecture added for nothing would only slow every later update.
if $added_i386 && [ -z "$(dpkg-query -W -f='${Architecture}\n' 2>/dev/null | grep -x i386)" ]; then
  $sudo dpkg --remove-architecture i386
fi
exit 0
