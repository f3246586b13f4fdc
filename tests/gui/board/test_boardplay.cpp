// The board's bets, credits and plays, driven through its buttons and cells.

#include "engine/play/payslist.h"
#include "gui/common/readout.h"
#include "support/boardrun.h"
#include "support/windowtest.h"

#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>

using namespace tallyhawk;

namespace {

// The pictures on the board, as "number:picture" for every cell that shows one.
QString pictures(const BoardRun& run)
{
    static const QStringList names{"ckmark-blue.GIF", "ckmark-red.GIF", "BonusBall.GIF",
                                   "NoBonusBall.GIF", "egg-blue.jpg",   "egg-cracked.jpg"};
    QStringList shown;
    for (int n = 1; n <= 80; ++n) {
        const BoardCell cell = CellOfNumber(n);
        const QImage image = run.board.MSFlexBoard->cellPicture(cell.row, cell.column).toImage();
        if (image.isNull())
            continue;
        QString name = "?";
        for (const QString& file : names)
            if (image == QImage(QStringLiteral(TALLYHAWK_PROGRAM_DIR "/images/") + file))
                name = file.section('.', 0, 0);
        shown << QStringLiteral("%1:%2").arg(n).arg(name);
    }
    return shown.join(' ');
}

} // namespace

class BoardPlayTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { f.start("[RandomSeed] = 12345, [StartupCredits] = 200"); }
    void cleanup() { f.end(); }
    void betOneMovesTheBetWithinItsLimits();
    void markingNeedsABetAndStopsAtTen();
    void addCreditsTakesWhatCanBeKept();
    void startRefusesWithTheRightMessage();
    void playsShowTheDrawAndPayTheTable_data();
    void playsShowTheDrawAndPayTheTable();
    void startChargesNothingForAGameItCannotPlay_data();
    void startChargesNothingForAGameItCannotPlay();
    void quickPickKeepsTheCount();
    void closingDuringAPlayAsksAndResumesOrFinishes();
    void aMissingPictureIsReportedOnce();
    void keyboardPlayMarksStartsAndReplays();

private:
    BoardFixture f;
};

void BoardPlayTest::betOneMovesTheBetWithinItsLimits()
{
    BoardRun& run = *f.run;
    // Before the first draw a bet is taken from the credits as it is placed; CTRL lowers it.
    const struct
    {
        Qt::KeyboardModifiers modifiers;
        int clicks;
        const char* shown; // the bet, the credits
    } steps[] = {{Qt::ControlModifier, 1, "0 / 100"},
                 {{}, 3, " 3 /  97"},
                 {Qt::ControlModifier, 1, " 2 /  98"},
                 {{}, 44, " 45 /  55"},
                 {Qt::ControlModifier, 1, " 44 /  56"}};
    for (const auto& step : steps) {
        for (int i = 0; i < step.clicks; ++i)
            run.click(run.board.CommandBet, step.modifiers);
        QCOMPARE(run.board.TextBet->text() + " / " + run.board.TextCredits->text(), QString(step.shown));
    }
    run.board.setCredits(0);
    run.click(run.board.CommandBet);
    QCOMPARE(run.board.TextBet->text(), QString(" 44"));
    QCOMPARE(run.dialogs.messages(),
             (QStringList{"You may not place a negative bet!", "Your bet may not exceed 45 credits.",
                          "You must ADD CREDITS before you can bet!"}));
}

void BoardPlayTest::markingNeedsABetAndStopsAtTen()
{
    BoardRun& run = *f.run;
    run.clickNumber(7);
    run.ticket(1, {1, 40, 41, 80});
    emit run.board.MSFlexBoard->cellClicked(4, 3); // the separator row takes no marks
    QCOMPARE(run.board.TextMarked->text(), QString("MARKED   4"));
    QCOMPARE(pictures(run), QString("1:ckmark-blue 40:ckmark-blue 41:ckmark-blue 80:ckmark-blue"));
    QCOMPARE(run.board.MSFlexBoard->cellText(8, 9), QString(" "));
    run.ticket(1, {2, 3, 4, 5, 6, 7, 50});
    QCOMPARE(run.board.TextMarked->text(), QString("MARKED   10"));
    QVERIFY(!pictures(run).contains("50:"));
    QCOMPARE(run.dialogs.messages(), (QStringList{"You must place a bet before selecting numbers!",
                                                  "You may not pick more than ten numbers for this game."}));
    run.ticket(1, {1, 2, 3, 4, 5, 6, 7, 40, 41, 80}); // a second click takes a mark away
    QCOMPARE(run.board.TextMarked->text(), QString("MARKED   0"));
    QCOMPARE(run.board.oddsText(), QString(kPaysListHeader));
    QCOMPARE(pictures(run), QString());
    QCOMPARE(run.board.MSFlexBoard->cellText(8, 9), QString("80"));
}

