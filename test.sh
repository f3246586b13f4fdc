#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tallyhawk developers
# Installs what is missing, builds everything and runs every test; then builds everything again
# with clang's AddressSanitizer and UndefinedBehaviorSanitizer and runs every test once more.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
jobs=$(nproc)
# The compiler cache keys on paths relative to the checkout, so that another clone of the same
# sources (as CI makes) builds from the cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
# Debugging information names the folder it was built in; that name may differ between clones.
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
werror=OFF
if [ -n "${CI:-}" ]; then werror=ON; fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLYHAWK_WERROR=$werror >/dev/null
cmake --build build -j "$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")

# The sanitizers' tree is built by clang, windows included.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DTALLYHAWK_SANITIZE=ON -DTALLYHAWK_WINDOWS=ON -DTALLYHAWK_WERROR=$werror >/dev/null
cmake --build build-sanitize -j "$jobs"
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")

# The pay-table file reader's fuzz target (clang, libFuzzer), once over its seed corpus.
scripts/fuzz.sh
