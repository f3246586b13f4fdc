#include "engine/common/numberforms.h"
#include "engine/sim/exactodds.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <map>

using namespace tallyhawk;

namespace {

using Dist = std::map<std::int64_t, long double>;
using Catches = std::array<long double, kExactMaxCatch + 1>;
__extension__ using Wide = __int128;

ExactGame ticket(int marked, std::vector<double> pays)
{
    ExactGame game;
    game.marked = marked;
    std::copy(pays.begin(), pays.end(), game.pays.begin());
    return game;
}

// Both rule sets read the whole bonus values and the kind alike in these games.
void sameForBoth(ExactGame& game)
{
    const BonusValues& b = game.boardBonus;
    game.simulationBonus = {double(b.BonusBall), double(b.FreeGames), double(b.BonusFactor),
                            double(b.Egg1Bonus), double(b.Egg2Bonus), double(b.Egg3Bonus)};
    game.simulationKind = game.boardKind;
}

ExactGame eggs(ExactGame game, int egg1, int egg2, int egg3, bool plus)
{
    game.boardKind = {true, plus};
    game.boardBonus.Egg1Bonus = egg1;
    game.boardBonus.Egg2Bonus = egg2;
    game.boardBonus.Egg3Bonus = egg3;
    sameForBoth(game);
    return game;
}

ExactGame bonusBall(ExactGame game, int position, int freeGames, int factor)
{
    game.boardBonus.BonusBall = position;
    game.boardBonus.FreeGames = freeGames;
    game.boardBonus.BonusFactor = factor;
    sameForBoth(game);
    return game;
}

// The catalogue's Cleopatra Keno, 8 spots: bonus row 20, 12, 2, 1, 1, 1.
ExactGame cleopatra8()
{
    return bonusBall(ticket(8, {0, 0, 0, 0, 3, 10, 56, 180, 1000}), 20, 12, 2);
}

// A set of numbers of the small board (0 to 15) as bits; the ticket is 0 .. marked - 1.
using Mask = std::uint32_t;

Mask below(int n)
{
    return (Mask{1} << n) - 1;
}

int count(Mask m)
{
    return std::popcount(m);
}

template <class F> void forEachSubset(Mask from, int size, F&& f)
{
    for (Mask m = from;; m = (m - 1) & from) {
        if (count(m) == size)
            f(m);
        if (m == 0)
            return;
    }
}

int subsets(Mask from, int size)
{
    int n = 0;
    forEachSubset(from, size, [&](Mask) { ++n; });
    return n;
}

std::vector<Mask> eggPlacements(const ExactGame& game, KenoShape shape)
{
    std::vector<Mask> placements;
    if (game.boardKind.caveman)
        forEachSubset(below(shape.numbers) & ~below(game.marked), kExactEggs,
                      [&](Mask e) { placements.push_back(e); });
    else
        placements.push_back(0);
    return placements;
}

Dist copies(const Dist& one, int times)
{
    Dist sum{{0, 1.0L}};
    for (int i = 0; i < times; ++i) {
        Dist next;
        for (const auto& [x, p] : sum)
            for (const auto& [y, q] : one)
                next[x + y] += p * q;
        sum = next;
    }
    return sum;
}

std::int64_t eggBonus(const ExactGame& game, int catches)
{
    const BonusValues& b = game.boardBonus;
    return std::array<std::int64_t, 4>{1, b.Egg1Bonus, b.Egg2Bonus, b.Egg3Bonus}[catches];
}

struct Brute
{
    Dist win;
    Catches catches{};
    ExactInt numerator = 0; // expected win x denominator, when no free games are played
    ExactInt denominator = 1;
};

// Outcomes counted in whole ways and divided once at the end: adding the same tiny weight
// hundreds of thousands of times would round the same way each time.
struct Tally
{
    std::map<std::int64_t, ExactInt> plain, triggering; // by the paid game's win
    std::array<ExactInt, kExactMaxCatch + 1> catches{};

