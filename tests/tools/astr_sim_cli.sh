#!/bin/sh
# The headless runner's command line: bad arguments give the usage and exit
# code 2; good ones run and dump what the interface promises.
set -u
sim=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
passed=0
failed=0
check() {  # check DESCRIPTION CONDITION...
  what=$1
  shift
  if "$@"; then passed=$((passed + 1)); else echo "FAIL: $what"; failed=$((failed + 1)); fi
}

rejected() {
  # shellcheck disable=SC2086
  "$sim" $1 >/dev/null 2>"$scratch/err"
  [ $? -eq 2 ] && grep -q '^usage: astr-sim' "$scratch/err"
}
while read -r args; do
  check "'$args' gives the usage and exit code 2" rejected "$args"
done <<'CASES'
--bogus
--frames
--frames -3
--frames 12x
--seed 4294967296
--step abc
--step -0.5
--window 800
--window 800,x
--hold-h 5,2
--hold-h 0,3
--frame-seconds 0.01 --particle-seconds 0.000001
--dump
CASES

line() { sed -n "$2p" "$scratch/$1"; }
records() { tail -n +4 "$scratch/$1" | cut -d' ' -f1-6; }

"$sim" --frames 3 --calibration 0 --dump "$scratch/all.txt" >/dev/null
check "no calibration keeps all 32768 records" [ "$(line all.txt 1)" = "32768 0" ]
check "the dump holds 3 lines and one per record" [ "$(wc -l <"$scratch/all.txt")" -eq 32771 ]
check "a record line holds 9 fields" [ "$(line all.txt 4 | wc -w)" -eq 9 ]

"$sim" --frames 40 --calibration 20 --particle-seconds 0.000005 --dump "$scratch/cal.txt" >/dev/null
check "5 us a particle settles at 2000 particles" [ "$(line cal.txt 1)" = "2000 0" ]

"$sim" --frames 30 --hold-h 11,30 --calibration 10 --dump "$scratch/held.txt" >/dev/null
"$sim" --frames 10 --calibration 10 --dump "$scratch/ten.txt" >/dev/null
check "held from frame 11 on, the particles stand where frame 10 left them" \
  [ "$(records held.txt)" = "$(records ten.txt)" ]

check "an unwritable dump fails" sh -c "! '$sim' --frames 1 --dump '$scratch/no/such/dir.txt' 2>/dev/null >&2"

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
