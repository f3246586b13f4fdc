# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tallyhawk developers
# The Debian package: "cpack -G DEB" in the build folder gives tallyhawk_<version>_<arch>.deb
# from the install rules, with the programs under /usr/bin and their data under /usr/share.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallyhawk)
set(CPACK_PACKAGE_VENDOR "The Tallyhawk developers")
set(CPACK_PACKAGE_CONTACT ${TALLYHAWK_MAINTAINER})
set(CPACK_PACKAGE_HOMEPAGE_URL ${TALLYHAWK_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "study tool for the casino game of keno")
# The package's long description, as lines of at most 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Tallyhawk plays keno on an 80-number board with the pay schedules of real"
  "casino games, bonus features included, and simulates a ticket for up to a"
  "billion games: catch frequencies, winnings, payout percentage, the statistics"
  "of 100-game sessions and a chi-square test of the draw. Its catalogue of pay"
  "tables can be browsed, edited and exchanged as CSV files. tallyhawk-cli gives"
  "the exact odds and simulations from a terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Section math, with the programs in /usr/bin as for any install: the package is a study tool
# (exact odds, Monte Carlo simulation, session statistics, a test of the draw) whose command
# line serves terminals and scripts; Debian keeps section games for programs played for
# entertainment, installed in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the libraries the programs link do not name them: Qt SQL's SQLite
# driver and the platform plugins that open windows.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-qpa-plugins")
# The windows ask for the classic fonts and fall back on their metric twins.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
include(CPack)
