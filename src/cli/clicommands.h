// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The subcommands of tallyhawk-cli. Each takes the values read from the command line and gives
// what to print; only main() touches the streams (the progress line aside).

#include "clidata.h"
#include "engine/cards/cardset.h"
#include "engine/common/kenogame.h"

#include <cstdint>
#include <optional>
#include <QSqlDatabase>
#include <QString>
#include <vector>

namespace tallyhawk::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1; // the database or the game cannot be used
constexpr int kExitUsage = 2;   // the command line is wrong

struct CommandResult
{
    int status = kExitOk;
    QString out;   // for standard output
    QString error; // a sentence for standard error; empty on success
};

struct CommandInput
{
    QSqlDatabase db;
    bool json = false;
    bool progress = true; // the progress line on standard error
    CatalogueGame game;
    KenoGame rules; // the game's rules, read from its rows
    std::optional<std::vector<int>> ticket;
    int spots = 0; // the marked count: the ticket's size, or --spots
    int bet = 1;
    std::int64_t games = 0;
    std::uint64_t seed = 0;
    int threads = 0;
    // --cards or --ways: several cards on one draw, instead of a ticket.
    std::optional<CardSet> cards;
};

// The catalogue with the exact return of each marked count under the board's rules at a bet of 1.
[[nodiscard]] CommandResult RunGamesCommand(const CommandInput& input);
// The exact odds of the game for the marked count.
[[nodiscard]] CommandResult RunOddsCommand(const CommandInput& input);
// The Monte Carlo simulation of the ticket, or of `spots` numbers picked anew every game.
[[nodiscard]] CommandResult RunSimulateCommand(const CommandInput& input);
// The chi-square test of the draw over `games` games (a positive multiple of 4).
[[nodiscard]] CommandResult RunRandomnessCommand(const CommandInput& input);

} // namespace tallyhawk::cli