    static Dist spread(const std::map<std::int64_t, ExactInt>& ways, ExactInt total)
    {
        Dist d;
        for (const auto& [win, w] : ways)
            d[win] += static_cast<long double>(w) / static_cast<long double>(total);
        return d;
    }
    Brute finish(ExactInt total, const Dist& freeTotal) const
    {
        Brute b;
        b.denominator = total;
        b.win = spread(plain, total);
        for (const auto& [win, p] : spread(triggering, total))
            for (const auto& [t, q] : freeTotal)
                b.win[win + t] += p * q;
        for (int c = 0; c <= kExactMaxCatch; ++c)
            b.catches[c] = static_cast<long double>(catches[c]) / static_cast<long double>(total);
        for (const auto& [win, w] : plain)
            b.numerator += w * win;
        return b;
    }
};

// The simulation's rules, literally, over every egg placement, draw, bonus-ball rank and
// extra-ball set.
Brute simulationBrute(const ExactGame& g, KenoShape s)
{
    const int k = s.drawn;
    const Mask all = below(s.numbers), ticketMask = below(g.marked);
    std::array<std::int64_t, kExactMaxCatch + 1> pay{};
    for (int c = 0; c <= kExactMaxCatch; ++c)
        pay[c] = static_cast<std::int64_t>(RoundHalfEven(g.pays[c]));
    const bool caveman = g.simulationKind.caveman;
    const auto placements = eggPlacements(g, s);
    const int draws = subsets(all, k), extraSets = subsets(below(s.numbers - k), kExactExtraBalls);

    std::map<std::int64_t, ExactInt> oneFree;
    forEachSubset(all, k,
                  [&](Mask d) { oneFree[pay[count(d & ticketMask)] * g.boardBonus.BonusFactor] += 1; });
    const Dist freeTotal = copies(Tally::spread(oneFree, draws), g.boardBonus.FreeGames);

    Tally tally;
    auto settle = [&](int c, int e, bool flag, ExactInt weight) {
        tally.catches[c] += weight;
        std::int64_t win = pay[c];
        if (flag && pay[c] > 0) {
            if (g.boardBonus.FreeGames > 0) {
                tally.triggering[win] += weight;
                return;
            }
            win += caveman ? pay[c] * (e >= 1 ? eggBonus(g, e) - 1 : 0)
                           : pay[c] * (g.boardBonus.BonusFactor - 1);
        }
        tally.plain[win] += weight;
    };
    for (const Mask eggSet : placements)
        forEachSubset(all, k, [&](Mask d) {
            const int c = count(d & ticketMask), e = count(d & eggSet);
            if (g.boardBonus.BonusBall != 0) {
                for (int n = 0; n < s.numbers; ++n) // each drawn number is the r-th smallest for one r
                    if (d >> n & 1)
                        settle(c, 0, n < g.marked, extraSets);
            } else if (caveman && g.simulationKind.cavemanPlus && e > 1 && pay[c] > 0) {
                forEachSubset(all & ~d, kExactExtraBalls, [&](Mask extra) {
                    settle(count((d | extra) & ticketMask), count((d | extra) & eggSet), true, k);
                });
            } else {
                settle(c, caveman ? e : 0, caveman && e > 1, ExactInt{k} * extraSets);
            }
        });
    return tally.finish(ExactInt{1} * static_cast<ExactInt>(placements.size()) * draws * k * extraSets,
                        freeTotal);
}

struct BoardGame
{
    std::int64_t win = 0;
    int hits = 0;
    bool bonusBallHit = false;
};

// One game of the board, literally: the balls in order, the win formula at every hit and at
// the end, the Caveman Plus gate at the first extra ball.
BoardGame boardGame(const ExactGame& g, KenoShape s, int bet, Mask eggSet, const std::array<int, 8>& balls,
                    bool freeGamesRunning)
{
    const bool caveman = g.boardKind.caveman;
    const int bonusBallAt = freeGamesRunning ? 0 : g.boardBonus.BonusBall;
    const int ballCount = g.boardKind.cavemanPlus ? s.drawn + kExactExtraBalls : s.drawn;
    BoardGame game;
    int eggCatches = 0;
    auto computeWin = [&] {
        const auto base = static_cast<std::int64_t>(RoundHalfEven(g.pays[game.hits] * bet));
        if (freeGamesRunning)
            return g.boardBonus.BonusFactor * base;
        if (caveman)
            return base * eggBonus(g, eggCatches);
        if (!game.bonusBallHit || g.boardBonus.FreeGames >= 1)
            return base;
        return g.boardBonus.BonusFactor * base;
    };
    for (int i = 1; i <= ballCount; ++i) {
        if (i == s.drawn + 1 && (game.win == 0 || eggCatches < 2))
            break;
        const int number = balls[i - 1];
        if (number >= g.marked) {
            eggCatches += caveman && (eggSet >> number & 1) ? 1 : 0;
            continue;
        }
        ++game.hits;
        if (i == bonusBallAt)
            game.bonusBallHit = true;
        game.win = computeWin();
    }
    game.win = computeWin();
    return game;
}

// Every order of the first `length` balls.
template <class F>
void forEachSequence(int numbers, int length, std::array<int, 8>& balls, int at, Mask used, F&& f)
{
    if (at == length)
        return f();
    for (int n = 0; n < numbers; ++n)
        if (!(used >> n & 1)) {
            balls[at] = n;
            forEachSequence(numbers, length, balls, at + 1, used | Mask{1} << n, f);
        }
}

Brute boardBrute(const ExactGame& g, KenoShape s, int bet)
{
    const int length = g.boardKind.cavemanPlus ? s.drawn + kExactExtraBalls : s.drawn;
    ExactInt games = 0;
    std::map<std::int64_t, ExactInt> oneFree;
    Tally tally;
    std::array<int, 8> balls{};
    for (const Mask eggSet : eggPlacements(g, s))
        forEachSequence(s.numbers, length, balls, 0, 0, [&] {
            ++games;
            oneFree[boardGame(g, s, bet, eggSet, balls, true).win] += 1;
            const BoardGame game = boardGame(g, s, bet, eggSet, balls, false);
            tally.catches[game.hits] += 1;
            const bool startsFreeGames = game.win >= 1 && g.boardBonus.FreeGames >= 1 && game.bonusBallHit;
            (startsFreeGames ? tally.triggering : tally.plain)[game.win] += 1;
        });
    return tally.finish(games, copies(Tally::spread(oneFree, games), g.boardBonus.FreeGames));
}

void expectSame(const WinDistribution& exact, const Catches& exactCatches, const Brute& brute)
{
    ASSERT_EQ(exact.atoms.size(), brute.win.size());
    auto it = brute.win.begin();
    for (const WinAtom& atom : exact.atoms) {
        EXPECT_EQ(atom.win, it->first);
        EXPECT_NEAR(static_cast<double>(atom.probability), static_cast<double>(it->second), 1e-15)
            << atom.win;
        ++it;
    }
    for (int c = 0; c <= kExactMaxCatch; ++c)
        EXPECT_NEAR(static_cast<double>(exactCatches[c]), static_cast<double>(brute.catches[c]), 1e-15) << c;
}

} // namespace

