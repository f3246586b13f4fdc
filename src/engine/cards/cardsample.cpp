// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The simulated card set: each play deals twenty balls from a deck (the first twenty steps of a
// Fisher-Yates shuffle), so the first ball dealt is a uniform one of the twenty, which serves as
// the bonus ball; the eggs are dealt from the numbers no card marks and the extra balls are the
// deck's next three deals. Plays run in chunks of their own pcg32 streams, merged in order.

#include "cardanalysis.h"
#include "cardatoms.h"

#include "engine/common/kenorandom.h"
#include "engine/sim/parallelchunks.h"
#include "engine/sim/simulation.h"

#include <algorithm>
#include <cmath>

namespace tallyhawk {

namespace {

// The sums of a run's plays; merged chunk by chunk in order, so the same on any thread count.
struct CardSetSums
{
    std::int64_t plays = 0;
    double won = 0, wonSquares = 0;
    std::int64_t winning = 0, solid = 0;
    std::vector<double> cardWon, cardWonSquares;
    std::vector<std::int64_t> cardPays, cardSolid;
    std::array<std::int64_t, kMaxMarks + 1> spotSolid{};

    explicit CardSetSums(std::size_t cards)
        : cardWon(cards), cardWonSquares(cards), cardPays(cards), cardSolid(cards)
    {
    }
    void add(const CardSetSums& other)
    {
        plays += other.plays;
        won += other.won;
        wonSquares += other.wonSquares;
        winning += other.winning;
        solid += other.solid;
        for (std::size_t card = 0; card < cardWon.size(); ++card) {
            cardWon[card] += other.cardWon[card];
            cardWonSquares[card] += other.cardWonSquares[card];
            cardPays[card] += other.cardPays[card];
            cardSolid[card] += other.cardSolid[card];
        }
        for (std::size_t m = 0; m < spotSolid.size(); ++m)
            spotSolid[m] += other.spotSolid[m];
    }
};

class CardSetPlayer
{
public:
    CardSetPlayer(const CardSetRules& rules, const CardSet& set, pcg32 generator)
        : m_rules(rules), m_generator(generator), m_hits(set.cards.size()), m_earned(set.cards.size()),
          m_wins(set.cards.size())
    {
        SimulationNumbers all;
        for (const Card& card : set.cards) {
            SimulationNumbers numbers;
            for (int number : card)
                numbers.insert(number);
            m_cards.push_back(numbers);
            all = all | numbers;
        }
        for (int i = 0; i < kBoardNumbers; ++i)
            m_deck[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i + 1);
        for (int number = 1; number <= kBoardNumbers; ++number)
            if (!all.contains(number))
                m_unmarked.push_back(static_cast<std::uint8_t>(number));
    }

