// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The number of games a simulation run plays, as typed: the window's question and the command
// line's --games read it by the same rules and refuse it with the same sentences.

#include <cstdint>
#include <string>
#include <string_view>

namespace tallyhawk {

inline constexpr const char* kGameCountTooManyMessage = "Do not enter a number greater than one billion.";
inline constexpr const char* kGameCountNotWholeMessage =
    "Enter the number of games as a whole number from 1 to 1000000000, without letters or separators.";

enum class GameCountAnswerKind
{
    Accepted,  // `games` is 1 to kMaxSimulationGames
    Cancelled, // blank, or no positive number in front: the window ends quietly
    Refused,   // above one billion, or not a clean whole number: show `message`
};

struct GameCountAnswer
{
    GameCountAnswerKind kind = GameCountAnswerKind::Cancelled;
    std::int64_t games = 0; // when Accepted
    // Why nothing runs, when not Accepted: a Cancelled answer's sentence is for those who cannot
    // end quietly, as the command line cannot.
    std::string message;
};

// Reads a typed number of games. Only a clean whole number runs: "12abc", "1,000" or "0.4"
// would otherwise run some other count. An answer whose leading number is 0 or less ("", "0",
// "-5", "abc") cancels; one above a billion is refused before its form is looked at.
[[nodiscard]] GameCountAnswer ParseGameCount(std::string_view answer);

} // namespace tallyhawk