TEST(ExactOdds, FiveSpotReturnsExactly57000Over79079)
{
    const ExactGame game = ticket(5, {0, 0, 0, 1, 10, 800});
    const auto fraction = SimulationReturnFraction(game);
    ASSERT_TRUE(fraction);
    EXPECT_EQ(fraction->text(), "57000/79079");
    const ExactAnalysis a = AnalyseExact(game);
    ASSERT_TRUE(a.ok()) << a.error;
    EXPECT_NEAR(a.simulation.returnPct, 5700000.0 / 79079, 1e-10);
    EXPECT_NEAR(a.board.returnPct, 5700000.0 / 79079, 1e-10);
    EXPECT_NEAR(AnalyseExact(game, 7).board.returnPct, 5700000.0 / 79079, 1e-10); // whole pays: any bet
}

TEST(ExactOdds, PublishedReturns)
{
    EXPECT_NEAR(AnalyseExact(ticket(5, {0, 0, 1, 3, 15, 300})).simulation.returnPct, 89.7125, 5e-5);
    // The board's rules at a bet of 1 reproduce it; the simulation's agree for this table, as
    // a ball at a fixed position and one of random rank hit alike.
    const ExactAnalysis cleopatra = AnalyseExact(cleopatra8());
    EXPECT_NEAR(cleopatra.board.returnPct, 90.1498, 5e-5);
    EXPECT_NEAR(cleopatra.simulation.returnPct, 90.1498, 5e-5);
    EXPECT_NEAR(static_cast<double>(SimulationReturnFraction(cleopatra8())->value()) * 100, 90.1498, 5e-5);
}

