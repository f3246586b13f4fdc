#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tallyhawk developers
#
# Fails when a source, script or build file of the tree at ROOT has no SPDX-License-Identifier
# line within its first five lines, and names each such file. scripts/add-license-headers.sh
# adds the missing headers.
# Usage: check-license-headers.sh [ROOT]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=${1:-$here/..}

missing=0
checked=0
while IFS= read -r -d '' file; do
  checked=$((checked + 1))
  if ! head -n 5 "$root/$file" | grep -q "SPDX-License-Identifier:"; then
    echo "no SPDX-License-Identifier line: $file"
    missing=$((missing + 1))
  fi
done < <("$here/list-licensed-files.sh" "$root")
if [ "$checked" -eq 0 ]; then
  echo "check-license-headers.sh: no source file found under $root" >&2
  exit 2
fi
if [ "$missing" -gt 0 ]; then
  echo "$missing of $checked files lack a licence header: run scripts/add-license-headers.sh" >&2
  exit 1
fi
echo "all $checked files carry a licence header"
