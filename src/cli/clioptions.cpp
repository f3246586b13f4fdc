// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "clioptions.h"

#include "engine/common/gameconstants.h"
#include "engine/common/numberforms.h"

#include <algorithm>
#include <cmath>
#include <QRegularExpression>
#include <QStringList>

namespace tallyhawk::cli {

std::optional<std::int64_t> ParseWholeNumber(const QString& text, std::int64_t least, std::int64_t most,
                                             const QString& option, QString* error)
{
    const std::optional<double> number = ParseNumber(text.toStdString());
    // Every whole number up to 2^53 is exact in a double, far beyond any count the program takes.
    if (!number || *number != std::floor(*number) || *number < static_cast<double>(least) ||
        *number > static_cast<double>(most)) {
        *error = QStringLiteral("%1 takes a whole number from %2 to %3, not \"%4\".")
                     .arg(option)
                     .arg(least)
                     .arg(most)
                     .arg(text);
        return std::nullopt;
    }
    return static_cast<std::int64_t>(*number);
}

std::optional<std::uint64_t> ParseSeed(const QString& text, QString* error)
{
    bool ok = false;
    const QString trimmed = text.trimmed();
    const qulonglong seed = trimmed.toULongLong(&ok, 10);
    if (!ok || trimmed.startsWith('+') || trimmed.startsWith('-')) {
        *error = QStringLiteral("--seed takes a whole number from 0 to 18446744073709551615, not \"%1\".")
                     .arg(text);
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(seed);
}

std::optional<std::vector<int>> ParseTicket(const QString& text, QString* error)
{
    static const QRegularExpression separators("[,\\s]+");
    const QStringList parts = text.trimmed().split(separators, Qt::SkipEmptyParts);
    if (parts.isEmpty()) {
        *error = QStringLiteral(
            "--ticket takes 1 to 10 numbers from 1 to 80 separated by commas, such as 3,17,42.");
        return std::nullopt;
    }
    if (parts.size() > kMaxMarks) {
        *error = QStringLiteral("The ticket \"%1\" holds %2 numbers; a ticket holds 1 to 10.")
                     .arg(text, QString::number(parts.size()));
        return std::nullopt;
    }
    std::vector<int> numbers;
    for (const QString& part : parts) {
        bool ok = false;
        const int number = part.toInt(&ok, 10);
        if (!ok) {
            *error = QStringLiteral("\"%1\" on the ticket is not a whole number.").arg(part);
            return std::nullopt;
        }
        if (number < 1 || number > kBoardNumbers) {
            *error = QStringLiteral("The ticket's number %1 is not on the board: numbers run from 1 to 80.")
                         .arg(number);
            return std::nullopt;
        }
        if (std::find(numbers.begin(), numbers.end(), number) != numbers.end()) {
            *error = QStringLiteral("The number %1 is on the ticket twice.").arg(number);
            return std::nullopt;
        }
        numbers.push_back(number);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

} // namespace tallyhawk::cli
