#include "engine/common/numberforms.h"
#include "engine/play/payslist.h"
#include "engine/play/playengine.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace tallyhawk;

namespace {

using Pays = std::map<int, double>; // catch -> pay

// A game's rows, Catch 0 to 10, paying `pays` for `marked` numbers, its bonus row holding `bonus`.
std::vector<PayScheduleRow> gameRows(int marked, const Pays& pays, const BonusValues& bonus = {})
{
    std::vector<PayScheduleRow> rows(11);
    for (int c = 0; c <= 10; ++c) {
        rows[c].Catch = c;
        if (pays.count(c))
            rows[c].Pick[marked - 1] = pays.at(c);
    }
    rows[0].BonusBall = bonus.BonusBall;
    rows[0].FreeGames = bonus.FreeGames;
    rows[0].BonusFactor = bonus.BonusFactor;
    rows[0].Egg1Bonus = bonus.Egg1Bonus;
    rows[0].Egg2Bonus = bonus.Egg2Bonus;
    rows[0].Egg3Bonus = bonus.Egg3Bonus;
    return rows;
}

// A play's input with the given ticket marked, the deck in order and 100 credits.
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
    input.game = KenoGame::fromRows(gameRows(input.markedCount, pays, bonus), entry);
    input.oddsListing = BuildPaysList(input.markedCount, bet, input.game);
    return input;
}

int countIn(const std::vector<int>& numbers, int n)
{
    return static_cast<int>(std::count(numbers.begin(), numbers.end(), n));
}

