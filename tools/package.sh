#!/usr/bin/env bash
# Builds the Debian package kartavo_VERSION_ARCH.deb into the top folder of the checkout
# (extra arguments go to cmake). Install it with: sudo apt-get install ./kartavo_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build -j"$(nproc)" --target kartavo kartavo_docs
cpack --config build/CPackConfig.cmake -B build/package
mv -f build/package/kartavo_*.deb .
ls kartavo_*.deb
