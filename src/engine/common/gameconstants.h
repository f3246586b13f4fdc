// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The game's own numbers, written once: every rule, limit and loop of the engine, the database,
// the command line and the windows takes them from here.

namespace tallyhawk {

constexpr int kBoardNumbers = 80;  // the numbers 1 to 80 on the board
constexpr int kDrawnBalls = 20;    // balls drawn in each game
constexpr int kMinMarks = 1;       // numbers a ticket marks, at least
constexpr int kMaxMarks = 10;      // and at most; also the largest catch a pay table lists
constexpr int kCavemanEggs = 3;    // eggs a Caveman game places on unmarked numbers
constexpr int kExtraBalls = 3;     // extra balls a Caveman Plus game draws
constexpr int kMinBet = 1;         // credits bet on one game, at least
constexpr int kMaxBet = 45;        // and at most

} // namespace tallyhawk
