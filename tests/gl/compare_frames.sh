#!/bin/sh
# One frame of a fixed swarm, drawn by the native fixed_frame and by a Windows
# build of it under Wine on the same display (the same Mesa draws both), must
# be the same file byte for byte. Each run refuses a picture that is not the
# swarm around its glow, so two blank frames cannot match. Exits with
# wine-run's skip code when this machine cannot run the Windows build.
set -u
native_frame=$1
wine_run=$2
windows_frame=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The session's display, which the native run draws on too.
# shellcheck source=/dev/null
. "$(dirname "$wine_run")/wine-env.sh"

"$wine_run" "$windows_frame" "$scratch/windows.ppm"
status=$?
[ $status -eq 77 ] && exit 77
[ $status -eq 0 ] || { echo "FAIL: the Windows build's fixed_frame ended with status $status"; exit 1; }
if [ ! -x "$native_frame" ]; then
  echo "the native fixed_frame is missing ($native_frame): build the native preset first"
  exit 1
fi
"$native_frame" "$scratch/native.ppm" || { echo "FAIL: the native fixed_frame ended with status $?"; exit 1; }

if cmp -s "$scratch/native.ppm" "$scratch/windows.ppm"; then
  echo "the frames match: $(wc -c <"$scratch/native.ppm") bytes"
  exit 0
fi
echo "FAIL: the frames differ"
# cmp -l: the 1-based offset and both bytes in octal of every byte that differs.
header=$(head -n 3 "$scratch/native.ppm" | wc -c)
width=$(sed -n 2p "$scratch/native.ppm" | cut -d ' ' -f 1)
cmp -l "$scratch/native.ppm" "$scratch/windows.ppm" 2>&1 | awk -v header="$header" -v width="$width" '
  function decimal(octal,   v, i) { v = 0; for (i = 1; i <= length(octal); i++) v = v * 8 + substr(octal, i, 1); return v }
  $1 !~ /^[0-9]+$/ { print "  " $0; next }
  {
    n++
    if (n > 8) next
    i = $1 - 1 - header
    if (i < 0) { print "  in the header"; next }
    p = int(i / 3)
    printf "  at x %d, y %d from the top, %s: native %d, Windows %d\n", p % width, int(p / width),
           substr("RGB", i % 3 + 1, 1), decimal($2), decimal($3)
  }
  END { print "  " n + 0 " bytes differ" }'
exit 1
