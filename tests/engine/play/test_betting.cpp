// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/play/betting.h"

#include <gtest/gtest.h>

using namespace tallyhawk;

namespace {

const std::string kAddCredits = "ADD CREDITS to continue.";
const std::string kReduceBet = "Reduce your bet or ADD CREDITS to continue.\n\nYou can reduce your bet by "
                               "holding down the CTRL-Key and clicking on 'BET ONE'.";
const std::string kSelectNumbers = "You must select numbers (or more numbers) before you may START!";

} // namespace

TEST(StepBet, StepsWithinNoneToFortyFiveAndTakesAPrepaidCreditAtOnce)
{
    struct Case
    {
        int bet, step;
        double credits;
        bool prepaid;
        BetStep expected;
    };
    const Case cases[] = {
        {0, +1, 10, true, {"", 1, 9}},
        {44, +1, 100, true, {"", 45, 99}},
        {45, +1, 100, true, {"Your bet may not exceed 45 credits.", 45, 100}},
        {1, -1, 9, true, {"", 0, 10}}, // stepping down gives the credit back
        {0, -1, 9, true, {"You may not place a negative bet!", 0, 9}},
        {3, +1, 2.5, true, {"", 4, 1}},    // the total is rounded half to even first
        {3, +1, 7.5, false, {"", 4, 7.5}}, // charged at START: the credits stay
        {3, +1, 0, true, {"You must ADD CREDITS before you can bet!", 3, 0}},
        {3, -1, -2, false, {"You must ADD CREDITS before you can bet!", 3, -2}},
    };
    for (const Case& c : cases) {
        const BetStep step = StepBet(c.bet, c.step, c.credits, c.prepaid);
        EXPECT_EQ(step.refusal, c.expected.refusal) << c.bet << " step " << c.step;
        EXPECT_EQ(step.bet, c.expected.bet) << c.bet << " step " << c.step;
        EXPECT_EQ(step.credits, c.expected.credits) << c.bet << " step " << c.step;
    }
}

TEST(StartCoversBet, APrepaidBetAlwaysAndAChargedOneWithinTheCredits)
{
    EXPECT_TRUE(StartCoversBet(45, 0, true));
    EXPECT_TRUE(StartCoversBet(5, 5, false));
    EXPECT_FALSE(StartCoversBet(6, 5, false));
}

TEST(CheckBeforeDraw, RefusesInOrderBetTicketAndCredits)
{
    struct Case
    {
        int bet, marked, payLines;
        bool prepaid;
        double credits;
        std::optional<std::string> refusal;
    };
    const Case cases[] = {
        {0, 5, 3, true, 100, "You must bet at least one credit."},
        {1, 0, 0, true, 100, kSelectNumbers}, // no ticket
        {1, 1, 0, true, 100, kSelectNumbers}, // a count the game does not pay
        {5, 3, 2, true, 0, std::nullopt},     // the bet was taken as it was placed
        {5, 3, 2, false, 0, kAddCredits},
        {5, 3, 2, false, 4, kReduceBet},
        {1, 3, 2, false, 0.5, kAddCredits},
        {5, 3, 2, false, 5, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckBeforeDraw(c.bet, c.marked, c.payLines, c.prepaid, c.credits), c.refusal)
            << "bet " << c.bet << ", " << c.marked << " marked, credits " << c.credits;
}

TEST(CreditsKept, APrepaidBetNotYetPlayedIsGivenBack)
{
    EXPECT_EQ(CreditsKept(95, 5, true, false), 100);
    EXPECT_EQ(CreditsKept(95, 5, true, true), 95); // the play has taken it
    EXPECT_EQ(CreditsKept(95, 5, false, false), 95);
}

TEST(CheckCreditTotal, KeepsCreditsWithinTheLimit)
{
    EXPECT_EQ(CheckCreditTotal(999'999'999'999'999.0), std::nullopt);
    EXPECT_EQ(CheckCreditTotal(1e15), "The credit total may not exceed 999999999999999 credits.");
    EXPECT_EQ(CheckCreditTotal(std::numeric_limits<double>::quiet_NaN()), "That is not a number of credits.");
}
