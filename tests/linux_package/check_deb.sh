#!/bin/sh
# check_deb.sh OUT: astrelle's package built as make deb builds it, with its
# source package, into OUT/first; built again without the unit tests
# (DEB_BUILD_OPTIONS=nocheck) into OUT/again, it is the same bytes. It holds
# the files in the places hosts look, depends on the libraries the program
# links, and lintian finds nothing in it, its source or its .changes but the
# overrides. The installed-package test takes OUT/first from here.
set -eu
out=$1
build_deb=$(dirname "$0")/../../tools/build-deb.sh
rm -rf "$out"
"$build_deb" "$out/first" full >/dev/null
DEB_BUILD_OPTIONS=nocheck "$build_deb" "$out/again" >/dev/null
for deb in "$out"/again/*.deb; do
  cmp "$out/first/${deb##*/}" "$deb"
done

deb=$(ls "$out"/first/astrelle_*_amd64.deb)
dpkg-deb -c "$deb" | awk '/^-/ { print $6 }' | diff -u - /dev/fd/3 3<<'END'
./usr/libexec/xscreensaver/astrelle
./usr/share/applications/screensavers/astrelle.desktop
./usr/share/astrelle/astr.wav
./usr/share/doc/astrelle/README.Debian
./usr/share/doc/astrelle/changelog.gz
./usr/share/doc/astrelle/copyright
./usr/share/man/man6/astrelle.6x.gz
./usr/share/xscreensaver/config/astrelle.xml
END
depends=$(dpkg-deb -f "$deb" Depends)
for library in libx11-6 libglx0 libasound2; do
  case "$depends" in *"$library"*) ;; *) echo "no $library in Depends: $depends"; exit 1 ;; esac
done
lintian --fail-on error,warning "$out"/first/*.changes 2>/dev/null
echo "the same bytes twice; lintian: nothing but the overrides"
