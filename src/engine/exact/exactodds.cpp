// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The rules of one game, turned into probabilities.
//
// The simulation keeps no draw order: it draws a set, picks the bonus ball as the r-th smallest
// drawn number (r uniform), so a catch of c hits it with chance c/20, and its eggs and extra
// balls are uniform among the numbers left; counting subsets gives every chance exactly.
//
// The board reveals the balls in order, and its order matters: the bonus ball sits at a fixed
// position, and the Caveman Plus gate after ball 20 reads the win that the last hit computed,
// with the eggs seen before that hit. So the board is followed ball by ball over states
// (hits, eggs, eggs at the last hit, bonus ball hit), each ball drawn from the numbers left.
// Both treat the shuffle as uniform, as the program's sound shuffle is.

#include "exactodds.h"

#include "engine/common/numberforms.h"
#include "engine/sim/simulationrules.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tallyhawk {

namespace {

using Probabilities = std::array<long double, kMaxMarks + 1>;
using WholePays = std::array<std::int64_t, kMaxMarks + 1>;

ExactInt binomial(int n, int k)
{
    if (n < 0 || k < 0 || k > n)
        return 0;
    k = std::min(k, n - k);
    ExactInt result = 1;
    for (int i = 1; i <= k; ++i)
        result = result * (n - k + i) / i; // exact: each step is C(n - k + i, i)
    return result;
}

long double ratio(ExactInt count, ExactInt total)
{
    return static_cast<long double>(count) / static_cast<long double>(total);
}

int eggsOf(GameKind kind)
{
    return kind.caveman || kind.cavemanPlus ? kCavemanEggs : 0;
}

// The simulation's wins are whole in units of 1 / D credits, D the first of these that makes
// every bonus value that multiplies a pay whole: any value with at most two decimals.
constexpr std::int64_t kUnitChoices[] = {1, 2, 4, 5, 10, 20, 25, 50, 100};
// A multiplier in units stays below this, so that pay x multiplier fits in 64 bits.
constexpr double kMaxMultiplierUnits = 2147483647.0;

bool wholeIn(double value, std::int64_t units)
{
    const double scaled = value * static_cast<double>(units);
    return std::abs(scaled - std::round(scaled)) <= 1e-9 * std::max(1.0, std::abs(scaled));
}

// 0 when no choice makes the values whole.
std::int64_t simulationUnits(const SimulationBonus& bonus)
{
    for (std::int64_t units : kUnitChoices) {
        bool whole = true;
        for (double value : {bonus.BonusFactor, bonus.Egg1Bonus, bonus.Egg2Bonus, bonus.Egg3Bonus})
            whole = whole && wholeIn(value, units);
        if (whole)
            return units;
    }
    return 0;
}

std::int64_t inUnits(double value, std::int64_t units)
{
    return std::llround(value * static_cast<double>(units));
}

// The simulation's rules for the ticket, each pay rounded to a 32-bit whole number as the run
// takes it. (The errors have refused pays above kMaxStoredPay, so every pay fits.)
SimulationRules simulationRulesOf(const ExactGame& game)
{
    SimulationPays pays{};
    for (int c = 0; c <= kMaxMarks; ++c)
        pays[c] = ToInt32(game.pays[c]).value_or(0);
    return SimulationRules(pays, game.simulationBonus, game.simulationKind);
}

// The board's base win: pay x bet rounded to a whole number, as the board keeps it in 64 bits.
// (Pays up to kMaxStoredPay times bets up to 45 fit.)
WholePays boardBase(const ExactGame& game, int bet)
{
    WholePays base{};
    for (int c = 0; c <= kMaxMarks; ++c)
        base[c] = ToInt64(game.pays[c] * bet).value_or(0);
    return base;
}

void add(std::vector<WinAtom>& atoms, std::int64_t win, long double probability)
{
    if (probability > 0)
        atoms.push_back({win, probability});
}

WinDistribution distributionOf(std::vector<WinAtom> atoms)
{
    std::sort(atoms.begin(), atoms.end(), [](const WinAtom& x, const WinAtom& y) { return x.win < y.win; });
    WinDistribution merged;
    for (const WinAtom& atom : atoms) {
        if (!merged.atoms.empty() && merged.atoms.back().win == atom.win)
            merged.atoms.back().probability += atom.probability;
        else
            merged.atoms.push_back(atom);
    }
    return merged;
}

// The total of a series of free games. Both rule sets often play the same free games, so the
// whole analysis keeps the last total instead of computing it twice.
struct FreeGamesMemo
{
    std::vector<WinAtom> oneGame;
    int games = -1;
    WinDistribution total;
};

bool sameAtoms(const std::vector<WinAtom>& a, const std::vector<WinAtom>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const WinAtom& x, const WinAtom& y) {
        return x.win == y.win && x.probability == y.probability;
    });
}

