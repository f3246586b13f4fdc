#include "engine/common/numberforms.h"
#include "engine/play/payslist.h"
#include "engine/play/playengine.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <tuple>

using namespace tallyhawk;

namespace {

// A game's rows, Catch 0 to 10, paying `pays` (catch -> pay) for `marked` numbers.
std::vector<PayScheduleRow> gameRows(int marked, const std::map<int, double>& pays)
{
    std::vector<PayScheduleRow> rows(11);
    for (int c = 0; c <= 10; ++c) {
        rows[c].Catch = c;
        if (auto it = pays.find(c); it != pays.end())
            rows[c].Pick[marked - 1] = it->second;
    }
    return rows;
}

// The game of those rows, its bonus row holding `bonus`, listed as `entry`.
KenoGame gameOf(std::vector<PayScheduleRow> rows, const BonusValues& bonus = {},
                const std::string& entry = "")
{
    rows[0].BonusBall = bonus.BonusBall;
    rows[0].FreeGames = bonus.FreeGames;
    rows[0].BonusFactor = bonus.BonusFactor;
    rows[0].Egg1Bonus = bonus.Egg1Bonus;
    rows[0].Egg2Bonus = bonus.Egg2Bonus;
    rows[0].Egg3Bonus = bonus.Egg3Bonus;
    return KenoGame::fromRows(rows, entry);
}

// A play's input with the given ticket marked, the deck in order and 100 credits.
PlayInput playInput(const std::vector<int>& ticket, const std::map<int, double>& pays, int bet = 1,
                    const BonusValues& bonus = {}, const std::string& entry = "")
{
    PlayInput input;
    for (int n : ticket) {
        const BoardCell cell = CellOfNumber(n);
        input.marks[cell.row][cell.column] = kMarked;
    }
    input.markedNumbers = CollectMarkedNumbers(input.marks);
    input.deck = OrderedDeck();
    input.markedCount = static_cast<int>(ticket.size());
    input.bet = bet;
    input.credits = 100;
    input.game = gameOf(gameRows(input.markedCount, pays), bonus, entry);
    input.soundOn = false;
    input.oddsListing = BuildPaysList(input.markedCount, bet, input.game);
    return input;
}

int hitsAmong(const std::vector<int>& ticket, const std::vector<int>& balls, std::size_t count)
{
    int hits = 0;
    for (std::size_t i = 0; i < count && i < balls.size(); ++i)
        hits += std::count(ticket.begin(), ticket.end(), balls[i]) > 0;
    return hits;
}

std::vector<std::string> textsOf(const PlayResult& result, Control control)
{
    std::vector<std::string> texts;
    for (const PlayAction& action : result.actions)
        if (const auto* set = std::get_if<SetText>(&action); set && set->control == control)
            texts.push_back(set->text);
    return texts;
}

// The cell as the window shows it after the play: the last change of each cell wins.
SetCell finalCell(const PlayResult& result, int number)
{
    SetCell shown{CellOfNumber(number), "", Picture::None, std::nullopt};
    CellColour background = CellColour::Navy;
    for (const PlayAction& action : result.actions) {
        if (const auto* set = std::get_if<SetCell>(&action); set && set->cell == CellOfNumber(number)) {
            shown.text = set->text;
            shown.picture = set->picture;
            background = set->background.value_or(background);
        }
    }
    shown.background = background;
    return shown;
}

const std::vector<int> kFive{3, 17, 33, 48, 72};

BonusValues bonusValues(int ball, int freeGames, int factor, int egg1 = 1, int egg2 = 1, int egg3 = 1)
{
    BonusValues values;
    values.BonusBall = ball;
    values.FreeGames = freeGames;
    values.BonusFactor = factor;
    values.Egg1Bonus = egg1;
    values.Egg2Bonus = egg2;
    values.Egg3Bonus = egg3;
    return values;
}

WinState winState(int marked, int hits, int bet = 0)
{
    WinState state;
    state.markedCount = marked;
    state.hits = hits;
    state.bet = bet;
    return state;
}

} // namespace

