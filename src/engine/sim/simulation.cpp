// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "simulation.h"

#include "engine/common/numberforms.h"
#include "parallelchunks.h"
#include "simulationrules.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <memory>

namespace tallyhawk {

namespace {

// Bit masks of the numbers 1 to 80, indexed by number - 1, split over the two words.
struct NumberBits
{
    std::array<std::uint64_t, kBoardNumbers> low{}, high{};
    constexpr NumberBits()
    {
        for (int i = 0; i < kBoardNumbers; ++i) {
            low[i] = i < 64 ? std::uint64_t{1} << i : 0;
            high[i] = i < 64 ? 0 : std::uint64_t{1} << (i - 64);
        }
    }
};
constexpr NumberBits kBits;

[[gnu::always_inline]] inline int countOf(std::uint64_t low, std::uint64_t high)
{
    return std::popcount(low) + std::popcount(high);
}

[[gnu::always_inline]] inline int countOf(const SimulationNumbers& set)
{
    return countOf(set.low, set.high);
}

// The next base-80 digit of a word from fourDigitWord, which keeps the rest.
[[gnu::always_inline]] inline std::uint32_t nextDigit(std::uint32_t& word)
{
    const std::uint64_t product = std::uint64_t{word} * kBoardNumbers;
    word = static_cast<std::uint32_t>(product);
    return static_cast<std::uint32_t>(product >> 32);
}

// The number of rank `rank` (0 = smallest) in a set that holds more than `rank` numbers.
int nthSmallest(const SimulationNumbers& set, int rank)
{
    const int lowCount = std::popcount(set.low);
    std::uint64_t word = set.low;
    int first = 1;
    if (rank >= lowCount) {
        word = set.high;
        rank -= lowCount;
        first = 65;
    }
    for (; rank > 0; --rank)
        word &= word - 1;
    return first + std::countr_zero(word);
}

bool hasPopcnt()
{
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    static const bool supported = __builtin_cpu_supports("popcnt");
    return supported;
#else
    return false;
#endif
}

} // namespace

double SimulationTotals::percentReturn() const
{
    return gamesPlayed > 0 ? totalWinnings() * 100 / static_cast<double>(gamesPlayed) : 0;
}

bool SimulationNumbers::contains(int number) const
{
    if (number < 1 || number > kBoardNumbers)
        return false;
    return ((low & kBits.low[number - 1]) | (high & kBits.high[number - 1])) != 0;
}

void SimulationNumbers::insert(int number)
{
    if (number < 1 || number > kBoardNumbers)
        return;
    low |= kBits.low[number - 1];
    high |= kBits.high[number - 1];
}

int SimulationNumbers::count() const
{
    return countOf(low, high);
}

std::vector<int> SimulationNumbers::numbers() const
{
    std::vector<int> result;
    for (int n = 1; n <= kBoardNumbers; ++n)
        if (contains(n))
            result.push_back(n);
    return result;
}

std::optional<ReturnInterval> SimulatedReturnInterval(double returnPct, double standardDeviation,
                                                      std::int64_t games)
{
    if (games < kMinIntervalGames || !(standardDeviation >= 0) || !std::isfinite(returnPct))
        return std::nullopt;
    const double halfWidth = 1.96 * 100.0 * standardDeviation / std::sqrt(static_cast<double>(games));
    return ReturnInterval{std::max(0.0, returnPct - halfWidth), returnPct + halfWidth};
}

SimulationInput BuildSimulationInput(const KenoGame& game, const std::vector<int>& ticket, bool randomPicks,
                                     std::int64_t games)
{
    SimulationInput input;
    input.markedNumbers = ticket;
    input.randomPicks = randomPicks;
    if (randomPicks)
        for (std::size_t n = 0; n < input.markedNumbers.size(); ++n)
            input.markedNumbers[n] = static_cast<int>(n) + 1;
    const int marked = static_cast<int>(ticket.size());
    input.payPerCatch = game.simulationPays(marked);
    input.bonus = game.simulationBonus();
    input.kind = game.simulationKind();
    input.games = games;
    input.gameError = game.valueError();
    return input;
}

std::string CheckSimulationInput(const SimulationInput& input)
{
    if (!input.gameError.empty())
        return "This game cannot be simulated: " + input.gameError;
    const std::size_t marked = input.markedNumbers.size();
    if (marked < kMinMarks || marked > kMaxMarks)
        return "The ticket must hold 1 to 10 marked numbers.";
    SimulationNumbers seen;
    for (int number : input.markedNumbers) {
        if (number < 1 || number > kBoardNumbers)
            return "The marked numbers must lie between 1 and 80.";
        if (seen.contains(number))
            return "A number is marked twice on the ticket.";
        seen.insert(number);
    }
    if (input.games < 1 || input.games > kMaxSimulationGames)
        return "The number of games must lie between 1 and one billion.";
    const SimulationBonus& b = input.bonus;
    if (std::string error = BonusValuesError(b); !error.empty())
        return "This game cannot be simulated: " + error;
    if (b.FreeGames > kMaxSimulationFreeGames)
        return "The game awards more than 1000 free games.";
    return {};
}

SimulationGame::SimulationGame(const SimulationInput& input, pcg32 generator)
    : m_generator(generator), m_marked(static_cast<int>(input.markedNumbers.size())),
      m_randomPicks(input.randomPicks), m_rules(input.payPerCatch, input.bonus, input.kind),
      m_freeGames(m_rules.freeGames())
{
    for (int number : input.markedNumbers)
        m_ticket.insert(number);
    for (int i = 0; i < kBoardNumbers; ++i)
        m_deck[i] = static_cast<std::uint16_t>(i);
    m_plain = !m_randomPicks && !m_rules.hasBonusBall() && !m_rules.placesEggs();
}

// A whole number drawn uniformly from [0, bound): the high half of a 32 x 32-bit product,
// rejecting the few products that would favour some values (exact, almost never loops).
[[gnu::always_inline]] inline std::uint32_t SimulationGame::below(std::uint32_t bound)
{
    std::uint64_t product = std::uint64_t{m_generator()} * bound;
    auto low = static_cast<std::uint32_t>(product);
    if (low < bound) {
        const std::uint32_t threshold = (0u - bound) % bound;
        while (low < threshold) {
            product = std::uint64_t{m_generator()} * bound;
            low = static_cast<std::uint32_t>(product);
        }
    }
    return static_cast<std::uint32_t>(product >> 32);
}

// Four values drawn uniformly from [0, 80) out of one 32-bit output x: the same product
// method with the bound 80^4, whose result x * 80^4 / 2^32 is read as four base-80 digits, one
// multiplication each (nextDigit). Rejecting the outputs whose product leaves a low word below
// 2^32 mod 80^4 makes all 80^4 results equally likely.
[[gnu::always_inline]] inline std::uint32_t SimulationGame::fourDigitWord()
{
    constexpr std::uint32_t kBound = kBoardNumbers * kBoardNumbers * kBoardNumbers * kBoardNumbers;
    constexpr auto kThreshold = static_cast<std::uint32_t>((std::uint64_t{1} << 32) % kBound);
    for (;;) {
        const std::uint32_t x = m_generator();
        if (x * kBound >= kThreshold) // the low word of the product, modulo 2^32
            return x;
    }
}

// One position of a deal (below), its offset the next mixed-radix digit of x.
[[gnu::always_inline]] inline void SimulationGame::dealOne(int position, std::uint32_t& x,
                                                           SimulationNumbers& dealt)
{
    const std::uint64_t product = std::uint64_t{x} * static_cast<std::uint32_t>(kBoardNumbers - position);
    x = static_cast<std::uint32_t>(product);
    const auto other = position + static_cast<int>(product >> 32);
    const std::uint16_t number = m_deck[other];
    m_deck[other] = m_deck[position];
    m_deck[position] = number;
    dealt.low |= kBits.low[number];
    dealt.high |= kBits.high[number];
}

// Deals the deck's positions kFirst to kFirst + kCount - 1 as a Fisher-Yates shuffle does:
// each position takes the number at a uniformly drawn position from itself to the end, so the
// numbers dealt are drawn uniformly, in order, among those not dealt yet, whatever order the
// deck had. The kCount offsets come from one 32-bit output, read as mixed-radix digits in the
// manner of fourDigitWord, with the product of their ranges as the bound.
template <int kFirst, int kCount> [[gnu::always_inline]] inline SimulationNumbers SimulationGame::deal()
{
    constexpr std::uint32_t kBound = [] {
        std::uint32_t bound = 1;
        for (int k = 0; k < kCount; ++k)
            bound *= kBoardNumbers - kFirst - k;
        return bound;
    }();
    constexpr auto kThreshold = static_cast<std::uint32_t>((std::uint64_t{1} << 32) % kBound);
    std::uint32_t x;
    do
        x = m_generator();
    while (x * kBound < kThreshold);
    SimulationNumbers dealt;
    // Unrolled by hand: the compiler keeps everything in registers only when nothing is called.
    if constexpr (kCount > 0)
        dealOne(kFirst, x, dealt);
    if constexpr (kCount > 1)
        dealOne(kFirst + 1, x, dealt);
    if constexpr (kCount > 2)
        dealOne(kFirst + 2, x, dealt);
    if constexpr (kCount > 3)
        dealOne(kFirst + 3, x, dealt);
    static_assert(kCount >= 1 && kCount <= 4);
    return dealt;
}

// Twenty numbers dealt from the deck: a uniformly drawn set, whatever the previous games left.
[[gnu::always_inline]] inline SimulationNumbers SimulationGame::drawTwenty()
{
    // One deal after the other: each starts where the previous one stopped.
    SimulationNumbers drawn = deal<0, 4>();
    drawn = drawn | deal<4, 4>();
    drawn = drawn | deal<8, 4>();
    drawn = drawn | deal<12, 4>();
    return drawn | deal<16, 4>();
}

// `count` distinct numbers outside `excluded`, each drawn uniformly among the numbers still
// free: draws that fall on an excluded or already chosen number are drawn again.
SimulationNumbers SimulationGame::drawDistinct(int count, const SimulationNumbers& excluded)
{
    SimulationNumbers chosen;
    SimulationNumbers taken = excluded;
    while (count > 0) {
        std::uint32_t x = fourDigitWord();
        for (int k = 0; k < 4 && count > 0; ++k) {
            const std::uint32_t v = nextDigit(x);
            const SimulationNumbers bit{kBits.low[v], kBits.high[v]};
            if ((taken & bit) == SimulationNumbers{}) {
                taken = taken | bit;
                chosen = chosen | bit;
                --count;
            }
        }
    }
    return chosen;
}

template <bool kPlain>
[[gnu::always_inline]] inline int SimulationGame::playGame(double& bonusWinnings, std::int64_t& bonusEvents)
{
    if constexpr (kPlain) {
        m_drawn = drawTwenty();
        return countOf(m_ticket.low & m_drawn.low, m_ticket.high & m_drawn.high);
    } else {
        m_extraBalls = {};
        // A new ticket is a fresh uniform set of N numbers, as a shuffle of the marks gives.
        if (m_randomPicks)
            m_ticket = drawDistinct(m_marked, {});
        // The eggs: three different numbers, none on the ticket, placed before the draw.
        if (m_rules.placesEggs())
            m_eggs = drawDistinct(kCavemanEggs, m_ticket);
        m_bonusFlag = false;
        m_bonusBallNumber = 0;
        m_drawn = drawTwenty();
        int hits = countOf(m_ticket & m_drawn);
        int eggCatches = 0;
        bool bonusBallHit = false;
        if (m_rules.hasBonusBall()) {
            // The bonus ball is the r-th smallest drawn number, r a random rank.
            m_bonusBallNumber = nthSmallest(m_drawn, static_cast<int>(below(kDrawnBalls)));
            bonusBallHit = m_ticket.contains(m_bonusBallNumber);
        } else if (m_rules.countsEggs()) {
            eggCatches = countOf(m_eggs & m_drawn);
        }
        m_bonusFlag = m_rules.earnsBonus(bonusBallHit, eggCatches);
        if (m_rules.drawsExtraBalls(hits, eggCatches)) {
            // Drawn among the numbers not drawn; the extra balls leave the drawn numbers again
            // afterwards (m_drawn never holds them).
            m_extraBalls = deal<kDrawnBalls, kExtraBalls>(); // balls 21 to 23
            const SimulationNumbers balls = m_drawn | m_extraBalls;
            hits = countOf(m_ticket & balls);
            eggCatches = countOf(m_eggs & balls);
        }

        const SimulationSettlement settlement = m_rules.settle(hits, eggCatches, m_bonusFlag);
        switch (settlement.bonus) {
        case SimulationBonusPaid::None:
            break;
        case SimulationBonusPaid::FreeGames:
            // Each free game a new draw; the triggering game's own pay stays in the base winnings.
            ++bonusEvents;
            for (int i = 0; i < m_freeGames; ++i) {
                m_drawn = drawTwenty();
                bonusWinnings += m_rules.freeGameWin(countOf(m_ticket & m_drawn));
            }
            break;
        case SimulationBonusPaid::EggMultiplier:
            ++bonusEvents;
            [[fallthrough]];
        case SimulationBonusPaid::BonusFactor:
            bonusWinnings += m_rules.pays()[hits] * (settlement.multiplier - 1);
            break;
        }
        return hits;
    }
}

int SimulationGame::play(double& bonusWinnings, std::int64_t& bonusEvents)
{
    return m_plain ? playGame<true>(bonusWinnings, bonusEvents) : playGame<false>(bonusWinnings, bonusEvents);
}

template <bool kPlain>
[[gnu::always_inline]] inline void
SimulationGame::playGamesImpl(std::int64_t games, std::uint32_t* catchCounts, double& bonusWinnings,
                              std::int64_t& bonusEvents)
{
    for (std::int64_t g = 0; g < games; ++g)
        ++catchCounts[playGame<kPlain>(bonusWinnings, bonusEvents)];
}

void SimulationGame::playGamesDefault(std::int64_t games, std::uint32_t* catchCounts, double& bonusWinnings,
                                      std::int64_t& bonusEvents)
{
    if (m_plain)
        playGamesImpl<true>(games, catchCounts, bonusWinnings, bonusEvents);
    else
        playGamesImpl<false>(games, catchCounts, bonusWinnings, bonusEvents);
}

// The same loop compiled for processors with a population-count instruction (nearly all
// x86-64 processors since 2008), chosen at run time.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
__attribute__((target("popcnt")))
#endif
void SimulationGame::playGamesPopcnt(std::int64_t games, std::uint32_t* catchCounts, double& bonusWinnings,
                                     std::int64_t& bonusEvents)
{
    if (m_plain)
        playGamesImpl<true>(games, catchCounts, bonusWinnings, bonusEvents);
    else
        playGamesImpl<false>(games, catchCounts, bonusWinnings, bonusEvents);
}

void SimulationGame::playGames(std::int64_t games, std::uint32_t* catchCounts, double& bonusWinnings,
                               std::int64_t& bonusEvents)
{
    if (hasPopcnt())
        playGamesPopcnt(games, catchCounts, bonusWinnings, bonusEvents);
    else
        playGamesDefault(games, catchCounts, bonusWinnings, bonusEvents);
}

namespace {

// What one block of kProgressGames games (the last one may be shorter) added to the totals,
// counted from zero so that blocks can be played in any order and merged in theirs.
struct BlockRecord
{
    std::array<std::uint32_t, kMaxMarks + 1> catchCounts{};
    double bonusWinnings = 0;
    std::int64_t bonusEvents = 0;
    SimulationNumbers eggs; // of the block's last game
};

class Run
{
public:
    explicit Run(const SimulationInput& input)
        : m_input(input), m_games(input.games), m_blocks((m_games + kProgressGames - 1) / kProgressGames),
          m_chunks((m_games + kChunkGames - 1) / kChunkGames), m_records(m_blocks),
          m_sessions(std::min(m_games / kSessionGames, kMaxSessions)), m_sessionBase(m_sessions + 1),
          m_sessionBonus(m_sessions + 1)
    {
    }

