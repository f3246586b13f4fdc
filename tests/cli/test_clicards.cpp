// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// tallyhawk-cli with card sets (--cards) and way tickets (--ways, --way-spots), run on a temporary
// copy of the seed database.

#include "support/tempdatafolder.h"

#include <cmath>
#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

using namespace tallyhawk;

namespace {

const QString kMadYeti = "ONLINE|DraftKings|Mad Yeti Keno";
const QString kCleopatra = "OTHER|Published example|Cleopatra Keno";
const QString kCavemanPlus = "NEVADA - Las Vegas|Red Rock|Caveman Plus Keno";

struct CliRun
{
    int status = -1;
    QString out, err;
    QJsonObject json() const
    {
        EXPECT_EQ(status, 0) << err.toStdString();
        return QJsonDocument::fromJson(out.toUtf8()).object();
    }
};

class CliCards : public testing::Test
{
protected:
    CliRun cli(QStringList arguments)
    {
        QProcess process;
        process.start(TALLYHAWK_CLI_PATH, arguments << "--db" << m_folder.databasePath());
        const bool exited = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
        return {exited ? process.exitCode() : -1, QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    TempDataFolder m_folder;
};

TEST_F(CliCards, OneCardGivesTheOddsOfTheSameTicket)
{
    for (const QString& game : {kMadYeti, kCleopatra, kCavemanPlus}) {
        const QJsonObject ticket =
            cli({"odds", "--game", game, "--ticket", "3,14,25,36,47,58,69,70", "--json"}).json();
        const QJsonObject card =
            cli({"odds", "--game", game, "--cards", "3,14,25,36,47,58,69,70", "--json"}).json();
        const double ret = ticket["return_pct_simulation"].toDouble(), sd = ticket["sd_per_game"].toDouble();
        EXPECT_EQ(card["method"].toString(), "exact");
        EXPECT_NEAR(card["return_pct_board"].toDouble(), ret, 1e-9 * ret) << game.toStdString();
        EXPECT_NEAR(card["sd_per_game"].toDouble(), sd, 1e-9 * sd) << game.toStdString();
        EXPECT_NEAR(card["hit_rate"].toDouble(), ticket["hit_rate"].toDouble(), 1e-12) << game.toStdString();
    }
}

TEST_F(CliCards, AWayTicketOfThreeGroupsPlaysItsSevenWays)
{
    const QJsonObject odds =
        cli({"odds", "--game", kMadYeti, "--ways", "1,2/3,4/5,6", "--way-spots", "2,4,6", "--json"}).json();
    const QJsonArray cards = odds["cards"].toArray();
    ASSERT_EQ(cards.size(), 7);
    EXPECT_EQ(cards[3].toArray(), (QJsonArray{1, 2, 3, 4}));
    EXPECT_EQ(cards[6].toArray(), (QJsonArray{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(odds["cost"].toInt(), 7);
    EXPECT_TRUE(odds["way_ticket"].toBool());
    EXPECT_EQ(odds["per_card"].toArray().size(), 7);
    EXPECT_EQ(odds["atoms"].toInt(), 3);
    // The whole distribution of a play's total win: its chances add up to 1, its mean is the return.
    const QJsonObject distribution = odds["distribution"].toObject();
    const QJsonArray wins = distribution["win"].toArray(), chances = distribution["probability"].toArray();
    ASSERT_EQ(wins.size(), chances.size());
    double total = 0, mean = 0;
    for (qsizetype i = 0; i < wins.size(); ++i) {
        total += chances[i].toDouble();
        mean += wins[i].toDouble() * chances[i].toDouble();
    }
    EXPECT_NEAR(total, 1, 1e-12);
    EXPECT_NEAR(mean * 100 / 7, odds["return_pct_board"].toDouble(), 1e-9);
}

TEST_F(CliCards, ABadSetIsRefusedWithItsReason)
{
    QString singles;
    for (int n = 1; n <= 40; ++n)
        singles += QString::number(n) + (n < 40 ? "/" : "");
    const struct
    {
        QStringList arguments;
        QString message;
    } cases[] = {
        {{"odds", "--cards", "1,2/3,81"}, "Card 2 holds 81: the numbers run from 1 to 80."},
        {{"odds", "--cards", "1,2//3"}, "Card 2 marks 0 numbers: a card marks 1 to 10."},
        {{"odds", "--cards", "1,2,3,4,5,6,7,8,9,10,11"}, "Card 1 marks 11 numbers: a card marks 1 to 10."},
        {{"odds", "--cards", QString("1,2/").repeated(20) + "1,2"},
         "A card set holds at most 20 cards, not 21."},
        {{"simulate", "--ways", singles, "--way-spots", "2"}, "The way ticket plays more than 500 ways."},
        {{"odds", "--ways", "1,2/2,3", "--way-spots", "2"}, "Groups 1 and 2 both hold 2"},
        {{"session", "--ways", "1,2/3,4", "--way-spots", "3", "--bet", "1", "--credits", "100", "--games",
          "10"},
         "No union of whole groups holds 3 numbers."},
        {{"odds", "--ways", "1,2/3,4"}, "needs both --ways GROUPS and --way-spots SIZES"},
        {{"odds", "--cards", "1,2", "--spots", "2"}, "takes one of --spots N, --ticket LIST, --cards CARDS"},
        {{"odds", "--cards", "1,x"}, "--cards: \"x\" is not a whole number."},
    };
    for (const auto& c : cases) {
        const CliRun run = cli(c.arguments + QStringList{"--game", kMadYeti});
        EXPECT_EQ(run.status, 2) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

TEST_F(CliCards, SimulateGivesTheSameFiguresOnAnyThreadCount)
{
    const QStringList run{"simulate", "--game", kCleopatra, "--cards", "1,2,3,4,5,6,7,8/5,6,7,8,9,10,11,12",
                          "--games",  "300000", "--seed",   "11",      "--quiet",
                          "--json"};
    const QJsonObject one = cli(run + QStringList{"--threads", "1"}).json();
    const QJsonObject two = cli(run + QStringList{"--threads", "2"}).json();
    EXPECT_EQ(one["method"].toString(), "simulation");
    EXPECT_EQ(one["seed"].toString(), "11");
    EXPECT_EQ(one["plays"].toInt(), 300000);
    for (const char* key : {"return_pct_board", "sd_per_game", "hit_rate", "any_solid_catch"})
        EXPECT_EQ(one[key].toDouble(), two[key].toDouble()) << key;
    // The run agrees with the exact return (4 standard errors, from the exact standard deviation).
    const QJsonObject exact =
        cli({"odds", "--game", kCleopatra, "--cards", "1,2,3,4,5,6,7,8/5,6,7,8,9,10,11,12", "--json"}).json();
    EXPECT_DOUBLE_EQ(one["exact_return_pct"].toDouble(), exact["return_pct_board"].toDouble());
    const double error = exact["sd_per_game"].toDouble() / std::sqrt(300000.0) * 100 / 2;
    EXPECT_NEAR(one["return_pct_board"].toDouble(), exact["return_pct_board"].toDouble(), 4 * error);
}

TEST_F(CliCards, SessionPlansAPlayOfEveryCard)
{
    const QJsonObject plan = cli({"session", "--game", kMadYeti, "--cards", "1,2,3,4,5/4,5,6,7,8", "--bet",
                                  "3", "--credits", "300", "--games", "100", "--quiet", "--json"})
                                 .json();
    EXPECT_EQ(plan["bet"].toInt(), 6); // two cards at 3 credits
    EXPECT_EQ(plan["cards"].toInt(), 2);
    EXPECT_EQ(plan["method"].toString(), "exact");
    const double ends = plan["ruined_pct"].toDouble() + plan["target_reached_pct"].toDouble() +
                        plan["all_games_played_pct"].toDouble();
    EXPECT_NEAR(ends, 100, 1e-6);
}

} // namespace
