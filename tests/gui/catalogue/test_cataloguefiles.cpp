// The catalogue and the files it reads and writes: imports that are refused or replace a game,
// delete and export that find nothing, and the repair of an older database at start.

#include "db/database.h"
#include "gui/catalogue/paygridmodel.h"
#include "support/boardrun.h"
#include "support/databasedump.h"
#include "support/tempdatafolder.h"
#include "support/windowtest.h"

#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace tallyhawk;

namespace {

const QString kImportError = "An unspecified import error has occurred.";
const QString kHarrahs = FormatGameListEntry("NEVADA - Other", "Harrah's Laughlin", "Live Keno $1");
const QString kFirePower = FormatGameListEntry("NEVADA - Las Vegas", "Rampart", "Fire Power Keno");

int rowsOf(QSqlDatabase db, const QString& casino)
{
    QSqlQuery query(db);
    query.prepare("SELECT count(*) FROM [Pay Table] WHERE [Casino] = ?");
    query.addBindValue(casino);
    return query.exec() && query.next() ? query.value(0).toInt() : -1;
}

// A pay-table record: the key as written, the Catch, the 16 values after it.
QByteArray record(const QByteArray& key, const QByteArray& caught, const QByteArray& rest = ",,,,,,,,,,,,,,,")
{
    return key + "," + caught + "," + rest + "\r\n";
}

// A game of eleven records under the key, its bonus values on the first.
QByteArray game(const QByteArray& key)
{
    QByteArray text = record(key, "0", ",,,,,,,,,,0,0,1,1,1,1");
    for (int c = 1; c <= 10; ++c)
        text += record(key, QByteArray::number(c),
                       QByteArray(",,,,,,,,,") + QByteArray::number(c * 10) + ",,,,,,");
    return text;
}

} // namespace

class CatalogueFilesTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void aFileKeyedWithBlanksImportsAGameThatCanBeReached();
    void refusedFilesChangeNothingAndSayWhy_data();
    void refusedFilesChangeNothingAndSayWhy();
    void replacingAGameAsksFirst();
    void deleteAndExportThatFindNothingSaySo();
    void theExportDialogStartsInAFolderAndAddsCsv();
    void theRepairAtStartSaysOnceWhatItRepaired();

private:
    void openCatalogueOn(const QString& entry);
    QString writeFile(const QString& name, const QByteArray& bytes);
    void importFile(const QString& path);
    BoardRun& run() { return *m_run; }
    frmObjectMap& catalogue() { return m_run->catalogue; }
    QSqlDatabase db() { return m_run->module2.gDatabase; }

    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<BoardRun> m_run;
    QTemporaryDir m_files;
};

void CatalogueFilesTest::init()
{
    m_run.reset();
    m_folder = std::make_unique<TempDataFolder>();
    m_run = std::make_unique<BoardRun>(m_folder->path());
    QVERIFY(m_run->board.Form_Load());
    m_run->board.show();
}

void CatalogueFilesTest::cleanup()
{
    m_run.reset();
}

void CatalogueFilesTest::openCatalogueOn(const QString& entry)
{
    run().chooseGame(entry);
    run().click(run().board.CommandPays);
    QVERIFY(catalogue().isVisible());
}

QString CatalogueFilesTest::writeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(m_files.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return file.fileName();
}

void CatalogueFilesTest::importFile(const QString& path)
{
    run().dialogs.fileNames = {path};
    QTest::mouseClick(catalogue().CommandImport, Qt::LeftButton);
}

void CatalogueFilesTest::aFileKeyedWithBlanksImportsAGameThatCanBeReached()
{
    openCatalogueOn(kHarrahs);
    // Saved by a spreadsheet as "Unicode text": UTF-16 with its byte order mark.
    const QString text = game("\"ARIZONA \",\"  Desert Diamond\",\"Keno 25\u00a2 \"");
    QByteArray utf16("\xFF\xFE");
    for (const QChar c : text)
        utf16 += QByteArray(reinterpret_cast<const char*>(&c), 2);
    importFile(writeFile("arizona.csv", utf16));
    QCOMPARE(run().dialogs.messages().last(), QString("Import Operation Complete!"));

    const QString entry = FormatGameListEntry("ARIZONA", "Desert Diamond", "Keno 25\u00a2");
    QCOMPARE(catalogue().ComboGameList->currentText(), entry);
    QCOMPARE(catalogue().ComboGameList->findText(entry), 0); // listed, and first
    QCOMPARE(catalogue().pDataListing->rowCount(), 11);
    QCOMPARE(catalogue().DataBonus->rowCount(), 1);

    const QString path = m_files.filePath("arizona-out.csv");
    run().dialogs.fileNames = {path};
    QTest::mouseClick(catalogue().CommandExport, Qt::LeftButton);
    QCOMPARE(run().dialogs.messages().last(), QString("Export Operation Complete!"));
    QFile exported(path);
    QVERIFY(exported.open(QIODevice::ReadOnly));
    const QByteArray written = exported.readAll();
    QCOMPARE(written.count('\n'), 11);
    QVERIFY(written.startsWith("\"ARIZONA\",\"Desert Diamond\",\"Keno 25\xC2\xA2\",0,"));

    run().dialogs.answers = {true};
    QTest::mouseClick(catalogue().CommandDelete, Qt::LeftButton);
    QCOMPARE(rowsOf(db(), "Desert Diamond"), 0);
    QCOMPARE(catalogue().ComboGameList->findText(entry), -1);
}

