#!/usr/bin/env bash
# Starts the built program under its own Xvfb server and saves a screenshot of the screen.
# Usage: tools/screenshot.sh OUT.png [SECONDS] [PROGRAM]
set -euo pipefail
out=$(realpath -m "$1")
wait=${2:-3}
program=$(realpath "${3:-$(dirname "$0")/../build/app/kartavo}")
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu
xvfb-run -a -s "-screen 0 960x600x24 -nolisten tcp" bash -c '
    "$1" & pid=$!
    sleep "$2"
    import -window root "$3"
    kill "$pid"; wait "$pid" || true
' _ "$program" "$wait" "$out"
echo "$out"
