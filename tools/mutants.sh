#!/usr/bin/env bash
# tools/mutants.sh FAULTS SCRATCH: the mutation check of the simulation's
# unit tests. Puts each fault of the list FAULTS (tests/unit/mutants.txt
# describes its form) into a scratch copy of the sources under SCRATCH, one
# at a time, rebuilds the simulation's tests there without sanitizers and
# runs them. Exits 0 when every fault fails them; 1 when one survives; 2 when
# a fault no longer applies, breaks the build, or the unchanged tests fail.
# SCRATCH is kept between runs, so a run on a warm one rebuilds little.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 FAULTS SCRATCH" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
list=$1
src=$2/src
build=$2/build
log=$2/last.log
tests=$build/tests/unit/sim_unit_tests

die() {
  echo "mutants: $*" >&2
  exit 2
}

# The list, read into parallel arrays: what, file, from, to.
whats=() files=() froms=() tos=()
what="" file="" from="" to=""
flush() {
  if [ -z "$file$from$to" ]; then  # a comment block of its own
    what=""
    return
  fi
  [ -n "$file" ] && [ -n "$from" ] && [ -n "$to" ] || die "$list: an incomplete fault before line $number"
  whats+=("$what") files+=("$file") froms+=("$from") tos+=("$to")
  what="" file="" from="" to=""
}
number=0
while IFS= read -r line || [ -n "$line" ]; do
  number=$((number + 1))
  case $line in
    "") flush ;;
    "# "*) what="${what:+$what }${line#\# }" ;;
    "#"*) ;;
    "- "*) from=${line#- } ;;
    "+ "*) to=${line#+ } ;;
    *) [ -z "$file" ] || die "$list:$number: a second file in one fault"; file=$line ;;
  esac
done <"$list"
flush
[ ${#files[@]} -gt 0 ] || die "$list holds no fault"

# Every fault must still apply where it was meant to: its text exactly once.
for i in "${!files[@]}"; do
  f=$root/${files[$i]}
  [ -f "$f" ] || die "fault $((i + 1)) (${whats[$i]}): no file ${files[$i]}"
  content=$(<"$f")
  rest=${content//"${froms[$i]}"/}
  count=$(((${#content} - ${#rest}) / ${#froms[$i]}))
  [ "$count" -eq 1 ] ||
    die "fault $((i + 1)) (${whats[$i]}): '${froms[$i]}' is in ${files[$i]} $count times, not once"
done

# The scratch copy: files whose content changed are copied, so that the
# build there recompiles only what changed.
mkdir -p "$src"
(cd "$root" && find . -path ./build -prune -o -path ./.git -prune -o -type f -print) |
  while IFS= read -r f; do
    cmp -s "$root/$f" "$src/$f" 2>/dev/null && continue
    mkdir -p "$(dirname "$src/$f")"
    cp "$root/$f" "$src/$f"
  done
if [ ! -f "$build/CMakeCache.txt" ]; then
  # No build type: unoptimised and without debug information, the fastest
  # to rebuild; the arithmetic is the same SSE2 arithmetic as every build's.
  cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE= >"$log" 2>&1 || { cat "$log"; die "configure failed"; }
fi

build_and_run() {
  cmake --build "$build" --target sim_unit_tests >"$log" 2>&1 || return 2
  timeout 60 "$tests" --gtest_brief=1 --gtest_fail_fast >>"$log" 2>&1 || return 1
}

status=0
build_and_run || status=$?
[ $status -eq 0 ] || { cat "$log"; die "the tests fail (or do not build) without any fault"; }

survivors=()
restore=""
for i in "${!files[@]}"; do
  f=${files[$i]}
  [ -z "$restore" ] || [ "$restore" = "$f" ] || cp "$root/$restore" "$src/$restore"
  content=$(<"$root/$f")
  printf '%s\n' "${content/"${froms[$i]}"/"${tos[$i]}"}" >"$src/$f"
  restore=$f
  status=0
  build_and_run || status=$?
  case $status in
    0) survivors+=("$((i + 1)): ${whats[$i]} ($f)") ;;
    1) ;;
    *) cp "$root/$f" "$src/$f"; cat "$log"; die "fault $((i + 1)) (${whats[$i]}) does not build" ;;
  esac
done
[ -z "$restore" ] || cp "$root/$restore" "$src/$restore"

total=${#files[@]}
echo "mutants: $((total - ${#survivors[@]})) of $total faults caught"
for s in ${survivors[@]+"${survivors[@]}"}; do
  echo "survived: $s"
done
[ ${#survivors[@]} -eq 0 ]
