#include "db/database.h"
#include "db/paytable.h"
#include "gui/board/boardgrid.h"
#include "gui/board/frmkenoboard.h"
#include "gui/catalogue/frmobjectmap.h"
#include "gui/common/module2.h"
#include "gui/common/readout.h"
#include "support/boardrun.h"
#include "support/scripteddialogs.h"
#include "support/tempdatafolder.h"
#include "support/windowtest.h"

#include <cstdio>
#include <cstring>
#include <QComboBox>
#include <QCryptographicHash>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSqlQuery>

using namespace tallyhawk;

namespace {

QStringList listEntries(const QComboBox* combo)
{
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries << combo->itemText(i);
    return entries;
}

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class BoardTest : public QObject
{
    Q_OBJECT
private slots:
    void loadShowsEveryGameTheSavedCreditsAndTheSavedGame();
    void quittingWithYesSavesTheGameAndTheCreditsForTheNextStart();
    void quittingWithNoChangesNothing();
    void aKilledPlayLosesNoCredits();
    void storedOptionsOutOfRangeAreSetAsideWithAWarning();
    void addedCreditsBeyondWhatCanBeKeptAreRefused();
    void aStartupGameThatNamesNoGameStillLoads();
    void aCorruptDatabaseIsReportedAndLeftUnchanged();
    void choosingAGameErasesTheTicket();
    void theBoardShowsItsNumbersInItsColours();
    void aFixedSeedDrawsTheSameNumbersEveryStart();
    void resizingKeepsTheArrangement();
    void theWheelOverTheGameListChangesNothing();
    void theFreeGamesCounterMovesNothing();
    void onASmallScreenTheBoardScrolls();
};

void BoardTest::loadShowsEveryGameTheSavedCreditsAndTheSavedGame()
{
    TempDataFolder folder;
    BoardRun run(folder.path());
    QVERIFY(run.board.Form_Load());
    QVERIFY(run.dialogs.shown.empty());

    const QStringList entries = listEntries(run.board.ComboGameList);
    QCOMPARE(entries.size(), 17);
    for (const QString& entry : entries)
        QCOMPARE(entry.size(), 75);
    QCOMPARE(listEntries(run.catalogue.ComboGameList), entries);
    QVERIFY(entries.first().startsWith("NEVADA - Las Vegas       Rampart"));
    QVERIFY(entries.last().startsWith("OTHER                    Published example"));

    // The seed's saved game is the first of the list.
    QCOMPARE(run.board.ComboGameList->currentText(), entries.first());
    QCOMPARE(run.catalogue.ComboGameList->currentText(), entries.first());
    QCOMPARE(run.module2.gCurrentGameName, entries.first());
    QCOMPARE(run.module2.gCurrentGameSql.key().Casino, std::string("Rampart"));
    QCOMPARE(run.board.TextCredits->text(), QString("100"));
    QCOMPARE(run.board.TextBet->text(), QString("0"));
    QCOMPARE(run.board.TextMarked->text(), QString());
    QCOMPARE(run.board.TextOdds->toPlainText(), QString());
    QVERIFY(!run.board.CommandQuickPick->isEnabled());
    QCOMPARE(run.module2.gSpeed, QString("Fast"));
    QCOMPARE(run.module2.gSimGames, 1000000);
    QCOMPARE(run.module2.gStartupCredits, 100);
    for (int i = 1; i <= 80; ++i)
        QCOMPARE(run.module2.gDrawDeck[i], i);
}

void BoardTest::quittingWithYesSavesTheGameAndTheCreditsForTheNextStart()
{
    TempDataFolder folder;
    QString chosen;
    {
        BoardRun run(folder.path());
        QVERIFY(run.board.Form_Load());
        run.board.show();
        run.chooseGame(11);
        chosen = run.board.ComboGameList->currentText();
        QCOMPARE(run.module2.gCurrentGameName, chosen);
        run.board.setCredits(59);
        run.click(run.board.CommandBet); // a bet taken as it is placed, not yet played
        run.click(run.board.CommandBet);
        QCOMPARE(run.board.TextCredits->text(), QString(" 57"));

        QSignalSpy ended(&run.board, &frmKenoBoard::programEnded);
        run.dialogs.answers = {true};
        QVERIFY(run.board.close());
        QCOMPARE(ended.count(), 1);
        QCOMPARE(run.dialogs.shown.at(0).kind, QString("yesno"));
        QCOMPARE(run.dialogs.shown.at(0).text, QString("Are you sure you want to quit?"));
        QCOMPARE(run.dialogs.shown.at(0).title, QString("Tallyhawk"));
        QVERIFY(!run.module2.gDatabase.isOpen());
    }
    BoardRun next(folder.path());
    QVERIFY(next.board.Form_Load());
    QCOMPARE(next.board.ComboGameList->currentText(), chosen);
    QCOMPARE(next.module2.gCurrentGameName, chosen);
    QCOMPARE(next.board.TextCredits->text(), QString("59")); // the unplayed bet is the player's again
    QCOMPARE(next.board.TextBet->text(), QString("0"));
    QCOMPARE(next.board.TextMarked->text(), QString());
}

void BoardTest::quittingWithNoChangesNothing()
{
    TempDataFolder folder;
    BoardRun run(folder.path());
    QVERIFY(run.board.Form_Load());
    run.board.show();
    run.chooseGame(3);
    run.board.setCredits(42);
    const QByteArray before = fileHash(folder.databasePath());

    QSignalSpy ended(&run.board, &frmKenoBoard::programEnded);
    run.dialogs.answers = {false};
    QVERIFY(!run.board.close());
    QVERIFY(run.board.isVisible());
    QCOMPARE(ended.count(), 0);
    QVERIFY(run.module2.gDatabase.isOpen());
    QCOMPARE(run.board.TextCredits->text(), QString("42"));
    QCOMPARE(fileHash(folder.databasePath()), before);
}

void BoardTest::aStartupGameThatNamesNoGameStillLoads()
{
    TempDataFolder folder;
    const QString gone = FormatGameListEntry("NOWHERE", "No Casino", "No Game");
    setDefaults(folder.databasePath(), "[StartupGame] = '" + gone + "'");
    BoardRun run(folder.path());
    QVERIFY(run.board.Form_Load());
    QCOMPARE(run.board.ComboGameList->currentText(), gone);
    QCOMPARE(run.module2.gCurrentGameName, gone);
    QCOMPARE(run.board.ComboGameList->count(), 17);
    QSqlQuery query(run.module2.gDatabase);
    QVERIFY(run.module2.gCurrentGameSql.select(query));
    QVERIFY(!query.next());
}

void BoardTest::aCorruptDatabaseIsReportedAndLeftUnchanged()
{
    TempDataFolder folder;
    {
        QFile file(folder.databasePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("This is not a database, it is a letter to a friend.\n").repeated(100));
    }
    const QByteArray before = fileHash(folder.databasePath());
    BoardRun run(folder.path());
    QVERIFY(!run.board.Form_Load());
    QCOMPARE(run.dialogs.messages().size(), 1);
    QVERIFY(run.dialogs.messages().first().contains(QDir::toNativeSeparators(folder.databasePath())));
    QCOMPARE(fileHash(folder.databasePath()), before);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"Tallyhawk.orf"});
}

