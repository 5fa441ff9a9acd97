#!/usr/bin/env bash
# Installs what is needed, builds and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
cd build
ctest --output-on-failure --timeout 300