TEST(PaysList, ListsThePayingCatchesUpToTheMarkedCount)
{
    const KenoGame rows = gameOf(gameRows(4, {{2, 1}, {3, 5}, {4, 100}}));
    EXPECT_EQ(BuildPaysList(4, 2, rows), " Hits     Win\r\n"
                                         "   2         2\r\n"
                                         "   3         10\r\n"
                                         "   4         200\r\n");
    EXPECT_EQ(BuildPaysList(0, 2, rows), " Hits     Win\r\n");
    // Catch 0 is listed like any other row; ten takes one blank less; halves are kept.
    const KenoGame tens = gameOf(gameRows(10, {{0, 0.5}, {10, 10000}}));
    EXPECT_EQ(BuildPaysList(10, 3, tens), " Hits     Win\r\n"
                                          "   0         1.5\r\n"
                                          "  10        30000\r\n");
}

TEST(PaysList, FindsTheLineThatPaysACatch)
{
    const std::string listing =
        BuildPaysList(10, 1, gameOf(gameRows(10, {{0, 2}, {5, 1}, {10, 10000}}))) + "\r\n ALL WINS X 3";
    for (auto [hits, line] : {std::pair{0, 1}, {5, 2}, {10, 3}, {3, -1}, {4, -1}})
        EXPECT_EQ(PaysListLineOfCatch(listing, hits), line) << hits << " hits";
    EXPECT_EQ(PaysListLineOfCatch(kPaysListHeader, 0), -1);
    EXPECT_EQ(PaysListLineOfCatch("", 0), -1);
}

TEST(ComputeWinFormula, RoundsTheBaseHalfToEven)
{
    const KenoGame rows = gameOf(gameRows(1, {{1, 0.5}}));
    WinState state = winState(1, 1);
    for (auto [bet, base] : {std::pair{1, 0}, {3, 2}, {5, 2}, {7, 4}}) {
        state.bet = bet;
        EXPECT_EQ(ComputeWin(state, rows, -1), base) << "bet " << bet;
    }
}

TEST(ComputeWinFormula, AppliesTheFirstCaseThatHolds)
{
    const KenoGame rows = gameOf(gameRows(5, {{3, 3}, {5, 800}}));
    WinState state = winState(5, 3, 2);
    state.bonus = bonusValues(20, 0, 4, 2, 5, 10);
    EXPECT_EQ(ComputeWin(state, rows, 0), 6); // no bonus ball hit
    state.bonusBallHit = true;
    EXPECT_EQ(ComputeWin(state, rows, 0), 24); // bonus ball hit, no free games: factor
    state.bonus.FreeGames = 12;
    EXPECT_EQ(ComputeWin(state, rows, 0), 6); // bonus ball hit in a free-games game: free games follow
    state.freeGamesRunning = true;
    EXPECT_EQ(ComputeWin(state, rows, 0), 24); // every free game at the factor
    state.freeGamesRunning = false;
    state.caveman = true;
    int multiplier = 0;
    for (auto [eggs, expected] : {std::pair{0, 1}, {1, 2}, {2, 5}, {3, 10}}) {
        state.eggCatches = eggs;
        EXPECT_EQ(ComputeWin(state, rows, 0, &multiplier), 6 * expected);
        EXPECT_EQ(multiplier, expected);
    }
}

TEST(ComputeWinFormula, KeepsThePreviousWinWithoutARowOrMarks)
{
    auto stored = gameRows(5, {{3, 3}});
    stored.erase(stored.begin() + 4); // no row for catch 4
    const KenoGame rows = gameOf(stored);
    WinState state = winState(5, 4, 1);
    EXPECT_EQ(ComputeWin(state, rows, 3), 3);
    state.markedCount = 0;
    state.hits = 3;
    EXPECT_EQ(ComputeWin(state, rows, 7), 7);
    state.markedCount = 5;
    state.hits = 2; // a row with a blank pay pays nothing
    EXPECT_EQ(ComputeWin(state, rows, 7), 0);
}

