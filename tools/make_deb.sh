#!/bin/sh
# make_deb.sh VERSION BUILD_DIR OUT_DIR: astrelle_VERSION_ARCH.deb in OUT_DIR,
# from the native build's install with the prefix /usr. The same build gives
# the same bytes every time: fixed times (SOURCE_DATE_EPOCH, else the
# changelog's date), root ownership, modes set here, gzip without names.
set -eu
[ $# -eq 3 ] || { echo "usage: make_deb.sh VERSION BUILD_DIR OUT_DIR" >&2; exit 2; }
version=$1
build=$(cd "$2" && pwd)
out=$3
debian=$(cd "$(dirname "$0")/../package/linux/debian" && pwd)
umask 022
export LC_ALL=C

changelog_version=$(dpkg-parsechangelog -l "$debian/changelog" -S Version)
if [ "$changelog_version" != "$version" ]; then
  echo "make_deb.sh: package/linux/debian/changelog's newest entry is for $changelog_version," \
       "not $version: add an entry for $version" >&2
  exit 1
fi
epoch=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l "$debian/changelog" -S Timestamp)}
architecture=$(dpkg --print-architecture)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Laid out as dpkg-shlibdeps expects: debian/control beside the package's tree.
root=$work/debian/astrelle
mkdir -p "$root/DEBIAN"
printf 'Source: astrelle\n\nPackage: astrelle\nArchitecture: any\n' >"$work/debian/control"
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null

program=usr/libexec/xscreensaver/astrelle
doc=$root/usr/share/doc/astrelle
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$root/$program"
gzip -9n "$root/usr/share/man/man6/astrelle.6x"
mkdir -p "$doc"
cp "$debian/copyright" "$debian/README.Debian" "$doc/"
gzip -9n <"$debian/changelog" >"$doc/changelog.gz"

# What the program links decides what the package depends on.
depends=$(cd "$work" && dpkg-shlibdeps -O "debian/astrelle/$program" | sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "make_deb.sh: dpkg-shlibdeps found no dependencies" >&2; exit 1; }

find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -exec chmod 0644 {} +
chmod 0755 "$root/$program"

# Installed-Size as dpkg counts it: each file in whole KiB, one per folder.
installed_size=$(find "$root/usr" -printf '%y %s\n' |
  awk '$1 == "f" { kib += int(($2 + 1023) / 1024) } $1 == "d" { kib += 1 } END { print kib }')

(cd "$root" && find usr -type f | sort | xargs md5sum) >"$root/DEBIAN/md5sums"
sed -e "s/@VERSION@/$version/" -e "s/@ARCHITECTURE@/$architecture/" \
    -e "s/@INSTALLED_SIZE@/$installed_size/" -e "s/@DEPENDS@/$depends/" \
    "$debian/control.in" >"$root/DEBIAN/control"
chmod 0644 "$root/DEBIAN/md5sums" "$root/DEBIAN/control"

find "$root" -exec touch -h -d "@$epoch" {} +
mkdir -p "$out"
deb=$out/astrelle_${version}_${architecture}.deb
SOURCE_DATE_EPOCH=$epoch dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"
