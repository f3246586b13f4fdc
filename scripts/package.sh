#!/usr/bin/env bash
# Builds the Debian package of this checkout: build-package/tallyhawk_<version>_<arch>.deb.
# Only what is installed is built (no tests, no benchmark); the programs are stripped.
# Install it with: sudo apt install ./build-package/tallyhawk_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLYHAWK_TESTS=OFF >/dev/null
cmake --build build-package -j "$(nproc)"
(cd build-package && cpack -G DEB)
ls -l build-package/tallyhawk_*.deb
