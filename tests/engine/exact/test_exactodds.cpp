// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/exact/exactodds.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <numeric>

using namespace tallyhawk;

namespace {

using Ways = std::map<std::int64_t, ExactInt>; // whole ways to win each amount

// Both rule sets read the same whole bonus values and kind in these games.
ExactGame game(int marked, std::array<double, kMaxMarks + 1> pays, BonusValues b = {}, GameKind kind = {})
{
    const SimulationBonus sim{double(b.BonusBall), double(b.FreeGames), double(b.BonusFactor),
                              double(b.Egg1Bonus), double(b.Egg2Bonus), double(b.Egg3Bonus)};
    return {marked, pays, b, kind, sim, kind, ""};
}

const GameKind kCaveman{true, false}, kPlus{true, true};

// The catalogue's Cleopatra Keno, 8 spots: bonus row 20, 12, 2, 1, 1, 1.
const ExactGame kCleopatra = game(8, {0, 0, 0, 0, 3, 10, 56, 180, 1000}, {20, 12, 2});

struct Outcome
{
    std::int64_t win = 0;
    int hits = 0;
    bool startsFreeGames = false;
};

// One game of the board, literally: the balls in order, the win formula at every hit and at the
// end, the Caveman Plus gate at the first extra ball. The ticket is the numbers 0 to marked - 1 of a
// small board, the eggs the next three: every order being as likely, where they lie does not matter.
Outcome boardGame(const ExactGame& g, KenoShape s, int bet, const std::vector<int>& balls, bool freeGame)
{
    Outcome game;
    int eggs = 0;
    bool bonusBallHit = false;
    auto computeWin = [&] {
        const auto base =
            static_cast<std::int64_t>(std::nearbyint(g.pays[game.hits] * bet)); // halves to even
        if (freeGame)
            return g.boardBonus.BonusFactor * base;
        if (g.boardKind.caveman)
            return base * std::array<int, 4>{1, g.boardBonus.Egg1Bonus, g.boardBonus.Egg2Bonus,
                                             g.boardBonus.Egg3Bonus}[eggs];
        return bonusBallHit && g.boardBonus.FreeGames < 1 ? g.boardBonus.BonusFactor * base : base;
    };
    for (int i = 1; i <= s.drawn + (g.boardKind.cavemanPlus ? kExtraBalls : 0); ++i) {
        if (i == s.drawn + 1 && (game.win == 0 || eggs < 2))
            break;
        if (balls[i - 1] >= g.marked) {
            eggs += g.boardKind.caveman && balls[i - 1] < g.marked + kCavemanEggs;
            continue;
        }
        ++game.hits;
        bonusBallHit = bonusBallHit || (i == g.boardBonus.BonusBall && !freeGame);
        game.win = computeWin();
    }
    game.win = computeWin();
    game.startsFreeGames = game.win >= 1 && g.boardBonus.FreeGames >= 1 && bonusBallHit;
    return game;
}

// Every order of a small board's numbers played against the exact distribution of a play's win
// and of its paid game's catch, counted in whole ways and divided once at the end (adding the same
// tiny weight a million times would round the same way each time).
void expectBruteForce(const ExactGame& g, KenoShape s, int bet)
{
    std::vector<int> balls(static_cast<std::size_t>(s.numbers));
    std::iota(balls.begin(), balls.end(), 0);
    Ways plain, triggering, oneFree;
    std::array<ExactInt, kMaxMarks + 1> caught{};
    long double total = 0;
    do {
        ++total;
        oneFree[boardGame(g, s, bet, balls, true).win] += 1;
        const Outcome o = boardGame(g, s, bet, balls, false);
        caught[o.hits] += 1;
        (o.startsFreeGames ? triggering : plain)[o.win] += 1;
    } while (std::next_permutation(balls.begin(), balls.end()));
    std::map<std::int64_t, long double> series{{0, 1.0L}}, win; // the sum of the free games; the play's win
    for (int f = 0; f < g.boardBonus.FreeGames; ++f) {
        std::map<std::int64_t, long double> next;
        for (const auto& [x, p] : series)
            for (const auto& [y, ways] : oneFree)
                next[x + y] += p * static_cast<long double>(ways) / total;
        series = next;
    }
    for (const auto& [w, ways] : plain)
        win[w] += static_cast<long double>(ways) / total;
    for (const auto& [w, ways] : triggering)
        for (const auto& [t, q] : series)
            win[w + t] += static_cast<long double>(ways) / total * q;
    std::array<long double, kMaxMarks + 1> catches{};
    const WinDistribution exact = BoardWinDistribution(g, bet, s, &catches);
    ASSERT_EQ(exact.atoms.size(), win.size());
    auto it = win.begin();
    for (const WinAtom& atom : exact.atoms) {
        EXPECT_EQ(atom.win, it->first);
        EXPECT_NEAR(static_cast<double>(atom.probability), static_cast<double>((it++)->second), 1e-15)
            << atom.win;
    }
    for (int c = 0; c <= kMaxMarks; ++c)
        EXPECT_NEAR(static_cast<double>(catches[c]), static_cast<double>(caught[c] / total), 1e-15) << c;
}

} // namespace

