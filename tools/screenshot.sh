#!/bin/sh
# screenshot.sh OUT.png FOLDER TITLE PROGRAM.exe [ARGS...]
# Starts a Windows program of the win64 build in FOLDER, inside a Wine
# virtual desktop (which draws real window frames without a window manager)
# on the build's display, waits for its window titled TITLE and saves that
# window as a PNG, replacing OUT.png. Run `build/win64/wine-session start`
# first. Only the program and the desktop started here are ended: the
# session and whatever else runs in it stay up.
set -eu
out=$(realpath -m "$1")
folder=$2
title=$3
program=$(realpath "$4")
shift 4
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/build/win64/wine-env.sh"
desktop_name=screenshot-$$
cd "$folder"
"$wine_loader" explorer /desktop="$desktop_name",800x600 "$program" "$@" >/dev/null 2>&1 &
desktop=$!

# The program's window, looked for on this desktop only: its id and geometry.
window=""
for _ in $(seq 100); do
  desktop_window=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$desktop_name - Wine desktop\":" |
    awk '{print $1}' | head -n 1) || true
  [ -n "$desktop_window" ] &&
    window=$(xwininfo -id "$desktop_window" -tree 2>/dev/null | grep -F "\"$title\":" | head -n 1) || true
  [ -n "$window" ] && break
  sleep 0.2
done
if [ -z "$window" ]; then
  echo "no window titled $title"
  kill "$desktop" 2>/dev/null || true
  exit 1
fi
geometry=$(echo "$window" | sed -E 's/.* ([0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+) .*/\1/')
sleep 1  # let it paint
import -window root -crop "$geometry" +repage "$out"

# Cutting the program's connection to the display ends the program; the
# desktop closes once nothing is left on it.
xdotool windowkill "$(echo "$window" | awk '{print $1}')" 2>/dev/null || true
for _ in $(seq 50); do
  kill -0 "$desktop" 2>/dev/null || break
  sleep 0.2
done
kill "$desktop" 2>/dev/null || true
echo "saved $out ($geometry)"
