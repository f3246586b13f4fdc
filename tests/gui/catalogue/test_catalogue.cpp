// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The catalogue window: pays browsed and typed through its grids, the lock's checks, new and
// deleted games, the files it exports and imports, and the repair of an older database.

#include "gui/catalogue/paygridmodel.h"
#include "gui/common/gamelistcombo.h"
#include "gui/common/qtdialogs.h"
#include "support/boardrun.h"
#include "support/databasedump.h"
#include "support/windowtest.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>

using namespace tallyhawk;

namespace {

const QString kHarrahs = GameListText("NEVADA - Other", "Harrah's Laughlin", "Live Keno $1");
const QString kFirePower = GameListText("NEVADA - Las Vegas", "Rampart", "Fire Power Keno");
const QString kTropicana = GameListText("NEW JERSEY", "Tropicana Atlantic City", "Live Keno");

QVariant scalar(QSqlDatabase db, const QString& statement, const QVariantList& values = {})
{
    QSqlQuery query(db);
    query.prepare(statement);
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec() && query.next() ? query.value(0) : QVariant();
}

int rowsOf(QSqlDatabase db, const QString& casino)
{
    return scalar(db, "SELECT count(*) FROM [Pay Table] WHERE [Casino] = ?", {casino}).toInt();
}

// A pay-table record: the key as written, the Catch, the 16 values after it.
QByteArray record(const QByteArray& key, const QByteArray& caught, const QByteArray& rest = ",,,,,,,,,,,,,,,")
{
    return key + "," + caught + "," + rest + "\r\n";
}

// A game of eleven records under the key, its bonus values on the first, `per` c for c catches
// of 10.
QByteArray game(const QByteArray& key, int per = 10)
{
    QByteArray text = record(key, "0", ",,,,,,,,,,0,0,1,1,1,1");
    for (int c = 1; c <= 10; ++c)
        text += record(key, QByteArray::number(c), ",,,,,,,,," + QByteArray::number(c * per) + ",,,,,,");
    return text;
}

PayGridModel* paysOf(const CatalogueWindow& window)
{
    return static_cast<PayGridModel*>(control<QTableView>(window, "paysGrid")->model());
}

PayGridModel* bonusOf(const CatalogueWindow& window)
{
    return static_cast<PayGridModel*>(control<QTableView>(window, "bonusGrid")->model());
}

// The rows of the pay table alone: quitting also saves the game and the credits elsewhere.
QStringList payTableDump(QSqlDatabase db)
{
    return DatabaseDump(db).filter(QRegularExpression("^Pay Table\\|"));
}

// Presses a key into the next box the desktop shows, where a user's key goes: the widget with
// the focus. `focused` gets the caption of the button that had it; a box the key leaves open
// is closed, so that the test fails instead of hanging.
void pressInNextBox(int key, QString* focused, int tries = 100)
{
    QTimer::singleShot(10, [key, focused, tries] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) {
            if (tries > 0)
                pressInNextBox(key, focused, tries - 1);
            return;
        }
        QWidget* target = box->focusWidget() ? box->focusWidget() : box;
        if (const auto* pushButton = qobject_cast<QPushButton*>(target))
            *focused = pushButton->text().remove('&');
        QTest::keyClick(target, Qt::Key(key));
        if (box->isVisible()) {
            *focused = "still open";
            box->close();
        }
    });
}

} // namespace

class CatalogueTest : public QObject, BoardFixture
{
    Q_OBJECT
private slots:
    void init() { start(); }
    void cleanup() { end(); }