TEST(ExactOdds, ReturnsAgainstHandComputedAndPublishedFigures)
{
    // Five spots paying 1, 10 and 800 for 3, 4 and 5: (10 x 1 x C(75, 17) + ...) / C(80, 20).
    const ExactGame five = game(5, {0, 0, 0, 1, 10, 800});
    EXPECT_EQ(SimulationReturnFraction(five)->text(), "57000/79079");
    EXPECT_NEAR(AnalyseExact(five).simulation.returnPct, 5700000.0 / 79079, 1e-10);
    EXPECT_NEAR(AnalyseExact(five, 7).board.returnPct, 5700000.0 / 79079, 1e-10); // whole pays: any bet
    EXPECT_NEAR(AnalyseExact(game(5, {0, 0, 1, 3, 15, 300})).simulation.returnPct, 89.7125, 5e-5);
    // Cleopatra: the board's rules at a bet of 1 and the simulation's agree for this table, as a
    // ball at a fixed position and one of random rank hit alike.
    EXPECT_NEAR(AnalyseExact(kCleopatra).board.returnPct, 90.1498, 5e-5);
    EXPECT_NEAR(AnalyseExact(kCleopatra).simulation.returnPct, 90.1498, 5e-5);
    EXPECT_NEAR(*PayTableReturnPct(kCleopatra), 90.1498, 5e-5);
    // One spot paying 3 at a bet of 2: caught a quarter of the time, for 6 credits.
    const ExactAnalysis one = AnalyseExact(game(1, {0, 3}), 2);
    EXPECT_NEAR(one.simulation.returnPct, 75, 1e-12);
    EXPECT_NEAR(one.simulation.standardDeviation, std::sqrt(0.25 * 0.75 * 9), 1e-12);
    EXPECT_NEAR(one.simulation.hitRate, 0.25, 1e-15);
    EXPECT_NEAR(one.board.variance, 0.25 * 0.75 * 9, 1e-12);
    // A Bonus Factor of 2.5: the simulation multiplies by 2.5, the board by 2. One spot paying 2,
    // the ball hit by a quarter of the games' catches one time in twenty:
    // simulation 1/4 (19/20 x 2 + 1/20 x 5) = 0.5375; board at a bet of 1, 1/4 (19/20 x 2 + 1/20 x 4).
    ExactGame factor = game(1, {0, 2}, {20, 0, 2});
    factor.simulationBonus.BonusFactor = 2.5;
    const ExactAnalysis a = AnalyseExact(factor);
    EXPECT_NEAR(a.simulation.returnPct, 53.75, 1e-12);
    EXPECT_NEAR(a.board.returnPct, 52.5, 1e-12);
    EXPECT_EQ(SimulationReturnFraction(factor)->text(), "43/80");
    EXPECT_EQ(a.simulation.win.unitsPerCredit, 2);
}

