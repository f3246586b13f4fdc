// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "payvalidation.h"

#include "engine/common/gameconstants.h"
#include "engine/common/numberforms.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace tallyhawk {

namespace {

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

bool containsIgnoringCase(std::string_view text, std::string_view part)
{
    const auto found = std::search(text.begin(), text.end(), part.begin(), part.end(),
                                   [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
    return found != text.end() || part.empty();
}

bool beginsIgnoringCase(std::string_view text, std::string_view start)
{
    return text.size() >= start.size() && equalIgnoringCase(text.substr(0, start.size()), start);
}

std::array<const std::optional<double>*, 6> bonusValues(const PayScheduleRow& row)
{
    return {&row.BonusBall, &row.FreeGames, &row.BonusFactor, &row.Egg1Bonus, &row.Egg2Bonus, &row.Egg3Bonus};
}

std::optional<std::string> cellProblem(const std::string& cell, const std::optional<double>& value,
                                       ValueKind kind)
{
    if (!value)
        return std::nullopt;
    if (const auto problem = ValueRangeProblem(*value, kind))
        return cell + *problem + ".";
    return std::nullopt;
}

} // namespace

const char* const kBonusCaptions[6] = {"Bonus Ball",     "Free Games",     "Bonus Factor",
                                       "1 - Egg Factor", "2 - Egg Factor", "3 - Egg Factor"};

std::string PickCaption(int n)
{
    return "Pick " + std::to_string(n);
}

std::optional<std::string> ValueRangeProblem(double value, ValueKind kind)
{
    if (!std::isfinite(value))
        return std::string(" is not a finite number");
    if (value < 0)
        return " is " + PlainForm(value) + ", below 0";
    if (kind == ValueKind::Pay && value > kMaxStoredPay)
        return " is " + PlainForm(value) + ", above 2,147,483,647, the largest pay the simulation holds";
    if (kind == ValueKind::Bonus && value > kMaxStoredBonusValue)
        return " is " + PlainForm(value) + ", above 32,767, the largest bonus value the board holds";
    return std::nullopt;
}

std::optional<std::string> CheckValueRanges(const std::vector<PayScheduleRow>& rows)
{
    for (const PayScheduleRow& row : rows) {
        const std::string of =
            row.Catch ? " of Catch " + std::to_string(*row.Catch) : " of a row without a Catch";
        for (int n = 1; n <= kMaxMarks; ++n)
            if (auto problem = cellProblem(PickCaption(n) + of, row.Pick[n - 1], ValueKind::Pay))
                return problem;
    }
    for (const PayScheduleRow& row : rows) {
        if (row.Catch != 0)
            continue;
        const auto values = bonusValues(row);
        for (std::size_t i = 0; i < values.size(); ++i)
            if (auto problem = cellProblem(kBonusCaptions[i], *values[i], ValueKind::Bonus))
                return problem;
    }
    return std::nullopt;
}

std::optional<std::string> CheckCatches(const std::vector<PayScheduleRow>& rows)
{
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (std::size_t j = i + 1; j < rows.size(); ++j)
            if (rows[i].Catch && rows[i].Catch == rows[j].Catch)
                return "Two rows of this game are for Catch " + std::to_string(*rows[i].Catch) +
                       ". Give each row its own Catch from 0 to 10.";
    if (std::none_of(rows.begin(), rows.end(), [](const PayScheduleRow& row) { return row.Catch == 0; }))
        return std::string("This game has no row for Catch 0, the row of its bonus values, and the list of "
                           "games would no longer show it. Give one row Catch 0.");
    return std::nullopt;
}

bool IsPlaceholderKey(const std::string& location, const std::string& casino)
{
    return equalIgnoringCase(location, "New") || equalIgnoringCase(casino, "New");
}

std::optional<std::string> CheckPays(const std::vector<PayScheduleRow>& rows)
{
    // Each row is judged by its own Catch, so a game that lacks a row or stores its rows in
    // another order gets the message for the row that really holds the pay.
    for (const PayScheduleRow& row : rows) {
        if (!row.Catch)
            continue;
        const int caught = *row.Catch;
        for (int n = 1; n <= kMaxMarks; ++n) {
            const double pay = row.Pick[n - 1].value_or(0); // Null counts as no pay
            if (pay != 0 && caught > n)
                return "You must remove the entry made for Pick" + StrForm(n) + " and Catch" +
                       StrForm(caught) + " before proceeding.";
        }
    }
    return std::nullopt;
}

BonusCheck CheckBonus(double bonusBall, double egg1, double egg2, double egg3, const std::string& gameName)
{
    // Three eggs of factor 1 sum to 3: any egg above 1 makes the sum greater.
    const double eggs = egg1 + egg2 + egg3;
    if (eggs > kCavemanEggs) {
        if (bonusBall > 0)
            return {BonusVerdict::Refuse, "You cannot have both a Bonus Ball and Egg Bonus in the same game. "
                                          "Set Bonus Ball = 0 OR set all Egg Bonuses = 1 ."};
        if (!containsIgnoringCase(gameName, "Caveman"))
            return {BonusVerdict::Refuse,
                    "You must select a 'Caveman' game if any Egg Bonus is greater than ' 1 '."};
    }
    if (beginsIgnoringCase(gameName, "Keno") && eggs != kCavemanEggs && bonusBall != 0)
        return {BonusVerdict::Remind, "Reminder: If you don't want a bonus to be applied, the values\n"
                                      "in the bonus row should read  0   0   1   1   1   1"};
    return {};
}

} // namespace tallyhawk