TEST(ExactOdds, CatchProbabilitiesAreHypergeometric)
{
    const auto p = CatchProbabilities(1);
    EXPECT_NEAR(static_cast<double>(p[1]), 0.25, 1e-18);
    const auto ten = CatchProbabilities(10);
    long double sum = 0;
    for (long double x : ten)
        sum += x;
    EXPECT_NEAR(static_cast<double>(sum), 1.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(ten[10]), 1.0 / 8911711.18, 1e-14); // the 10-spot jackpot
}

TEST(ExactOdds, FiguresFollowFromTheDistribution)
{
    const ExactAnalysis a = AnalyseExact(ticket(1, {0, 3}), 2);
    EXPECT_NEAR(a.simulation.returnPct, 75, 1e-12);
    EXPECT_NEAR(a.simulation.variance, 0.25 * 0.75 * 9, 1e-12);
    EXPECT_NEAR(a.simulation.standardDeviation, std::sqrt(0.25 * 0.75 * 9), 1e-12);
    EXPECT_NEAR(a.simulation.hitRate, 0.25, 1e-15);
    EXPECT_EQ(a.board.win.atoms.back().win, 6); // credits at a bet of 2
    EXPECT_NEAR(a.board.returnPct, 75, 1e-12);
    EXPECT_NEAR(a.board.variance, a.simulation.variance, 1e-12);
}

TEST(ExactOdds, RefusesWhatItCannotAnalyse)
{
    EXPECT_FALSE(AnalyseExact(ticket(0, {})).ok());
    EXPECT_FALSE(AnalyseExact(ticket(11, {})).ok());
    EXPECT_FALSE(AnalyseExact(ticket(5, {0, 0, -1})).ok());
    EXPECT_FALSE(AnalyseExact(ticket(5, {1}), 46).ok());
    EXPECT_FALSE(AnalyseExact(bonusBall(ticket(5, {1}), 20, kMaxExactFreeGames + 1, 2)).ok());
    EXPECT_FALSE(AnalyseExact(bonusBall(ticket(5, {0, 0, 0, 0, 0, 2e5}), 20, 12, 2)).ok());
    EXPECT_FALSE(AnalyseExact(eggs(ticket(5, {1}), 1, -4, 1, false)).ok());
    EXPECT_TRUE(AnalyseExact(ticket(10, {1})).ok());
    // Values that cannot be held are refused, naming them; at the limits everything fits.
    EXPECT_EQ(AnalyseExact(ticket(5, {0, 0, 0, 0, 0, 2147483648.0})).error,
              "The pay for catching 5 holds 2147483648, more than 2,147,483,647, the largest pay the program "
              "can hold.");
    EXPECT_FALSE(AnalyseExact(ticket(5, {0, 0, 0, 1e19})).ok());
    EXPECT_FALSE(AnalyseExact(bonusBall(ticket(5, {0, 0, 1}), 20, 0, 32768)).ok());
    ExactGame stored = ticket(5, {0, 0, 1});
    stored.valueError =
        "Egg2 Bonus holds 40000, more than 32,767, the largest bonus value the board can read.";
    EXPECT_EQ(AnalyseExact(stored).error, stored.valueError);
    EXPECT_EQ(PayTableReturnPct(stored), std::nullopt);
    const ExactAnalysis largest = AnalyseExact(ticket(1, {0, 2147483647}), 45);
    ASSERT_TRUE(largest.ok()) << largest.error;
    EXPECT_EQ(largest.board.win.atoms.back().win, std::int64_t{2147483647} * 45);
}