TEST(ExactOdds, RefusesWhatItCannotAnalyseNamingValuesThatCannotBeHeld)
{
    for (const ExactGame& refused :
         {game(0, {}), game(11, {}), game(5, {0, 0, -1}), game(5, {1}, {20, kMaxExactFreeGames + 1, 2}),
          game(5, {0, 0, 0, 0, 0, 2e5}, {20, 12, 2}), game(5, {1}, {0, 0, 1, 1, -4, 1}),
          game(5, {0, 0, 0, 1e19}), game(5, {0, 0, 1}, {20, 0, 32768})})
        EXPECT_FALSE(AnalyseExact(refused).ok()) << refused.marked;
    EXPECT_EQ(AnalyseExact(game(5, {0, 0, 0, 0, 0, 2147483648.0})).error,
              "The pay for catching 5 holds 2147483648, more than 2,147,483,647, the largest pay the program "
              "can hold.");
    ExactGame stored = game(5, {0, 0, 1});
    stored.valueError = "Egg2 Bonus holds 40000.";
    EXPECT_EQ(AnalyseExact(stored).error, stored.valueError);
    EXPECT_EQ(PayTableReturnPct(stored), std::nullopt);
    EXPECT_EQ(AnalyseExact(game(1, {0, 2147483647}), 45).board.win.atoms.back().win,
              std::int64_t{2147483647} * 45);
}

TEST(PayTableReturn, IsEachPayTimesTheBetAsCasinosPublishItAndSomeBetsPayItExactly)
{
    // Avi Laughlin's 10-spot table, by hand in halves of a credit: C(10, c) C(70, 20 - c) ways of
    // C(80, 20) to catch c; the pay table pays 0.5 for four catches, the board at a bet of 1 nothing.
    const std::array<double, 11> pays{0, 0, 0, 0, 0.5, 2, 20, 120, 800, 3800, 50000};
    auto ways = [](int n, int k) {
        ExactInt r = 1;
        for (int i = 1; i <= k; ++i)
            r = r * (n - k + i) / i;
        return r;
    };
    ExactInt halves = 0, wholeHalves = 0;
    std::vector<PayScheduleRow> rows(11);
    for (int c = 0; c <= 10; ++c) {
        halves += ways(10, c) * ways(70, 20 - c) * static_cast<ExactInt>(2 * pays[c]);
        wholeHalves += c == 4 ? 0 : ways(10, c) * ways(70, 20 - c) * static_cast<ExactInt>(2 * pays[c]);
        rows[c].Catch = c;
        rows[c].Pick[9] = pays[c];
    }
    const long double draws = 2.0L * static_cast<long double>(ways(80, 20));
    const auto payTable = static_cast<double>(100 * static_cast<long double>(halves) / draws);
    const auto wholeCredits = static_cast<double>(100 * static_cast<long double>(wholeHalves) / draws);
    EXPECT_NEAR(payTable, 73.6644, 5e-5); // as published
    EXPECT_NEAR(wholeCredits, 66.2985, 5e-5);
    EXPECT_NEAR(*PayTableReturnPct(game(10, pays)), payTable, 1e-10);
    EXPECT_NEAR(AnalyseExact(game(10, pays), 1).board.returnPct, wholeCredits, 1e-10);
    EXPECT_NEAR(AnalyseExact(game(10, pays), 2).board.returnPct, payTable,
                1e-10); // an even bet pays the table
    // The catalogue lists both, and the bets that pay the table.
    const TicketReturns ten = TicketReturnsOf(KenoGame::fromRows(rows, {}), 10);
    EXPECT_NEAR(*ten.payTable, payTable, 1e-10);
    EXPECT_NEAR(*ten.wholeCredits, wholeCredits, 1e-10);
    EXPECT_TRUE(ten.differs());
    EXPECT_EQ(ten.exactBet, 2);
    // A half-credit pay starts free games in the table, as it does on the board at a bet of 2:
    // one spot caught a quarter of the time, by the 20th ball one time in twenty of those; three
    // free games at twice the pay. 1/4 x 0.5 + 1/80 x 3 x 2 x (1/4 x 0.5) = 0.134375.
    const ExactGame freeHalf = game(1, {0, 0.5}, {20, 3, 2});
    EXPECT_NEAR(*PayTableReturnPct(freeHalf), 13.4375, 1e-10);
    EXPECT_NEAR(AnalyseExact(freeHalf, 2).board.returnPct, 13.4375, 1e-10);
    EXPECT_NEAR(AnalyseExact(freeHalf, 1).board.returnPct, 0, 1e-12);
    // The smallest bet that makes every pay a whole number of credits; the pay for three catches is
    // beyond a 2-spot ticket.
    const std::pair<std::array<double, 11>, std::optional<int>> cases[] = {
        {{0, 0, 1, 3}, 1},    {{0, 0.5, 2}, 2},     {{0, 0.1, 2}, 10},
        {{0, 12.275, 2}, 40}, {{0, 1.0 / 3, 2}, 3}, {{0, 0.37, 2}, std::nullopt},
        {{0, 1, 2, 0.5}, 1}};
    for (const auto& [pays, bet] : cases)
        EXPECT_EQ(ExactPayingBet(game(2, pays)), bet) << pays[1];
    EXPECT_EQ(CommonExactBet({4, 10}), 20);
    EXPECT_EQ(ExactBetNote(4), "Any bet that is a multiple of 4 pays the pay table exactly.");
}