    void play(CardSetSums& sums)
    {
        const SimulationNumbers drawn = deal(0, kDrawnBalls);
        const int cards = m_rules.cards();
        for (int card = 0; card < cards; ++card)
            m_hits[static_cast<std::size_t>(card)] = (m_cards[static_cast<std::size_t>(card)] & drawn).count();
        int eggCatches = 0;
        SimulationNumbers eggs;
        if (m_rules.placesEggs()) {
            eggs = placeEggs();
            eggCatches = m_rules.countsEggs() ? (eggs & drawn).count() : 0;
        }
        const int bonusBall = m_rules.hasBonusBall() ? m_deck[0] : 0;
        for (int card = 0; card < cards; ++card)
            m_earned[static_cast<std::size_t>(card)] =
                m_rules.earnsBonus(bonusBall != 0 && m_cards[static_cast<std::size_t>(card)].contains(bonusBall),
                                   eggCatches);
        if (m_rules.placesEggs() && m_rules.drawsExtraBalls(m_hits.data(), eggCatches)) {
            const SimulationNumbers extra = deal(kDrawnBalls, kExtraBalls);
            for (int card = 0; card < cards; ++card)
                m_hits[static_cast<std::size_t>(card)] += (m_cards[static_cast<std::size_t>(card)] & extra).count();
            eggCatches += (eggs & extra).count();
        }

        double total = 0;
        bool triggers = false, solid = false;
        std::array<bool, kMaxMarks + 1> spots{};
        for (int card = 0; card < cards; ++card) {
            const auto i = static_cast<std::size_t>(card);
            const SimulationSettlement settled = m_rules.settle(card, m_hits[i], eggCatches, m_earned[i] != 0);
            const double win = m_rules.win(card, m_hits[i], settled);
            m_wins[i] = win;
            total += win;
            if (win > 0)
                ++sums.cardPays[i];
            if (m_rules.solid(card, m_hits[i])) {
                ++sums.cardSolid[i];
                solid = true;
                spots[static_cast<std::size_t>(m_rules.marked(card))] = true;
            }
            triggers = triggers || settled.bonus == SimulationBonusPaid::FreeGames;
        }
        for (int game = 0; triggers && game < m_rules.freeGames(); ++game) {
            const SimulationNumbers freeDraw = deal(0, kDrawnBalls);
            for (int card = 0; card < cards; ++card) {
                const auto i = static_cast<std::size_t>(card);
                const double win = m_rules.freeGameWin(card, (m_cards[i] & freeDraw).count());
                m_wins[i] += win;
                total += win;
            }
        }
        ++sums.plays;
        sums.won += total;
        sums.wonSquares += total * total;
        if (total > 0)
            ++sums.winning;
        if (solid)
            ++sums.solid;
        for (int card = 0; card < cards; ++card) {
            const auto i = static_cast<std::size_t>(card);
            sums.cardWon[i] += m_wins[i];
            sums.cardWonSquares[i] += m_wins[i] * m_wins[i];
        }
        for (std::size_t m = 0; m < spots.size(); ++m)
            if (spots[m])
                ++sums.spotSolid[m];
    }

private:
    // A whole number drawn uniformly from [0, bound) by the high half of a 32 x 32-bit product,
    // rejecting the few products that would favour some values.
    std::uint32_t below(std::uint32_t bound)
    {
        std::uint64_t product = std::uint64_t{m_generator()} * bound;
        auto low = static_cast<std::uint32_t>(product);
        if (low < bound) {
            const std::uint32_t threshold = (0u - bound) % bound;
            while (low < threshold) {
                product = std::uint64_t{m_generator()} * bound;
                low = static_cast<std::uint32_t>(product);
            }
        }
        return static_cast<std::uint32_t>(product >> 32);
    }

    // Deals positions first to first + count - 1 of the deck from the numbers after first.
    SimulationNumbers deal(int first, int count)
    {
        SimulationNumbers dealt;
        for (int position = first; position < first + count; ++position) {
            const auto at = static_cast<std::size_t>(position);
            const std::size_t other = at + below(static_cast<std::uint32_t>(kBoardNumbers - position));
            std::swap(m_deck[at], m_deck[other]);
            dealt.insert(m_deck[at]);
        }
        return dealt;
    }

    SimulationNumbers placeEggs()
    {
        SimulationNumbers eggs;
        const auto size = static_cast<std::uint32_t>(m_unmarked.size());
        for (std::uint32_t egg = 0; egg < kCavemanEggs; ++egg) {
            std::swap(m_unmarked[egg], m_unmarked[egg + below(size - egg)]);
            eggs.insert(m_unmarked[egg]);
        }
        return eggs;
    }

