#include "engine/common/numberforms.h"
#include "engine/play/payslist.h"
#include "gui/common/readout.h"
#include "support/boardrun.h"
#include "support/tempdatafolder.h"
#include "support/windowtest.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>

using namespace tallyhawk;

namespace {

constexpr int kSeed = 12345;

QImage pictureFile(const char* name)
{
    return QImage(QStringLiteral(TALLYHAWK_PROGRAM_DIR "/images/") + name);
}

QImage cellImage(const BoardRun& run, int n)
{
    const BoardCell cell = CellOfNumber(n);
    return run.board.MSFlexBoard->cellPicture(cell.row, cell.column).toImage();
}

} // namespace

class BoardPlayTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void betButtonMovesCreditsUntilTheFirstDraw();
    void betLimitsAndTheirMessages();
    void markingNeedsABetAndStopsAtTen();
    void addingAndResettingCredits();
    void startRefusesWithTheRightMessage();
    void wholeGamesMatchTheEngine();
    void startFollowsTheBetAfterTheFirstDraw();
    void startChargesNothingWhenThePaysCannotBeRead();
    void startChargesNothingForAValueTheBoardCannotHold();
    void quickPickKeepsTheCount();
    void closingDuringAPlayFinishesItsArithmetic();
    void answeringNoLetsThePlayFinish();
    void aMissingPictureIsReportedOnce();
    void keyboardPlayMarksStartsAndReplays();
    void answeringNoResumesThePauseWithTheTimeItHadLeft();
    void thePaidLineOfThePaysListingIsHighlighted();
    void aCavemanPlusPlayShowsItsBonusBallsWhole();

private:
    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<BoardRun> m_run;
};

void BoardPlayTest::init()
{
    m_run.reset();
    m_folder = std::make_unique<TempDataFolder>();
    setDefaults(m_folder->databasePath(),
                QStringLiteral("[RandomSeed] = %1, [StartupCredits] = 200").arg(kSeed));
    m_run = std::make_unique<BoardRun>(m_folder->path());
    QVERIFY(m_run->board.Form_Load());
    m_run->board.setPauseScale(0);
    m_run->board.show();
}

void BoardPlayTest::betButtonMovesCreditsUntilTheFirstDraw()
{
    BoardRun& run = *m_run;
    for (int i = 0; i < 3; ++i)
        run.click(run.board.CommandBet);
    QCOMPARE(run.board.TextBet->text(), QString(" 3"));
    QCOMPARE(run.board.TextCredits->text(), QString(" 97"));
    run.click(run.board.CommandBet, Qt::ControlModifier);
    QCOMPARE(run.board.TextBet->text(), QString(" 2"));
    QCOMPARE(run.board.TextCredits->text(), QString(" 98"));
    // CTRL released: the next click raises again.
    run.click(run.board.CommandBet);
    QCOMPARE(run.board.TextBet->text(), QString(" 3"));
    QVERIFY(run.dialogs.shown.empty());
}

void BoardPlayTest::betLimitsAndTheirMessages()
{
    BoardRun& run = *m_run;
    run.click(run.board.CommandBet, Qt::ControlModifier);
    QCOMPARE(run.dialogs.messages(), QStringList{"You may not place a negative bet!"});
    QCOMPARE(run.board.TextBet->text(), QString("0"));
    QCOMPARE(run.board.TextCredits->text(), QString("100"));

    for (int i = 0; i < 45; ++i)
        run.click(run.board.CommandBet);
    QCOMPARE(run.board.TextBet->text(), QString(" 45"));
    run.click(run.board.CommandBet);
    QCOMPARE(run.dialogs.messages().last(), QString("Your bet may not exceed 45 credits."));
    QCOMPARE(run.board.TextBet->text(), QString(" 45"));
    run.click(run.board.CommandBet, Qt::ControlModifier);
    QCOMPARE(run.board.TextBet->text(), QString(" 44"));

    run.board.setCredits(0);
    run.click(run.board.CommandBet);
    QCOMPARE(run.dialogs.messages().last(), QString("You must ADD CREDITS before you can bet!"));
    QCOMPARE(run.board.TextBet->text(), QString(" 44"));
}