TEST(ComputeWinFormula, TheLargestValuesFitAndBeyondThemNothingWraps)
{
    const KenoGame largest = gameOf(gameRows(1, {{1, 2147483647}}));
    WinState state = winState(1, 1, 45);
    state.bonus = bonusValues(1, 0, 32767);
    state.bonusBallHit = true;
    EXPECT_EQ(ComputeWin(state, largest, 0), std::int64_t{2147483647} * 45 * 32767);
    // Values no door lets in: pay x bet, or the win, beyond 64 bits is no win, never a wrapped one.
    for (const auto& [pay, bet, factor] :
         {std::tuple{1e19, 1, 1}, {2.5e17, 45, 1}, {1e17, 45, 3}, {1e308, 45, 1}}) {
        state = winState(1, 1, bet);
        state.bonus = bonusValues(1, 0, factor);
        state.bonusBallHit = true;
        EXPECT_EQ(ComputeWin(state, gameOf(gameRows(1, {{1, pay}})), 5), std::nullopt) << pay << " x " << bet;
    }
}

TEST(CheckBeforeDrawRules, RefusesInOrder)
{
    const std::string listing = " Hits     Win\r\n   3         3\r\n";
    EXPECT_EQ(CheckBeforeDraw(0, "", false, 0), "You must bet at least one credit.");
    EXPECT_EQ(CheckBeforeDraw(1, " Hits     Win\r\n", true, 10),
              "You must select numbers (or more numbers) before you may START!");
    EXPECT_EQ(CheckBeforeDraw(5, listing, true, 0), std::nullopt); // the bet was taken as it was placed
    EXPECT_EQ(CheckBeforeDraw(5, listing, false, 0), "ADD CREDITS to continue.");
    EXPECT_EQ(CheckBeforeDraw(1, listing, false, 0.5), "ADD CREDITS to continue.");
    EXPECT_EQ(CheckBeforeDraw(5, listing, false, 3),
              "Reduce your bet or ADD CREDITS to continue.\n\nYou can reduce your bet by holding down the "
              "CTRL-Key and clicking on 'BET ONE'.");
    EXPECT_EQ(CheckBeforeDraw(5, listing, false, 5), std::nullopt);
}

TEST(Play, PaysThePlainTableAndShowsEveryBall)
{
    const std::map<int, double> pays{{0, 0}, {3, 1}, {4, 10}, {5, 800}};
    for (std::uint64_t seed = 1; seed <= 300; ++seed) {
        KenoRandom random(seed);
        PlayInput input = playInput(kFive, pays, 3);
        input.soundOn = true;
        const PlayResult result = PlayGames(input, random);
        ASSERT_EQ(result.games.size(), 1u);
        const GameRecord& game = result.games[0];
        ASSERT_EQ(game.balls.size(), 20u);
        EXPECT_EQ(std::vector<int>(result.deck.begin() + 1, result.deck.begin() + 21), game.balls);
        const int hits = hitsAmong(kFive, game.balls, 20);
        EXPECT_EQ(game.hits, hits);
        EXPECT_EQ(game.win, static_cast<std::int64_t>(pays.count(hits) ? pays.at(hits) * 3 : 0));
        EXPECT_EQ(result.credits, 100 + game.win);
        EXPECT_EQ(textsOf(result, Control::TextCredits).back(), PlainForm(result.credits));
        EXPECT_EQ(textsOf(result, Control::TextHitCount).back(), "HITS  " + StrForm(hits));
        EXPECT_EQ(textsOf(result, Control::TextWin).back(),
                  "WIN    " + StrForm(static_cast<double>(game.win)));
        EXPECT_EQ(std::count_if(result.actions.begin(), result.actions.end(),
                                [](const PlayAction& a) { return std::holds_alternative<Beep>(a); }),
                  19); // the first ball never beeps
        for (int n = 1; n <= 80; ++n) {
            const bool drawn = std::count(game.balls.begin(), game.balls.end(), n) > 0;
            const bool marked = std::count(kFive.begin(), kFive.end(), n) > 0;
            const SetCell cell = finalCell(result, n);
            if (marked)
                EXPECT_EQ(cell.picture, drawn ? Picture::RedCheck : Picture::BlueCheck);
            else
                EXPECT_EQ(cell.background, drawn ? CellColour::Red : CellColour::Navy);
        }
    }
}

