#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tallyhawk developers
# Builds the pay-table file's fuzz target with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs it.
#   scripts/fuzz.sh       runs every file of the seed corpus once (quick; test.sh does this)
#   scripts/fuzz.sh 600   fuzzes for 600 seconds; inputs it finds go to build-fuzz/corpus/,
#                         an input that fails to build-fuzz/crash-* (add it to the corpus)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-}"
if [ -n "$seconds" ] && ! [[ "$seconds" =~ ^[0-9]+$ ]]; then
  echo "usage: scripts/fuzz.sh [seconds]" >&2
  exit 2
fi

out=build-fuzz
seeds=tests/fuzz/corpus
mkdir -p "$out/corpus"
clang++ -std=c++20 -g -O1 -fno-omit-frame-pointer \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -Isrc tests/fuzz/fuzz_paytablefile.cpp src/engine/catalogue/paytablefile.cpp \
  src/engine/catalogue/paytableimport.cpp src/engine/catalogue/payvalidation.cpp \
  src/engine/common/gamekey.cpp src/engine/common/numberforms.cpp \
  -o "$out/fuzz_paytablefile"

if [ -z "$seconds" ]; then
  # Each file once; the whole report only when one fails.
  if ! report=$("$out/fuzz_paytablefile" "$seeds"/* 2>&1); then
    echo "$report"
    exit 1
  fi
  echo "fuzz_paytablefile: $(ls "$seeds" | wc -l) corpus files read without a fault"
else
  # New inputs go to the first folder; the seed corpus is only read.
  "$out/fuzz_paytablefile" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$out/" "$out/corpus" "$seeds"
fi
