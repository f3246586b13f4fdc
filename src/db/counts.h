// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The table [Counts]: the randomness test's last deviations, eight records of ten numbers.

#include "engine/common/gameconstants.h"

#include <array>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace tallyhawk {

// Entry n - 1 for the number n: record (n - 1) / 10, field C((n - 1) % 10 + 1), in table order.
using CountsValues = std::array<double, kBoardNumbers>;

// Stores all 80 values in one transaction. False with the reason on failure.
[[nodiscard]] bool WriteCounts(QSqlDatabase db, const CountsValues& values, QString* error);

// Reads the 80 values (a blank reads as 0) and the records' row labels.
[[nodiscard]] bool ReadCounts(QSqlDatabase db, CountsValues* values, QStringList* ranges, QString* error);

} // namespace tallyhawk
