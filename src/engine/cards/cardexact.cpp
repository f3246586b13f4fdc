// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The exact analysis of a card set: every way the twenty balls fall among the set's atoms, the
// eggs and the numbers no card marks, weighed by the multivariate hypergeometric law, then the
// bonus ball's place among the drawn balls and the extra balls, each settled by CardSetRules.

#include "cardanalysis.h"
#include "cardatoms.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>

namespace tallyhawk {

namespace {

// The exact analysis follows each group of cards that can start free games on its own.
constexpr std::size_t kMaxTriggerSets = 64;

using Binomials = std::array<std::array<long double, kBoardNumbers + 1>, kBoardNumbers + 1>;

const Binomials& binomials()
{
    static const Binomials table = [] {
        Binomials c{};
        for (int n = 0; n <= kBoardNumbers; ++n) {
            c[n][0] = 1;
            for (int k = 1; k <= n; ++k)
                c[n][k] = c[n - 1][k - 1] + (k <= n - 1 ? c[n - 1][k] : 0);
        }
        return c;
    }();
    return table;
}

long double choose(int n, int k)
{
    return n < 0 || k < 0 || k > n ? 0 : binomials()[n][k];
}

// The cards that start a series of free games, ascending.
using TriggerSet = std::vector<int>;

// One pass over every outcome of a game: the paid game (bonus ball, eggs, extra balls) or a free
// game of the cards in `freeCards` (twenty balls, every catch times the Bonus Factor).
class Enumeration
{
public:
    Enumeration(const CardSetRules& rules, const CardAtoms& atoms, bool freeGame, KenoShape shape,
                const TriggerSet& freeCards = {})
        : m_freeCards(freeCards), cardMean(static_cast<std::size_t>(rules.cards())),
          cardPays(cardMean.size()), cardSolid(cardMean.size()), cardSquares(cardMean.size()),
          cardTriggers(cardMean.size()), cardTriggerWin(cardMean.size()), m_rules(rules), m_atoms(atoms),
          m_shape(shape), m_freeGame(freeGame),
          m_eggs(!freeGame && rules.placesEggs() && !rules.hasBonusBall() ? kCavemanEggs : 0),
          m_hits(cardMean.size()), m_drawn(atoms.atoms.size()), m_earned(cardMean.size()),
          m_base(cardMean.size()), m_solid(cardMean.size()), m_paying(cardMean.size()),
          m_wins(cardMean.size())
    {
        // What each card pays for each catch without a bonus, looked up for every outcome.
        for (int card = 0; card < rules.cards(); ++card) {
            const auto i = static_cast<std::size_t>(card);
            for (int hits = 0; hits <= rules.marked(card); ++hits) {
                const auto h = static_cast<std::size_t>(hits);
                m_base[i][h] = rules.winUnits(card, hits, {});
                m_solid[i][h] = rules.solid(card, hits) ? 1u << rules.marked(card) : 0;
                m_paying[i][h] = rules.pays(card, hits);
            }
        }
    }

private:
    const TriggerSet& m_freeCards;

public:
    void run() { descend(0, 0, 1.0L / choose(m_shape.numbers, m_shape.drawn)); }

    std::vector<long double> cardMean, cardPays, cardSolid; // cardMean in units
    // By card, for its variance: the mean square of its win, the chance that it starts free games
    // and its win's part of the mean when it does (in units).
    std::vector<long double> cardSquares, cardTriggers, cardTriggerWin;
    std::unordered_map<std::int64_t, long double> plain;
    // The outcomes that start free games, by the cards that start them.
    std::map<TriggerSet, std::unordered_map<std::int64_t, long double>> triggering;
    std::array<long double, kMaxMarks + 1> spotSolid{};
    long double anySolid = 0;

private:
    void descend(std::size_t atom, int drawn, long double weight)
    {
        if (atom == m_atoms.atoms.size()) {
            leaf(drawn, weight);
            return;
        }
        const CardAtom& a = m_atoms.atoms[atom];
        const int most = std::min(a.size, m_shape.drawn - drawn);
        for (int x = 0; x <= most; ++x) {
            m_drawn[atom] = x;
            descend(atom + 1, drawn + x, weight * choose(a.size, x));
            for (int card : a.cards)
                ++m_hits[static_cast<std::size_t>(card)];
        }
        for (int card : a.cards)
            m_hits[static_cast<std::size_t>(card)] -= most + 1;
        m_drawn[atom] = 0;
    }

