// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once

#include "engine/common/kenogame.h"

#include <vector>

namespace tallyhawk {

// One line of the pays listing: a catch and what it wins at the bet.
struct PayLine
{
    int hits = 0;
    double win = 0;
    bool operator==(const PayLine&) const = default;
};

// What the game pays for `markedCount` numbers at `bet`: a line per catch up to the marked count
// that the game pays for that count, in ascending catch order. None for a count the game does
// not pay.
std::vector<PayLine> PayLines(int markedCount, int bet, const KenoGame& game);

// The position of the line that pays `catchCount` hits among `lines`; -1 when none does.
int PayLineOfCatch(const std::vector<PayLine>& lines, int catchCount);

} // namespace tallyhawk