void BoardPlayTest::markingNeedsABetAndStopsAtTen()
{
    BoardRun& run = *m_run;
    run.clickNumber(7);
    QCOMPARE(run.dialogs.messages(), QStringList{"You must place a bet before selecting numbers!"});
    QCOMPARE(run.module2.gBoardMarks[0][6], std::int16_t(0));

    run.click(run.board.CommandBet);
    for (int n : {1, 40, 41, 80})
        run.clickNumber(n);
    for (auto [row, column] : {std::pair{0, 0}, {3, 9}, {5, 0}, {8, 9}}) {
        QCOMPARE(run.module2.gBoardMarks[row][column], kMarked);
        QCOMPARE(run.board.MSFlexBoard->cellText(row, column), QString(" "));
    }
    QCOMPARE(cellImage(run, 40), pictureFile("ckmark-blue.GIF"));
    QCOMPARE(run.board.TextMarked->text(), QString("MARKED   4"));
    emit run.board.MSFlexBoard->cellClicked(4, 3); // the separator row takes no marks
    QCOMPARE(run.board.TextMarked->text(), QString("MARKED   4"));

    for (int n : {2, 3, 4, 5, 6, 7})
        run.clickNumber(n);
    QCOMPARE(run.board.TextMarked->text(), QString("MARKED   10"));
    run.clickNumber(50);
    QCOMPARE(run.dialogs.messages().last(), QString("You may not pick more than ten numbers for this game."));
    QCOMPARE(run.module2.gBoardMarks[5][9], std::int16_t(0));

    for (int n : {1, 2, 3, 4, 5, 6, 7, 40, 41, 80})
        run.clickNumber(n);
    QCOMPARE(run.board.TextMarked->text(), QString("MARKED   0"));
    QCOMPARE(run.board.oddsText(), QString(kPaysListHeader));
    QCOMPARE(run.board.MSFlexBoard->cellText(8, 9), QString("80"));
    QVERIFY(run.board.MSFlexBoard->cellPicture(8, 9).isNull());
}

void BoardPlayTest::addingAndResettingCredits()
{
    BoardRun& run = *m_run;
    run.board.setCredits(10);
    run.dialogs.inputs = {"50"};
    run.click(run.board.CommandAdd);
    QCOMPARE(run.dialogs.shown.back().text, QString("Enter Number of Credits to Add >|200"));
    QCOMPARE(run.dialogs.shown.back().title, QString("Increase Credit Total"));
    QCOMPARE(run.board.TextCredits->text(), QString("60"));

    run.board.setCredits(10);
    run.dialogs.inputs = {QString()}; // Cancel
    run.click(run.board.CommandAdd);
    QCOMPARE(run.board.TextCredits->text(), QString("10"));
    run.dialogs.inputs = {"-20"};
    run.click(run.board.CommandAdd);
    QCOMPARE(run.board.TextCredits->text(), QString("10"));
    run.dialogs.inputs = {"-4.5 credits"};
    run.click(run.board.CommandAdd);
    QCOMPARE(run.board.TextCredits->text(), QString("5.5"));

    const std::size_t asked = run.dialogs.shown.size();
    run.click(run.board.CommandAdd, Qt::ControlModifier);
    QCOMPARE(run.board.TextCredits->text(), QString("200"));
    QCOMPARE(run.dialogs.shown.size(), asked); // a reset asks nothing
}

void BoardPlayTest::startRefusesWithTheRightMessage()
{
    BoardRun& run = *m_run;
    run.click(run.board.CommandStart);
    QCOMPARE(run.dialogs.messages().last(), QString("You must bet at least one credit."));

    // A game that pays only ten numbers: three marked numbers have no pays.
    run.chooseGame("NEVADA - Other           Harrah's Laughlin");
    run.click(run.board.CommandBet);
    for (int n : {1, 2, 3})
        run.clickNumber(n);
    run.click(run.board.CommandStart);
    QCOMPARE(run.dialogs.messages().last(),
             QString("You must select numbers (or more numbers) before you may START!"));
    QVERIFY(!run.board.isPlaying());
    QCOMPARE(run.board.TextCredits->text(), QString(" 99"));
}

