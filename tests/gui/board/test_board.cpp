// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The board, driven through its buttons, cells and keys: load and quit, bets and credits, plays
// from a fixed seed, what a killed play keeps, and the layout.

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
#include <QTextBlock>

using namespace tallyhawk;

namespace {

// The pictures on the board, as "number:picture" for every cell that shows one.
QString pictures(const BoardRun& run)
{
    QStringList shown;
    for (int n = 1; n <= 80; ++n) {
        const BoardCell cell = CellOfNumber(n);
        const QImage image = run.board.boardGrid->cellPicture(cell.row, cell.column).toImage();
        QString name = image.isNull() ? "" : "?";
        for (const char* file : {"ckmark-blue.GIF", "ckmark-red.GIF", "BonusBall.GIF", "NoBonusBall.GIF",
                                 "egg-blue.jpg", "egg-cracked.jpg"})
            if (!image.isNull() && image == QImage(QStringLiteral(TALLYHAWK_PROGRAM_DIR "/images/") + file))
                name = QString(file).section('.', 0, 0);
        if (!name.isEmpty())
            shown << QStringLiteral("%1:%2").arg(n).arg(name);
    }
    return shown.join(' ');
}

QString text(const QLineEdit* line)
{
    return line->text().simplified();
}

} // namespace

class BoardTest : public QObject, BoardFixture
{
    Q_OBJECT
private slots:
    void init() { start("[RandomSeed] = 12345, [StartupCredits] = 200"); }
    void cleanup() { end(); }

    void quittingKeepsTheGameAndTheUnplayedBetOrChangesNothing()
    {
        QComboBox* list = run->board.gameListCombo;
        QCOMPARE(list->count(), 17);
        QVERIFY(list->currentText().startsWith("NEVADA - Las Vegas       Rampart")); // the seed's saved game
        QCOMPARE(run->board.creditsLabel->text() + "|" + run->board.betLabel->text(), QString("100|0"));
        run->chooseGame(list->itemText(11));
        run->board.setCredits(59);
        run->ticket(2, {}); // a bet taken as it is placed, not yet played
        QCOMPARE(run->board.creditsLabel->text(), QString(" 57"));
        const QByteArray before = fileHash(folder->databasePath());
        QSignalSpy ended(&run->board, &BoardWindow::programEnded);
        run->dialogs.answers = {false, true};
        QVERIFY(!run->board.close() && run->board.isVisible());
        QCOMPARE(fileHash(folder->databasePath()), before);
        QVERIFY(run->board.close() && ended.count() == 1);
        QCOMPARE(run->dialogs.shown.at(0).text + "|" + run->dialogs.shown.at(0).title,
                 QString("Are you sure you want to quit?|Tallyhawk"));
        QVERIFY(!run->app.database().isOpen());
        BoardRun next(folder->path());
        QVERIFY(next.app.load());
        QCOMPARE(next.board.gameListCombo->currentText(), list->itemText(11));
        QCOMPARE(next.board.creditsLabel->text() + "|" + next.board.betLabel->text(), QString("59|0"));
    }

    void aKilledPlayLosesNoCredits()
    {
        end();
        setDefaults(folder->databasePath(), "[Speed] = 'Slow', [RandomSeed] = 5, [SaveCredits] = 100");
        QProcess child; // see main()
        child.start(QCoreApplication::applicationFilePath(), {"--play-then-wait", folder->path()});
        QVERIFY(child.waitForReadyRead(20000));
        QCOMPARE(child.readLine().trimmed(), QByteArray("98")); // the bet taken, the balls still to come
        child.kill(); // in the middle of the balls: twenty of them take ten seconds at this speed
        QVERIFY(child.waitForFinished(10000));
        // The draw from the seed 5 catches 2, 26 and 39: 2 a credit at a bet of 2, kept at START.
        BoardRun next(folder->path());
        QVERIFY(next.app.load());
        QCOMPARE(next.board.creditsLabel->text(), QString("102"));
    }

