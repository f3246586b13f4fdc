// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The exact method: the distribution of the credits, carried from game to game.
//
// The credits live on a lattice, start + unit x i, unit being the greatest common divisor of the
// play's net wins (at a bet of 5 with whole pays the credits move in fives), and only a window of
// it is kept. Below the window lie the credits under the floor: a session that lands there is
// ruined. Above it lie the target's credits, or without a target the credits from which no
// session can be ruined in the games left: those sessions play every game and end at tailFrom or
// more, and are only counted. What leaves the window is counted as it leaves; where it lands is
// found at the end from how often the walk stood on each point, as a play's outcome does not
// depend on the credits.
//
// A session that has not caught c yet catches it in its next play with the same chance h, so the
// chance of catching c at least once is h times the expected number of games played before the
// first c; the same walk, stepped only with the plays that miss c, gives that expectation.

#include "creditwalk.h"
#include "sessionplanner.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <functional>
#include <limits>
#include <mutex>
#include <numeric>
#include <system_error>
#include <thread>

namespace tallyhawk {

namespace {

// The most memory that the whole end distribution may take without a target.
constexpr double kFullDistributionBytes = 64.0 * 1024 * 1024;
constexpr std::int64_t kDenseEnds = std::int64_t{1} << 22;

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return a % b != 0 && (a < 0) != (b < 0) ? q - 1 : q;
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b)
{
    return -floorDiv(-a, b);
}

// Ends above the window are gathered in an array up to the largest shift of at most
// kDenseEnds points, the farther ones one by one.
std::int64_t nearAbove(const std::vector<std::int64_t>& shifts)
{
    std::int64_t near = 0;
    for (std::int64_t d : shifts)
        if (d <= kDenseEnds)
            near = std::max(near, d);
    return near;
}

struct Window
{
    std::int64_t unit = 1;
    std::int64_t low = 0;             // lattice index of the window's first point; the start is 0
    std::int64_t top = 1;             // one past its last point
    std::vector<std::int64_t> shifts; // per atom of the step: (win - bet) / unit
    std::optional<std::int64_t> tailFrom;

