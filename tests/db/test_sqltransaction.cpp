#include "db/catalogue.h"
#include "db/defaults.h"
#include "db/paytable.h"
#include "db/sessions.h"
#include "db/sqltransaction.h"
#include "engine/sim/sessionstats.h"
#include "support/databasetest.h"

#include <QSqlQuery>

using namespace tallyhawk;

namespace {

// Another program reading the file: its open read transaction keeps a shared lock, under
// which no commit can finish.
class Reader
{
public:
    explicit Reader(const QString& path)
    {
        m_opening = openDatabase(path, "other-program", OpenMode::ReadOnly);
        m_query = QSqlQuery(m_opening.db);
        m_holding =
            m_query.exec("BEGIN") && m_query.exec("SELECT count(*) FROM [Pay Table]") && m_query.next();
    }
    ~Reader()
    {
        release();
        m_query = QSqlQuery();
        closeDatabase(m_opening.db);
    }
    bool holding() const { return m_holding; }
    void release()
    {
        m_query.finish();
        m_query.exec("ROLLBACK");
        m_holding = false;
    }

private:
    DatabaseOpening m_opening;
    QSqlQuery m_query;
    bool m_holding = false;
};

class SqlTransactionTest : public DatabaseTest
{
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        // The program waits five seconds for a lock; the test need not.
        QSqlQuery(db).exec("PRAGMA busy_timeout = 50");
    }

    ProgramDefaults storedDefaults()
    {
        DatabaseOpening other = openDatabase(m_folder.databasePath(), "checker", OpenMode::ReadOnly);
        ProgramDefaults defaults;
        QString error;
        EXPECT_TRUE(ReadDefaults(other.db, &defaults, &error)) << error.toStdString();
        closeDatabase(other.db);
        return defaults;
    }

    const std::vector<std::int32_t> m_folded = std::vector<std::int32_t>(kFoldedTop + 1, 1);
};

} // namespace

// A commit that another program's read keeps from finishing is rolled back and reported;
// the connection is then outside any transaction, so the saves that follow land.
TEST_F(SqlTransactionTest, ABusyCommitIsReportedAndTheSavesAfterItLand)
{
    QString error;
    {
        Reader reader(m_folder.databasePath());
        ASSERT_TRUE(reader.holding());
        EXPECT_FALSE(WriteSessionsTable(db, m_folded, "a game", 3, 10, &error));
        EXPECT_TRUE(error.contains("Another program is using the database file")) << error.toStdString();
        const SaveResult busy = SaveCredits(db, 500);
        EXPECT_TRUE(busy.failed());
        reader.release();

        const SaveResult saved = SaveCredits(db, 500);
        EXPECT_EQ(saved.outcome, SaveOutcome::Saved) << saved.error.toStdString();
        EXPECT_TRUE(SaveStartupState(db, "the quit save", 900, &error)) << error.toStdString();
        EXPECT_TRUE(CopyGameAsNew(db, {"OTHER", "Published example", "Cleopatra Keno"}, "Copy", &error))
            << error.toStdString();
        EXPECT_TRUE(WriteSessionsTable(db, m_folded, "a game", 3, 10, &error)) << error.toStdString();
    }
    // What another connection reads is what was committed.
    const ProgramDefaults defaults = storedDefaults();
    EXPECT_EQ(defaults.SaveCredits, 900);
    EXPECT_EQ(defaults.StartupGame, "the quit save");
    EXPECT_EQ(scalar("SELECT count(*) FROM [Pay Table] WHERE [Game] = 'Copy'").toInt(), 11);
    EXPECT_EQ(scalar("SELECT count(*) FROM [Sessions]").toInt(), kFoldedTop + 1);
}

TEST_F(SqlTransactionTest, AnUncommittedTransactionRollsBack)
{
    {
        SqlTransaction transaction(db);
        ASSERT_TRUE(transaction.isActive()) << transaction.error().toStdString();
        ASSERT_TRUE(ExecuteSql(db, "DELETE FROM [Pay Table]"));
    }
    EXPECT_GT(scalar("SELECT count(*) FROM [Pay Table]").toInt(), 0);
    SqlTransaction next(db);
    EXPECT_TRUE(next.isActive()) << next.error().toStdString();
}
