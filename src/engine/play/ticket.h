// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The player's ticket: the numbers marked on the board, at most kMaxMarks of them.

#include "engine/common/gameconstants.h"

#include <bitset>
#include <vector>

namespace tallyhawk {

class Ticket
{
public:
    enum class Toggle
    {
        Marked,
        Unmarked,
        Full, // an eleventh number: refused, the ticket is unchanged
        NotOnBoard
    };

    Ticket() = default;
    // The ticket of the numbers given; numbers outside 1 to 80, repeats and those beyond the
    // tenth are left out.
    explicit Ticket(const std::vector<int>& numbers);

    // Marks the number, or unmarks it when it is marked.
    [[nodiscard]] Toggle toggle(int number);
    void clear() { m_marked.reset(); }

    int count() const { return static_cast<int>(m_marked.count()); }
    bool isEmpty() const { return m_marked.none(); }
    bool contains(int number) const;
    // The marked numbers in ascending order, which is the board's order.
    std::vector<int> numbers() const;

    bool operator==(const Ticket&) const = default;

private:
    std::bitset<kBoardNumbers + 1> m_marked; // bit n: number n is marked
};

} // namespace tallyhawk
