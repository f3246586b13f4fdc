#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tallyhawk developers
# Installs the build into a temporary prefix and uses it from there as a new user would: the
# command line reads the installed seed database, the program installs the user's database from
# it and shows the board, and the menu entry, the AppStream metadata and the manual pages pass
# their checkers.
# Usage: test_install.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1
build=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
# The icons are named by the application id, as the menu entry is.
app_id=$(basename "$(echo "$prefix"/share/applications/*.desktop)" .desktop)

for file in bin/tallyhawk bin/tallyhawk-cli share/tallyhawk/Tallyhawk.orf share/tallyhawk/images/logo.png \
  share/tallyhawk/Help/help.htm share/icons/hicolor/scalable/apps/$app_id.svg \
  share/man/man1/tallyhawk.1.gz share/man/man1/tallyhawk-cli.1.gz; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done
for size in 16 24 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
  file "$icon" | grep -q "PNG image data, $size x $size," || fail "$icon is not a $size-pixel PNG"
done

# A user who has never started Tallyhawk.
export HOME=$work/home XDG_DATA_HOME=$work/home/.local/share XDG_CONFIG_HOME=$work/home/.config
export XDG_RUNTIME_DIR=$work/runtime LC_ALL=C.UTF-8
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
seed=$prefix/share/tallyhawk/Tallyhawk.orf
userdb=$XDG_DATA_HOME/Tallyhawk/Tallyhawk.orf

# The command line reads the installed seed, and nothing else: without it, it has nothing to read.
games=$("$prefix/bin/tallyhawk-cli" games) || fail "tallyhawk-cli games failed"
grep -q "Mad Yeti Keno" <<<"$games" || fail "tallyhawk-cli games lists no catalogue: $games"
mv "$seed" "$work/seed.orf"
if "$prefix/bin/tallyhawk-cli" games >/dev/null 2>&1; then fail "tallyhawk-cli read a database other than the installed seed"; fi
mv "$work/seed.orf" "$seed"
# A build, not installed, reads the seed beside its program and installs nothing.
"$build/bin/tallyhawk-cli" games | grep -q "Mad Yeti Keno" || fail "the build's tallyhawk-cli reads no seed beside it"
[ ! -e "$userdb" ] || fail "tallyhawk-cli installed $userdb"

# The program installs the user's database from the installed seed and shows the board.
QT_QPA_PLATFORM=offscreen timeout 60 "$prefix/bin/tallyhawk" --screenshot "$work/board.png" ||
  fail "tallyhawk --screenshot did not show the board"
[ -f "$userdb" ] || fail "the program did not install $userdb"
read -r width height < <(file "$work/board.png" | sed -n 's/.*PNG image data, \([0-9]*\) x \([0-9]*\),.*/\1 \2/p')
[ "${width:-0}" -ge 640 ] && [ "${height:-0}" -ge 400 ] || fail "the board's picture is ${width:-?} x ${height:-?}"
games=$("$prefix/bin/tallyhawk-cli" games) || fail "tallyhawk-cli cannot read the user's database"
# Once installed, the user's database is the one the command line reads, the seed beside it unread.
mv "$userdb" "$work/user.orf" && echo "not a database" >"$userdb"
if "$prefix/bin/tallyhawk-cli" games >/dev/null 2>&1; then fail "tallyhawk-cli read the seed, not $userdb"; fi
mv "$work/user.orf" "$userdb"

# One version everywhere: both programs and the newest release of the AppStream metadata.
metainfo=$(echo "$prefix"/share/metainfo/*.metainfo.xml)
release=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d'"' -f2)
[ "$("$prefix/bin/tallyhawk" --version)" = "tallyhawk $release" ] || fail "tallyhawk --version is not $release"
[ "$("$prefix/bin/tallyhawk-cli" --version)" = "tallyhawk-cli $release" ] || fail "tallyhawk-cli --version is not $release"
"$prefix/bin/tallyhawk" --help | grep -q -- "--screenshot FILE" || fail "tallyhawk --help"

# The menu entry starts an installed program with an installed icon.
desktop=$(echo "$prefix"/share/applications/*.desktop)
desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
[ -x "$prefix/bin/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")" ] || fail "Exec= names no installed program"
[ -f "$prefix/share/icons/hicolor/scalable/apps/$(sed -n 's/^Icon=//p' "$desktop").svg" ] || fail "Icon= names no icon"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $metainfo"
grep -qF "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" ||
  fail "the metadata does not launch $(basename "$desktop")"

# The manual pages render without warnings, and name every option the programs' help names.
for page in "$prefix"/share/man/man1/*.1.gz; do
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man -l $page: $warnings"
  MANWIDTH=80 man -l "$page" | grep -q "^NAME" || fail "man -l $page shows no NAME"
done
check_options() { # PAGE HELP: each --option of the help appears in the page's source
  for option in $(grep -o -- '--[a-z]*' <<<"$2" | sort -u); do
    zcat "$1" | grep -qF -- "\\-\\-${option#--}" || fail "$(basename "$1") does not describe $option"
  done
}
cli_help=$(for command in "" games odds simulate randomness session draws; do "$prefix/bin/tallyhawk-cli" $command --help; done)
check_options "$prefix/share/man/man1/tallyhawk-cli.1.gz" "$cli_help"
check_options "$prefix/share/man/man1/tallyhawk.1.gz" "$("$prefix/bin/tallyhawk" --help)"
echo "installed and used from $prefix"
