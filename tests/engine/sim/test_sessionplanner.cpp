#include "engine/play/deck.h"
#include "engine/sim/sessionplanner.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>

using namespace tallyhawk;

namespace {

ExactGame ticket(int marked, std::array<double, kExactMaxCatch + 1> pays, BonusValues bonus = {})
{
    ExactGame game;
    game.marked = marked;
    game.pays = pays;
    game.boardBonus = bonus;
    return game;
}

// Five spots paying from two catches up; the 20th ball on a marked number starts 4 free games at 2x.
const ExactGame kFiveWithFreeGames = ticket(5, {0, 0, 1, 3, 15, 300}, {20, 4, 2});

using Play = std::pair<std::int64_t, unsigned>; // a play's win and the catches it made, as bits
using Plays = std::map<Play, long double>;

std::int64_t floorOf(const SessionPlan& plan)
{
    return std::max<std::int64_t>(plan.bet, plan.floor.value_or(0));
}

bool stops(const SessionPlan& plan, std::int64_t credits)
{
    return credits < floorOf(plan) || (plan.target && credits >= *plan.target);
}

// A session's figures as a test counts them, path by path or session by session.
struct Tally
{
    long double ruined = 0, target = 0, allPlayed = 0, games = 0;
    std::vector<long double> stillPlaying;
    std::map<std::int64_t, long double> ends;
    std::array<long double, kExactMaxCatch + 1> caught{};

    explicit Tally(const SessionPlan& plan) : stillPlaying(static_cast<std::size_t>(plan.games + 1)) {}