    SimulationResult run(const SimulationProgress& progress, const std::atomic<bool>* stop);

private:
    std::int64_t chunkGames(std::int64_t chunk) const
    {
        return std::min(kChunkGames, m_games - chunk * kChunkGames);
    }
    std::int64_t baseWinnings(const std::array<std::uint32_t, kMaxMarks + 1>& counts) const
    {
        std::int64_t sum = 0;
        for (int c = 0; c <= kMaxMarks; ++c)
            sum += std::int64_t{m_input.payPerCatch[c]} * counts[c];
        return sum;
    }
    void playChunk(std::int64_t chunk);
    // Adds block b to the result; false when the run ends there.
    bool mergeBlock(std::int64_t block, SimulationResult& result, const SimulationProgress& progress,
                    const std::atomic<bool>* stop);

    const SimulationInput& m_input;
    const std::int64_t m_games, m_blocks, m_chunks;
    std::vector<BlockRecord> m_records;
    // For session s: the base and bonus winnings of its block up to game 100 s.
    const std::int64_t m_sessions;
    std::vector<std::int64_t> m_sessionBase;
    std::vector<double> m_sessionBonus;
};

void Run::playChunk(std::int64_t chunk)
{
    SimulationGame game(m_input, ChunkGenerator(m_input.seed, static_cast<std::uint64_t>(chunk)));
    const std::int64_t first = chunk * kChunkGames;
    const std::int64_t end = first + chunkGames(chunk);
    for (std::int64_t blockStart = first; blockStart < end; blockStart += kProgressGames) {
        BlockRecord& record = m_records[blockStart / kProgressGames];
        const std::int64_t blockEnd = std::min(blockStart + kProgressGames, end);
        // Blocks start at multiples of 100 games, so each stretch ends on a session boundary
        // or at the run's last game.
        for (std::int64_t g = blockStart; g < blockEnd;) {
            const std::int64_t stretch = std::min(kSessionGames, blockEnd - g);
            game.playGames(stretch, record.catchCounts.data(), record.bonusWinnings, record.bonusEvents);
            g += stretch;
            const std::int64_t session = g / kSessionGames;
            if (g % kSessionGames == 0 && session <= m_sessions) {
                m_sessionBase[session] = baseWinnings(record.catchCounts);
                m_sessionBonus[session] = record.bonusWinnings;
            }
        }
        record.eggs = game.eggs();
    }
}

bool Run::mergeBlock(std::int64_t block, SimulationResult& result, const SimulationProgress& progress,
                     const std::atomic<bool>* stop)
{
    const BlockRecord& record = m_records[block];
    const std::int64_t blockStart = block * kProgressGames;
    const std::int64_t blockEnd = std::min(blockStart + kProgressGames, m_games);
    const std::int64_t lastSession = std::min(blockEnd / kSessionGames, m_sessions);
    for (std::int64_t s = blockStart / kSessionGames + 1; s <= lastSession; ++s) {
        const double total = static_cast<double>(result.baseWinnings + m_sessionBase[s]) +
                             (result.bonusWinnings + m_sessionBonus[s]);
        const std::optional<std::int64_t> logged = ToInt64(total);
        if (!logged) {
            // Only free games of huge pays at huge factors get here, after millions of games.
            result.error = "The winnings grew beyond 9,223,372,036,854,775,807 credits, more than a "
                           "session total can hold; the run stopped at game " +
                           std::to_string(blockStart) + ".";
            result.stopped = true;
            return false;
        }
        result.sessionLog[s] = *logged;
    }
    for (int c = 0; c <= kMaxMarks; ++c)
        result.catchFrequency[c] += record.catchCounts[c];
    result.baseWinnings += baseWinnings(record.catchCounts);
    result.bonusWinnings += record.bonusWinnings;
    result.bonusEvents += record.bonusEvents;
    result.gamesPlayed = blockEnd;
    const std::vector<int> eggs = record.eggs.numbers();
    result.lastEggs = {};
    std::copy_n(eggs.begin(), std::min<std::size_t>(eggs.size(), kCavemanEggs), result.lastEggs.begin());
    if (progress)
        progress(result);
    if (blockEnd < m_games && stop && stop->load()) {
        result.stopped = true;
        return false;
    }
    return true;
}

SimulationResult Run::run(const SimulationProgress& progress, const std::atomic<bool>* stop)
{
    SimulationResult result;
    result.sessionLog.assign(m_sessions + 1, 0);
    const std::int64_t blocksPerChunk = kChunkGames / kProgressGames;
    auto mergeChunk = [&](std::int64_t chunk) {
        const std::int64_t endBlock = std::min((chunk + 1) * blocksPerChunk, m_blocks);
        for (std::int64_t b = chunk * blocksPerChunk; b < endBlock; ++b)
            if (!mergeBlock(b, result, progress, stop))
                return false;
        return true;
    };

    PlayChunksInOrder(
        m_chunks, m_input.threads, [this](std::int64_t chunk) { playChunk(chunk); }, mergeChunk);
    result.sessionLog.resize(std::min(result.gamesPlayed / kSessionGames, kMaxSessions) + 1);
    return result;
}

} // namespace

SimulationResult RunSimulation(const SimulationInput& input, const SimulationProgress& progress,
                               const std::atomic<bool>* stop)
{
    SimulationResult result;
    result.error = CheckSimulationInput(input);
    if (!result.error.empty())
        return result;
    return Run(input).run(progress, stop);
}

} // namespace tallyhawk
