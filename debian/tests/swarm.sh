# Sourced by the tests that look at the swarm.

program=/usr/libexec/xscreensaver/astrelle

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# swarm_shown WINDOW NAME: screenshots of WINDOW until one shows the swarm,
# counted by tools/swarm_shown.py as make run counts it (the swarm can hide
# its glow for a second or two), for 30 s at most; the last one is left in
# the artifacts as NAME.png.
swarm_shown() {
  shot=${AUTOPKGTEST_TMP:-/tmp}/$2.ppm
  for _ in $(seq 60); do
    import -window "$1" -depth 8 "$shot" 2>/dev/null || true
    why=$(python3 tools/swarm_shown.py "$shot" 2>&1) && break
    sleep 0.5
  done
  [ ! -s "$shot" ] || convert "$shot" "${AUTOPKGTEST_ARTIFACTS:-${AUTOPKGTEST_TMP:-/tmp}}/$2.png"
  [ -z "${why:-}" ] || fail "no swarm in window $1 within 30 s: $why"
}