int hitsAmong(const std::vector<int>& ticket, const std::vector<int>& balls)
{
    return static_cast<int>(
        std::count_if(balls.begin(), balls.end(), [&](int b) { return countIn(ticket, b); }));
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

// The picture a number's cell shows after the play: the last change wins.
Picture finalPicture(const PlayResult& result, int number)
{
    Picture shown = Picture::None;
    for (const PlayAction& action : result.actions)
        if (const auto* set = std::get_if<SetCell>(&action); set && set->cell == CellOfNumber(number))
            shown = set->picture;
    return shown;
}

const std::vector<int> kFive{3, 17, 33, 48, 72};
const std::vector<int> kTen{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

} // namespace

TEST(PaysList, ListsThePayingCatchesAndFindsTheirLines)
{
    EXPECT_EQ(BuildPaysList(4, 2, KenoGame::fromRows(gameRows(4, {{2, 1}, {3, 5}, {4, 100}}), "")),
              " Hits     Win\r\n   2         2\r\n   3         10\r\n   4         200\r\n");
    // Catch 0 is listed like any other row; ten takes one blank less; halves are kept.
    const std::string tens =
        BuildPaysList(10, 3, KenoGame::fromRows(gameRows(10, {{0, 0.5}, {10, 10000}}), ""));
    EXPECT_EQ(tens, " Hits     Win\r\n   0         1.5\r\n  10        30000\r\n");
    for (auto [hits, line] : {std::pair{0, 1}, {10, 2}, {3, -1}})
        EXPECT_EQ(PaysListLineOfCatch(tens + "\r\n ALL WINS X 3", hits), line) << hits << " hits";
}

TEST(ComputeWinFormula, EachCaseOfTheFormula)
{
    // Five marked: Catch 1 pays 0.5, 2 is blank, 3 pays 3, 4 has no row.
    std::vector<PayScheduleRow> rows = gameRows(5, {{1, 0.5}, {3, 3}});
    rows.erase(rows.begin() + 4);
    const KenoGame game = KenoGame::fromRows(rows, "");
    const BonusValues ball{20, 0, 4}, series{20, 12, 4}, oneFree{20, 1, 4}, eggs{0, 0, 1, 2, 5, 10};
    const std::pair<WinState, std::int64_t> cases[] = {
        {{.markedCount = 5, .hits = 1, .bet = 1, .bonus = {}}, 0}, // pay x bet rounded half to even
        {{.markedCount = 5, .hits = 1, .bet = 3, .bonus = {}}, 2},
        {{.markedCount = 5, .hits = 1, .bet = 5, .bonus = {}}, 2},
        {{.markedCount = 5, .hits = 1, .bet = 7, .bonus = {}}, 4},
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
        {{.markedCount = 0, .hits = 3, .bet = 2, .bonus = {}}, 7},
    };
    for (const auto& [state, win] : cases)
        EXPECT_EQ(ComputeWin(state, game, 7), win) << state.hits << " hits, bet " << state.bet;
    // The largest values fit; beyond 64 bits there is no win, never a wrapped one.
    WinState largest{.markedCount = 1, .hits = 1, .bet = 45, .bonusBallHit = true, .bonus = {1, 0, 32767}};
    EXPECT_EQ(ComputeWin(largest, KenoGame::fromRows(gameRows(1, {{1, 2147483647}}), ""), 0),
              std::int64_t{2147483647} * 45 * 32767);
    EXPECT_EQ(ComputeWin(largest, KenoGame::fromRows(gameRows(1, {{1, 1e17}}), ""), 0), std::nullopt);
    EXPECT_EQ(ComputeWin(largest, KenoGame::fromRows(gameRows(1, {{1, 1e308}}), ""), 0), std::nullopt);
}

TEST(CheckBeforeDrawRules, RefusesInOrderAndKeepsCreditsWithinTheLimit)
{
    const std::string listing = " Hits     Win\r\n   3         3\r\n";
    EXPECT_EQ(CheckBeforeDraw(0, "", false, 0), "You must bet at least one credit.");
    EXPECT_EQ(CheckBeforeDraw(1, kPaysListHeader, true, 10),
              "You must select numbers (or more numbers) before you may START!");
    EXPECT_EQ(CheckBeforeDraw(5, listing, true, 0), std::nullopt); // the bet was taken as it was placed
    EXPECT_EQ(CheckBeforeDraw(1, listing, false, 0.5), "ADD CREDITS to continue.");
    EXPECT_EQ(CheckBeforeDraw(5, listing, false, 4),
              "Reduce your bet or ADD CREDITS to continue.\n\nYou can reduce your bet by holding down the "
              "CTRL-Key and clicking on 'BET ONE'.");
    EXPECT_EQ(CheckBeforeDraw(5, listing, false, 5), std::nullopt);
    EXPECT_EQ(CheckCreditTotal(999'999'999'999'999.0), std::nullopt);
    EXPECT_EQ(CheckCreditTotal(1'000'000'000'000'000.0),
              "The credit total may not exceed 999999999999999 credits.");
    EXPECT_EQ(CheckCreditTotal(std::nan("")), "That is not a number of credits.");
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
        const bool hit = countIn(kFive, game.balls[19]) > 0;
        ballHits += hit;
        EXPECT_EQ(game.win, 3 * payOf(pays, game.hits) * (hit ? 2 : 1));
        EXPECT_EQ(result.credits, 100 + game.win);
        EXPECT_EQ(textsOf(result, Control::TextCredits).back(), PlainForm(result.credits));
        EXPECT_EQ(textsOf(result, Control::TextHitCount).back(), "HITS  " + StrForm(game.hits));
        EXPECT_EQ(textsOf(result, Control::TextWin).back(),
                  "WIN    " + StrForm(static_cast<double>(game.win)));
        EXPECT_EQ(finalPicture(result, game.balls[19]), hit ? Picture::BonusBall : Picture::NoBonusBall);
        const auto odds = textsOf(result, Control::TextOdds);
        EXPECT_EQ(odds.empty() ? input.oddsListing : odds.back(),
                  input.oddsListing + (hit && game.win > 0 ? "\r\n BONUS PAY X 2" : ""));
        EXPECT_EQ(std::count_if(result.actions.begin(), result.actions.end(),
                                [](const PlayAction& a) { return std::holds_alternative<Beep>(a); }),
                  19); // the first ball never beeps
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
            if (countIn(kTen, first.balls[0]) == 0 || first.win < 1) {
                EXPECT_EQ(result.games.size(), 1u);
                continue;
            }
            ++series;
            ASSERT_EQ(result.games.size(), 1u + freeGames) << "seed " << seed;
            std::int64_t total = 0;
            for (std::size_t g = 1; g < result.games.size(); ++g) {
                EXPECT_TRUE(result.games[g].free);
                EXPECT_EQ(result.games[g].win, 3 * payOf(pays, hitsAmong(kTen, result.games[g].balls)));
                total += result.games[g].win;
            }
            EXPECT_EQ(result.credits, 100 + first.win + total);
            EXPECT_EQ(textsOf(result, Control::TextFreeNotice),
                      (std::vector<std::string>{"\r\nBONUS INITIATED\r\nYOU HAVE WON " +
                                                    std::to_string(freeGames) + "\r\nFREE GAMES AT  3X",
                                                "\r\n\r\nTOTAL BONUS WIN\r\n" + std::to_string(total) +
                                                    " CREDITS"}));
            EXPECT_EQ(textsOf(result, Control::TextOdds),
                      (std::vector<std::string>{input.oddsListing + "\r\n ALL WINS X 3", input.oddsListing}));
        }
        EXPECT_EQ(series, 3) << freeGames;
    }
}

