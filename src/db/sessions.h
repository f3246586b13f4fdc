// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The table [Sessions]: the folded session histogram of the last payout simulation.

#include "engine/common/gamekey.h"

#include <cstdint>
#include <QSqlDatabase>
#include <QString>
#include <vector>

namespace tallyhawk {

// Replaces every row of [Sessions] with one row per win 0 to 500: its Frequency from the
// folded histogram (the row for 500 counts the sessions of 500 credits or more), the game's
// key (Location, Casino and Game as stored), the marked count and
// the run's total winnings. One transaction: on failure nothing changes and error says why.
[[nodiscard]] bool WriteSessionsTable(QSqlDatabase db, const std::vector<std::int32_t>& folded,
                                      const GameKey& key, double marked, double totalWin,
                                      QString* error = nullptr);

} // namespace tallyhawk
