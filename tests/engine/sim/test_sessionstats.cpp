// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/sim/sessionstats.h"

#include <gtest/gtest.h>

using namespace tallyhawk;

namespace {

// A session log whose sessions won the given credits, one after the other.
std::vector<std::int64_t> logOf(const std::vector<std::int64_t>& wins)
{
    std::vector<std::int64_t> log{0};
    for (std::int64_t win : wins)
        log.push_back(log.back() + win);
    return log;
}

SessionFigures figuresOf(const std::vector<std::int64_t>& wins)
{
    const auto games = static_cast<std::int64_t>(wins.size()) * 100;
    return ComputeSessionFigures(FoldSessionHistogram(BuildSessionHistogram(logOf(wins), games)));
}

const std::string kGame = "NEVADA - Other           Harrah's Laughlin             Live Keno $1        ";

std::string summaryOf(const SessionFigures& figures, std::int64_t games)
{
    return SessionSummaryText(figures, kGame, "Numbers Marked =  5", games, "Total Pct Return = 98.50");
}

} // namespace

TEST(SessionStats, HistogramCountsTheCompletedSessionsAndFoldsFiveHundredOrMore)
{
    const std::vector<std::int32_t> histogram =
        BuildSessionHistogram(logOf({0, 7, 7, 499, 500, 501, 25000, 30000}), 850);
    ASSERT_EQ(histogram.size(), 25001u);
    EXPECT_EQ(histogram[25000], 2); // 25,000 and 30,000
    const std::vector<std::int32_t> folded = FoldSessionHistogram(histogram);
    ASSERT_EQ(folded.size(), 501u);
    EXPECT_EQ(folded[500], 4);
    EXPECT_EQ(ComputeSessionFigures(folded).mode, 7); // never the larger bin of 500 or more
    // A partly played session after the last completed one is left out; a negative win fits no bin.
    EXPECT_EQ(BuildSessionHistogram({0, 90, 180, 400}, 299)[90], 2);
    EXPECT_EQ(ComputeSessionFigures(FoldSessionHistogram(BuildSessionHistogram({0, -5, 95}, 200))).sessions,
              1);
}

TEST(SessionStats, SummaryTextHasItsExactLines)
{
    // Lost: 30, 51, 63; broke even or won: 100, 250, 600; lost half: 30 (51 is more than half).
    const std::string summary = summaryOf(figuresOf({63, 51, 100, 250, 30, 600}), 600);
    const std::string expected = "Session Statistics\r\n\r\n" + kGame +
                                 "\r\n"
                                 "Numbers Marked =  5\r\n"
                                 "Total Number of 100-Game Sessions: 6\r\n"
                                 "Percentage of Losing Sessions: 50.0 %\r\n"
                                 "Percentage of Breakeven or Winning Sessions: 50.0 %\r\n"
                                 "Most Likely End of Session Outcome: Lose 70 Credits\r\n"
                                 "You Will Double Your Money (or Better) 33.3 % of the Time\r\n"
                                 "You Will Multiply Your Money by 5X or more 16.7 % of the Time\r\n"
                                 "You Will Lose Half of Your Money (or Worse) 16.7 % of the Time\r\n"
                                 "Note: Session statistics are based on the first ten million games (max) in "
                                 "the simulation.\r\n\r\n"
                                 "Total Number of Games Played: 600\r\n"
                                 "Overall Percentage Return:  98.50 %\r\n\r\n"
                                 "Do You Wish to Save or Print These Results?";
    EXPECT_EQ(summary, expected);
    EXPECT_EQ(StatsFileText(summary), expected.substr(0, expected.size() - 43) + "\r\n");
    // The lowest of tied wins is the mode; an even session is a win of 0.
    EXPECT_EQ(figuresOf({70, 63, 70, 63, 200}).mode, 63);
    EXPECT_NE(summaryOf(figuresOf({100, 100, 90}), 300).find("Outcome: Win 0 Credits\r\n"),
              std::string::npos);
    // Fewer than a hundred games leave out the percentages.
    const std::string none =
        summaryOf(ComputeSessionFigures(FoldSessionHistogram(BuildSessionHistogram({0}, 99))), 99);
    EXPECT_NE(none.find("Sessions: 0\r\nMost Likely End of Session Outcome: Lose 100 Credits\r\nNote:"),
              std::string::npos);
    EXPECT_EQ(none.find('%'), none.rfind('%'));
}

TEST(SessionStats, CsvHasAHeaderAndOneLinePerBin)
{
    std::vector<std::int32_t> histogram(25001, 0);
    histogram[25000] = 3;
    const std::string text = SessionsCsvText(histogram, "G", "Numbers Marked =  5");
    EXPECT_TRUE(text.starts_with("Win , Frequency,G,Numbers Marked =  5\r\n 0,  0\r\n 1,  0\r\n"));
    EXPECT_TRUE(text.ends_with("\r\n 24999,  0\r\n 25000,  3\r\n"));
}

// A game that pays so much that every session wins 500 or more: the bin of 500 or more is the
// most likely outcome, not the empty bin of 0 that the likeliest win below 500 would name.
TEST(SessionStats, EverySessionWinningFiveHundredOrMoreIsTheMostLikelyOutcome)
{
    const std::string summary = summaryOf(figuresOf({2147483647LL * 25, 500, 25000, 3000}), 400);
    for (const char* line : {"Percentage of Losing Sessions: 0.0 %\r\n",
                             "Percentage of Breakeven or Winning Sessions: 100.0 %\r\n",
                             "Most Likely End of Session Outcome: Win 400 or More Credits\r\n",
                             "You Will Double Your Money (or Better) 100.0 % of the Time\r\n",
                             "You Will Multiply Your Money by 5X or more 100.0 % of the Time\r\n",
                             "You Will Lose Half of Your Money (or Worse) 0.0 % of the Time\r\n"})
        EXPECT_NE(summary.find(line), std::string::npos) << line << "\n" << summary;

    // The top bin takes over only when it holds more than half of the sessions.
    const struct
    {
        std::int32_t mode;
        double fiveFoldPercent;
        const char* outcome;
    } cases[] = {{0, 100, "Win 400 or More Credits"}, {30, 50.1, "Win 400 or More Credits"},
                 {30, 50, "Lose 70 Credits"},         {100, 49.9, "Win 0 Credits"},
                 {499, 0, "Win 399 Credits"},         {0, 0, "Lose 100 Credits"}};
    for (const auto& c : cases)
        EXPECT_EQ(MostLikelyOutcome(c.mode, c.fiveFoldPercent), c.outcome)
            << c.mode << " " << c.fiveFoldPercent;
}
