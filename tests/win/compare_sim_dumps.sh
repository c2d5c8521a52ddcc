#!/bin/sh
# The headless swarm must come out byte for byte the same on the native build
# and on a Windows build under Wine, for runs that touch every rule. Exits
# with wine-run's skip code when this machine cannot run the Windows build.
set -u
native_sim=$1
wine_run=$2
windows_sim=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
passed=0
failed=0
n=0
while read -r args; do
  n=$((n + 1))
  # shellcheck disable=SC2086
  "$wine_run" "$windows_sim" $args --dump "$scratch/windows-$n.txt" >/dev/null
  status=$?
  [ $status -eq 77 ] && exit 77
  if [ ! -x "$native_sim" ]; then
    echo "the native astr-sim is missing ($native_sim): build the native preset first"
    exit 1
  fi
  # shellcheck disable=SC2086
  "$native_sim" $args --dump "$scratch/native-$n.txt" >/dev/null || { echo "FAIL: native astr-sim $args"; exit 1; }
  if [ $status -eq 0 ] && cmp -s "$scratch/native-$n.txt" "$scratch/windows-$n.txt"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: astr-sim $args differs between the builds:"
    diff "$scratch/native-$n.txt" "$scratch/windows-$n.txt" | head -n 6
  fi
done <<'RUNS'
--frames 300
--seed 20261208 --frames 400 --particle-seconds 0.0000007
--calibration 0 --frames 60 --window 600,800 --step 0.033
--seed 0 --frames 300 --hold-h 100,200
--seed 4294967295 --calibration 2048 --frames 2060 --particle-seconds 0.000001 --window 640,480
--seed 77 --frames 500 --calibration 30 --frame-seconds 0.02 --step 0.1
RUNS
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
