// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/planner/sessionplanner.h"
#include "engine/play/deck.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>

using namespace tallyhawk;

namespace {

// Five spots paying from two catches up; the 20th ball on a marked number starts 4 free games at 2x.
const ExactGame kFiveWithFreeGames{5, {0, 0, 1, 3, 15, 300}, {20, 4, 2}, {}, {}, {}, ""};

using Play = std::pair<std::int64_t, unsigned>; // a play's win and the catches it made, as bits
using Plays = std::map<Play, long double>;

// A session's figures as the test counts them: path by path, each with its chance, or session
// by session, each counting one.
struct Tally
{
    SessionPlan plan;
    long double sessions = 0, ruined = 0, target = 0, credits = 0, creditSquares = 0, games = 0,
                gameSquares = 0;
    std::vector<long double> stillPlaying; // entry n: still playing after n games
    std::map<std::int64_t, long double> ends;
    std::array<long double, kMaxMarks + 1> caught{};

    explicit Tally(const SessionPlan& p) : plan(p), stillPlaying(static_cast<std::size_t>(p.games + 1)) {}
    bool ruins(std::int64_t c) const { return c < std::max<std::int64_t>(plan.bet, plan.floor.value_or(0)); }
    bool reaches(std::int64_t c) const { return plan.target && c >= *plan.target; }
    void end(std::int64_t c, std::int64_t n, unsigned catches, long double p)
    {
        sessions += p;
        ruined += ruins(c) ? p : 0;
        target += reaches(c) ? p : 0;
        credits += c * p;
        creditSquares += static_cast<long double>(c) * c * p;
        games += n * p;
        gameSquares += static_cast<long double>(n) * n * p;
        for (std::int64_t k = 0; k <= n; ++k)
            stillPlaying[static_cast<std::size_t>(k)] += k < n || !(ruins(c) || reaches(c)) ? p : 0;
        ends[c] += p;
        for (int k = 0; k <= kMaxMarks; ++k)
            caught[k] += (catches >> k & 1) ? p : 0;
    }
    // Every path of a session whose plays are drawn from `plays`.
    void everyPath(const Plays& plays, std::int64_t c, std::int64_t n = 0, unsigned catches = 0,
                   long double p = 1)
    {
        if (ruins(c) || reaches(c) || n == plan.games)
            return end(c, n, catches, p);
        for (const auto& [play, q] : plays)
            everyPath(plays, c - plan.bet + play.first, n + 1, catches | play.second, p * q);
    }
};

// The planner's figures against the tally's: to rounding, or for sessions counted one by one
// within four standard errors.
void expectFigures(const SessionPlanResult& r, const Tally& t, bool sampled)
{
    ASSERT_TRUE(r.ok()) << r.error;
    const long double n = t.sessions;
    auto chance = [&](double exact, long double count, const std::string& figure) {
        const double error = std::sqrt(std::max(exact * (1 - exact), 1e-6) / static_cast<double>(n));
        EXPECT_NEAR(static_cast<double>(count / n), exact, sampled ? 4 * error : 1e-13) << figure;
    };
    auto mean = [&](double exact, long double sum, long double squares, const char* figure) {
        const long double m = sum / n;
        const auto error = static_cast<double>(std::sqrt((squares / n - m * m) / n));
        EXPECT_NEAR(static_cast<double>(m), exact, sampled ? 4 * error : 1e-11) << figure;
    };
    chance(r.ruined.value, t.ruined, "ruined");
    chance(r.targetReached.value, t.target, "target");
    chance(r.allGamesPlayed.value, t.stillPlaying.back(), "all games");
    for (std::size_t k = 0; k < t.stillPlaying.size(); k += sampled ? 20 : 1)
        chance(r.stillPlaying[k].value, t.stillPlaying[k], "still playing after " + std::to_string(k));
    for (int c = 0; c <= kMaxMarks; ++c)
        if (r.catchAtLeastOnce[c])
            chance(r.catchAtLeastOnce[c]->value, t.caught[c], "catch " + std::to_string(c));
    mean(r.meanEndCredits.value, t.credits, t.creditSquares, "end credits");
    mean(r.expectedGames.value, t.games, t.gameSquares, "games");
}

// The end credits below the result's tail as atoms, the chance of the tail, and the points of
// the end credits.
void expectSameEnds(const SessionPlanResult& r, const std::map<std::int64_t, long double>& ends,
                    double tolerance)
{
    auto it = r.endCredits.begin();
    double tail = 0;
    long double cumulative = 0;
    std::size_t point = 0;
    for (const auto& [credits, p] : ends) {
        for (cumulative += p; point < kEndCreditLevels.size() && cumulative >= kEndCreditLevels[point];
             ++point)
            EXPECT_EQ(r.endCreditPoints[point].value, credits) << kEndCreditLevels[point];
        if (credits >= r.tailFrom) {
            tail += static_cast<double>(p);
            continue;
        }
        ASSERT_NE(it, r.endCredits.end()) << credits;
        EXPECT_EQ(it->credits, credits);
        EXPECT_NEAR(it->probability, static_cast<double>(p), tolerance) << credits;
        ++it;
    }
    EXPECT_EQ(it, r.endCredits.end());
    EXPECT_NEAR(r.tailProbability, tail, tolerance);
}

} // namespace

