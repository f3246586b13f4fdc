// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The board's rules for the bet and the credits: BET ONE's steps, when START may be pressed,
// the checks before a draw, and the credits a quit keeps.
//
// A bet is prepaid from the moment it is placed until the first draw: BET ONE takes each credit
// off the total at once. After the first draw the bet is charged at each START instead.

#include <optional>
#include <string>

namespace tallyhawk {

// The most credits the board keeps: every whole number of credits up to it is held exactly and
// shown in full.
constexpr double kMaxCredits = 999'999'999'999'999.0;

// A message when a credit total cannot be kept: not a number, or above kMaxCredits.
[[nodiscard]] std::optional<std::string> CheckCreditTotal(double total);

// One press of BET ONE: `step` is +1, or -1 with CTRL held down.
struct BetStep
{
    std::string refusal; // why the bet stays as it was; empty when it changed
    int bet = 0;
    double credits = 0; // a prepaid step takes the credit off, from the total rounded half to even
    bool refused() const { return !refusal.empty(); }
};
[[nodiscard]] BetStep StepBet(int bet, int step, double credits, bool betPrepaid);

// Whether START may be pressed with this bet: a prepaid bet is paid already; a bet charged at
// START must be within the credits.
[[nodiscard]] bool StartCoversBet(int bet, double credits, bool betPrepaid);

// The checks of START, in order: a bet, a ticket that the game pays (`payLines` paying catches
// for `markedCount` numbers), and credits for a bet charged now. A message when the play may
// not start.
[[nodiscard]] std::optional<std::string> CheckBeforeDraw(int bet, int markedCount, int payLines,
                                                         bool betPrepaid, double credits);

// What a quit or a crash keeps: the credits, with a prepaid bet that no draw has taken given back.
[[nodiscard]] double CreditsKept(double credits, int bet, bool betPrepaid, bool playing);

} // namespace tallyhawk
