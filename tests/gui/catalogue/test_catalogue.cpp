#include "gui/catalogue/paygridmodel.h"
#include "support/boardrun.h"
#include "support/databasedump.h"
#include "support/gridkeys.h"
#include "support/tempdatafolder.h"
#include "support/windowtest.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>

using namespace tallyhawk;

namespace {

const QString kHarrahs = FormatGameListEntry("NEVADA - Other", "Harrah's Laughlin", "Live Keno $1");
const QString kFirePower = FormatGameListEntry("NEVADA - Las Vegas", "Rampart", "Fire Power Keno");
const QString kTropicana = FormatGameListEntry("NEW JERSEY", "Tropicana Atlantic City", "Live Keno");

QVariant scalar(QSqlDatabase db, const QString& statement, const QVariantList& values = {})
{
    QSqlQuery query(db);
    query.prepare(statement);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec() || !query.next())
        return {};
    return query.value(0);
}

int rowsOf(QSqlDatabase db, const QString& casino)
{
    return scalar(db, "SELECT count(*) FROM [Pay Table] WHERE [Casino] = ?", {casino}).toInt();
}

// Types a value into a cell with the keyboard and leaves it with Enter; an empty text blanks
// the cell with Delete.
void typeCell(QTableView* grid, int row, const QString& field, const QString& text)
{
    auto* model = static_cast<PayGridModel*>(grid->model());
    clickCell(grid, row, model->fieldColumn(field));
    if (text.isEmpty()) {
        press(Qt::Key_Delete);
        return;
    }
    type(text);
    press(Qt::Key_Return);
}

int rowOfCatch(PayGridModel* model, int c)
{
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->value(row, "Catch").toInt() == c)
            return row;
    return -1;
}

QStringList entries(const QComboBox* combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list << combo->itemText(i);
    return list;
}

} // namespace

class CatalogueTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void paysDisplayAndBackKeepTheTicketAndTheBet();
    void eachLockCheckInItsOrder();
    void theReminderDoesNotStopTheLock();
    void addThenLockUnderANewKey();
    void aLockOntoAnotherGamesKeyIsRefused();
    void deleteKeepsTheLastGameAndIgnoresCase();
    void exportThenImportAGameWithAnApostrophe();
    void anImportThatFailsMidwayLeavesTheOldGame();
    void backRoundsOnlyTheEditedGames();
    void casinoNamesStopAt28Characters();
    void quittingFromTheCatalogueSavesTheGameAndTheCredits();
    void helpFallsBackToAWindowOfItsOwn();
    void theReturnRowFollowsThePays();
    void aTableTypedWithTabAndEnterKeepsEveryValue();
    void theReturnRowFollowsEveryTypedValueAndSaysWhyItIsBlank();
    void aKeyThatCannotBeStoredIsRefusedByTheLock();
    void theLockRefusesValuesTheRulesCannotHold_data();
    void theLockRefusesValuesTheRulesCannotHold();
    void aLockRefusesTwoRowsForOneCatch();
    void theWindowShowsAGameWhole();

private:
    void openCatalogueOn(const QString& entry);
    BoardRun& run() { return *m_run; }
    frmObjectMap& catalogue() { return m_run->catalogue; }
    QSqlDatabase db() { return m_run->module2.gDatabase; }
    QTableView* grid1() { return m_run->catalogue.DBGrid1; }
    QTableView* grid2() { return m_run->catalogue.DBGrid2; }

    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<BoardRun> m_run;
    QTemporaryDir m_files;
};

void CatalogueTest::init()
{
    m_run.reset();
    m_folder = std::make_unique<TempDataFolder>();
    m_run = std::make_unique<BoardRun>(m_folder->path());
    QVERIFY(m_run->board.Form_Load());
    m_run->board.setPauseScale(0);
    m_run->board.show();
}

void CatalogueTest::cleanup()
{
    m_run.reset();
}

void CatalogueTest::openCatalogueOn(const QString& entry)
{
    run().chooseGame(entry);
    run().click(run().board.CommandPays);
    QVERIFY(catalogue().isVisible());
    QCOMPARE(catalogue().ComboGameList->currentText(), entry);
    catalogue().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&catalogue()));
}

