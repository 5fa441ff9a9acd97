#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Kartavo need.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-declarative-dev
    qt6-webengine-dev qt6-webengine-dev-tools
    libglib2.0-dev libgeonames-dev libjs-leaflet libjs-leaflet.markercluster tzdata
    perl libimage-exiftool-perl locales
    xvfb xauth fonts-dejavu-core desktop-file-utils
    # The trip window's tests drag with the pointer through the X server.
    xdotool
    # The batch tests make GIF and BMP pictures and compare pixels with ImageMagick.
    imagemagick
    # TIFF and WebP for Qt's image readers; libheif decodes HEIC, HEIF and AVIF.
    qt6-image-formats-plugins libheif-dev
    # The tests and benchmarks make HEIC files with heif-enc.
    libheif-examples
    # Track formats other than GPX and KML (FIT, TCX, NMEA, IGC, GeoJSON...) are converted.
    gpsbabel
    # The Debian package: built with CPack and dpkg-shlibdeps, checked with lintian,
    # AppStream's validator and man; its test sees the installed program's window.
    dpkg-dev lintian appstream man-db x11-utils
    # Translations: lupdate and lrelease, and the locales the language tests start under.
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
)

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${packages[@]}"
# The language tests start the program under German and French locales.
for language in de_DE fr_FR; do
    if ! locale -a | grep -qix "$language.utf8"; then
        "${sudo[@]}" localedef -i "$language" -f UTF-8 "$language.UTF-8"
    fi
done