const WinDistribution& freeGamesTotal(const WinDistribution& oneFreeGame, int freeGames, FreeGamesMemo& memo)
{
    if (memo.games != freeGames || !sameAtoms(memo.oneGame, oneFreeGame.atoms)) {
        memo.oneGame = oneFreeGame.atoms;
        memo.games = freeGames;
        memo.total = ConvolvePower(oneFreeGame, freeGames);
    }
    return memo.total;
}

// Wins of the paid games that start free games, plus the free games' total added to each.
WinDistribution withFreeGames(std::vector<WinAtom> plain, std::vector<WinAtom> triggering,
                              const WinDistribution& oneFreeGame, int freeGames, FreeGamesMemo& memo)
{
    WinDistribution paid = distributionOf(std::move(plain));
    if (triggering.empty())
        return paid;
    const WinDistribution started =
        Convolve(distributionOf(std::move(triggering)), freeGamesTotal(oneFreeGame, freeGames, memo));
    // Both are in order already: merge them.
    WinDistribution all;
    all.atoms.reserve(paid.atoms.size() + started.atoms.size());
    auto a = paid.atoms.cbegin(), b = started.atoms.cbegin();
    while (a != paid.atoms.end() || b != started.atoms.end()) {
        const bool takeA = b == started.atoms.end() || (a != paid.atoms.end() && a->win <= b->win);
        const WinAtom atom = takeA ? *a++ : *b++;
        if (!all.atoms.empty() && all.atoms.back().win == atom.win)
            all.atoms.back().probability += atom.probability;
        else
            all.atoms.push_back(atom);
    }
    return all;
}

// ---- The board: the reveal ball by ball ----

// A state after some balls: hits, eggs caught, eggs caught before the last hit, bonus ball hit.
constexpr int kEggStates = kCavemanEggs + 1;
constexpr int kRevealStates = (kMaxMarks + 1) * kEggStates * kEggStates * 2;
using RevealTable = std::array<long double, kRevealStates>;

constexpr int stateIndex(int hits, int eggs, int eggsAtLastHit, int bonusBallHit)
{
    return ((hits * kEggStates + eggs) * kEggStates + eggsAtLastHit) * 2 + bonusBallHit;
}

struct RevealOutcome
{
    int hits;
    int eggs;
    bool bonusBallHit;
    long double probability;
};

// Reveals the ball at `position` (1-based) from the numbers not yet drawn.
RevealTable revealBall(const RevealTable& before, int position, int marked, int eggs, int bonusBall,
                       KenoShape shape)
{
    RevealTable after{};
    const int left = shape.numbers - (position - 1);
    for (int m = 0; m <= marked; ++m)
        for (int e = 0; e <= eggs; ++e)
            for (int l = 0; l <= e; ++l)
                for (int h = 0; h < 2; ++h) {
                    const long double p = before[stateIndex(m, e, l, h)];
                    if (p == 0)
                        continue;
                    const int markedLeft = marked - m, eggsLeft = eggs - e;
                    const int othersLeft = left - markedLeft - eggsLeft;
                    const int hitsBonus = position == bonusBall ? 1 : h;
                    // A hit: the win is computed now, with the eggs caught so far.
                    if (markedLeft > 0)
                        after[stateIndex(m + 1, e, e, hitsBonus)] += p * markedLeft / left;
                    if (eggsLeft > 0)
                        after[stateIndex(m, e + 1, l, h)] += p * eggsLeft / left;
                    if (othersLeft > 0)
                        after[stateIndex(m, e, l, h)] += p * othersLeft / left;
                }
    return after;
}

// Which catches pay anything: the Caveman Plus gate reads whether the last hit won.
using Paying = std::array<bool, kMaxMarks + 1>;

Paying payingOf(const WholePays& base)
{
    Paying paying{};
    for (int c = 0; c <= kMaxMarks; ++c)
        paying[c] = base[c] != 0;
    return paying;
}

