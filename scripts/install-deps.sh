#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tallyhawk developers
#
# Installs the Debian packages that building, running, testing and packaging Tallyhawk need,
# and the ones named as arguments (package.sh asks for lintian, which nothing else needs).
# Does nothing when they are all present, so run.sh and test.sh can call it every time.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libbenchmark-dev libpcg-cpp-dev
  qt6-base-dev libqt6opengl6-dev libxkbcommon-dev libqt6sql6-sqlite
  qt6-charts-dev qt6-svg-dev
  fonts-liberation xvfb xauth imagemagick
  clang libclang-rt-14-dev
  desktop-file-utils appstream man-db dpkg-dev file ccache
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# No recommends: they bring a GTK platform theme that makes Qt's file dialogs native,
# which window tests cannot drive.
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