void BoardPlayTest::wholeGamesMatchTheEngine()
{
    BoardRun& run = *m_run;
    KenoRandom reference(kSeed); // the board's generator, seeded the same way
    const std::vector<int> ticket{3, 17, 23, 38, 44, 59, 61, 75};
    for (const QString& game : {FormatGameListEntry("NEVADA - Las Vegas", "Red Rock", "Caveman Plus Keno"),
                                FormatGameListEntry("OTHER", "Published example", "Cleopatra Keno"),
                                FormatGameListEntry("NEVADA - Las Vegas", "Rampart", "Fire Power Keno")}) {
        run.chooseGame(game);
        if (run.board.TextBet->text().trimmed() != "2") {
            run.click(run.board.CommandBet);
            run.click(run.board.CommandBet);
        }
        for (int n : ticket)
            run.clickNumber(n);
        QCOMPARE(run.board.TextMarked->text(), QString("MARKED   8"));
        KenoGame rules;
        QVERIFY(ReadGame(run.module2.gDatabase, run.module2.gCurrentGameSql, &rules));

        for (int play = 0; play < 6; ++play) {
            PlayInput input;
            input.marks = run.module2.gBoardMarks;
            input.markedNumbers = run.module2.gMarkedNumbers;
            input.deck = run.module2.gDrawDeck;
            input.markedCount = 8;
            input.bet = 2;
            input.credits = LeadingNumber(run.board.TextCredits->text().toStdString()) -
                            (run.module2.gBetPrepaid ? 0 : 2);
            input.game = rules;
            input.oddsListing = BuildPaysList(8, 2, rules);
            const PlayResult expected = PlayGames(input, reference);

            const int beepsBefore = run.dialogs.beeps;
            run.click(run.board.CommandStart);
            QVERIFY(!run.board.isPlaying());
            QCOMPARE(run.board.TextCredits->text(), QString::fromStdString(PlainForm(expected.credits)));
            const GameRecord& last = expected.games.back();
            QCOMPARE(run.board.TextHitCount->text(), QString::fromStdString("HITS  " + StrForm(last.hits)));
            QCOMPARE(run.board.TextWin->text(),
                     QString::fromStdString("WIN    " + StrForm(static_cast<double>(last.win))));
            QVERIFY(run.board.TextHits->text().startsWith(QString::number(last.balls[0]) + "   "));
            QCOMPARE(run.dialogs.beeps - beepsBefore,
                     static_cast<int>(
                         std::count_if(expected.actions.begin(), expected.actions.end(),
                                       [](const auto& a) { return std::holds_alternative<Beep>(a); })));
            for (int n = 1; n <= 80; ++n) {
                const bool marked = std::count(ticket.begin(), ticket.end(), n) > 0;
                const bool drawn = std::count(last.balls.begin(), last.balls.end(), n) > 0;
                if (marked && drawn && n != last.balls[std::max(0, rules.boardBonus().BonusBall - 1)])
                    QCOMPARE(cellImage(run, n), pictureFile("ckmark-red.GIF"));
                if (marked && !drawn)
                    QCOMPARE(cellImage(run, n), pictureFile("ckmark-blue.GIF"));
            }
            for (int k = 11; k <= 13 && rules.boardKind().caveman; ++k) {
                const int egg = run.module2.gMarkedNumbers[k];
                const bool drawn = std::count(last.balls.begin(), last.balls.end(), egg) > 0;
                QCOMPARE(cellImage(run, egg), pictureFile(drawn ? "egg-cracked.jpg" : "egg-blue.jpg"));
            }
            QVERIFY(run.board.CommandQuickPick->isEnabled());
            QVERIFY(!run.module2.gBetPrepaid);
        }
        saveScreenshot(&run.board, "board-" + game.left(40).simplified().replace(' ', '-'));
    }
}

void BoardPlayTest::startChargesNothingWhenThePaysCannotBeRead()
{
    BoardRun& run = *m_run;
    run.click(run.board.CommandBet);
    run.click(run.board.CommandBet);
    for (int n : {10, 20, 30, 40, 50})
        run.clickNumber(n);
    run.click(run.board.CommandStart); // the first draw: its bet was taken as it was placed
    QVERIFY(!run.module2.gBetPrepaid);
    const double credits = run.board.credits();
    const QString shown = run.board.TextCredits->text();
    QVERIFY(ExecuteSql(run.module2.gDatabase, "ALTER TABLE [Pay Table] RENAME TO [Elsewhere]"));
    run.click(run.board.CommandStart);
    QVERIFY(run.dialogs.messages().last().startsWith("The pays of this game cannot be read: "));
    QCOMPARE(run.board.credits(), credits);
    QCOMPARE(run.board.TextCredits->text(), shown);
    QVERIFY(!run.board.isPlaying());
    QVERIFY(run.board.CommandStart->isEnabled());
}