// Where one game of the board ends: the paid game (its bonus ball at game.BonusBall) or a free
// game (no bonus ball, every win x Bonus Factor, which the extra-ball gate also reads).
std::vector<RevealOutcome> revealGame(const ExactGame& game, const Paying& paying, bool freeGame,
                                      KenoShape shape)
{
    const int marked = game.marked, eggs = eggsOf(game.boardKind);
    const int bonusBall = freeGame ? 0 : game.boardBonus.BonusBall;
    RevealTable table{};
    table[stateIndex(0, 0, 0, 0)] = 1;
    for (int position = 1; position <= shape.drawn; ++position)
        table = revealBall(table, position, marked, eggs, bonusBall, shape);

    if (game.boardKind.cavemanPlus) {
        // The gate after the last regular ball: go on only with a win from the last hit and two
        // or more eggs. A game without hits has no such win, whatever its catch of 0 pays.
        RevealTable goOn{};
        for (int m = 1; m <= marked; ++m)
            for (int e = 2; e <= eggs; ++e)
                for (int l = 0; l <= e; ++l) {
                    // Pays and multipliers are not negative: the win is 0 when either is.
                    const int multiplier =
                        freeGame ? game.boardBonus.BonusFactor : game.boardBonus.eggMultiplier(l);
                    if (!paying[m] || multiplier == 0)
                        continue;
                    for (int h = 0; h < 2; ++h) {
                        goOn[stateIndex(m, e, l, h)] = table[stateIndex(m, e, l, h)];
                        table[stateIndex(m, e, l, h)] = 0;
                    }
                }
        for (int position = shape.drawn + 1; position <= shape.drawn + kExtraBalls; ++position)
            goOn = revealBall(goOn, position, marked, eggs, bonusBall, shape);
        for (int i = 0; i < kRevealStates; ++i)
            table[i] += goOn[i];
    }

    std::vector<RevealOutcome> outcomes;
    for (int m = 0; m <= marked; ++m)
        for (int e = 0; e <= eggs; ++e)
            for (int h = 0; h < 2; ++h) {
                long double p = 0;
                for (int l = 0; l <= e; ++l)
                    p += table[stateIndex(m, e, l, h)];
                if (p > 0)
                    outcomes.push_back({m, e, h == 1, p});
            }
    return outcomes;
}

// ---- Exact fractions ----

ExactInt gcd(ExactInt a, ExactInt b)
{
    if (a < 0)
        a = -a;
    if (b < 0)
        b = -b;
    while (b != 0) {
        const ExactInt r = a % b;
        a = b;
        b = r;
    }
    return a;
}

// Fraction arithmetic that remembers an overflow instead of wrapping.
class Checked
{
public:
    ExactInt mul(ExactInt a, ExactInt b)
    {
        ExactInt r = 0;
        m_overflow |= __builtin_mul_overflow(a, b, &r);
        return r;
    }
    ExactInt add(ExactInt a, ExactInt b)
    {
        ExactInt r = 0;
        m_overflow |= __builtin_add_overflow(a, b, &r);
        return r;
    }
    ExactFraction fraction(ExactInt numerator, ExactInt denominator)
    {
        const ExactInt g = gcd(numerator, denominator);
        return g == 0 ? ExactFraction{} : ExactFraction{numerator / g, denominator / g};
    }
    ExactFraction add(const ExactFraction& a, const ExactFraction& b)
    {
        const ExactInt g = gcd(a.denominator, b.denominator);
        return fraction(add(mul(a.numerator, b.denominator / g), mul(b.numerator, a.denominator / g)),
                        mul(a.denominator / g, b.denominator));
    }
    ExactFraction mul(const ExactFraction& a, const ExactFraction& b)
    {
        const ExactInt g1 = std::max<ExactInt>(gcd(a.numerator, b.denominator), 1);
        const ExactInt g2 = std::max<ExactInt>(gcd(b.numerator, a.denominator), 1);
        return fraction(mul(a.numerator / g1, b.numerator / g2), mul(a.denominator / g2, b.denominator / g1));
    }
    bool overflow() const { return m_overflow; }

private:
    bool m_overflow = false;
};

} // namespace

ExactGame ExactGameOf(const KenoGame& game, int marked)
{
    ExactGame exact;
    exact.marked = marked;
    exact.pays = game.pays(marked);
    exact.boardBonus = game.boardBonus();
    exact.boardKind = game.boardKind();
    exact.simulationBonus = game.simulationBonus();
    exact.simulationKind = game.simulationKind();
    exact.valueError = game.valueError();
    return exact;
}

