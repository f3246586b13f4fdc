#pragma once
// Exact odds of a keno ticket: the distribution of one game's win, under the simulation's
// rules and under the board's, and of the total of a 100-game session, computed from the
// draw's combinatorics instead of by playing. Pure arithmetic: no Qt, no random numbers.
//
// Wins are kept as whole numbers of credits with long double probabilities. The simulation
// pays whole credits per credit bet (it rounds every pay); the board pays whole credits for
// the bet (it rounds pay x bet), so its wins per credit bet are those divided by the bet.

#include "engine/common/paytypes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyhawk {

constexpr int kExactMaxCatch = 10;
constexpr int kExactEggs = 3;            // eggs of a Caveman game
constexpr int kExactExtraBalls = 3;      // balls 21 to 23 of a Caveman Plus game
constexpr int kExactSessionGames = 100;  // games of one session
constexpr int kExactSessionTopWin = 500; // the session figures count wins of 500 or more together
constexpr int kMaxExactFreeGames = 100;
constexpr double kMaxExactFreeGamesWin = 4e6; // free games x bonus factor x top pay

// How many numbers the board holds and how many a game draws. The real game is 80 and 20;
// tests shrink it so that every draw can be enumerated.
struct KenoShape
{
    int numbers = 80;
    int drawn = 20;
};

// A ticket of `marked` numbers against one game's pays and bonus values.
struct ExactGame
{
    int marked = 0;
    std::array<double, kExactMaxCatch + 1> pays{}; // credits per credit bet, by catch
    int BonusBall = 0;
    int FreeGames = 0;
    int BonusFactor = 1;
    int Egg1Bonus = 1;
    int Egg2Bonus = 1;
    int Egg3Bonus = 1;
    bool caveman = false;     // three eggs among the unmarked numbers
    bool cavemanPlus = false; // also up to three extra balls; implies caveman
};

enum class ExactRules
{
    Simulation,
    Board
};

// The two rule sets read the game's list entry differently: both want "Caveman" for eggs;
// the board wants "Caveman Plus" for the extra balls, the simulation "Caveman" and "Plus".
void SetGameKind(ExactGame& game, std::string_view gameName, ExactRules rules);

// A game's rows (the bonus row among them) for a ticket of `marked` numbers: a blank pay
// pays 0, a blank bonus value or a missing bonus row is neutral, bonus values are rounded
// to whole numbers. The kind still comes from the name (SetGameKind).
ExactGame ExactGameFromRows(const std::vector<PayScheduleRow>& rows, int marked);

// Why the game cannot be analysed, or an empty text. Negative pays or bonus values, more than
// kMaxExactFreeGames free games or free games that can pay more than kMaxExactFreeGamesWin per
// credit, and a bet outside 1 to 45 are refused.
std::string ExactGameError(const ExactGame& game, int bet = 1, KenoShape shape = {});

struct WinAtom
{
    std::int64_t win = 0;
    long double probability = 0;
};

// A distribution of whole-credit wins: ascending wins, each with a positive probability.
struct WinDistribution
{
    std::vector<WinAtom> atoms;

    long double mean() const;
    long double variance() const;
    long double probabilityAbove(std::int64_t win) const;
};

// The distribution of the sum of two independent wins, and of `times` independent copies
// (the sum of nothing is a certain 0).
WinDistribution Convolve(const WinDistribution& a, const WinDistribution& b);
WinDistribution ConvolvePower(const WinDistribution& one, int times);

// Hypergeometric: the chance of catching c of `marked` numbers when `drawn` of `numbers` are
// drawn.
std::array<long double, kExactMaxCatch + 1> CatchProbabilities(int marked, KenoShape shape = {});

// One game's win per credit bet under the simulation's rules, the free games it starts
// included. `catches` (optional) receives the distribution of the catch the simulation
// counts for the game (after the extra balls).
WinDistribution SimulationWinDistribution(const ExactGame& game, KenoShape shape = {},
                                          std::array<long double, kExactMaxCatch + 1>* catches = nullptr);

// One play of the board at `bet` credits: the win in credits of the paid game and of the free
// games it starts. `catches` as above, for the paid game.
WinDistribution BoardWinDistribution(const ExactGame& game, int bet = 1, KenoShape shape = {},
                                     std::array<long double, kExactMaxCatch + 1>* catches = nullptr);

// The same play told apart by the catches it makes: entry c is the part of BoardWinDistribution
// in which neither the paid game nor any free game it starts catches c, so its probabilities add
// up to the chance that the play misses c. A catch the ticket cannot make keeps the whole
// distribution. All entries are empty when the game is refused (ExactGameError).
std::array<WinDistribution, kExactMaxCatch + 1> BoardWinMissingCatch(const ExactGame& game, int bet = 1,
                                                                     KenoShape shape = {});

// An exact fraction, numerator over a positive denominator, in lowest terms.
__extension__ using ExactInt = __int128;
struct ExactFraction
{
    ExactInt numerator = 0;
    ExactInt denominator = 1;

    long double value() const
    {
        return static_cast<long double>(numerator) / static_cast<long double>(denominator);
    }
    std::string text() const; // "57000/79079"
};

// The expected win per credit bet under the simulation's rules as an exact fraction (the
// simulation's pays and bonus values are whole numbers, so it always is one). No value when
// a term does not fit in 128 bits.
std::optional<ExactFraction> SimulationReturnFraction(const ExactGame& game, KenoShape shape = {});

// The six figures of the session summary for independent sessions of `games` one-credit
// games, each game's win drawn from `game` (whole credits, not negative).
struct ExactSessionFigures
{
    // The chance that a session wins w credits; the last entry: kExactSessionTopWin or more.
    std::array<double, kExactSessionTopWin + 1> probability{};
    double losingPct = 0;             // the session wins less than its stake of 100
    double breakevenOrWinningPct = 0; // 100 or more
    int mode = 0;                     // the likeliest win from 0 to 499, the lowest on a tie
    double doublePct = 0;             // 200 or more
    double fiveFoldPct = 0;           // 500 or more
    double loseHalfPct = 0;           // 50 or less
};
ExactSessionFigures ExactSessionFiguresOf(const WinDistribution& game, int games = kExactSessionGames);

// What the exact analysis says about one game under one rule set, per credit bet.
struct ExactOdds
{
    int bet = 1;
    WinDistribution win; // credits won at `bet`
    std::array<double, kExactMaxCatch + 1> catchProbability{};
    double returnPct = 0; // expected win per credit bet, in percent
    double variance = 0;  // of the win per credit bet
    double standardDeviation = 0;
    double hitRate = 0; // the chance that the win is above 0
};
ExactOdds ExactOddsOf(const WinDistribution& win, const std::array<long double, kExactMaxCatch + 1>& catches,
                      int bet);

struct ExactAnalysis
{
    std::string error; // why nothing was computed; empty on success
    ExactOdds simulation;
    ExactOdds board;             // at the bet given
    ExactSessionFigures session; // of the simulation's games, as its summary counts them
    bool ok() const { return error.empty(); }
};

// Everything at once: both rule sets and the session figures. The game's kind flags serve both
// rule sets (see SetGameKind where they differ).
ExactAnalysis AnalyseExact(const ExactGame& game, int bet = 1, KenoShape shape = {});

} // namespace tallyhawk
