#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tallyhawk developers
#
# Lists, NUL-separated, the files of the tree at ROOT that carry a licence header: the sources,
# scripts and build files. Data (pay tables, fuzz inputs, pictures, help, manual pages, desktop
# files) is left out, as are build trees and git's own files.
# Usage: list-licensed-files.sh [ROOT]
set -euo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root"

find . \( -name .git -o -name 'build*' -type d \) -prune -o -type f -print0 | sort -z |
  while IFS= read -r -d '' file; do
    file=${file#./}
    name=$(basename "$file")
    case $name in
    *.cpp | *.cc | *.c | *.h | *.hpp | CMakeLists.txt | *.cmake | *.sh | *.py) ;;
    *.*) continue ;;
    *)
      # A script without an extension (.ci/run) is known by its interpreter line.
      [ "$(head -c 2 "$file")" = "#!" ] || continue
      ;;
    esac
    printf '%s\0' "$file"
  done