namespace {

std::string commonError(const ExactGame& game, int bet, KenoShape shape, GameKind kind)
{
    if (!game.valueError.empty())
        return game.valueError;
    if (shape.numbers < 1 || shape.drawn < 1 || shape.drawn > shape.numbers)
        return "The board must draw between 1 number and all of its numbers.";
    if (game.marked < kMinMarks || game.marked > kMaxMarks || game.marked > shape.numbers)
        return "The ticket must mark 1 to 10 numbers.";
    if (eggsOf(kind) > 0 && shape.numbers - game.marked < kCavemanEggs)
        return "A Caveman game needs three unmarked numbers for its eggs.";
    if (kind.cavemanPlus && shape.numbers - shape.drawn < kExtraBalls)
        return "A Caveman Plus game needs three undrawn numbers for its extra balls.";
    if (bet < kMinBet || bet > kMaxBet)
        return "The bet must be 1 to 45 credits.";
    for (int c = 0; c <= kMaxMarks; ++c)
        if (std::string error =
                StoredValueError(StoredValue::Pay, game.pays[c], "The pay for catching " + std::to_string(c));
            !error.empty())
            return error;
    return {};
}

std::string freeGamesError(double freeGames, double factor, const ExactGame& game, std::int64_t units)
{
    if (freeGames > kMaxExactFreeGames)
        return "The exact analysis takes at most " + std::to_string(kMaxExactFreeGames) + " free games.";
    // The free games' total is kept win by win; beyond this it would take seconds and memory.
    const double topPay = *std::max_element(game.pays.begin(), game.pays.end());
    if (freeGames > 0 && freeGames * factor * topPay * static_cast<double>(units) > kMaxExactFreeGamesWin)
        return "The free games pay too much for the exact analysis.";
    return {};
}

// What the board's rules need before anything is computed, whatever the free games.
std::string boardValuesError(const ExactGame& game, int bet, KenoShape shape)
{
    if (std::string error = commonError(game, bet, shape, game.boardKind); !error.empty())
        return error;
    const BonusValues& bonus = game.boardBonus;
    const SimulationBonus asStored{
        static_cast<double>(bonus.BonusBall),   static_cast<double>(bonus.FreeGames),
        static_cast<double>(bonus.BonusFactor), static_cast<double>(bonus.Egg1Bonus),
        static_cast<double>(bonus.Egg2Bonus),   static_cast<double>(bonus.Egg3Bonus)};
    return BonusValuesError(asStored);
}

std::string boardError(const ExactGame& game, int bet, KenoShape shape)
{
    if (std::string error = boardValuesError(game, bet, shape); !error.empty())
        return error;
    const BonusValues& bonus = game.boardBonus;
    return freeGamesError(bonus.FreeGames, bonus.BonusFactor, game, 1);
}

std::string simulationError(const ExactGame& game, KenoShape shape)
{
    if (std::string error = commonError(game, 1, shape, game.simulationKind); !error.empty())
        return error;
    const SimulationBonus& bonus = game.simulationBonus;
    if (std::string error = BonusValuesError(bonus); !error.empty())
        return error;
    const double multipliers[] = {bonus.BonusFactor, bonus.Egg1Bonus, bonus.Egg2Bonus, bonus.Egg3Bonus};
    const std::int64_t units = simulationUnits(bonus);
    if (units == 0)
        return "The exact analysis takes bonus values with at most two decimals.";
    for (double value : multipliers)
        if (value * static_cast<double>(units) > kMaxMultiplierUnits)
            return "A bonus value is too large for the exact analysis.";
    if (bonus.FreeGames > kMaxExactFreeGames) // before rounding it to a whole number
        return freeGamesError(bonus.FreeGames, bonus.BonusFactor, game, units);
    return freeGamesError(simulationRulesOf(game).freeGames(), bonus.BonusFactor, game, units);
}

} // namespace

std::string ExactGameError(const ExactGame& game, int bet, KenoShape shape, std::optional<ExactRules> rules)
{
    if (rules != ExactRules::Simulation)
        if (std::string error = boardError(game, bet, shape); !error.empty())
            return error;
    if (rules != ExactRules::Board)
        return simulationError(game, shape);
    return {};
}

std::array<long double, kMaxMarks + 1> CatchProbabilities(int marked, KenoShape shape)
{
    Probabilities p{};
    const ExactInt draws = binomial(shape.numbers, shape.drawn);
    for (int c = 0; c <= std::min(marked, kMaxMarks) && draws > 0; ++c)
        p[c] = ratio(binomial(marked, c) * binomial(shape.numbers - marked, shape.drawn - c), draws);
    return p;
}