    const CardSetRules& m_rules;
    pcg32 m_generator;
    std::vector<SimulationNumbers> m_cards;
    std::array<std::uint8_t, kBoardNumbers> m_deck{};
    std::vector<std::uint8_t> m_unmarked;
    std::vector<int> m_hits;
    std::vector<char> m_earned;
    std::vector<double> m_wins;
};

constexpr double kZ95 = 1.959963984540054;

CardSetValue meanValue(double sum, double squares, double n, double scale)
{
    const double mean = sum / n;
    const double variance = std::max(0.0, squares / n - mean * mean) * n / std::max(1.0, n - 1);
    const double half = kZ95 * std::sqrt(variance / n);
    return {mean * scale, std::max(0.0, mean - half) * scale, (mean + half) * scale};
}

CardSetValue chanceValue(std::int64_t count, double n)
{
    const double p = static_cast<double>(count) / n;
    const double half = kZ95 * std::sqrt(p * (1 - p) / n);
    return {p, std::max(0.0, p - half), std::min(1.0, p + half)};
}

} // namespace

CardSetAnalysis SimulateCardSet(const CardSetGame& game, const CardSet& set, const CardSetOptions& options,
                                const CardSetProgress& progress, const std::atomic<bool>* stop)
{
    CardSetAnalysis analysis;
    analysis.error = CardSetPlayError(game, set);
    if (analysis.error.empty() && (options.plays < 1 || options.plays > kMaxCardSetPlays))
        analysis.error = "The number of plays must lie between 1 and one billion.";
    if (!analysis.ok())
        return analysis;
    analysis.method = CardSetMethod::Simulation;
    analysis.seed = options.seed;
    analysis.cost = set.cost();
    analysis.atoms = static_cast<int>(CardAtomsOf(set).atoms.size());
    const CardSetRules rules(game, set);

    const std::int64_t chunks = (options.plays + kCardSetChunkPlays - 1) / kCardSetChunkPlays;
    // A chunk's sums live from its play to its merge.
    std::vector<CardSetSums> chunkSums(static_cast<std::size_t>(chunks), CardSetSums(0));
    CardSetSums total(set.cards.size());
    PlayChunksInOrder(
        chunks, options.threads,
        [&](std::int64_t chunk) {
            CardSetPlayer player(rules, set, ChunkGenerator(options.seed, static_cast<std::uint64_t>(chunk)));
            const std::int64_t plays =
                std::min(kCardSetChunkPlays, options.plays - chunk * kCardSetChunkPlays);
            CardSetSums& sums = chunkSums[static_cast<std::size_t>(chunk)];
            sums = CardSetSums(set.cards.size());
            for (std::int64_t p = 0; p < plays; ++p)
                player.play(sums);
        },
        [&](std::int64_t chunk) {
            total.add(chunkSums[static_cast<std::size_t>(chunk)]);
            chunkSums[static_cast<std::size_t>(chunk)] = CardSetSums(0);
            if (progress)
                progress(total.plays);
            return !(stop && stop->load());
        });
    if (total.plays < options.plays) {
        analysis.stopped = true;
        return analysis;
    }

    const auto n = static_cast<double>(total.plays);
    analysis.plays = total.plays;
    analysis.returnPct = meanValue(total.won, total.wonSquares, n, 100.0 / static_cast<double>(analysis.cost));
    // The standard deviation's interval by the normal approximation s / sqrt(2n).
    const double mean = total.won / n;
    const double sd = std::sqrt(std::max(0.0, total.wonSquares / n - mean * mean) * n / std::max(1.0, n - 1));
    const double half = kZ95 * sd / std::sqrt(2 * n);
    analysis.sdPerPlay = {sd, std::max(0.0, sd - half), sd + half};
    analysis.hitRate = chanceValue(total.winning, n);
    analysis.anySolidCatch = chanceValue(total.solid, n);
    for (int card = 0; card < rules.cards(); ++card) {
        const auto i = static_cast<std::size_t>(card);
        analysis.cards.push_back({rules.marked(card),
                                  meanValue(total.cardWon[i], total.cardWonSquares[i], n, 100.0 / set.bet),
                                  chanceValue(total.cardPays[i], n), chanceValue(total.cardSolid[i], n)});
    }
    for (int m = kMinMarks; m <= kMaxMarks; ++m) {
        const auto count = std::count_if(analysis.cards.begin(), analysis.cards.end(),
                                         [m](const CardFigures& card) { return card.marked == m; });
        if (count > 0)
            analysis.spotCounts.push_back(
                {m, static_cast<int>(count), chanceValue(total.spotSolid[static_cast<std::size_t>(m)], n)});
    }
    return analysis;
}

} // namespace tallyhawk
