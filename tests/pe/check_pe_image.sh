#!/bin/sh
# check_pe_image.sh OBJDUMP IMAGE FORMAT SUBSYSTEM
# The image must be of that format (pei-i386, pei-x86-64) and subsystem (gui,
# console), and import system DLLs only: no compiler runtime DLLs to ship.
set -u
objdump=$1
image=$2
format=$3
subsystem=$4
header=$("$objdump" -p "$image") || { echo "FAIL: cannot read $image"; exit 1; }
failed=0

echo "$header" | grep -q "file format $format\$" || { echo "FAIL: $image is not $format"; failed=1; }
case $subsystem in
  gui) want='(Windows GUI)' ;;
  console) want='(Windows CUI)' ;;
esac
echo "$header" | grep -E '^Subsystem' | grep -qF "$want" || { echo "FAIL: $image is not a $subsystem image"; failed=1; }

system_dlls='kernel32 user32 gdi32 opengl32 advapi32 winmm msvcrt shell32 comctl32 comdlg32 ole32 oleaut32 version'
for dll in $(echo "$header" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sed 's/\.dll$//'); do
  case " $system_dlls " in
    *" $dll "*) ;;
    *) echo "FAIL: $image imports $dll.dll"; failed=1 ;;
  esac
done
[ $failed -eq 0 ] && echo "$image: $format, $subsystem, system DLLs only"
exit $failed
