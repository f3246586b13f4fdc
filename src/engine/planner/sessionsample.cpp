// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The simulated method: whole sessions, each play drawn from the play's exact win distribution
// (the board's rules, free games included) by Walker's alias method. The existing simulation
// engine plays the simulation's rules, not the board's, hence a sampler of its own. Sessions are
// cut into chunks, each with its own pcg32 stream derived from the seed (ChunkGenerator), played
// on worker threads and merged in chunk order, so the figures follow from the seed alone.
//
// A session does not draw whether each play caught c: it multiplies, play by play, the chance
// that a play with that win missed c. The mean of that product over the sessions is the chance of
// never catching c, with less spread than counting the sessions would give.

#include "engine/sim/parallelchunks.h"
#include "engine/sim/simulation.h"
#include "sessionplanner.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numeric>

namespace tallyhawk {

namespace {

// Sessions x games per chunk: a chunk takes a few hundredths of a second, so a stop comes soon.
constexpr std::int64_t kChunkPlays = 10'000'000;
constexpr std::int64_t kMostChunkSessions = 1'000;
// Sessions x games simulated by default, with at least and at most this many sessions.
constexpr double kSimulatedPlays = 1e9;
constexpr std::int64_t kFewestSessions = 10'000;
constexpr std::int64_t kMostSessions = 100'000;
constexpr double kZ = 1.959963984540054; // the normal distribution's 97.5 % point

// Draws an atom with its probability in two 32-bit outputs: a uniform cell, then the cell's atom
// or its alias.
class AliasTable
{
public:
    explicit AliasTable(const std::vector<double>& probability);

    std::uint32_t draw(pcg32& generator) const
    {
        const std::uint32_t cell = generator(m_size);
        return generator() < m_keep[cell] ? cell : m_alias[cell];
    }

private:
    std::uint32_t m_size;
    std::vector<std::uint64_t> m_keep; // out of 2^32
    std::vector<std::uint32_t> m_alias;
};

AliasTable::AliasTable(const std::vector<double>& probability)
    : m_size(static_cast<std::uint32_t>(probability.size())), m_keep(m_size), m_alias(m_size)
{
    constexpr double kScale = 4294967296.0;
    const double total = std::accumulate(probability.begin(), probability.end(), 0.0);
    std::vector<double> scaled(m_size);
    std::vector<std::uint32_t> small, large;
    for (std::uint32_t k = 0; k < m_size; ++k) {
        scaled[k] = probability[k] * m_size / total;
        (scaled[k] < 1 ? small : large).push_back(k);
    }
    while (!small.empty() && !large.empty()) {
        const std::uint32_t s = small.back(), l = large.back();
        small.pop_back();
        m_keep[s] = static_cast<std::uint64_t>(scaled[s] * kScale);
        m_alias[s] = l;
        scaled[l] -= 1 - scaled[s];
        if (scaled[l] < 1) {
            large.pop_back();
            small.push_back(l);
        }
    }
    // What is left is full up to rounding.
    for (const auto* rest : {&small, &large})
        for (std::uint32_t k : *rest) {
            m_keep[k] = std::uint64_t{1} << 32;
            m_alias[k] = k;
        }
}

enum SessionEnd : std::uint8_t
{
    kAllPlayed,
    kRuined,
    kTargetReached
};

struct ChunkRecord
{
    std::vector<std::int32_t> games;
    std::vector<std::int64_t> credits;
    std::vector<std::uint8_t> end;
    std::vector<double> missProduct; // per session, per tracked catch
};

class Sampler
{
public:
    Sampler(const PlanStep& step, const SessionPlan& plan, std::uint64_t seed)
        : m_seed(seed), m_games(plan.games), m_start(plan.credits),
          m_floor(std::max<std::int64_t>(plan.bet, plan.floor.value_or(0))),
          m_target(plan.target.value_or(std::numeric_limits<std::int64_t>::max()))
    {
        std::vector<double> probability;
        for (const WinAtom& atom : step.win.atoms) {
            probability.push_back(static_cast<double>(atom.probability));
            m_net.push_back(atom.win - plan.bet);
        }
        m_table = std::make_unique<AliasTable>(probability);
        for (int c = 0; c <= kMaxMarks; ++c)
            if (step.tracked[c])
                m_catches.push_back(c);
        // Per atom and tracked catch: the chance that a play of that win missed the catch. Most
        // are 1 (a win that no play catching c has), so only the others are kept.
        std::vector<double> missGiven(m_net.size() * m_catches.size(), 0);
        for (std::size_t t = 0; t < m_catches.size(); ++t) {
            std::size_t k = 0;
            for (const WinAtom& part : step.winMissing[m_catches[t]].atoms) {
                while (k < m_net.size() && step.win.atoms[k].win < part.win)
                    ++k;
                if (k < m_net.size() && step.win.atoms[k].win == part.win)
                    missGiven[k * m_catches.size() + t] =
                        std::min(1.0, static_cast<double>(part.probability / step.win.atoms[k].probability));
            }
        }
        m_firstFactor.push_back(0);
        for (std::size_t k = 0; k < m_net.size(); ++k) {
            for (std::size_t t = 0; t < m_catches.size(); ++t)
                if (missGiven[k * m_catches.size() + t] < 1)
                    m_factors.push_back({t, missGiven[k * m_catches.size() + t]});
            m_firstFactor.push_back(m_factors.size());
        }
    }

