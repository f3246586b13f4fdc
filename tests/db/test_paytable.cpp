#include "db/database.h"
#include "db/paytable.h"
#include "support/databasetest.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <QSqlQuery>

using namespace tallyhawk;

namespace {

class PayTableTest : public DatabaseTest
{
protected:
    std::vector<PayScheduleRow> rows(const GameSql& sql, const QString& condition = {})
    {
        QSqlQuery query(db);
        EXPECT_TRUE(sql.select(query, condition));
        std::vector<PayScheduleRow> result;
        while (query.next())
            result.push_back(ReadPayScheduleRow(query));
        return result;
    }
};

const QString kHarrahs = FormatGameListEntry("NEVADA - Other", "Harrah's Laughlin", "Live Keno $1");

} // namespace

TEST(NumberOrNullTest, CountsAnythingThatIsNotANumberAsZero)
{
    EXPECT_EQ(NumberOrNull(QVariant()), 0);
    EXPECT_EQ(NumberOrNull(QVariant(QMetaType(QMetaType::Double))), 0);
    EXPECT_EQ(NumberOrNull(QString()), 0);
    EXPECT_EQ(NumberOrNull(QString("")), 0);
    EXPECT_EQ(NumberOrNull(QString("letters")), 0);
    EXPECT_EQ(NumberOrNull(QString("12.5")), 12.5);
    EXPECT_EQ(NumberOrNull(12.5), 12.5);
    EXPECT_EQ(NumberOrNull(7), 7);
}

TEST_F(PayTableTest, GameListHoldsEverySeedGameInKeyOrder)
{
    QStringList games;
    ASSERT_TRUE(ReadGameList(db, &games));
    ASSERT_EQ(games.size(), 17);
    for (const QString& entry : games)
        EXPECT_EQ(entry.size(), 75) << entry.toStdString();
    QStringList sorted = games;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        const GameKey x = ParseGameListEntry(a.toStdString()), y = ParseGameListEntry(b.toStdString());
        auto key = [](const GameKey& k) {
            return std::tuple(QString::fromStdString(k.Location).toLower(),
                              QString::fromStdString(k.Casino).toLower(),
                              QString::fromStdString(k.Game).toLower());
        };
        return key(x) < key(y);
    });
    EXPECT_EQ(games, sorted);
    EXPECT_TRUE(games.contains(kHarrahs));
    EXPECT_TRUE(games.first().startsWith("NEVADA - Las Vegas"));
}

TEST_F(PayTableTest, AGameComesBackInCatchOrderWhateverItsStoredOrder)
{
    const GameSql sql = BuildCurrentGameSql(kHarrahs);
    EXPECT_EQ(sql.key().Casino, "Harrah's Laughlin");
    // Store the rows reversed, as an import of a reordered file would.
    ASSERT_TRUE(ExecuteSql(
        db, "CREATE TEMP TABLE t AS SELECT * FROM [Pay Table] WHERE [Casino] = ? ORDER BY [Catch] DESC",
        {"Harrah's Laughlin"}));
    ASSERT_TRUE(ExecuteSql(db, "DELETE FROM [Pay Table] WHERE [Casino] = ?", {"Harrah's Laughlin"}));
    ASSERT_TRUE(ExecuteSql(db, "INSERT INTO [Pay Table] SELECT * FROM t"));

    const auto game = rows(sql);
    ASSERT_EQ(game.size(), 11u);
    for (int c = 0; c <= 10; ++c)
        EXPECT_EQ(game[c].Catch, c);
    EXPECT_EQ(game[10].Pick[9], 50000);
    EXPECT_EQ(game[0].BonusFactor, 1);
    EXPECT_FALSE(game[1].BonusBall.has_value());

    const auto bonus = rows(sql, " AND [Catch] = 0");
    ASSERT_EQ(bonus.size(), 1u);
    EXPECT_EQ(bonus[0].Egg3Bonus, 1);
}

