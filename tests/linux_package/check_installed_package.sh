#!/bin/sh
# check_installed_package.sh DAEMON_TEST PACKAGES: the Debian package in
# PACKAGES installed with apt-get, the real daemon running the installed
# program and its autopkgtest suite, then the package purged: nothing of it is
# left behind. It changes the machine's packages, so it runs only as root,
# and never where astrelle is installed already (that one is the user's).
set -eu
daemon_test=$1
packages=$(cd "$2" && pwd)
if [ "$(id -u)" -ne 0 ]; then
  echo "not root: the package is not installed here"
  exit 77
fi
if dpkg-query -W -f='${Status}' astrelle 2>/dev/null | grep -q 'install ok installed'; then
  echo "astrelle is installed on this machine already: left as it is"
  exit 77
fi
work=$(mktemp -d)
chmod 755 "$work"  # apt reads the package as its own unprivileged user
trap 'rm -rf "$work"; apt-get purge -y -qq astrelle >/dev/null 2>&1 || true' EXIT
cp "$packages"/astrelle_*_amd64.deb "$work/"
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq --no-install-recommends "$work"/astrelle_*_amd64.deb >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; exit 1; }
dpkg-query -L astrelle >"$work/files"

ASTRELLE_PROGRAM=/usr/libexec/xscreensaver/astrelle "$daemon_test"
# As the daemon test's ordinary user; "@" is the package installed above.
autopkgtest --no-built-binaries --user astrelle-test --output-dir "$packages/autopkgtest" \
  "$packages"/astrelle_*.dsc -- null >"$work/autopkgtest.log" 2>&1 || { cat "$work/autopkgtest.log"; exit 1; }

apt-get purge -y -qq astrelle >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; exit 1; }
left=0
# Nor anything the tests started: a compositor, a saver.
if ! timeout 5 sh -c 'while pgrep -u astrelle-test -x "sway|astrelle" >/dev/null; do sleep 0.2; done'; then
  echo "left running: $(pgrep -a -u astrelle-test -x 'sway|astrelle')"
  left=1
fi
while read -r path; do
  # Folders such as /usr/share/man belong to other packages too.
  if [ -e "$path" ] && [ ! -d "$path" ]; then
    echo "left behind: $path"
    left=1
  fi
done <"$work/files"
for folder in /usr/share/astrelle /usr/share/doc/astrelle; do
  [ ! -e "$folder" ] || { echo "left behind: $folder"; left=1; }
done
[ "$left" -eq 0 ] && echo "installed, run by the daemon, tested by autopkgtest, purged without a trace"
