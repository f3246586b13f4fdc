// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The records of the database as the engine sees them: numbers, with Null as "no value".

#include "gameconstants.h"
#include "gamekey.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tallyhawk {

// The windows' and the catalogue's older name for kMaxMarks, until they take that one.
constexpr int kMaxMarked = kMaxMarks;

// One row of the pay table. Pick[n - 1] is the win per credit bet of a ticket of n marked
// numbers that catches Catch of them; no value means nothing is paid.
struct PayScheduleRow
{
    GameKey key;
    std::optional<int> Catch;
    std::array<std::optional<double>, kMaxMarks> Pick{};
    std::optional<double> BonusBall;
    std::optional<double> FreeGames;
    std::optional<double> BonusFactor;
    std::optional<double> Egg1Bonus;
    std::optional<double> Egg2Bonus;
    std::optional<double> Egg3Bonus;
};

// The row whose Catch is 0: its bonus columns carry the game's bonus features, and its
// Pick columns the pays for catching none of the marked numbers.
using BonusRow = PayScheduleRow;

// The single row of program defaults; the values are those of a new database.
struct ProgramDefaults
{
    std::string StartupGame; // the list entry of the game shown at start
    double SaveCredits = 100;
    std::int32_t StartupCredits = 100;
    std::int32_t RandomSeed = 0;
    std::int32_t SimGames = 1'000'000;
    bool RandomPickForSim = false;
    bool SoundON = true;
    bool ShowNumbers = true;
    std::string Speed = "Fast";
};

} // namespace tallyhawk
