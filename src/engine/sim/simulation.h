// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The Monte Carlo payout simulation: one run of up to a billion one-credit games of a ticket
// against a game's pays and bonus features, without display.
//
// Each game draws a uniformly chosen set of twenty numbers, independent of the previous game:
// that is what the two shuffle passes per game leave in the drawn flags, so the engine deals
// the twenty numbers straight from a deck (the first twenty steps of a Fisher-Yates shuffle)
// into a bit set and counts the hits with a population count. Where the rules depend on more
// than the set, the engine draws exactly that: the bonus ball is the r-th smallest drawn
// number, and the three extra balls of a Caveman Plus game are the deck's next three deals,
// drawn among the numbers not drawn.
//
// The run is cut into fixed chunks of games, each with its own pcg32 stream derived from the
// run's seed, played on worker threads and merged in chunk order: the figures depend on the
// seed alone, never on the number of threads.

#include "engine/common/gameconstants.h"
#include "engine/common/kenogame.h"
#include "engine/common/kenorandom.h"
#include "simulationrules.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <pcg_random.hpp>
#include <string>
#include <vector>

namespace tallyhawk {

constexpr std::int64_t kMaxSimulationGames = 1'000'000'000;
// Progress is reported, and a stop can take effect, after every this many games (and the last).
constexpr std::int64_t kProgressGames = 10'000;
// Games per session, and the most sessions the log keeps (the first ten million games).
constexpr std::int64_t kSessionGames = 100;
constexpr std::int64_t kMaxSessions = 100'000;
// Games per chunk: each chunk has its own random stream. A multiple of kProgressGames.
constexpr std::int64_t kChunkGames = 100'000;

struct SimulationInput
{
    // The ticket: the marked numbers, 1 to 80, one to ten of them. With randomPicks only their
    // count N matters: every game plays N numbers chosen anew.
    std::vector<int> markedNumbers;
    bool randomPicks = false;
    // Credits paid for each catch 0 to 10 on a one-credit ticket.
    SimulationPays payPerCatch{};
    SimulationBonus bonus;
    GameKind kind;          // eggs, and with them the extra balls of a game of 23 balls
    std::int64_t games = 0; // 1 to kMaxSimulationGames
    std::uint64_t seed = 0;
    int threads = 0;       // 0: one per core
    std::string gameError; // a stored value of the game that cannot be held (KenoGame::valueError)
};

// The counts and sums of the games played so far.
struct SimulationTotals
{
    std::int64_t gamesPlayed = 0;
    std::array<std::int64_t, kMaxMarks + 1> catchFrequency{};
    std::int64_t baseWinnings = 0; // sum of the pay per catch over the games played
    double bonusWinnings = 0;      // everything the bonus features added
    std::int64_t bonusEvents = 0;  // free-game series and egg multipliers paid

    double totalWinnings() const { return static_cast<double>(baseWinnings) + bonusWinnings; }
    // Total winnings x 100 / credits bet (one credit per game); 0 before the first game.
    double percentReturn() const;
};

struct SimulationResult : SimulationTotals
{
    // Entry s: the total winnings after game 100 x s, rounded half to even; entry 0 is 0.
    // Entries 0 to min(games played / 100, kMaxSessions).
    std::vector<std::int64_t> sessionLog;
    bool stopped = false; // the stop flag ended the run before its last game
    // The eggs of the last game played, in ascending order (zeros outside Caveman games).
    std::array<int, kCavemanEggs> lastEggs{};
    // Why the input was refused, or why the run ended before its last game (its winnings grew
    // beyond what a session total holds); empty otherwise.
    std::string error;
};

// The games' numbers as a bit set: bit n - 1 stands for the number n.
struct SimulationNumbers
{
    std::uint64_t low = 0;  // numbers 1 to 64
    std::uint64_t high = 0; // numbers 65 to 80

    bool contains(int number) const;
    void insert(int number);
    int count() const;
    std::vector<int> numbers() const; // ascending
    SimulationNumbers operator&(const SimulationNumbers& other) const
    {
        return {low & other.low, high & other.high};
    }
    SimulationNumbers operator|(const SimulationNumbers& other) const
    {
        return {low | other.low, high | other.high};
    }
    bool operator==(const SimulationNumbers&) const = default;
};

// A run of `games` games of a ticket against a game, as the simulation reads the game. With
// randomPicks only the ticket's count matters: every game plays that many numbers chosen anew.
SimulationInput BuildSimulationInput(const KenoGame& game, const std::vector<int>& ticket, bool randomPicks,
                                     std::int64_t games);

// Empty when the input can be run, else a sentence saying what is wrong: the game's own
// valueError, a bonus value that cannot be held, more than 1000 free games, a bad ticket or
// number of games.
[[nodiscard]] std::string CheckSimulationInput(const SimulationInput& input);

// One stream of games: the rules of a single game, with the state that lives from game to
// game. The run plays each chunk on one of these; tests use it to look inside a game.
class SimulationGame
{
public:
    // The input must pass CheckSimulationInput.
    SimulationGame(const SimulationInput& input, pcg32 generator);