namespace {

// One way a game of the simulation ends before its free games: the catch it counts (after any
// extra balls) and what the rules pay for it, with its chance both as a number and as `ways`
// equally likely draws of SimulationOutcomes::denominator.
struct SimulationOutcome
{
    int hits = 0;
    SimulationSettlement settlement;
    long double probability = 0;
    ExactInt ways = 0;
};

struct SimulationOutcomes
{
    std::vector<SimulationOutcome> outcomes;
    ExactInt denominator = 1;
    Probabilities catches{}; // the chance of each catch the simulation counts
};

// Every way a game of the simulation can fall, counted by subsets: the catch, whether the bonus
// ball (a uniformly ranked drawn number) is on the ticket, the eggs and the extra balls, each
// then settled by the simulation's own rules. `x` notes a count that does not fit.
SimulationOutcomes simulationOutcomes(const ExactGame& game, const SimulationRules& rules, KenoShape shape,
                                      Checked& x)
{
    SimulationOutcomes all;
    const int n = game.marked, k = shape.drawn;
    const ExactInt draws = binomial(shape.numbers, k);
    const Probabilities hyper = CatchProbabilities(n, shape);
    auto add = [&](int hits, int eggCatches, bool bonusEarned, long double p, ExactInt ways) {
        if (p > 0)
            all.outcomes.push_back({hits, rules.settle(hits, eggCatches, bonusEarned), p, ways});
    };

    if (rules.hasBonusBall()) {
        all.denominator = x.mul(draws, k);
        for (int c = 0; c <= n; ++c) {
            all.catches[c] += hyper[c];
            const ExactInt ways = binomial(n, c) * binomial(shape.numbers - n, k - c);
            const long double hitBall = hyper[c] * c / k;
            if (rules.settle(c, 0, rules.earnsBonus(true, 0)).bonus == SimulationBonusPaid::None ||
                hitBall == 0) {
                add(c, 0, rules.earnsBonus(false, 0), hyper[c], x.mul(ways, k));
                continue;
            }
            add(c, 0, rules.earnsBonus(false, 0), hyper[c] - hitBall, x.mul(ways, k - c));
            add(c, 0, rules.earnsBonus(true, 0), hitBall, x.mul(ways, c));
        }
    } else if (rules.countsEggs()) {
        const int others = shape.numbers - n - kCavemanEggs;
        const ExactInt extraDraws = binomial(shape.numbers - k, kExtraBalls);
        // Outcomes without extra balls count their draws once per way of drawing the extra
        // balls, so that every outcome shares one denominator.
        const ExactInt drawsEach = game.simulationKind.cavemanPlus ? extraDraws : 1;
        all.denominator = x.mul(draws, drawsEach);
        const long double drawsP = static_cast<long double>(draws);
        const long double extraDrawsP = static_cast<long double>(extraDraws);
        for (int c = 0; c <= n; ++c)
            for (int e = 0; e <= kCavemanEggs; ++e) {
                const ExactInt ways =
                    binomial(n, c) * binomial(kCavemanEggs, e) * binomial(others, k - c - e);
                if (ways == 0)
                    continue;
                const long double p = static_cast<long double>(ways) / drawsP;
                const bool bonusEarned = rules.earnsBonus(false, e);
                if (!rules.drawsExtraBalls(c, e)) {
                    all.catches[c] += p;
                    add(c, e, bonusEarned, p, x.mul(ways, drawsEach));
                    continue;
                }
                // Three extra balls from the undrawn numbers, then hits and eggs are recounted.
                const int othersLeft = others - (k - c - e);
                for (int c2 = 0; c2 <= kExtraBalls; ++c2)
                    for (int e2 = 0; c2 + e2 <= kExtraBalls; ++e2) {
                        const ExactInt extraWays = binomial(n - c, c2) * binomial(kCavemanEggs - e, e2) *
                                                   binomial(othersLeft, kExtraBalls - c2 - e2);
                        if (extraWays == 0)
                            continue;
                        const long double pExtra = p * static_cast<long double>(extraWays) / extraDrawsP;
                        all.catches[c + c2] += pExtra;
                        add(c + c2, e + e2, bonusEarned, pExtra, x.mul(ways, extraWays));
                    }
            }
    } else {
        all.denominator = draws;
        for (int c = 0; c <= n; ++c) {
            all.catches[c] += hyper[c];
            add(c, 0, false, hyper[c], binomial(n, c) * binomial(shape.numbers - n, k - c));
        }
    }
    return all;
}

// The win of an outcome in units of 1 / `units` credits: its pay times its multiplier.
std::int64_t outcomeWin(const SimulationRules& rules, const SimulationOutcome& o, std::int64_t units)
{
    return std::int64_t{rules.pays()[o.hits]} * inUnits(o.settlement.multiplier, units);
}

WinDistribution simulationWin(const ExactGame& game, KenoShape shape, Probabilities* catches,
                              FreeGamesMemo& memo)
{
    Probabilities catchSink{};
    Probabilities& catchP = catches ? *catches : catchSink;
    catchP.fill(0);
    if (!simulationError(game, shape).empty())
        return {};

    // Wins in units of 1 / `units` credits, so that a Bonus Factor of 2.5 pays whole units.
    const SimulationRules rules = simulationRulesOf(game);
    const std::int64_t units = simulationUnits(rules.bonus());
    Checked counts; // only the chances are wanted here
    const SimulationOutcomes all = simulationOutcomes(game, rules, shape, counts);
    catchP = all.catches;
    std::vector<WinAtom> plain, triggering;
    for (const SimulationOutcome& o : all.outcomes)
        add(o.settlement.bonus == SimulationBonusPaid::FreeGames ? triggering : plain,
            outcomeWin(rules, o, units), o.probability);

    // A free game draws twenty numbers and pays its catch's pay times its multiplier.
    std::vector<WinAtom> freeAtoms;
    const Probabilities hyper = CatchProbabilities(game.marked, shape);
    const std::int64_t freeMultiplier = inUnits(rules.freeGameMultiplier(), units);
    for (int c = 0; c <= game.marked && !triggering.empty(); ++c)
        add(freeAtoms, std::int64_t{rules.pays()[c]} * freeMultiplier, hyper[c]);
    WinDistribution win = withFreeGames(std::move(plain), std::move(triggering),
                                        distributionOf(std::move(freeAtoms)), rules.freeGames(), memo);
    win.unitsPerCredit = units;
    return win;
}

// The win formula of the board's paid game, case by case in its order: the base win of the
// catch (whole credits as the board pays them, or the pay table's own amounts) times the
// multiplier that applies.
template <typename Amount>
Amount paidGameWin(const ExactGame& game, const std::array<Amount, kMaxMarks + 1>& base,
                   const RevealOutcome& o)
{
    const BonusValues& bonus = game.boardBonus;
    if (eggsOf(game.boardKind) > 0)
        return base[o.hits] * bonus.eggMultiplier(o.eggs);
    if (o.bonusBallHit && bonus.FreeGames < 1)
        return bonus.BonusFactor * base[o.hits];
    return base[o.hits];
}

bool startsFreeGames(const ExactGame& game, std::int64_t win, const RevealOutcome& o)
{
    return win >= 1 && game.boardBonus.FreeGames >= 1 && o.bonusBallHit;
}

// One free game of the board: its catch and its win. Without extra balls a free game's win
// follows its catch alone; the hypergeometric chances then match the simulation's to the last
// bit, so that the free-games total is shared between the rule sets.
std::vector<std::pair<int, WinAtom>> boardFreeGame(const ExactGame& game, const WholePays& base,
                                                   KenoShape shape)
{
    std::vector<std::pair<int, WinAtom>> outcomes;
    const int factor = game.boardBonus.BonusFactor;
    if (!game.boardKind.cavemanPlus) {
        const Probabilities hyper = CatchProbabilities(game.marked, shape);
        for (int c = 0; c <= game.marked; ++c)
            outcomes.push_back({c, {factor * base[c], hyper[c]}});
    } else {
        for (const RevealOutcome& o : revealGame(game, payingOf(base), true, shape))
            outcomes.push_back({o.hits, {factor * base[o.hits], o.probability}});
    }
    return outcomes;
}

WinDistribution boardWin(const ExactGame& game, int bet, KenoShape shape, Probabilities* catches,
                         FreeGamesMemo& memo)
{
    Probabilities catchSink{};
    Probabilities& catchP = catches ? *catches : catchSink;
    catchP.fill(0);
    if (!boardError(game, bet, shape).empty())
        return {};

    const WholePays base = boardBase(game, bet);
    std::vector<WinAtom> plain, triggering;
    for (const RevealOutcome& o : revealGame(game, payingOf(base), false, shape)) {
        catchP[o.hits] += o.probability;
        const std::int64_t win = paidGameWin(game, base, o);
        add(startsFreeGames(game, win, o) ? triggering : plain, win, o.probability);
    }
    std::vector<WinAtom> freeAtoms;
    if (!triggering.empty())
        for (const auto& [hits, atom] : boardFreeGame(game, base, shape))
            add(freeAtoms, atom.win, atom.probability);
    return withFreeGames(std::move(plain), std::move(triggering), distributionOf(std::move(freeAtoms)),
                         game.boardBonus.FreeGames, memo);
}

} // namespace

