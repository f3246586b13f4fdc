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
#include <bit>
#include <cmath>

namespace tallyhawk {

namespace {

bool hasPopcnt()
{
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    static const bool supported = __builtin_cpu_supports("popcnt");
    return supported;
#else
    return false;
#endif
}

// The sums of a run's plays; merged chunk by chunk in order, so the same on any thread count.
// A card's plain wins follow from how often it made each catch; only what a bonus changed is
// summed apart.
struct CardSetSums
{
    std::int64_t plays = 0;
    double won = 0, wonSquares = 0;
    std::int64_t winning = 0, solid = 0;
    std::vector<std::array<std::int64_t, kMaxMarks + 1>> catches; // by card and catch
    std::vector<double> bonusWon, bonusSquares; // by card: win - plain win, and win^2 - plain win^2
    std::array<std::int64_t, kMaxMarks + 1> spotSolid{};

    explicit CardSetSums(std::size_t cards) : catches(cards), bonusWon(cards), bonusSquares(cards) {}
    void add(const CardSetSums& other)
    {
        plays += other.plays;
        won += other.won;
        wonSquares += other.wonSquares;
        winning += other.winning;
        solid += other.solid;
        for (std::size_t card = 0; card < catches.size(); ++card) {
            for (std::size_t c = 0; c < catches[card].size(); ++c)
                catches[card][c] += other.catches[card][c];
            bonusWon[card] += other.bonusWon[card];
            bonusSquares[card] += other.bonusSquares[card];
        }
        for (std::size_t m = 0; m < spotSolid.size(); ++m)
            spotSolid[m] += other.spotSolid[m];
    }
};

// What a card pays for each catch without a bonus, and whether the catch is solid.
struct CardTable
{
    std::array<double, kMaxMarks + 1> win{};
    std::array<std::uint32_t, kMaxMarks + 1> solid{}; // 1 << marked for a solid catch
    std::array<bool, kMaxMarks + 1> pays{};
};

std::vector<CardTable> cardTables(const CardSetRules& rules)
{
    std::vector<CardTable> tables(static_cast<std::size_t>(rules.cards()));
    for (int card = 0; card < rules.cards(); ++card)
        for (int hits = 0; hits <= rules.marked(card); ++hits) {
            CardTable& table = tables[static_cast<std::size_t>(card)];
            const auto h = static_cast<std::size_t>(hits);
            table.win[h] = rules.win(card, hits, {});
            table.solid[h] = rules.solid(card, hits) ? 1u << rules.marked(card) : 0;
            table.pays[h] = rules.pays(card, hits);
        }
    return tables;
}

class CardSetPlayer
{
public:
    CardSetPlayer(const CardSetRules& rules, const CardSet& set, const std::vector<CardTable>& tables,
                  pcg32 generator)
        : m_rules(rules), m_tables(tables), m_generator(generator), m_hits(set.cards.size()),
          m_bonus(rules.hasBonusBall() || rules.placesEggs() || rules.hasFreeGames())
    {
        SimulationNumbers all;
        for (const Card& card : set.cards) {
            SimulationNumbers numbers;
            for (int number : card)
                numbers.insert(number);
            m_cards.push_back(numbers);
            m_low.push_back(numbers.low);
            m_high.push_back(numbers.high);
            all = all | numbers;
        }
        for (int i = 0; i < kBoardNumbers; ++i)
            m_deck[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i + 1);
        for (int number = 1; number <= kBoardNumbers; ++number)
            if (!all.contains(number))
                m_unmarked.push_back(static_cast<std::uint8_t>(number));
    }

    // Plays `plays` plays, on processors with a population-count instruction when there is one.
    void playMany(std::int64_t plays, CardSetSums& sums)
    {
        if (hasPopcnt())
            playManyPopcnt(plays, sums);
        else
            playManyDefault(plays, sums);
    }

private:
    void playManyDefault(std::int64_t plays, CardSetSums& sums)
    {
        for (std::int64_t p = 0; p < plays; ++p)
            play(sums);
    }
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __attribute__((target("popcnt")))
#endif
    void
    playManyPopcnt(std::int64_t plays, CardSetSums& sums)
    {
        for (std::int64_t p = 0; p < plays; ++p)
            play(sums);
    }

