// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "paytableimport.h"

#include "engine/common/numberforms.h"
#include "payvalidation.h"

#include <algorithm>
#include <cmath>

namespace tallyhawk {

namespace {

constexpr int kFirstPayValue = 4;
constexpr int kFirstBonusValue = 14;

// Why a record is refused: "Record 3" and the rest of the sentence.
struct Refusal
{
    std::string reason;
};

std::string keyText(const PayTableFileValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    if (const auto* number = std::get_if<double>(&value))
        return PlainForm(*number);
    return {};
}

// How a value is shown in a message: a text in quotes, a number as written, nothing as blank.
std::string shown(const PayTableFileValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return "\"" + *text + "\"";
    if (const auto* number = std::get_if<double>(&value))
        return PlainForm(*number);
    return "blank";
}

// A number, a text that reads as one, or blank (nothing or an empty text); false for anything else.
bool numberOrBlank(const PayTableFileValue& value, std::optional<double>* number)
{
    number->reset();
    if (const auto* n = std::get_if<double>(&value)) {
        *number = *n;
        return true;
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        if (TrimBlanks(*text).empty())
            return true;
        *number = ParseNumber(*text);
        return number->has_value();
    }
    return true;
}

std::string describe(const GameKey& key)
{
    return key.Location + ", " + key.Casino + ", " + key.Game;
}

std::optional<double> checkedValue(const PayTableFileValue& value, const std::string& caption, ValueKind kind,
                                   std::optional<Refusal>* refusal)
{
    std::optional<double> number;
    if (!numberOrBlank(value, &number))
        *refusal = Refusal{": " + caption + ", " + shown(value) + ", is not a number"};
    else if (number)
        if (const auto problem = ValueRangeProblem(*number, kind))
            *refusal = Refusal{": " + caption + *problem};
    return number;
}

// One record as a row; the refusal says what is wrong with it.
PayScheduleRow rowOf(const PayTableFileRecord& record, std::optional<Refusal>* refusal)
{
    PayScheduleRow row;
    std::optional<double> caught;
    if (!numberOrBlank(record[3], &caught) || !caught || *caught != std::floor(*caught) || *caught < 0 ||
        *caught > kMaxMarks) {
        *refusal = Refusal{": its Catch, " + shown(record[3]) + ", is not a whole number from 0 to 10"};
        return row;
    }
    row.Catch = static_cast<int>(*caught);
    for (int n = 1; n <= kMaxMarks && !*refusal; ++n)
        row.Pick[n - 1] =
            checkedValue(record[kFirstPayValue + n - 1], PickCaption(n), ValueKind::Pay, refusal);
    std::optional<double>* bonus[] = {&row.BonusBall, &row.FreeGames, &row.BonusFactor,
                                      &row.Egg1Bonus, &row.Egg2Bonus, &row.Egg3Bonus};
    for (int i = 0; i < 6 && !*refusal; ++i)
        *bonus[i] = checkedValue(record[kFirstBonusValue + i], kBonusCaptions[i], ValueKind::Bonus, refusal);
    return row;
}

} // namespace

ImportedGame GameFromRecords(const std::vector<PayTableFileRecord>& records)
{
    ImportedGame game;
    const auto refuse = [&](std::size_t r, const std::string& reason) {
        game.error = "Record " + std::to_string(r + 1) + reason + ".";
        game.rows.clear();
        return game;
    };
    if (records.empty()) {
        game.error = "The file holds no pay table record.";
        return game;
    }
    for (std::size_t r = 0; r < records.size(); ++r) {
        const PayTableFileRecord& record = records[r];
        const GameKeyNormalisation key =
            NormaliseGameKey({keyText(record[0]), keyText(record[1]), keyText(record[2])});
        if (r == 0) {
            if (!key.ok())
                return refuse(r, ": " + key.error);
            game.key = key.key;
        } else if (!SameGameKey(key.key, game.key)) {
            return refuse(r, " names another game (" + describe(key.key) + ") than record 1 (" +
                                 describe(game.key) + ")");
        }
        std::optional<Refusal> refusal;
        PayScheduleRow row = rowOf(record, &refusal);
        if (refusal)
            return refuse(r, refusal->reason);
        if (r == 0 && row.Catch != 0)
            return refuse(r, " is for Catch " + std::to_string(*row.Catch) +
                                 ": a pay table file begins with the bonus row, Catch 0, which carries the "
                                 "game's bonus values");
        for (std::size_t earlier = 0; earlier < game.rows.size(); ++earlier)
            if (game.rows[earlier].Catch == row.Catch)
                return refuse(r, " repeats Catch " + std::to_string(*row.Catch) + " of record " +
                                     std::to_string(earlier + 1));
        row.key = game.key;
        if (r > 0) // only the bonus row carries bonus values
            row.BonusBall = row.FreeGames = row.BonusFactor = row.Egg1Bonus = row.Egg2Bonus = row.Egg3Bonus =
                std::nullopt;
        game.rows.push_back(std::move(row));
    }
    return game;
}

ImportedGame ReadImportedGame(std::string_view bytes)
{
    const PayTableFileContents contents = ReadPayTableFile(DecodePayTableBytes(bytes));
    if (!contents.ok()) {
        ImportedGame refused;
        refused.error = contents.error;
        return refused;
    }
    return GameFromRecords(contents.records);
}

} // namespace tallyhawk