WinDistribution SimulationWinDistribution(const ExactGame& game, KenoShape shape, Probabilities* catches)
{
    FreeGamesMemo memo;
    return simulationWin(game, shape, catches, memo);
}

WinDistribution BoardWinDistribution(const ExactGame& game, int bet, KenoShape shape, Probabilities* catches)
{
    FreeGamesMemo memo;
    return boardWin(game, bet, shape, catches, memo);
}

std::array<WinDistribution, kMaxMarks + 1> BoardWinMissingCatch(const ExactGame& game, int bet,
                                                                KenoShape shape)
{
    std::array<WinDistribution, kMaxMarks + 1> missing;
    if (!boardError(game, bet, shape).empty())
        return missing;
    const WholePays base = boardBase(game, bet);
    const std::vector<RevealOutcome> paid = revealGame(game, payingOf(base), false, shape);
    std::vector<std::pair<int, WinAtom>> freeGame;
    if (game.boardBonus.FreeGames >= 1)
        freeGame = boardFreeGame(game, base, shape);

    FreeGamesMemo memo;
    for (int c = 0; c <= kMaxMarks; ++c) {
        std::vector<WinAtom> plain, triggering, freeAtoms;
        for (const RevealOutcome& o : paid) {
            if (o.hits == c)
                continue;
            const std::int64_t win = paidGameWin(game, base, o);
            add(startsFreeGames(game, win, o) ? triggering : plain, win, o.probability);
        }
        for (const auto& [hits, atom] : freeGame)
            if (hits != c)
                add(freeAtoms, atom.win, atom.probability);
        missing[c] = withFreeGames(std::move(plain), std::move(triggering),
                                   distributionOf(std::move(freeAtoms)), game.boardBonus.FreeGames, memo);
    }
    return missing;
}

