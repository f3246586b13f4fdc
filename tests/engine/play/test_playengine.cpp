// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/play/payslist.h"
#include "engine/play/playengine.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace tallyhawk;

namespace {

using Pays = std::map<int, double>; // catch -> pay

// A game's rows, Catch 0 to 10, paying `pays` for `marked` numbers, its bonus row holding `b`.
KenoGame gameOf(int marked, const Pays& pays, const BonusValues& b = {}, const std::string& entry = "")
{
    std::vector<PayScheduleRow> rows(11);
    for (int c = 0; c <= 10; ++c) {
        rows[c].Catch = c;
        if (pays.count(c))
            rows[c].Pick[marked - 1] = pays.at(c);
    }
    rows[0] = {GameKey(),           0,
               rows[0].Pick,        double(b.BonusBall),
               double(b.FreeGames), double(b.BonusFactor),
               double(b.Egg1Bonus), double(b.Egg2Bonus),
               double(b.Egg3Bonus)};
    return KenoGame::fromRows(rows, {"", "", entry});
}

// A play of the given ticket with the deck in order and 100 credits.
PlayInput playInput(const std::vector<int>& ticket, const Pays& pays, int bet = 1,
                    const BonusValues& bonus = {}, const std::string& entry = "")
{
    PlayInput input;
    for (int n : ticket)
        input.marks[CellOfNumber(n).row][CellOfNumber(n).column] = kMarked;
    input.markedNumbers = CollectMarkedNumbers(input.marks);
    input.deck = OrderedDeck();
    input.markedCount = static_cast<int>(ticket.size());
    input.bet = bet;
    input.credits = 100;
    input.game = gameOf(input.markedCount, pays, bonus, entry);
    input.paysListing = " Hits     Win\r\n   2         1\r\n"; // the play only appends to it
    return input;
}

bool holds(const std::vector<int>& numbers, int n)
{
    return std::count(numbers.begin(), numbers.end(), n) > 0;
}

int hitsAmong(const std::vector<int>& ticket, const std::vector<int>& balls)
{
    return static_cast<int>(
        std::count_if(balls.begin(), balls.end(), [&](int b) { return holds(ticket, b); }));
}

std::int64_t payOf(const Pays& pays, int hits)
{
    return pays.count(hits) ? static_cast<std::int64_t>(pays.at(hits)) : 0;
}

std::vector<std::string> textsOf(const PlayResult& result, Control control)
{
    std::vector<std::string> texts;
    for (const PlayAction& action : result.actions)
        if (const auto* set = std::get_if<SetText>(&action); set && set->control == control)
            texts.push_back(set->text);
    return texts;
}

const std::vector<int> kFive{3, 17, 33, 48, 72};
const std::vector<int> kTen{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

} // namespace

TEST(PaysList, ListsThePayingCatchesUpToTheMarkedCount)
{
    // Catch 0 is listed like any other row; halves are kept; a catch without a pay is left out.
    const KenoGame game = gameOf(10, {{0, 0.5}, {3, 5}, {10, 10000}});
    const std::vector<PayLine> ten{{0, 1.5}, {3, 15}, {10, 30000}};
    EXPECT_EQ(PayLines(10, 3, game), ten);
    EXPECT_TRUE(PayLines(4, 3, game).empty()); // the game pays no four-number ticket
    EXPECT_TRUE(PayLines(0, 3, game).empty());
    EXPECT_EQ(PayLineOfCatch(ten, 3), 1);
    EXPECT_EQ(PayLineOfCatch(ten, 10), 2);
    EXPECT_EQ(PayLineOfCatch(ten, 4), -1);
}

TEST(ComputeWinFormula, EachCaseOfTheFormula)
{
    // Five marked: Catch 1 pays 0.5, 2 is blank, 3 pays 3, 4 has no row.
    const BonusValues ball{20, 0, 4}, series{20, 12, 4}, oneFree{20, 1, 4}, eggs{0, 0, 1, 2, 5, 10};
    const std::pair<WinState, std::int64_t> cases[] = {
        {{.markedCount = 5, .hits = 1, .bet = 1, .bonus = {}}, 0}, // pay x bet rounded half to even
        {{.markedCount = 5, .hits = 1, .bet = 5, .bonus = {}}, 2},
        {{.markedCount = 5, .hits = 2, .bet = 2, .bonus = {}}, 0},
        {{.markedCount = 5, .hits = 3, .bet = 2, .bonus = ball}, 6},
        {{.markedCount = 5, .hits = 3, .bet = 2, .bonusBallHit = true, .bonus = ball}, 24},
        {{.markedCount = 5, .hits = 3, .bet = 2, .bonusBallHit = true, .bonus = series},
         6}, // free games follow
        {{.markedCount = 5, .hits = 3, .bet = 2, .bonusBallHit = true, .bonus = oneFree}, 6},
        {{.markedCount = 5, .hits = 3, .bet = 2, .freeGamesRunning = true, .bonus = series}, 24},
        {{.markedCount = 5, .hits = 3, .eggCatches = 1, .bet = 2, .caveman = true, .bonus = eggs}, 12},
        {{.markedCount = 5, .hits = 3, .eggCatches = 2, .bet = 2, .caveman = true, .bonus = eggs}, 30},
        {{.markedCount = 5, .hits = 3, .eggCatches = 3, .bet = 2, .caveman = true, .bonus = eggs}, 60},
        {{.markedCount = 5, .hits = 4, .bet = 2, .bonus = {}}, 7}, // no row: the previous win stays
        {{.markedCount = 0, .hits = 3, .bet = 2, .bonus = {}}, 7}};
    std::vector<PayScheduleRow> rows(4);
    for (int c = 0; c < 4; ++c)
        rows[c].Catch = c;
    rows[1].Pick[4] = 0.5;
    rows[3].Pick[4] = 3;
    for (const auto& [state, win] : cases)
        EXPECT_EQ(ComputeWin(state, KenoGame::fromRows(rows, {}), 7), win)
            << state.hits << " hits, bet " << state.bet;
    // The largest values fit; beyond 64 bits there is no win, never a wrapped one.
    const WinState largest{
        .markedCount = 1, .hits = 1, .bet = 45, .bonusBallHit = true, .bonus = {1, 0, 32767}};
    EXPECT_EQ(ComputeWin(largest, gameOf(1, {{1, 2147483647}}), 0), std::int64_t{2147483647} * 45 * 32767);
    EXPECT_EQ(ComputeWin(largest, gameOf(1, {{1, 1e17}}), 0), std::nullopt);
}

TEST(Play, PaysTheTableAndTheBonusBallAtTwentyOnlyWhenItHits)
{
    const Pays pays{{2, 1}, {3, 3}, {4, 12}, {5, 800}};
    int ballHits = 0;
    for (std::uint64_t seed = 1; seed <= 400; ++seed) {
        KenoRandom random(seed);
        const PlayInput input = playInput(kFive, pays, 3, {20, 0, 2});
        const PlayResult result = PlayGames(input, random);
        const GameRecord& game = result.games.at(0);
        ASSERT_EQ(game.balls, std::vector<int>(result.deck.begin() + 1, result.deck.begin() + 21));
        EXPECT_EQ(game.hits, hitsAmong(kFive, game.balls));
        const bool hit = holds(kFive, game.balls[19]);
        ballHits += hit;
        EXPECT_EQ(game.win, 3 * payOf(pays, game.hits) * (hit ? 2 : 1));
        EXPECT_EQ(result.credits, 100 + game.win);
        const auto odds = textsOf(result, Control::PaysListing);
        EXPECT_EQ(odds.empty() ? input.paysListing : odds.back(),
                  input.paysListing + (hit && game.win > 0 ? "\r\n BONUS PAY X 2" : ""));
    }
    EXPECT_GT(ballHits, 10);
}

TEST(Play, AFreeGameSeriesPaysEveryFreeGameAtTheFactorAndOneFreeGameIsOne)
{
    // Ten marked, the bonus ball first: a paying catch with the first ball on the ticket starts
    // the free games; the game that starts them is paid its plain pay.
    const Pays pays{{0, 2}, {1, 1}, {2, 1}, {3, 2}, {4, 4}, {5, 10}, {6, 20}, {7, 40}};
    for (const int freeGames : {10, 1}) {
        int series = 0;
        for (std::uint64_t seed = 1; seed <= 400 && series < 3; ++seed) {
            KenoRandom random(seed);
            const PlayInput input = playInput(kTen, pays, 1, {1, freeGames, 3});
            const PlayResult result = PlayGames(input, random);
            const GameRecord& first = result.games.at(0);
            EXPECT_EQ(first.win, payOf(pays, first.hits));
            const bool starts = holds(kTen, first.balls[0]) && first.win >= 1;
            ASSERT_EQ(result.games.size(), starts ? 1u + freeGames : 1u) << "seed " << seed;
            series += starts;
            std::int64_t total = 0;
            for (std::size_t g = 1; g < result.games.size(); ++g) {
                EXPECT_TRUE(result.games[g].free);
                EXPECT_EQ(result.games[g].win, 3 * payOf(pays, hitsAmong(kTen, result.games[g].balls)));
                total += result.games[g].win;
            }
            EXPECT_EQ(result.credits, 100 + first.win + total);
            if (starts) {
                EXPECT_EQ(textsOf(result, Control::BonusNotice),
                          (std::vector<std::string>{"\r\nBONUS INITIATED\r\nYOU HAVE WON " +
                                                        std::to_string(freeGames) + "\r\nFREE GAMES AT  3X",
                                                    "\r\n\r\nTOTAL BONUS WIN\r\n" + std::to_string(total) +
                                                        " CREDITS"}));
            }
        }
        EXPECT_EQ(series, 3) << freeGames;
    }
}

TEST(Play, AGameHoldingAValueTheBoardCannotHoldIsRefusedBeforeAnyDraw)
{
    const std::tuple<Pays, BonusValues, const char*> cases[] = {
        {{{3, 2147483648.0}}, {}, "Pick 5, Catch 3 holds 2147483648, more than 2,147,483,647"},
        {{{4, -1}}, {}, "Pick 5, Catch 4 holds -1, and no value"},
        {{{3, 1}}, {0, 0, 32768}, "Bonus Factor holds 32768, more than 32,767"}};
    for (const auto& [pays, bonus, named] : cases) {
        const PlayInput input = playInput(kFive, pays, 45, bonus);
        KenoRandom random(1), untouched(1);
        const PlayResult result = PlayGames(input, random);
        EXPECT_EQ(result.error.rfind(std::string("This game cannot be played: ") + named, 0), 0u)
            << result.error;
        EXPECT_TRUE(result.games.empty() && result.actions.empty());
        EXPECT_EQ(result.credits, input.credits);
        EXPECT_EQ(random.next(), untouched.next()); // nothing was drawn
    }
    KenoRandom random(1); // at the limits the game plays
    EXPECT_EQ(
        PlayGames(playInput(kFive, {{3, 2147483647}}, 45, {20, 32767, 32767, 32767, 32767, 32767}), random)
            .error,
        "");
}

TEST(Play, GoldenDrawsOfAFixedSeed)
{
    // The board's first game from an ordered deck with the seed 2024, and the eggs of a Caveman
    // game after it. Any change to what a stored seed draws shows here.
    KenoRandom random(2024);
    const PlayResult result =
        PlayGames(playInput(kFive, {{3, 1}}, 1, {0, 0, 1, 2, 3, 4}, "Caveman Keno"), random);
    EXPECT_EQ(result.games.at(0).balls, (std::vector<int>{47, 14, 35, 1,  28, 77, 80, 34, 73, 9,
                                                          72, 65, 11, 68, 10, 6,  62, 37, 42, 59}));
    EXPECT_EQ(std::vector<int>(result.markedNumbers.begin() + 11, result.markedNumbers.begin() + 14),
              (std::vector<int>{5, 26, 6}));
}

TEST(Play, CavemanEggsFallOffTheTicketAndTheExtraBallsComeOnlyWithAWinAndTwoEggs)
{
    const std::vector<int> eight{5, 12, 23, 34, 45, 56, 67, 78};
    const Pays pays{{0, 1}, {2, 1}, {3, 1}, {4, 2}, {5, 8}, {6, 50}};
    int extra = 0;
    for (std::uint64_t seed = 1; seed <= 400; ++seed) {
        KenoRandom random(seed);
        const PlayResult result =
            PlayGames(playInput(eight, pays, 1, {0, 0, 1, 2, 3, 5}, "Caveman Plus Keno"), random);
        const GameRecord& game = result.games.at(0);
        const std::vector<int> first20(game.balls.begin(), game.balls.begin() + 20);
        const std::vector<int> eggs(result.markedNumbers.begin() + 11, result.markedNumbers.begin() + 14);
        ASSERT_EQ(std::set<int>(eggs.begin(), eggs.end()).size(), 3u);
        for (int egg : eggs) {
            ASSERT_TRUE(egg >= 1 && egg <= 80 && !holds(eight, egg)) << egg;
            EXPECT_EQ(result.marks[CellOfNumber(egg).row][CellOfNumber(egg).column], kEgg);
        }
        EXPECT_EQ(game.eggCatches, hitsAmong(eggs, game.balls));
        // The win is the one set at the last hit: with no hit at all it is 0, whatever catch 0 pays.
        const int hits20 = hitsAmong(eight, first20);
        const bool opens = hits20 > 0 && pays.count(hits20) && hitsAmong(eggs, first20) >= 2;
        ASSERT_EQ(game.balls.size(), opens ? 23u : 20u) << "seed " << seed;
        EXPECT_EQ(game.hits, hitsAmong(eight, game.balls));
        EXPECT_EQ(textsOf(result, Control::DrawnNumbers).back().find("---   ") != std::string::npos, opens);
        extra += opens;
    }
    EXPECT_GT(extra, 20);
}

TEST(Play, AGameAfterACavemanGameCountsNoEggs)
{
    KenoRandom random(99);
    const PlayResult caveman =
        PlayGames(playInput(kFive, {{2, 1}}, 1, {0, 0, 1, 5, 5, 5}, "Caveman Keno"), random);
    PlayInput next = playInput(kFive, {{2, 1}});
    next.marks = caveman.marks; // the eggs of the last game are still on the board
    next.markedNumbers = caveman.markedNumbers;
    for (int play = 0; play < 50; ++play) {
        const PlayResult result = PlayGames(next, random);
        EXPECT_EQ(result.games[0].eggCatches, 0);
        EXPECT_EQ(result.games[0].win, result.games[0].hits == 2 ? 1 : 0);
        const BoardCell egg = CellOfNumber(caveman.markedNumbers[11]);
        EXPECT_EQ(result.marks[egg.row][egg.column], 0);
        next.deck = result.deck;
    }
}
