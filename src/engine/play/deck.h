#pragma once
// The draw deck and the random picks of the board.

#include "engine/common/kenorandom.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tallyhawk {

// Entries 1 to 80 hold a permutation of 1 to 80; entry 0 is unused so entries keep their numbers.
using DrawDeck = std::array<std::int32_t, 81>;

DrawDeck OrderedDeck();

// A uniform shuffle in place: for i = 1 to 79, entry i swaps with an entry drawn uniformly from
// i to 80. Every order is equally likely whatever order the deck had, so each draw is
// independent of the one before (a pass that swaps every entry with one drawn from all 80
// favours some orders and carries the previous draw into the next).
void ShuffleDeck(DrawDeck& deck, KenoRandom& random);

// `count` distinct numbers of 1 to 80, uniformly chosen, in the order drawn.
std::vector<int> QuickPickNumbers(int count, KenoRandom& random);

} // namespace tallyhawk