TEST(PayTableReturn, IsEachPayTimesTheBetAsCasinosPublishIt)
{
    // Avi Laughlin's 10-spot table, by hand in halves of a credit: C(10, c) C(70, 20 - c) ways of
    // C(80, 20) to catch c; the pay table pays 0.5 for four catches, the board at a bet of 1 nothing.
    const double pays[] = {0, 0, 0, 0, 0.5, 2, 20, 120, 800, 3800, 50000};
    auto ways = [](int n, int k) {
        Wide r = 1;
        for (int i = 1; i <= k; ++i)
            r = r * (n - k + i) / i;
        return r;
    };
    Wide halves = 0, wholeHalves = 0;
    for (int c = 0; c <= 10; ++c) {
        const Wide w = ways(10, c) * ways(70, 20 - c);
        halves += w * static_cast<Wide>(2 * pays[c]);
        wholeHalves += c == 4 ? 0 : w * static_cast<Wide>(2 * pays[c]);
    }
    const long double draws = 2.0L * static_cast<long double>(ways(80, 20));
    const double payTable = static_cast<double>(100 * static_cast<long double>(halves) / draws);
    const double wholeCredits = static_cast<double>(100 * static_cast<long double>(wholeHalves) / draws);
    EXPECT_NEAR(payTable, 73.6644, 5e-5); // as published
    EXPECT_NEAR(wholeCredits, 66.2985, 5e-5);

    const ExactGame avi = ticket(10, std::vector<double>(std::begin(pays), std::end(pays)));
    EXPECT_NEAR(*PayTableReturnPct(avi), payTable, 1e-10);
    EXPECT_NEAR(AnalyseExact(avi, 1).board.returnPct, wholeCredits, 1e-10);
    EXPECT_NEAR(AnalyseExact(avi, 2).board.returnPct, payTable, 1e-10); // an even bet pays the table
    EXPECT_EQ(ExactPayingBet(avi), 2);

    // Whole pays: the table is what the board pays at any bet, bonus features included.
    EXPECT_NEAR(*PayTableReturnPct(cleopatra8()), 90.1498, 5e-5);
    EXPECT_NEAR(*PayTableReturnPct(ticket(5, {0, 0, 0, 1, 10, 800})), 5700000.0 / 79079, 1e-10);
    EXPECT_EQ(ExactPayingBet(cleopatra8()), 1);

    // A half-credit pay starts free games in the table, as it does on the board at a bet of 2:
    // one spot caught a quarter of the time, by the 20th ball one time in twenty of those; three
    // free games at twice the pay. 1/4 x 0.5 + 1/80 x 3 x 2 x (1/4 x 0.5) = 0.134375.
    const ExactGame freeHalf = bonusBall(ticket(1, {0, 0.5}), 20, 3, 2);
    EXPECT_NEAR(*PayTableReturnPct(freeHalf), 13.4375, 1e-10);
    EXPECT_NEAR(AnalyseExact(freeHalf, 2).board.returnPct, 13.4375, 1e-10);
    EXPECT_NEAR(AnalyseExact(freeHalf, 1).board.returnPct, 0, 1e-12);
    // Eggs and the extra balls' gate read the unrounded win as the board does at an even bet.
    for (bool plus : {false, true}) {
        const ExactGame caveman = eggs(ticket(3, {0, 0.5, 1.5, 10}), 2, 3, 5, plus);
        EXPECT_NEAR(*PayTableReturnPct(caveman), AnalyseExact(caveman, 2).board.returnPct, 1e-10) << plus;
        EXPECT_LT(AnalyseExact(caveman, 1).board.returnPct, *PayTableReturnPct(caveman) - 1) << plus;
    }
}