    void aTableTypedWithTabAndEnterKeepsEveryValue()
    {
        openCatalogueOn(kTropicana, true);
        QCOMPARE(run->dialogs.messages(),
                 QStringList{
                     "You may now change Pay and Bonus entries for the current game.\n\nYou may also change "
                     "Location, Casino Name and name of the Keno Game. When finished, click 'Lock Pays'."});
        QVERIFY(button("backButton")->isEnabled() && !button("importButton")->isEnabled() &&
                button("cancelEditButton")->isVisible());
        PayGridModel* pays = paysOf(catalogue());
        const int pick = pays->fieldColumn("Pick5");
        // Click, type 5, Tab, type 6, Enter: both are kept and Enter goes down a row.
        clickCell(grid("paysGrid"), 5, pick);
        type("5");
        press(Qt::Key_Tab);
        type("6");
        press(Qt::Key_Return);
        QCOMPARE(pays->value(5, "Pick5").toString() + pays->value(5, "Pick6").toString(), QString("56"));
        QCOMPARE(grid("paysGrid")->currentIndex(), pays->index(6, pick + 1));
        // The arrows move and keep what was typed; Shift+Tab goes back; typing replaces the cell.
        type("7");
        press(Qt::Key_Up);
        press(Qt::Key_Backtab);
        type("12.5");
        press(Qt::Key_Right); // at the end of the text: the next cell
        type("8");
        press(Qt::Key_Down);
        QCOMPARE(pays->value(6, "Pick6").toString(), QString("7"));
        press(Qt::Key_Delete);
        press(Qt::Key_Escape); // nothing to drop
        typeCell(3, "Pick2", "two");
        QVERIFY(run->dialogs.messages().last().startsWith("\"two\" is not a number."));
        clickCell(grid("bonusGrid"), 0, bonusOf(catalogue())->fieldColumn("Bonus Ball"));
        type("3");
        press(Qt::Key_Tab);
        type("2");
        press(Qt::Key_Enter);

        // Nothing is stored before the lock, and everything after it, here under the same key in other
        // letters and another game name; BACK TO GAME rounds the pays of the games edited (a half to
        // even), and only theirs.
        const auto stored = [this] {
            return scalar(db(),
                          "SELECT group_concat(v, ' ') FROM (SELECT ifnull([Pick5], '-') || ',' || "
                          "ifnull([Pick6], '-') || ',' || ifnull([Bonus Ball], '-') || ',' || ifnull([Free "
                          "Games], '-') AS v FROM [Pay Table] WHERE [Casino] LIKE 'Tropicana Atlantic City' "
                          "AND [Catch] IN (0, 5, 6) ORDER BY [Catch])")
                       .toString() +
                   scalar(db(),
                          "SELECT ' ' || [Pick2] FROM [Pay Table] WHERE [Casino] = 'Rampart' AND [Catch] = 2")
                       .toString();
        };
        QCOMPARE(stored(), QString("-,-,0,0 800,-,-,- -,-,-,- 12.275"));
        applyEdits({"key", "casino", "TROPICANA ATLANTIC CITY", "key", "game", "Keno 25\u00a2"});
        lock();
        QVERIFY(!catalogue().isUnlocked() && control<QLineEdit>(catalogue(), "casinoEdit")->isHidden());
        QCOMPARE(run->dialogs.messages().size(), 2);
        QCOMPARE(stored(), QString("-,-,3,2 12.5,8,-,- -,-,-,- 12.275"));
        const QString renamed = GameListText("NEW JERSEY", "TROPICANA ATLANTIC CITY", "Keno 25\u00a2");
        QCOMPARE(catalogue().ComboGameList->currentText(), renamed);
        QVERIFY(run->board.gameListCombo->findText(kTropicana) < 0 &&
                run->board.gameListCombo->findText(renamed) >= 0);
        QTest::mouseClick(button("backButton"), Qt::LeftButton);
        QCOMPARE(stored(), QString("-,-,3,2 12,8,-,- -,-,-,- 12.275"));
        QCOMPARE(run->board.gameListCombo->currentText(), renamed);
        QVERIFY(!run->catalogue.isEditingPays());
    }

    void theLockRefusesAndStoresNothing_data()
    {
        QTest::addColumn<QString>("stored"); // set before the window opens, as an older version could
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("message");
        const QString range = " Correct it before selecting 'Lock Pays'.";
        const QString placeholder = "Change the 'New' entries to other values before selecting 'Lock Pays'";
        QTest::newRow("the placeholder location")
            << "" << QStringList{"key", "location", "new"} << placeholder;
        QTest::newRow("another game's key")
            << "" << QStringList{"key", "casino", "Riverside Laughlin"}
            << "Another game already has this location, casino and game name. Change one of them before "
               "selecting 'Lock Pays'.";
        QTest::newRow("an empty casino") << "" << QStringList{"key", "casino", "   "}
                                         << "The game cannot be stored under this name: the casino is empty.";
        QTest::newRow("a game name of 21 characters")
            << "" << QStringList{"key", "game", "Fire Power Keno Delux"}
            << "The game cannot be stored under this name: the game name \"Fire Power Keno Delux\" is longer "
               "than 20 characters.";
        QTest::newRow("a pay above 2^31 - 1") << "[Pick10] = 2147483648 WHERE [Catch] = 10" << QStringList{}
                                              << "Pick 10 of Catch 10 is 2147483648, above 2,147,483,647, "
                                                 "the largest pay the simulation holds." +
                                                     range;
        QTest::newRow("a negative pay") << "[Pick1] = -1 WHERE [Catch] = 1" << QStringList{}
                                        << "Pick 1 of Catch 1 is -1, below 0." + range;
        QTest::newRow("an infinite pay") << "[Pick5] = 9e999 WHERE [Catch] = 5" << QStringList{}
                                         << "Pick 5 of Catch 5 is not a finite number." + range;
    }

