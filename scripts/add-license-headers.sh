#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tallyhawk developers
#
# Adds the licence header to every source, script and build file of the tree at ROOT that has
# none: the SPDX identifier and the copyright line, as // comments in C++ and # comments
# elsewhere, after the interpreter line of a script. Files that have the identifier are left as
# they are, so the script can run again at any time.
# Usage: add-license-headers.sh [ROOT]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=${1:-$here/..}

spdx="SPDX-License-Identifier: GPL-3.0-or-later"
copyright="Copyright (C) 2026 The Tallyhawk developers"
added=0
while IFS= read -r -d '' file; do
  path=$root/$file
  # The same lines check-license-headers.sh reads.
  if head -n 5 "$path" | grep -q "SPDX-License-Identifier:"; then
    continue
  fi
  case $file in
  *.cpp | *.cc | *.c | *.h | *.hpp) header="// $spdx"$'\n'"// $copyright"$'\n' ;;
  *) header="# $spdx"$'\n'"# $copyright"$'\n' ;;
  esac
  temp=$(mktemp)
  if [ "$(head -c 2 "$path")" = "#!" ]; then
    { head -n 1 "$path"; printf '%s' "$header"; tail -n +2 "$path"; } >"$temp"
  else
    # C++ sets its header apart from the code by a blank line.
    case $file in *.cpp | *.cc | *.c | *.h | *.hpp) header+=$'\n' ;; esac
    { printf '%s' "$header"; cat "$path"; } >"$temp"
  fi
  # Written over the file in place, so that its mode (executable scripts) stays.
  cat "$temp" >"$path"
  rm -f "$temp"
  added=$((added + 1))
done < <("$here/list-licensed-files.sh" "$root")
echo "add-license-headers.sh: headers added to $added files"