void CatalogueTest::paysDisplayAndBackKeepTheTicketAndTheBet()
{
    run().chooseGame(kTropicana);
    for (int i = 0; i < 3; ++i)
        run().click(run().board.CommandBet);
    for (int n : {4, 44, 74})
        run().clickNumber(n);
    const QString listing = run().board.oddsText();
    run().click(run().board.CommandPays);

    QVERIFY(catalogue().isVisible());
    QVERIFY(!run().board.isVisible());
    QCOMPARE(run().board.TextWin->text(), QString("WIN     0"));
    QCOMPARE(run().module2.gMarkedNumbers[1], 4);
    QCOMPARE(run().module2.gMarkedNumbers[3], 74);
    QCOMPARE(run().module2.gMarkedNumbers[4], 0);
    QCOMPARE(catalogue().pDataListing->rowCount(), 11);
    QCOMPARE(catalogue().DataBonus->rowCount(), 1);
    QCOMPARE(catalogue().DataBonus->value(0, "Bonus Factor").toInt(), 1);
    QVERIFY(!(catalogue().pDataListing->flags(catalogue().pDataListing->index(3, 4)) & Qt::ItemIsEditable));
    QVERIFY(catalogue().ComboLocations->isHidden());

    // Browsing another game and coming back to this one keeps the ticket.
    catalogue().ComboGameList->setCurrentText(kHarrahs);
    catalogue().ComboGameList_Click();
    QCOMPARE(catalogue().TextCasino->text(), QString("Harrah's Laughlin"));
    catalogue().ComboGameList->setCurrentText(kTropicana);
    catalogue().ComboGameList_Click();
    QTest::mouseClick(catalogue().CommandBack, Qt::LeftButton);
    QVERIFY(!catalogue().isVisible());
    QVERIFY(run().board.isVisible());
    QCOMPARE(run().board.TextBet->text(), QString(" 3"));
    QCOMPARE(run().board.TextMarked->text(), QString("MARKED   3"));
    QCOMPARE(run().module2.gBoardMarks[0][3], kMarked);
    QCOMPARE(run().board.oddsText(), listing);

    // Coming back with another game erases the ticket, as choosing a game does.
    run().click(run().board.CommandPays);
    catalogue().ComboGameList->setCurrentText(kHarrahs);
    catalogue().ComboGameList_Click();
    QTest::mouseClick(catalogue().CommandBack, Qt::LeftButton);
    QCOMPARE(run().board.ComboGameList->currentText(), kHarrahs);
    QCOMPARE(run().board.TextMarked->text(), QString("MARKED   0"));
    QCOMPARE(run().board.TextBet->text(), QString(" 3"));
}

void CatalogueTest::eachLockCheckInItsOrder()
{
    openCatalogueOn(kTropicana);
    PayGridModel* pays = catalogue().pDataListing;
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    QCOMPARE(
        run().dialogs.messages().last(),
        QString(
            "You may now change Pay and Bonus entries for the current game.\n\nYou may also change Location, "
            "Casino Name and name of the Keno Game. When finished, click 'Lock Pays'."));
    QCOMPARE(catalogue().CommandEdit->text(), QString("LOCK PAYS"));
    QVERIFY(!catalogue().CommandBack->isEnabled());
    QVERIFY(!catalogue().CommandImport->isEnabled());
    QVERIFY(catalogue().CommandHelp->isEnabled());
    QVERIFY(catalogue().TextCasino->isVisible());
    QVERIFY(run().module2.gEditingPays);

    // A cell takes numbers or a blank only.
    typeCell(grid1(), rowOfCatch(pays, 3), "Pick2", "two");
    QVERIFY(run().dialogs.messages().last().contains("not a number"));

    catalogue().ComboLocations->setCurrentText("new");
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    QCOMPARE(run().dialogs.messages().last(),
             QString("Change the 'New' entries to other values before selecting 'Lock Pays'"));
    catalogue().ComboLocations->setCurrentText("NEW JERSEY");

    typeCell(grid1(), rowOfCatch(pays, 3), "Pick2", "2");
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    QCOMPARE(run().dialogs.messages().last(),
             QString("You must remove the entry made for Pick 2 and Catch 3 before proceeding."));
    QVERIFY(catalogue().isUnlocked());
    typeCell(grid1(), rowOfCatch(pays, 3), "Pick2", "0"); // a zero is accepted
    typeCell(grid1(), rowOfCatch(pays, 3), "Pick2", "");

    typeCell(grid2(), 0, "Egg1 Bonus", "2");
    typeCell(grid2(), 0, "Bonus Ball", "1");
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    QCOMPARE(run().dialogs.messages().last(),
             QString("You cannot have both a Bonus Ball and Egg Bonus in the same game. "
                     "Set Bonus Ball = 0 OR set all Egg Bonuses = 1 ."));
    typeCell(grid2(), 0, "Bonus Ball", "0");
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    QCOMPARE(run().dialogs.messages().last(),
             QString("You must select a 'Caveman' game if any Egg Bonus is greater than ' 1 '."));
    QVERIFY(catalogue().isUnlocked());

    catalogue().ComboGame->setCurrentText("Caveman Keno 25\u00a2");
    const int shown = static_cast<int>(run().dialogs.shown.size());
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    QCOMPARE(static_cast<int>(run().dialogs.shown.size()), shown); // locked without a message
    QVERIFY(!catalogue().isUnlocked());
    QCOMPARE(catalogue().CommandEdit->text(), QString(" EDIT PAYS"));
    QVERIFY(catalogue().TextCasino->isHidden());
    const QString renamed =
        FormatGameListEntry("NEW JERSEY", "Tropicana Atlantic City", "Caveman Keno 25\u00a2");
    QCOMPARE(catalogue().ComboGameList->currentText(), renamed);
    QVERIFY(entries(run().board.ComboGameList).contains(renamed));
    QVERIFY(!entries(run().board.ComboGameList).contains(kTropicana));
}