void BoardPlayTest::addCreditsTakesWhatCanBeKept()
{
    BoardRun& run = *f.run;
    run.board.setCredits(10);
    // A number, Cancel, a total below 0, a number with words after it, two totals beyond what
    // can be kept, and one that reaches it exactly.
    run.dialogs.inputs = {
        "50", QString(), "-70", "-4.5 credits", "1e308", "999999999999944", "999999999999943.5"};
    for (const char* shown : {"60", "60", "60", "55.5", "55.5", "55.5", "999999999999999"}) {
        run.click(run.board.CommandAdd);
        QCOMPARE(run.board.TextCredits->text(), QString(shown));
    }
    QCOMPARE(run.dialogs.shown.front().text + run.dialogs.shown.front().title,
             QString("Enter Number of Credits to Add >|200Increase Credit Total"));
    QCOMPARE(run.dialogs.messages(),
             QStringList(2, "The credit total may not exceed 999999999999999 credits."));
    const std::size_t asked = run.dialogs.shown.size();
    run.click(run.board.CommandAdd, Qt::ControlModifier); // CTRL: back to the start-up credits, unasked
    QCOMPARE(run.board.TextCredits->text(), QString("200"));
    QCOMPARE(run.dialogs.shown.size(), asked);
}

void BoardPlayTest::startRefusesWithTheRightMessage()
{
    BoardRun& run = *f.run;
    run.click(run.board.CommandStart);
    // A game that pays only ten numbers: three marked numbers have no pays.
    run.chooseGame("NEVADA - Other           Harrah's Laughlin");
    run.ticket(1, {1, 2, 3});
    run.click(run.board.CommandStart);
    QCOMPARE(run.board.TextCredits->text(), QString(" 99"));
    run.ticket(1, {4, 5, 6, 7, 8, 9, 10});
    run.click(run.board.CommandStart); // the first draw: from now on the bet is charged at START
    run.board.setCredits(3);
    run.ticket(3, {});
    QVERIFY(run.board.CommandStart->isEnabled());
    run.ticket(4, {});
    QVERIFY(!run.board.CommandStart->isEnabled()); // a bet of 4 above 3 credits
    run.board.CommandStart->setEnabled(true);      // and if it were clicked all the same
    run.click(run.board.CommandStart);
    QCOMPARE(run.board.TextCredits->text(), QString("3"));
    QVERIFY(!run.board.isPlaying());
    QCOMPARE(run.dialogs.messages(),
             (QStringList{"You must bet at least one credit.",
                          "You must select numbers (or more numbers) before you may START!",
                          "Reduce your bet or ADD CREDITS to continue.\n\nYou can reduce your bet by holding "
                          "down the CTRL-Key and clicking on 'BET ONE'."}));
}

// Golden plays from the seed 12345, each checked by hand against the game's pay table (bet 2).
void BoardPlayTest::playsShowTheDrawAndPayTheTable_data()
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
        << FormatGameListEntry("NEVADA - Las Vegas", "Rampart", "Fire Power Keno")
        << QList<int>{3, 24, 27, 38, 44, 50, 61, 79} << QStringList{"HITS 5 / WIN 56 / 154"}
        << "27 24 79 50 61 6 54 17 65 34 19 22 51 48 75 18 26 41 42 71"
        << "3:ckmark-blue 24:ckmark-red 27:BonusBall 38:ckmark-blue 44:ckmark-blue 50:ckmark-red "
           "61:ckmark-red "
           "79:ckmark-red"
        << "" << 19;
    // 4 of 8 with the 20th ball (71): 3 a credit, times 2, then twelve free games at twice the
    // pays, of which one catches 4 (3, 44, 71, 79): 12 more. The last free game stays shown.
    QTest::newRow("Cleopatra: free games at twice the pays")
        << FormatGameListEntry("OTHER", "Published example", "Cleopatra Keno")
        << QList<int>{3, 24, 27, 38, 44, 59, 71, 79}
        << QStringList{"HITS 3 / WIN 0 / 116", "HITS 2 / WIN 0 / 114"}
        << "37 38 7 60 78 65 71 50 54 33 30 43 49 26 21 66 57 72 31 4"
        << "3:ckmark-blue 4:NoBonusBall 24:ckmark-blue 27:ckmark-blue 38:ckmark-red 44:ckmark-blue "
           "59:ckmark-blue "
           "71:ckmark-red 79:ckmark-blue"
        << "" << 19 * 14;
    // The fourth play catches 3 of 8 (1 a credit) and the eggs 63 and 61: three more balls, the
    // last a third egg, so the win is 1 x 2 x 8.
    QTest::newRow("Caveman Plus: eggs and three more balls")
        << FormatGameListEntry("NEVADA - Las Vegas", "Red Rock", "Caveman Plus Keno")
        << QList<int>{2, 4, 8, 19, 22, 34, 51, 65}
        << QStringList{"HITS 5 / WIN 8 / 106", "HITS 1 / WIN 0 / 104", "HITS 1 / WIN 0 / 102",
                       "HITS 3 / WIN 16 / 116"}
        << "19 10 32 3 42 48 36 63 8 35 59 23 21 20 58 57 44 70 22 61 --- 50 12 76"
        << "2:ckmark-blue 4:ckmark-blue 8:ckmark-red 19:ckmark-red 22:ckmark-red 34:ckmark-blue "
           "51:ckmark-blue "
           "61:egg-cracked 63:egg-cracked 65:ckmark-blue 76:egg-cracked"
        << "Caveman Plus Bonus Balls . . . 50 12 76" << 80;
}

