#include "db/paytable.h"
#include "db/repair.h"
#include "support/databasetest.h"

#include <gtest/gtest.h>

using namespace tallyhawk;

namespace {

class RepairTest : public DatabaseTest
{
protected:
    void insert(const QVariant& location, const QVariant& casino, const QVariant& game,
                const QVariant& caught)
    {
        ASSERT_TRUE(ExecuteSql(db,
                               "INSERT INTO [Pay Table] ([Location], [Casino], [Game], [Catch], [Pick1]) "
                               "VALUES (?, ?, ?, ?, 7)",
                               {location, casino, game, caught}));
    }
    qlonglong rows(const QString& condition = "1")
    {
        return scalar("SELECT count(*) FROM [Pay Table] WHERE " + condition).toLongLong();
    }
    CatalogueRepair repair()
    {
        CatalogueRepair report;
        QString error;
        EXPECT_TRUE(RepairCatalogue(db, &report, &error)) << error.toStdString();
        return report;
    }
};

const QVariant kNull = QVariant(QMetaType(QMetaType::QString));

} // namespace

TEST_F(RepairTest, ASoundCatalogueIsLeftAsItIs)
{
    const qlonglong before = rows();
    const CatalogueRepair report = repair();
    EXPECT_FALSE(report.repaired());
    EXPECT_TRUE(report.description().isEmpty());
    EXPECT_EQ(rows(), before);
}

TEST_F(RepairTest, RemovesRowsThatCanNeverBeListed)
{
    const qlonglong before = rows();
    // A Catch that is Null, fractional, text or out of range, and keys holding a NUL.
    for (const QVariant& caught :
         {QVariant(QMetaType(QMetaType::Int)), QVariant(2.5), QVariant("Catch"), QVariant(11), QVariant(-1)})
        insert("OTHER", "Junk", "Keno", caught);
    ASSERT_TRUE(
        ExecuteSql(db, "INSERT INTO [Pay Table] ([Location], [Casino], [Game], [Catch]) "
                       "VALUES (CAST(x'4f0054' AS TEXT), 'C', 'G', 0), ('L', CAST(x'00' AS TEXT), 'G', 1), "
                       "('L', 'C', CAST(x'4b00' AS TEXT), 2)"));
    insert("OTHER", "Kept", "Keno", 3); // a sound row of another game stays
    ASSERT_EQ(rows(), before + 9);

    const CatalogueRepair report = repair();
    EXPECT_EQ(report.rowsRemoved, 8);
    EXPECT_EQ(report.gamesTrimmed, 0);
    EXPECT_EQ(rows(), before + 1);
    EXPECT_TRUE(report.description().contains("- removed 8 rows that could never be shown"))
        << report.description().toStdString();
    EXPECT_FALSE(repair().repaired()); // said once: the next start finds nothing
}

TEST_F(RepairTest, TrimsKeysWhereNoOtherGameHasTheTrimmedKey)
{
    ASSERT_TRUE(ExecuteSql(db,
                           "UPDATE [Pay Table] SET [Location] = 'NEVADA - Other ', [Casino] = ' Harrah''s "
                           "Laughlin' WHERE [Casino] = ?",
                           {"Harrah's Laughlin"}));
    // Trimmed, this one would become Aquarius Laughlin's key: it stays.
    ASSERT_TRUE(ExecuteSql(db, "UPDATE [Pay Table] SET [Game] = 'Live Keno $1 ' WHERE [Casino] = ?",
                           {"Aquarius Laughlin"}));
    insert("NEVADA - Other", "Aquarius Laughlin", "Live Keno $1", 0);
    insert(kNull, "Missing", "Keno", 0); // a part stored as Null is found as an empty one

    const CatalogueRepair report = repair();
    EXPECT_EQ(report.rowsRemoved, 0);
    EXPECT_EQ(report.gamesTrimmed, 2);
    EXPECT_EQ(rows("[Location] = 'NEVADA - Other' AND [Casino] = 'Harrah''s Laughlin'"), 11);
    EXPECT_EQ(rows("[Game] = 'Live Keno $1 '"), 11);
    EXPECT_EQ(rows("[Location] = '' AND [Casino] = 'Missing'"), 1);
    const GameSql harrahs(GameKey{"NEVADA - Other", "Harrah's Laughlin", "Live Keno $1"});
    std::vector<PayScheduleRow> game;
    ASSERT_TRUE(ReadGameRows(db, harrahs, &game));
    EXPECT_EQ(game.size(), 11u);
}

TEST_F(RepairTest, AFailedRepairChangesNothing)
{
    insert("OTHER", "Junk", "Keno", 2.5);
    ASSERT_TRUE(ExecuteSql(db, "CREATE TEMP TRIGGER refuse BEFORE UPDATE ON [Pay Table] "
                               "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"));
    ASSERT_TRUE(ExecuteSql(db, "INSERT INTO [Pay Table] ([Location], [Casino], [Game], [Catch]) VALUES "
                               "(' L', 'C', 'G', 0)"));
    const qlonglong before = rows();
    CatalogueRepair report;
    QString error;
    EXPECT_FALSE(RepairCatalogue(db, &report, &error));
    EXPECT_TRUE(error.contains("refused by the test")) << error.toStdString();
    EXPECT_FALSE(report.repaired());
    EXPECT_EQ(rows(), before); // the junk row is still there: all or nothing
}