void BoardTest::choosingAGameErasesTheTicket()
{
    TempDataFolder folder;
    BoardRun run(folder.path());
    QVERIFY(run.board.Form_Load());
    QTest::mouseClick(run.board.CommandBet, Qt::LeftButton);
    for (auto [row, column] : {std::pair{0, 0}, {8, 9}})
        emit run.board.MSFlexBoard->cellClicked(row, column);
    QCOMPARE(run.module2.gBoardMarks[0][0], kMarked);
    QVERIFY(!run.board.oddsText().isEmpty());
    run.board.TextFreeGamesRemaining->show();
    run.board.TextFreeGamesRemaining->setText("Free Games Remaining:  3");

    run.chooseGame(5);
    QCOMPARE(run.module2.gBoardMarks[0][0], std::int16_t(0));
    QCOMPARE(run.module2.gBoardMarks[8][9], std::int16_t(0));
    QCOMPARE(run.board.MSFlexBoard->cellText(0, 0), QString("1"));
    QVERIFY(run.board.MSFlexBoard->cellPicture(0, 0).isNull());
    QCOMPARE(run.board.TextOdds->toPlainText(), QString());
    QCOMPARE(run.board.TextMarked->text(), QString("MARKED   0"));
    QVERIFY(!run.board.CommandQuickPick->isEnabled());
    QVERIFY(run.board.TextFreeGamesRemaining->isHidden());
    QCOMPARE(run.board.TextFreeGamesRemaining->text(), QString());
    QCOMPARE(run.module2.gCurrentGameName, run.board.ComboGameList->itemText(5));
    QCOMPARE(run.module2.gCurrentGameSql, BuildCurrentGameSql(run.board.ComboGameList->itemText(5)));
    QCOMPARE(run.board.TextBet->text(), QString(" 1")); // the bet stays
}

