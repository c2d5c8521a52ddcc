#!/bin/sh
# Exit status 0 when this kernel runs 32-bit x86 processes, 1 when it does
# not, 2 when the test itself could not be made: links the smallest static
# i386 program (exit(32)) and starts it. The 32-bit Windows programs run
# under Wine only where this holds. The program is made in the build folder,
# which must allow running programs anyway (a temp folder might not).
set -u
probe=$(cd "$(dirname "$0")/.." && pwd)/build/i386-probe
mkdir -p "$probe" || exit 2
printf '.globl _start\n_start:\n  movl $1, %%eax\n  movl $32, %%ebx\n  int $0x80\n' >"$probe/exit32.s"
if ! as --32 -o "$probe/exit32.o" "$probe/exit32.s" || ! ld -m elf_i386 -o "$probe/exit32" "$probe/exit32.o"; then
  echo "could not link the 32-bit test program" >&2
  exit 2
fi
"$probe/exit32" 2>/dev/null
[ $? -eq 32 ]
