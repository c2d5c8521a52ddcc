#!/bin/sh
# run_fuzzer.sh FUZZER CORPUS SECONDS: fuzzes from a copy of the seed corpus
# for that long; any finding fails.
set -u
fuzzer=$1
seeds=$2
seconds=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$seeds"/* "$work/"
cd "$work" || exit 1
"$fuzzer" -max_total_time="$seconds" -print_final_stats=1 "$work" >log 2>&1
status=$?
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ *DONE)' log
if [ $status -ne 0 ]; then
  tail -n 40 log
  echo "the fuzzer found a fault (exit $status)"
fi
exit $status
