#!/bin/sh
# Builds every preset and runs its tests: native (unit tests under the
# sanitizers, the headless runner), fuzz (the fuzzers for a bounded time),
# win64 and win32 (the Windows tests and the real programs under Wine); then
# make run's check and the README's paths. Ends with one tally over all of
# them; tests that this machine cannot run (the 32-bit ones on a kernel
# without 32-bit support, or without Wine's 32-bit half) count as skipped.
set -u
cd "$(dirname "$0")/.."
passed=0
failed=0
skipped=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT

for preset in native fuzz win64 win32; do
  echo "== $preset"
  if ! cmake --preset "$preset" >"$log" 2>&1; then
    cat "$log"
    echo "the $preset build could not be configured"
    exit 1
  fi
  cmake --build --preset "$preset" || { echo "the $preset build failed"; exit 1; }
  ctest --preset "$preset" 2>&1 | tee "$log"
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log")
  if [ -z "$summary" ]; then
    echo "ctest of $preset gave no summary"
    failed=$((failed + 1))
    continue
  fi
  failures=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests? failed.*/\1/')
  total=$(echo "$summary" | sed -E 's/.*out of ([0-9]+).*/\1/')
  skips=$(grep -c -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*\*\*\*Skipped' "$log")
  # The Wine session leaves its reason there when it could not run the build.
  unable="build/$preset/wine-state/unable"
  [ -s "$unable" ] && echo "$preset: $(cat "$unable")"
  passed=$((passed + total - failures - skips))
  failed=$((failed + failures))
  skipped=$((skipped + skips))
done

# What a newcomer types: make run's saver check, headless and short, and the
# paths and targets the README names, now that everything is built.
echo "== newcomer"
check() {
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "FAILED: $*"
    failed=$((failed + 1))
  fi
}
check env -u DISPLAY RUN_SECONDS=3 tools/run-saver.sh
check sh -c 'DISPLAY=:9999 tools/run-saver.sh 2>&1 | grep -x "make run: cannot open the display :9999"'
check tools/check_readme.py README.md

echo "all presets: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