void BoardPlayTest::startChargesNothingForAValueTheBoardCannotHold()
{
    BoardRun& run = *m_run;
    const GameKey key = run.module2.gCurrentGameSql.key();
    QVERIFY(ExecuteSql(run.module2.gDatabase,
                       "UPDATE [Pay Table] SET [Bonus Factor] = ? WHERE [Location] = ? AND [Casino] = ? AND "
                       "[Game] = ? AND [Catch] = 0",
                       {1e19, QString::fromStdString(key.Location), QString::fromStdString(key.Casino),
                        QString::fromStdString(key.Game)}));
    run.click(run.board.CommandBet);
    for (int n : {10, 20, 30, 40, 50})
        run.clickNumber(n);
    const QString shown = run.board.TextCredits->text();
    const DrawDeck deck = run.module2.gDrawDeck;
    run.click(run.board.CommandStart);
    QCOMPARE(
        run.dialogs.messages().last(),
        QString("This game cannot be played: Bonus Factor holds 1E+19, more than 32,767, the largest bonus "
                "value the board can read."));
    QCOMPARE(run.board.TextCredits->text(), shown);
    QVERIFY(run.module2.gBetPrepaid); // the bet placed before the first draw stays placed
    QVERIFY(run.module2.gDrawDeck == deck);
    QVERIFY(!run.board.isPlaying());
    QVERIFY(run.board.CommandStart->isEnabled());
}

void BoardPlayTest::startFollowsTheBetAfterTheFirstDraw()
{
    BoardRun& run = *m_run;
    run.click(run.board.CommandBet);
    for (int n : {10, 20, 30, 40, 50})
        run.clickNumber(n);
    run.click(run.board.CommandStart);
    QVERIFY(!run.module2.gBetPrepaid);
    run.board.setCredits(3);
    run.click(run.board.CommandBet);
    run.click(run.board.CommandBet);
    QCOMPARE(run.board.TextBet->text(), QString(" 3"));
    QVERIFY(run.board.CommandStart->isEnabled());
    run.click(run.board.CommandBet);
    QVERIFY(!run.board.CommandStart->isEnabled());         // bet 4 above 3 credits
    QCOMPARE(run.board.TextCredits->text(), QString("3")); // the bet is no longer taken at once
    run.click(run.board.CommandBet, Qt::ControlModifier);
    QVERIFY(run.board.CommandStart->isEnabled());

    run.click(run.board.CommandBet);
    run.click(run.board.CommandBet);
    run.board.CommandStart->setEnabled(true);
    run.click(run.board.CommandStart);
    QCOMPARE(run.dialogs.messages().last(),
             QString("Reduce your bet or ADD CREDITS to continue.\n\nYou can reduce your "
                     "bet by holding down the CTRL-Key and clicking on 'BET ONE'."));
}

void BoardPlayTest::quickPickKeepsTheCount()
{
    BoardRun& run = *m_run;
    QVERIFY(!run.board.CommandQuickPick->isEnabled());
    run.click(run.board.CommandBet);
    for (int n : {1, 2, 3, 4, 5, 6, 7})
        run.clickNumber(n);
    run.click(run.board.CommandStart);
    QVERIFY(run.board.CommandQuickPick->isEnabled());
    for (int round = 0; round < 20; ++round) {
        run.click(run.board.CommandQuickPick);
        int marked = 0;
        for (int row = 0; row < 9; ++row)
            for (int column = 0; column < 10; ++column)
                if (run.module2.gBoardMarks[row][column] == kMarked) {
                    QVERIFY(row != 4);
                    QCOMPARE(run.board.MSFlexBoard->cellText(row, column), QString(" "));
                    ++marked;
                }
        QCOMPARE(marked, 7);
        QCOMPARE(run.board.TextMarked->text(), QString("MARKED   7"));
    }
    run.click(run.board.CommandErase);
    QVERIFY(!run.board.CommandQuickPick->isEnabled());
    QCOMPARE(run.board.TextMarked->text(), QString("MARKED   0"));
}

