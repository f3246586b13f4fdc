// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The checks that a game's pays and bonus values pass before the catalogue locks them, and the
// ranges every pay and bonus value is held to wherever it enters (typing, a file, a stored row).

#include "engine/common/kenogame.h"

#include <optional>
#include <string>
#include <vector>

namespace tallyhawk {

enum class ValueKind
{
    Pay,
    Bonus
};

// Why a pay or bonus value cannot be held, or none: it is not a finite number, is negative, or
// is above the largest of its kind (kMaxStoredPay, kMaxStoredBonusValue). The phrase follows the cell's name:
// "Pick 4 of Catch 3" + " is -5, below 0".
[[nodiscard]] std::optional<std::string> ValueRangeProblem(double value, ValueKind kind);

// The caption under which the grids and messages name a field: "Pick 4", "Bonus Factor",
// "1 - Egg Factor". Pick n is field 4 + n of a pay-table row, the bonus values fields 14 to 19.
std::string PickCaption(int n);
extern const char* const kBonusCaptions[6];

// The first pay or bonus value of the rows that cannot be held, as a sentence naming its cell
// ("Pick 4 of Catch 3 is -5, below 0."). Pays are checked row by row, then the bonus row's values.
[[nodiscard]] std::optional<std::string> CheckValueRanges(const std::vector<PayScheduleRow>& rows);

// A Catch that two rows share, or a game without its bonus row (Catch 0), which the game list
// would no longer show: the sentence that refuses it, or none.
[[nodiscard]] std::optional<std::string> CheckCatches(const std::vector<PayScheduleRow>& rows);

// The placeholder key of a fresh copy: a location or casino of "New", in any letter case.
bool IsPlaceholderKey(const std::string& location, const std::string& casino);

// The first pay for more catches than numbers marked (a non-zero PickN in a row whose own
// Catch is above N), as the message that refuses it:
// "You must remove the entry made for Pick 3 and Catch 5 before proceeding."
// Rows are checked in the order given, columns from Pick1 to Pick10.
[[nodiscard]] std::optional<std::string> CheckPays(const std::vector<PayScheduleRow>& rows);

enum class BonusVerdict
{
    Accept,
    Refuse,
    Remind
};
struct BonusCheck
{
    BonusVerdict verdict = BonusVerdict::Accept;
    std::string message; // the refusal, or the reminder that does not stop the lock
};

// The bonus checks on the bonus row's values (each the leading number of its text, 0 when
// there is none) and the game's name.
[[nodiscard]] BonusCheck CheckBonus(double bonusBall, double egg1, double egg2, double egg3,
                                    const std::string& gameName);

} // namespace tallyhawk
