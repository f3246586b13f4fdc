#include "db/database.h"
#include "db/sessions.h"
#include "support/databasetest.h"

#include <gtest/gtest.h>
#include <QSqlQuery>

using namespace tallyhawk;

namespace {

using SessionsTableTest = DatabaseTest;

const QString kGame = "NEVADA - Other           Harrah's Laughlin             Live Keno $1        ";

} // namespace

TEST_F(SessionsTableTest, HoldsOneRowPerWinUpToFiveHundredAfterEveryRun)
{
    std::vector<std::int32_t> folded(501, 0);
    folded[63] = 40;
    folded[500] = 7;
    QString error;
    ASSERT_TRUE(WriteSessionsTable(db, folded, kGame, 5, 98765.5, &error)) << error.toStdString();
    EXPECT_EQ(scalar("SELECT count(*) FROM [Sessions]").toInt(), 501);
    EXPECT_EQ(scalar("SELECT min([Win]) || ',' || max([Win]) || ',' || sum([Frequency]) FROM [Sessions]"),
              "0,500,47");
    EXPECT_EQ(scalar("SELECT [Frequency] FROM [Sessions] WHERE [Win] = 500").toInt(), 7);
    QSqlQuery row(db);
    ASSERT_TRUE(row.exec("SELECT [Location], [Casino], [Game], [Marked], [Total Win] FROM [Sessions] "
                         "WHERE [Win] = 63"));
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.value(0).toString(), "NEVADA - Other");
    EXPECT_EQ(row.value(1).toString(), "Harrah's Laughlin");
    EXPECT_EQ(row.value(2).toString(), "Live Keno $1");
    EXPECT_EQ(row.value(3).toDouble(), 5);
    EXPECT_EQ(row.value(4).toDouble(), 98765.5);

    // The next run replaces every row, whatever game was simulated before.
    ASSERT_TRUE(WriteSessionsTable(db, std::vector<std::int32_t>(501, 1), "Caveman", 8, 0, &error));
    EXPECT_EQ(scalar("SELECT count(*) FROM [Sessions]").toInt(), 501);
    EXPECT_EQ(scalar("SELECT count(*) FROM [Sessions] WHERE [Frequency] = 1 AND [Marked] = 8").toInt(), 501);
}

TEST_F(SessionsTableTest, AFailedRewriteLeavesTheTableAsItWas)
{
    ASSERT_TRUE(WriteSessionsTable(db, std::vector<std::int32_t>(501, 2), kGame, 5, 10));
    QString error;
    EXPECT_FALSE(WriteSessionsTable(db, std::vector<std::int32_t>(500, 0), kGame, 5, 10, &error));
    EXPECT_FALSE(error.isEmpty());
    // A statement failing half-way rolls the delete back too.
    ASSERT_TRUE(QSqlQuery(db).exec("CREATE TRIGGER stop BEFORE INSERT ON [Sessions] WHEN NEW.[Win] = 300 "
                                   "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    EXPECT_FALSE(WriteSessionsTable(db, std::vector<std::int32_t>(501, 9), kGame, 5, 10, &error));
    EXPECT_NE(error.indexOf("refused"), -1) << error.toStdString();
    EXPECT_EQ(scalar("SELECT count(*) FROM [Sessions] WHERE [Frequency] = 2").toInt(), 501);
}
