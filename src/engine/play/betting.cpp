// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "betting.h"

#include "engine/common/gameconstants.h"
#include "engine/common/numberforms.h"

#include <cmath>

namespace tallyhawk {

std::optional<std::string> CheckCreditTotal(double total)
{
    if (!std::isfinite(total))
        return "That is not a number of credits.";
    if (total > kMaxCredits)
        return "The credit total may not exceed " + PlainForm(kMaxCredits) + " credits.";
    return std::nullopt;
}

BetStep StepBet(int bet, int step, double credits, bool betPrepaid)
{
    BetStep result{{}, bet, credits};
    if (credits <= 0) {
        result.refusal = "You must ADD CREDITS before you can bet!";
        return result;
    }
    // A bet steps down to none at all, but never below.
    if (step < 0 && bet + step < 0) {
        result.refusal = "You may not place a negative bet!";
        return result;
    }
    if (step > 0 && bet + step > kMaxBet) {
        result.refusal = "Your bet may not exceed " + PlainForm(kMaxBet) + " credits.";
        return result;
    }
    result.bet = bet + step;
    if (betPrepaid)
        result.credits = RoundHalfEven(credits) - step;
    return result;
}

bool StartCoversBet(int bet, double credits, bool betPrepaid)
{
    return betPrepaid || bet <= credits;
}

std::optional<std::string> CheckBeforeDraw(int bet, int markedCount, int payLines, bool betPrepaid,
                                           double credits)
{
    if (bet < kMinBet)
        return "You must bet at least one credit.";
    if (markedCount < kMinMarks || payLines < 1)
        return "You must select numbers (or more numbers) before you may START!";
    if (betPrepaid)
        return std::nullopt;
    if (credits == 0)
        return "ADD CREDITS to continue.";
    if (credits - bet < 0) {
        if (bet > 1)
            return "Reduce your bet or ADD CREDITS to continue.\n\nYou can reduce your bet by holding down "
                   "the CTRL-Key and clicking on 'BET ONE'.";
        return "ADD CREDITS to continue.";
    }
    return std::nullopt;
}

double CreditsKept(double credits, int bet, bool betPrepaid, bool playing)
{
    return credits + (betPrepaid && !playing ? bet : 0);
}

} // namespace tallyhawk