    const std::vector<int>& catches() const { return m_catches; }

    void play(std::int64_t chunk, std::int64_t sessions, ChunkRecord& record) const
    {
        pcg32 generator = ChunkGenerator(m_seed, static_cast<std::uint64_t>(chunk));
        const std::size_t tracked = m_catches.size();
        const auto count = static_cast<std::size_t>(sessions);
        record.games.resize(count);
        record.credits.resize(count);
        record.end.resize(count);
        record.missProduct.assign(count * tracked, 1.0);
        for (std::size_t s = 0; s < count; ++s) {
            double* const product = record.missProduct.data() + s * tracked;
            std::int64_t credits = m_start, played = 0;
            SessionEnd end = kAllPlayed;
            while (played < m_games) {
                const std::uint32_t k = m_table->draw(generator);
                ++played;
                credits += m_net[k];
                for (std::size_t f = m_firstFactor[k]; f < m_firstFactor[k + 1]; ++f)
                    product[m_factors[f].first] *= m_factors[f].second;
                if (credits < m_floor) {
                    end = kRuined;
                    break;
                }
                if (credits >= m_target) {
                    end = kTargetReached;
                    break;
                }
            }
            record.games[s] = static_cast<std::int32_t>(played);
            record.credits[s] = credits;
            record.end[s] = end;
        }
    }

private:
    std::uint64_t m_seed;
    std::int64_t m_games, m_start, m_floor, m_target;
    std::vector<std::int64_t> m_net;
    std::unique_ptr<AliasTable> m_table;
    std::vector<int> m_catches;
    std::vector<std::pair<std::size_t, double>> m_factors; // tracked catch, chance of missing it
    std::vector<std::size_t> m_firstFactor;                // per atom, into m_factors; one more
};

// Everything the figures need, gathered chunk by chunk in chunk order.
struct Totals
{
    std::int64_t sessions = 0;
    std::vector<std::int64_t> gamesPlayed; // sessions by the number of games they played
    std::array<std::int64_t, 3> ends{};
    std::vector<std::int64_t> credits;
    long double games = 0, gamesSquared = 0;
    std::int64_t start = 0;
    long double creditSum = 0, creditSquares = 0;  // of the credits won or lost: no cancellation
    std::vector<long double> missSum, missSquares; // per tracked catch