TEST(Play, AGameHoldingAValueTheBoardCannotHoldIsRefusedBeforeAnyDraw)
{
    struct Case
    {
        int row; // a pay of five marked numbers, or a bonus value of the bonus row
        std::optional<double> PayScheduleRow::*bonus;
        double value;
        const char* named;
    };
    const Case cases[] = {
        {3, nullptr, 2147483648.0, "Pick 5, Catch 3 holds 2147483648, more than 2,147,483,647"},
        {4, nullptr, -1, "Pick 5, Catch 4 holds -1, and no value"},
        {0, &PayScheduleRow::BonusFactor, 32768, "Bonus Factor holds 32768, more than 32,767"},
        {0, &PayScheduleRow::BonusBall, std::nan(""), "Bonus Ball does not hold a number."},
    };
    for (const Case& c : cases) {
        PlayInput input = playInput(kFive, {{3, 1}}, 45);
        std::vector<PayScheduleRow> rows = gameRows(5, {{3, 1}});
        (c.bonus ? rows[0].*c.bonus : rows[c.row].Pick[4]) = c.value;
        input.game = KenoGame::fromRows(rows, "");
        KenoRandom random(1), untouched(1);
        const PlayResult result = PlayGames(input, random);
        EXPECT_EQ(result.error.rfind(std::string("This game cannot be played: ") + c.named, 0), 0u)
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
    int extra = 0, plain = 0;
    for (std::uint64_t seed = 1; seed <= 400; ++seed) {
        KenoRandom random(seed);
        const PlayResult result =
            PlayGames(playInput(eight, pays, 1, {0, 0, 1, 2, 3, 5}, "Caveman Plus Keno"), random);
        const GameRecord& game = result.games.at(0);
        const std::vector<int> first20(game.balls.begin(), game.balls.begin() + 20);
        std::set<int> eggs;
        int eggs20 = 0, eggsCaught = 0;
        for (int k = 11; k <= 13; ++k) {
            const int egg = result.markedNumbers[k];
            ASSERT_TRUE(egg >= 1 && egg <= 80 && countIn(eight, egg) == 0) << egg;
            eggs.insert(egg);
            EXPECT_EQ(result.marks[CellOfNumber(egg).row][CellOfNumber(egg).column], kEgg);
            EXPECT_EQ(finalPicture(result, egg),
                      countIn(game.balls, egg) ? Picture::EggCracked : Picture::EggBlue);
            eggs20 += countIn(first20, egg);
            eggsCaught += countIn(game.balls, egg);
        }
        EXPECT_EQ(eggs.size(), 3u);
        EXPECT_EQ(game.eggCatches, eggsCaught);
        // The win is the one set at the last hit: with no hit at all it is 0, whatever catch 0 pays.
        const int hits20 = hitsAmong(eight, first20);
        const bool opens = hits20 > 0 && pays.count(hits20) && eggs20 >= 2;
        ASSERT_EQ(game.balls.size(), opens ? 23u : 20u) << "seed " << seed;
        EXPECT_EQ(game.hits, hitsAmong(eight, game.balls));
        const std::string hitsText = textsOf(result, Control::TextHits).back();
        EXPECT_EQ(hitsText.find("---   ") != std::string::npos, opens);
        if (opens) {
            ++extra;
            EXPECT_EQ(textsOf(result, Control::TextFreeGamesRemaining).back(),
                      "Caveman Plus Bonus Balls . . . " + std::to_string(game.balls[20]) + "   " +
                          std::to_string(game.balls[21]) + "   " + std::to_string(game.balls[22]) + "   ");
        }
        plain += !opens;
    }
    EXPECT_GT(extra, 20);
    EXPECT_GT(plain, 20);
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
        for (int k = 11; k <= 13; ++k) {
            const BoardCell cell = CellOfNumber(caveman.markedNumbers[k]);
            EXPECT_EQ(result.marks[cell.row][cell.column], 0);
        }
        next.deck = result.deck;
    }
}

TEST(Play, BallsFollowEachOtherAtTheChosenSpeed)
{
    EXPECT_FLOAT_EQ(BallDelay("Slow"), 0.51f);
    EXPECT_FLOAT_EQ(BallDelay("Turbo"), 0.11f);
    EXPECT_EQ(BallDelay("Warp"), 0.0f);
    KenoRandom random(3);
    PlayInput input = playInput(kFive, {{3, 1}});
    input.ballDelay = BallDelay("Fast");
    const PlayResult result = PlayGames(input, random);
    EXPECT_EQ(std::count_if(result.actions.begin(), result.actions.end(),
                            [](const PlayAction& a) {
                                return std::holds_alternative<Pause>(a) &&
                                       std::get<Pause>(a).seconds == 0.17f;
                            }),
              20);
}