TEST(SessionPlanner, RefusesPlansItCannotFollow)
{
    const SessionPlan good{2, 100, 50, 200, 20};
    const std::pair<SessionPlan, const char*> cases[] = {
        {{5, 4, 50, {}, {}}, "The starting credits must cover the bet."},
        {{2, 100, 50, 100, {}}, "The target must be above the starting credits."},
        {{2, 100, 50, {}, 101}, "The floor must not be above the starting credits."}};
    EXPECT_EQ(CheckSessionPlan(good), "");
    for (const auto& [plan, message] : cases)
        EXPECT_EQ(CheckSessionPlan(plan), message);
    EXPECT_EQ(PlanSession(BoardPlanStep(kFiveWithFreeGames, 3), good).error,
              "The play was worked out for another bet.");
}

// Figures worked out by hand for a coin-toss game: one number marked of four, two drawn, paying 2
// for the catch at a bet of 1, so each play moves the credits one up or one down, each with
// chance 1/2. Exact, and simulated within four standard errors.
TEST(SessionPlanner, ACoinTossPlanEndsAheadEvenOrBehindAsWorkedOutByHand)
{
    const PlanStep step = BoardPlanStep(ExactGame{1, {0, 2}, {}, {}, {}, {}, ""}, 1, {4, 2});
    ASSERT_TRUE(step.ok()) << step.error;
    const struct
    {
        SessionPlan plan;
        double ruined, target, allGames, ahead, even, behind, mean, games;
    } cases[] = {
        // 2 -> 3 -> 4 or 2; 2 -> 1 -> 2 or 0 (ruined): ends 4, 2, 2, 0.
        {{1, 2, 2, {}, {}}, 0.25, 0, 0.75, 0.25, 0.5, 0.25, 2, 2},
        // With a target of 4: 2 -> 3 -> 4 stops after two games; 2 -> 3 -> 2 -> 3 or 1;
        // 2 -> 1 -> 2 -> 3 or 1; 2 -> 1 -> 0 is ruined after two.
        {{1, 2, 3, 4, {}}, 0.25, 0.25, 0.5, 0.5, 0, 0.5, 2, 2.5},
        // A floor of 2 from 3 credits: 3 -> 4 -> 5 or 3; 3 -> 2 -> 3 or 1 (below the floor).
        {{1, 3, 2, {}, 2}, 0.25, 0, 0.75, 0.25, 0.5, 0.25, 3, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.plan.credits << " credits, " << c.plan.games << " games");
        for (const bool simulated : {false, true}) {
            SCOPED_TRACE(simulated ? "simulated" : "exact");
            const PlanOptions options{.sessions = 40000, .seed = 12};
            const SessionPlanResult r =
                simulated ? PlanSessionBySimulation(step, c.plan, options) : PlanSessionExactly(step, c.plan);
            ASSERT_TRUE(r.ok()) << r.error;
            auto expectChance = [&](const PlanValue& figure, double hand, const char* name) {
                const double tolerance =
                    simulated ? 4 * std::sqrt(std::max(hand * (1 - hand), 1e-6) / 40000) : 1e-14;
                EXPECT_NEAR(figure.value, hand, tolerance) << name;
            };
            expectChance(r.ruined, c.ruined, "ruined");
            expectChance(r.targetReached, c.target, "target reached");
            expectChance(r.allGamesPlayed, c.allGames, "every game played");
            expectChance(r.ahead, c.ahead, "ahead");
            expectChance(r.even, c.even, "even");
            expectChance(r.behind, c.behind, "behind");
            // A value within a range of width w has a standard deviation of at most w / 2.
            auto meanTolerance = [&](double width) {
                return simulated ? 4 * width / 2 / std::sqrt(40000) : 1e-12;
            };
            const auto games = static_cast<double>(c.plan.games);
            EXPECT_NEAR(r.meanEndCredits.value, c.mean,
                        meanTolerance(static_cast<double>(c.plan.credits) + games));
            EXPECT_NEAR(r.expectedGames.value, c.games, meanTolerance(games));
        }
    }
}

