// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// Exact odds of a keno ticket: the distribution of one game's win, under the simulation's
// rules and under the board's, and of the total of a 100-game session, computed from the
// draw's combinatorics instead of by playing. Pure arithmetic: no Qt, no random numbers.
//
// Wins are kept as whole numbers of credits with long double probabilities. The simulation
// pays whole credits per credit bet (it rounds every pay); the board pays whole credits for
// the bet (it rounds pay x bet), so its wins per credit bet are those divided by the bet.

#include "engine/common/gameconstants.h"
#include "engine/common/kenogame.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyhawk {

// The session planner window's older name for kMaxMarks, until it takes that one.
constexpr int kExactMaxCatch = kMaxMarks;
constexpr int kExactSessionGames = 100;  // games of one session
constexpr int kExactSessionTopWin = 500; // the session figures count wins of 500 or more together
constexpr int kMaxExactFreeGames = 100;
constexpr double kMaxExactFreeGamesWin = 4e6; // free games x bonus factor x top pay

// How many numbers the board holds and how many a game draws. The real game is 80 and 20;
// tests shrink it so that every draw can be enumerated.
struct KenoShape
{
    int numbers = kBoardNumbers;
    int drawn = kDrawnBalls;
};

// A ticket of `marked` numbers against one game, as each rule set reads the game.
struct ExactGame
{
    int marked = 0;
    std::array<double, kMaxMarks + 1> pays{}; // stored credits per credit bet, by catch
    BonusValues boardBonus;
    GameKind boardKind;
    SimulationBonus simulationBonus;
    GameKind simulationKind;
    std::string valueError; // a stored value of the game that cannot be held (KenoGame::valueError)
};

enum class ExactRules
{
    Simulation,
    Board
};

// The ticket of `marked` numbers against a game: a blank pay pays 0, and each rule set takes
// the game's bonus values and kind from its own view of the game.
ExactGame ExactGameOf(const KenoGame& game, int marked);

// Why the game cannot be analysed, or an empty text. A value that cannot be held (valueError,
// a pay above kMaxStoredPay, a bonus value above kMaxStoredBonusValue), negative pays or bonus
// values, more than
// kMaxExactFreeGames free games or free games that can pay more than kMaxExactFreeGamesWin per
// credit, bonus values with more than two decimals under the simulation's rules, and a bet
// outside 1 to 45 are refused. Without `rules`, both rule sets are checked.
[[nodiscard]] std::string ExactGameError(const ExactGame& game, int bet = 1, KenoShape shape = {},
                                         std::optional<ExactRules> rules = std::nullopt);

struct WinAtom
{
    std::int64_t win = 0;
    long double probability = 0;
};

// A distribution of wins: ascending wins, each with a positive probability. Wins are counted in
// units of 1 / unitsPerCredit credits: whole credits, except under the simulation's rules when
// a bonus value has decimals (a Bonus Factor of 2.5 makes half credits).
struct WinDistribution
{
    std::vector<WinAtom> atoms;
    std::int64_t unitsPerCredit = 1;

    // In credits.
    long double mean() const;
    long double variance() const;
    long double probabilityAbove(double credits) const;
};

// The distribution of the sum of two independent wins in the same units, and of `times`
// independent copies (the sum of nothing is a certain 0).
WinDistribution Convolve(const WinDistribution& a, const WinDistribution& b);
WinDistribution ConvolvePower(const WinDistribution& one, int times);

// Hypergeometric: the chance of catching c of `marked` numbers when `drawn` of `numbers` are
// drawn.
std::array<long double, kMaxMarks + 1> CatchProbabilities(int marked, KenoShape shape = {});

// One game's win per credit bet under the simulation's rules, the free games it starts
// included. `catches` (optional) receives the distribution of the catch the simulation
// counts for the game (after the extra balls).
WinDistribution SimulationWinDistribution(const ExactGame& game, KenoShape shape = {},
                                          std::array<long double, kMaxMarks + 1>* catches = nullptr);

