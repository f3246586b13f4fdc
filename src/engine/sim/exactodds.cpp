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

#include <algorithm>
#include <cmath>

namespace tallyhawk {

namespace {

using Probabilities = std::array<long double, kExactMaxCatch + 1>;
using WholePays = std::array<std::int64_t, kExactMaxCatch + 1>;

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

int eggsOf(const ExactGame& game)
{
    return game.caveman || game.cavemanPlus ? kExactEggs : 0;
}

std::int64_t eggMultiplier(const ExactGame& game, int eggCatches)
{
    switch (eggCatches) {
    case 1:
        return game.Egg1Bonus;
    case 2:
        return game.Egg2Bonus;
    case 3:
        return game.Egg3Bonus;
    default:
        return 1;
    }
}

// The simulation's pay per catch: each pay rounded to a 32-bit whole number; a pay that does
// not fit is skipped, as the run skips a failing step, and pays 0.
WholePays simulationPays(const ExactGame& game)
{
    WholePays pays{};
    for (int c = 0; c <= kExactMaxCatch; ++c)
        pays[c] = ToInt32(game.pays[c]).value_or(0);
    return pays;
}

// The board's base win: pay x bet rounded to a 32-bit whole number.
WholePays boardBase(const ExactGame& game, int bet)
{
    WholePays base{};
    for (int c = 0; c <= kExactMaxCatch; ++c)
        base[c] = ToInt32(game.pays[c] * bet).value_or(0);
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
constexpr int kEggStates = kExactEggs + 1;
constexpr int kRevealStates = (kExactMaxCatch + 1) * kEggStates * kEggStates * 2;
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

// Where one game of the board ends: the paid game (its bonus ball at game.BonusBall) or a free
// game (no bonus ball, every win x Bonus Factor, which the extra-ball gate also reads).
std::vector<RevealOutcome> revealGame(const ExactGame& game, const WholePays& base, bool freeGame,
                                      KenoShape shape)
{
    const int marked = game.marked, eggs = eggsOf(game);
    const int bonusBall = freeGame ? 0 : game.BonusBall;
    RevealTable table{};
    table[stateIndex(0, 0, 0, 0)] = 1;
    for (int position = 1; position <= shape.drawn; ++position)
        table = revealBall(table, position, marked, eggs, bonusBall, shape);

    if (game.cavemanPlus) {
        // The gate after the last regular ball: go on only with a win from the last hit and two
        // or more eggs. A game without hits has no such win, whatever its catch of 0 pays.
        RevealTable goOn{};
        for (int m = 1; m <= marked; ++m)
            for (int e = 2; e <= eggs; ++e)
                for (int l = 0; l <= e; ++l) {
                    const std::int64_t gateWin =
                        freeGame ? game.BonusFactor * base[m] : base[m] * eggMultiplier(game, l);
                    if (gateWin == 0)
                        continue;
                    for (int h = 0; h < 2; ++h) {
                        goOn[stateIndex(m, e, l, h)] = table[stateIndex(m, e, l, h)];
                        table[stateIndex(m, e, l, h)] = 0;
                    }
                }
        for (int position = shape.drawn + 1; position <= shape.drawn + kExactExtraBalls; ++position)
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

void SetGameKind(ExactGame& game, std::string_view gameName, ExactRules rules)
{
    const bool caveman = gameName.find("Caveman") != std::string_view::npos;
    game.caveman = caveman;
    game.cavemanPlus = rules == ExactRules::Board
                           ? gameName.find("Caveman Plus") != std::string_view::npos
                           : caveman && gameName.find("Plus") != std::string_view::npos;
}

ExactGame ExactGameFromRows(const std::vector<PayScheduleRow>& rows, int marked)
{
    ExactGame game;
    game.marked = marked;
    auto whole = [](const std::optional<double>& value, int neutral) {
        return value ? static_cast<int>(ToInt16(*value).value_or(static_cast<std::int16_t>(neutral)))
                     : neutral;
    };
    bool bonusRowSeen = false;
    for (const PayScheduleRow& row : rows) {
        if (!row.Catch || *row.Catch < 0 || *row.Catch > kExactMaxCatch)
            continue;
        if (marked >= 1 && marked <= kMaxMarked)
            game.pays[*row.Catch] = row.Pick[marked - 1].value_or(0);
        if (*row.Catch == 0 && !bonusRowSeen) {
            bonusRowSeen = true;
            game.BonusBall = whole(row.BonusBall, 0);
            game.FreeGames = whole(row.FreeGames, 0);
            game.BonusFactor = whole(row.BonusFactor, 1);
            game.Egg1Bonus = whole(row.Egg1Bonus, 1);
            game.Egg2Bonus = whole(row.Egg2Bonus, 1);
            game.Egg3Bonus = whole(row.Egg3Bonus, 1);
        }
    }
    return game;
}

std::string ExactGameError(const ExactGame& game, int bet, KenoShape shape)
{
    if (shape.numbers < 1 || shape.drawn < 1 || shape.drawn > shape.numbers)
        return "The board must draw between 1 number and all of its numbers.";
    if (game.marked < 1 || game.marked > kExactMaxCatch || game.marked > shape.numbers)
        return "The ticket must mark 1 to 10 numbers.";
    if (eggsOf(game) > 0 && shape.numbers - game.marked < kExactEggs)
        return "A Caveman game needs three unmarked numbers for its eggs.";
    if (game.cavemanPlus && shape.numbers - shape.drawn < kExactExtraBalls)
        return "A Caveman Plus game needs three undrawn numbers for its extra balls.";
    if (bet < 1 || bet > 45)
        return "The bet must be 1 to 45 credits.";
    for (double pay : game.pays)
        if (!(pay >= 0) || !std::isfinite(pay))
            return "Every pay must be a number of 0 or more.";
    if (game.BonusFactor < 0 || game.Egg1Bonus < 0 || game.Egg2Bonus < 0 || game.Egg3Bonus < 0)
        return "The bonus factor and the egg bonuses must be 0 or more.";
    if (game.FreeGames > kMaxExactFreeGames)
        return "The exact analysis takes at most " + std::to_string(kMaxExactFreeGames) + " free games.";
    // The free games' total is kept win by win; beyond this it would take seconds and memory.
    const double topPay = *std::max_element(game.pays.begin(), game.pays.end());
    if (game.FreeGames > 0 && double(game.FreeGames) * game.BonusFactor * topPay > kMaxExactFreeGamesWin)
        return "The free games pay too much for the exact analysis.";
    return {};
}

std::array<long double, kExactMaxCatch + 1> CatchProbabilities(int marked, KenoShape shape)
{
    Probabilities p{};
    const ExactInt draws = binomial(shape.numbers, shape.drawn);
    for (int c = 0; c <= std::min(marked, kExactMaxCatch) && draws > 0; ++c)
        p[c] = ratio(binomial(marked, c) * binomial(shape.numbers - marked, shape.drawn - c), draws);
    return p;
}

namespace {

WinDistribution simulationWin(const ExactGame& game, KenoShape shape, Probabilities* catches,
                              FreeGamesMemo& memo)
{
    Probabilities catchSink{};
    Probabilities& catchP = catches ? *catches : catchSink;
    catchP.fill(0);
    if (!ExactGameError(game, 1, shape).empty())
        return {};

    const WholePays pay = simulationPays(game);
    const int n = game.marked, k = shape.drawn;
    const Probabilities hyper = CatchProbabilities(n, shape);
    std::vector<WinAtom> plain, triggering;

    if (game.BonusBall != 0) {
        // Any non-zero Bonus Ball makes a bonus-ball game here, and eggs are then never counted.
        for (int c = 0; c <= n; ++c) {
            catchP[c] += hyper[c];
            const long double hitBall = hyper[c] * c / k;
            if (pay[c] <= 0 || hitBall == 0) {
                add(plain, pay[c], hyper[c]);
                continue;
            }
            add(plain, pay[c], hyper[c] - hitBall);
            if (game.FreeGames > 0)
                add(triggering, pay[c], hitBall);
            else if (eggsOf(game) > 0)
                add(plain, pay[c], hitBall); // the egg multiplier less one is still 0
            else
                add(plain, pay[c] * game.BonusFactor, hitBall);
        }
    } else if (eggsOf(game) > 0) {
        const int others = shape.numbers - n - kExactEggs;
        const long double draws = static_cast<long double>(binomial(shape.numbers, k));
        const long double extraDraws =
            static_cast<long double>(binomial(shape.numbers - k, kExactExtraBalls));
        auto settle = [&](int c, int e, bool bonus, long double p) {
            catchP[c] += p;
            if (!bonus || pay[c] <= 0)
                add(plain, pay[c], p);
            else if (game.FreeGames > 0)
                add(triggering, pay[c], p);
            else
                add(plain, pay[c] * eggMultiplier(game, e), p);
        };
        for (int c = 0; c <= n; ++c)
            for (int e = 0; e <= kExactEggs; ++e) {
                const ExactInt ways = binomial(n, c) * binomial(kExactEggs, e) * binomial(others, k - c - e);
                if (ways == 0)
                    continue;
                const long double p = static_cast<long double>(ways) / draws;
                if (!(game.cavemanPlus && e >= 2 && pay[c] > 0)) {
                    settle(c, e, e >= 2, p);
                    continue;
                }
                // Three extra balls from the undrawn numbers, then hits and eggs are recounted.
                const int othersLeft = others - (k - c - e);
                for (int c2 = 0; c2 <= kExactExtraBalls; ++c2)
                    for (int e2 = 0; c2 + e2 <= kExactExtraBalls; ++e2) {
                        const ExactInt extraWays = binomial(n - c, c2) * binomial(kExactEggs - e, e2) *
                                                   binomial(othersLeft, kExactExtraBalls - c2 - e2);
                        if (extraWays != 0)
                            settle(c + c2, e + e2, true,
                                   p * static_cast<long double>(extraWays) / extraDraws);
                    }
            }
    } else {
        for (int c = 0; c <= n; ++c) {
            catchP[c] += hyper[c];
            add(plain, pay[c], hyper[c]);
        }
    }

    std::vector<WinAtom> freeAtoms;
    for (int c = 0; c <= n && !triggering.empty(); ++c)
        add(freeAtoms, pay[c] * game.BonusFactor, hyper[c]);
    return withFreeGames(std::move(plain), std::move(triggering), distributionOf(std::move(freeAtoms)),
                         game.FreeGames, memo);
}

WinDistribution boardWin(const ExactGame& game, int bet, KenoShape shape, Probabilities* catches,
                         FreeGamesMemo& memo)
{
    Probabilities catchSink{};
    Probabilities& catchP = catches ? *catches : catchSink;
    catchP.fill(0);
    if (!ExactGameError(game, bet, shape).empty())
        return {};

    const WholePays base = boardBase(game, bet);
    std::vector<WinAtom> plain, triggering;
    for (const RevealOutcome& o : revealGame(game, base, false, shape)) {
        catchP[o.hits] += o.probability;
        // The win formula of a paid game, case by case in its order.
        std::int64_t win = base[o.hits];
        if (eggsOf(game) > 0)
            win = base[o.hits] * eggMultiplier(game, o.eggs);
        else if (o.bonusBallHit && game.FreeGames < 1)
            win = game.BonusFactor * base[o.hits];
        const bool startsFreeGames = win >= 1 && game.FreeGames >= 1 && o.bonusBallHit;
        add(startsFreeGames ? triggering : plain, win, o.probability);
    }

    // Without extra balls a free game's win follows its catch alone; the hypergeometric chances
    // then match the simulation's to the last bit, and its free-games total is reused.
    std::vector<WinAtom> freeAtoms;
    if (!triggering.empty() && !game.cavemanPlus) {
        const Probabilities hyper = CatchProbabilities(game.marked, shape);
        for (int c = 0; c <= game.marked; ++c)
            add(freeAtoms, game.BonusFactor * base[c], hyper[c]);
    } else if (!triggering.empty()) {
        for (const RevealOutcome& o : revealGame(game, base, true, shape))
            add(freeAtoms, game.BonusFactor * base[o.hits], o.probability);
    }
    return withFreeGames(std::move(plain), std::move(triggering), distributionOf(std::move(freeAtoms)),
                         game.FreeGames, memo);
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

std::array<WinDistribution, kExactMaxCatch + 1> BoardWinMissingCatch(const ExactGame& game, int bet,
                                                                     KenoShape shape)
{
    std::array<WinDistribution, kExactMaxCatch + 1> missing;
    if (!ExactGameError(game, bet, shape).empty())
        return missing;
    const WholePays base = boardBase(game, bet);
    const std::vector<RevealOutcome> paid = revealGame(game, base, false, shape);
    // One free game's catch and win, found as boardWin finds them.
    std::vector<std::pair<int, WinAtom>> freeGame;
    if (game.FreeGames >= 1 && !game.cavemanPlus) {
        const Probabilities hyper = CatchProbabilities(game.marked, shape);
        for (int c = 0; c <= game.marked; ++c)
            freeGame.push_back({c, {game.BonusFactor * base[c], hyper[c]}});
    } else if (game.FreeGames >= 1) {
        for (const RevealOutcome& o : revealGame(game, base, true, shape))
            freeGame.push_back({o.hits, {game.BonusFactor * base[o.hits], o.probability}});
    }

    FreeGamesMemo memo;
    for (int c = 0; c <= kExactMaxCatch; ++c) {
        std::vector<WinAtom> plain, triggering, freeAtoms;
        for (const RevealOutcome& o : paid) {
            if (o.hits == c)
                continue;
            // The win formula of a paid game, as boardWin applies it.
            std::int64_t win = base[o.hits];
            if (eggsOf(game) > 0)
                win = base[o.hits] * eggMultiplier(game, o.eggs);
            else if (o.bonusBallHit && game.FreeGames < 1)
                win = game.BonusFactor * base[o.hits];
            const bool startsFreeGames = win >= 1 && game.FreeGames >= 1 && o.bonusBallHit;
            add(startsFreeGames ? triggering : plain, win, o.probability);
        }
        for (const auto& [hits, atom] : freeGame)
            if (hits != c)
                add(freeAtoms, atom.win, atom.probability);
        missing[c] = withFreeGames(std::move(plain), std::move(triggering),
                                   distributionOf(std::move(freeAtoms)), game.FreeGames, memo);
    }
    return missing;
}

std::optional<ExactFraction> SimulationReturnFraction(const ExactGame& game, KenoShape shape)
{
    if (!ExactGameError(game, 1, shape).empty())
        return std::nullopt;
    const WholePays pay = simulationPays(game);
    const int n = game.marked, k = shape.drawn;
    const ExactInt draws = binomial(shape.numbers, k);
    Checked x;

    // Expected total of the free games: Free Games x Bonus Factor x the mean pay.
    ExactInt payWays = 0;
    for (int c = 0; c <= n; ++c)
        payWays = x.add(payWays, x.mul(binomial(n, c) * binomial(shape.numbers - n, k - c), pay[c]));
    const ExactFraction freeGamesTotal =
        x.mul(x.fraction(payWays, draws),
              ExactFraction{static_cast<ExactInt>(game.FreeGames) * game.BonusFactor, 1});

    // Everything else as numerator over one denominator; triggering ways apart.
    ExactInt denominator = draws, numerator = 0, triggerWays = 0;
    if (game.BonusBall != 0) {
        denominator = x.mul(draws, k);
        for (int c = 0; c <= n; ++c) {
            const ExactInt ways = binomial(n, c) * binomial(shape.numbers - n, k - c);
            numerator = x.add(numerator, x.mul(x.mul(ways, k), pay[c]));
            if (pay[c] <= 0)
                continue;
            if (game.FreeGames > 0)
                triggerWays = x.add(triggerWays, ways * c);
            else if (eggsOf(game) == 0)
                numerator = x.add(numerator, x.mul(x.mul(ways, c), x.mul(pay[c], game.BonusFactor - 1)));
        }
    } else if (eggsOf(game) > 0) {
        const int others = shape.numbers - n - kExactEggs;
        const ExactInt extraDraws = game.cavemanPlus ? binomial(shape.numbers - k, kExactExtraBalls) : 1;
        denominator = x.mul(draws, extraDraws);
        auto settle = [&](int c, int e, bool bonus, ExactInt ways) {
            numerator = x.add(numerator, x.mul(ways, pay[c]));
            if (!bonus || pay[c] <= 0)
                return;
            if (game.FreeGames > 0)
                triggerWays = x.add(triggerWays, ways);
            else
                numerator = x.add(numerator, x.mul(ways, x.mul(pay[c], eggMultiplier(game, e) - 1)));
        };
        for (int c = 0; c <= n; ++c)
            for (int e = 0; e <= kExactEggs; ++e) {
                const ExactInt ways = binomial(n, c) * binomial(kExactEggs, e) * binomial(others, k - c - e);
                if (ways == 0)
                    continue;
                if (!(game.cavemanPlus && e >= 2 && pay[c] > 0)) {
                    settle(c, e, e >= 2, x.mul(ways, extraDraws));
                    continue;
                }
                const int othersLeft = others - (k - c - e);
                for (int c2 = 0; c2 <= kExactExtraBalls; ++c2)
                    for (int e2 = 0; c2 + e2 <= kExactExtraBalls; ++e2)
                        settle(c + c2, e + e2, true,
                               x.mul(ways, binomial(n - c, c2) * binomial(kExactEggs - e, e2) *
                                               binomial(othersLeft, kExactExtraBalls - c2 - e2)));
            }
    } else {
        numerator = payWays;
    }

    ExactFraction result = x.fraction(numerator, denominator);
    if (triggerWays != 0)
        result = x.add(result, x.mul(x.fraction(triggerWays, denominator), freeGamesTotal));
    if (x.overflow())
        return std::nullopt;
    return result;
}

ExactOdds ExactOddsOf(const WinDistribution& win, const Probabilities& catches, int bet)
{
    ExactOdds odds;
    odds.bet = bet;
    odds.win = win;
    for (int c = 0; c <= kExactMaxCatch; ++c)
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