    void theLockRefusesAndStoresNothing()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        if (!stored.isEmpty())
            QVERIFY(ExecuteSql(db(),
                               "UPDATE [Pay Table] SET " + stored + " AND [Casino] = 'Harrah''s Laughlin'"));
        openCatalogueOn(kHarrahs, true);
        const QStringList before = DatabaseDump(db());
        applyEdits(typed);
        lock();
        QCOMPARE(run->dialogs.messages().last(), message);
        QVERIFY(catalogue().isUnlocked() && button("lockButton")->text() == "LOCK PAYS");
        QCOMPARE(DatabaseDump(db()), before);
    }

    void aLockRefusedAfterItStoredLeavesTheNextLockOnTheNewKey()
    {
        openCatalogueOn(kHarrahs, true);
        applyEdits({"key", "casino", "Harrah's Laughlin Casino", "5", "Pick3", "7"});
        lock();
        QCOMPARE(run->dialogs.messages().last(),
                 QString("You must remove the entry made for Pick 3 and Catch 5 before proceeding."));
        QVERIFY(catalogue().isUnlocked());
        QCOMPARE(rowsOf(db(), "Harrah's Laughlin Casino"), 11); // stored, under the new key
        typeCell(5, "Pick3", "");
        lock();
        QVERIFY(!catalogue().isUnlocked() && button("lockButton")->text() == " EDIT PAYS");
        QCOMPARE(catalogue().ComboGameList->currentText(),
                 GameListText("NEVADA - Other", "Harrah's Laughlin Casino", "Live Keno $1"));
        QCOMPARE(scalar(db(), "SELECT count(*) FROM [Pay Table] WHERE [Casino] = ? AND [Pick3] IS NOT NULL",
                        {"Harrah's Laughlin Casino"})
                     .toInt(),
                 0);
    }

    void theReturnRowsFollowThePays()
    {
        QTableWidget* grid = control<QTableWidget>(catalogue(), "returnGrid");
        const auto returnOf = [grid](int marked, int row = 0) {
            return grid->item(row, marked + 1)->text();
        };
        openCatalogueOn(GameListText("OTHER", "Published example", "Cleopatra Keno"));
        QCOMPARE(grid->item(0, 0)->text() + returnOf(8), QString("Return %90.15")); // as published, 8 spots
        QVERIFY(grid->isRowHidden(1) &&
                control<QLabel>(catalogue(), "returnNoteLabel")->isHidden()); // whole pays: any bet pays them
        saveScreenshot(&catalogue(), "catalogue");

        // Avi Laughlin's 10-spot table pays 0.5 for four catches, which a bet of 1 pays as 0. By hand,
        // with C(10, c) C(70, 20 - c) / C(80, 20) for c catches: 73.66 % with it, 66.30 % without.
        showGame(GameListText("NEVADA - Other", "Avi Laughlin", "Live Keno $1"));
        QCOMPARE(returnOf(10) + "|" + grid->item(1, 0)->text() + returnOf(10, 1),
                 QString("73.66|At bet 1 %66.30"));
        QVERIFY(!grid->isRowHidden(1) && control<QLabel>(catalogue(), "returnNoteLabel")->isVisible());
        QCOMPARE(
            control<QLabel>(catalogue(), "returnNoteLabel")->text(),
            QString(
                "At a bet of 1 the board rounds each pay to whole credits (a pay of 0.5 pays nothing). Any "
                "even bet pays the pay table exactly."));
        saveScreenshot(&catalogue(), "catalogue-two-returns");

        // Every typed value counts before the lock; a value no table may hold is refused as it is typed.
        showGame(kTropicana);
        QVERIFY(grid->isRowHidden(1));
        QCOMPARE(returnOf(5), QString("72.08"));
        QTest::mouseClick(button("lockButton"), Qt::LeftButton);
        typeCell(-1, "Bonus Ball", "1");
        typeCell(-1, "Bonus Factor", "2");
        QVERIFY(returnOf(5).toDouble() > 72.08);
        const QString raised = returnOf(5);
        typeCell(2, "Pick5", "-5");
        QCOMPARE(returnOf(5), raised);
        QVERIFY(grid->item(0, 2)->toolTip().contains("pays nothing for 1 marked number"));
        // A value stored by another tool still shows why there is no return.
        QTest::mouseClick(button("cancelEditButton"), Qt::LeftButton);
        QVERIFY(ExecuteSql(db(), "UPDATE [Pay Table] SET [Pick5] = -5 WHERE [Catch] = 2 AND [Casino] = ?",
                           {"Tropicana Atlantic City"}));
        showGame(kTropicana);
        QCOMPARE(returnOf(5), QString());
        QCOMPARE(
            grid->item(0, 6)->toolTip(),
            QString("No return: Pick 5, Catch 2 holds -5, and no value of a pay table can be negative."));
    }

    void exportThenImportReplacesAfterAsking()
    {
        openCatalogueOn(kHarrahs);
        run->dialogs.fileNames = {m_files.filePath("harrahs")};
        QTest::mouseClick(button("exportButton"), Qt::LeftButton);
        QCOMPARE(run->dialogs.messages().last(), QString("Export Operation Complete!"));
        QVERIFY(QFileInfo(run->dialogs.shown.front().title).isDir()); // a folder: the file name starts empty
        QFile file(m_files.filePath("harrahs.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 12); // 11 records, each ended by CR LF
        QCOMPARE(lines[0],
                 QByteArray("\"NEVADA - Other\",\"Harrah's Laughlin\",\"Live Keno $1\",0,\"\",\"\",\"\",\"\","
                            "\"\",\"\",\"\",\"\",\"\",\"\",0,0,1,1,1,1\r"));
        QVERIFY(lines[10].startsWith("\"NEVADA - Other\",\"Harrah's Laughlin\",\"Live Keno $1\",10,") &&
                lines[10].contains(",50000,"));

        // The same game under other letters and blanks, with other pays: replaced only after Yes.
        const QByteArray other = game("\"nevada - other\",\"Harrah's Laughlin \",\"Live Keno $1\"");
        const QStringList before = DatabaseDump(db());
        run->dialogs.answers = {false};
        importFile(other);
        QCOMPARE(run->dialogs.shown.back().text,
                 QString("The Pay Table already holds the game nevada - other, "
                         "Harrah's Laughlin, Live Keno $1. Replace it with the "
                         "game in the file?"));
        QVERIFY(run->dialogs.shown.back().kind == "yesno" && run->dialogs.shown.back().defaultNo);
        QCOMPARE(DatabaseDump(db()), before);
        showGame(kFirePower);
        run->dialogs.answers = {true};
        importFile(other);
        QCOMPARE(run->dialogs.messages().last(), QString("Import Operation Complete!"));
        const QString imported = GameListText("nevada - other", "Harrah's Laughlin", "Live Keno $1");
        QCOMPARE(catalogue().ComboGameList->currentText() + GameListText(run->app.currentGame().key),
                 imported + imported);
        QCOMPARE(rowsOf(db(), "Harrah's Laughlin"), 11);
        QCOMPARE(paysOf(catalogue())->value(10, "Pick10").toInt(), 100);

        // What was exported comes back as it was; cancelled dialogs do nothing and say nothing.
        run->dialogs.answers = {true};
        run->dialogs.fileNames = {file.fileName(), QString(), QString()};
        const int messages = static_cast<int>(run->dialogs.messages().size());
        for (QPushButton* command : {button("importButton"), button("importButton"), button("exportButton")})
            QTest::mouseClick(command, Qt::LeftButton);
        QCOMPARE(catalogue().ComboGameList->currentText(), kHarrahs);
        QCOMPARE(paysOf(catalogue())->value(10, "Pick10").toInt(), 50000);
        QCOMPARE(static_cast<int>(run->dialogs.messages().size()), messages + 1);
    }

    void aFileKeyedWithBlanksImportsAGameThatCanBeReached()
    {
        openCatalogueOn(kHarrahs);
        // Saved by a spreadsheet as "Unicode text": UTF-16 with its byte order mark.
        const QString text = game("\"ARIZONA \",\"  Desert Diamond\",\"Keno 25\u00a2 \"");
        QByteArray utf16("\xFF\xFE");
        for (const QChar c : text)
            utf16 += QByteArray(reinterpret_cast<const char*>(&c), 2);
        importFile(utf16);
        QCOMPARE(run->dialogs.messages().last(), QString("Import Operation Complete!"));
        const QString entry = GameListText("ARIZONA", "Desert Diamond", "Keno 25\u00a2");
        QCOMPARE(catalogue().ComboGameList->currentText() + catalogue().ComboGameList->itemText(0),
                 entry + entry);
        QCOMPARE(paysOf(catalogue())->rowCount(), 11); // shown, and listed first

        run->dialogs.answers = {true};
        QTest::mouseClick(button("deleteGameButton"), Qt::LeftButton);
        QCOMPARE(rowsOf(db(), "Desert Diamond"), 0);
        QCOMPARE(catalogue().ComboGameList->findText(entry), -1);
    }

    // SQLite's NOCASE folds ASCII letters only; the catalogue's one key equality folds É to é.
    void aKeyInOtherAccentedLettersIsTheSameGameAndTheImportAsksToReplaceIt()
    {
        openCatalogueOn(kFirePower);
        importFile(game("\"OTHER\",\"Probe Casino\",\"CAF\xc3\x89 KENO\"", 11));
        QCOMPARE(run->dialogs.messages().last(), QString("Import Operation Complete!"));
        const int asked = run->dialogs.shown.size();
        run->dialogs.answers = {true};
        importFile(game("\"OTHER\",\"Probe Casino\",\"Caf\xc3\xa9 Keno\"", 22));
        QCOMPARE(run->dialogs.shown.size(), asked + 3); // the file, the question, the outcome
        QCOMPARE(run->dialogs.shown[asked + 1].text,
                 QString("The Pay Table already holds the game OTHER, Probe Casino, "
                         "Caf\u00e9 Keno. Replace it with the game in the file?"));
        QCOMPARE(run->dialogs.messages().last(), QString("Import Operation Complete!"));
        QCOMPARE(rowsOf(db(), "Probe Casino"), 11);
        const GameKey imported{"OTHER", "Probe Casino", "Caf\u00e9 Keno"};
        QCOMPARE(catalogue().ComboGameList->currentText(), GameListText(imported));
        QVERIFY(currentGameKey(catalogue().ComboGameList) == imported &&
                run->app.currentGame().key == imported);
        QCOMPARE(paysOf(catalogue())->value(10, "Pick10").toInt(), 220);
    }

    // A key stored by another tool, longer than the list's columns, is listed cut with an
    // ellipsis, and choosing it on the board shows its own rows.
    void aStoredKeyLongerThanTheListShowsIsListedAndReachable()
    {
        const GameKey longKey{"A LOCATION PAST TWENTY-FIVE COLUMNS", "Probe Casino", "Keno"};
        end();
        {
            DatabaseOpening opening = openDatabase(folder->databasePath(), "another-tool");
            QVERIFY(opening.ok());
            PayScheduleRow row;
            row.key = longKey;
            for (int c = 0; c <= 10; ++c) {
                row.Catch = c;
                row.Pick[9] = c == 10 ? std::optional<double>(777) : std::nullopt;
                QVERIFY(InsertPayScheduleRow(opening.db, row));
            }
            closeDatabase(opening.db);
        }
        run = std::make_unique<BoardRun>(folder->path());
        QVERIFY(run->app.load());
        run->board.show();
        const int index = findGame(run->board.gameListCombo, longKey);
        QVERIFY(index >= 0);
        QVERIFY(run->board.gameListCombo->itemText(index).startsWith(
            "A LOCATION PAST TWENTY-F\u2026Probe Casino"));
        run->chooseGame(run->board.gameListCombo->itemText(index));
        QVERIFY(run->app.currentGame().key == longKey);
        run->click(run->board.paysButton);
        QVERIFY(currentGameKey(catalogue().ComboGameList) == longKey);
        QCOMPARE(paysOf(catalogue())->rowCount(), 11);
        QCOMPARE(paysOf(catalogue())->value(10, "Pick10").toInt(), 777);
    }

    void refusedFilesChangeNothingAndSayWhy_data()
    {
        const QByteArray key = "\"NEVADA - Las Vegas\",\"Rampart\",\"Fire Power Keno\"";
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a game name the list would cut")
            << game("\"NEVADA - Las Vegas\",\"Rampart\",\"Fire Power Keno Delux\"")
            << "Record 1: the game name \"Fire Power Keno Delux\" is longer than 20 characters.";
        QTest::newRow("a pay above 2^31 - 1")
            << record(key, "0") + record(key, "1", "2147483648,,,,,,,,,,,,,,,")
            << "Record 2: Pick 1 is 2147483648, above 2,147,483,647, the largest pay the simulation holds.";
        QTest::newRow("a negative value")
            << record(key, "0", ",,,,,,,,,,0,0,1,-1,1,1") << "Record 1: 1 - Egg Factor is -1, below 0.";
        QTest::newRow("a row the database refuses midway") << QByteArray() << "refused";
    }

    void refusedFilesChangeNothingAndSayWhy()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        openCatalogueOn(kFirePower);
        if (bytes.isEmpty()) { // the game itself, stored again after it is removed, but for Catch 5
            bytes = game("\"NEVADA - Las Vegas\",\"Rampart\",\"Fire Power Keno\"");
            run->dialogs.answers = {true};
            QVERIFY(ExecuteSql(db(), "CREATE TEMP TRIGGER refuse_catch_5 BEFORE INSERT ON [Pay Table] "
                                     "WHEN NEW.[Catch] = 5 BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        }
        const QStringList before = DatabaseDump(db());
        importFile(bytes);
        const QString shown = run->dialogs.messages().last();
        QVERIFY2(shown.startsWith("An unspecified import error has occurred.\n\n") && shown.endsWith(reason),
                 qPrintable(shown));
        QCOMPARE(DatabaseDump(db()), before);
        QCOMPARE(catalogue().ComboGameList->currentText(), kFirePower);
    }

    void aStrayKeyOnTheReplaceOrDeleteQuestionKeepsTheGame_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<int>("key");
        for (const QString question : {"replace", "delete"}) {
            QTest::addRow("%s, Enter", qPrintable(question)) << question << int(Qt::Key_Return);
            QTest::addRow("%s, keypad Enter", qPrintable(question)) << question << int(Qt::Key_Enter);
            QTest::addRow("%s, Space", qPrintable(question)) << question << int(Qt::Key_Space);
            QTest::addRow("%s, Escape", qPrintable(question)) << question << int(Qt::Key_Escape);
        }
    }

    // The desktop's own question boxes answer here, with a key pressed where the focus is.
    void aStrayKeyOnTheReplaceOrDeleteQuestionKeepsTheGame()
    {
        QFETCH(QString, question);
        QFETCH(int, key);
        openCatalogueOn(kHarrahs);
        const QStringList before = DatabaseDump(db());
        QtDialogs desktop;
        run->dialogs.questionsTo = &desktop;
        QString focused;
        pressInNextBox(key, &focused);
        if (question == "replace")
            importFile(game("\"NEVADA - Other\",\"Harrah's Laughlin\",\"Live Keno $1\"", 1));
        else
            QTest::mouseClick(button("deleteGameButton"), Qt::LeftButton);
        QCOMPARE(run->dialogs.shown.back().kind, QString("yesno"));
        QCOMPARE(focused, QString("No"));
        QCOMPARE(DatabaseDump(db()), before);
        QCOMPARE(catalogue().ComboGameList->currentText(), kHarrahs);
        QCOMPARE(run->dialogs.messages(), QStringList());
    }

    void typedPaysAreOfferedBeforeTheWindowIsLeft_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("answer");
        for (const QString way : {"close box", "BACK TO GAME"}) {
            QTest::addRow("%s, lock", qPrintable(way)) << way << int(Dialogs::UnlockedEdits::Lock);
            QTest::addRow("%s, drop", qPrintable(way)) << way << int(Dialogs::UnlockedEdits::Drop);
            QTest::addRow("%s, go back", qPrintable(way)) << way << int(Dialogs::UnlockedEdits::GoBack);
        }
    }

    void typedPaysAreOfferedBeforeTheWindowIsLeft()
    {
        QFETCH(QString, way);
        QFETCH(int, answer);
        const auto choice = Dialogs::UnlockedEdits(answer);
        openCatalogueOn(kHarrahs, true);
        const QStringList before = payTableDump(db());
        typeCell(10, "Pick10", "40000");
        run->dialogs.editChoices = {choice};
        if (way == "close box")
            catalogue().close();
        else
            QTest::mouseClick(button("backButton"), Qt::LeftButton);
        QCOMPARE(run->dialogs.shown.back().kind, QString("lockdrop"));
        QCOMPARE(run->dialogs.shown.back().text,
                 QString("The pays you typed for NEVADA - Other, Harrah's Laughlin, Live Keno $1 are not "
                         "locked yet. Lock them, drop them, or go back to them?"));
        if (choice == Dialogs::UnlockedEdits::GoBack) {
            QVERIFY(catalogue().isVisible() && catalogue().isUnlocked());
            QCOMPARE(paysOf(catalogue())->value(10, "Pick10").toInt(), 40000);
            QCOMPARE(payTableDump(db()), before);
            return;
        }
        QVERIFY(!catalogue().isVisible() && !catalogue().isUnlocked());
        // Quitting closed the database: the file is read again.
        DatabaseOpening opening = openDatabase(folder->databasePath(), "after-leaving");
        QVERIFY(opening.ok());
        const int stored =
            scalar(opening.db, "SELECT [Pick10] FROM [Pay Table] WHERE [Casino] = ? AND [Catch] = 10",
                   {"Harrah's Laughlin"})
                .toInt();
        const QStringList after = payTableDump(opening.db);
        closeDatabase(opening.db);
        if (choice == Dialogs::UnlockedEdits::Lock) {
            QCOMPARE(stored, 40000);
        } else {
            QCOMPARE(after, before);
            if (way == "BACK TO GAME") // quitting lets go of the grids' rows
                QCOMPARE(paysOf(catalogue())->value(10, "Pick10").toInt(), 50000);
        }
    }

    void theDesktopsEditQuestionGoesBackOnAStrayKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }

    void theDesktopsEditQuestionGoesBackOnAStrayKey()
    {
        QFETCH(int, key);
        openCatalogueOn(kHarrahs, true);
        const QStringList before = DatabaseDump(db());
        typeCell(10, "Pick10", "40000");
        QtDialogs desktop;
        run->dialogs.questionsTo = &desktop;
        QString focused;
        pressInNextBox(key, &focused);
        catalogue().close();
        QCOMPARE(focused, QString("Go Back"));
        QVERIFY(catalogue().isVisible() && catalogue().isUnlocked());
        QCOMPARE(paysOf(catalogue())->value(10, "Pick10").toInt(), 40000);
        QCOMPARE(DatabaseDump(db()), before);
    }

    void aCancelledEditShowsTheStoredGameLocked()
    {
        openCatalogueOn(kHarrahs, true);
        const QStringList before = DatabaseDump(db());
        applyEdits({"10", "Pick10", "40000", "-1", "Bonus Ball", "4", "key", "casino", "Harrah's Casino"});
        QTest::mouseClick(button("cancelEditButton"), Qt::LeftButton);
        QVERIFY(!catalogue().isUnlocked() && button("cancelEditButton")->isHidden() &&
                control<QLineEdit>(catalogue(), "casinoEdit")->isHidden());
        QCOMPARE(button("lockButton")->text(), QString(" EDIT PAYS"));
        for (const char* name : {"backButton", "importButton", "exportButton", "addGameButton",
                                 "deleteGameButton", "aboutButton", "helpButton"})
            QVERIFY2(button(name)->isEnabled(), name);
        QVERIFY(catalogue().ComboGameList->isEnabled());
        QCOMPARE(catalogue().ComboGameList->currentText(), kHarrahs);
        QCOMPARE(paysOf(catalogue())->value(10, "Pick10").toInt(), 50000);
        QCOMPARE(bonusOf(catalogue())->value(0, "Bonus Ball").toInt(), 0);
        QCOMPARE(DatabaseDump(db()), before);
        // Nothing is left to ask about: BACK TO GAME leaves at once.
        QTest::mouseClick(button("backButton"), Qt::LeftButton);
        QVERIFY(!catalogue().isVisible());
    }

    // Leaving makes the pays of the games a lock stored whole; a cancelled edit stored nothing,
    // so its game keeps its fractional pays (Fire Power Keno pays 12.275 for 2 of 2).
    void aCancelledEditLeavesFractionalPaysAsStored()
    {
        openCatalogueOn(kFirePower, true);
        const QStringList before = DatabaseDump(db());
        QTest::mouseClick(button("cancelEditButton"), Qt::LeftButton);
        QTest::mouseClick(button("backButton"), Qt::LeftButton);
        QVERIFY(!catalogue().isVisible());
        QCOMPARE(DatabaseDump(db()), before);
        QCOMPARE(scalar(db(), "SELECT [Pick2] FROM [Pay Table] WHERE [Casino] = ? AND [Catch] = 2", {"Rampart"})
                     .toDouble(),
                 12.275);
    }

    void aTypedValueOutOfRangeIsRefusedWithTheLocksReason_data()
    {
        QTest::addColumn<int>("caught"); // -1: the bonus row
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a negative pay") << 1 << "Pick1" << "-5" << "Pick 1 of Catch 1 is -5, below 0.";
        QTest::newRow("a pay above 2^31 - 1")
            << 10 << "Pick10" << "3000000000"
            << "Pick 10 of Catch 10 is 3000000000, above 2,147,483,647, the largest pay the simulation "
               "holds.";
        QTest::newRow("a Bonus Ball above 2^15 - 1")
            << -1 << "Bonus Ball" << "40000"
            << "Bonus Ball is 40000, above 32,767, the largest bonus value the board holds.";
    }

    void aTypedValueOutOfRangeIsRefusedWithTheLocksReason()
    {
        QFETCH(int, caught);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, reason);
        QTableWidget* returns = control<QTableWidget>(catalogue(), "returnGrid");
        openCatalogueOn(kHarrahs, true);
        PayGridModel* model = caught < 0 ? bonusOf(catalogue()) : paysOf(catalogue());
        const int row = std::max(caught, 0);
        const QVariant stored = model->value(row, field);
        const QString shownReturn = returns->item(0, 11)->text();
        typeCell(caught, field, typed);
        QCOMPARE(run->dialogs.messages().last(), reason);
        QCOMPARE(model->value(row, field), stored);
        QVERIFY(model->typedCells().empty());
        QCOMPARE(returns->item(0, 11)->text(), shownReturn);
        QVERIFY(!shownReturn.isEmpty());

        // The lock gives the same reason for the value stored by another tool.
        QTest::mouseClick(button("cancelEditButton"), Qt::LeftButton);
        QVERIFY(ExecuteSql(db(),
                           "UPDATE [Pay Table] SET [" + field + "] = ? WHERE [Casino] = ? AND [Catch] = ?",
                           {typed.toDouble(), "Harrah's Laughlin", row}));
        showGame(kHarrahs);
        QTest::mouseClick(button("lockButton"), Qt::LeftButton);
        lock();
        QCOMPARE(run->dialogs.messages().last(), reason + " Correct it before selecting 'Lock Pays'.");
    }

    void deleteAndExportThatFindNothingSaySo()
    {
        openCatalogueOn(kHarrahs);
        // The game goes behind the window's back, as another copy of the program could remove it.
        QVERIFY(ExecuteSql(db(), "DELETE FROM [Pay Table] WHERE [Casino] = ?", {"Harrah's Laughlin"}));
        const QStringList before = DatabaseDump(db());
        run->dialogs.answers = {true};
        QTest::mouseClick(button("deleteGameButton"), Qt::LeftButton);
        QTest::mouseClick(button("exportButton"), Qt::LeftButton); // no file dialog: nothing to save
        const QString missing =
            "No game NEVADA - Other, Harrah's Laughlin, Live Keno $1 is stored in the Pay Table, so "
            "nothing was ";
        QCOMPARE(run->dialogs.messages(), (QStringList{missing + "deleted.", missing + "exported."}));
        QCOMPARE(run->dialogs.shown.size(), std::size_t(3)); // the question and the two messages
        QCOMPARE(DatabaseDump(db()), before);
    }

    void theRepairAtStartSaysOnceWhatItRepaired()
    {
        end();
        {
            DatabaseOpening opening = openDatabase(folder->databasePath(), "older-version");
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
        const QString repaired = "Tallyhawk has repaired its catalogue of games:\n- removed 2 rows that "
                                 "could never be shown (a Catch "
                                 "that is not a whole number from 0 to 10, or a NUL character in a location, "
                                 "casino or game name);\n- "
                                 "stored 1 game without the blanks around its location, casino or game name, "
                                 "so that it can be found "
                                 "again.";
        for (const bool first : {true, false}) {
            BoardRun start(folder->path());
            QVERIFY(start.app.load());
            QCOMPARE(start.dialogs.messages().join('|'), first ? repaired : QString()); // said once
            start.chooseGame(GameListText("ARIZONA", "Rampart", "Fire Power Keno"));
            start.click(start.board.paysButton);
            QCOMPARE(paysOf(start.catalogue)->rowCount(), 11);
            QCOMPARE(rowsOf(start.app.database(), "Harrah's Laughlin"), 11);
        }
    }

private:
    CatalogueWindow& catalogue() { return run->catalogue; }
    QSqlDatabase db() { return run->app.database(); }
    void openCatalogueOn(const QString& entry, bool unlock = false)
    {
        run->chooseGame(entry);
        run->click(run->board.paysButton);
        QCOMPARE(catalogue().ComboGameList->currentText(), entry);
        catalogue().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&catalogue()));
        if (unlock)
            QTest::mouseClick(button("lockButton"), Qt::LeftButton);
    }

    // Types a value into a cell of the pays (a Catch's row) or of the bonus row (-1) and leaves
    // it with Enter; an empty text blanks the cell with Delete.
    void typeCell(int caught, const QString& field, const QString& text)
    {
        QTableView* shown = grid(caught < 0 ? "bonusGrid" : "paysGrid");
        clickCell(shown, std::max(caught, 0), static_cast<PayGridModel*>(shown->model())->fieldColumn(field));
        if (text.isEmpty())
            return press(Qt::Key_Delete);
        type(text);
        press(Qt::Key_Return);
    }

    // Edits as triples: a Catch (-1: the bonus row) and a field typed into, or "key" and a key part set.
    void applyEdits(const QStringList& typed)
    {
        for (int i = 0; i + 2 < typed.size(); i += 3) {
            if (typed[i] != "key")
                typeCell(typed[i].toInt(), typed[i + 1], typed[i + 2]);
            else if (typed[i + 1] == "casino")
                control<QLineEdit>(catalogue(), "casinoEdit")->setText(typed[i + 2]);
            else
                (typed[i + 1] == "game" ? control<QComboBox>(catalogue(), "gameNameCombo")
                                        : control<QComboBox>(catalogue(), "locationCombo"))
                    ->setCurrentText(typed[i + 2]);
        }
    }

    void lock() { QTest::mouseClick(button("lockButton"), Qt::LeftButton); }
    // Picks a game from the catalogue's own list, as a user does.
    void showGame(const QString& entry)
    {
        QComboBox* list = catalogue().ComboGameList;
        const int index = list->findText(entry);
        QVERIFY2(index >= 0, qPrintable(entry));
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    QPushButton* button(const char* name) { return control<QPushButton>(catalogue(), name); }
    QTableView* grid(const char* name) { return control<QTableView>(catalogue(), name); }

    void importFile(const QByteArray& bytes)
    {
        QFile file(m_files.filePath("import.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        run->dialogs.fileNames = {file.fileName()};
        QTest::mouseClick(button("importButton"), Qt::LeftButton);
    }

    QTemporaryDir m_files;
};

TALLYHAWK_WINDOW_TEST_MAIN(CatalogueTest)
#include "test_catalogue.moc"