// One play of the board at `bet` credits: the win in credits of the paid game and of the free
// games it starts. `catches` as above, for the paid game.
WinDistribution BoardWinDistribution(const ExactGame& game, int bet = 1, KenoShape shape = {},
                                     std::array<long double, kMaxMarks + 1>* catches = nullptr);

// The same play told apart by the catches it makes: entry c is the part of BoardWinDistribution
// in which neither the paid game nor any free game it starts catches c, so its probabilities add
// up to the chance that the play misses c. A catch the ticket cannot make keeps the whole
// distribution. All entries are empty when the game is refused (ExactGameError).
std::array<WinDistribution, kMaxMarks + 1> BoardWinMissingCatch(const ExactGame& game, int bet = 1,
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
// simulation's pays are whole numbers and its bonus values have at most two decimals, so it
// always is one). No value when a term does not fit in 128 bits.
[[nodiscard]] std::optional<ExactFraction> SimulationReturnFraction(const ExactGame& game,
                                                                    KenoShape shape = {});

// The pay table's own return per credit bet, in percent: every pay times the bet exactly, as
// casinos and keno references publish it, with the board's bonus features (any win above 0
// starting free games). The board returns this at any bet at which it pays every pay exactly
// (ExactPayingBet); at a bet of 1 it pays whole credits (0.5 rounds to 0) and may return less.
// None when the board's rules cannot analyse the game (a value that cannot be held, negative
// pays or multipliers); any number of free games is taken.
[[nodiscard]] std::optional<double> PayTableReturnPct(const ExactGame& game, KenoShape shape = {});

// The smallest bet of 1 to 45 at which the board pays every pay of the ticket exactly (pay x
// bet a whole number of credits): 1 for whole pays, 2 for pays in halves; none when no bet up to
// 45 does.
[[nodiscard]] std::optional<int> ExactPayingBet(const ExactGame& game);
// The sentence that says which bets pay the table exactly, for a bet from ExactPayingBet (or a
// common multiple of several): "Any even bet pays the pay table exactly." for 2.
std::string ExactBetNote(std::optional<int> bet);

// The smallest bet of 1 to 45 that pays several tickets' tables exactly: a common multiple of
// their ExactPayingBet; none when no bet up to 45 does (or one of them has none).
[[nodiscard]] std::optional<int> CommonExactBet(const std::vector<std::optional<int>>& bets);

// Two returns that differ by this many points or more read differently to two decimals.
constexpr double kReturnDifferencePct = 0.005;

// The returns the catalogue lists for a ticket of `marked` numbers, in percent per credit bet;
// none where the game pays nothing for the count or the figure cannot be computed.
struct TicketReturns
{
    std::optional<double> payTable;     // PayTableReturnPct
    std::optional<double> wholeCredits; // the board's at a bet of 1, in whole credits
    std::optional<int> exactBet;        // ExactPayingBet
    // Whether the whole-credit return differs from the pay table's by kReturnDifferencePct or
    // more.
    bool differs() const;
};
[[nodiscard]] TicketReturns TicketReturnsOf(const KenoGame& game, int marked);

// The six figures of the session summary for independent sessions of `games` one-credit
// games, each game's win drawn from `game` (not negative). A session's total is rounded to
// whole credits, a half to the even neighbour, as the simulation's session log rounds it.
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
    std::array<double, kMaxMarks + 1> catchProbability{};
    double returnPct = 0; // expected win per credit bet, in percent
    double variance = 0;  // of the win per credit bet
    double standardDeviation = 0;
    double hitRate = 0; // the chance that the win is above 0
};
ExactOdds ExactOddsOf(const WinDistribution& win, const std::array<long double, kMaxMarks + 1>& catches,
                      int bet);

struct ExactAnalysis
{
    std::string error; // why nothing was computed; empty on success
    ExactOdds simulation;
    ExactOdds board;             // at the bet given
    ExactSessionFigures session; // of the simulation's games, as its summary counts them
    bool ok() const { return error.empty(); }
};

// Everything at once: both rule sets and the session figures.
[[nodiscard]] ExactAnalysis AnalyseExact(const ExactGame& game, int bet = 1, KenoShape shape = {});

} // namespace tallyhawk