    void leaf(int drawnMarked, long double weight)
    {
        const int rest = m_shape.drawn - drawnMarked; // balls on numbers no card marks
        const int others = m_atoms.unmarked - m_eggs;
        if (m_freeGame) {
            settleFreeGame(weight * choose(m_atoms.unmarked, rest));
            return;
        }
        if (m_rules.hasBonusBall()) {
            // The bonus ball is any of the twenty drawn balls alike: it lies in an atom as often
            // as the atom has balls, and earns the bonus of the cards that mark it.
            const long double p = weight * choose(m_atoms.unmarked, rest);
            if (p == 0)
                return;
            for (std::size_t atom = 0; atom < m_atoms.atoms.size(); ++atom) {
                if (m_drawn[atom] == 0)
                    continue;
                for (int card : m_atoms.atoms[atom].cards)
                    m_earned[static_cast<std::size_t>(card)] = 1;
                settle(0, p * m_drawn[atom] / m_shape.drawn);
                for (int card : m_atoms.atoms[atom].cards)
                    m_earned[static_cast<std::size_t>(card)] = 0;
            }
            if (rest > 0)
                settle(0, p * rest / m_shape.drawn);
            return;
        }
        for (int e = 0; e <= std::min(m_eggs, rest); ++e) {
            const long double p = weight * choose(m_eggs, e) * choose(others, rest - e);
            if (p == 0)
                continue;
            const bool earned = m_rules.earnsBonus(false, e);
            std::fill(m_earned.begin(), m_earned.end(), earned ? 1 : 0);
            if (m_eggs == 0 || !m_rules.drawsExtraBalls(m_hits.data(), e)) {
                settle(m_rules.countsEggs() ? e : 0, p);
                continue;
            }
            // Three extra balls among the sixty numbers not drawn; hits and eggs counted again.
            m_extraEggs = m_eggs - e;
            m_extraOthers = others - (rest - e);
            extraBalls(0, kExtraBalls, e, p / choose(m_shape.numbers - m_shape.drawn, kExtraBalls));
        }
    }

    void extraBalls(std::size_t atom, int left, int eggs, long double weight)
    {
        if (atom == m_atoms.atoms.size()) {
            for (int y = 0; y <= std::min(left, m_extraEggs); ++y)
                if (const long double p = weight * choose(m_extraEggs, y) * choose(m_extraOthers, left - y);
                    p > 0)
                    settle(eggs + y, p);
            return;
        }
        const CardAtom& a = m_atoms.atoms[atom];
        const int remaining = a.size - m_drawn[atom];
        const int most = std::min(left, remaining);
        for (int y = 0; y <= most; ++y) {
            extraBalls(atom + 1, left - y, eggs, weight * choose(remaining, y));
            for (int card : a.cards)
                ++m_hits[static_cast<std::size_t>(card)];
        }
        for (int card : a.cards)
            m_hits[static_cast<std::size_t>(card)] -= most + 1;
    }

