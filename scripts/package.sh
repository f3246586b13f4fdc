#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tallyhawk developers
#
# Builds the Debian package of this checkout: build-package/tallyhawk_<version>_<arch>.deb.
# Only what is installed is built (no tests, no benchmark), with the distribution's build flags
# (dpkg-buildflags, every hardening feature on); the programs are stripped. The package is then
# unpacked into a scratch root, where both programs must run, and checked by lintian, which must
# report no error and no warning.
# Install it with: sudo apt install ./build-package/tallyhawk_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh lintian

# The flags Debian builds its packages with: fortify, stack protector, relro and bindnow.
# CMake takes no CPPFLAGS, so they go before the compiler's own flags.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cxxflags=$(dpkg-buildflags --get CXXFLAGS)
ldflags=$(dpkg-buildflags --get LDFLAGS)
rm -rf build-package
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLYHAWK_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$cppflags $cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build build-package -j "$(nproc)"
(cd build-package && cpack -G DEB >/dev/null)
package=$(echo build-package/tallyhawk_*.deb)
[ -f "$package" ] || { echo "package.sh: cpack made no package" >&2; exit 1; }

# Both programs run from the unpacked package, as installed, for a user who never started them.
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$package" "$root/root"
mkdir -p "$root/home" && mkdir -m 700 "$root/runtime"
run() {
  HOME=$root/home XDG_DATA_HOME=$root/home/.local/share XDG_CONFIG_HOME=$root/home/.config \
    XDG_RUNTIME_DIR=$root/runtime QT_QPA_PLATFORM=offscreen "$@"
}
run "$root/root/usr/bin/tallyhawk-cli" games | grep -q "Mad Yeti Keno" ||
  { echo "package.sh: the packaged tallyhawk-cli lists no catalogue" >&2; exit 1; }
run timeout 60 "$root/root/usr/bin/tallyhawk" --screenshot "$root/board.png" && [ -s "$root/board.png" ] ||
  { echo "package.sh: the packaged tallyhawk did not show its board" >&2; exit 1; }

if command -v lintian >/dev/null; then
  # --fail-on makes an error or a warning fail the run; informational tags are shown as well.
  lintian --display-info --fail-on error,warning "$package"
else
  echo "package.sh: lintian is not installed; the package is not checked" >&2
fi
ls -l "$package"