TEST_F(PayTableTest, LookupsIgnoreCaseAndTheCutOfLongNames)
{
    EXPECT_EQ(
        rows(BuildCurrentGameSql(FormatGameListEntry("nevada - other", "HARRAH'S LAUGHLIN", "live keno $1")))
            .size(),
        11u);
    // A location longer than its column is looked up by its first 25 characters.
    const QString longLocation = "A LOCATION OF THIRTY CHARS....";
    ASSERT_EQ(longLocation.size(), 30);
    ASSERT_TRUE(ExecuteSql(
        db, "INSERT INTO [Pay Table] ([Location], [Casino], [Game], [Catch]) VALUES (?, 'c', 'g', 0)",
        {longLocation.left(25)}));
    const GameSql sql = BuildCurrentGameSql(FormatGameListEntry(longLocation, "c", "g"));
    EXPECT_EQ(sql.key().Location, longLocation.left(25).toStdString());
    EXPECT_EQ(rows(sql).size(), 1u);
}

TEST_F(PayTableTest, CleanUpDropsOutOfRangeCatchesAndStoresZeroPaysAsNull)
{
    const QString insert =
        "INSERT INTO [Pay Table] ([Location], [Casino], [Game], [Catch], [Pick3], [Pick4]) "
        "VALUES ('X', 'O''Sheas', 'G', ?, ?, ?)";
    ASSERT_TRUE(ExecuteSql(db, insert, {11, 5, 5}));
    ASSERT_TRUE(ExecuteSql(db, insert, {-1, 5, 5}));
    ASSERT_TRUE(ExecuteSql(db, insert, {0, 0, "0"}));
    ASSERT_TRUE(ExecuteSql(db, insert, {QVariant(QMetaType(QMetaType::Int)), 2, 0.0}));
    const qlonglong before = scalar("SELECT count(*) FROM [Pay Table]").toLongLong();

    QString error;
    ASSERT_TRUE(CleanPayTable(db, &error)) << error.toStdString();
    EXPECT_EQ(scalar("SELECT count(*) FROM [Pay Table]").toLongLong(), before - 2);
    EXPECT_EQ(scalar("SELECT count(*) FROM [Pay Table] WHERE [Catch] > 10 OR [Catch] < 0").toInt(), 0);
    EXPECT_TRUE(
        scalar("SELECT [Pick3] FROM [Pay Table] WHERE [Casino] = ? AND [Catch] = 0", {"O'Sheas"}).isNull());
    EXPECT_TRUE(
        scalar("SELECT [Pick4] FROM [Pay Table] WHERE [Casino] = ? AND [Catch] = 0", {"O'Sheas"}).isNull());
    EXPECT_EQ(
        scalar("SELECT [Pick3] FROM [Pay Table] WHERE [Casino] = ? AND [Catch] IS NULL", {"O'Sheas"}).toInt(),
        2);
    EXPECT_TRUE(scalar("SELECT [Pick4] FROM [Pay Table] WHERE [Casino] = ? AND [Catch] IS NULL", {"O'Sheas"})
                    .isNull());
    // No seed game stores a zero pay.
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(
            scalar(QStringLiteral("SELECT count(*) FROM [Pay Table] WHERE [Pick%1] = 0").arg(n)).toInt(), 0);
}

// The clean-up removes such rows, but a read-only database and the command line read them as
// they are stored.
TEST_F(PayTableTest, ACatchBeyondAnyWholeNumberReadsAsBlankNotConverted)
{
    const QString insert =
        "INSERT INTO [Pay Table] ([Location], [Casino], [Game], [Catch]) VALUES ('X', 'Y', 'Z', ?)";
    for (const double stored : {1e20, -1e20, std::numeric_limits<double>::infinity()})
        ASSERT_TRUE(ExecuteSql(db, insert, {stored}));
    ASSERT_TRUE(ExecuteSql(db, insert, {7}));
    const std::vector<PayScheduleRow> read = rows(GameSql({"X", "Y", "Z"}));
    ASSERT_EQ(read.size(), 4u);
    EXPECT_EQ(std::count_if(read.begin(), read.end(), [](const PayScheduleRow& row) { return !row.Catch; }),
              3);
    EXPECT_EQ(
        std::count_if(read.begin(), read.end(), [](const PayScheduleRow& row) { return row.Catch == 7; }), 1);
}
