// The board's load and quit, what it keeps when the program is killed, and its layout.

#include "gui/common/readout.h"
#include "support/boardrun.h"
#include "support/databasefiles.h"
#include "support/windowtest.h"

#include <cstdio>
#include <cstring>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSqlQuery>

using namespace tallyhawk;

class BoardTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { f.start(); }
    void cleanup() { f.end(); }
    void quittingKeepsTheGameAndTheUnplayedBetOrChangesNothing();
    void aKilledPlayLosesNoCredits();
    void aDatabaseItCannotUseIsReported_data();
    void aDatabaseItCannotUseIsReported();
    void theWheelOverTheGameListChangesNothing();
    void theFreeGamesCounterMovesNothing();
    void onASmallScreenTheBoardScrolls();

private:
    BoardFixture f;
};

void BoardTest::quittingKeepsTheGameAndTheUnplayedBetOrChangesNothing()
{
    BoardRun& run = *f.run;
    QComboBox* list = run.board.ComboGameList;
    QCOMPARE(list->count(), 17);
    QVERIFY(list->itemText(0).startsWith("NEVADA - Las Vegas       Rampart"));
    QCOMPARE(list->itemText(0).size(), 75);
    QCOMPARE(list->currentIndex(), 0); // the seed's saved game
    QCOMPARE(run.board.TextCredits->text() + "|" + run.board.TextBet->text(), QString("100|0"));
    QVERIFY(run.dialogs.shown.empty());

    run.chooseGame(11);
    run.board.setCredits(59);
    run.ticket(2, {}); // a bet taken as it is placed, not yet played
    QCOMPARE(run.board.TextCredits->text(), QString(" 57"));
    const QByteArray before = fileHash(f.folder->databasePath());
    QSignalSpy ended(&run.board, &frmKenoBoard::programEnded);
    run.dialogs.answers = {false, true};
    QVERIFY(!run.board.close());
    QVERIFY(run.board.isVisible());
    QCOMPARE(fileHash(f.folder->databasePath()), before);
    QVERIFY(run.board.close());
    QCOMPARE(ended.count(), 1);
    QCOMPARE(run.dialogs.shown.at(0).text + "|" + run.dialogs.shown.at(0).title,
             QString("Are you sure you want to quit?|Tallyhawk"));
    QVERIFY(!run.module2.gDatabase.isOpen());

    BoardRun next(f.folder->path());
    QVERIFY(next.board.Form_Load());
    QCOMPARE(next.board.ComboGameList->currentText(), list->itemText(11));
    QCOMPARE(next.board.TextCredits->text(), QString("59")); // the unplayed bet is the player's again
    QCOMPARE(next.board.TextBet->text(), QString("0"));
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
    run.ticket(2, {2, 3, 26, 39, 48});
    run.click(run.board.CommandStart);
    std::printf("%s\n", qPrintable(run.board.TextCredits->text()));
    std::fflush(stdout);
    return QApplication::exec();
}

void BoardTest::aKilledPlayLosesNoCredits()
{
    f.end();
    setDefaults(f.folder->databasePath(), "[Speed] = 'Slow', [RandomSeed] = 5, [SaveCredits] = 100");
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"--play-then-wait", f.folder->path()});
    QVERIFY(child.waitForReadyRead(20000));
    const QString credits = child.readLine().trimmed();
    child.kill(); // in the middle of the balls: twenty of them take ten seconds at this speed
    QVERIFY(child.waitForFinished(10000));
    QCOMPARE(credits, QString("98")); // the bet taken, the balls still to come
    // The draw from the seed 5 catches 2, 26 and 39: 2 a credit at a bet of 2, kept at START.
    BoardRun next(f.folder->path());
    QVERIFY(next.board.Form_Load());
    QCOMPARE(next.board.TextCredits->text(), QString("102"));
}

void BoardTest::aDatabaseItCannotUseIsReported_data()
{
    QTest::addColumn<QByteArray>("contents"); // the database file's, when not the seed's
    QTest::addColumn<QString>("defaults");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a database")
        << QByteArray("This is not a database, it is a letter to a friend.\n").repeated(100) << QString()
        << "Tallyhawk.orf";
    QTest::newRow("an option out of range") << QByteArray() << "[StartupCredits] = 1e20"
                                            << "The stored option StartupCredits holds 1E+20";
}

void BoardTest::aDatabaseItCannotUseIsReported()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, defaults);
    QFETCH(QString, message);
    f.end();
    const QString path = f.folder->databasePath();
    if (!defaults.isEmpty())
        setDefaults(path, defaults);
    if (!contents.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                file.write(contents) == contents.size());
    }
    const QByteArray before = fileHash(path);
    BoardRun run(f.folder->path());
    QCOMPARE(run.board.Form_Load(), contents.isEmpty()); // the option is set aside and the board loads
    QCOMPARE(run.dialogs.messages().size(), 1);
    QVERIFY2(run.dialogs.messages().first().contains(message), qPrintable(run.dialogs.messages().first()));
    if (contents.isEmpty()) {
        QCOMPARE(run.module2.gStartupCredits, 100);
        return;
    }
    QCOMPARE(fileHash(path), before);
    QCOMPARE(QDir(f.folder->path()).entryList(QDir::Files), QStringList{"Tallyhawk.orf"});
}

void BoardTest::theWheelOverTheGameListChangesNothing()
{
    BoardRun& run = *f.run;
    run.ticket(1, {12});
    QComboBox* list = run.board.ComboGameList;
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
    QCOMPARE(list->currentIndex(), 0);
    QCOMPARE(chosen.count(), 0);
    QCOMPARE(run.board.TextMarked->text(), QString("MARKED   1"));

    // A key while the list has the focus does choose, and erases the ticket.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentIndex(), 1);
    QCOMPARE(run.module2.gCurrentGameName, list->currentText());
    QCOMPARE(run.board.TextMarked->text(), QString("MARKED   0"));
    QCOMPARE(run.board.MSFlexBoard->cellText(1, 1), QString("12"));
    QCOMPARE(run.board.TextOdds->toPlainText(), QString());
    QCOMPARE(run.board.TextBet->text(), QString(" 1")); // the bet stays
}

void BoardTest::theFreeGamesCounterMovesNothing()
{
    BoardRun& run = *f.run;
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
    BoardRun& run = *f.run;
    auto* scroll = run.board.findChild<QScrollArea*>("BoardScroll");
    QVERIFY(scroll);
    for (const QRect screen : {QRect(0, 0, 640, 480), QRect(0, 0, 1280, 1024)}) {
        run.board.placeOnScreen(screen);
        QApplication::processEvents();
        QVERIFY(screen.contains(run.board.geometry()));
        QCOMPARE(scroll->horizontalScrollBar()->maximum() + scroll->verticalScrollBar()->maximum() > 0,
                 screen.width() < 761);
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
