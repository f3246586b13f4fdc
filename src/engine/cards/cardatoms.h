// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The atoms of a card set: its marked numbers grouped by the cards that mark them. Two numbers
// on exactly the same cards are interchangeable for every rule, so a draw is known well enough by
// how many balls fall in each atom.

#include "cardset.h"
#include "engine/common/gameconstants.h"

#include <vector>

namespace tallyhawk {

struct CardAtom
{
    int size = 0;           // numbers in the atom
    std::vector<int> cards; // the cards that mark them, ascending
};

struct CardAtoms
{
    std::vector<CardAtom> atoms; // in the order of their smallest number
    int unmarked = 0;            // numbers no card marks
};

// On a board of `numbers` numbers (1 to numbers).
CardAtoms CardAtomsOf(const CardSet& set, int numbers = kBoardNumbers);

} // namespace tallyhawk