void CatalogueFilesTest::refusedFilesChangeNothingAndSayWhy_data()
{
    const QByteArray key = "\"NEVADA - Las Vegas\",\"Rampart\",\"Fire Power Keno\"";
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("header line")
        << "Location,Casino,Game,Catch,Pick1,Pick2,Pick3,Pick4,Pick5,Pick6,Pick7,Pick8,"
           "Pick9,Pick10,Bonus Ball,Free Games,Bonus Factor,Egg1 Bonus,Egg2 Bonus,Egg3 "
           "Bonus\r\n" +
               game(key)
        << "Record 1: its Catch, \"Catch\", is not a whole number from 0 to 10.";
    QTest::newRow("binary")
        << QByteArray("\x7F"
                      "ELF\x02\x01\x01\x00\x00\x00,,,,,,,,,,,,,,,,,,,,,,",
                      33)
        << "Record 1, value 1 holds a NUL character, which no text file of comma-separated "
           "values does.";
    QTest::newRow("another game's records")
        << record(key, "0") +
               record("\"NEVADA - Las Vegas\",\"Rampart\",\"Keno\"", "1", "99999,,,,,,,,,,,,,,,")
        << "Record 2 names another game (NEVADA - Las Vegas, Rampart, Keno) than record 1 (NEVADA - Las "
           "Vegas, "
           "Rampart, Fire Power Keno).";
    QTest::newRow("a game name the list would cut")
        << game("\"NEVADA - Las Vegas\",\"Rampart\",\"Fire Power Keno Deluxe 32\"")
        << "Record 1: the game name \"Fire Power Keno Deluxe 32\" is longer than 20 characters.";
    QTest::newRow("a pay above 2^31 - 1")
        << record(key, "0") + record(key, "1", "2147483648,,,,,,,,,,,,,,,")
        << "Record 2: Pick 1 is 2147483648, above 2,147,483,647, the largest pay "
           "the simulation holds.";
    QTest::newRow("a bonus factor above 32767")
        << record(key, "0", ",,,,,,,,,,0,0,32768,1,1,1")
        << "Record 1: Bonus Factor is 32768, above 32,767, the largest bonus "
           "value the board holds.";
    QTest::newRow("an egg bonus above 32767")
        << record(key, "0", ",,,,,,,,,,0,0,1,1,1,99999")
        << "Record 1: 3 - Egg Factor is 99999, above 32,767, the largest bonus "
           "value the board holds.";
    QTest::newRow("a negative value")
        << record(key, "0", ",,,,,,,,,,0,0,1,-1,1,1") << "Record 1: 1 - Egg Factor is -1, below 0.";
}

void CatalogueFilesTest::refusedFilesChangeNothingAndSayWhy()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    openCatalogueOn(kFirePower);
    const QStringList before = DatabaseDump(db());
    importFile(writeFile("refused.csv", bytes));
    QCOMPARE(run().dialogs.messages().last(), kImportError + "\n\n" + reason);
    QCOMPARE(DatabaseDump(db()), before);
    QCOMPARE(catalogue().ComboGameList->currentText(), kFirePower);
}

void CatalogueFilesTest::replacingAGameAsksFirst()
{
    openCatalogueOn(kHarrahs);
    const QString path =
        writeFile("harrahs.csv", game("\"nevada - other\",\"Harrah's Laughlin \",\"Live Keno $1\""));
    const QStringList before = DatabaseDump(db());
    run().dialogs.answers = {false};
    importFile(path);
    QCOMPARE(run().dialogs.shown.back().kind, QString("yesno"));
    QCOMPARE(run().dialogs.shown.back().text,
             QString("The Pay Table already holds the game nevada - other, Harrah's Laughlin, Live Keno $1. "
                     "Replace it with the game in the file?"));
    QVERIFY(run().dialogs.shown.back().defaultNo);
    QCOMPARE(DatabaseDump(db()), before);

    run().dialogs.answers = {true};
    importFile(path);
    QCOMPARE(run().dialogs.messages().last(), QString("Import Operation Complete!"));
    QCOMPARE(rowsOf(db(), "Harrah's Laughlin"), 11);
    QCOMPARE(catalogue().pDataListing->value(10, "Pick10").toInt(), 100);
}

