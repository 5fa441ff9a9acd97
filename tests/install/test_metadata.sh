#!/usr/bin/env bash
# The desktop entry, the AppStream metadata and the manual page as the desktop, a software
# centre and man read them: valid, naming each other by one id, and of this version.
set -euo pipefail
source_dir=$1
version=$2
id=io.github.kartavo.Kartavo
desktop=$source_dir/res/desktop/$id.desktop
metainfo=$source_dir/res/desktop/$id.metainfo.xml
man_page=$source_dir/docs/kartavo.1

fail() { echo "FAIL: $*"; exit 1; }

desktop-file-validate "$desktop" || fail "desktop entry is invalid"
appstreamcli validate --no-net "$metainfo" || fail "AppStream metadata is invalid"

grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not named $id"
grep -q "<id>$id</id>" "$metainfo" || fail "the metadata's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metadata does not launch $id.desktop"
grep -q "setDesktopFileName(QStringLiteral(\"$id\"))" "$source_dir/app/Startup.cpp" ||
    fail "the program does not give $id as its desktop file name"
# The newest release comes first and is this one.
first_release=$(grep -o '<release version="[^"]*"' "$metainfo" | head -1)
[ "$first_release" = "<release version=\"$version\"" ] ||
    fail "the metadata's newest release is $first_release, not $version"
grep -q "^\\.TH KARTAVO 1 .*\"Kartavo $version\"" "$man_page" || fail "the manual page is not of $version"
for screenshot in $(grep -o 'docs/[a-z-]*\.png' "$metainfo"); do
    [ -f "$source_dir/$screenshot" ] || fail "the metadata shows $screenshot, which is not in docs/"
done

# man's own checks: no warnings while it lays out the page.
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$man_page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page: $warnings"
echo "PASS: desktop entry, AppStream metadata and manual page"
