#!/bin/sh
# Exit status 0 when this kernel runs 32-bit x86 processes, 1 when it does
# not: links the smallest static i386 program (exit(32)) and starts it.
# The 32-bit Windows programs run under Wine only where this holds.
set -u
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
printf '.globl _start\n_start:\n  movl $1, %%eax\n  movl $32, %%ebx\n  int $0x80\n' >"$scratch/exit32.s"
as --32 -o "$scratch/exit32.o" "$scratch/exit32.s" &&
  ld -m elf_i386 -o "$scratch/exit32" "$scratch/exit32.o" || exit 1
"$scratch/exit32" 2>/dev/null
[ $? -eq 32 ]
