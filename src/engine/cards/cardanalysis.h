// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// What a card set does on one draw: its return, the spread of one play's total win (the cards'
// covariances included, since overlapping cards win together), the chance that any card pays,
// each card's and each marked count's chance of a solid catch, and the whole distribution of a
// play's total win.
//
// Exactly where the work fits: the marked numbers split into atoms, the numbers that the same
// cards share, and every way the twenty balls can fall among the atoms is weighed by the
// multivariate hypergeometric law; each card's catch is the sum over its atoms. A set of
// scattered numbers on many cards has too many atoms for that; it is then simulated, seeded and
// in chunks, so that its figures follow from the seed alone, each with its 95 % interval.

#include "cardrules.h"
#include "cardset.h"
#include "engine/exact/exactodds.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tallyhawk {

// The exact method's work (the outcomes it weighs times the cards it settles) that takes about
// a second here; a set estimated above it is simulated.
constexpr double kCardSetExactWorkLimit = 2e8;
// Plays of the simulated fallback, and its seed: the same set always gives the same figures. A
// way ticket of hundreds of cards plays fewer, so that the fallback takes about as long as twenty
// cards do (kCardSetSampleCardPlays card-plays), never fewer than kCardSetMinSamplePlays.
constexpr std::int64_t kCardSetSamplePlays = 1'000'000;
constexpr std::int64_t kCardSetSampleCardPlays = 20'000'000;
constexpr std::int64_t kCardSetMinSamplePlays = 200'000;
constexpr std::uint64_t kCardSetSampleSeed = 20260101;
// Plays per chunk of a simulated run, each chunk with its own random stream.
constexpr std::int64_t kCardSetChunkPlays = 100'000;
constexpr std::int64_t kMaxCardSetPlays = 1'000'000'000;

enum class CardSetMethod
{
    Exact,
    Simulation
};

// A figure with its 95 % interval; the interval is the value itself when the figure is exact.
struct CardSetValue
{
    double value = 0;
    double low = 0;
    double high = 0;
};

struct CardFigures
{
    int marked = 0;
    CardSetValue returnPct;  // the card's wins (free games included) over its bets, in percent
    CardSetValue payRate;    // the chance that the card's catch pays (before any bonus)
    CardSetValue solidCatch; // the chance of a solid catch (kSolidCatchPay) in the paid game
    CardSetValue sdPerPlay;  // of the card's own win in a play, in credits
};

// The cards of one marked count together.
struct SpotCountFigures
{
    int marked = 0;
    int cards = 0;
    CardSetValue solidCatch; // the chance that any of them makes a solid catch
};

struct CardSetAnalysis
{
    std::string error; // why nothing was computed; empty otherwise
    bool stopped = false;
    CardSetMethod method = CardSetMethod::Exact;
    std::string whySimulated; // when simulated: why the exact method was not used
    double exactWork = 0;     // the exact method's estimated work
    std::int64_t plays = 0;   // simulated plays; 0 when exact
    std::uint64_t seed = 0;   // of the simulation
    int atoms = 0;            // the groups of numbers that the same cards share

    std::int64_t cost = 0;  // credits one play costs: cards x bet
    CardSetValue returnPct; // total won over total bet, in percent
    CardSetValue sdPerPlay; // of one play's total win, in credits
    // What sdPerPlay would be if the cards won independently of each other (the square root of
    // the sum of their variances): the difference is what the cards' covariance does to the swings.
    CardSetValue sdIfIndependent;
    CardSetValue hitRate;       // the chance that the play wins anything (any card pays)
    CardSetValue anySolidCatch; // the chance that any card makes a solid catch
    std::vector<CardFigures> cards;
    std::vector<SpotCountFigures> spotCounts; // ascending marked counts
    // One play's total win, free games included (exact method only).
    WinDistribution win;

    bool ok() const { return error.empty() && !stopped; }
};

struct CardSetOptions
{
    double exactWorkLimit = kCardSetExactWorkLimit;
    std::int64_t plays = 0; // simulated plays; 0: as many as the set's size takes (see above)
    std::uint64_t seed = kCardSetSampleSeed;
    int threads = 0; // 0: one per core
};

// The exact method's estimated work for the set; every way the balls fall among its atoms
// (bounded above), times the cards.
[[nodiscard]] double CardSetExactWork(const CardSetGame& game, const CardSet& set);

// Exactly when the work fits the options' limit and the exact engine takes the game, otherwise
// simulated with the options' plays (CardSetSamplePlays when 0) and seed.
[[nodiscard]] CardSetAnalysis AnalyseCardSet(const CardSetGame& game, const CardSet& set,
                                             const CardSetOptions& options = {});
// Always exact; refused (error) when the exact engine cannot take the game. Tests shrink the
// board (`shape`) so that every draw can be enumerated.
[[nodiscard]] CardSetAnalysis AnalyseCardSetExactly(const CardSetGame& game, const CardSet& set,
                                                    KenoShape shape = {});

// The fallback's plays for a set of `cards` cards.
std::int64_t CardSetSamplePlays(std::size_t cards);

// Called on the calling thread after each chunk, in order, with the plays done so far.
using CardSetProgress = std::function<void(std::int64_t playsDone)>;
// Plays the set `options.plays` times under the same rules, seeded: the figures depend on the
// seed alone, never on the number of threads. The stop flag is read after each chunk.
[[nodiscard]] CardSetAnalysis SimulateCardSet(const CardSetGame& game, const CardSet& set,
                                              const CardSetOptions& options,
                                              const CardSetProgress& progress = {},
                                              const std::atomic<bool>* stop = nullptr);

} // namespace tallyhawk