TEST(PayTableReturn, TheBetsThatPayTheTableExactly)
{
    const std::pair<std::vector<double>, std::optional<int>> cases[] = {
        {{0, 0, 1, 3, 15}, 1},
        {{0, 0.5, 2}, 2},
        {{0, 0.25, 1}, 4},
        {{0, 0.1, 2}, 10},
        {{0, 12.275, 2}, 40},
        {{0, 1.0 / 3, 2}, 3},
        {{0, 0.3333, 2}, std::nullopt},
        {{0, 0.37, 2}, std::nullopt},
        {{0, 1, 2, 0.5}, 1}, // the pay for three catches is beyond a 2-spot ticket
    };
    for (const auto& [pays, bet] : cases)
        EXPECT_EQ(ExactPayingBet(ticket(2, pays)), bet) << pays[1];
    EXPECT_EQ(CommonExactBet({}), 1);
    EXPECT_EQ(CommonExactBet({2, 4}), 4);
    EXPECT_EQ(CommonExactBet({4, 10}), 20);
    EXPECT_EQ(CommonExactBet({40, 10, 4}), 40);
    EXPECT_EQ(CommonExactBet({40, 3}), std::nullopt);
    EXPECT_EQ(CommonExactBet({2, std::nullopt}), std::nullopt);
    EXPECT_EQ(ExactBetNote(1), "Every bet pays the pay table exactly.");
    EXPECT_EQ(ExactBetNote(2), "Any even bet pays the pay table exactly.");
    EXPECT_EQ(ExactBetNote(4), "Any bet that is a multiple of 4 pays the pay table exactly.");
    EXPECT_EQ(ExactBetNote(40), "A bet of 40 pays the pay table exactly.");
    EXPECT_EQ(ExactBetNote(std::nullopt), "No bet up to 45 pays the pay table exactly.");
}

TEST(PayTableReturn, TheCataloguesFiguresOfAGame)
{
    std::vector<PayScheduleRow> rows(11);
    for (int c = 0; c <= 10; ++c)
        rows[c].Catch = c;
    const double tenSpot[] = {0, 0, 0, 0, 0.5, 2, 20, 120, 800, 3800, 50000};
    for (int c = 0; c <= 10; ++c) {
        rows[c].Pick[9] = tenSpot[c];
        rows[c].Pick[4] =
            c >= 3 && c <= 5 ? std::optional<double>(std::vector<double>{1, 10, 800}[c - 3]) : std::nullopt;
    }
    const KenoGame game = KenoGame::fromRows(rows, "");
    const TicketReturns ten = TicketReturnsOf(game, 10);
    ASSERT_TRUE(ten.payTable && ten.wholeCredits);
    // They differ by half a credit when four are caught: C(10, 4) C(70, 16) / C(80, 20) =
    // 210 x 2480089880334220 / 3535316142212174320.
    EXPECT_NEAR(*ten.payTable - *ten.wholeCredits,
                100 * 0.5 * 210 * (2480089880334220.0 / 3535316142212174320.0), 1e-10);
    EXPECT_TRUE(ten.differs());
    EXPECT_EQ(ten.exactBet, 2);
    const TicketReturns five = TicketReturnsOf(game, 5);
    EXPECT_NEAR(*five.payTable, 5700000.0 / 79079, 1e-10);
    EXPECT_FALSE(five.differs());
    const TicketReturns none = TicketReturnsOf(game, 7); // pays nothing
    EXPECT_FALSE(none.payTable || none.wholeCredits || none.differs());
    EXPECT_TRUE((TicketReturns{90.0, 89.994, 1}.differs()));
    EXPECT_FALSE((TicketReturns{90.0, 89.996, 1}.differs()));
}

TEST(ExactOdds, TakesEachRuleSetsViewOfTheGame)
{
    PayScheduleRow bonus, four;
    bonus.Catch = 0;
    bonus.BonusBall = 20;
    bonus.FreeGames = 12;
    bonus.BonusFactor = 2.5;
    four.Catch = 4;
    four.Pick[7] = 3;
    const ExactGame game = ExactGameOf(KenoGame::fromRows({bonus, four}, "Caveman Keno Plus"), 8);
    EXPECT_EQ(game.pays[4], 3);
    EXPECT_EQ(game.pays[0], 0);
    EXPECT_EQ(game.boardBonus, (BonusValues{20, 12, 2, 1, 1, 1})); // 2.5 read as a whole number: 2
    EXPECT_EQ(game.simulationBonus, (SimulationBonus{20, 12, 2.5, 1, 1, 1}));
    EXPECT_EQ(game.boardKind, (GameKind{true, false}));     // the board wants "Caveman Plus"
    EXPECT_EQ(game.simulationKind, (GameKind{true, true})); // the simulation "Caveman" and "Plus"
}

