#include "engine/catalogue/payvalidation.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace tallyhawk;

namespace {

// A game whose pays all lie within Catch 0 to N for each PickN.
std::vector<PayScheduleRow> sound()
{
    std::vector<PayScheduleRow> rows;
    for (int c = 0; c <= 10; ++c) {
        PayScheduleRow row;
        row.key = {"NEVADA - Other", "Harrah's Laughlin", "Live Keno $1"};
        row.Catch = c;
        for (int n = std::max(c, 1); n <= 10; ++n)
            row.Pick[n - 1] = c == 0 ? std::optional<double>() : double(n * c);
        rows.push_back(row);
    }
    return rows;
}

const std::string kBallAndEggs = "You cannot have both a Bonus Ball and Egg Bonus in the same game. "
                                 "Set Bonus Ball = 0 OR set all Egg Bonuses = 1 .";
const std::string kCaveman = "You must select a 'Caveman' game if any Egg Bonus is greater than ' 1 '.";
const std::string kReminder = "Reminder: If you don't want a bonus to be applied, the values\n"
                              "in the bonus row should read  0   0   1   1   1   1";

} // namespace

TEST(Placeholder, NewInAnyLetterCaseInLocationOrCasino)
{
    EXPECT_TRUE(IsPlaceholderKey("New", "Rampart"));
    EXPECT_TRUE(IsPlaceholderKey("NEVADA - Other", "new"));
    EXPECT_TRUE(IsPlaceholderKey("nEW", "NEW"));
    EXPECT_FALSE(IsPlaceholderKey("NEVADA - Other", "Rampart"));
    EXPECT_FALSE(IsPlaceholderKey("New ", "Newport")); // the whole text, as it stands
    EXPECT_FALSE(IsPlaceholderKey("", ""));
}

TEST(PaysCheck, AcceptsPaysWithinTheMarkedCount)
{
    EXPECT_EQ(CheckPays(sound()), std::nullopt);
    EXPECT_EQ(CheckPays({}), std::nullopt);
}

TEST(PaysCheck, RefusesAPayForMoreCatchesThanMarked)
{
    auto rows = sound();
    rows[3].Pick[1] = 2; // Pick2 in the row of Catch 3
    EXPECT_EQ(CheckPays(rows), "You must remove the entry made for Pick 2 and Catch 3 before proceeding.");

    rows = sound();
    rows[10].Pick[8] = -1; // no sign rule: any pay that is not 0
    EXPECT_EQ(CheckPays(rows), "You must remove the entry made for Pick 9 and Catch 10 before proceeding.");
}

TEST(PaysCheck, AcceptsZeroAndEmptyInSuchAPosition)
{
    auto rows = sound();
    rows[3].Pick[1] = 0;
    rows[5].Pick[2] = std::nullopt;
    EXPECT_EQ(CheckPays(rows), std::nullopt);
}

TEST(PaysCheck, NamesTheRowsOwnCatchWhateverTheOrderOrAMissingRow)
{
    auto rows = sound();
    rows[5].Pick[2] = 1; // Pick3, Catch 5
    auto reversed = rows;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(CheckPays(reversed),
              "You must remove the entry made for Pick 3 and Catch 5 before proceeding.");

    auto missing = rows;
    missing.erase(missing.begin() + 2); // no Catch 2 row: the Catch 5 row comes fifth
    EXPECT_EQ(CheckPays(missing), "You must remove the entry made for Pick 3 and Catch 5 before proceeding.");

    // A row without a Catch says nothing about catches.
    auto noCatch = sound();
    noCatch[0].Catch.reset();
    noCatch[0].Pick.fill(7);
    EXPECT_EQ(CheckPays(noCatch), std::nullopt);
}

TEST(PaysCheck, ReportsTheFirstRowThenTheFirstColumn)
{
    auto rows = sound();
    rows[4].Pick[0] = 1; // Pick1, Catch 4
    rows[4].Pick[2] = 1; // Pick3, Catch 4
    rows[2].Pick[0] = 1; // Pick1, Catch 2: its row comes first
    EXPECT_EQ(CheckPays(rows), "You must remove the entry made for Pick 1 and Catch 2 before proceeding.");
}

TEST(BonusCheck, NoBonusLocksWithoutAMessage)
{
    const BonusCheck check = CheckBonus(0, 1, 1, 1, "Keno $1");
    EXPECT_EQ(check.verdict, BonusVerdict::Accept);
    EXPECT_EQ(check.message, "");
}

TEST(BonusCheck, EggsAboveOneRefuseABonusBall)
{
    const BonusCheck check = CheckBonus(1, 2, 1, 1, "Caveman Keno 25\xC2\xA2");
    EXPECT_EQ(check.verdict, BonusVerdict::Refuse);
    EXPECT_EQ(check.message, kBallAndEggs);
}

