#!/bin/sh
# build-deb.sh OUT_DIR [BUILD]: astrelle's Debian package, with its debug
# symbols, .buildinfo and .changes, built by dpkg-buildpackage from debian/
# and moved to OUT_DIR; prints the .deb's path. BUILD is dpkg-buildpackage's
# --build: binary (the default), or full for the source package too.
# dpkg-buildpackage writes beside the tree it builds, so it builds a copy of
# the checkout made under build/: the checkout and its parent stay as they
# were. The same commit gives the same .deb, wherever it is built: every time
# stamp is the newest changelog entry's date, and no path reaches the files.
set -eu
[ $# -eq 1 ] || [ $# -eq 2 ] || { echo "usage: build-deb.sh OUT_DIR [binary|full]" >&2; exit 2; }
mkdir -p "$1"
out=$(cd "$1" && pwd)
cd "$(dirname "$0")/.."
mkdir -p build
work=$(mktemp -d "$PWD/build/deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
log=build/deb.log

echo "building astrelle's package with dpkg-buildpackage (its log: $log)"
mkdir "$work/astrelle"
tar -cf - --exclude=./build --exclude=./dist --exclude=./.git . | tar -xf - -C "$work/astrelle"
if ! (cd "$work/astrelle" && dpkg-buildpackage -us -uc --build="${2:-binary}" -jauto) >"$log" 2>&1; then
  tail -n 30 "$log" >&2
  echo "build-deb.sh: dpkg-buildpackage failed (the whole log: $log)" >&2
  exit 1
fi
rm -rf "$work/astrelle"
mv "$work"/* "$out"/
echo "$out/astrelle_$(dpkg-parsechangelog -S Version)_$(dpkg --print-architecture).deb"
