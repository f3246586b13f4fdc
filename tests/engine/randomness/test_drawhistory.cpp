// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers
// The reader of a player's draw history: the layouts lotteries and players write, and every
// malformed line refused with its number and reason, the draws given before left as they were.

#include "engine/randomness/drawhistory.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace tallyhawk;

namespace {

// The numbers first to first + 19 written with `separator`.
std::string numbers(int first, const std::string& separator = ",")
{
    std::string text;
    for (int n = first; n < first + 20; ++n)
        text += (n == first ? "" : separator) + std::to_string(n);
    return text;
}

KenoDraw drawOf(int first)
{
    KenoDraw draw;
    for (int i = 0; i < 20; ++i)
        draw[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(first + i);
    return draw;
}

} // namespace

TEST(DrawHistory, ReadsTheLayoutsOfLotteriesAndPlayersNotes)
{
    struct Case
    {
        const char* layout;
        std::string text;
        std::vector<int> firstNumbers; // of each draw read
    };
    const Case cases[] = {
        {"a lottery's CSV: header, draw number, date, multiplier",
         "Draw,Date,Numbers 1 to 20,Multiplier\n2458001,2024-01-05," + numbers(1) +
             ",3\n2458002,2024-01-05," + numbers(41) + ",10\n",
         {1, 41}},
        {"semicolons, CR LF, blank lines and a byte order mark",
         "\xEF\xBB\xBF" + numbers(5, ";") + "\r\n\r\n" + numbers(61, ";") + "\r\n  \r\n",
         {5, 61}},
        {"tabs and runs of blanks", numbers(2, "\t") + "\n" + numbers(3, "   ") + "\n", {2, 3}},
        {"a quoted date holding a comma and a blank, leading zeros",
         "\"Jan 5, 2024\",\"01\",02,03,04,05,06,07,08,09,10,11,12,13,14,15,16,17,18,19,20\n",
         {1}},
        {"a player's notes: a time and a word before the numbers",
         "9:30pm machine " + numbers(7, " ") + "\n",
         {7}},
        // 20 numbers after a leading draw count 1 to 80 make two runs of 20 on a line: the place the
        // other lines keep their draw decides (line 2's count, 2, is also one of its numbers).
        {"a small draw count before the draw",
         "1 " + numbers(30, " ") + "\n2 " + numbers(2, " ") + "\n3 " + numbers(40, " ") + "\n",
         {30, 2, 40}},
    };
    for (const Case& c : cases) {
        std::vector<KenoDraw> draws;
        std::string error;
        ASSERT_TRUE(ParseDrawHistory(c.text, &draws, &error)) << c.layout << ": " << error;
        ASSERT_EQ(draws.size(), c.firstNumbers.size()) << c.layout;
        for (std::size_t i = 0; i < draws.size(); ++i)
            EXPECT_EQ(draws[i], drawOf(c.firstNumbers[i])) << c.layout << ", draw " << i + 1;
    }
}

TEST(DrawHistory, RefusesAMalformedLineWithItsNumberAndWhyAndKeepsNothing)
{
    const std::string good = numbers(1) + "\n";
    const std::string nineteen = "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19";
    const std::string rule = "; a draw is 20 different numbers from 1 to 80.";
    const std::pair<std::string, std::string> cases[] = {
        {good + good + nineteen + "\n", "Line 3 holds 19 numbers from 1 to 80 in a row" + rule},
        {good + "7," + numbers(2).substr(0, numbers(2).rfind(',')) + ",7\n", "Line 2 holds 7 twice" + rule},
        {good + nineteen + ",81\n",
         "Line 2 holds 19 numbers from 1 to 80 in a row and \"81\", which is not from 1 to 80" + rule},
        {good + "0," + nineteen + "\n",
         "Line 2 holds 19 numbers from 1 to 80 in a row and \"0\", which is not from 1 to 80" + rule},
        {good + "\n\nno draw tonight\n", "Line 4 holds no number from 1 to 80" + rule},
        {nineteen + "\n" + good, "Line 1 holds 19 numbers from 1 to 80 in a row" + rule},
        {good + nineteen + "\n" + good + "x\n" + nineteen + "\n",
         "Line 2 holds 19 numbers from 1 to 80 in a row" + rule + " 2 more lines are refused too."},
        {"", "The file holds no draw" + rule},
        {"Draw,Date,Numbers\n\n \n", "The file holds no draw" + rule},
    };
    for (const auto& [text, message] : cases) {
        std::vector<KenoDraw> draws{drawOf(50)};
        std::string error;
        EXPECT_FALSE(ParseDrawHistory(text, &draws, &error)) << text;
        EXPECT_EQ(error, message) << text;
        EXPECT_EQ(draws, std::vector<KenoDraw>{drawOf(50)}) << text;
    }
}

TEST(DrawHistory, ReadsAFileAndSaysWhenThereIsNone)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "tallyhawk-drawhistory-test";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "draws.csv";
    std::ofstream(file) << numbers(10) << "\n" << numbers(20) << "\n";
    std::vector<KenoDraw> draws;
    std::string error;
    EXPECT_TRUE(ReadDrawHistory(file, &draws, &error)) << error;
    EXPECT_EQ(draws, (std::vector<KenoDraw>{drawOf(10), drawOf(20)}));
    EXPECT_FALSE(ReadDrawHistory(folder / "missing.csv", &draws, &error));
    EXPECT_EQ(error, "There is no such file.");
    EXPECT_FALSE(ReadDrawHistory(folder, &draws, &error));
    EXPECT_EQ(error, "It is a folder, not a file.");
    EXPECT_EQ(draws.size(), 2u);
    std::filesystem::remove_all(folder);
}