void CatalogueTest::theReminderDoesNotStopTheLock()
{
    openCatalogueOn(kTropicana);
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    catalogue().ComboGame->setCurrentText("Keno $1");
    typeCell(grid2(), 0, "Egg3 Bonus", "0");
    typeCell(grid2(), 0, "Bonus Ball", "2");
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    QCOMPARE(run().dialogs.messages().last(),
             QString("Reminder: If you don't want a bonus to be applied, the values\n"
                     "in the bonus row should read  0   0   1   1   1   1"));
    QVERIFY(!catalogue().isUnlocked());
}

void CatalogueTest::addThenLockUnderANewKey()
{
    openCatalogueOn(kHarrahs);
    run().dialogs.answers = {true};
    QTest::mouseClick(catalogue().CommandAddNew, Qt::LeftButton);
    QCOMPARE(run().dialogs.shown.at(0).kind, QString("okcancel"));
    QCOMPARE(run().dialogs.shown.at(0).title, QString("Enter info for the new game"));
    QCOMPARE(rowsOf(db(), "New"), 11);
    QCOMPARE(catalogue().ComboGameList->currentText(),
             QString("New                      New                           Live Keno $1        "));
    QVERIFY(catalogue().isUnlocked());
    QCOMPARE(catalogue().pDataListing->rowCount(), 11);
    QCOMPARE(catalogue().TextCasino->text(), QString("New"));

    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton); // the placeholder refuses
    QVERIFY(catalogue().isUnlocked());
    catalogue().ComboLocations->setCurrentText("ARIZONA ");
    catalogue().TextCasino->setText("Desert O'Dell");
    catalogue().ComboGame->setCurrentText("Keno 25\u00a2");
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    QVERIFY(!catalogue().isUnlocked());

    const QString entry = FormatGameListEntry("ARIZONA", "Desert O'Dell", "Keno 25\u00a2");
    QCOMPARE(catalogue().ComboGameList->currentText(), entry);
    QCOMPARE(rowsOf(db(), "Desert O'Dell"), 11);
    const QStringList catalogueList = entries(catalogue().ComboGameList);
    QCOMPARE(catalogueList.size(), 18);
    QCOMPARE(catalogueList.first(), entry); // ARIZONA sorts first
    QCOMPARE(entries(run().board.ComboGameList), catalogueList);
}

void CatalogueTest::aLockOntoAnotherGamesKeyIsRefused()
{
    openCatalogueOn(kHarrahs);
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    catalogue().TextCasino->setText("Riverside Laughlin");
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    QVERIFY(run().dialogs.messages().last().contains("Another game already has"));
    QVERIFY(catalogue().isUnlocked());
    QCOMPARE(rowsOf(db(), "Riverside Laughlin"), 11);
    QCOMPARE(rowsOf(db(), "Harrah's Laughlin"), 11);
    // The same key in other letters is the same game.
    catalogue().TextCasino->setText("HARRAH'S LAUGHLIN");
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    QVERIFY(!catalogue().isUnlocked());
    QCOMPARE(rowsOf(db(), "HARRAH'S LAUGHLIN"), 11);
}

void CatalogueTest::deleteKeepsTheLastGameAndIgnoresCase()
{
    QVERIFY(ExecuteSql(db(), "UPDATE [Pay Table] SET [Location] = 'nevada - other' WHERE [Casino] = ?",
                       {"Harrah's Laughlin"}));
    openCatalogueOn(kHarrahs);
    QCOMPARE(catalogue().pDataListing->rowCount(), 11); // found whatever the letters
    run().dialogs.answers = {false};
    QTest::mouseClick(catalogue().CommandDelete, Qt::LeftButton);
    QCOMPARE(rowsOf(db(), "Harrah's Laughlin"), 11);
    run().dialogs.answers = {true};
    QTest::mouseClick(catalogue().CommandDelete, Qt::LeftButton);
    QCOMPARE(rowsOf(db(), "Harrah's Laughlin"), 0);
    QCOMPARE(catalogue().ComboGameList->count(), 16);
    QCOMPARE(catalogue().ComboGameList->currentText(), catalogue().ComboGameList->itemText(0));
    QCOMPARE(run().module2.gCurrentGameName, catalogue().ComboGameList->itemText(0));
    QCOMPARE(run().board.ComboGameList->count(), 16);

    // With a single game of 11 rows left, it stays.
    QVERIFY(ExecuteSql(db(), "DELETE FROM [Pay Table] WHERE [Casino] <> 'Rampart'"));
    run().dialogs.answers = {true};
    QTest::mouseClick(catalogue().CommandDelete, Qt::LeftButton);
    QCOMPARE(run().dialogs.messages().last(),
             QString("You must leave at least one game in the Pay Table. Operation Terminated."));
    QCOMPARE(rowsOf(db(), "Rampart"), 11);
}