TEST(BonusCheck, EggsAboveOneNeedACavemanGame)
{
    const BonusCheck keno = CheckBonus(0, 2, 1, 1, "Keno");
    EXPECT_EQ(keno.verdict, BonusVerdict::Refuse);
    EXPECT_EQ(keno.message, kCaveman);
    EXPECT_EQ(CheckBonus(0, 2, 1, 1, "Caveman Keno 25\xC2\xA2").verdict, BonusVerdict::Accept);
    EXPECT_EQ(CheckBonus(0, 1, 1, 4, "my CAVEMAN game").verdict, BonusVerdict::Accept);
    EXPECT_EQ(CheckBonus(-1, 2, 1, 1, "Live Keno").message, kCaveman);
}

TEST(BonusCheck, EggsOfOneNeverTrigger)
{
    for (const double ball : {-1.0, 0.0, 1.0, 5.0})
        for (const char* name : {"Keno", "Keno $1", "Live Keno", "Caveman Keno $1"})
            EXPECT_EQ(CheckBonus(ball, 1, 1, 1, name).verdict, BonusVerdict::Accept) << name << ball;
}

TEST(BonusCheck, AKenoGameWithABonusAndEggsNotOneIsRemindedButLocks)
{
    const BonusCheck reminded = CheckBonus(2, 1, 1, 0, "Keno $1");
    EXPECT_EQ(reminded.verdict, BonusVerdict::Remind);
    EXPECT_EQ(reminded.message, kReminder);
    EXPECT_EQ(CheckBonus(2, 1, 1, 0, "KENO 5\xC2\xA2").verdict, BonusVerdict::Remind);
    EXPECT_EQ(CheckBonus(0, 1, 1, 0, "Keno $1").verdict, BonusVerdict::Accept);
    // Only names that begin with "Keno".
    EXPECT_EQ(CheckBonus(2, 1, 1, 0, "Live Keno").verdict, BonusVerdict::Accept);
}

TEST(ValueRanges, EachKindUpToTheLargestItsRulesHold)
{
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ValueRangeProblem(0, ValueKind::Pay), std::nullopt);
    EXPECT_EQ(ValueRangeProblem(2147483647, ValueKind::Pay), std::nullopt);
    EXPECT_EQ(ValueRangeProblem(12.275, ValueKind::Pay), std::nullopt);
    EXPECT_EQ(ValueRangeProblem(2147483648.0, ValueKind::Pay),
              " is 2147483648, above 2,147,483,647, the largest pay the simulation holds");
    EXPECT_EQ(ValueRangeProblem(32767, ValueKind::Bonus), std::nullopt);
    EXPECT_EQ(ValueRangeProblem(32767.5, ValueKind::Bonus),
              " is 32767.5, above 32,767, the largest bonus value the board holds");
    EXPECT_EQ(ValueRangeProblem(-0.5, ValueKind::Bonus), " is -0.5, below 0");
    EXPECT_EQ(ValueRangeProblem(-infinity, ValueKind::Pay), " is not a finite number");
    EXPECT_EQ(ValueRangeProblem(std::nan(""), ValueKind::Bonus), " is not a finite number");
}

TEST(ValueRanges, TheFirstValueOutOfRangeIsNamedByItsCell)
{
    EXPECT_EQ(CheckValueRanges(sound()), std::nullopt);
    auto rows = sound();
    rows[0].BonusFactor = 40000;
    EXPECT_EQ(CheckValueRanges(rows),
              "Bonus Factor is 40000, above 32,767, the largest bonus value the board holds.");
    rows[3].Pick[5] = -5; // pays come first
    EXPECT_EQ(CheckValueRanges(rows), "Pick 6 of Catch 3 is -5, below 0.");
    rows = sound();
    rows[0].Egg3Bonus = -1;
    EXPECT_EQ(CheckValueRanges(rows), "3 - Egg Factor is -1, below 0.");
    rows[5].Egg3Bonus = -1; // a bonus value off the bonus row is never read
    rows[0].Egg3Bonus = 1;
    EXPECT_EQ(CheckValueRanges(rows), std::nullopt);
}

TEST(CatchCheck, EachRowItsOwnCatchAndABonusRow)
{
    EXPECT_EQ(CheckCatches(sound()), std::nullopt);
    auto rows = sound();
    rows[4].Catch = 2;
    EXPECT_EQ(CheckCatches(rows),
              "Two rows of this game are for Catch 2. Give each row its own Catch from 0 to 10.");
    rows = sound();
    rows[0].Catch = 11;
    EXPECT_EQ(CheckCatches(rows),
              "This game has no row for Catch 0, the row of its bonus values, and the list of "
              "games would no longer show it. Give one row Catch 0.");
}