TEST(SessionPlanner, WithoutStopRulesTheEndIsTheSumOfEveryPlay)
{
    // Credits enough that no game can ruin the session: the end credits are the start less the
    // bets plus the sum of every play, convolved one play at a time here.
    const SessionPlan plan{3, 39, 12, {}, {}};
    const PlanStep step =
        BoardPlanStep(ExactGame{5, {0, 0, 0, 1, 10, 800}, {20, 0, 8}, {}, {}, {}, ""}, plan.bet);
    std::map<std::int64_t, long double> sum{{plan.credits, 1.0L}};
    for (int g = 0; g < plan.games; ++g) {
        std::map<std::int64_t, long double> next;
        for (const auto& [credits, p] : sum)
            for (const WinAtom& atom : step.win.atoms)
                next[credits - plan.bet + atom.win] += p * atom.probability;
        sum = next;
    }
    for (const bool full : {true, false}) { // the whole distribution, or cut where at most 5 % lies above
        const SessionPlanResult r = PlanSessionExactly(
            step, plan, PlanOptions{.fullDistributionWork = full ? kFullDistributionWork : 0});
        ASSERT_TRUE(r.ok()) << r.error;
        expectSameEnds(r, sum, 1e-15);
        EXPECT_EQ(r.tailProbability > 0, !full);
        EXPECT_LE(r.tailProbability, 0.05);
        EXPECT_NEAR(r.allGamesPlayed.value, 1, 1e-14);
    }
}

