#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks what lands where, and starts the
# installed program under Xvfb and ends it as a session would.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" > "$work/install.log"

id=io.github.kartavo.Kartavo
desktop=share/applications/$id.desktop
metainfo=share/metainfo/$id.metainfo.xml
installed=(
    bin/kartavo "$desktop" "$metainfo"
    share/icons/hicolor/16x16/apps/$id.png
    share/icons/hicolor/32x32/apps/$id.png
    share/icons/hicolor/48x48/apps/$id.png
    share/icons/hicolor/scalable/apps/$id.svg
    share/man/man1/kartavo.1.gz
    share/doc/kartavo/copyright
    share/doc/kartavo/changelog.gz
)
for file in "${installed[@]}"; do
    [ -f "$prefix/$file" ] || fail "$file was not installed"
done
[ -x "$prefix/bin/kartavo" ] || fail "bin/kartavo is not executable"
# Nothing else: no libraries, headers or test programs.
count=$(find "$prefix" -type f | wc -l)
[ "$count" -eq ${#installed[@]} ] ||
    { find "$prefix" -type f; fail "expected ${#installed[@]} installed files, found $count"; }

# The loader must never look for libraries in the folder the program is started from:
# every runtime path entry, in the build and installed, is absolute.
for program in "$build/app/kartavo" "$prefix/bin/kartavo"; do
    paths=$(readelf -d "$program" | sed -n 's/.*(R[UN]*PATH).*\[\(.*\)\]/\1/p')
    [ -n "$paths" ] || continue
    IFS=: read -r -a entries <<< "$paths:"
    for entry in "${entries[@]}"; do
        [[ $entry == /* || $entry == '$ORIGIN'* ]] ||
            fail "$program searches the current folder for libraries (runtime path '$paths')"
    done
done

grep -qx 'Exec=kartavo' "$prefix/$desktop" || fail "Exec line"
grep -q '^MimeType=' "$prefix/$desktop" && fail "no MIME types expected"
# A PNG's width and height are big-endian words at bytes 16 and 20.
for size in 16 32 48; do
    dims=$(od -An -tu1 -j16 -N8 "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" | tr -s ' ')
    [ "$dims" = " 0 0 0 $size 0 0 0 $size" ] || fail "icon of ${size} px measures $dims"
done

XDG_CONFIG_HOME=$work/config bash "$(dirname "$0")/start_and_close.sh" "$prefix/bin/kartavo" ||
    fail "the installed program"
echo "PASS: installed files, desktop entry, start and clean close"