    void betOneMovesTheBetWithinItsLimits()
    {
        // Before the first draw a bet is taken from the credits as it is placed; CTRL lowers it.
        // Clicks (negative: with CTRL) and the bet and credits they leave.
        const std::pair<int, const char*> steps[] = {
            {-1, "0 / 100"}, {3, " 3 /  97"}, {-1, " 2 /  98"}, {44, " 45 /  55"}, {-1, " 44 /  56"}};
        for (auto [clicks, shown] : steps) {
            for (int i = 0; i < std::abs(clicks); ++i)
                run->click(run->board.betOneButton, clicks < 0 ? Qt::ControlModifier : Qt::NoModifier);
            QCOMPARE(run->board.betLabel->text() + " / " + run->board.creditsLabel->text(), QString(shown));
        }
        run->board.setCredits(0);
        run->click(run->board.betOneButton);
        QCOMPARE(run->board.betLabel->text(), QString(" 44"));
        QCOMPARE(run->dialogs.messages(),
                 (QStringList{"You may not place a negative bet!", "Your bet may not exceed 45 credits.",
                              "You must ADD CREDITS before you can bet!"}));
    }

    void addCreditsTakesWhatCanBeKept()
    {
        run->board.setCredits(10);
        // A number, Cancel, a total below 0, a number with words after it, two totals beyond what
        // can be kept, and one that reaches it exactly.
        run->dialogs.inputs = {
            "50", QString(), "-70", "-4.5 credits", "1e308", "999999999999944", "999999999999943.5"};
        for (const char* shown : {"60", "60", "60", "55.5", "55.5", "55.5", "999999999999999"}) {
            run->click(run->board.addCreditsButton);
            QCOMPARE(run->board.creditsLabel->text(), QString(shown));
        }
        QCOMPARE(run->dialogs.shown.front().text + run->dialogs.shown.front().title,
                 QString("Enter Number of Credits to Add >|200Increase Credit Total"));
        QCOMPARE(run->dialogs.messages(),
                 QStringList(2, "The credit total may not exceed 999999999999999 credits."));
        const std::size_t asked = run->dialogs.shown.size();
        run->click(run->board.addCreditsButton,
                   Qt::ControlModifier); // CTRL: back to the start-up credits, unasked
        QCOMPARE(run->board.creditsLabel->text(), QString("200"));
        QCOMPARE(run->dialogs.shown.size(), asked);
    }

    void startRefusesABetAboveTheCredits()
    {
        run->ticket(1, {4, 5, 6, 7, 8, 9, 10});
        run->click(run->board.startButton); // the first draw: from now on the bet is charged at START
        run->board.setCredits(3);
        run->ticket(3, {});
        QVERIFY(run->board.startButton->isEnabled());
        run->ticket(4, {});
        QVERIFY(!run->board.startButton->isEnabled()); // a bet of 4 above 3 credits
        run->board.startButton->setEnabled(true);      // and if it were clicked all the same
        run->click(run->board.startButton);
        QVERIFY(run->board.creditsLabel->text() == "3" && !run->board.isPlaying());
        QCOMPARE(run->dialogs.messages(),
                 QStringList{"Reduce your bet or ADD CREDITS to continue.\n\nYou can reduce "
                             "your bet by holding down the CTRL-Key and clicking on 'BET ONE'."});
    }

