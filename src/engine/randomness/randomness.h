// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The test for randomness: draws the twenty numbers of a keno game with the board's own draw
// as many times as asked, counts how often each of the 80 numbers came up, and judges the
// counts with a chi-square goodness-of-fit test at 95% confidence.
//
// A test counts on every core: its games are cut into chunks, each drawn from its own stream
// derived from the test's seed and a fresh deck, and the counts are merged in chunk order, so
// the same seed gives the same counts on any number of threads. The window shows the counts
// after every chunk and stops at the end of a chunk after Esc.

#include "engine/common/gameconstants.h"
#include "engine/play/deck.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tallyhawk {

// Degrees of freedom of the statistic: one fewer than the numbers counted.
constexpr int kRandomnessDegreesOfFreedom = kBoardNumbers - 1;
// The lower and upper 2.5% points of the chi-square distribution with 79 degrees of freedom:
// a two-sided test at 95% confidence. Both bounds fail.
constexpr double kRandomnessLowerBound = 56.309;
constexpr double kRandomnessUpperBound = 105.473;
// Games per chunk: each chunk draws from its own stream.
constexpr std::int32_t kRandomnessChunkGames = 250'000;

inline constexpr char kRandomnessTitle[] = "Randomness Test";
inline constexpr char kRandomnessDefaultAnswer[] = "1000";
// Lines end in CR LF, as in every text the engine writes; windows show them as line breaks.
inline constexpr char kRandomnessPrompt[] =
    "Enter the number of games for which numbers will be drawn, then click 'START'. When complete, "
    "the cells corresponding to drawn numbers 1 through 80 will show the +/- variance from an "
    "exactly uniform distribution of numbers.\r\n\r\nEnter a number that is evenly divisible by 4.";
inline constexpr char kRandomnessNotDivisibleMessage[] = "Enter a number that is exactly divisible by 4!";
inline constexpr char kRandomnessNotPositiveMessage[] =
    "Enter a number of games greater than 0 that is exactly divisible by 4!";

// What an answer to the question for the number of games asks for.
enum class RandomnessAnswerKind
{
    Cancelled,    // empty or blanks only (Cancel too): end quietly, nothing runs
    Accepted,     // `games` is a positive multiple of 4
    NotDivisible, // not a whole number of 32 bits, or not a multiple of 4: show `message`, ask again
    NotPositive,  // 0 or a negative multiple of 4: show `message`, ask again
};

struct RandomnessAnswer
{
    RandomnessAnswerKind kind = RandomnessAnswerKind::Cancelled;
    std::int32_t games = 0; // the number of games when Accepted
    std::string message;    // what to tell the user before asking again; empty otherwise
};

// Reads an answer: blanks around it are ignored; the number is rounded to a whole number
// (halves to the even one) and must fit in 32 bits and divide by 4 ("1000.4" plays 1000 games,
// "1002" and "abc" are refused); zero and negative answers are refused too, as they play no game.
RandomnessAnswer ParseRandomnessAnswer(std::string_view answer);

// Deviations of the 80 numbers' counts from the expected count, entry n - 1 for the number n,
// as the grid shows them: row (n - 1) / 10, column (n - 1) % 10 + 1.
using RandomnessDeviations = std::array<std::int64_t, kBoardNumbers>;

// The counting of one test of `games` games.
class RandomnessTest
{
public:
    // `games` is an accepted answer: a positive multiple of 4. Every deviation starts at minus
    // the expected count games x 20 / 80 = games / 4.
    explicit RandomnessTest(std::int32_t games = 0);

    // One game: the board's draw as far as the twenty numbers counted, which are then counted.
    void playGame(DrawDeck& deck, KenoRandom& random);
    // Counts entries 1 to 20 of a deck as one game's draw (playGame without the draw).
    void countDraw(const DrawDeck& deck);
    // Adds `games` games whose numbers came up counts[n - 1] times each.
    void addCounts(const std::array<std::uint32_t, kBoardNumbers>& counts, std::int32_t games);

