#!/bin/sh
# check_package.sh PACKAGE COMMAND...
# COMMAND, given --out FOLDER, makes the package in FOLDER; PACKAGE is the
# folder the build made with it. Made again now, at another time, the
# package must be the same bytes, and its zip must hold the folder, file for
# file.
set -u
package=$1
shift
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
name=$(basename "$package")
failed=0

# A zip entry's time counts in steps of 2 s.
[ $(($(date +%s) - $(stat -c %Y "$package.zip"))) -ge 2 ] || sleep 2
"$@" --out "$scratch/$name" || { echo "FAIL: the package could not be made again"; exit 1; }
cmp "$package.zip" "$scratch/$name.zip" || { echo "FAIL: the zip made now differs from the build's"; failed=1; }
diff -r "$package" "$scratch/$name" || { echo "FAIL: the folder made now differs from the build's"; failed=1; }

mkdir "$scratch/unzipped"
(cd "$scratch/unzipped" && unzip -q "$package.zip") || { echo "FAIL: cannot unzip $package.zip"; exit 1; }
diff -r "$package" "$scratch/unzipped/$name" || { echo "FAIL: the zip does not hold the package folder"; failed=1; }

[ $failed -eq 0 ] && echo "$package: the same bytes when made again; the zip holds the folder"
exit $failed