    void playing(std::int64_t n, long double p)
    {
        stillPlaying[static_cast<std::size_t>(n)] += p;
        games += p;
    }
    void end(const SessionPlan& plan, std::int64_t credits, std::int64_t n, unsigned catches, long double p)
    {
        if (credits < floorOf(plan))
            ruined += p;
        else if (stops(plan, credits))
            target += p;
        else
            allPlayed += p, stillPlaying[static_cast<std::size_t>(n)] += p;
        ends[credits] += p;
        for (int c = 0; c <= kExactMaxCatch; ++c)
            caught[c] += (catches >> c & 1) ? p : 0;
    }
};

// Every path of a session whose plays are drawn from `plays`, with its chance.
void everyPath(const SessionPlan& plan, const Plays& plays, Tally& t, std::int64_t credits,
               std::int64_t n = 0, unsigned catches = 0, long double p = 1)
{
    if (stops(plan, credits) || n == plan.games)
        return t.end(plan, credits, n, catches, p);
    t.playing(n, p);
    for (const auto& [play, q] : plays)
        everyPath(plan, plays, t, credits - plan.bet + play.first, n + 1, catches | play.second, p * q);
}

// The end credits below the result's tail as atoms, and the chance of the tail.
void expectSameEnds(const SessionPlanResult& r, const std::map<std::int64_t, long double>& ends,
                    double tolerance)
{
    auto it = r.endCredits.begin();
    double tail = 0;
    for (const auto& [credits, p] : ends) {
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

PlanOptions fullOrTail(bool full)
{
    PlanOptions options;
    options.fullDistributionWork = full ? kFullDistributionWork : 0;
    return options;
}

} // namespace

TEST(SessionPlanner, RefusesPlansItCannotFollow)
{
    const SessionPlan good{2, 100, 50, 200, 20};
    const std::pair<SessionPlan, const char*> cases[] = {
        {{0, 100, 50, {}, {}}, "The bet must be 1 to 45 credits."},
        {{46, 100, 50, {}, {}}, "The bet must be 1 to 45 credits."},
        {{2, 0, 50, {}, {}}, "The starting credits must be 1 to 1000000000."},
        {{5, 4, 50, {}, {}}, "The starting credits must cover the bet."},
        {{2, 100, 0, {}, {}}, "The number of games must be 1 to 100000."},
        {{2, 100, 100'001, {}, {}}, "The number of games must be 1 to 100000."},
        {{2, 100, 50, 100, {}}, "The target must be above the starting credits."},
        {{2, 100, 50, {}, -1}, "The floor must be 0 or more."},
        {{2, 100, 50, {}, 101}, "The floor must not be above the starting credits."},
    };
    EXPECT_EQ(CheckSessionPlan(good), "");
    for (const auto& [plan, message] : cases)
        EXPECT_EQ(CheckSessionPlan(plan), message);
    EXPECT_EQ(PlanSession(BoardPlanStep(kFiveWithFreeGames, 3), good).error,
              "The play was worked out for another bet.");
    EXPECT_EQ(PlanSession(BoardPlanStep(kFiveWithFreeGames, 46), good).error,
              "The bet must be 1 to 45 credits.");
}

TEST(SessionPlanner, WithoutStopRulesTheEndIsTheSumOfEveryPlay)
{
    // Credits enough that no game can ruin the session: the end credits are the start less the
    // bets plus the sum of every play, convolved one play at a time here.
    const int bet = 3, games = 12;
    const SessionPlan plan{bet, (games + 1) * bet, games, {}, {}};
    const PlanStep step = BoardPlanStep(ticket(5, {0, 0, 0, 1, 10, 800}, {20, 0, 8}), bet);
    std::map<std::int64_t, long double> sum{{plan.credits, 1.0L}};
    for (int g = 0; g < games; ++g) {
        std::map<std::int64_t, long double> next;
        for (const auto& [credits, p] : sum)
            for (const WinAtom& atom : step.win.atoms)
                next[credits - bet + atom.win] += p * atom.probability;
        sum = next;
    }
    long double mean = 0;
    for (const auto& [credits, p] : sum)
        mean += credits * p;
    for (const bool full : {true, false}) { // the whole distribution, or cut where at most 5 % lies above
        const SessionPlanResult r = PlanSessionExactly(step, plan, fullOrTail(full));
        ASSERT_TRUE(r.ok()) << r.error;
        EXPECT_EQ(r.method, PlanMethod::Exact);
        expectSameEnds(r, sum, 1e-15);
        EXPECT_EQ(r.tailProbability > 0, !full);
        EXPECT_LE(r.tailProbability, 0.05);
        EXPECT_NEAR(r.allGamesPlayed.value, 1, 1e-14);
        EXPECT_NEAR(r.expectedGames.value, games, 1e-13);
        EXPECT_NEAR(r.meanEndCredits.value, static_cast<double>(mean), 1e-9);
    }
}

TEST(SessionPlanner, EveryPathOfATinyGame)
{
    // Six numbers, three drawn, two marked (0 and 1) at a bet of 2, paying 1 and 3 per credit;
    // the second ball on a marked number starts two free games at 2x. Every order of every
    // game's balls, every session path.
    const ExactGame game = ticket(2, {0, 1, 3}, {2, 2, 2});
    const int bet = 2;
    Plays freeGame, freeSeries{{{0, 0u}, 1.0L}}, plays;
    std::vector<std::array<int, 3>> orders;
    for (int a = 0; a < 6; ++a)
        for (int b = 0; b < 6; ++b)
            for (int c = 0; c < 6; ++c)
                if (a != b && b != c && a != c)
                    orders.push_back({a, b, c});
    const long double each = 1.0L / static_cast<long double>(orders.size());
    for (const auto& balls : orders) {
        const int hits = int(balls[0] < 2) + (balls[1] < 2) + (balls[2] < 2);
        freeGame[{static_cast<std::int64_t>(game.pays[hits]) * bet * 2, 1u << hits}] += each;
    }
    for (int f = 0; f < 2; ++f) {
        Plays next;
        for (const auto& [sofar, p] : freeSeries)
            for (const auto& [one, q] : freeGame)
                next[{sofar.first + one.first, sofar.second | one.second}] += p * q;
        freeSeries = next;
    }
    for (const auto& balls : orders) {
        const int hits = int(balls[0] < 2) + (balls[1] < 2) + (balls[2] < 2);
        const std::int64_t win =
            static_cast<std::int64_t>(game.pays[hits]) * bet; // free games follow the ball
        if (win == 0 || balls[1] >= 2) {
            plays[{win, 1u << hits}] += each;
            continue;
        }
        for (const auto& [series, q] : freeSeries)
            plays[{win + series.first, 1u << hits | series.second}] += each * q;
    }

    const PlanStep step = BoardPlanStep(game, bet, {6, 3});
    EXPECT_TRUE(step.tracked[1] && step.tracked[2] && !step.tracked[0]);
    // With a target and a floor; without a target, whole and cut where at most 5 % lies above.
    const std::pair<SessionPlan, bool> plans[] = {
        {{bet, 5, 5, 12, 4}, true}, {{bet, 3, 5, {}, {}}, true}, {{bet, 3, 5, {}, {}}, false}};
    for (const auto& [plan, full] : plans) {
        SCOPED_TRACE(testing::Message() << (plan.target ? "target" : "no target") << full);
        Tally t(plan);
        everyPath(plan, plays, t, plan.credits);
        const SessionPlanResult r = PlanSessionExactly(step, plan, fullOrTail(full));
        ASSERT_TRUE(r.ok()) << r.error;
        EXPECT_EQ(r.tailProbability > 0, !full);
        EXPECT_NEAR(r.ruined.value, static_cast<double>(t.ruined), 1e-14);
        EXPECT_NEAR(r.targetReached.value, static_cast<double>(t.target), 1e-14);
        EXPECT_NEAR(r.allGamesPlayed.value, static_cast<double>(t.allPlayed), 1e-14);
        EXPECT_NEAR(r.expectedGames.value, static_cast<double>(t.games), 1e-13);
        for (std::size_t n = 0; n < t.stillPlaying.size(); ++n)
            EXPECT_NEAR(r.stillPlaying[n].value, static_cast<double>(t.stillPlaying[n]), 1e-14) << n;
        expectSameEnds(r, t.ends, 1e-14);
        long double mean = 0, behind = 0, cumulative = 0;
        std::vector<std::int64_t> points;
        for (const auto& [credits, p] : t.ends) {
            mean += credits * p;
            behind += credits < plan.credits ? p : 0;
            cumulative += p;
            while (points.size() < kEndCreditLevels.size() && cumulative >= kEndCreditLevels[points.size()])
                points.push_back(credits);
        }
        EXPECT_NEAR(r.meanEndCredits.value, static_cast<double>(mean), 1e-13);
        EXPECT_NEAR(r.behind.value, static_cast<double>(behind), 1e-14);
        EXPECT_NEAR(r.ahead.value + r.even.value + r.behind.value, 1, 1e-14);
        for (std::size_t i = 0; i < points.size(); ++i)
            EXPECT_EQ(r.endCreditPoints[i].value, points[i]) << kEndCreditLevels[i];
        for (int c : {1, 2})
            EXPECT_NEAR(r.catchAtLeastOnce[c]->value, static_cast<double>(t.caught[c]), 1e-14) << c;
        EXPECT_FALSE(r.catchAtLeastOnce[0]);
    }
}

TEST(SessionPlanner, AJackpotFarAboveTheTarget)
{
    // Two spots at 45 credits: 68, or 9,000,000 for both, in credits that move one by one.
    const SessionPlan plan{45, 100, 4, 200, {}};
    const PlanStep step = BoardPlanStep(ticket(2, {0, 1.5, 200'000}), plan.bet);
    ASSERT_EQ(step.win.atoms.back().win, 9'000'000);
    Plays plays;
    for (const WinAtom& atom : step.win.atoms)
        plays[{atom.win, 0u}] = atom.probability;
    Tally t(plan);
    everyPath(plan, plays, t, plan.credits);
    const SessionPlanResult r = PlanSessionExactly(step, plan);
    ASSERT_TRUE(r.ok()) << r.error;
    expectSameEnds(r, t.ends, 1e-15);
    EXPECT_NEAR(r.targetReached.value, static_cast<double>(t.target), 1e-15);
}

TEST(SessionPlanner, AgreesWithSessionsPlayedOnTheBoard)
{
    // Sessions played game by game: a shuffled deck, the balls in order, the pays at a bet of 2,
    // four free games at 2x when the 20th ball falls on the ticket (1 to 5) of a paying game.
    // Each figure within four standard errors.
    const SessionPlan plan{2, 30, 100, 60, 10};
    const int sessions = 8000;
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
    long double squares = 0, gameSquares = 0;
    for (int s = 0; s < sessions; ++s) {
        std::int64_t credits = plan.credits, n = 0;
        unsigned catches = 0;
        for (; !stops(plan, credits) && n < plan.games; ++n) {
            t.playing(n, 1);
            Play play = playGame(1);
            if (play.first > 0 && deck[20] <= 5)
                for (int f = 0; f < 4; ++f) {
                    const Play free = playGame(2);
                    play = {play.first + free.first, play.second | free.second};
                }
            credits += play.first - plan.bet;
            catches |= play.second;
        }
        t.end(plan, credits, n, catches, 1);
        gameSquares += static_cast<long double>(n * n);
    }
    for (const auto& [credits, count] : t.ends)
        squares += count * credits * credits;

    const SessionPlanResult r = PlanSessionExactly(BoardPlanStep(kFiveWithFreeGames, plan.bet), plan);
    ASSERT_TRUE(r.ok()) << r.error;
    auto expectChance = [&](double exact, long double count, const char* figure) {
        const double error = std::sqrt(std::max(exact * (1 - exact), 1e-6) / sessions);
        EXPECT_NEAR(static_cast<double>(count) / sessions, exact, 4 * error) << figure;
    };
    auto expectMean = [&](double exact, long double sum, long double sumOfSquares, const char* figure) {
        const long double mean = sum / sessions;
        const double error =
            static_cast<double>(std::sqrt((sumOfSquares / sessions - mean * mean) / sessions));
        EXPECT_NEAR(static_cast<double>(mean), exact, 4 * error) << figure;
    };
    expectChance(r.ruined.value, t.ruined, "ruined");
    expectChance(r.targetReached.value, t.target, "target");
    expectChance(r.allGamesPlayed.value, t.allPlayed, "all games");
    for (std::int64_t n : {5, 20, 60})
        expectChance(r.stillPlaying[n].value, t.stillPlaying[n], "still playing");
    long double behind = 0, sum = 0;
    for (const auto& [credits, count] : t.ends) {
        behind += credits < plan.credits ? count : 0;
        sum += credits * count;
    }
    expectChance(r.behind.value, behind, "behind");
    expectMean(r.meanEndCredits.value, sum, squares, "mean end credits");
    expectMean(r.expectedGames.value, t.games, gameSquares, "games");
    for (int c = 2; c <= 5; ++c)
        expectChance(r.catchAtLeastOnce[c]->value, t.caught[c], "catch");
}

TEST(SessionPlanner, AHundredGamesAtOneCreditAreTheSessionFigures)
{
    // A game whose rule sets agree: no bonus, whole pays. 100 credits for 100 one-credit games
    // can only run out at the last game, so the end credits are the session's win.
    const ExactGame game = ticket(5, {0, 0, 1, 3, 15, 300});
    const ExactSessionFigures figures = ExactSessionFiguresOf(SimulationWinDistribution(game));
    const SessionPlanResult r =
        PlanSessionExactly(BoardPlanStep(game, 1), {1, 100, kExactSessionGames, {}, {}});
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_GT(r.tailFrom, kExactSessionTopWin);
    std::array<double, kExactSessionTopWin + 1> session{};
    session[kExactSessionTopWin] = r.tailProbability;
    for (const CreditAtom& atom : r.endCredits)
        session[std::min<std::int64_t>(atom.credits, kExactSessionTopWin)] += atom.probability;
    double doubled = 0, lostHalf = 0;
    int mode = 0;
    for (int w = 0; w <= kExactSessionTopWin; ++w) {
        EXPECT_NEAR(session[w], figures.probability[w], 1e-14) << w;
        lostHalf += w <= 50 ? session[w] : 0;
        doubled += w >= 200 ? session[w] : 0;
        mode = w < kExactSessionTopWin && session[w] > session[mode] ? w : mode;
    }
    EXPECT_NEAR(r.behind.value * 100, figures.losingPct, 1e-11);
    EXPECT_NEAR((r.ahead.value + r.even.value) * 100, figures.breakevenOrWinningPct, 1e-11);
    EXPECT_NEAR(doubled * 100, figures.doublePct, 1e-11);
    EXPECT_NEAR(session[kExactSessionTopWin] * 100, figures.fiveFoldPct, 1e-11);
    EXPECT_NEAR(lostHalf * 100, figures.loseHalfPct, 1e-11);
    EXPECT_EQ(mode, figures.mode);
}

TEST(SessionPlanner, SimulationAgreesAndFollowsItsSeedAlone)
{
    const PlanStep step = BoardPlanStep(kFiveWithFreeGames, 1);
    const SessionPlan plan{1, 40, 150, 80, {}};
    const SessionPlanResult exact = PlanSessionExactly(step, plan);
    PlanOptions options;
    options.sessions = 20'000;
    options.seed = 99;
    options.threads = 1;
    const SessionPlanResult one = PlanSessionBySimulation(step, plan, options);
    options.threads = 2;
    const SessionPlanResult two = PlanSessionBySimulation(step, plan, options);
    ASSERT_TRUE(exact.ok() && one.ok() && two.ok()) << one.error;
    EXPECT_EQ(one.method, PlanMethod::Simulation);
    EXPECT_EQ(one.sessions, 20'000);
    // A 95 % interval is about four standard errors wide.
    auto expectCovered = [](const PlanValue& simulated, double exact, const char* figure) {
        EXPECT_LE(simulated.low, simulated.value) << figure;
        EXPECT_GE(simulated.high, simulated.value) << figure;
        EXPECT_NEAR(simulated.value, exact, 1.05 * (simulated.high - simulated.low) + 1e-9) << figure;
    };
    expectCovered(one.ruined, exact.ruined.value, "ruined");
    expectCovered(one.targetReached, exact.targetReached.value, "target");
    expectCovered(one.ahead, exact.ahead.value, "ahead");
    expectCovered(one.meanEndCredits, exact.meanEndCredits.value, "mean");
    expectCovered(one.expectedGames, exact.expectedGames.value, "games");
    expectCovered(one.stillPlaying[50], exact.stillPlaying[50].value, "still playing");
    for (std::size_t i = 0; i < kEndCreditLevels.size(); ++i)
        expectCovered(one.endCreditPoints[i], exact.endCreditPoints[i].value, "end credit point");
    for (int c = 2; c <= 5; ++c)
        expectCovered(*one.catchAtLeastOnce[c], exact.catchAtLeastOnce[c]->value, "catch");
    EXPECT_EQ(one.ruined.value, two.ruined.value);
    EXPECT_EQ(one.meanEndCredits.value, two.meanEndCredits.value);
    EXPECT_EQ(one.catchAtLeastOnce[5]->value, two.catchAtLeastOnce[5]->value);
}

TEST(SessionPlanner, ChoosesItsMethodByTheWorkAndStopsWhenAsked)
{
    const PlanStep step = BoardPlanStep(kFiveWithFreeGames, 1);
    const SessionPlan plan{1, 50, 200, 100, {}};
    const double work = ExactPlanCostOf(step, plan).work;
    PlanOptions options;
    options.exactWorkLimit = work;
    const SessionPlanResult exact = PlanSession(step, plan, options);
    EXPECT_EQ(exact.method, PlanMethod::Exact);
    EXPECT_EQ(exact.exactCost.work, work);
    options.sessions = 5000;
    for (const double limit : {work, work / 2}) { // exact, then simulated
        options.exactWorkLimit = limit;
        std::vector<double> reports;
        std::atomic<bool> stop{false};
        auto progress = [&](double done) {
            reports.push_back(done);
            stop = reports.size() == 3;
        };
        const SessionPlanResult whole = PlanSession(step, plan, options, progress);
        EXPECT_TRUE(whole.ok());
        EXPECT_EQ(whole.method, limit == work ? PlanMethod::Exact : PlanMethod::Simulation);
        EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
        EXPECT_DOUBLE_EQ(reports.back(), 1);
        reports.clear();
        const SessionPlanResult stopped = PlanSession(step, plan, options, progress, &stop);
        EXPECT_TRUE(stopped.stopped && !stopped.ok());
        EXPECT_EQ(reports.size(), 3u);
    }
}

TEST(SessionPlanner, ComparesTheMarkedCountsByTheirChanceOfTheTarget)
{
    // Counts 1 and 2 pay nothing; 3 to 6 pay, 6 too much for the exact analysis.
    auto ticketOf = [](int marked) {
        ExactGame game = ticket(marked, {});
        if (marked >= 3 && marked <= 6) {
            game.pays[marked] = 60.0 * marked;
            game.pays[marked - 1] = marked == 6 ? -1 : 3;
        }
        return game;
    };
    const std::vector<PlanCandidate> candidates = MarkedCountCandidates(ticketOf, 1);
    ASSERT_EQ(candidates.size(), 4u);
    EXPECT_EQ(candidates.front().label, "3");
    const std::vector<PlanComparisonRow> rows = ComparePlans(candidates, {1, 20, 50, 40, {}});
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_FALSE(rows.back().result.ok());
    EXPECT_EQ(rows.back().label, "6");
    for (std::size_t i = 0; i + 2 < rows.size(); ++i)
        EXPECT_GE(rows[i].result.targetReached.value, rows[i + 1].result.targetReached.value);
}
