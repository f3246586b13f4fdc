// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "deck.h"

#include <algorithm>

namespace tallyhawk {

DrawDeck OrderedDeck()
{
    DrawDeck deck{};
    for (int i = 1; i <= kBoardNumbers; ++i)
        deck[i] = i;
    return deck;
}

std::vector<int> QuickPickNumbers(int count, KenoRandom& random)
{
    count = std::clamp(count, 0, kBoardNumbers);
    DrawDeck p = OrderedDeck();
    ShuffleDeck(p, random, count);
    return std::vector<int>(p.begin() + 1, p.begin() + 1 + count);
}

} // namespace tallyhawk