void CatalogueFilesTest::deleteAndExportThatFindNothingSaySo()
{
    openCatalogueOn(kHarrahs);
    // The game goes behind the window's back, as another copy of the program could remove it.
    QVERIFY(ExecuteSql(db(), "DELETE FROM [Pay Table] WHERE [Casino] = ?", {"Harrah's Laughlin"}));
    const QStringList before = DatabaseDump(db());
    run().dialogs.answers = {true};
    QTest::mouseClick(catalogue().CommandDelete, Qt::LeftButton);
    QCOMPARE(run().dialogs.shown.front().kind, QString("yesno"));
    QVERIFY(run().dialogs.shown.front().defaultNo);
    QCOMPARE(run().dialogs.messages().last(),
             QString("No game NEVADA - Other, Harrah's Laughlin, Live Keno $1 is "
                     "stored in the Pay Table, so nothing was deleted."));

    const QString path = m_files.filePath("nothing.csv");
    const auto shown = run().dialogs.shown.size();
    QTest::mouseClick(catalogue().CommandExport, Qt::LeftButton); // no file dialog: nothing to save
    QCOMPARE(run().dialogs.shown.size(), shown + 1);
    QCOMPARE(run().dialogs.messages().last(),
             QString("No game NEVADA - Other, Harrah's Laughlin, Live Keno $1 is "
                     "stored in the Pay Table, so nothing was exported."));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(DatabaseDump(db()), before);
}

void CatalogueFilesTest::theExportDialogStartsInAFolderAndAddsCsv()
{
    openCatalogueOn(kFirePower);
    run().dialogs.fileNames = {m_files.filePath("fire-power")};
    QTest::mouseClick(catalogue().CommandExport, Qt::LeftButton);
    QVERIFY(QFile::exists(m_files.filePath("fire-power.csv")));
    QCOMPARE(run().dialogs.shown.front().kind, QString("save"));
    QVERIFY(QFileInfo(run().dialogs.shown.front().title).isDir()); // a folder: the file name starts empty
}

void CatalogueFilesTest::theRepairAtStartSaysOnceWhatItRepaired()
{
    m_run.reset();
    TempDataFolder folder;
    {
        DatabaseOpening opening = openDatabase(folder.databasePath(), "older-version");
        QVERIFY(opening.ok());
        // What older versions let an import store: a Null Catch with NUL characters in the key,
        // a fractional Catch, and a key with blanks around it.
        QVERIFY(ExecuteSql(opening.db,
                           "INSERT INTO [Pay Table] ([Location], [Casino], [Game], [Catch], [Pick1]) "
                           "VALUES (CAST(x'4c006f00' AS TEXT), 'C', 'G', NULL, 5), "
                           "('NEVADA - Other', 'Harrah''s Laughlin', 'Live Keno $1', 2.5, 9)"));
        QVERIFY(ExecuteSql(opening.db,
                           "UPDATE [Pay Table] SET [Location] = 'ARIZONA ', [Casino] = '  Rampart' "
                           "WHERE [Casino] = 'Rampart'"));
        closeDatabase(opening.db);
    }
    {
        BoardRun first(folder.path());
        QVERIFY(first.board.Form_Load());
        QCOMPARE(first.dialogs.messages(),
                 QStringList{
                     "Tallyhawk has repaired its catalogue of games:\n"
                     "- removed 2 rows that could never be shown (a Catch that is not a whole number from 0 "
                     "to 10, or a NUL character in a location, casino or game name);\n"
                     "- stored 1 game without the blanks around its location, casino or game name, so that "
                     "it can be found again."});
        const QString repaired = FormatGameListEntry("ARIZONA", "Rampart", "Fire Power Keno");
        first.chooseGame(repaired);
        first.click(first.board.CommandPays);
        QCOMPARE(first.catalogue.pDataListing->rowCount(), 11);
        QCOMPARE(rowsOf(first.module2.gDatabase, "Harrah's Laughlin"), 11);
    }
    BoardRun second(folder.path());
    QVERIFY(second.board.Form_Load());
    QVERIFY(second.dialogs.messages().isEmpty()); // said once
}

TALLYHAWK_WINDOW_TEST_MAIN(CatalogueFilesTest)
#include "test_cataloguefiles.moc"
