#!/bin/sh
# screenshot.sh OUT.png FOLDER TITLE PROGRAM.exe [ARGS...]
# Starts a Windows program of the win64 build in FOLDER, inside a Wine
# virtual desktop (which draws real window frames without a window manager)
# on the build's display, waits for its window titled TITLE and saves that
# window as a PNG. Run `build/win64/wine-session start` first.
set -eu
out=$(realpath -m "$1")
folder=$2
title=$3
program=$(realpath "$4")
shift 4
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/build/win64/wine-env.sh"
cd "$folder"
"$wine_loader" explorer /desktop=screenshot,800x600 "$program" "$@" >/dev/null 2>&1 &

geometry=""
for _ in $(seq 100); do
  geometry=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$title\":" | head -n 1 |
    sed -E 's/.* ([0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+) .*/\1/') || true
  [ -n "$geometry" ] && break
  sleep 0.2
done
[ -n "$geometry" ] || { echo "no window titled $title"; wineserver -k; exit 1; }
sleep 1  # let it paint
import -window root -crop "$geometry" +repage "$out"
wineserver -k 2>/dev/null || true  # ends the desktop and the program
echo "saved $out ($geometry)"