// The board takes bets up to 45 credits: 45 itself pays a table exactly, 46 is beyond it.
TEST(ExactOdds, TheBetsThatPayATableExactlyEndAtFortyFive)
{
    const std::pair<double, std::optional<int>> pays[] = {
        {1.0 / 44, 44}, {1.0 / 45, 45}, {1.0 / 46, std::nullopt}, {1.0 / 90, std::nullopt}};
    for (const auto& [pay, bet] : pays)
        EXPECT_EQ(ExactPayingBet(game(1, {0, pay})), bet) << pay;

    const std::pair<std::vector<std::optional<int>>, std::optional<int>> common[] = {
        {{}, 1},
        {{45}, 45},
        {{5, 9}, 45},
        {{9, 15, 3}, 45},
        {{2, 22}, 22},
        {{2, 23}, std::nullopt}, // 46
        {{4, 22, 44}, 44},
        {{3, 16}, std::nullopt}, // 48
        {{1, std::nullopt}, std::nullopt}};
    for (const auto& [bets, bet] : common)
        EXPECT_EQ(CommonExactBet(bets), bet) << bets.size();

    const std::pair<std::optional<int>, const char*> notes[] = {
        {std::nullopt, "No bet up to 45 pays the pay table exactly."},
        {1, "Every bet pays the pay table exactly."},
        {2, "Any even bet pays the pay table exactly."},
        {22, "Any bet that is a multiple of 22 pays the pay table exactly."}, // 22 and 44
        {23, "A bet of 23 pays the pay table exactly."},                      // 46 is beyond
        {45, "A bet of 45 pays the pay table exactly."}};
    for (const auto& [bet, note] : notes)
        EXPECT_EQ(ExactBetNote(bet), note) << bet.value_or(0);
}

TEST(ExactOdds, TakesEachRuleSetsViewOfTheGame)
{
    PayScheduleRow bonus, four, again;
    bonus.Catch = 0;
    bonus.BonusBall = 20;
    bonus.FreeGames = 12;
    bonus.BonusFactor = 2.5;
    four.Catch = again.Catch = 4;
    four.Pick[7] = 3;
    again.Pick[7] = 9; // a second row for the same catch is not part of the game
    const ExactGame g =
        ExactGameOf(KenoGame::fromRows({bonus, four, again}, {"", "", "Caveman Keno Plus"}), 8);
    EXPECT_EQ(g.pays, (std::array<double, 11>{0, 0, 0, 0, 3}));
    EXPECT_EQ(g.boardBonus, (BonusValues{20, 12, 2, 1, 1, 1})); // 2.5 read as a whole number: 2
    EXPECT_EQ(g.simulationBonus, (SimulationBonus{20, 12, 2.5, 1, 1, 1}));
    EXPECT_EQ(g.boardKind, kCaveman);   // the board wants "Caveman Plus"
    EXPECT_EQ(g.simulationKind, kPlus); // the simulation "Caveman" and "Plus"
}

