#include "deck.h"

#include <utility>

namespace tallyhawk {

DrawDeck OrderedDeck()
{
    DrawDeck deck{};
    for (int i = 1; i <= 80; ++i)
        deck[i] = i;
    return deck;
}

void ShuffleDeck(DrawDeck& deck, KenoRandom& random)
{
    for (int i = 1; i < 80; ++i) {
        const int j = i + static_cast<int>(random.below(static_cast<std::uint32_t>(81 - i)));
        std::swap(deck[i], deck[j]);
    }
}

std::vector<int> QuickPickNumbers(int count, KenoRandom& random)
{
    DrawDeck p = OrderedDeck();
    ShuffleDeck(p, random);
    return std::vector<int>(p.begin() + 1, p.begin() + 1 + count);
}

} // namespace tallyhawk