TEST(SessionPlanner, EveryPathOfATinyGame)
{
    // Six numbers, three drawn, two marked (0 and 1) at a bet of 2, paying 1 and 3 per credit;
    // the second ball on a marked number starts two free games at 2x. Every order of every
    // game's balls, every session path.
    const ExactGame game{2, {0, 1, 3}, {2, 2, 2}, {}, {}, {}, ""};
    auto forEachOrder = [](auto&& f) { // f(hits, whether the second ball is a hit)
        for (int a = 0; a < 6; ++a)
            for (int b = 0; b < 6; ++b)
                for (int c = 0; c < 6; ++c)
                    if (a != b && b != c && a != c)
                        f(int(a < 2) + (b < 2) + (c < 2), b < 2);
    };
    auto payOf = [&](int hits) {
        return static_cast<std::int64_t>(game.pays[hits]) * 2;
    };
    Plays plays, free, series{{{0, 0u}, 1.0L}};
    forEachOrder([&](int hits, bool) { free[{2 * payOf(hits), 1u << hits}] += 1.0L / 120; });
    for (int f = 0; f < 2; ++f) {
        Plays next;
        for (const auto& [sofar, p] : series)
            for (const auto& [one, q] : free)
                next[{sofar.first + one.first, sofar.second | one.second}] += p * q;
        series = next;
    }
    forEachOrder([&](int hits, bool secondBallHit) {
        if (payOf(hits) == 0 || !secondBallHit)
            plays[{payOf(hits), 1u << hits}] += 1.0L / 120;
        else // the free games follow
            for (const auto& [more, q] : series)
                plays[{payOf(hits) + more.first, 1u << hits | more.second}] += q / 120;
    });
    const PlanStep step = BoardPlanStep(game, 2, {6, 3});
    EXPECT_TRUE(step.tracked[1] && step.tracked[2] && !step.tracked[0]);
    // With a target and a floor; without a target, whole and cut where at most 5 % lies above.
    const std::pair<SessionPlan, bool> plans[] = {
        {{2, 5, 5, 12, 4}, true}, {{2, 3, 5, {}, {}}, true}, {{2, 3, 5, {}, {}}, false}};
    for (const auto& [plan, full] : plans) {
        SCOPED_TRACE(testing::Message() << (plan.target ? "target" : "no target") << full);
        Tally t(plan);
        t.everyPath(plays, plan.credits);
        const SessionPlanResult r = PlanSessionExactly(
            step, plan, PlanOptions{.fullDistributionWork = full ? kFullDistributionWork : 0});
        expectFigures(r, t, false);
        expectSameEnds(r, t.ends, 1e-14);
        EXPECT_EQ(r.tailProbability > 0, !full);
    }
}

TEST(SessionPlanner, AgreesWithSessionsPlayedOnTheBoard)
{
    // Sessions played game by game: a shuffled deck, the balls in order, the pays at a bet of 2,
    // four free games at 2x when the 20th ball falls on the ticket (1 to 5) of a paying game.
    // Each figure within four standard errors.
    const SessionPlan plan{2, 30, 100, 60, 10};
    KenoRandom random(20260417);
    DrawDeck deck = OrderedDeck();
    auto playGame = [&](int factor) {
        ShuffleDeck(deck, random, 20);
        int hits = 0;
        for (int i = 1; i <= 20; ++i)
            hits += deck[i] <= 5 ? 1 : 0;
        return Play{static_cast<std::int64_t>(kFiveWithFreeGames.pays[hits]) * plan.bet * factor, 1u << hits};
    };
    Tally t(plan);
    for (int s = 0; s < 8000; ++s) {
        std::int64_t credits = plan.credits, n = 0;
        unsigned catches = 0;
        for (; !t.ruins(credits) && !t.reaches(credits) && n < plan.games; ++n) {
            Play play = playGame(1);
            const bool startsFreeGames = play.first > 0 && deck[20] <= 5;
            for (int f = 0; startsFreeGames && f < 4; ++f) {
                const Play free = playGame(2);
                play = {play.first + free.first, play.second | free.second};
            }
            credits += play.first - plan.bet;
            catches |= play.second;
        }
        t.end(credits, n, catches, 1);
    }
    expectFigures(PlanSessionExactly(BoardPlanStep(kFiveWithFreeGames, plan.bet), plan), t, true);
}

TEST(SessionPlanner, AHundredGamesAtOneCreditAreTheSessionFigures)
{
    // A game whose rule sets agree: no bonus, whole pays. 100 credits for 100 one-credit games
    // can only run out at the last game, so the end credits are the session's win.
    const ExactGame game{5, {0, 0, 1, 3, 15, 300}, {}, {}, {}, {}, ""};
    const ExactSessionFigures figures = ExactSessionFiguresOf(SimulationWinDistribution(game));
    const SessionPlanResult r =
        PlanSessionExactly(BoardPlanStep(game, 1), {1, 100, kExactSessionGames, {}, {}});
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_GT(r.tailFrom, kExactSessionTopWin);
    std::array<double, kExactSessionTopWin + 1> session{};
    session[kExactSessionTopWin] = r.tailProbability;
    for (const CreditAtom& atom : r.endCredits)
        session[std::min<std::int64_t>(atom.credits, kExactSessionTopWin)] += atom.probability;
    double doubled = 0;
    for (int w = 0; w <= kExactSessionTopWin; ++w) {
        EXPECT_NEAR(session[w], figures.probability[w], 1e-14) << w;
        doubled += w >= 200 ? session[w] : 0;
    }
    EXPECT_NEAR(r.behind.value * 100, figures.losingPct, 1e-11);
    EXPECT_NEAR(doubled * 100, figures.doublePct, 1e-11);
    EXPECT_NEAR(session[kExactSessionTopWin] * 100, figures.fiveFoldPct, 1e-11);
}