    void settle(int eggCatches, long double p)
    {
        std::int64_t total = 0;
        m_triggers.clear();
        std::uint32_t solidSpots = 0; // bit m: a card of m numbers made a solid catch
        for (std::size_t i = 0; i < m_hits.size(); ++i) {
            const int hits = m_hits[i];
            std::int64_t win = m_base[i][static_cast<std::size_t>(hits)];
            if (m_earned[i]) {
                // Only an earned bonus changes what a card pays.
                const int card = static_cast<int>(i);
                const SimulationSettlement settled = m_rules.settle(card, hits, eggCatches, true);
                win = m_rules.winUnits(card, hits, settled);
                if (settled.bonus == SimulationBonusPaid::FreeGames)
                    m_triggers.push_back(card);
            }
            total += win;
            cardMean[i] += p * static_cast<long double>(win);
            cardSquares[i] += p * static_cast<long double>(win) * static_cast<long double>(win);
            m_wins[i] = win;
            const std::uint32_t solid = m_solid[i][static_cast<std::size_t>(hits)];
            if (m_paying[i][static_cast<std::size_t>(hits)])
                cardPays[i] += p;
            if (solid != 0)
                cardSolid[i] += p;
            solidSpots |= solid;
        }
        (m_triggers.empty() ? plain : triggering[m_triggers])[total] += p;
        for (int card : m_triggers) {
            cardTriggers[static_cast<std::size_t>(card)] += p;
            cardTriggerWin[static_cast<std::size_t>(card)] +=
                p * static_cast<long double>(m_wins[static_cast<std::size_t>(card)]);
        }
        if (solidSpots != 0)
            anySolid += p;
        for (int m = kMinMarks; solidSpots != 0 && m <= kMaxMarks; ++m)
            if (solidSpots & (1u << m))
                spotSolid[static_cast<std::size_t>(m)] += p;
    }

    void settleFreeGame(long double p)
    {
        if (p == 0)
            return;
        std::int64_t total = 0;
        for (int card : m_freeCards) {
            const std::int64_t win = m_rules.freeGameWinUnits(card, m_hits[static_cast<std::size_t>(card)]);
            total += win;
            cardMean[static_cast<std::size_t>(card)] += p * static_cast<long double>(win);
            cardSquares[static_cast<std::size_t>(card)] +=
                p * static_cast<long double>(win) * static_cast<long double>(win);
        }
        plain[total] += p;
    }