void BoardPlayTest::playsShowTheDrawAndPayTheTable()
{
    QFETCH(QString, game);
    QFETCH(QList<int>, ticket);
    QFETCH(QStringList, plays);
    BoardRun& run = *f.run;
    run.chooseGame(game);
    run.ticket(2, {});
    for (int n : ticket)
        run.clickNumber(n);
    QStringList shown; // the readouts, their spacing set aside
    const auto text = [](const QLineEdit* line) {
        return line->text().simplified();
    };
    for (int play = 0; play < plays.size(); ++play) {
        run.click(run.board.CommandStart);
        QVERIFY(!run.board.isPlaying());
        shown << text(run.board.TextHitCount) + " / " + text(run.board.TextWin) + " / " +
                     text(run.board.TextCredits);
        // The listing's line for the catch paid stands out; nothing does after a loss.
        const auto marks = run.board.TextOdds->extraSelections();
        QCOMPARE(marks.size(), run.board.TextWin->text() == "WIN     0" ? 0 : 1);
        if (!marks.isEmpty())
            QCOMPARE(marks.first().cursor.block().text().left(4).trimmed(),
                     run.board.TextHitCount->text().mid(5).trimmed());
    }
    QCOMPARE(shown, plays);
    QTEST(text(run.board.TextHits), "balls");
    QTEST(pictures(run), "board");
    const auto* counter = static_cast<const Readout*>(run.board.TextFreeGamesRemaining);
    QTEST(counter->isVisible() ? text(counter) : QString(), "counter");
    QVERIFY(counter->showsWholeText());
    QTEST(run.dialogs.beeps, "beeps");
    QVERIFY(run.board.CommandQuickPick->isEnabled());
    saveScreenshot(&run.board, "board-" + game.left(40).simplified().replace(' ', '-'));
}

void BoardPlayTest::startChargesNothingForAGameItCannotPlay_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("message");
    QTest::newRow("pays that cannot be read") << "ALTER TABLE [Pay Table] RENAME TO [Elsewhere]"
                                              << "The pays of this game cannot be read: ";
    QTest::newRow("a bonus value too large for the board")
        << "UPDATE [Pay Table] SET [Bonus Factor] = 1e19 WHERE [Catch] = 0"
        << "This game cannot be played: Bonus Factor holds 1E+19, more than 32,767, the largest bonus value "
           "the "
           "board can read.";
}

void BoardPlayTest::startChargesNothingForAGameItCannotPlay()
{
    QFETCH(QString, statement);
    QFETCH(QString, message);
    BoardRun& run = *f.run;
    run.ticket(2, {10, 20, 30, 40, 50});
    run.click(run.board.CommandStart); // the first draw: its bet was taken as it was placed
    const QString credits = run.board.TextCredits->text();
    const QString balls = run.board.TextHits->text();
    QVERIFY(ExecuteSql(run.module2.gDatabase, statement));
    run.click(run.board.CommandStart);
    QCOMPARE(run.dialogs.messages().size(), 1);
    QVERIFY2(run.dialogs.messages().first().startsWith(message), qPrintable(run.dialogs.messages().first()));
    QCOMPARE(run.board.TextCredits->text(), credits);
    QCOMPARE(run.board.TextHits->text(), balls);
    QVERIFY(!run.board.isPlaying());
    QVERIFY(run.board.CommandStart->isEnabled());
}

void BoardPlayTest::quickPickKeepsTheCount()
{
    BoardRun& run = *f.run;
    QVERIFY(!run.board.CommandQuickPick->isEnabled());
    run.ticket(1, {1, 2, 3, 4, 5, 6, 7});
    run.click(run.board.CommandStart);
    QSet<QString> tickets;
    for (int round = 0; round < 5; ++round) {
        run.click(run.board.CommandQuickPick);
        tickets << pictures(run);
        QCOMPARE(pictures(run).count(":ckmark-blue"), 7);
        QCOMPARE(pictures(run).count(':'), 7);
        QCOMPARE(run.board.TextMarked->text(), QString("MARKED   7"));
    }
    QCOMPARE(tickets.size(), 5);
    run.click(run.board.CommandErase);
    QVERIFY(!run.board.CommandQuickPick->isEnabled());
    QCOMPARE(run.board.TextMarked->text(), QString("MARKED   0"));
}

