#!/bin/sh
# soak.sh [SECONDS]: astr.scr /s under Wine for that long (600 by default),
# its working set sampled every second once the swarm shows. Fails when the
# working set grows by more than 2 MiB, or when the run does not end cleanly
# on Escape. make test runs the same check for 30 s.
set -eu
cd "$(dirname "$0")/.."
preset=$(tools/windows-build.sh)
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target e2e_astr
"build/$preset/wine-session" start
trap '"build/$preset/wine-session" stop' EXIT
ASTR_SOAK_SECONDS=${1:-600} "build/$preset/wine-run" "build/$preset/tests/e2e/e2e_astr.exe" \
  --gtest_filter=Astr.RunsWithoutGrowing