std::optional<ExactFraction> SimulationReturnFraction(const ExactGame& game, KenoShape shape)
{
    if (!simulationError(game, shape).empty())
        return std::nullopt;
    // Every term in units of 1 / `units` credits, as simulationWin counts.
    const SimulationRules rules = simulationRulesOf(game);
    const std::int64_t units = simulationUnits(rules.bonus());
    const int n = game.marked, k = shape.drawn;
    const ExactInt draws = binomial(shape.numbers, k);
    Checked x;

    // Expected total of the free games: their number times one free game's mean win.
    const ExactInt freeMultiplier = inUnits(rules.freeGameMultiplier(), units);
    ExactInt freeWays = 0;
    for (int c = 0; c <= n; ++c)
        freeWays = x.add(freeWays, x.mul(binomial(n, c) * binomial(shape.numbers - n, k - c),
                                         x.mul(rules.pays()[c], freeMultiplier)));
    const ExactFraction freeGamesTotal =
        x.mul(x.fraction(freeWays, draws), ExactFraction{rules.freeGames(), 1});

    // The paid game over one denominator; the ways that start free games apart.
    const SimulationOutcomes all = simulationOutcomes(game, rules, shape, x);
    ExactInt numerator = 0, triggerWays = 0;
    for (const SimulationOutcome& o : all.outcomes) {
        numerator = x.add(numerator, x.mul(o.ways, outcomeWin(rules, o, units)));
        if (o.settlement.bonus == SimulationBonusPaid::FreeGames)
            triggerWays = x.add(triggerWays, o.ways);
    }
    ExactFraction result = x.fraction(numerator, all.denominator);
    if (triggerWays != 0)
        result = x.add(result, x.mul(x.fraction(triggerWays, all.denominator), freeGamesTotal));
    result = x.mul(result, ExactFraction{1, units});
    if (x.overflow())
        return std::nullopt;
    return result;
}