void BoardPlayTest::closingDuringAPlayAsksAndResumesOrFinishes()
{
    BoardRun& run = *f.run;
    run.module2.gSpeed = "Slow";
    run.board.setPauseScale(10); // five seconds after each ball, as long as a bonus notice
    run.ticket(1, {11, 22, 33, 44, 55});
    run.click(run.board.CommandStart);
    QVERIFY(run.board.isPlaying());
    QVERIFY(!run.board.CommandStart->isEnabled() && !run.board.CommandBet->isEnabled());
    QVERIFY(!run.board.ComboGameList->isEnabled() && !run.board.MSFlexBoard->isEnabled());
    QTest::qWait(100);
    const int left = run.board.pauseRemainingMs();
    QVERIFY(left > 4000);
    // No: the pause goes on with the time it had left.
    run.dialogs.answers = {false};
    QVERIFY(!run.board.close());
    QVERIFY(run.board.isPlaying());
    QVERIFY(std::abs(run.board.pauseRemainingMs() - left) < 100);
    // Yes: the whole play is in, twenty balls shown and the credits kept as the play leaves them.
    QSignalSpy ended(&run.board, &frmKenoBoard::programEnded);
    run.dialogs.answers = {true};
    QVERIFY(run.board.close());
    QCOMPARE(ended.count(), 1);
    QVERIFY(!run.board.isPlaying());
    QCOMPARE(run.board.TextHits->text().split("   ", Qt::SkipEmptyParts).size(), 20);
    const QString credits = run.board.TextCredits->text();
    QVERIFY(!credits.startsWith(' '));
    BoardRun next(f.folder->path());
    QVERIFY(next.board.Form_Load());
    QCOMPARE(next.board.TextCredits->text(), credits);
}

void BoardPlayTest::aMissingPictureIsReportedOnce()
{
    f.end();
    QTemporaryDir programFolder; // a program folder without pictures
    BoardRun run(f.folder->path(), programFolder.path());
    QVERIFY(run.board.Form_Load());
    run.ticket(1, {5, 6});
    QCOMPARE(run.dialogs.messages().size(), 1);
    QVERIFY(run.dialogs.messages().first().contains("ckmark-blue.GIF"));
    QCOMPARE(run.board.MSFlexBoard->cellText(0, 4), QString(" "));
    QVERIFY(run.board.MSFlexBoard->cellPicture(0, 4).isNull());
}

void BoardPlayTest::keyboardPlayMarksStartsAndReplays()
{
    BoardRun& run = *f.run;
    run.board.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&run.board));
    const auto press = [](Qt::Key key, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(QApplication::focusWidget(), key);
    };
    // Tab from the game list reaches BET ONE after the board and three buttons.
    run.board.ComboGameList->setFocus();
    press(Qt::Key_Tab, 5);
    QCOMPARE(QApplication::focusWidget(), run.board.CommandBet);
    press(Qt::Key_Space);
    QCOMPARE(run.board.TextBet->text(), QString(" 1"));

    // Back to the board: the cursor starts on 1; Down crosses the separator row.
    run.board.ComboGameList->setFocus();
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), run.board.MSFlexBoard);
    press(Qt::Key_Space); // 1
    press(Qt::Key_Right, 2);
    press(Qt::Key_Space); // 3
    press(Qt::Key_Down, 4);
    press(Qt::Key_Space); // 43, four rows down past the separator
    press(Qt::Key_Up);
    press(Qt::Key_Space); // 33
    QCOMPARE(pictures(run), QString("1:ckmark-blue 3:ckmark-blue 33:ckmark-blue 43:ckmark-blue"));

    // Enter plays from the board; after the play the focus is on START, where Enter and Space
    // play again, and Enter in the game list plays too.
    QStringList draws;
    press(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), run.board.CommandStart);
    draws << run.board.TextHits->text();
    for (Qt::Key key : {Qt::Key_Enter, Qt::Key_Space, Qt::Key_Return}) {
        if (key == Qt::Key_Return)
            run.board.ComboGameList->setFocus();
        press(key);
        QVERIFY(!draws.contains(run.board.TextHits->text()));
        draws << run.board.TextHits->text();
    }
    QCOMPARE(run.board.TextMarked->text(), QString("MARKED   4"));
}

TALLYHAWK_WINDOW_TEST_MAIN(BoardPlayTest)
#include "test_boardplay.moc"