TEST(ExactBruteForce, SimulationRulesOnASmallBoard)
{
    const KenoShape shape{12, 4};
    const ExactGame games[] = {
        ticket(3, {1, 0, 2, 40}),
        bonusBall(ticket(3, {0, 1, 4, 30}), 3, 0, 3),
        bonusBall(ticket(3, {0, 1, 4, 30}), 7, 2, 2), // any non-zero Bonus Ball counts, beyond the draw too
        eggs(ticket(3, {0, 1, 3, 20}), 2, 4, 9, false),
        eggs(ticket(3, {0, 0.5, 2.5, 20}), 1, 3, 6, true),
        bonusBall(eggs(ticket(3, {0, 1, 3, 20}), 1, 2, 4, true), 0, 2, 3),
        bonusBall(eggs(ticket(3, {0, 1, 3, 20}), 1, 2, 4, false), 2, 0, 5),
    };
    for (const ExactGame& game : games) {
        SCOPED_TRACE(testing::Message()
                     << "bonus ball " << game.boardBonus.BonusBall << " free " << game.boardBonus.FreeGames
                     << " plus " << game.boardKind.cavemanPlus);
        Catches catches{};
        const WinDistribution exact = SimulationWinDistribution(game, shape, &catches);
        const Brute brute = simulationBrute(game, shape);
        expectSame(exact, catches, brute);
        if (game.boardBonus.FreeGames == 0) {
            const auto fraction = SimulationReturnFraction(game, shape);
            ASSERT_TRUE(fraction);
            EXPECT_TRUE(fraction->numerator * brute.denominator == brute.numerator * fraction->denominator)
                << fraction->text();
        } else {
            EXPECT_NEAR(static_cast<double>(SimulationReturnFraction(game, shape)->value()),
                        static_cast<double>(exact.mean()), 1e-15);
        }
    }
}

TEST(ExactBruteForce, BoardRulesOnASmallBoard)
{
    struct Case
    {
        ExactGame game;
        int bet;
        KenoShape shape;
    };
    const KenoShape small{10, 4}, plus{8, 3}; // the extra balls make every order longer
    const Case cases[] = {
        {ticket(3, {0.5, 0.5, 2.5, 20}), 3, small},
        {bonusBall(ticket(3, {0, 1, 4, 30}), 4, 0, 3), 1, small},
        {bonusBall(ticket(3, {0, 1, 4, 30}), 2, 2, 2), 2, small},
        {eggs(ticket(3, {1, 1, 3, 20}), 2, 0, 5, false), 1, small},
        {eggs(ticket(2, {0, 2, 10}), 0, 3, 5, true), 1, plus}, // the gate reads the last hit's eggs
        {bonusBall(eggs(ticket(2, {0, 2, 10}), 1, 1, 1, true), 2, 2, 2), 1, plus},
        {bonusBall(eggs(ticket(2, {0, 2, 10}), 1, 2, 1, true), 5, 1, 3), 2, plus}, // on an extra ball
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "bonus ball " << c.game.boardBonus.BonusBall << " bet " << c.bet
                                        << " plus " << c.game.boardKind.cavemanPlus);
        Catches catches{};
        const WinDistribution exact = BoardWinDistribution(c.game, c.bet, c.shape, &catches);
        expectSame(exact, catches, boardBrute(c.game, c.shape, c.bet));
    }
}

TEST(ExactBruteForce, RuleSetsDifferWhereTheRulesDo)
{
    // One egg: the board multiplies, the simulation does not.
    const ExactGame oneEgg = eggs(ticket(4, {0, 0, 1, 5, 50}), 3, 1, 1, false);
    EXPECT_GT(AnalyseExact(oneEgg).board.returnPct, AnalyseExact(oneEgg).simulation.returnPct + 1);
    // Fractional pays: the board rounds pay x bet, the simulation each pay.
    const ExactGame half = ticket(1, {0, 2.5});
    EXPECT_NEAR(AnalyseExact(half, 1).board.returnPct, 50, 1e-12);
    EXPECT_NEAR(AnalyseExact(half, 3).board.returnPct, 8.0 / 3 * 25, 1e-12);
    EXPECT_NEAR(AnalyseExact(half, 3).simulation.returnPct, 50, 1e-12);
    // A Bonus Factor of 2.5: the simulation multiplies by 2.5, the board by 2. One spot paying 2,
    // the ball hit by a quarter of the games' catches one time in twenty:
    // simulation 1/4 (19/20 x 2 + 1/20 x 5) = 0.5375; board at a bet of 1, 1/4 (19/20 x 2 + 1/20 x 4).
    ExactGame factor = bonusBall(ticket(1, {0, 2}), 20, 0, 2);
    factor.simulationBonus.BonusFactor = 2.5;
    const ExactAnalysis a = AnalyseExact(factor);
    ASSERT_TRUE(a.ok()) << a.error;
    EXPECT_NEAR(a.simulation.returnPct, 53.75, 1e-12);
    EXPECT_NEAR(a.board.returnPct, 52.5, 1e-12);
    EXPECT_EQ(SimulationReturnFraction(factor)->text(), "43/80");
    EXPECT_EQ(a.simulation.win.unitsPerCredit, 2);
}