void BoardTest::theBoardShowsItsNumbersInItsColours()
{
    TempDataFolder folder;
    BoardRun run(folder.path());
    QVERIFY(run.board.Form_Load());
    run.board.show();
    QApplication::processEvents();
    const BoardGrid* grid = run.board.MSFlexBoard;
    QCOMPARE(grid->rowCount(), 9);
    QCOMPARE(grid->columnCount(), 10);
    QCOMPARE(grid->cellText(0, 0), QString("1"));
    QCOMPARE(grid->cellText(3, 9), QString("40"));
    QCOMPARE(grid->cellText(4, 3), QString());
    QCOMPARE(grid->cellText(5, 0), QString("41"));
    QCOMPARE(grid->cellText(8, 9), QString("80"));
    QCOMPARE(grid->cellBackground(2, 2), QColor(0, 0, 128));
    QCOMPARE(grid->item(2, 2)->foreground().color(), QColor(255, 255, 0));
    QVERIFY(grid->font().pointSize() == 18);
    QVERIFY(grid->rowHeight(4) < grid->rowHeight(3) / 2);
}

void BoardTest::aFixedSeedDrawsTheSameNumbersEveryStart()
{
    TempDataFolder folder;
    setDefaults(folder.databasePath(), "[RandomSeed] = 12345");
    std::vector<float> first, second;
    for (auto* draws : {&first, &second}) {
        BoardRun run(folder.path());
        QVERIFY(run.board.Form_Load());
        QCOMPARE(run.module2.gRandomSeed, 12345);
        for (int i = 0; i < 20; ++i)
            draws->push_back(run.module2.gRandom.uniform());
    }
    QVERIFY(first == second);
    for (float u : first)
        QVERIFY(u >= 0.0f && u < 1.0f);
}