    std::int64_t width() const { return top - low; }
};

ExactPlanCost costOf(const Window& w, const PlanStep& step, const SessionPlan& plan)
{
    const std::int64_t width = w.width();
    // Per atom, the most points it moves within the window in one game.
    std::vector<double> runs;
    std::int64_t up = 0, down = 0;
    for (std::int64_t d : w.shifts) {
        if (std::abs(d) >= width)
            continue;
        runs.push_back(static_cast<double>(width - std::abs(d)));
        up = std::max(up, d);
        down = std::min(down, d);
    }
    std::sort(runs.begin(), runs.end());
    std::vector<double> sums(runs.size() + 1);
    std::partial_sum(runs.begin(), runs.end(), sums.begin() + 1);
    // A game over a support of `points` points: the moves of every atom, and four passes over it.
    auto gameWork = [&](double points) {
        const auto shorter = std::lower_bound(runs.begin(), runs.end(), points) - runs.begin();
        return sums[shorter] + points * static_cast<double>(runs.size() - shorter) + 4 * points;
    };
    double work = 0;
    for (std::int64_t n = 0; n < plan.games; ++n) {
        const double points = 1 + static_cast<double>(n) * static_cast<double>(up - down);
        if (points >= static_cast<double>(width)) {
            work += static_cast<double>(plan.games - n) * gameWork(static_cast<double>(width));
            break;
        }
        work += gameWork(points);
    }
    const auto walks = 1 + static_cast<double>(std::count(step.tracked.begin(), step.tracked.end(), true));
    work *= walks;
    // Where the sessions that left the window landed, once at the end (see endCreditsOf).
    double ends = 0;
    double endBytes = static_cast<double>(plan.target ? nearAbove(w.shifts) : 0) * sizeof(double);
    for (std::int64_t d : w.shifts) {
        if (d > 0 && !plan.target)
            continue;
        ends += static_cast<double>(std::min(std::abs(d), width));
        endBytes += d < 0            ? sizeof(double)
                    : d > kDenseEnds ? static_cast<double>(std::min(d, width)) * 16
                                     : 0;
    }
    // Three arrays a walk and the occupancy.
    const double bytes = static_cast<double>(width) * sizeof(double) * (3 * walks + 1) + endBytes;
    return {work + ends, bytes};
}

Window windowOf(const PlanStep& step, const SessionPlan& plan, double fullDistributionWork)
{
    Window w;
    std::int64_t unit = 0;
    for (const WinAtom& atom : step.win.atoms)
        unit = std::gcd(unit, atom.win - plan.bet);
    w.unit = std::max<std::int64_t>(unit, 1);
    for (const WinAtom& atom : step.win.atoms)
        w.shifts.push_back((atom.win - plan.bet) / w.unit);
    const auto [lowest, highest] = std::minmax_element(w.shifts.begin(), w.shifts.end());
    const std::int64_t games = plan.games;
    const std::int64_t floor = std::max<std::int64_t>(plan.bet, plan.floor.value_or(0));
    // Credits that the plan's games cannot reach need no room.
    const std::int64_t reach = std::max<std::int64_t>(games * *highest + 1, 1);
    w.low = std::max(ceilDiv(floor - plan.credits, w.unit), std::min<std::int64_t>(0, games * *lowest));
    w.top = reach;
    if (plan.target) {
        w.top = std::max<std::int64_t>(std::min(ceilDiv(*plan.target - plan.credits, w.unit), reach), 1);
        return w;
    }
    if (const ExactPlanCost full = costOf(w, step, plan);
        full.work <= fullDistributionWork && full.bytes <= kFullDistributionBytes)
        return w;
    // A session that ends above its start was never stopped: it ends at the start plus the net
    // wins of every game. Cantelli's inequality bounds the chance that this sum passes its mean
    // by t: V / (V + t^2), 1/20 at t^2 = 19 V.
    const long double drift = static_cast<long double>(games) * (step.win.mean() - plan.bet);
    const long double spread = std::sqrt(20 * static_cast<long double>(games) * step.win.variance());
    const std::int64_t tailFrom =
        plan.credits + static_cast<std::int64_t>(std::ceil(std::max(drift + spread, 0.0L))) + 1;
    // From here on no session can be ruined before its last game.
    const std::int64_t safe = ceilDiv(tailFrom + games * plan.bet - plan.credits, w.unit);
    if (safe < reach) {
        w.top = safe;
        w.tailFrom = tailFrom;
    }
    return w;
}

PlanValue exactly(double value)
{
    return {value, value, value};
}

// The probabilities of `part`, a part of `whole` on some of its wins, aligned with whole's atoms.
std::vector<double> alignedProbabilities(const WinDistribution& whole, const WinDistribution& part)
{
    std::vector<double> aligned(whole.atoms.size());
    auto it = part.atoms.begin();
    for (std::size_t k = 0; k < whole.atoms.size() && it != part.atoms.end(); ++k) {
        if (it->win == whole.atoms[k].win)
            aligned[k] = static_cast<double>((it++)->probability);
    }
    return aligned;
}

// The chance of catching with chance h at least once in `games` plays.
double atLeastOnce(long double h, std::int64_t games)
{
    if (games <= 0 || h <= 0)
        return 0;
    if (h >= 1)
        return 1;
    return static_cast<double>(-std::expm1(static_cast<long double>(games) * std::log1p(-h)));
}

// Where the sessions ended: below the window and above it (from the occupancy), and in it.
std::vector<CreditAtom> endCreditsOf(const Window& w, const CreditWalk& walk,
                                     const std::vector<double>& probability, const SessionPlan& plan)
{
    const std::vector<double>& occupancy = walk.occupancy();
    const std::vector<double>& mass = walk.mass();
    const std::int64_t width = w.width();
    // Points below the window from `lowest` to -1; above it from width on, the far ones apart.
    const std::int64_t lowest =
        std::min<std::int64_t>(*std::min_element(w.shifts.begin(), w.shifts.end()), 0);
    std::vector<double> below(static_cast<std::size_t>(-lowest));
    std::vector<double> above(static_cast<std::size_t>(plan.target ? nearAbove(w.shifts) : 0));
    std::vector<std::pair<std::int64_t, double>> far;
    for (std::size_t k = 0; k < w.shifts.size(); ++k) {
        const std::int64_t d = w.shifts[k];
        if (d < 0) {
            for (std::int64_t j = 0; j < std::min(width, -d); ++j)
                below[static_cast<std::size_t>(j + d - lowest)] +=
                    occupancy[static_cast<std::size_t>(j)] * probability[k];
        } else if (d > 0 && plan.target) {
            for (std::int64_t j = std::max<std::int64_t>(0, width - d); j < width; ++j) {
                const std::int64_t offset = j + d - width;
                const double p = occupancy[static_cast<std::size_t>(j)] * probability[k];
                if (offset < std::ssize(above))
                    above[static_cast<std::size_t>(offset)] += p;
                else if (p > 0)
                    far.push_back({offset, p});
            }
        }
    }
    std::sort(far.begin(), far.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

    std::vector<CreditAtom> atoms;
    auto add = [&](std::int64_t point, double p) {
        const std::int64_t credits = plan.credits + (w.low + point) * w.unit;
        if (!atoms.empty() && atoms.back().credits == credits)
            atoms.back().probability += p;
        else if (p > 0)
            atoms.push_back({credits, p});
    };
    for (std::size_t i = 0; i < below.size(); ++i)
        add(static_cast<std::int64_t>(i) + lowest, below[i]);
    for (std::int64_t j = 0; j < width; ++j)
        add(j, mass[static_cast<std::size_t>(j)]);
    for (std::size_t o = 0; o < above.size(); ++o)
        add(width + static_cast<std::int64_t>(o), above[o]);
    for (const auto& [offset, p] : far)
        add(width + offset, p);
    return atoms;
}

// The figures of the end credits: against the start, and the points of kEndCreditLevels.
void endCreditFigures(SessionPlanResult& r, std::int64_t start)
{
    double behind = 0, even = 0, total = r.tailProbability;
    for (const CreditAtom& atom : r.endCredits) {
        total += atom.probability;
        if (atom.credits < start)
            behind += atom.probability;
        else if (atom.credits == start)
            even += atom.probability;
    }
    r.behind = exactly(behind);
    r.even = exactly(even);
    r.ahead = exactly(std::max(0.0, total - behind - even));
    for (std::size_t i = 0; i < kEndCreditLevels.size(); ++i) {
        // A point that falls into the tail is only known to lie in it.
        PlanValue point{static_cast<double>(r.tailFrom), static_cast<double>(r.tailFrom),
                        std::numeric_limits<double>::infinity()};
        double cumulative = 0;
        for (const CreditAtom& atom : r.endCredits) {
            cumulative += atom.probability;
            // Rounding must not move a point past a chance that is exactly the level.
            if (cumulative >= kEndCreditLevels[i] - 1e-12) {
                point = exactly(static_cast<double>(atom.credits));
                break;
            }
        }
        r.endCreditPoints[i] = point;
    }
}

// The games stepped by all walks, and whether the work must end.
class WalkControl
{
public:
    WalkControl(std::int64_t games, const std::atomic<bool>* stop) : m_games(games), m_stop(stop) {}

    // After each game of a walk: false when the walk must end.
    bool stepped()
    {
        m_stepped.fetch_add(1, std::memory_order_relaxed);
        return !stopped();
    }
    bool stopped() const { return m_abandon.load() || (m_stop && m_stop->load()); }
    void abandon() { m_abandon = true; }
    double done() const { return static_cast<double>(m_stepped.load()) / static_cast<double>(m_games); }

private:
    const std::int64_t m_games;
    const std::atomic<bool>* m_stop;
    std::atomic<std::int64_t> m_stepped{0};
    std::atomic<bool> m_abandon{false};
};

struct WholeWalk
{
    explicit WholeWalk(CreditWalk w) : walk(std::move(w)) {}

    CreditWalk walk;
    std::vector<PlanValue> stillPlaying;
    long double expectedGames = 0, ruined = 0, above = 0;
};

struct MissingWalk
{
    MissingWalk(int catchNumber, long double chance, CreditWalk w)
        : c(catchNumber), catchChance(chance), walk(std::move(w))
    {
    }

    int c;
    long double catchChance; // of one play
    CreditWalk walk;
    long double gamesBefore = 0; // expected games played before the first c
    long double caughtLater = 0; // by sessions that left the window upwards without a target
};

void walkWhole(WholeWalk& w, const SessionPlan& plan, WalkControl& control,
               const std::function<void()>& afterGame)
{
    w.stillPlaying.assign(static_cast<std::size_t>(plan.games + 1), {});
    w.stillPlaying[0] = exactly(1);
    for (std::int64_t n = 0; n < plan.games; ++n) {
        w.expectedGames += w.stillPlaying[static_cast<std::size_t>(n)].value;
        const CreditWalk::Moves moves = w.walk.step();
        w.ruined += moves.below;
        w.above += moves.above;
        w.stillPlaying[static_cast<std::size_t>(n + 1)] =
            exactly(static_cast<double>(moves.after + (plan.target ? 0 : w.above)));
        afterGame();
        if (!control.stepped())
            return;
    }
}

void walkMissing(MissingWalk& m, const SessionPlan& plan, WalkControl& control,
                 const std::function<void()>& afterGame)
{
    for (std::int64_t n = 0; n < plan.games; ++n) {
        const CreditWalk::Moves moves = m.walk.step();
        m.gamesBefore += moves.before;
        if (!plan.target)
            m.caughtLater += moves.above * atLeastOnce(m.catchChance, plan.games - n - 1);
        afterGame();
        if (!control.stepped())
            return;
    }
}

// Runs the walks on up to `threads` threads, the calling thread among them; `report` runs on the
// calling thread after each of its games and while it waits for the others.
void runWalks(const std::vector<std::function<void(const std::function<void()>&)>>& walks, int threads,
              const std::function<void()>& report, WalkControl& control)
{
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable walkDone;
    std::size_t finished = 0; // guarded by mutex
    auto work = [&](const std::function<void()>& afterGame) {
        for (std::size_t i = next++; i < walks.size(); i = next++) {
            if (!control.stopped())
                walks[i](afterGame);
            {
                std::lock_guard lock(mutex);
                ++finished;
            }
            walkDone.notify_all();
        }
    };
    std::vector<std::thread> workers;
    // Ends the workers however the calling thread leaves, a throwing progress report included.
    struct Joiner
    {
        WalkControl& control;
        std::vector<std::thread>& workers;
        ~Joiner()
        {
            if (std::uncaught_exceptions() > 0)
                control.abandon();
            for (std::thread& worker : workers)
                worker.join();
        }
    } joiner{control, workers};
    try {
        for (std::size_t t = 1;
             t < std::min<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)), walks.size()); ++t)
            workers.emplace_back([&] { work([] {}); });
    } catch (const std::system_error&) {
        // Fewer threads than asked: those that started share the walks.
    }
    work(report);
    for (;;) {
        {
            std::unique_lock lock(mutex);
            if (walkDone.wait_for(lock, std::chrono::milliseconds(50),
                                  [&] { return finished == walks.size(); }))
                break;
        }
        report();
    }
    report();
}

} // namespace