    [[gnu::always_inline]] void play(CardSetSums& sums)
    {
        const SimulationNumbers drawn = deal(0, kDrawnBalls);
        const std::size_t cards = m_cards.size();
        for (std::size_t i = 0; i < cards; ++i)
            m_hits[i] = std::popcount(m_low[i] & drawn.low) + std::popcount(m_high[i] & drawn.high);
        double total = m_bonus ? bonusPlay(drawn, sums) : 0;

        std::uint32_t solidSpots = 0;
        for (std::size_t i = 0; i < cards; ++i) {
            const auto h = static_cast<std::size_t>(m_hits[i]);
            ++sums.catches[i][h];
            solidSpots |= m_tables[i].solid[h];
            if (!m_bonus)
                total += m_tables[i].win[h];
        }
        ++sums.plays;
        sums.won += total;
        sums.wonSquares += total * total;
        if (total > 0)
            ++sums.winning;
        if (solidSpots != 0)
            ++sums.solid;
        for (int m = kMinMarks; solidSpots != 0 && m <= kMaxMarks; ++m)
            if (solidSpots & (1u << m))
                ++sums.spotSolid[static_cast<std::size_t>(m)];
    }

    // The bonus features of a play: the bonus ball, the eggs and their extra balls, the free
    // games. Leaves each card's final catch in m_hits and returns the play's total win.
    double bonusPlay(const SimulationNumbers& drawn, CardSetSums& sums)
    {
        const int cards = m_rules.cards();
        int eggCatches = 0;
        SimulationNumbers eggs;
        if (m_rules.placesEggs()) {
            eggs = placeEggs();
            eggCatches = m_rules.countsEggs() ? (eggs & drawn).count() : 0;
        }
        const int bonusBall = m_rules.hasBonusBall() ? m_deck[0] : 0;
        const bool eggBonus = m_rules.earnsBonus(false, eggCatches);
        if (m_rules.placesEggs() && m_rules.drawsExtraBalls(m_hits.data(), eggCatches)) {
            const SimulationNumbers extra = deal(kDrawnBalls, kExtraBalls);
            for (int card = 0; card < cards; ++card)
                m_hits[static_cast<std::size_t>(card)] +=
                    (m_cards[static_cast<std::size_t>(card)] & extra).count();
            eggCatches += (eggs & extra).count();
        }
        double total = 0;
        bool triggers = false;
        m_wins.assign(static_cast<std::size_t>(cards), 0);
        m_triggered.assign(static_cast<std::size_t>(cards), 0);
        for (int card = 0; card < cards; ++card) {
            const auto i = static_cast<std::size_t>(card);
            const bool earned =
                bonusBall != 0 ? m_rules.earnsBonus(m_cards[i].contains(bonusBall), eggCatches) : eggBonus;
            const SimulationSettlement settled = m_rules.settle(card, m_hits[i], eggCatches, earned);
            m_wins[i] = m_rules.win(card, m_hits[i], settled);
            m_triggered[i] = settled.bonus == SimulationBonusPaid::FreeGames;
            triggers = triggers || m_triggered[i];
        }
        // The series plays the cards that started it, on draws of their own.
        for (int game = 0; triggers && game < m_rules.freeGames(); ++game) {
            const SimulationNumbers freeDraw = deal(0, kDrawnBalls);
            for (int card = 0; card < cards; ++card) {
                const auto i = static_cast<std::size_t>(card);
                if (m_triggered[i])
                    m_wins[i] += m_rules.freeGameWin(card, (m_cards[i] & freeDraw).count());
            }
        }
        for (int card = 0; card < cards; ++card) {
            const auto i = static_cast<std::size_t>(card);
            const double plain = m_tables[i].win[static_cast<std::size_t>(m_hits[i])];
            total += m_wins[i];
            if (m_wins[i] != plain) {
                sums.bonusWon[i] += m_wins[i] - plain;
                sums.bonusSquares[i] += m_wins[i] * m_wins[i] - plain * plain;
            }
        }
        return total;
    }