    // The start-up game, Rampart's Fire Power Keno, pays nothing for one number.
    void thePaysListingFollowsTheTicketAndTheBet_data()
    {
        QTest::addColumn<int>("bet");
        QTest::addColumn<QList<int>>("ticket");
        QTest::addColumn<QString>("listing");
        QTest::newRow("one number: no pays") << 1 << QList<int>{7} << " Hits     Win\n";
        QTest::newRow("two numbers, fractions kept")
            << 2 << QList<int>{7, 80} << " Hits     Win\n   2         24.55\n";
        QTest::newRow("four numbers")
            << 3 << QList<int>{1, 2, 3, 4}
            << " Hits     Win\n   2         3\n   3         12\n   4         264.9\n";
        QTest::newRow("ten numbers, ten a column further left")
            << 1 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}
            << " Hits     Win\n   4         1\n   5         3\n   6         8\n   7         50\n   8         "
               "307\n"
               "   9         1500\n  10        6000\n";
    }

    void thePaysListingFollowsTheTicketAndTheBet()
    {
        QFETCH(int, bet);
        QFETCH(QList<int>, ticket);
        run->ticket(bet, {});
        for (int n : ticket)
            run->clickNumber(n);
        QTEST(run->board.paysListing->toPlainText(), "listing");
    }

    void anEleventhNumberIsRefused()
    {
        run->ticket(1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
        QCOMPARE(run->dialogs.messages(),
                 QStringList{"You may not pick more than ten numbers for this game."});
        QCOMPARE(text(run->board.markedLabel), QString("MARKED 10"));
        QVERIFY(!pictures(*run).contains("11:"));
        run->clickNumber(10); // one taken off makes room again
        run->clickNumber(11);
        QCOMPARE(run->board.ticket().numbers(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 11}));
    }

    void startWithoutATicketAsksForNumbers()
    {
        const QString credits = run->board.creditsLabel->text();
        run->ticket(1, {});
        run->click(run->board.startButton); // no listing at all
        run->clickNumber(5);
        run->clickNumber(5); // marked and unmarked again: the listing's header stays
        QCOMPARE(run->board.paysListing->toPlainText(), QString(" Hits     Win\n"));
        run->click(run->board.startButton);
        QCOMPARE(run->dialogs.messages(),
                 QStringList(2, "You must select numbers (or more numbers) before you may START!"));
        QVERIFY(!run->board.isPlaying() && run->board.drawnNumbersLabel->text().isEmpty());
        QCOMPARE(run->board.creditsLabel->text(), QString(" 99")); // the bet as placed, nothing more
        QCOMPARE(credits, QString("100"));
    }

    // Golden plays from the seed 12345 at a bet of 2, each checked by hand against the pay table.
    void playsShowTheDrawAndPayTheTable_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<QList<int>>("ticket");
        QTest::addColumn<QStringList>("plays"); // after each play: the hits, the win and the credits
        QTest::addColumn<QString>("balls");     // the last game's balls in their order
        QTest::addColumn<QString>("board");     // the pictures the board shows after it
        QTest::addColumn<QString>("counter");   // the free-games counter, when it shows
        QTest::addColumn<int>("beeps");         // one for each ball after the first
        // 5 of 8 caught, the first ball among them: 7 a credit, times 2, times 4.
        QTest::newRow("Fire Power: the first ball pays 4 times")
            << GameListText("NEVADA - Las Vegas", "Rampart", "Fire Power Keno")
            << QList<int>{3, 24, 27, 38, 44, 50, 61, 79} << QStringList{"HITS 5 / WIN 56 / 154"}
            << "27 24 79 50 61 6 54 17 65 34 19 22 51 48 75 18 26 41 42 71"
            << "3:ckmark-blue 24:ckmark-red 27:BonusBall 38:ckmark-blue 44:ckmark-blue 50:ckmark-red "
               "61:ckmark-red 79:ckmark-red"
            << "" << 19;
        // 4 of 8 with the 20th ball (71): 3 a credit, times 2, then twelve free games at twice the
        // pays, of which one catches 4 (3, 44, 71, 79): 12 more. The last free game stays shown.
        QTest::newRow("Cleopatra: free games at twice the pays")
            << GameListText("OTHER", "Published example", "Cleopatra Keno")
            << QList<int>{3, 24, 27, 38, 44, 59, 71, 79}
            << QStringList{"HITS 3 / WIN 0 / 116", "HITS 2 / WIN 0 / 114"}
            << "37 38 7 60 78 65 71 50 54 33 30 43 49 26 21 66 57 72 31 4"
            << "3:ckmark-blue 4:NoBonusBall 24:ckmark-blue 27:ckmark-blue 38:ckmark-red 44:ckmark-blue "
               "59:ckmark-blue 71:ckmark-red 79:ckmark-blue"
            << "" << 19 * 14;
        // The fourth play catches 3 of 8 (1 a credit) and the eggs 63 and 61: three more balls, the
        // last a third egg, so the win is 1 x 2 x 8.
        QTest::newRow("Caveman Plus: eggs and three more balls")
            << GameListText("NEVADA - Las Vegas", "Red Rock", "Caveman Plus Keno")
            << QList<int>{2, 4, 8, 19, 22, 34, 51, 65}
            << QStringList{"HITS 5 / WIN 8 / 106", "HITS 1 / WIN 0 / 104", "HITS 1 / WIN 0 / 102",
                           "HITS 3 / WIN 16 / 116"}
            << "19 10 32 3 42 48 36 63 8 35 59 23 21 20 58 57 44 70 22 61 --- 50 12 76"
            << "2:ckmark-blue 4:ckmark-blue 8:ckmark-red 19:ckmark-red 22:ckmark-red 34:ckmark-blue "
               "51:ckmark-blue 61:egg-cracked 63:egg-cracked 65:ckmark-blue 76:egg-cracked"
            << "Caveman Plus Bonus Balls . . . 50 12 76" << 80;
    }

    void playsShowTheDrawAndPayTheTable()
    {
        QFETCH(QString, game);
        QFETCH(QList<int>, ticket);
        QFETCH(QStringList, plays);
        run->chooseGame(game);
        run->ticket(2, {});
        for (int n : ticket)
            run->clickNumber(n);
        QStringList shown; // the readouts, their spacing set aside
        for (int play = 0; play < plays.size(); ++play) {
            run->click(run->board.startButton);
            QVERIFY(!run->board.isPlaying());
            shown << text(run->board.hitCountLabel) + " / " + text(run->board.winLabel) + " / " +
                         text(run->board.creditsLabel);
            // The listing's line for the catch paid stands out; nothing does after a loss.
            const auto marks = run->board.paysListing->extraSelections();
            QCOMPARE(marks.size(), text(run->board.winLabel) == "WIN 0" ? 0 : 1);
            if (!marks.isEmpty())
                QCOMPARE(marks.first().cursor.block().text().left(4).trimmed(),
                         text(run->board.hitCountLabel).mid(5));
        }
        QCOMPARE(shown, plays);
        QTEST(text(run->board.drawnNumbersLabel), "balls");
        QTEST(pictures(*run), "board");
        const auto* counter = static_cast<const Readout*>(run->board.freeGamesLabel);
        QTEST(counter->isVisible() ? text(counter) : QString(), "counter");
        QVERIFY(counter->showsWholeText());
        QTEST(run->dialogs.beeps, "beeps");
        saveScreenshot(&run->board, "board-" + game.left(40).simplified().replace(' ', '-'));
    }

    void startChargesNothingForAGameItCannotPlay_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("message");
        QTest::newRow("pays that cannot be read") << "ALTER TABLE [Pay Table] RENAME TO [Elsewhere]"
                                                  << "The pays of this game cannot be read: ";
        QTest::newRow("a bonus value too large for the board")
            << "UPDATE [Pay Table] SET [Bonus Factor] = 1e19 WHERE [Catch] = 0"
            << "This game cannot be played: Bonus Factor holds 1E+19, more than 32,767, the largest bonus "
               "value "
               "the board can read.";
    }

    void startChargesNothingForAGameItCannotPlay()
    {
        QFETCH(QString, statement);
        QFETCH(QString, message);
        run->ticket(2, {10, 20, 30, 40, 50});
        run->click(run->board.startButton); // the first draw: its bet was taken as it was placed
        const QString before = run->board.creditsLabel->text() + run->board.drawnNumbersLabel->text();
        QVERIFY(ExecuteSql(run->app.database(), statement));
        run->click(run->board.startButton);
        QVERIFY2(run->dialogs.messages().join('|').startsWith(message),
                 qPrintable(run->dialogs.messages().join('|')));
        QCOMPARE(run->board.creditsLabel->text() + run->board.drawnNumbersLabel->text(), before);
        QVERIFY(!run->board.isPlaying() && run->board.startButton->isEnabled());
    }

    void closingDuringAPlayAsksAndResumesOrFinishes()
    {
        run->app.programOptions().speed = "Slow";
        run->board.setPauseScale(10); // five seconds after each ball, as long as a bonus notice
        run->ticket(1, {11, 22, 33, 44, 55});
        run->click(run->board.startButton);
        QVERIFY(run->board.isPlaying() && !run->board.startButton->isEnabled() &&
                !run->board.betOneButton->isEnabled());
        QVERIFY(!run->board.gameListCombo->isEnabled() && !run->board.boardGrid->isEnabled());
        QTest::qWait(100);
        const int left = run->board.pauseRemainingMs();
        QVERIFY(left > 4000);
        // No: the pause goes on with the time it had left.
        run->dialogs.answers = {false, true};
        QVERIFY(!run->board.close() && run->board.isPlaying());
        QVERIFY(std::abs(run->board.pauseRemainingMs() - left) < 100);
        // Yes: the whole play is in, twenty balls shown and the credits kept as the play leaves them.
        QSignalSpy ended(&run->board, &BoardWindow::programEnded);
        QVERIFY(run->board.close() && ended.count() == 1 && !run->board.isPlaying());
        QCOMPARE(text(run->board.drawnNumbersLabel).count(' '), 19);
        const QString credits = run->board.creditsLabel->text();
        QVERIFY(!credits.startsWith(' '));
        BoardRun next(folder->path());
        QVERIFY(next.app.load());
        QCOMPARE(next.board.creditsLabel->text(), credits);
    }

    void keyboardPlayMarksStartsAndReplays()
    {
        run->board.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&run->board));
        run->board.gameListCombo->setFocus();
        // Tab from the game list reaches BET ONE after the board and three buttons.
        for (int i = 0; i < 5; ++i)
            press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), run->board.betOneButton);
        press(Qt::Key_Space);
        QCOMPARE(run->board.betLabel->text(), QString(" 1"));
        // Back to the board: the cursor starts on 1; Down crosses the separator row.
        run->board.gameListCombo->setFocus();
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), run->board.boardGrid);
        for (Qt::Key key :
             {Qt::Key_Space, Qt::Key_Right, Qt::Key_Right, Qt::Key_Space, Qt::Key_Down, Qt::Key_Down,
              Qt::Key_Down, Qt::Key_Down, Qt::Key_Space, Qt::Key_Up, Qt::Key_Space})
            press(key);
        QCOMPARE(pictures(*run), QString("1:ckmark-blue 3:ckmark-blue 33:ckmark-blue 43:ckmark-blue"));
        // Enter plays from the board; after the play the focus is on START, where Enter and Space
        // play again, and Enter in the game list plays too.
        QSet<QString> draws;
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Return}) {
            press(key);
            draws << run->board.drawnNumbersLabel->text();
            QCOMPARE(QApplication::focusWidget(), run->board.startButton);
            if (draws.size() == 3)
                run->board.gameListCombo->setFocus();
        }
        QCOMPARE(QString::number(draws.size()) + run->board.markedLabel->text(), QString("4MARKED   4"));
    }

    void theWheelOverTheGameListChangesNothing()
    {
        run->ticket(1, {12});
        QComboBox* list = run->board.gameListCombo;
        QSignalSpy chosen(list, &QComboBox::activated);
        // One notch each way over the list's text and over the list, which never had the focus.
        for (QWidget* target : {static_cast<QWidget*>(list->lineEdit()), static_cast<QWidget*>(list)}) {
            for (const int notch : {-120, 120}) {
                const QPointF at(target->width() / 2.0, target->height() / 2.0);
                QWheelEvent wheel(at, target->mapToGlobal(at), {}, QPoint(0, notch), Qt::NoButton,
                                  Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(target, &wheel);
            }
        }
        QVERIFY(list->currentIndex() == 0 && chosen.isEmpty());
        QCOMPARE(run->board.markedLabel->text(), QString("MARKED   1"));
        // A key while the list has the focus does choose, and erases the ticket but not the bet.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QVERIFY(list->currentIndex() == 1 && GameListText(run->app.currentGame().key) == list->currentText());
        QCOMPARE(run->board.markedLabel->text() + "|" + run->board.betLabel->text(),
                 QString("MARKED   0| 1"));
        QCOMPARE(pictures(*run) + run->board.paysListing->toPlainText(), QString());
    }

    void theFreeGamesCounterMovesNothing()
    {
        QApplication::processEvents();
        QVERIFY(run->board.freeGamesLabel->isHidden());
        const QList<QWidget*> watched{run->board.creditsLabel, run->board.creditCaptionLabel,
                                      run->board.boardGrid, run->board.paysListing, run->board.startButton};
        QList<QRect> before;
        for (const QWidget* w : watched)
            before << w->geometry();
        // The counter as the play shows it, with the longest caption it gets.
        run->board.freeGamesLabel->setText("Caveman Plus Bonus Balls . . . 55   26   75   ");
        run->board.freeGamesLabel->show();
        QApplication::processEvents();
        for (int i = 0; i < watched.size(); ++i)
            QCOMPARE(watched[i]->geometry(), before[i]);
        QVERIFY(static_cast<Readout*>(run->board.freeGamesLabel)->showsWholeText());
        QVERIFY(run->board.creditsLabel->width() >= 150);
    }

    void onASmallScreenTheBoardScrolls()
    {
        auto* scroll = run->board.findChild<QScrollArea*>("boardScrollArea");
        for (const QRect screen : {QRect(0, 0, 640, 480), QRect(0, 0, 1280, 1024)}) {
            run->board.placeOnScreen(screen);
            QApplication::processEvents();
            QVERIFY(screen.contains(run->board.geometry()));
            QCOMPARE(scroll->horizontalScrollBar()->maximum() + scroll->verticalScrollBar()->maximum() > 0,
                     screen.width() < 761);
            // Every control stays whole and within reach: the last button scrolls into view.
            QVERIFY(scroll->widget()->width() >= scroll->widget()->minimumSizeHint().width());
            scroll->ensureWidgetVisible(run->board.startButton);
            QApplication::processEvents();
            QCOMPARE(run->board.startButton->visibleRegion().boundingRect(), run->board.startButton->rect());
            saveScreenshot(&run->board,
                           QStringLiteral("board-on-%1x%2").arg(screen.width()).arg(screen.height()));
        }
    }
};

// The child of aKilledPlayLosesNoCredits: one slow play on the folder, the credits it shows at
// once printed, then waiting to be killed.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tallyhawk");
    if (argc == 3 && std::strcmp(argv[1], "--play-then-wait") == 0) {
        BoardRun run(QString::fromLocal8Bit(argv[2]));
        if (!run.app.load())
            return 1;
        run.board.show();
        run.ticket(2, {2, 3, 26, 39, 48});
        run.click(run.board.startButton);
        std::printf("%s\n", qPrintable(run.board.creditsLabel->text()));
        std::fflush(stdout);
        return QApplication::exec();
    }
    BoardTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_board.moc"