void CatalogueTest::exportThenImportAGameWithAnApostrophe()
{
    openCatalogueOn(kHarrahs);
    const QString path = m_files.filePath("harrahs.csv");
    run().dialogs.fileNames = {path};
    QTest::mouseClick(catalogue().CommandExport, Qt::LeftButton);
    QCOMPARE(run().dialogs.messages().last(), QString("Export Operation Complete!"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 12); // 11 records, each ended by CR LF
    QCOMPARE(lines[0],
             QByteArray(
                 "\"NEVADA - Other\",\"Harrah's Laughlin\",\"Live Keno $1\",0,\"\",\"\",\"\",\"\",\"\",\"\","
                 "\"\",\"\",\"\",\"\",0,0,1,1,1,1\r"));
    QVERIFY(lines[10].startsWith("\"NEVADA - Other\",\"Harrah's Laughlin\",\"Live Keno $1\",10,"));
    QVERIFY(lines[10].contains(",50000,"));

    QVERIFY(ExecuteSql(db(), "DELETE FROM [Pay Table] WHERE [Casino] = ? AND [Catch] > 5",
                       {"Harrah's Laughlin"}));
    QVERIFY(ExecuteSql(db(), "UPDATE [Pay Table] SET [Pick10] = 1 WHERE [Casino] = ? AND [Catch] = 5",
                       {"Harrah's Laughlin"}));
    catalogue().ComboGameList->setCurrentText(kFirePower);
    catalogue().ComboGameList_Click();
    run().dialogs.fileNames = {path};
    run().dialogs.answers = {true}; // replace the game
    QTest::mouseClick(catalogue().CommandImport, Qt::LeftButton);
    QCOMPARE(run().dialogs.messages().last(), QString("Import Operation Complete!"));
    QCOMPARE(rowsOf(db(), "Harrah's Laughlin"), 11);
    QCOMPARE(scalar(db(), "SELECT [Pick10] FROM [Pay Table] WHERE [Casino] = ? AND [Catch] = 5",
                    {"Harrah's Laughlin"})
                 .toInt(),
             2);
    QCOMPARE(catalogue().ComboGameList->currentText(), kHarrahs);
    QCOMPARE(run().module2.gCurrentGameName, kHarrahs);
    QCOMPARE(catalogue().pDataListing->rowCount(), 11);

    // Cancelled dialogs do nothing and say nothing.
    const int shown = static_cast<int>(run().dialogs.messages().size());
    run().dialogs.fileNames = {QString(), QString()};
    QTest::mouseClick(catalogue().CommandImport, Qt::LeftButton);
    QTest::mouseClick(catalogue().CommandExport, Qt::LeftButton);
    QCOMPARE(static_cast<int>(run().dialogs.messages().size()), shown);
}

void CatalogueTest::anImportThatFailsMidwayLeavesTheOldGame()
{
    openCatalogueOn(kHarrahs);
    const QString path = m_files.filePath("changed.csv");
    run().dialogs.fileNames = {path};
    QTest::mouseClick(catalogue().CommandExport, Qt::LeftButton);
    QVERIFY(ExecuteSql(db(), "CREATE TEMP TRIGGER refuse_catch_5 BEFORE INSERT ON [Pay Table] "
                             "WHEN NEW.[Catch] = 5 BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    const QVariant before =
        scalar(db(), "SELECT group_concat(rowid) FROM [Pay Table] WHERE [Casino] = ?", {"Harrah's Laughlin"});
    run().dialogs.fileNames = {path};
    run().dialogs.answers = {true};
    QTest::mouseClick(catalogue().CommandImport, Qt::LeftButton);
    QVERIFY(run().dialogs.messages().last().startsWith("An unspecified import error has occurred.\n\n"));
    QVERIFY(run().dialogs.messages().last().contains("refused"));
    QCOMPARE(
        scalar(db(), "SELECT group_concat(rowid) FROM [Pay Table] WHERE [Casino] = ?", {"Harrah's Laughlin"}),
        before);

    // A file whose last record is short changes nothing either.
    QFile shortFile(m_files.filePath("short.csv"));
    QVERIFY(shortFile.open(QIODevice::WriteOnly));
    shortFile.write("\"NEVADA - Other\",\"Harrah's Laughlin\",\"Live Keno $1\",0,,,,,,,,,,,0,0,1,1,1,1\r\n"
                    "\"NEVADA - Other\",\"Harrah's Laughlin\",\"Live Keno $1\",1,1,1,1,1,1,1,1,1\r\n");
    shortFile.close();
    run().dialogs.fileNames = {shortFile.fileName()};
    QTest::mouseClick(catalogue().CommandImport, Qt::LeftButton);
    QCOMPARE(run().dialogs.messages().last(), QString("An unspecified import error has occurred.\n\n"
                                                      "Record 2 ends after 12 of its 20 values."));
    QCOMPARE(rowsOf(db(), "Harrah's Laughlin"), 11);
}

void CatalogueTest::backRoundsOnlyTheEditedGames()
{
    const auto firePowerPay = [this] {
        return scalar(db(), "SELECT [Pick2] FROM [Pay Table] WHERE [Casino] = 'Rampart' AND [Catch] = 2")
            .toDouble();
    };
    QCOMPARE(firePowerPay(), 12.275);
    openCatalogueOn(kTropicana);
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    PayGridModel* pays = catalogue().pDataListing;
    typeCell(grid1(), rowOfCatch(pays, 5), "Pick5", "2.5");
    typeCell(grid1(), rowOfCatch(pays, 6), "Pick6", "3.5");
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    QVERIFY(!catalogue().isUnlocked());
    QTest::mouseClick(catalogue().CommandBack, Qt::LeftButton);
    auto tropicana = [this](int c, int n) {
        return scalar(db(), QStringLiteral(
                                "SELECT [Pick%1] FROM [Pay Table] WHERE [Casino] = 'Tropicana Atlantic City' "
                                "AND [Catch] = %2")
                                .arg(n)
                                .arg(c))
            .toDouble();
    };
    QCOMPARE(tropicana(5, 5), 2.0);
    QCOMPARE(tropicana(6, 6), 4.0);
    QCOMPARE(firePowerPay(), 12.275); // a game nobody edited keeps its fractional pay
    QVERIFY(!run().module2.gEditingPays);
}

void CatalogueTest::casinoNamesStopAt28Characters()
{
    openCatalogueOn(kHarrahs);
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    catalogue().TextCasino->clear();
    QTest::keyClicks(catalogue().TextCasino, QString(29, 'c'));
    QCOMPARE(catalogue().TextCasino->text(), QString(28, 'c'));
    QCOMPARE(run().dialogs.beeps, 1);
    // The location and the game name stop where the list would cut them.
    catalogue().ComboLocations->clearEditText();
    QTest::keyClicks(catalogue().ComboLocations->lineEdit(), QString(26, 'l'));
    QCOMPARE(catalogue().ComboLocations->currentText(), QString(25, 'l'));
    catalogue().ComboGame->clearEditText();
    QTest::keyClicks(catalogue().ComboGame->lineEdit(), QString(21, 'g'));
    QCOMPARE(catalogue().ComboGame->currentText(), QString(20, 'g'));
    QCOMPARE(run().dialogs.beeps, 3);
}

void CatalogueTest::quittingFromTheCatalogueSavesTheGameAndTheCredits()
{
    run().click(run().board.CommandBet);
    openCatalogueOn(kHarrahs);
    catalogue().ComboGameList->setCurrentText(kFirePower);
    catalogue().ComboGameList_Click();
    QSignalSpy ended(&run().board, &frmKenoBoard::programEnded);
    run().dialogs.answers = {false};
    QVERIFY(!catalogue().close());
    QCOMPARE(ended.count(), 0);
    run().dialogs.answers = {true};
    QVERIFY(catalogue().close());
    QCOMPARE(ended.count(), 1);

    BoardRun next(m_folder->path());
    QVERIFY(next.board.Form_Load());
    QCOMPARE(next.board.ComboGameList->currentText(), kFirePower);
    QCOMPARE(next.board.TextCredits->text(), QString("100")); // the unplayed bet is the player's again
}

void CatalogueTest::helpFallsBackToAWindowOfItsOwn()
{
    openCatalogueOn(kHarrahs);
    run().dialogs.documentsOpen = false;
    QTest::mouseClick(catalogue().CommandHelp, Qt::LeftButton);
    QCOMPARE(run().dialogs.shown.back().kind, QString("document"));
    QVERIFY(run().dialogs.shown.back().text.endsWith("Help/help.htm"));
    QWidget* viewer = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "HelpViewer")
            viewer = widget;
    QVERIFY(viewer && viewer->isVisible());
    QVERIFY(!static_cast<QTextBrowser*>(viewer)->toPlainText().isEmpty());
    saveScreenshot(viewer, "help");
    viewer->close();
}

void CatalogueTest::theReturnRowFollowsThePays()
{
    auto returnOf = [this](int marked) {
        return catalogue().GridReturn->item(0, marked + 1)->text();
    };
    openCatalogueOn(FormatGameListEntry("OTHER", "Published example", "Cleopatra Keno"));
    QCOMPARE(catalogue().GridReturn->item(0, 0)->text(), QString("Return %"));
    QCOMPARE(returnOf(8), QString("90.15")); // the published return of this 8-spot table
    saveScreenshot(&catalogue(), "catalogue");

    QVERIFY(catalogue().GridReturn->isRowHidden(1)); // whole pays: the table is what any bet pays
    QVERIFY(catalogue().TextReturnNote->isHidden());

    // Avi Laughlin's 10-spot table pays 0.5 for four catches, which a bet of 1 pays as 0. By hand:
    // C(10, c) C(70, 20 - c) / C(80, 20) for c catches.
    auto choose = [](int n, int k) {
        double r = 1;
        for (int i = 1; i <= k; ++i)
            r = r * (n - k + i) / i;
        return r;
    };
    const double pays[] = {0, 0, 0, 0, 0.5, 2, 20, 120, 800, 3800, 50000};
    double payTable = 0, wholeCredits = 0;
    for (int c = 0; c <= 10; ++c) {
        const double p = choose(10, c) * choose(70, 20 - c) / choose(80, 20);
        payTable += 100 * p * pays[c];
        wholeCredits += c == 4 ? 0 : 100 * p * pays[c];
    }
    catalogue().ComboGameList->setCurrentText(
        FormatGameListEntry("NEVADA - Other", "Avi Laughlin", "Live Keno $1"));
    catalogue().ComboGameList_Click();
    QCOMPARE(returnOf(10), QString::number(payTable, 'f', 2)); // 73.66
    QCOMPARE(returnOf(10), QString("73.66"));
    QVERIFY(!catalogue().GridReturn->isRowHidden(1));
    QCOMPARE(catalogue().GridReturn->item(1, 0)->text(), QString("At bet 1 %"));
    QCOMPARE(catalogue().GridReturn->item(1, 11)->text(), QString::number(wholeCredits, 'f', 2)); // 66.30
    QVERIFY(catalogue().TextReturnNote->isVisible());
    QCOMPARE(
        catalogue().TextReturnNote->text(),
        QString("At a bet of 1 the board rounds each pay to whole credits (a pay of 0.5 pays nothing). Any "
                "even bet pays the pay table exactly."));
    saveScreenshot(&catalogue(), "catalogue-two-returns");

    catalogue().ComboGameList->setCurrentText(kHarrahs);
    catalogue().ComboGameList_Click();
    QVERIFY(catalogue().GridReturn->isRowHidden(1));
    for (int marked = 1; marked <= 9; ++marked)
        QCOMPARE(returnOf(marked), QString()); // a game that pays ten numbers only
    const QString before = returnOf(10);
    QVERIFY(!before.isEmpty());
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    typeCell(grid1(), rowOfCatch(catalogue().pDataListing, 10), "Pick10", "100000");
    QVERIFY(returnOf(10).toDouble() > before.toDouble());
}

void CatalogueTest::aTableTypedWithTabAndEnterKeepsEveryValue()
{
    openCatalogueOn(kTropicana);
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    PayGridModel* pays = catalogue().pDataListing;
    const int pick = pays->fieldColumn("Pick5");
    const int row = rowOfCatch(pays, 5);
    const auto cell = [&](int r, int column) {
        return pays->data(pays->index(r, column)).toString();
    };
    // Click, type 5, Tab, type 6, Enter: both are kept and Enter goes down a row.
    clickCell(grid1(), row, pick);
    type("5");
    press(Qt::Key_Tab);
    type("6");
    press(Qt::Key_Return);
    QCOMPARE(cell(row, pick), QString("5"));
    QCOMPARE(cell(row, pick + 1), QString("6"));
    QCOMPARE(grid1()->currentIndex(), pays->index(row + 1, pick + 1));
    // The arrows move and keep what was typed; Shift+Tab goes back; typing replaces the cell.
    type("7");
    press(Qt::Key_Up);
    QCOMPARE(cell(row + 1, pick + 1), QString("7"));
    QCOMPARE(grid1()->currentIndex(), pays->index(row, pick + 1));
    press(Qt::Key_Backtab);
    type("12.5");
    press(Qt::Key_Right); // at the end of the text: the next cell
    QCOMPARE(cell(row, pick), QString("12.5"));
    type("8");
    press(Qt::Key_Down);
    QCOMPARE(cell(row, pick + 1), QString("8"));
    QCOMPARE(grid1()->currentIndex(), pays->index(row + 1, pick + 1));
    press(Qt::Key_Delete);
    QCOMPARE(cell(row + 1, pick + 1), QString());
    press(Qt::Key_Escape); // nothing to drop

    // The bonus grid types the same way.
    clickCell(grid2(), 0, catalogue().DataBonus->fieldColumn("Bonus Ball"));
    type("3");
    press(Qt::Key_Tab);
    type("2");
    press(Qt::Key_Enter);
    QCOMPARE(catalogue().DataBonus->value(0, "Free Games").toInt(), 2);

    // Nothing is stored before the lock, and everything after it.
    const auto stored = [&](const QString& field, int c) {
        return scalar(db(),
                      "SELECT [" + field +
                          "] FROM [Pay Table] WHERE [Casino] = 'Tropicana Atlantic City' AND [Catch] = ?",
                      {c});
    };
    QCOMPARE(stored("Pick5", 5).toInt(), 800);
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    QVERIFY(!catalogue().isUnlocked());
    QCOMPARE(stored("Pick5", 5).toDouble(), 12.5);
    QCOMPARE(stored("Pick6", 5).toInt(), 8);
    QVERIFY(stored("Pick6", 6).isNull());
    QCOMPARE(stored("Bonus Ball", 0).toInt(), 3);
    QCOMPARE(stored("Free Games", 0).toInt(), 2);
}

void CatalogueTest::theReturnRowFollowsEveryTypedValueAndSaysWhyItIsBlank()
{
    const auto returnCell = [this](int marked) {
        return catalogue().GridReturn->item(0, marked + 1);
    };
    openCatalogueOn(kTropicana);
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    const QString before = returnCell(5)->text();
    QCOMPARE(before, QString("72.08"));
    // A bonus ball with a factor of 2 raises the return before the lock.
    typeCell(grid2(), 0, "Bonus Ball", "1");
    typeCell(grid2(), 0, "Bonus Factor", "2");
    QVERIFY(returnCell(5)->text().toDouble() > before.toDouble());
    typeCell(grid2(), 0, "Bonus Factor", "1");
    QCOMPARE(returnCell(5)->text(), before);

    typeCell(grid1(), rowOfCatch(catalogue().pDataListing, 2), "Pick5", "-5");
    QCOMPARE(returnCell(5)->text(), QString());
    QCOMPARE(returnCell(5)->toolTip(),
             QString("No return: Pick 5, Catch 2 holds -5, and no value of a pay table can be negative."));
    QVERIFY(returnCell(1)->toolTip().contains("pays nothing for 1 marked number"));
}

void CatalogueTest::aKeyThatCannotBeStoredIsRefusedByTheLock()
{
    openCatalogueOn(kHarrahs);
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    const QStringList before = DatabaseDump(db());
    catalogue().TextCasino->setText("   ");
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    QCOMPARE(run().dialogs.messages().last(),
             QString("The game cannot be stored under this name: the casino is empty."));
    catalogue().TextCasino->setText("Harrah's Laughlin");
    catalogue().ComboGame->setCurrentText("Fire Power Keno Deluxe 32"); // not typed: the lock still refuses
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    QCOMPARE(run().dialogs.messages().last(),
             QString("The game cannot be stored under this name: the game name "
                     "\"Fire Power Keno Deluxe 32\" is longer than 20 characters."));
    // The placeholder is found in what would be stored.
    catalogue().ComboGame->setCurrentText("Live Keno $1");
    catalogue().TextCasino->setText("New ");
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    QCOMPARE(run().dialogs.messages().last(),
             QString("Change the 'New' entries to other values before selecting 'Lock Pays'"));
    QVERIFY(catalogue().isUnlocked());
    QCOMPARE(DatabaseDump(db()), before);
}

void CatalogueTest::theLockRefusesValuesTheRulesCannotHold_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("caught");
    QTest::addColumn<QString>("typed"); // empty: stored before the window opens, as an older version could
    QTest::addColumn<QString>("message");
    QTest::newRow("pay above 2^31 - 1")
        << "Pick10" << 10 << "2147483648"
        << "Pick 10 of Catch 10 is 2147483648, above 2,147,483,647, the largest "
           "pay the simulation holds.";
    QTest::newRow("negative pay") << "Pick1" << 1 << "-1"
                                  << "Pick 1 of Catch 1 is -1, below 0.";
    QTest::newRow("infinite pay") << "Pick5" << 5 << ""
                                  << "Pick 5 of Catch 5 is not a finite number.";
    QTest::newRow("bonus factor above 32767")
        << "Bonus Factor" << 0 << "32768"
        << "Bonus Factor is 32768, above 32,767, the largest bonus value "
           "the board holds.";
    QTest::newRow("egg bonus above 32767")
        << "Egg1 Bonus" << 0 << "40000"
        << "1 - Egg Factor is 40000, above 32,767, the largest bonus value "
           "the board holds.";
    QTest::newRow("negative egg bonus") << "Egg3 Bonus" << 0 << "-2"
                                        << "3 - Egg Factor is -2, below 0.";
}

void CatalogueTest::theLockRefusesValuesTheRulesCannotHold()
{
    QFETCH(QString, field);
    QFETCH(int, caught);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    if (typed.isEmpty())
        QVERIFY(ExecuteSql(
            db(), "UPDATE [Pay Table] SET [" + field + "] = 9e999 WHERE [Casino] = ? AND [Catch] = ?",
            {"Harrah's Laughlin", caught}));
    openCatalogueOn(kHarrahs);
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    const bool bonus = field.contains("Bonus");
    if (!typed.isEmpty())
        typeCell(bonus ? grid2() : grid1(), bonus ? 0 : rowOfCatch(catalogue().pDataListing, caught), field,
                 typed);
    catalogue().TextCasino->setText("Harrah's Laughlin Renamed"); // nothing of the lock may happen
    const QStringList before = DatabaseDump(db());
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    QCOMPARE(run().dialogs.messages().last(), message + " Correct it before selecting 'Lock Pays'.");
    QVERIFY(catalogue().isUnlocked());
    QCOMPARE(DatabaseDump(db()), before);
}

void CatalogueTest::aLockRefusesTwoRowsForOneCatch()
{
    openCatalogueOn(kHarrahs);
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    const QStringList before = DatabaseDump(db());
    typeCell(grid1(), rowOfCatch(catalogue().pDataListing, 4), "Catch", "3");
    QTest::mouseClick(catalogue().CommandEdit, Qt::LeftButton);
    QCOMPARE(run().dialogs.messages().last(),
             QString("Two rows of this game are for Catch 3. Give each row its own Catch from 0 to 10."));
    QCOMPARE(DatabaseDump(db()), before);
}

void CatalogueTest::theWindowShowsAGameWhole()
{
    openCatalogueOn(kTropicana);
    // The eleven rows of a game without scrolling, at the window's first size.
    QCOMPARE(catalogue().pDataListing->rowCount(), 11);
    QVERIFY(grid1()->rowViewportPosition(10) + grid1()->rowHeight(10) <= grid1()->viewport()->height());
    QVERIFY(!grid1()->verticalScrollBar()->isVisible());
    // Every game's names whole in the bonus grid, and the captions within their columns.
    for (int i = 0; i < catalogue().ComboGameList->count(); ++i) {
        catalogue().ComboGameList->setCurrentIndex(i);
        catalogue().ComboGameList_Click();
        QApplication::processEvents();
        QVERIFY(!grid1()->horizontalScrollBar()->isVisible() && !grid1()->verticalScrollBar()->isVisible());
        const QString game = catalogue().pDataListing->data(catalogue().pDataListing->index(0, 0)).toString();
        QVERIFY2(grid1()->fontMetrics().horizontalAdvance(game) < grid1()->columnWidth(0), qPrintable(game));
        QHeaderView* header = grid2()->horizontalHeader();
        QVERIFY2(header->length() <= grid2()->viewport()->width(),
                 qPrintable(catalogue().ComboGameList->currentText()));
        for (int column = 0; column < header->count(); ++column) {
            const QString name =
                catalogue().DataBonus->data(catalogue().DataBonus->index(0, column)).toString();
            QVERIFY2(grid2()->fontMetrics().horizontalAdvance(name) < header->sectionSize(column),
                     qPrintable(name));
            for (const QString& word :
                 catalogue().DataBonus->headerData(column, Qt::Horizontal).toString().split(' '))
                QVERIFY(header->fontMetrics().horizontalAdvance(word) < header->sectionSize(column));
        }
    }
    // The open list highlights the game shown.
    catalogue().ComboGameList->setCurrentIndex(0);
    openCatalogueOn(kHarrahs);
    QCOMPARE(catalogue().ComboGameList->currentIndex(), catalogue().ComboGameList->findText(kHarrahs));
    saveScreenshot(&catalogue(), "catalogue-first-size");
}

TALLYHAWK_WINDOW_TEST_MAIN(CatalogueTest)
#include "test_catalogue.moc"