void BoardTest::resizingKeepsTheArrangement()
{
    TempDataFolder folder;
    BoardRun run(folder.path());
    QVERIFY(run.board.Form_Load());
    run.board.show();
    for (const QSize size : {QSize(761, 548), QSize(1400, 1000)}) {
        run.board.resize(size);
        QApplication::processEvents();
        saveScreenshot(&run.board, QStringLiteral("board-%1").arg(size.width()));
        auto box = [&](const QWidget* w) {
            return QRect(w->mapTo(&run.board, QPoint(0, 0)), w->size());
        };
        const QRect list = box(run.board.ComboGameList), odds = box(run.board.TextOdds),
                    grid = box(run.board.MSFlexBoard), credits = box(run.board.TextCredits),
                    hits = box(run.board.TextHits);
        QVERIFY(list.bottom() < grid.top());
        QVERIFY(odds.right() < grid.left());
        QVERIFY(box(run.board.TextWin).bottom() < credits.top());
        QVERIFY(grid.bottom() < credits.top() + 8);
        int left = -1;
        for (const QPushButton* command :
             {run.board.CommandPays, run.board.CommandAdvanced, run.board.CommandAdd, run.board.CommandBet,
              run.board.CommandErase, run.board.CommandQuickPick, run.board.CommandStart}) {
            const QRect b = box(command);
            QVERIFY(b.left() > left);
            QVERIFY(b.top() > credits.top());
            QVERIFY(b.bottom() < hits.top());
            left = b.right();
        }
        // The grid takes the room it is given.
        QVERIFY(grid.width() >= size.width() * 6 / 10);
    }
}

// The child's part of aKilledPlayLosesNoCredits: one slow play on the folder, its outcome
// printed, then waiting to be killed.
int playAndWait(int argc, char** argv, const QString& folder)
{
    QApplication app(argc, argv);
    BoardRun run(folder);
    if (!run.board.Form_Load())
        return 1;
    run.board.show();
    run.click(run.board.CommandBet);
    run.click(run.board.CommandBet);
    for (int n : {3, 17, 33, 48, 72})
        run.clickNumber(n);
    run.click(run.board.CommandStart);
    std::printf("%s\n", QString::number(run.board.credits(), 'f', 0).toUtf8().constData());
    std::fflush(stdout);
    return QApplication::exec();
}

void BoardTest::aKilledPlayLosesNoCredits()
{
    TempDataFolder folder;
    setDefaults(folder.databasePath(), "[Speed] = 'Slow', [RandomSeed] = 5, [SaveCredits] = 100");
    QProcess child;
    child.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    child.start(QCoreApplication::applicationFilePath(), {"--play-then-wait", folder.path()});
    QVERIFY(child.waitForReadyRead(20000));
    const double credits = child.readLine().trimmed().toDouble();
    child.kill(); // in the middle of the balls: twenty of them take ten seconds at this speed
    QVERIFY(child.waitForFinished(10000));
    QVERIFY(credits != 100); // the play changed the credits

    DatabaseOpening opening = openDatabase(folder.databasePath(), "after-kill");
    QVERIFY(opening.ok());
    QSqlQuery query(opening.db);
    QVERIFY(query.exec("SELECT [SaveCredits] FROM [Defaults]") && query.next());
    QCOMPARE(query.value(0).toDouble(), credits);
    query = QSqlQuery();
    closeDatabase(opening.db);
}

void BoardTest::storedOptionsOutOfRangeAreSetAsideWithAWarning()
{
    TempDataFolder folder;
    setDefaults(folder.databasePath(), "[StartupCredits] = 1e20");
    BoardRun run(folder.path());
    QVERIFY(run.board.Form_Load());
    QCOMPARE(run.dialogs.messages().size(), 1);
    QVERIFY(run.dialogs.messages().first().startsWith("The stored option StartupCredits holds 1E+20"));
    QCOMPARE(run.module2.gStartupCredits, 100);
}

void BoardTest::addedCreditsBeyondWhatCanBeKeptAreRefused()
{
    TempDataFolder folder;
    BoardRun run(folder.path());
    QVERIFY(run.board.Form_Load());
    run.board.show();
    run.dialogs.inputs = {"1e308"};
    run.click(run.board.CommandAdd);
    QCOMPARE(run.dialogs.messages().last(),
             QString("The credit total may not exceed 999999999999999 credits."));
    QCOMPARE(run.board.TextCredits->text(), QString("100"));
    run.dialogs.inputs = {"999999999999899"};
    run.click(run.board.CommandAdd);
    QCOMPARE(run.board.TextCredits->text(), QString("999999999999999"));
}