    std::int32_t games() const { return m_games; }
    std::int32_t gamesPlayed() const { return m_gamesPlayed; }
    bool finished() const { return m_gamesPlayed >= m_games; }
    std::int64_t expectedCount() const { return m_games / 4; }

    const RandomnessDeviations& deviations() const { return m_deviations; }
    std::int64_t deviation(int number) const { return m_deviations[static_cast<std::size_t>(number - 1)]; }

    // The statistic of the counts so far against the expected count of all `games` games.
    double statistic() const;

private:
    std::int32_t m_games = 0;
    std::int32_t m_gamesPlayed = 0;
    RandomnessDeviations m_deviations{};
};

// X = (79 / 60) x the sum over the 80 numbers of (O - E)^2 / E, each term computed from the
// stored deviation v = O - E as 4 x v x v / games. The factor (80 - 1) / (80 - 20) makes X a
// chi-square variable with 79 degrees of freedom for draws of 20 of 80 without replacement.
// The deviations are given in the grid's order (numbers 1 to 80); 0 when `games` is 0.
double RandomnessStatistic(const std::array<double, kBoardNumbers>& deviations, std::int32_t games);
double RandomnessStatistic(const RandomnessDeviations& deviations, std::int32_t games);

// PASSES strictly between the bounds; a statistic equal to either bound, or not a number, fails.
bool RandomnessPasses(double statistic);
// "PASSES" or "FAILS".
std::string RandomnessVerdict(double statistic);
// The message that ends a complete test: the verdict and the statistic in the "###.00" pattern.
// Lines end in CR LF.
std::string RandomnessMessage(double statistic);

// The chances that a chi-square variable with `degreesOfFreedom` degrees of freedom is at most
// x, P(degreesOfFreedom / 2, x / 2), and at least x, Q(degreesOfFreedom / 2, x / 2).
double ChiSquareLowerTail(double x, double degreesOfFreedom = kRandomnessDegreesOfFreedom);
double ChiSquareUpperTail(double x, double degreesOfFreedom = kRandomnessDegreesOfFreedom);
// The test's p-value, two-sided as its verdict is: 2 min(P(X <= x), P(X >= x)), at most 1.
// It is below 0.05 where the verdict fails, the statistic beyond a 2.5% point on either side.
// (The bounds are those points to three decimals: within 0.0002 of them the two can differ in
// the sixth decimal of the p-value.)
double ChiSquarePValue(double x, double degreesOfFreedom = kRandomnessDegreesOfFreedom);
// The regularized incomplete gamma functions P(a, x) = gamma(a, x) / Gamma(a) and
// Q(a, x) = Gamma(a, x) / Gamma(a) = 1 - P(a, x), a > 0, accurate to about 1e-14: the power
// series of P below x = a + 1, the continued fraction of Q above it, each tail computed
// directly where it is the small one. Not a number for a <= 0 or a value that is not a number.
double RegularizedLowerGamma(double a, double x);
double RegularizedUpperGamma(double a, double x);

// Called after every chunk with the counts so far, in the order of the chunks.
using RandomnessProgress = std::function<void(const RandomnessTest&)>;

struct RandomnessOutcome
{
    RandomnessDeviations deviations{};
    std::int32_t games = 0;
    std::int32_t gamesPlayed = 0;
    bool stopped = false; // the stop flag ended the run (no statistic, no message)
    double statistic = 0; // only for a complete run
    double pValue = 1;    // only for a complete run: two-sided
};

// Plays a whole test of `games` games (a positive multiple of 4) seeded with `seed`, on
// `threads` threads (0: one per core). After each chunk it calls `progress`, then reads the
// stop flag: a flag set before then stops the run there, the last chunk included. A stopped run
// keeps the deviations counted so far (against the expected count of all `games` games) and
// computes no statistic.
RandomnessOutcome RunRandomnessTest(std::int32_t games, std::uint64_t seed,
                                    const RandomnessProgress& progress = {},
                                    const std::atomic<bool>* stop = nullptr, int threads = 0);

} // namespace tallyhawk