void BoardPlayTest::closingDuringAPlayFinishesItsArithmetic()
{
    BoardRun& run = *m_run;
    run.module2.gSpeed = "Slow";
    run.board.setPauseScale(1);
    run.click(run.board.CommandBet);
    for (int n : {11, 22, 33, 44, 55})
        run.clickNumber(n);
    run.click(run.board.CommandStart);
    QVERIFY(run.board.isPlaying()); // waiting after the first ball
    QVERIFY(!run.board.CommandStart->isEnabled());
    QVERIFY(!run.board.ComboGameList->isEnabled());
    QVERIFY(!run.board.MSFlexBoard->isEnabled());

    QSignalSpy ended(&run.board, &frmKenoBoard::programEnded);
    run.dialogs.answers = {true};
    QVERIFY(run.board.close());
    QCOMPARE(ended.count(), 1);
    QVERIFY(!run.board.isPlaying());
    // The whole play is in: twenty balls shown, and the credits written as the play writes them.
    QCOMPARE(run.board.TextHits->text().split("   ", Qt::SkipEmptyParts).size(), 20);
    const QString credits = run.board.TextCredits->text();
    QVERIFY(!credits.startsWith(' '));

    BoardRun next(m_folder->path());
    QVERIFY(next.board.Form_Load());
    QCOMPARE(next.board.TextCredits->text(), credits);
}

void BoardPlayTest::answeringNoLetsThePlayFinish()
{
    BoardRun& run = *m_run;
    run.module2.gSpeed = "Turbo";
    run.board.setPauseScale(0.02);
    run.click(run.board.CommandBet);
    for (int n : {11, 22, 33, 44, 55})
        run.clickNumber(n);
    run.click(run.board.CommandStart);
    QVERIFY(run.board.isPlaying());
    run.dialogs.answers = {false};
    QVERIFY(!run.board.close());
    QVERIFY(run.board.isPlaying());
    QTRY_VERIFY_WITH_TIMEOUT(!run.board.isPlaying(), 5000);
    QVERIFY(run.board.CommandStart->isEnabled());
    QVERIFY(run.board.isVisible());
}

void BoardPlayTest::aMissingPictureIsReportedOnce()
{
    QTemporaryDir programFolder; // a program folder without pictures
    TempDataFolder folder;
    BoardRun run(folder.path(), programFolder.path());
    QVERIFY(run.board.Form_Load());
    run.board.setPauseScale(0);
    run.click(run.board.CommandBet);
    run.clickNumber(5);
    run.clickNumber(6);
    QCOMPARE(run.dialogs.messages().size(), 1);
    QVERIFY(run.dialogs.messages().first().contains("ckmark-blue.GIF"));
    QCOMPARE(run.board.MSFlexBoard->cellText(0, 4), QString(" "));
    QVERIFY(run.board.MSFlexBoard->cellPicture(0, 4).isNull());
}

void BoardPlayTest::keyboardPlayMarksStartsAndReplays()
{
    BoardRun& run = *m_run;
    run.board.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&run.board));
    auto press = [](Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), key);
    };
    // Tab from the game list reaches BET ONE after the board and three buttons.
    run.board.ComboGameList->setFocus();
    for (int i = 0; i < 5; ++i)
        press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), run.board.CommandBet);
    press(Qt::Key_Space);
    QCOMPARE(run.board.bet(), 1);

    // Back to the board: the cursor starts on 1; Down crosses the separator row.
    run.board.ComboGameList->setFocus();
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), run.board.MSFlexBoard);
    press(Qt::Key_Space); // 1
    press(Qt::Key_Right);
    press(Qt::Key_Right);
    press(Qt::Key_Space); // 3
    for (int i = 0; i < 4; ++i)
        press(Qt::Key_Down);
    press(Qt::Key_Space); // 43, four rows down past the separator
    press(Qt::Key_Up);
    press(Qt::Key_Space); // 33
    for (int n : {1, 3, 33, 43}) {
        const BoardCell cell = CellOfNumber(n);
        QCOMPARE(run.module2.gBoardMarks[cell.row][cell.column], kMarked);
    }
    QCOMPARE(run.board.TextMarked->text(), QString("MARKED   4"));

    // Enter plays from the board; after the play the focus is on START and Enter plays again.
    press(Qt::Key_Return);
    QVERIFY(!run.module2.gBetPrepaid);
    QCOMPARE(QApplication::focusWidget(), run.board.CommandStart);
    const auto deck = run.module2.gDrawDeck;
    press(Qt::Key_Enter);
    QVERIFY(run.module2.gDrawDeck != deck);
    const auto again = run.module2.gDrawDeck;
    press(Qt::Key_Space);
    QVERIFY(run.module2.gDrawDeck != again);

    // Enter in the game list plays too, and keeps the ticket.
    run.board.ComboGameList->setFocus();
    const auto before = run.module2.gDrawDeck;
    press(Qt::Key_Return);
    QVERIFY(run.module2.gDrawDeck != before);
    QCOMPARE(run.board.markedCount(), 4);
}

