#!/usr/bin/env bash
# test_translations.sh SOURCE_DIR LUPDATE: reads every text in tr() from the program's code,
# as update_translations does, into copies of the .ts files, and fails while a German or
# French translation is missing (lupdate marks it unfinished).
set -euo pipefail
source_dir=$1
lupdate=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The same files translations/CMakeLists.txt gives lupdate.
(cd "$source_dir" && find . \( -path ./tests -o -path ./bench -o -path './build*' -o -path './.*' \) \
    -prune -o \( -name '*.cpp' -o -name '*.h' \) -print) | sed "s|^\.|$source_dir|" > "$work/sources"
[ -s "$work/sources" ] || { echo "FAIL: no sources found"; exit 1; }

status=0
for language in de fr; do
    cp "$source_dir/translations/kartavo_$language.ts" "$work/"
    "$lupdate" -silent -no-obsolete -locations none -I "$source_dir" "@$work/sources" \
        -ts "$work/kartavo_$language.ts"
    # Each unfinished message, with its source text, one per line.
    missing=$(python3 - "$work/kartavo_$language.ts" <<'PY'
import sys, xml.etree.ElementTree as ET
for message in ET.parse(sys.argv[1]).iter('message'):
    translation = message.find('translation')
    if translation.get('type') == 'unfinished' or not ''.join(translation.itertext()).strip():
        print(repr(message.findtext('source')))
PY
)
    if [ -n "$missing" ]; then
        echo "FAIL: without a translation in kartavo_$language.ts (run the update_translations target and translate them):"
        echo "$missing"
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "PASS: every text has a German and a French translation"
exit "$status"
