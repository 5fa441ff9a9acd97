#!/usr/bin/env bash
# Installs what is needed, builds and starts Kartavo.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
if [ "$(id -u)" -eq 0 ]; then
    # Chromium refuses to run its sandbox as root.
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
exec build/app/kartavo