    void add(const ChunkRecord& record, std::size_t tracked)
    {
        for (std::size_t s = 0; s < record.games.size(); ++s) {
            ++sessions;
            const std::int32_t played = record.games[s];
            ++gamesPlayed[static_cast<std::size_t>(played)];
            ++ends[record.end[s]];
            games += played;
            gamesSquared += static_cast<long double>(played) * played;
            const auto c = static_cast<long double>(record.credits[s] - start);
            creditSum += c;
            creditSquares += c * c;
            credits.push_back(record.credits[s]);
            for (std::size_t t = 0; t < tracked; ++t) {
                const double product = record.missProduct[s * tracked + t];
                missSum[t] += product;
                missSquares[t] += static_cast<long double>(product) * product;
            }
        }
    }
};

// A chance counted in `count` of `n` sessions, with its Wilson score interval.
PlanValue proportion(double count, double n)
{
    const double p = count / n, z2 = kZ * kZ;
    const double scale = 1 + z2 / n;
    const double centre = (p + z2 / (2 * n)) / scale;
    const double half = kZ * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n)) / scale;
    return {p, std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

PlanValue mean(long double sum, long double squares, double n)
{
    const long double m = sum / n;
    const long double variance = std::max<long double>(0, (squares - sum * m) / std::max(1.0, n - 1));
    const double half = kZ * static_cast<double>(std::sqrt(variance / n));
    return {static_cast<double>(m), static_cast<double>(m) - half, static_cast<double>(m) + half};
}

// The point of `level` of sorted values, within the order statistics that hold it 95 % of the time.
PlanValue quantile(const std::vector<std::int64_t>& sorted, double level)
{
    const auto n = static_cast<double>(sorted.size());
    auto at = [&](double rank) {
        const auto i = static_cast<std::size_t>(std::clamp(rank, 1.0, n)) - 1;
        return static_cast<double>(sorted[i]);
    };
    const double spread = kZ * std::sqrt(n * level * (1 - level));
    return {at(std::ceil(n * level)), at(std::floor(n * level - spread)), at(std::ceil(n * level + spread))};
}

void figuresOf(const Totals& totals, const std::vector<int>& catches, std::int64_t start,
               SessionPlanResult& r)
{
    const auto n = static_cast<double>(totals.sessions);
    r.ruined = proportion(static_cast<double>(totals.ends[kRuined]), n);
    r.targetReached = proportion(static_cast<double>(totals.ends[kTargetReached]), n);
    r.allGamesPlayed = proportion(static_cast<double>(totals.ends[kAllPlayed]), n);
    r.expectedGames = mean(totals.games, totals.gamesSquared, n);
    r.meanEndCredits = mean(totals.creditSum, totals.creditSquares, n);
    for (double* value : {&r.meanEndCredits.value, &r.meanEndCredits.low, &r.meanEndCredits.high})
        *value += static_cast<double>(start);

    const std::size_t games = totals.gamesPlayed.size() - 1;
    r.stillPlaying.resize(games + 1);
    std::int64_t longer = totals.sessions; // sessions that played more than n games
    for (std::size_t g = 0; g < games; ++g) {
        r.stillPlaying[g] = proportion(static_cast<double>(longer), n);
        longer -= totals.gamesPlayed[g + 1];
    }
    r.stillPlaying[games] = r.allGamesPlayed;

    std::vector<std::int64_t> sorted = totals.credits;
    std::sort(sorted.begin(), sorted.end());
    double behind = 0, even = 0;
    for (std::int64_t credits : sorted) {
        if (!r.endCredits.empty() && r.endCredits.back().credits == credits)
            r.endCredits.back().probability += 1;
        else
            r.endCredits.push_back({credits, 1});
        behind += credits < start ? 1 : 0;
        even += credits == start ? 1 : 0;
    }
    for (CreditAtom& atom : r.endCredits)
        atom.probability /= n;
    r.tailFrom = sorted.back() + 1;
    r.behind = proportion(behind, n);
    r.even = proportion(even, n);
    r.ahead = proportion(n - behind - even, n);
    for (std::size_t i = 0; i < kEndCreditLevels.size(); ++i)
        r.endCreditPoints[i] = quantile(sorted, kEndCreditLevels[i]);

    for (std::size_t t = 0; t < catches.size(); ++t) {
        const PlanValue miss = mean(totals.missSum[t], totals.missSquares[t], n);
        r.catchAtLeastOnce[catches[t]] =
            PlanValue{1 - miss.value, std::max(0.0, 1 - miss.high), std::min(1.0, 1 - miss.low)};
    }
}

} // namespace

SessionPlanResult PlanSessionBySimulation(const PlanStep& step, const SessionPlan& plan,
                                          const PlanOptions& options, const PlanProgress& progress,
                                          const std::atomic<bool>* stop)
{
    SessionPlanResult result;
    result.method = PlanMethod::Simulation;
    result.error = CheckPlanAndStep(step, plan);
    if (!result.error.empty())
        return result;
    result.seed = options.seed;
    result.sessions =
        options.sessions > 0
            ? options.sessions
            : std::clamp(static_cast<std::int64_t>(kSimulatedPlays / static_cast<double>(plan.games)),
                         kFewestSessions, kMostSessions);
    const Sampler sampler(step, plan, options.seed);
    const std::int64_t perChunk = std::clamp<std::int64_t>(kChunkPlays / plan.games, 1, kMostChunkSessions);
    const std::int64_t chunks = (result.sessions + perChunk - 1) / perChunk;
    auto chunkSessions = [&](std::int64_t chunk) {
        return std::min(perChunk, result.sessions - chunk * perChunk);
    };

    // Chunks are played on every core and merged in their order on this thread.
    std::vector<ChunkRecord> records(static_cast<std::size_t>(chunks));
    Totals totals;
    totals.start = plan.credits;
    totals.gamesPlayed.assign(static_cast<std::size_t>(plan.games + 1), 0);
    totals.missSum.assign(sampler.catches().size(), 0);
    totals.missSquares.assign(sampler.catches().size(), 0);
    PlayChunksInOrder(
        chunks, options.threads,
        [&](std::int64_t chunk) {
            sampler.play(chunk, chunkSessions(chunk), records[static_cast<std::size_t>(chunk)]);
        },
        [&](std::int64_t chunk) {
            const auto i = static_cast<std::size_t>(chunk);
            totals.add(records[i], sampler.catches().size());
            records[i] = {};
            if (stop && stop->load()) {
                result.stopped = true;
                return false;
            }
            if (progress)
                progress(static_cast<double>(chunk + 1) / static_cast<double>(chunks));
            return true;
        });
    if (result.stopped)
        return result;
    figuresOf(totals, sampler.catches(), plan.credits, result);
    return result;
}

} // namespace tallyhawk
