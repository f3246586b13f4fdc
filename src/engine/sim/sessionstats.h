// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The statistics of 100-game sessions that end a payout simulation: the histogram of the
// credits won per session, the file sessions.csv, the six session figures and the summary.
// A session stakes 100 credits (one per game): a win w below 100 loses 100 - w credits,
// 100 breaks even, above 100 gains.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tallyhawk {

constexpr int kHistogramTop = 25000; // the last bin counts the wins of 25,000 or more
constexpr int kFoldedTop = 500;      // after folding, the last bin counts the wins of 500 or more

inline constexpr char kSessionsFileName[] = "sessions.csv";
inline constexpr char kStatsFileName[] = "stats.txt";

// Completed 100-game sessions among the games played, at most the 100,000 the log keeps.
std::int64_t CompletedSessions(std::int64_t gamesPlayed);

// Bins 0 to 25000: bin w counts the sessions that won exactly w credits, the last bin those
// that won 25,000 or more. The session log's entry s holds the total winnings after game
// 100 x s (entry 0 is 0); a session's win is the difference of two neighbouring entries.
// A negative win (only possible with a negative pay or factor) fits no bin and is left out.
std::vector<std::int32_t> BuildSessionHistogram(const std::vector<std::int64_t>& sessionLog,
                                                std::int64_t gamesPlayed);

// The text of sessions.csv: the header line "Win , Frequency," with the game list entry, a
// comma and the marked-count text, then one line "<w>, <count>" per bin (both in Str form),
// every line ending in CR LF.
std::string SessionsCsvText(const std::vector<std::int32_t>& histogram, std::string_view gameName,
                            std::string_view markedText);

// Bins 0 to 500: bin 500 takes every bin above it.
std::vector<std::int32_t> FoldSessionHistogram(const std::vector<std::int32_t>& histogram);

struct SessionFigures
{
    std::int32_t sessions = 0;           // sessions in the folded histogram
    std::int32_t losingHalf = 0;         // wins of 0 to 50
    std::int32_t breakevenOrWinning = 0; // wins of 100 or more
    double doubled = 0;                  // wins of 200 or more
    double fiveFold = 0;                 // wins of 500 or more
    std::int32_t mode = 0;               // the most frequent win below 500, the lowest on a tie

    // Percentages of the sessions (meaningless without sessions).
    double losingPercent() const;
    double breakevenOrWinningPercent() const;
    double doubledPercent() const;
    double fiveFoldPercent() const;
    double losingHalfPercent() const;
};

// The figures from the folded histogram (bins 0 to 500).
SessionFigures ComputeSessionFigures(const std::vector<std::int32_t>& folded);

// The most likely end of a session as the summaries word it: "Lose 70 Credits" or "Win 20
// Credits" for the likeliest win below 500 (`mode`). When more than half of the sessions win
// 500 or more, no win below is as likely as that, and the outcome is "Win 400 or More Credits".
std::string MostLikelyOutcome(std::int32_t mode, double fiveFoldPercent);

// The summary shown at the end of a run, lines ending in CR LF except the last, the question
// "Do You Wish to Save or Print These Results?". gameText and markedText are the window's game
// and marked-count lines; percentText its percentage line, of which the part after the first
// "=" is shown. Without sessions the five percentage lines are left out.
std::string SessionSummaryText(const SessionFigures& figures, std::string_view gameText,
                               std::string_view markedText, std::int64_t gamesPlayed,
                               std::string_view percentText);

// The text of stats.txt: the summary without its closing question, then CR LF.
std::string StatsFileText(std::string_view summary);

// Writes a report file whole or not at all: the text goes to a temporary file beside it,
// which then replaces the file. False with a sentence naming the file on failure.
[[nodiscard]] bool WriteReportFile(const std::string& path, std::string_view text,
                                   std::string* error = nullptr);

} // namespace tallyhawk
