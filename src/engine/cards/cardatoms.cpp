// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "cardatoms.h"

#include "engine/common/gameconstants.h"

#include <algorithm>
#include <array>
#include <map>

namespace tallyhawk {

CardAtoms CardAtomsOf(const CardSet& set, int numbers)
{
    std::array<std::vector<int>, kBoardNumbers + 1> holders;
    for (std::size_t card = 0; card < set.cards.size(); ++card)
        for (int number : set.cards[card])
            if (number >= 1 && number <= kBoardNumbers)
                holders[static_cast<std::size_t>(number)].push_back(static_cast<int>(card));
    CardAtoms atoms;
    std::map<std::vector<int>, std::size_t> index;
    for (int number = 1; number <= std::min(numbers, kBoardNumbers); ++number) {
        const std::vector<int>& cards = holders[static_cast<std::size_t>(number)];
        if (cards.empty()) {
            ++atoms.unmarked;
            continue;
        }
        auto [at, added] = index.try_emplace(cards, atoms.atoms.size());
        if (added)
            atoms.atoms.push_back({0, cards});
        ++atoms.atoms[at->second].size;
    }
    return atoms;
}

} // namespace tallyhawk