void BoardTest::theWheelOverTheGameListChangesNothing()
{
    TempDataFolder folder;
    BoardRun run(folder.path());
    QVERIFY(run.board.Form_Load());
    run.board.show();
    run.click(run.board.CommandBet);
    run.clickNumber(12);
    QComboBox* list = run.board.ComboGameList;
    const int game = list->currentIndex();
    QSignalSpy chosen(list, &QComboBox::activated);
    // One notch each way over the list's text and over the list, which never had the focus.
    for (QWidget* target : {static_cast<QWidget*>(list->lineEdit()), static_cast<QWidget*>(list)}) {
        for (const int notch : {-120, 120}) {
            const QPointF at(target->width() / 2.0, target->height() / 2.0);
            QWheelEvent wheel(at, target->mapToGlobal(at), {}, QPoint(0, notch), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &wheel);
        }
    }
    QCOMPARE(list->currentIndex(), game);
    QCOMPARE(chosen.count(), 0);
    QCOMPARE(run.module2.gBoardMarks[1][1], kMarked);

    // A key while the list has the focus does choose.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentIndex(), game + 1);
    QCOMPARE(run.module2.gCurrentGameName, list->currentText());
    QCOMPARE(run.module2.gBoardMarks[1][1], std::int16_t(0));
}

void BoardTest::theFreeGamesCounterMovesNothing()
{
    TempDataFolder folder;
    BoardRun run(folder.path());
    QVERIFY(run.board.Form_Load());
    run.board.show();
    QApplication::processEvents();
    QVERIFY(run.board.TextFreeGamesRemaining->isHidden());
    const QList<QWidget*> watched{run.board.TextCredits, run.board.Label1, run.board.MSFlexBoard,
                                  run.board.TextOdds, run.board.CommandStart};
    QList<QRect> before;
    for (const QWidget* w : watched)
        before << w->geometry();
    // The counter as the play shows it, with the longest caption it gets.
    run.board.TextFreeGamesRemaining->setText("Caveman Plus Bonus Balls . . . 55   26   75   ");
    run.board.TextFreeGamesRemaining->show();
    QApplication::processEvents();
    for (int i = 0; i < watched.size(); ++i)
        QCOMPARE(watched[i]->geometry(), before[i]);
    QVERIFY(static_cast<Readout*>(run.board.TextFreeGamesRemaining)->showsWholeText());
    QVERIFY(run.board.TextCredits->width() >= 150);
}

void BoardTest::onASmallScreenTheBoardScrolls()
{
    TempDataFolder folder;
    BoardRun run(folder.path());
    QVERIFY(run.board.Form_Load());
    auto* scroll = run.board.findChild<QScrollArea*>("BoardScroll");
    QVERIFY(scroll);
    for (const QRect screen : {QRect(0, 0, 640, 480), QRect(0, 0, 1280, 1024)}) {
        run.board.placeOnScreen(screen);
        run.board.show();
        QApplication::processEvents();
        QVERIFY(screen.contains(run.board.geometry()));
        const bool small = screen.width() < 761;
        QCOMPARE(scroll->horizontalScrollBar()->maximum() + scroll->verticalScrollBar()->maximum() > 0,
                 small);
        // Every control stays whole and within reach: the last button scrolls into view.
        QVERIFY(scroll->widget()->width() >= scroll->widget()->minimumSizeHint().width());
        scroll->ensureWidgetVisible(run.board.CommandStart);
        QApplication::processEvents();
        QCOMPARE(run.board.CommandStart->visibleRegion().boundingRect(), run.board.CommandStart->rect());
        saveScreenshot(&run.board, QStringLiteral("board-on-%1x%2").arg(screen.width()).arg(screen.height()));
    }
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && std::strcmp(argv[1], "--play-then-wait") == 0)
        return playAndWait(1, argv, QString::fromLocal8Bit(argv[2]));
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tallyhawk");
    BoardTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_board.moc"
