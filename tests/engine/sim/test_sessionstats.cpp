#include "engine/sim/sessionstats.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

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

std::int64_t gamesOf(const std::vector<std::int64_t>& wins)
{
    return static_cast<std::int64_t>(wins.size()) * 100;
}

SessionFigures figuresOf(const std::vector<std::int64_t>& wins)
{
    return ComputeSessionFigures(FoldSessionHistogram(BuildSessionHistogram(logOf(wins), gamesOf(wins))));
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

const std::string kGame = "NEVADA - Other           Harrah's Laughlin             Live Keno $1        ";

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST(SessionStats, HistogramCountsEachSessionsWinAndFoldsFiveHundredOrMore)
{
    const std::vector<std::int64_t> wins{0, 7, 7, 499, 500, 501, 25000, 30000};
    const std::vector<std::int32_t> histogram = BuildSessionHistogram(logOf(wins), gamesOf(wins));
    ASSERT_EQ(histogram.size(), 25001u);
    EXPECT_EQ(histogram[7], 2);
    EXPECT_EQ(histogram[501], 1);
    EXPECT_EQ(histogram[25000], 2); // 25,000 and 30,000
    const std::vector<std::int32_t> folded = FoldSessionHistogram(histogram);
    ASSERT_EQ(folded.size(), 501u);
    EXPECT_EQ(folded[499], 1);
    EXPECT_EQ(folded[500], 4);
    const SessionFigures figures = ComputeSessionFigures(folded);
    EXPECT_EQ(figures.sessions, 8);
    EXPECT_EQ(figures.fiveFold, 4);
    EXPECT_EQ(figures.mode, 7); // the bin of 500 or more, larger, never becomes the mode
}

TEST(SessionStats, OnlyCompletedSessionsOfTheFirstTenMillionGamesCount)
{
    EXPECT_EQ(CompletedSessions(99), 0);
    EXPECT_EQ(CompletedSessions(250), 2);
    EXPECT_EQ(CompletedSessions(12'000'000), 100'000);
    // A partly played session after the last completed one is left out.
    const std::vector<std::int32_t> histogram = BuildSessionHistogram({0, 90, 180, 400}, 299);
    EXPECT_EQ(histogram[90], 2);
    EXPECT_EQ(histogram[220], 0);
    // A negative win fits no bin.
    EXPECT_EQ(ComputeSessionFigures(FoldSessionHistogram(BuildSessionHistogram({0, -5, 95}, 200))).sessions,
              1);
}

TEST(SessionStats, ModeIsTheLowestOfTiedWins)
{
    EXPECT_EQ(figuresOf({70, 63, 70, 63, 200}).mode, 63);
    const SessionFigures even = figuresOf({100, 100, 90});
    EXPECT_EQ(even.mode, 100);
    EXPECT_NE(SessionSummaryText(even, "g", "m", 300, "Total Pct Return = 96.67")
                  .find("\r\nMost Likely End of Session Outcome: Win 0 Credits\r\n"),
              std::string::npos);
}

TEST(SessionStats, SummaryTextHasItsExactLines)
{
    const SessionFigures figures = figuresOf({63, 63, 150, 250, 30, 600});
    EXPECT_EQ(figures.losingHalf, 1);
    EXPECT_EQ(figures.breakevenOrWinning, 3);
    EXPECT_EQ(figures.doubled, 2);
    const std::string summary =
        SessionSummaryText(figures, kGame, "Numbers Marked =  5", 600, "Total Pct Return = 98.50");
    const std::string expected = "Session Statistics\r\n\r\n" + kGame +
                                 "\r\n"
                                 "Numbers Marked =  5\r\n"
                                 "Total Number of 100-Game Sessions: 6\r\n"
                                 "Percentage of Losing Sessions: 50.0 %\r\n"
                                 "Percentage of Breakeven or Winning Sessions: 50.0 %\r\n"
                                 "Most Likely End of Session Outcome: Lose 37 Credits\r\n"
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
}

TEST(SessionStats, FewerThanOneHundredGamesLeaveOutThePercentages)
{
    const std::vector<std::int32_t> histogram = BuildSessionHistogram({0}, 99);
    EXPECT_EQ(std::count(histogram.begin(), histogram.end(), 0), 25001);
    const SessionFigures figures = ComputeSessionFigures(FoldSessionHistogram(histogram));
    const std::vector<std::string> lines =
        linesOf(SessionSummaryText(figures, kGame, "Numbers Marked =  2", 99, "Total Pct Return = 50.51"));
    const std::vector<std::string> expected{"Session Statistics",
                                            "",
                                            kGame,
                                            "Numbers Marked =  2",
                                            "Total Number of 100-Game Sessions: 0",
                                            "Most Likely End of Session Outcome: Lose 100 Credits",
                                            "Note: Session statistics are based on the first ten million "
                                            "games (max) in the simulation.",
                                            "",
                                            "Total Number of Games Played: 99",
                                            "Overall Percentage Return:  50.51 %",
                                            "",
                                            "Do You Wish to Save or Print These Results?"};
    EXPECT_EQ(lines, expected);
}

TEST(SessionStats, LosingShareIsTheRestOfTheBreakevenShare)
{
    std::vector<std::int64_t> wins;
    for (int s = 0; s < 1000; ++s)
        wins.push_back(80 + s % 41); // every session wins 80 to 120
    const std::vector<std::int32_t> histogram = BuildSessionHistogram(logOf(wins), gamesOf(wins));
    for (int w = 0; w <= 25000; ++w)
        EXPECT_EQ(histogram[w] != 0, w >= 80 && w <= 120) << w;
    const SessionFigures figures = ComputeSessionFigures(FoldSessionHistogram(histogram));
    EXPECT_EQ(figures.sessions, 1000);
    EXPECT_DOUBLE_EQ(figures.losingPercent(), 100 - figures.breakevenOrWinningPercent());
}

TEST(SessionStats, CsvHasAHeaderAndOneLinePerBin)
{
    std::vector<std::int32_t> histogram(25001, 0);
    histogram[7] = 12;
    histogram[25000] = 3;
    const std::string text = SessionsCsvText(histogram, kGame, "Numbers Marked =  5");
    const std::vector<std::string> lines = linesOf(text);
    ASSERT_EQ(lines.size(), 25002u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(lines[0], "Win , Frequency," + kGame + ",Numbers Marked =  5");
    EXPECT_EQ(lines[1], " 0,  0");
    EXPECT_EQ(lines[8], " 7,  12");
    EXPECT_EQ(lines[25001], " 25000,  3");
}

TEST(SessionStats, ReportFileIsReplacedWholeOrNotWritten)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tallyhawk-report-test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string path = (folder / kStatsFileName).string();
    ASSERT_TRUE(WriteReportFile(path, "first\r\n"));
    ASSERT_TRUE(WriteReportFile(path, "second\r\n"));
    EXPECT_EQ(readFile(path), "second\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    std::string error;
    const std::string missing = (folder / "no such folder" / kSessionsFileName).string();
    EXPECT_FALSE(WriteReportFile(missing, "text", &error));
    EXPECT_NE(error.find(missing), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(missing));
    std::filesystem::remove_all(folder);
}