    // Plays one game and returns its catch; adds what the bonus features won to bonusWinnings
    // and a free-game series or a paid egg multiplier to bonusEvents.
    int play(double& bonusWinnings, std::int64_t& bonusEvents);

    const SimulationNumbers& ticket() const { return m_ticket; }
    // The twenty numbers drawn for the last game (or its last free game): the extra balls of a
    // Caveman Plus game have left them again.
    const SimulationNumbers& drawn() const { return m_drawn; }
    const SimulationNumbers& eggs() const { return m_eggs; }
    // The extra balls of the last game; empty when it drew none.
    const SimulationNumbers& extraBalls() const { return m_extraBalls; }
    // The number the bonus ball fell on in the last game; 0 when the game has no bonus ball.
    int bonusBallNumber() const { return m_bonusBallNumber; }
    // Whether the last game earned its bonus (bonus ball hit, or two or more eggs).
    bool bonusFlag() const { return m_bonusFlag; }

    // Plays `games` games, adding one to catchCounts[catch] for each (11 entries) and what the
    // bonus features won as play() does. The same games as that many calls of play().
    void playGames(std::int64_t games, std::uint32_t* catchCounts, double& bonusWinnings,
                   std::int64_t& bonusEvents);

private:
    template <bool kPlain> int playGame(double& bonusWinnings, std::int64_t& bonusEvents);
    template <bool kPlain>
    void playGamesImpl(std::int64_t games, std::uint32_t* catchCounts, double& bonusWinnings,
                       std::int64_t& bonusEvents);
    void playGamesDefault(std::int64_t games, std::uint32_t* catchCounts, double& bonusWinnings,
                          std::int64_t& bonusEvents);
    void playGamesPopcnt(std::int64_t games, std::uint32_t* catchCounts, double& bonusWinnings,
                         std::int64_t& bonusEvents);
    std::uint32_t below(std::uint32_t bound);
    std::uint32_t fourDigitWord();
    void dealOne(int position, std::uint32_t& x, SimulationNumbers& dealt);
    template <int kFirst, int kCount> SimulationNumbers deal();
    SimulationNumbers drawTwenty();
    SimulationNumbers drawDistinct(int count, const SimulationNumbers& excluded);

    pcg32 m_generator;
    SimulationNumbers m_ticket, m_drawn, m_eggs, m_extraBalls;
    std::array<std::uint16_t, kBoardNumbers> m_deck{}; // number - 1, in the order the deals left them
    int m_marked = 0;
    bool m_randomPicks = false;
    bool m_plain = false; // no random picks, no bonus ball, no eggs: a game is its draw
    SimulationRules m_rules;
    int m_freeGames = 0; // how many free games a series plays
    int m_bonusBallNumber = 0;
    bool m_bonusFlag = false;
};

// Where a run's return lies against the exact one: 1.96 standard errors either side of the run's
// return (the exact standard deviation of one game's win over the square root of the games),
// so that the exact return lies inside for about 19 honest runs in 20. The interval stops at 0,
// below which no return falls.
struct ReturnInterval
{
    double low = 0;  // percent
    double high = 0; // percent
    bool contains(double returnPct) const { return low <= returnPct && returnPct <= high; }
};
// Runs shorter than this get no interval: the win of a few games is far from normal.
constexpr std::int64_t kMinIntervalGames = 100;
// None below kMinIntervalGames games or without a standard deviation.
[[nodiscard]] std::optional<ReturnInterval>
SimulatedReturnInterval(double returnPct, double standardDeviation, std::int64_t games);

// Called after every kProgressGames-th game and the last one, with the totals so far, on the
// thread that called RunSimulation, in the order of the games.
using SimulationProgress = std::function<void(const SimulationTotals&)>;

// Plays the run. The stop flag is read after each progress report: when it is set before the
// last game, the run ends there, and its figures are those of the games played up to that
// point, the same whatever the number of threads. Blocks until the run ends.
[[nodiscard]] SimulationResult RunSimulation(const SimulationInput& input,
                                             const SimulationProgress& progress = {},
                                             const std::atomic<bool>* stop = nullptr);

} // namespace tallyhawk