    const CardSetRules& m_rules;
    const CardAtoms& m_atoms;
    KenoShape m_shape;
    bool m_freeGame;
    int m_eggs;
    std::vector<int> m_hits;  // by card
    std::vector<int> m_drawn; // by atom
    std::vector<char> m_earned;
    std::vector<std::array<std::int64_t, kMaxMarks + 1>> m_base;   // by card and catch, in units
    std::vector<std::array<std::uint32_t, kMaxMarks + 1>> m_solid; // 1 << marked for a solid catch
    std::vector<std::array<bool, kMaxMarks + 1>> m_paying;
    int m_extraEggs = 0, m_extraOthers = 0;
    TriggerSet m_triggers;
    std::vector<std::int64_t> m_wins; // by card, of the outcome being settled
};

WinDistribution distributionOf(const std::unordered_map<std::int64_t, long double>& wins, std::int64_t units)
{
    WinDistribution distribution;
    distribution.unitsPerCredit = units;
    for (const auto& [win, p] : wins)
        if (p > 0)
            distribution.atoms.push_back({win, p});
    std::sort(distribution.atoms.begin(), distribution.atoms.end(),
              [](const WinAtom& a, const WinAtom& b) { return a.win < b.win; });
    return distribution;
}

WinDistribution merged(const WinDistribution& a, const WinDistribution& b)
{
    std::unordered_map<std::int64_t, long double> wins;
    for (const WinAtom& atom : a.atoms)
        wins[atom.win] += atom.probability;
    for (const WinAtom& atom : b.atoms)
        wins[atom.win] += atom.probability;
    return distributionOf(wins, a.unitsPerCredit);
}

CardSetValue exactValue(long double value)
{
    const auto v = static_cast<double>(value);
    return {v, v, v};
}

double product(const CardAtoms& atoms)
{
    double outcomes = 1;
    for (const CardAtom& atom : atoms.atoms)
        outcomes *= std::min(atom.size, kDrawnBalls) + 1;
    return outcomes;
}

// Why the exact method cannot take the game for this set, or an empty text.
std::string exactError(const CardSetGame& game, const CardSet& set, const CardSetRules& rules,
                       KenoShape shape)
{
    std::array<bool, kMaxMarks + 1> seen{};
    double topFreeWin = 0;
    for (const Card& card : set.cards) {
        const int marked = static_cast<int>(card.size());
        if (!seen[static_cast<std::size_t>(marked)]) {
            seen[static_cast<std::size_t>(marked)] = true;
            // The single ticket's own limits: free games, decimals of the bonus values.
            if (std::string error =
                    ExactGameError(game.ticket(marked), set.bet, shape, ExactRules::Simulation);
                !error.empty())
                return error;
        }
        const auto& pays = game.pays[static_cast<std::size_t>(marked)];
        topFreeWin += *std::max_element(pays.begin(), pays.end());
    }
    // The free games' total is kept win by win, as for a single ticket.
    if (rules.hasFreeGames() && rules.freeGames() * game.bonus.BonusFactor * topFreeWin * set.bet *
                                        static_cast<double>(rules.unitsPerCredit()) >
                                    kMaxExactFreeGamesWin)
        return "The free games of the set pay too much for the exact analysis.";
    return {};
}

} // namespace

std::int64_t CardSetSamplePlays(std::size_t cards)
{
    const std::int64_t plays =
        kCardSetSampleCardPlays / std::max<std::int64_t>(1, static_cast<std::int64_t>(cards));
    return std::clamp(plays, kCardSetMinSamplePlays, kCardSetSamplePlays);
}

double CardSetExactWork(const CardSetGame& game, const CardSet& set)
{
    const CardAtoms atoms = CardAtomsOf(set);
    double work = product(atoms) * static_cast<double>(set.cards.size());
    if (game.bonus.BonusBall != 0)
        work *= static_cast<double>(atoms.atoms.size()) + 1;
    else if (game.kind.caveman)
        work *= kCavemanEggs + 1;
    if (game.bonus.FreeGames > 0)
        work += product(atoms) * static_cast<double>(set.cards.size());
    return work;
}

CardSetAnalysis AnalyseCardSetExactly(const CardSetGame& game, const CardSet& set, KenoShape shape)
{
    CardSetAnalysis analysis;
    analysis.error = CardSetPlayError(game, set);
    if (!analysis.ok())
        return analysis;
    const CardSetRules rules(game, set);
    analysis.error = exactError(game, set, rules, shape);
    const CardAtoms atoms = CardAtomsOf(set, shape.numbers);
    if (analysis.ok() && shape.numbers > kBoardNumbers)
        analysis.error = "The board holds at most 80 numbers.";
    for (const Card& card : set.cards)
        if (analysis.ok() && *std::max_element(card.begin(), card.end()) > shape.numbers)
            analysis.error = "A card marks a number the board does not hold.";
    if (analysis.ok() && rules.placesEggs() && atoms.unmarked < kCavemanEggs)
        analysis.error = "A Caveman game needs three numbers that no card marks, for its eggs.";
    if (!analysis.ok())
        return analysis;
    analysis.method = CardSetMethod::Exact;
    analysis.exactWork = CardSetExactWork(game, set);
    analysis.cost = set.cost();
    analysis.atoms = static_cast<int>(atoms.atoms.size());
    const std::int64_t units = rules.unitsPerCredit();

    Enumeration paid(rules, atoms, false, shape);
    paid.run();
    WinDistribution win = distributionOf(paid.plain, units);
    std::vector<long double> cardMean = paid.cardMean, cardSquares = paid.cardSquares;
    std::vector<long double> freeMean(cardMean.size()), freeSquares(cardMean.size());
    if (paid.triggering.size() > kMaxTriggerSets) {
        analysis = {};
        analysis.error =
            "The free games can start on too many different groups of cards for the exact analysis.";
        return analysis;
    }
    // A series plays the cards that started it: each group of cards has its own series.
    for (const auto& [cards, wins] : paid.triggering) {
        Enumeration free(rules, atoms, true, shape, cards);
        free.run();
        const WinDistribution series = ConvolvePower(distributionOf(free.plain, units), rules.freeGames());
        WinDistribution started = Convolve(distributionOf(wins, units), series);
        started.unitsPerCredit = units;
        win = merged(win, started);
        // A card's free game is the same in every group it starts with.
        for (int card : cards) {
            freeMean[static_cast<std::size_t>(card)] = free.cardMean[static_cast<std::size_t>(card)];
            freeSquares[static_cast<std::size_t>(card)] = free.cardSquares[static_cast<std::size_t>(card)];
        }
    }
    // A card's series adds F free wins of mean m and mean square q to its paid win w:
    // E[(w + series)^2] = E[w^2] + 2 F m E[w; it starts] + P(it starts) (F q + F (F - 1) m^2).
    const long double games = rules.freeGames();
    for (std::size_t i = 0; i < cardMean.size(); ++i) {
        const long double m = freeMean[i], q = freeSquares[i];
        cardMean[i] += paid.cardTriggers[i] * games * m;
        cardSquares[i] += 2 * games * m * paid.cardTriggerWin[i] +
                          paid.cardTriggers[i] * (games * q + games * (games - 1) * m * m);
    }
    win.unitsPerCredit = units;

    const long double perCredit = 1.0L / static_cast<long double>(units);
    analysis.returnPct = exactValue(win.mean() * 100 / static_cast<long double>(analysis.cost));
    analysis.sdPerPlay = exactValue(std::sqrt(win.variance()));
    analysis.hitRate = exactValue(win.probabilityAbove(0));
    analysis.anySolidCatch = exactValue(paid.anySolid);
    long double variances = 0;
    for (int card = 0; card < rules.cards(); ++card) {
        const auto i = static_cast<std::size_t>(card);
        const long double variance =
            std::max(0.0L, cardSquares[i] - cardMean[i] * cardMean[i]) * perCredit * perCredit;
        variances += variance;
        analysis.cards.push_back({rules.marked(card), exactValue(cardMean[i] * perCredit * 100 / set.bet),
                                  exactValue(paid.cardPays[i]), exactValue(paid.cardSolid[i]),
                                  exactValue(std::sqrt(variance))});
    }
    analysis.sdIfIndependent = exactValue(std::sqrt(variances));
    for (int m = kMinMarks; m <= kMaxMarks; ++m) {
        const auto count = std::count_if(analysis.cards.begin(), analysis.cards.end(),
                                         [m](const CardFigures& card) { return card.marked == m; });
        if (count > 0)
            analysis.spotCounts.push_back(
                {m, static_cast<int>(count), exactValue(paid.spotSolid[static_cast<std::size_t>(m)])});
    }
    analysis.win = std::move(win);
    return analysis;
}

CardSetAnalysis AnalyseCardSet(const CardSetGame& game, const CardSet& set, const CardSetOptions& options)
{
    if (std::string error = CardSetPlayError(game, set); !error.empty()) {
        CardSetAnalysis refused;
        refused.error = error;
        return refused;
    }
    const double work = CardSetExactWork(game, set);
    std::string why;
    if (work > options.exactWorkLimit)
        why = "The set's numbers fall into too many groups for the exact analysis.";
    CardSetAnalysis exact;
    if (why.empty()) {
        exact = AnalyseCardSetExactly(game, set);
        if (exact.ok())
            return exact;
        why = exact.error;
    }
    CardSetOptions sampling = options;
    if (sampling.plays == 0)
        sampling.plays = CardSetSamplePlays(set.cards.size());
    CardSetAnalysis sampled = SimulateCardSet(game, set, sampling);
    sampled.whySimulated = why;
    sampled.exactWork = work;
    return sampled;
}

} // namespace tallyhawk
