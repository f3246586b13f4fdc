#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tallyhawk. On first start the program installs
# its database into the data folder (~/.local/share/Tallyhawk). Without a display it runs
# under a virtual one (Xvfb), so that it also starts on a headless machine.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target tallyhawk program_data

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running under Xvfb."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/tallyhawk "$@"
fi
exec build/bin/tallyhawk "$@"
