#!/usr/bin/env bash
# test_package.sh BUILD VERSION: builds the Debian package from the build, checks its
# dependencies and what it holds, runs lintian where installed, installs it, starts the
# installed program and sees its window, and removes it again.
# It installs into the machine with apt-get only as root under CI (or with
# KARTAVO_TEST_APT_INSTALL=1), where no one else's tests share the machine's packages;
# elsewhere it unpacks into a scratch root.
set -euo pipefail
build=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
id=io.github.kartavo.Kartavo

fail() { echo "FAIL: $*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" ||
    { cat "$work/cpack.log"; fail "cpack"; }
deb=$work/out/kartavo_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$work/out"; fail "no $(basename "$deb")"; }

# Libraries as dpkg-shlibdeps found them, and what runs or is read at run time.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6webenginewidgets6 libqt6widgets6 libgeonames0 perl libimage-exiftool-perl \
    libgeonames-common tzdata qt6-image-formats-plugins; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done
[[ " $depends," == *" libheif1 "* ]] || fail "Depends lacks libheif1: $depends"
[ "$(dpkg-deb -f "$deb" Recommends)" = "gpsbabel" ] || fail "Recommends"

if command -v lintian > /dev/null; then
    lintian --fail-on error "$deb" || fail "lintian finds errors"
fi

apt_install=
if [ "$(id -u)" -eq 0 ] && { [ "${CI:-}" = true ] || [ "${KARTAVO_TEST_APT_INSTALL:-}" = 1 ]; }; then
    apt_install=1
fi
apt=(apt-get -y -q -o DPkg::Lock::Timeout=300)
if [ -n "$apt_install" ]; then
    # Everything it depends on is installed already: nothing is fetched.
    DEBIAN_FRONTEND=noninteractive "${apt[@]}" install --no-install-recommends "$deb" \
        > "$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get install"; }
    root=
    listed=$(dpkg -L kartavo)
else
    dpkg -x "$deb" "$work/root"
    root=$work/root
    listed=$(dpkg-deb -c "$deb" | awk '{print substr($6, 2)}')
fi

for file in /usr/bin/kartavo /usr/share/applications/$id.desktop \
    /usr/share/metainfo/$id.metainfo.xml /usr/share/man/man1/kartavo.1.gz \
    /usr/share/icons/hicolor/{16x16,32x32,48x48}/apps/$id.png \
    /usr/share/icons/hicolor/scalable/apps/$id.svg /usr/share/doc/kartavo/copyright; do
    grep -qx "$file" <<< "$listed" || fail "the package does not list $file"
    [ -f "$root$file" ] || fail "$root$file is not there"
done
if [ -n "$apt_install" ]; then
    man -w kartavo > /dev/null || fail "man does not find kartavo"
fi

XDG_CONFIG_HOME=$work/config bash "$here/start_and_close.sh" "$root/usr/bin/kartavo" ||
    fail "the packaged program"

if [ -n "$apt_install" ]; then
    DEBIAN_FRONTEND=noninteractive "${apt[@]}" purge kartavo > "$work/apt.log" 2>&1 ||
        { cat "$work/apt.log"; fail "apt-get purge"; }
    dpkg -s kartavo > /dev/null 2>&1 && fail "kartavo is still installed"
    while read -r file; do
        [ -f "$file" ] && fail "$file stayed after the package was removed"
    done <<< "$listed"
fi
if [ -n "$apt_install" ]; then
    echo "PASS: package built, installed, started and removed"
else
    echo "PASS: package built, unpacked and started"
fi
