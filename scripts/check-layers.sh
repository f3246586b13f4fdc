#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tallyhawk developers
# Fails when an include runs up a layer. Each folder of src/ is one library:
#   engine (no Qt) <- db (Qt SQL) <- gui <- app, and cli over db and engine;
# within gui/, each window's folder stands on gui/common/ alone.
# Within engine/, each concern's folder stands on those below it:
#   common                       the model of a game, its constants, number and text forms
#   catalogue  over common       the pay-table file format and its checks
#   play       over common       the board's rules: deck and draw, win formula, bonus features
#   sim        over play         the Monte Carlo run, its session statistics, the chunk runner
#   exact      over sim          exact odds (the simulation's bonus rules come from sim/)
#   cards      over exact        card sets and way tickets: atoms, exact enumeration, sampled fallback
#   planner    over cards        the session planner, exact and sampled (sim/'s chunk runner)
#   randomness over sim          the chi-square test of a draw (play/'s deck, sim/'s chunk runner)
# A folder of the engine missing from this list fails, so that a new one takes its place here.
# Includes are written from src/ ("engine/play/deck.h") or name a file of the same folder.
set -u
src=${1:-$(dirname "$0")/../src}
cd "$src" || exit 2

# The folders each layer may include from.
allowed() {
    case $1 in
    engine) echo "engine" ;;
    db) echo "engine db" ;;
    gui) echo "engine db gui" ;;
    app) echo "engine db gui app" ;;
    cli) echo "engine db cli" ;;
    esac
}

# The engine's folders each folder of the engine may include from.
engineAllowed() {
    case $1 in
    common) echo "common" ;;
    catalogue) echo "common catalogue" ;;
    play) echo "common play" ;;
    sim) echo "common play sim" ;;
    exact) echo "common play sim exact" ;;
    cards) echo "common play sim exact cards" ;;
    planner) echo "common play sim exact cards planner" ;;
    randomness) echo "common play sim randomness" ;;
    *) return 1 ;;
    esac
}

status=0
while IFS= read -r -d '' file; do
    layer=${file%%/*}
    folder=$(dirname "$file")
    if [ "$layer" = engine ] && ! engineAllowed "$(echo "$file" | cut -d/ -f2)" >/dev/null; then
        echo "$file: its folder has no place in the engine's layers (listed in scripts/check-layers.sh)"
        status=1
    fi
    while IFS=: read -r line path; do
        if [ -f "$folder/$path" ]; then
            continue # a file of the same folder
        fi
        top=${path%%/*}
        if [ "$top" = "$path" ] || ! [ -e "$path" ]; then
            echo "$file:$line: includes \"$path\", which is neither in its folder nor under src/"
            status=1
            continue
        fi
        case " $(allowed "$layer") " in
        *" $top "*) ;;
        *)
            echo "$file:$line: the $layer layer includes \"$path\" from the $top layer above it"
            status=1
            continue
            ;;
        esac
        # The engine's concerns: a folder includes its own layer's and those below.
        if [ "$layer" = engine ] && [ "$top" = engine ]; then
            own=$(echo "$file" | cut -d/ -f2)
            other=$(echo "$path" | cut -d/ -f2)
            if ! [[ " $(engineAllowed "$own") " == *" $other "* ]]; then
                echo "$file:$line: engine/$own includes \"$path\" from engine/$other, which is not below it"
                status=1
            fi
        fi
        # Windows meet through the application: a window's folder includes only its own
        # files and gui/common/.
        if [ "$layer" = gui ] && [ "$top" = gui ]; then
            own=$(echo "$file" | cut -d/ -f2)
            other=$(echo "$path" | cut -d/ -f2)
            if [ "$other" != common ] && [ "$other" != "$own" ]; then
                echo "$file:$line: gui/$own includes \"$path\" from another window's folder"
                status=1
            fi
        fi
    done < <(grep -nE '^\s*#\s*include\s+"' "$file" | sed -E 's/^([0-9]+):\s*#\s*include\s+"([^"]+)".*/\1:\2/')
    if [ "$layer" = engine ]; then
        while IFS= read -r hit; do
            echo "$file:$hit: the engine includes Qt"
            status=1
        done < <(grep -nE '^\s*#\s*include\s+<Q' "$file")
    fi
done < <(find engine db gui app cli -name '*.h' -print0 -o -name '*.cpp' -print0)

if [ $status -eq 0 ]; then
    echo "layers: every include runs downwards"
fi
exit $status
