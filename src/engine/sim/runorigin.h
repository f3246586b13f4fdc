// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// What a simulation run's figures follow from: the game, the ticket (or only its count, when
// every game picks its numbers anew), the games played and the seed. The same origin played
// again, by the window or by tallyhawk-cli, gives the same figures, so every report of a run
// names it.

#include "engine/common/gamekey.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tallyhawk {

struct RunOrigin
{
    GameKey game;
    std::vector<int> ticket; // the marked numbers; with randomPicks only their count matters
    bool randomPicks = false;
    std::int64_t games = 0; // the games played
    std::uint64_t seed = 0;
};

// How the run picked its numbers: "5 numbers picked at random every game" or
// "the marked numbers 3, 17, 42 every game".
std::string PicksText(const RunOrigin& origin);

// The command line that plays the same games:
// tallyhawk-cli simulate --game "LOCATION|CASINO|GAME" --ticket 3,17,42 --games 30000 --seed S
// (--spots N in place of the ticket with random picks). The game is quoted for a POSIX shell.
std::string RepeatCommand(const RunOrigin& origin);

// The lines that name the run in its summary, each ending in CR LF:
// "Seed of This Run: S (<picks>)" and "To Repeat It: <command>".
std::string RunOriginLines(const RunOrigin& origin);

} // namespace tallyhawk
