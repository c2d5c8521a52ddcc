#!/bin/sh
# make run: the screensaver's full-screen run, astr.scr /s, under Wine: the
# shipped 32-bit build where this kernel runs 32-bit processes, else the
# 64-bit one. On a display of your own it runs until you press Escape (or
# move the mouse once the swarm shows). Without a display it runs on a
# private Xvfb for RUN_SECONDS (15) seconds and saves a screenshot. Either
# way it then prints what the calibration found.
set -eu
cd "$(dirname "$0")/.."
preset=win64
tools/kernel-runs-i386.sh && preset=win32
seconds=${RUN_SECONDS:-15}
screenshot=build/astr-screenshot.png
own_display=${DISPLAY:-}

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target astr
session=build/$preset/wine-session
"$session" start
log=$(mktemp)
trap 'rm -f "$log"; "$session" stop' EXIT
. "build/$preset/wine-env.sh"

# The saver tells a debugger what it calibrated to; Wine prints that here.
if [ -n "$own_display" ]; then
  echo "astr.scr /s: press Escape to end it"
  WINEDEBUG=warn+debugstr "$wine_loader" "build/$preset/astr/astr.scr" /s 2>"$log" || true
else
  WINEDEBUG=warn+debugstr "$wine_loader" "build/$preset/astr/astr.scr" /s 2>"$log" &
  saver=$!
  sleep "$seconds"
  import -window root "$screenshot"
  echo "saved $screenshot after $seconds s"
  xdotool key Escape
  for _ in $(seq 50); do
    kill -0 "$saver" 2>/dev/null || break
    sleep 0.2
  done
  if kill -0 "$saver" 2>/dev/null; then
    echo "the saver did not end on Escape"
    exit 1
  fi
fi
found=$(sed -n 's/.*OutputDebugStringA "astr: \(.*\)\\n"/\1/p' "$log")
echo "${found:-calibration did not end}"