TEST(ExactSession, TwoGamesCheckedByHand)
{
    // Sessions of two games winning 0, 60 or 250 with chances 1/2, 1/4, 1/4 win
    // 0: 1/4, 60: 1/4, 120: 1/16, 250: 1/4, 310: 1/8, 500: 1/16.
    const WinDistribution game{{{0, 0.5L}, {60, 0.25L}, {250, 0.25L}}};
    const ExactSessionFigures s = ExactSessionFiguresOf(game, 2);
    EXPECT_DOUBLE_EQ(s.probability[120], 1.0 / 16);
    EXPECT_DOUBLE_EQ(s.losingPct, 50);
    EXPECT_DOUBLE_EQ(s.breakevenOrWinningPct, 50);
    EXPECT_EQ(s.mode, 0); // 0, 60 and 250 tie: the lowest
    EXPECT_DOUBLE_EQ(s.doublePct, 43.75);
    EXPECT_DOUBLE_EQ(s.fiveFoldPct, 6.25);
    EXPECT_DOUBLE_EQ(s.loseHalfPct, 25);
}

TEST(ExactSession, OneRareJackpotOverAHundredGames)
{
    const ExactSessionFigures s = ExactSessionFiguresOf(WinDistribution{{{0, 0.99L}, {600, 0.01L}}});
    EXPECT_NEAR(s.losingPct, std::pow(0.99, 100) * 100, 1e-11);
    EXPECT_NEAR(s.fiveFoldPct, (1 - std::pow(0.99, 100)) * 100, 1e-11);
    EXPECT_EQ(s.mode, 0);
}

TEST(ExactSession, FoldedSumsMatchAnUnfoldedConvolution)
{
    // Few wins take the game-by-game path, many wins the squaring path.
    WinDistribution few = SimulationWinDistribution(eggs(ticket(3, {0, 1, 3, 20}), 1, 2, 4, true));
    WinDistribution many;
    for (int w = 0; w < 40; ++w)
        many.atoms.push_back({w, w == 0 ? 0.9L : 0.1L / 39});
    for (const WinDistribution* game : {&few, &many}) {
        std::vector<long double> full{1};
        for (int g = 0; g < kExactSessionGames; ++g) {
            std::vector<long double> next(full.size() + static_cast<std::size_t>(game->atoms.back().win));
            for (std::size_t i = 0; i < full.size(); ++i)
                for (const WinAtom& atom : game->atoms)
                    next[i + static_cast<std::size_t>(atom.win)] += full[i] * atom.probability;
            full = next;
        }
        const ExactSessionFigures s = ExactSessionFiguresOf(*game);
        long double atLeast500 = 0, atLeast100 = 0;
        for (std::size_t w = 0; w < full.size(); ++w) {
            atLeast500 += w >= 500 ? full[w] : 0;
            atLeast100 += w >= 100 ? full[w] : 0;
            if (w < 500) {
                EXPECT_NEAR(s.probability[w], static_cast<double>(full[w]), 1e-14) << w;
            }
        }
        EXPECT_NEAR(s.fiveFoldPct, static_cast<double>(atLeast500) * 100, 1e-11);
        EXPECT_NEAR(s.breakevenOrWinningPct, static_cast<double>(atLeast100) * 100, 1e-11);
        EXPECT_EQ(s.mode, std::max_element(full.begin(), full.begin() + 500) - full.begin());
    }
}
