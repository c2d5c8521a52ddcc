#!/bin/sh
# Prints the preset of the Windows build that runs here under Wine: win32,
# the shipped one, where the kernel runs 32-bit processes and Wine has its
# 32-bit half; else win64, with one line on standard error saying why.
cd "$(dirname "$0")/.." || exit 1
status=0
tools/kernel-runs-i386.sh || status=$?
if [ $status -ne 0 ]; then
  echo "this kernel ($(uname -r)) does not run 32-bit processes: using the 64-bit build" >&2
elif [ ! -x /usr/lib/wine/wine ]; then
  echo "Wine's 32-bit half is not installed: using the 64-bit build" >&2
else
  echo win32
  exit 0
fi
echo win64
