// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "payslist.h"

namespace tallyhawk {

std::vector<PayLine> PayLines(int markedCount, int bet, const KenoGame& game)
{
    std::vector<PayLine> lines;
    for (int hits = 0; hits <= kMaxMarks; ++hits) {
        if (!game.hasRow(hits))
            continue;
        if (const std::optional<double> pay = game.pay(markedCount, hits))
            lines.push_back({hits, *pay * bet});
        if (hits == markedCount)
            break;
    }
    return lines;
}

int PayLineOfCatch(const std::vector<PayLine>& lines, int catchCount)
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].hits == catchCount)
            return static_cast<int>(i);
    return -1;
}

} // namespace tallyhawk