std::optional<double> PayTableReturnPct(const ExactGame& game, KenoShape shape)
{
    // Only the mean is wanted, so free games need no limit here.
    if (!boardValuesError(game, 1, shape).empty())
        return std::nullopt;
    const BonusValues& bonus = game.boardBonus;
    Paying paying{};
    for (int c = 0; c <= kMaxMarks; ++c)
        paying[c] = game.pays[c] > 0;

    // One free game's expected win: the Bonus Factor times the pay of its catch.
    long double freeGameMean = 0;
    if (bonus.FreeGames >= 1 && !game.boardKind.cavemanPlus) {
        const Probabilities hyper = CatchProbabilities(game.marked, shape);
        for (int c = 0; c <= game.marked; ++c)
            freeGameMean += hyper[c] * bonus.BonusFactor * game.pays[c];
    } else if (bonus.FreeGames >= 1) {
        for (const RevealOutcome& o : revealGame(game, paying, true, shape))
            freeGameMean += o.probability * bonus.BonusFactor * game.pays[o.hits];
    }
    // The win formula of a paid game, without rounding.
    std::array<long double, kMaxMarks + 1> pays{};
    std::copy(game.pays.begin(), game.pays.end(), pays.begin());
    long double mean = 0;
    for (const RevealOutcome& o : revealGame(game, paying, false, shape)) {
        const long double win = paidGameWin(game, pays, o);
        mean += o.probability * win;
        if (win > 0 && bonus.FreeGames >= 1 && o.bonusBallHit)
            mean += o.probability * bonus.FreeGames * freeGameMean;
    }
    return static_cast<double>(mean * 100);
}

std::optional<int> ExactPayingBet(const ExactGame& game)
{
    for (int bet = kMinBet; bet <= kMaxBet; ++bet) {
        bool whole = true;
        for (int c = 0; c <= std::min(game.marked, kMaxMarks) && whole; ++c)
            whole = std::isfinite(game.pays[c]) && wholeIn(game.pays[c], bet);
        if (whole)
            return bet;
    }
    return std::nullopt;
}

std::optional<int> CommonExactBet(const std::vector<std::optional<int>>& bets)
{
    int common = 1;
    for (const std::optional<int>& bet : bets) {
        if (!bet)
            return std::nullopt;
        common = std::lcm(common, *bet);
        if (common > kMaxBet)
            return std::nullopt;
    }
    return common;
}

std::string ExactBetNote(std::optional<int> bet)
{
    if (!bet)
        return "No bet up to 45 pays the pay table exactly.";
    if (*bet == 1)
        return "Every bet pays the pay table exactly.";
    if (*bet == 2)
        return "Any even bet pays the pay table exactly.";
    if (2 * *bet > kMaxBet)
        return "A bet of " + std::to_string(*bet) + " pays the pay table exactly.";
    return "Any bet that is a multiple of " + std::to_string(*bet) + " pays the pay table exactly.";
}

TicketReturns TicketReturnsOf(const KenoGame& game, int marked)
{
    TicketReturns returns;
    if (!game.paysAnything(marked))
        return returns;
    const ExactGame exact = ExactGameOf(game, marked);
    returns.payTable = PayTableReturnPct(exact);
    if (ExactGameError(exact, 1, {}, ExactRules::Board).empty())
        returns.wholeCredits = static_cast<double>(BoardWinDistribution(exact, 1).mean() * 100);
    returns.exactBet = ExactPayingBet(exact);
    return returns;
}

bool TicketReturns::differs() const
{
    return payTable && wholeCredits && std::fabs(*payTable - *wholeCredits) >= kReturnDifferencePct;
}

ExactOdds ExactOddsOf(const WinDistribution& win, const Probabilities& catches, int bet)
{
    ExactOdds odds;
    odds.bet = bet;
    odds.win = win;
    for (int c = 0; c <= kMaxMarks; ++c)
        odds.catchProbability[c] = static_cast<double>(catches[c]);
    const long double perCredit = 1.0L / bet;
    odds.returnPct = static_cast<double>(win.mean() * perCredit * 100);
    const long double variance = win.variance() * perCredit * perCredit;
    odds.variance = static_cast<double>(variance);
    odds.standardDeviation = static_cast<double>(std::sqrt(variance));
    odds.hitRate = static_cast<double>(win.probabilityAbove(0));
    return odds;
}

ExactAnalysis AnalyseExact(const ExactGame& game, int bet, KenoShape shape)
{
    ExactAnalysis analysis;
    analysis.error = ExactGameError(game, bet, shape);
    if (!analysis.ok())
        return analysis;
    Probabilities catches{};
    FreeGamesMemo memo;
    const WinDistribution simulation = simulationWin(game, shape, &catches, memo);
    analysis.simulation = ExactOddsOf(simulation, catches, 1);
    const WinDistribution board = boardWin(game, bet, shape, &catches, memo);
    analysis.board = ExactOddsOf(board, catches, bet);
    analysis.session = ExactSessionFiguresOf(simulation);
    return analysis;
}

} // namespace tallyhawk
