#!/usr/bin/env bash
# start_and_close.sh PROGRAM: starts an installed Kartavo under its own Xvfb with arguments
# it must ignore, waits until its main window is on the screen, then ends it with SIGTERM:
# it closes its window the ordinary way, saves its settings and exits with 0.
set -euo pipefail
program=$1
export XDG_CONFIG_HOME=${XDG_CONFIG_HOME:?the settings go to a scratch folder}
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
    "$1" --help --version /no/such/picture.jpg & pid=$!
    shown=
    for _ in $(seq 150); do
        kill -0 "$pid" 2>/dev/null || { echo "FAIL: the program ended by itself"; exit 1; }
        if xwininfo -root -tree | grep -q "\"Kartavo [0-9.]*\": "; then shown=1; break; fi
        sleep 0.1
    done
    [ -n "$shown" ] || { kill -KILL "$pid"; echo "FAIL: no Kartavo window within 15 s"; exit 1; }
    sleep 1
    kill -TERM "$pid"
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && { kill -KILL "$pid"; echo "FAIL: did not end"; exit 1; }
    wait "$pid"
' _ "$program" || { echo "FAIL: $program did not start and close cleanly"; exit 1; }
grep -q '^xPos=' "$XDG_CONFIG_HOME/Kartavo/Kartavo.ini" ||
    { echo "FAIL: settings were not saved on close"; exit 1; }