TEST(Play, TheBonusBallAtTwentyDoublesAWinOnlyWhenItHits)
{
    const std::map<int, double> pays{{2, 1}, {3, 3}, {4, 12}, {5, 800}};
    int hitsOfBall = 0, misses = 0;
    for (std::uint64_t seed = 1; seed <= 2000; ++seed) {
        KenoRandom random(seed);
        PlayInput input = playInput(kFive, pays, 1, bonusValues(20, 0, 2));
        const PlayResult result = PlayGames(input, random);
        const GameRecord& game = result.games.at(0);
        const int ball20 = game.balls[19];
        const bool hit = std::count(kFive.begin(), kFive.end(), ball20) > 0;
        const std::int64_t base = pays.count(game.hits) ? static_cast<std::int64_t>(pays.at(game.hits)) : 0;
        const std::string odds = textsOf(result, Control::TextOdds).empty()
                                     ? input.oddsListing
                                     : textsOf(result, Control::TextOdds).back();
        if (hit) {
            ++hitsOfBall;
            EXPECT_EQ(game.win, 2 * base);
            EXPECT_EQ(finalCell(result, ball20).picture, Picture::BonusBall);
            EXPECT_EQ(odds, base >= 1 ? input.oddsListing + "\r\n BONUS PAY X 2" : input.oddsListing);
        } else {
            ++misses;
            EXPECT_EQ(game.win, base);
            EXPECT_EQ(finalCell(result, ball20).picture, Picture::NoBonusBall);
            EXPECT_EQ(finalCell(result, ball20).background, CellColour::DarkGreen);
            EXPECT_EQ(odds, input.oddsListing);
        }
    }
    EXPECT_GT(hitsOfBall, 50);
    EXPECT_GT(misses, 50);
}

