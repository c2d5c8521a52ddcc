#!/bin/sh
# check_deb.sh OUT: the Debian package built as make deb builds it (with its
# source) into OUT/first, and again without the unit tests into OUT/again, is
# the same bytes, holds the files in place, all root's and matching its
# md5sums, depends on what the program links, and lintian finds nothing in
# it, its source or its .changes but the overrides.
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build_deb=$(dirname "$0")/../../tools/build-deb.sh
rm -rf "$1"
"$build_deb" "$1/first" full >/dev/null
DEB_BUILD_OPTIONS=nocheck "$build_deb" "$1/again" >/dev/null
deb=$(ls "$1"/first/astrelle_*_amd64.deb)
cmp "$deb" "$1/again/${deb##*/}"

dpkg-deb -c "$deb" | awk '$2 != "root/root" { print "not owned by root: " $0; bad = 1 } END { exit bad }'
dpkg-deb -c "$deb" | awk '/^-/ { print $6 }' >"$work/files"
diff -u - "$work/files" <<'END'
./usr/libexec/xscreensaver/astrelle
./usr/share/applications/screensavers/astrelle.desktop
./usr/share/astrelle/astr.wav
./usr/share/doc/astrelle/README.Debian
./usr/share/doc/astrelle/changelog.gz
./usr/share/doc/astrelle/copyright
./usr/share/man/man6/astrelle.6x.gz
./usr/share/xscreensaver/config/astrelle.xml
END
dpkg-deb -R "$deb" "$work/tree"
(cd "$work/tree" && md5sum --quiet -c DEBIAN/md5sums)

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
case "$depends" in *libx11-6*) ;; *) echo "no libx11-6 in Depends"; exit 1 ;; esac
lintian --fail-on error,warning "$1"/first/*.changes 2>/dev/null
echo "lintian: nothing to report"
