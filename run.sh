#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tallyhawk developers
# Installs what is missing, builds, and starts Tallyhawk. On first start the program installs
# its database into the data folder (~/.local/share/Tallyhawk). Without a display it runs
# under a virtual one (Xvfb), so that it also starts on a headless machine.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Everything that is installed, so that "cmake --install build" works after this script.
cmake --build build --target installable

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running under Xvfb."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/tallyhawk "$@"
fi
exec build/bin/tallyhawk "$@"