TEST(Play, AFreeGameSeriesPaysEveryFreeGameAtTheFactor)
{
    // Ten marked numbers, bonus ball first, so that a paying catch with the first ball on the
    // ticket starts ten free games at three times the pay.
    const std::vector<int> ten{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const std::map<int, double> pays{{0, 2}, {1, 1}, {2, 1}, {3, 2}, {4, 4}, {5, 10}, {6, 20}, {7, 40}};
    int series = 0;
    for (std::uint64_t seed = 1; seed <= 3000 && series < 5; ++seed) {
        KenoRandom random(seed);
        PlayInput input = playInput(ten, pays, 1, bonusValues(1, 10, 3));
        const PlayResult result = PlayGames(input, random);
        const GameRecord& first = result.games.at(0);
        const bool triggered = std::count(ten.begin(), ten.end(), first.balls[0]) > 0 && first.win >= 1;
        if (!triggered) {
            EXPECT_EQ(result.games.size(), 1u);
            continue;
        }
        ++series;
        ASSERT_EQ(result.games.size(), 11u);
        EXPECT_EQ(first.win, static_cast<std::int64_t>(pays.at(first.hits))); // the trigger is not multiplied
        std::int64_t total = 0;
        for (std::size_t g = 1; g < result.games.size(); ++g) {
            const GameRecord& game = result.games[g];
            EXPECT_TRUE(game.free);
            EXPECT_EQ(game.hits, hitsAmong(ten, game.balls, 20));
            EXPECT_EQ(game.win,
                      3 * static_cast<std::int64_t>(pays.count(game.hits) ? pays.at(game.hits) : 0));
            total += game.win;
        }
        EXPECT_EQ(result.credits, 100 + first.win + total);
        const auto notices = textsOf(result, Control::TextFreeNotice);
        ASSERT_EQ(notices.size(), 2u);
        EXPECT_EQ(notices[0], "\r\nBONUS INITIATED\r\nYOU HAVE WON 10\r\nFREE GAMES AT  3X");
        EXPECT_EQ(notices[1], "\r\n\r\nTOTAL BONUS WIN\r\n" + std::to_string(total) + " CREDITS");
        std::vector<std::string> counter;
        for (const std::string& text : textsOf(result, Control::TextFreeGamesRemaining))
            if (text.rfind("Free Games Remaining:", 0) == 0)
                counter.push_back(text.substr(22));
        // The paid game sets it to 0 while hidden, the trigger shows 10, then each free game counts down.
        const std::vector<std::string> expected{" 0", " 10", " 9", " 8", " 7", " 6",
                                                " 5", " 4",  " 3", " 2", " 1", " 0"};
        EXPECT_EQ(counter, expected);
        const auto odds = textsOf(result, Control::TextOdds);
        ASSERT_EQ(odds.size(), 2u);
        EXPECT_EQ(odds[0], input.oddsListing + "\r\n ALL WINS X 3");
        EXPECT_EQ(odds[1], input.oddsListing); // the summary removes the line again
    }
    EXPECT_EQ(series, 5);
}

TEST(Play, OneFreeGameIsExactlyOneFreeGame)
{
    const std::vector<int> ten{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const std::map<int, double> pays{{0, 2}, {1, 1}, {2, 1}, {3, 2}, {4, 4}, {5, 10}, {6, 20}};
    int series = 0;
    for (std::uint64_t seed = 1; seed <= 2000 && series < 3; ++seed) {
        KenoRandom random(seed);
        PlayInput input = playInput(ten, pays, 1, bonusValues(1, 1, 4));
        const PlayResult result = PlayGames(input, random);
        const GameRecord& first = result.games.at(0);
        if (std::count(ten.begin(), ten.end(), first.balls[0]) == 0 || first.win < 1)
            continue;
        ++series;
        ASSERT_EQ(result.games.size(), 2u) << "seed " << seed;
        const GameRecord& free = result.games[1];
        EXPECT_TRUE(free.free);
        EXPECT_EQ(free.win, 4 * static_cast<std::int64_t>(pays.count(free.hits) ? pays.at(free.hits) : 0));
        EXPECT_EQ(result.credits, 100 + first.win + free.win);
        const auto notices = textsOf(result, Control::TextFreeNotice);
        ASSERT_EQ(notices.size(), 2u);
        EXPECT_EQ(notices[0], "\r\nBONUS INITIATED\r\nYOU HAVE WON 1\r\nFREE GAMES AT  4X");
        EXPECT_EQ(notices[1], "\r\n\r\nTOTAL BONUS WIN\r\n" + std::to_string(free.win) + " CREDITS");
    }
    EXPECT_EQ(series, 3);
}

TEST(Play, AGameHoldingAValueTheBoardCannotHoldIsRefusedBeforeAnyDraw)
{
    struct Case
    {
        std::map<int, double> pays;
        std::optional<double> PayScheduleRow::*field;
        double value;
        const char* named;
    };
    const Case cases[] = {
        {{{3, 2147483648.0}}, nullptr, 0, "Pick 5, Catch 3 holds 2147483648, more than 2,147,483,647"},
        {{{5, 1e19}}, nullptr, 0, "Pick 5, Catch 5 holds 1E+19"},
        {{{4, -1}}, nullptr, 0, "Pick 5, Catch 4 holds -1, and no value of a pay table can be negative."},
        {{{3, HUGE_VAL}}, nullptr, 0, "Pick 5, Catch 3 does not hold a number."},
        {{{3, 1}}, &PayScheduleRow::BonusFactor, 1e19, "Bonus Factor holds 1E+19, more than 32,767"},
        {{{3, 1}}, &PayScheduleRow::BonusFactor, 32768, "Bonus Factor holds 32768"},
        {{{3, 1}}, &PayScheduleRow::Egg2Bonus, 40000, "Egg2 Bonus holds 40000"},
        {{{3, 1}}, &PayScheduleRow::FreeGames, -2, "Free Games holds -2"},
        {{{3, 1}}, &PayScheduleRow::BonusBall, std::nan(""), "Bonus Ball does not hold a number."},
    };
    for (const Case& c : cases) {
        PlayInput input = playInput(kFive, c.pays, 45);
        std::vector<PayScheduleRow> rows = gameRows(5, c.pays);
        if (c.field)
            rows[0].*c.field = c.value;
        input.game = KenoGame::fromRows(rows, "");
        KenoRandom random(1), untouched(1);
        const PlayResult result = PlayGames(input, random);
        EXPECT_EQ(result.error, std::string("This game cannot be played: ") + input.game.valueError());
        EXPECT_NE(result.error.find(c.named), std::string::npos) << result.error;
        EXPECT_TRUE(result.games.empty());
        EXPECT_TRUE(result.actions.empty());
        EXPECT_EQ(result.credits, input.credits);
        EXPECT_EQ(result.deck, input.deck);
        EXPECT_EQ(random.next(), untouched.next()); // nothing was drawn
    }
    // At the limits the game plays.
    PlayInput limits =
        playInput(kFive, {{3, 2147483647}}, 45, bonusValues(20, 32767, 32767, 32767, 32767, 32767));
    KenoRandom random(1);
    EXPECT_EQ(PlayGames(limits, random).error, "");
}

TEST(Play, GoldenDrawsOfAFixedSeed)
{
    // The board's first game from an ordered deck with the seed 2024, and the eggs of a Caveman
    // game after it. Any change to what a stored seed draws shows here.
    KenoRandom random(2024);
    PlayInput input = playInput(kFive, {{3, 1}}, 1, bonusValues(0, 0, 1, 2, 3, 4), "Caveman Keno");
    const PlayResult result = PlayGames(input, random);
    EXPECT_EQ(result.games.at(0).balls, (std::vector<int>{47, 14, 35, 1,  28, 77, 80, 34, 73, 9,
                                                          72, 65, 11, 68, 10, 6,  62, 37, 42, 59}));
    EXPECT_EQ(std::vector<int>(result.markedNumbers.begin() + 11, result.markedNumbers.begin() + 14),
              (std::vector<int>{5, 26, 6}));
}

TEST(Play, CavemanEggsFallOnThreeDifferentUnmarkedNumbers)
{
    const std::map<int, double> pays{{3, 1}, {4, 10}, {5, 100}};
    for (std::uint64_t seed = 1; seed <= 2000; ++seed) {
        KenoRandom random(seed);
        std::vector<int> ticket = QuickPickNumbers(1 + static_cast<int>(seed % 10), random);
        PlayInput input = playInput(ticket, pays, 1, bonusValues(0, 0, 1, 2, 3, 4), "Caveman Keno");
        const PlayResult result = PlayGames(input, random);
        std::set<int> eggs;
        for (int k = 11; k <= 13; ++k) {
            const int egg = result.markedNumbers[k];
            ASSERT_TRUE(egg >= 1 && egg <= 80);
            EXPECT_EQ(std::count(ticket.begin(), ticket.end(), egg), 0);
            eggs.insert(egg);
            const BoardCell cell = CellOfNumber(egg);
            EXPECT_EQ(result.marks[cell.row][cell.column], kEgg);
            const bool drawn =
                std::count(result.games[0].balls.begin(), result.games[0].balls.end(), egg) > 0;
            EXPECT_EQ(finalCell(result, egg).picture, drawn ? Picture::EggCracked : Picture::EggBlue);
        }
        EXPECT_EQ(eggs.size(), 3u);
        int caught = 0;
        for (int egg : eggs)
            caught += std::count(result.games[0].balls.begin(), result.games[0].balls.end(), egg) > 0;
        EXPECT_EQ(result.games[0].eggCatches, caught);
    }
}

TEST(Play, CavemanPlusRevealsTheExtraBallsOnlyWithAWinAndTwoEggs)
{
    const std::vector<int> eight{5, 12, 23, 34, 45, 56, 67, 78};
    const std::map<int, double> pays{{0, 1}, {4, 2}, {5, 8}, {6, 50}};
    int extra = 0, plain = 0;
    for (std::uint64_t seed = 1; seed <= 4000; ++seed) {
        KenoRandom random(seed);
        PlayInput input = playInput(eight, pays, 1, bonusValues(0, 0, 1, 2, 3, 5), "Caveman Plus Keno");
        const PlayResult result = PlayGames(input, random);
        const GameRecord& game = result.games.at(0);
        std::vector<int> first20(game.balls.begin(), game.balls.begin() + 20);
        const int hits20 = hitsAmong(eight, first20, 20);
        int eggs20 = 0;
        for (int k = 11; k <= 13; ++k)
            eggs20 += std::count(first20.begin(), first20.end(), result.markedNumbers[k]) > 0;
        // The win is the one set at the last hit: with no hit at all it is 0, whatever catch 0 pays.
        const bool opens = hits20 > 0 && pays.count(hits20) && eggs20 >= 2;
        ASSERT_EQ(game.balls.size(), opens ? 23u : 20u) << "seed " << seed;
        const std::string hitsText = textsOf(result, Control::TextHits).back();
        if (opens) {
            ++extra;
            EXPECT_NE(hitsText.find("---   "), std::string::npos);
            std::string caption = "Caveman Plus Bonus Balls . . . ";
            for (int i = 20; i < 23; ++i)
                caption += std::to_string(game.balls[i]) + "   ";
            EXPECT_EQ(textsOf(result, Control::TextFreeGamesRemaining).back(), caption);
            EXPECT_EQ(game.hits, hitsAmong(eight, game.balls, 23));
        } else {
            ++plain;
            EXPECT_EQ(hitsText.find("---"), std::string::npos);
        }
    }
    EXPECT_GT(extra, 20);
    EXPECT_GT(plain, 20);
}

TEST(Play, AGameAfterACavemanGameCountsNoEggs)
{
    KenoRandom random(99);
    PlayInput input = playInput(kFive, {{2, 1}}, 1, bonusValues(0, 0, 1, 5, 5, 5), "Caveman Keno");
    PlayResult caveman = PlayGames(input, random);

    PlayInput next = playInput(kFive, {{2, 1}});
    next.marks = caveman.marks; // the eggs of the last game are still on the board
    next.markedNumbers = caveman.markedNumbers;
    next.deck = caveman.deck;
    for (int play = 0; play < 300; ++play) {
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

TEST(Play, TheDeckCarriesOverAndEachPlayStartsFromTheLastOrder)
{
    KenoRandom a(5), b(5);
    PlayInput input = playInput(kFive, {{3, 1}});
    const PlayResult first = PlayGames(input, a);
    input.deck = first.deck;
    const PlayResult second = PlayGames(input, a);
    EXPECT_NE(first.games[0].balls, second.games[0].balls);
    // The same seed and the same deck give the same play.
    PlayInput again = playInput(kFive, {{3, 1}});
    EXPECT_EQ(PlayGames(again, b).games[0].balls, first.games[0].balls);
}

TEST(Play, BallsFollowEachOtherAtTheChosenSpeed)
{
    EXPECT_FLOAT_EQ(BallDelay("Slow"), 0.51f);
    EXPECT_FLOAT_EQ(BallDelay("Medium"), 0.34f);
    EXPECT_FLOAT_EQ(BallDelay("Fast"), 0.17f);
    EXPECT_FLOAT_EQ(BallDelay("Turbo"), 0.11f);
    EXPECT_EQ(BallDelay("Warp"), 0.0f);
    for (const char* speed : {"Fast", "Warp"}) {
        KenoRandom random(3);
        PlayInput input = playInput(kFive, {{3, 1}});
        input.ballDelay = BallDelay(speed);
        const PlayResult result = PlayGames(input, random);
        std::vector<float> pauses;
        for (const PlayAction& action : result.actions)
            if (const auto* pause = std::get_if<Pause>(&action))
                pauses.push_back(pause->seconds);
        EXPECT_EQ(pauses,
                  std::string(speed) == "Fast" ? std::vector<float>(20, 0.17f) : std::vector<float>{});
    }
}
