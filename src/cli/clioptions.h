// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The values of the command line's options, read strictly: a value that is not exactly what the
// option takes is refused with a sentence naming the option, never guessed at.

#include <cstdint>
#include <optional>
#include <QString>
#include <vector>

namespace tallyhawk::cli {

// A whole number from `least` to `most` ("1000000", "1e6"); blanks around it are allowed.
[[nodiscard]] std::optional<std::int64_t> ParseWholeNumber(const QString& text, std::int64_t least,
                                                           std::int64_t most, const QString& option,
                                                           QString* error);

// A seed: a whole number from 0 to 2^64 - 1, in decimal.
[[nodiscard]] std::optional<std::uint64_t> ParseSeed(const QString& text, QString* error);

// A ticket: 1 to 10 different numbers from 1 to 80, separated by commas or blanks, in any order.
// Returned in ascending order, as the board scans them.
std::optional<std::vector<int>> ParseTicket(const QString& text, QString* error);

} // namespace tallyhawk::cli