void BoardPlayTest::answeringNoResumesThePauseWithTheTimeItHadLeft()
{
    BoardRun& run = *m_run;
    run.module2.gSpeed = "Slow";
    run.board.setPauseScale(10); // five seconds after each ball, as long as a bonus notice
    run.click(run.board.CommandBet);
    for (int n : {11, 22, 33, 44, 55})
        run.clickNumber(n);
    run.click(run.board.CommandStart);
    QTest::qWait(100);
    const int left = run.board.pauseRemainingMs();
    QVERIFY(left > 4000);
    run.dialogs.answers = {false};
    QVERIFY(!run.board.close());
    QVERIFY(run.board.isPlaying());
    QVERIFY(std::abs(run.board.pauseRemainingMs() - left) < 100);
    run.board.setPauseScale(0);
}

void BoardPlayTest::thePaidLineOfThePaysListingIsHighlighted()
{
    BoardRun& run = *m_run;
    run.board.setCredits(100000);
    run.click(run.board.CommandBet);
    for (int n : {4, 18, 27, 53, 66})
        run.clickNumber(n);
    bool sawWin = false, sawLoss = false;
    for (int play = 0; play < 200 && !(sawWin && sawLoss); ++play) {
        run.click(run.board.CommandStart);
        const QList<QTextEdit::ExtraSelection> marks = run.board.TextOdds->extraSelections();
        const int hits = static_cast<int>(LeadingNumber(run.board.TextHitCount->text().mid(5).toStdString()));
        if (run.board.TextWin->text() == "WIN     0") {
            sawLoss = true;
            QVERIFY(marks.isEmpty());
            continue;
        }
        sawWin = true;
        QCOMPARE(marks.size(), 1);
        const QString line = marks.first().cursor.block().text();
        QCOMPARE(line.left(4).trimmed().toInt(), hits);
    }
    QVERIFY(sawWin && sawLoss);
    // A new listing (here for another bet) is not the one that was paid.
    run.click(run.board.CommandBet);
    QVERIFY(run.board.TextOdds->extraSelections().isEmpty());
}

void BoardPlayTest::aCavemanPlusPlayShowsItsBonusBallsWhole()
{
    BoardRun& run = *m_run;
    run.chooseGame(FormatGameListEntry("NEVADA - Las Vegas", "Red Rock", "Caveman Plus Keno"));
    run.board.setCredits(100000);
    run.click(run.board.CommandBet);
    for (int n : {5, 14, 23, 32, 41, 50, 59, 68})
        run.clickNumber(n);
    const QLineEdit* caption = run.board.TextFreeGamesRemaining;
    for (int play = 0; play < 500 && !run.board.TextHits->text().contains("---"); ++play)
        run.click(run.board.CommandStart);
    QVERIFY(run.board.TextHits->text().contains("---"));
    QVERIFY(caption->isVisible());
    const QString start = "Caveman Plus Bonus Balls . . . ";
    QVERIFY(caption->text().startsWith(start));
    QCOMPARE(caption->text().mid(start.size()).split("   ", Qt::SkipEmptyParts).size(), 3);
    QVERIFY(dynamic_cast<const Readout*>(caption)->showsWholeText());
    saveScreenshot(&run.board, "board-caveman-plus-bonus-balls");
}

TALLYHAWK_WINDOW_TEST_MAIN(BoardPlayTest)
#include "test_boardplay.moc"