TEST(SessionPlanner, SimulatesWhenTheExactWorkIsTooMuchAgreeingOnAnyThreads)
{
    const PlanStep step = BoardPlanStep(kFiveWithFreeGames, 1);
    const SessionPlan plan{1, 40, 150, 80, {}};
    PlanOptions options;
    options.sessions = 20'000;
    options.seed = 99;
    options.exactWorkLimit = ExactPlanCostOf(step, plan).work;
    const SessionPlanResult exact = PlanSession(step, plan, options);
    EXPECT_EQ(exact.method, PlanMethod::Exact);
    options.exactWorkLimit /= 2;
    options.threads = 1;
    const SessionPlanResult one = PlanSession(step, plan, options);
    options.threads = 2;
    const SessionPlanResult two = PlanSession(step, plan, options);
    ASSERT_TRUE(exact.ok() && one.ok()) << one.error;
    EXPECT_EQ(one.method, PlanMethod::Simulation);
    // A 95 % interval is about four standard errors wide.
    const std::pair<PlanValue, double> figures[] = {
        {one.ruined, exact.ruined.value},
        {one.meanEndCredits, exact.meanEndCredits.value},
        {one.endCreditPoints[2], exact.endCreditPoints[2].value},
        {*one.catchAtLeastOnce[5], exact.catchAtLeastOnce[5]->value}};
    for (const auto& [simulated, value] : figures) {
        EXPECT_TRUE(simulated.low <= simulated.value && simulated.value <= simulated.high);
        EXPECT_NEAR(simulated.value, value, 1.05 * (simulated.high - simulated.low) + 1e-9);
    }
    EXPECT_EQ(one.meanEndCredits.value, two.meanEndCredits.value);
    EXPECT_EQ(one.catchAtLeastOnce[5]->value, two.catchAtLeastOnce[5]->value);
}

TEST(SessionPlanner, ComparesTheCountsThatPayLikeliestToReachTheTargetFirst)
{
    // One game from 10 credits, target 11: a one-spot paying 3 gets there on its catch (20/80),
    // a three-spot paying 2 and 5 on two or three catches (12,540/82,160), a two-spot paying 9
    // on two catches (190/3,160). Four spots and more pay nothing and are left out; a play worked
    // out for another bet cannot be planned and comes last.
    auto ticketOf = [](int marked) {
        ExactGame game{marked, {}, {}, {}, {}, {}, ""};
        if (marked == 1)
            game.pays = {0, 3};
        else if (marked == 2)
            game.pays = {0, 0, 9};
        else if (marked == 3)
            game.pays = {0, 0, 2, 5};
        return game;
    };
    std::vector<PlanCandidate> candidates = MarkedCountCandidates(ticketOf, 1);
    candidates.insert(candidates.begin(), {"bet 3", BoardPlanStep(ticketOf(1), 3)});
    const std::vector<PlanComparisonRow> rows = ComparePlans(candidates, {1, 10, 1, 11, {}});
    ASSERT_EQ(rows.size(), 4u);
    const std::pair<const char*, double> expected[] = {
        {"1", 20.0 / 80}, {"3", 12540.0 / 82160}, {"2", 190.0 / 3160}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(rows[i].label, expected[i].first);
        EXPECT_NEAR(rows[i].result.targetReached.value, expected[i].second, 1e-14) << rows[i].label;
    }
    EXPECT_EQ(rows[3].label, "bet 3");
    EXPECT_EQ(rows[3].result.error, "The play was worked out for another bet.");
}
