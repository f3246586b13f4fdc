// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "ticket.h"

namespace tallyhawk {

namespace {

bool onBoard(int number)
{
    return number >= 1 && number <= kBoardNumbers;
}

} // namespace

Ticket::Ticket(const std::vector<int>& numbers)
{
    for (int n : numbers)
        if (onBoard(n) && !contains(n) && count() < kMaxMarks)
            m_marked.set(static_cast<std::size_t>(n));
}

Ticket::Toggle Ticket::toggle(int number)
{
    if (!onBoard(number))
        return Toggle::NotOnBoard;
    if (contains(number)) {
        m_marked.reset(static_cast<std::size_t>(number));
        return Toggle::Unmarked;
    }
    if (count() >= kMaxMarks)
        return Toggle::Full;
    m_marked.set(static_cast<std::size_t>(number));
    return Toggle::Marked;
}

bool Ticket::contains(int number) const
{
    return onBoard(number) && m_marked.test(static_cast<std::size_t>(number));
}

std::vector<int> Ticket::numbers() const
{
    std::vector<int> marked;
    for (int n = 1; n <= kBoardNumbers; ++n)
        if (m_marked.test(static_cast<std::size_t>(n)))
            marked.push_back(n);
    return marked;
}

} // namespace tallyhawk