TEST(ExactBruteForce, BoardRulesOnASmallBoard)
{
    const KenoShape small{8, 4}, plus{7, 3}; // the extra balls make every order longer
    const std::tuple<ExactGame, int, KenoShape> cases[] = {
        {game(3, {0.5, 0.5, 2.5, 20}), 3, small},
        {game(3, {0, 1, 4, 30}, {4, 0, 3}), 1, small},
        {game(3, {0, 1, 4, 30}, {2, 2, 2}), 2, small},
        {game(3, {1, 1, 3, 20}, {0, 0, 1, 2, 0, 5}, kCaveman), 1, small},
        {game(3, {0, 1, 3, 20}, {2, 0, 5, 1, 2, 4}, kCaveman), 1, small},
        {game(2, {0, 2, 10}, {0, 0, 1, 0, 3, 5}, kPlus), 1, plus}, // the gate reads the last hit's eggs
        {game(2, {0, 2.5, 10}, {2, 2, 2, 1, 2, 4}, kPlus), 1, plus},
        {game(2, {0, 2, 10}, {5, 1, 3, 1, 2, 1}, kPlus), 2, plus}}; // on an extra ball
    for (const auto& [g, bet, shape] : cases) {
        SCOPED_TRACE(testing::Message() << g.marked << " marked, bonus ball " << g.boardBonus.BonusBall);
        expectBruteForce(g, shape, bet);
    }
}

TEST(ExactSession, FiguresCheckedByHandAndAgainstAnUnfoldedConvolution)
{
    // Sessions of two games winning 0, 60 or 250 with chances 1/2, 1/4, 1/4 win
    // 0: 1/4, 60: 1/4, 120: 1/16, 250: 1/4, 310: 1/8, 500: 1/16.
    const ExactSessionFigures s =
        ExactSessionFiguresOf(WinDistribution{{{0, 0.5L}, {60, 0.25L}, {250, 0.25L}}}, 2);
    EXPECT_DOUBLE_EQ(s.probability[120], 1.0 / 16);
    EXPECT_DOUBLE_EQ(s.losingPct, 50);
    EXPECT_DOUBLE_EQ(s.breakevenOrWinningPct, 50);
    EXPECT_EQ(s.mode, 0); // 0, 60 and 250 tie: the lowest
    EXPECT_DOUBLE_EQ(s.doublePct, 43.75);
    EXPECT_DOUBLE_EQ(s.fiveFoldPct, 6.25);
    EXPECT_DOUBLE_EQ(s.loseHalfPct, 25);
    // Few wins take the game-by-game path, many wins the squaring path.
    WinDistribution few = SimulationWinDistribution(game(3, {0, 1, 3, 20}, {0, 0, 1, 2, 4, 1}, kPlus));
    WinDistribution many;
    for (int w = 0; w < 40; ++w)
        many.atoms.push_back({w, w == 0 ? 0.9L : 0.1L / 39});
    for (const WinDistribution* one : {&few, &many}) {
        std::vector<long double> full{1};
        for (int g = 0; g < kExactSessionGames; ++g) {
            std::vector<long double> next(full.size() + static_cast<std::size_t>(one->atoms.back().win));
            for (std::size_t i = 0; i < full.size(); ++i)
                for (const WinAtom& atom : one->atoms)
                    next[i + static_cast<std::size_t>(atom.win)] += full[i] * atom.probability;
            full = next;
        }
        const ExactSessionFigures folded = ExactSessionFiguresOf(*one);
        long double atLeast500 = 0, atLeast100 = 0;
        for (std::size_t w = 0; w < full.size(); ++w) {
            atLeast500 += w >= 500 ? full[w] : 0;
            atLeast100 += w >= 100 ? full[w] : 0;
            if (w < 500) {
                EXPECT_NEAR(folded.probability[w], static_cast<double>(full[w]), 1e-14) << w;
            }
        }
        EXPECT_NEAR(folded.fiveFoldPct, static_cast<double>(atLeast500) * 100, 1e-11);
        EXPECT_NEAR(folded.breakevenOrWinningPct, static_cast<double>(atLeast100) * 100, 1e-11);
        EXPECT_EQ(folded.mode, std::max_element(full.begin(), full.begin() + 500) - full.begin());
    }
}