    // A whole number drawn uniformly from [0, bound) by the high half of a 32 x 32-bit product,
    // rejecting the few products that would favour some values.
    [[gnu::always_inline]] std::uint32_t below(std::uint32_t bound)
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
    [[gnu::always_inline]] SimulationNumbers deal(int first, int count)
    {
        SimulationNumbers dealt;
        for (int position = first; position < first + count; ++position) {
            const auto at = static_cast<std::size_t>(position);
            const std::size_t other = at + below(static_cast<std::uint32_t>(kBoardNumbers - position));
            std::swap(m_deck[at], m_deck[other]);
            const int number = m_deck[at];
            const std::uint64_t bit = std::uint64_t{1} << ((number - 1) & 63);
            dealt.low |= number <= 64 ? bit : 0;
            dealt.high |= number > 64 ? bit : 0;
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
    const std::vector<CardTable>& m_tables;
    pcg32 m_generator;
    std::vector<SimulationNumbers> m_cards;
    std::vector<std::uint64_t> m_low, m_high; // the cards' numbers 1 to 64 and 65 to 80, as bits
    std::array<std::uint8_t, kBoardNumbers> m_deck{};
    std::vector<std::uint8_t> m_unmarked;
    std::vector<int> m_hits;
    std::vector<double> m_wins;
    std::vector<char> m_triggered; // by card: it started the play's free games
    bool m_bonus;                  // any bonus feature: the plain path is not enough
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
    const std::vector<CardTable> tables = cardTables(rules);

    const std::int64_t chunks = (options.plays + kCardSetChunkPlays - 1) / kCardSetChunkPlays;
    // A chunk's sums live from its play to its merge.
    std::vector<CardSetSums> chunkSums(static_cast<std::size_t>(chunks), CardSetSums(0));
    CardSetSums total(set.cards.size());
    PlayChunksInOrder(
        chunks, options.threads,
        [&](std::int64_t chunk) {
            CardSetPlayer player(rules, set, tables,
                                 ChunkGenerator(options.seed, static_cast<std::uint64_t>(chunk)));
            const std::int64_t plays =
                std::min(kCardSetChunkPlays, options.plays - chunk * kCardSetChunkPlays);
            CardSetSums& sums = chunkSums[static_cast<std::size_t>(chunk)];
            sums = CardSetSums(set.cards.size());
            player.playMany(plays, sums);
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
    analysis.returnPct =
        meanValue(total.won, total.wonSquares, n, 100.0 / static_cast<double>(analysis.cost));
    // The standard deviation's interval by the normal approximation s / sqrt(2n).
    const double mean = total.won / n;
    const double sd = std::sqrt(std::max(0.0, total.wonSquares / n - mean * mean) * n / std::max(1.0, n - 1));
    const double half = kZ95 * sd / std::sqrt(2 * n);
    analysis.sdPerPlay = {sd, std::max(0.0, sd - half), sd + half};
    analysis.hitRate = chanceValue(total.winning, n);
    analysis.anySolidCatch = chanceValue(total.solid, n);
    double variances = 0;
    for (int card = 0; card < rules.cards(); ++card) {
        const auto i = static_cast<std::size_t>(card);
        double won = total.bonusWon[i], squares = total.bonusSquares[i];
        std::int64_t pays = 0, solid = 0;
        for (std::size_t h = 0; h < total.catches[i].size(); ++h) {
            const auto count = static_cast<double>(total.catches[i][h]);
            won += count * tables[i].win[h];
            squares += count * tables[i].win[h] * tables[i].win[h];
            pays += tables[i].pays[h] ? total.catches[i][h] : 0;
            solid += tables[i].solid[h] != 0 ? total.catches[i][h] : 0;
        }
        const double mean = won / n, variance = std::max(0.0, squares / n - mean * mean);
        variances += variance;
        const double cardSd = std::sqrt(variance), cardHalf = kZ95 * cardSd / std::sqrt(2 * n);
        analysis.cards.push_back({rules.marked(card),
                                  meanValue(won, squares, n, 100.0 / set.bet),
                                  chanceValue(pays, n),
                                  chanceValue(solid, n),
                                  {cardSd, std::max(0.0, cardSd - cardHalf), cardSd + cardHalf}});
    }
    // Its interval as the standard deviation's, by the normal approximation.
    const double independent = std::sqrt(variances), independentHalf = kZ95 * independent / std::sqrt(2 * n);
    analysis.sdIfIndependent = {independent, std::max(0.0, independent - independentHalf),
                                independent + independentHalf};
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