ExactPlanCost ExactPlanCostOf(const PlanStep& step, const SessionPlan& plan, const PlanOptions& options)
{
    if (!CheckPlanAndStep(step, plan).empty())
        return {};
    return costOf(windowOf(step, plan, options.fullDistributionWork), step, plan);
}

SessionPlanResult PlanSessionExactly(const PlanStep& step, const SessionPlan& plan,
                                     const PlanOptions& options, const PlanProgress& progress,
                                     const std::atomic<bool>* stop)
{
    SessionPlanResult result;
    result.method = PlanMethod::Exact;
    result.error = CheckPlanAndStep(step, plan);
    if (!result.error.empty())
        return result;
    const Window window = windowOf(step, plan, options.fullDistributionWork);
    result.exactCost = costOf(window, step, plan);
    if (result.exactCost.bytes > options.exactMemoryLimit) {
        result.error = "The plan needs too much memory to be worked out exactly.";
        return result;
    }

    std::vector<double> probability;
    for (const WinAtom& atom : step.win.atoms)
        probability.push_back(static_cast<double>(atom.probability));
    auto walkOf = [&](std::vector<double> p, bool keepOccupancy) {
        return CreditWalk(window.width(), -window.low, window.shifts, std::move(p), keepOccupancy);
    };
    WholeWalk whole(walkOf(probability, true));
    std::vector<MissingWalk> missing;
    for (int c = 0; c <= kMaxMarks; ++c) {
        if (!step.tracked[c])
            continue;
        long double miss = 0;
        for (const WinAtom& atom : step.winMissing[c].atoms)
            miss += atom.probability;
        missing.emplace_back(c, 1 - miss, walkOf(alignedProbabilities(step.win, step.winMissing[c]), false));
    }

    // The walks are independent: each on a thread of its own while threads last.
    WalkControl control(plan.games * static_cast<std::int64_t>(1 + missing.size()), stop);
    std::vector<std::function<void(const std::function<void()>&)>> walks;
    walks.push_back(
        [&](const std::function<void()>& afterGame) { walkWhole(whole, plan, control, afterGame); });
    for (MissingWalk& m : missing)
        walks.push_back(
            [&](const std::function<void()>& afterGame) { walkMissing(m, plan, control, afterGame); });
    std::int64_t reported = -1;
    auto report = [&] {
        if (control.stopped())
            return;
        const auto percent = static_cast<std::int64_t>(100 * control.done());
        if (progress && percent != reported) {
            reported = percent;
            progress(control.done());
        }
    };
    const int threads =
        options.threads > 0 ? options.threads : static_cast<int>(std::thread::hardware_concurrency());
    runWalks(walks, threads, report, control);
    if (control.stopped()) {
        result.stopped = true;
        return result;
    }

    result.ruined = exactly(static_cast<double>(whole.ruined));
    result.targetReached = exactly(plan.target ? static_cast<double>(whole.above) : 0);
    result.allGamesPlayed = whole.stillPlaying.back();
    result.expectedGames = exactly(static_cast<double>(whole.expectedGames));
    // Every play adds its net win whether or not it was the last (Wald's identity).
    result.meanEndCredits = exactly(static_cast<double>(static_cast<long double>(plan.credits) +
                                                        (step.win.mean() - plan.bet) * whole.expectedGames));
    result.stillPlaying = std::move(whole.stillPlaying);

    std::vector<CreditAtom> ends = endCreditsOf(window, whole.walk, probability, plan);
    if (window.tailFrom) {
        result.tailFrom = *window.tailFrom;
        result.tailProbability = static_cast<double>(whole.above);
        while (!ends.empty() && ends.back().credits >= result.tailFrom) {
            result.tailProbability += ends.back().probability;
            ends.pop_back();
        }
    } else {
        result.tailFrom = ends.empty() ? plan.credits : ends.back().credits + 1;
    }
    result.endCredits = std::move(ends);
    endCreditFigures(result, plan.credits);

    for (const MissingWalk& m : missing)
        result.catchAtLeastOnce[m.c] =
            exactly(std::min(1.0, static_cast<double>(m.catchChance * m.gamesBefore + m.caughtLater)));
    return result;
}

} // namespace tallyhawk
