#!/bin/sh
# make run: the screensaver's full-screen run, astr.scr /s, under Wine: the
# shipped 32-bit build where it runs here, else the 64-bit one
# (tools/windows-build.sh says why). On a display of your own it runs until
# you press Escape (or move the mouse once the swarm shows). Without one it
# runs on a private Xvfb for RUN_SECONDS (15), saves a screenshot and presses
# Escape itself. Either way it prints what the saver calibrated to. It exits
# with 1, and one line saying why, when the saver did not start, did not
# calibrate, did not show the swarm or did not end on Escape; make test runs
# it headless for a few seconds.
set -eu
cd "$(dirname "$0")/.."
preset=$(tools/windows-build.sh)
build=build/$preset
saver=$build/astr/win32/astr.scr
seconds=${RUN_SECONDS:-15}
screenshot=build/astr-screenshot.png
own_display=${DISPLAY:-}

fail() {
  echo "make run: $*" >&2
  exit 1
}

if [ -n "$own_display" ] && ! xdpyinfo >/dev/null 2>&1; then
  fail "cannot open the display $own_display"
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target astr || fail "the $preset build of astr.scr failed"
[ -f "$saver" ] || fail "the build made no $saver"
"$build/wine-session" start >/dev/null
pid=""
scratch=$(mktemp -d)
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$scratch"; "$build/wine-session" stop' EXIT
. "$build/wine-env.sh"

# The saver tells a debugger what it calibrated to; Wine prints that here.
log=$scratch/saver.log
WINEDEBUG=warn+debugstr "$wine_loader" "$saver" /s 2>"$log" &
pid=$!
started=$(date +%s)
calibrated() {
  sed -n 's/.*OutputDebugStringA "astr: \(.*\)\\n"/\1/p' "$log"
}
running() {
  kill -0 "$pid" 2>/dev/null
}
reap() {
  status=0
  wait "$pid" || status=$?
}

if [ -n "$own_display" ]; then
  echo "astr.scr /s on $own_display: press Escape to end it"
  reap
  found=$(calibrated)
  [ -n "$found" ] || fail "astr.scr /s ended with status $status before its swarm showed"
  [ "$status" -eq 0 ] || fail "astr.scr /s ended with status $status"
  echo "$found"
  exit 0
fi

i=0
while [ -z "$(calibrated)" ]; do
  running || { reap; fail "astr.scr /s ended with status $status before its swarm showed"; }
  i=$((i + 1))
  [ $i -le 600 ] || fail "astr.scr /s did not calibrate within 60 s"
  sleep 0.1
done
found=$(calibrated)
while [ $(($(date +%s) - started)) -lt "$seconds" ] && running; do
  sleep 0.2
done

# The swarm can crowd its glow out of sight for a second or two: look again
# until a picture shows both, for 10 s at most.
shot=$scratch/shot.ppm
shown=false
for _ in $(seq 40); do
  running || { reap; fail "astr.scr /s ended with status $status while its swarm showed"; }
  import -window root -depth 8 "$shot" || fail "no screenshot could be taken of $DISPLAY"
  why=$(tools/swarm_shown.py "$shot" 2>&1) && shown=true && break
  sleep 0.25
done
/usr/bin/convert "$shot" "$screenshot"
$shown || fail "the screen did not show the swarm: $why; see $screenshot"

xdotool key Escape
i=0
while running; do
  i=$((i + 1))
  [ $i -le 100 ] || fail "astr.scr /s did not end on Escape"
  sleep 0.1
done
reap
[ "$status" -eq 0 ] || fail "astr.scr /s ended on Escape with status $status"
echo "$found; the screen after $seconds s: $screenshot"
