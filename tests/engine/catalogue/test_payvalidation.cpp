// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/catalogue/payvalidation.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace tallyhawk;

namespace {

// A game whose pays all lie within Catch 0 to N for each PickN.
std::vector<PayScheduleRow> sound()
{
    std::vector<PayScheduleRow> rows(11);
    for (int c = 0; c <= 10; ++c) {
        rows[c].key = {"NEVADA - Other", "Harrah's Laughlin", "Live Keno $1"};
        rows[c].Catch = c;
        for (int n = std::max(c, 1); n <= 10 && c > 0; ++n)
            rows[c].Pick[n - 1] = double(n * c);
    }
    return rows;
}

std::string removeEntry(int pick, int caught)
{
    return "You must remove the entry made for Pick " + std::to_string(pick) + " and Catch " +
           std::to_string(caught) + " before proceeding.";
}

} // namespace

TEST(PaysCheck, RefusesThePayOfTheFirstRowForMoreCatchesThanMarked)
{
    EXPECT_EQ(CheckPays(sound()), std::nullopt);
    auto rows = sound();
    rows[3].Pick[1] = 0; // 0 and empty are no pay
    rows[5].Pick[2] = std::nullopt;
    EXPECT_EQ(CheckPays(rows), std::nullopt);
    rows[10].Pick[8] = -1; // any pay that is not 0
    EXPECT_EQ(CheckPays(rows), removeEntry(9, 10));
    rows[4].Pick[2] = rows[4].Pick[0] = 1;
    EXPECT_EQ(CheckPays(rows), removeEntry(1, 4)); // the first row, then the first column
    // The row's own Catch, whatever the order or a missing row; a row without a Catch says nothing.
    std::reverse(rows.begin(), rows.end());
    EXPECT_EQ(CheckPays(rows), removeEntry(9, 10));
    rows.erase(rows.begin(), rows.begin() + 2);
    rows[0].Catch.reset();
    rows[0].Pick.fill(7);
    EXPECT_EQ(CheckPays(rows), removeEntry(1, 4));
}

TEST(BonusCheck, EggsAboveOneNeedACavemanGameAndNoBonusBall)
{
    const std::string ballAndEggs = "You cannot have both a Bonus Ball and Egg Bonus in the same game. "
                                    "Set Bonus Ball = 0 OR set all Egg Bonuses = 1 .";
    const std::string caveman = "You must select a 'Caveman' game if any Egg Bonus is greater than ' 1 '.";
    // A game whose name begins with "Keno", with a bonus ball and eggs not 1, is reminded but locks.
    const std::string reminder = "Reminder: If you don't want a bonus to be applied, the values\n"
                                 "in the bonus row should read  0   0   1   1   1   1";
    const std::tuple<double, double, double, const char*, BonusVerdict, std::string> cases[] = {
        {1, 2, 1, "Caveman Keno 25\xC2\xA2", BonusVerdict::Refuse, ballAndEggs},
        {-1, 2, 1, "Live Keno", BonusVerdict::Refuse, caveman},
        {0, 1, 4, "my CAVEMAN game", BonusVerdict::Accept, ""},
        {5, 1, 1, "Caveman Keno $1", BonusVerdict::Accept, ""},
        {2, 1, 0, "KENO 5\xC2\xA2", BonusVerdict::Remind, reminder},
        {0, 1, 0, "Keno $1", BonusVerdict::Accept, ""},
        {2, 1, 0, "Live Keno", BonusVerdict::Accept, ""}};
    for (const auto& [ball, egg1, egg3, name, verdict, message] : cases) {
        const BonusCheck check = CheckBonus(ball, egg1, 1, egg3, name);
        EXPECT_EQ(check.verdict, verdict) << name << " " << ball;
        EXPECT_EQ(check.message, message) << name << " " << ball;
    }
}

TEST(RowChecks, EachValueUpToTheLargestItsRulesHoldNamedByItsCellAndEachRowItsOwnCatch)
{
    EXPECT_EQ(ValueRangeProblem(2147483647, ValueKind::Pay), std::nullopt);
    EXPECT_EQ(ValueRangeProblem(-0.5, ValueKind::Bonus), " is -0.5, below 0");
    EXPECT_EQ(ValueRangeProblem(std::nan(""), ValueKind::Pay), " is not a finite number");
    EXPECT_EQ(CheckValueRanges(sound()), std::nullopt);
    auto rows = sound();
    rows[0].BonusFactor = 40000;
    rows[5].Egg3Bonus = -1; // a bonus value off the bonus row is never read
    EXPECT_EQ(CheckValueRanges(rows),
              "Bonus Factor is 40000, above 32,767, the largest bonus value the board holds.");
    rows[3].Pick[5] = 2147483648.0; // pays come first
    EXPECT_EQ(CheckValueRanges(rows),
              "Pick 6 of Catch 3 is 2147483648, above 2,147,483,647, the largest pay the simulation holds.");
    rows[3].Pick[5] = -5;
    EXPECT_EQ(CheckValueRanges(rows), "Pick 6 of Catch 3 is -5, below 0.");
    // Each row its own Catch, and a bonus row.
    EXPECT_EQ(CheckCatches(sound()), std::nullopt);
    rows = sound();
    rows[4].Catch = 2;
    EXPECT_EQ(CheckCatches(rows),
              "Two rows of this game are for Catch 2. Give each row its own Catch from 0 to 10.");
    rows = sound();
    rows[0].Catch = 11;
    EXPECT_EQ(CheckCatches(rows),
              "This game has no row for Catch 0, the row of its bonus values, and the list of "
              "games would no longer show it. Give one row Catch 0.");
}
