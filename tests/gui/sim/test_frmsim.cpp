#include "db/paytable.h"
#include "engine/common/numberforms.h"
#include "engine/sim/exactodds.h"
#include "gui/sim/frmsim.h"
#include "support/boardrun.h"
#include "support/tempdatafolder.h"
#include "support/windowtest.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QLogValueAxis>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTableView>
#include <QValueAxis>

using namespace tallyhawk;

namespace {

const QString kFirePower = FormatGameListEntry("NEVADA - Las Vegas", "Rampart", "Fire Power Keno");

qint64 numberAfterEquals(const QLineEdit* line)
{
    return static_cast<qint64>(LeadingNumber(line->text().section('=', 1).toStdString()));
}

// A tick step of 1, 2 or 5 times a power of ten.
bool isRound(double step)
{
    const double scaled = step / std::pow(10.0, std::floor(std::log10(step)));
    return std::fabs(scaled - 1) < 1e-9 || std::fabs(scaled - 2) < 1e-9 || std::fabs(scaled - 5) < 1e-9;
}

} // namespace

class SimulationWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void handOffKeepsOrClearsTheResults();
    void backRestoresTheBet();
    void answersThatDoNotRunAGame();
    void paysThatCannotBeReadRunNothing();
    void aRunReportsItsSessions();
    void randomPicksPlayTheMarkedCount();
    void escStopsALongRunAtAProgressPoint();
    void unwritableReportsAreReportedAndTheSummaryStillShows();
    void quittingFromTheSimulationWindow();
    void randomnessTestAsksUntilTheAnswerDividesByFour();
    void randomnessTestCancelEndsQuietly();
    void escStopsARandomnessTestWithoutAMessage();
    void chartsHideWithTheWindowAndWaitForTheirRun();
    void chartsShowEveryCatchOnRoundTicks();
    void theCommandLineRepeatsARunWithItsSeed_data();
    void theCommandLineRepeatsARunWithItsSeed();
    void theResultsTableIsEvenlyRuled();
    void figuresReadTheSameInAnyLanguage();
    void theIntervalOfARunShowsFromAHundredGamesAndNeverBelowZero();

private:
    frmSim& sim() { return m_run->simulation; }
    void markAndHandOff(const std::vector<int>& numbers, int bet = 1);
    // Runs a simulation of the given answer; the summary is answered with `save`.
    // Without `save`, the run is not expected to reach its summary.
    void runGames(const QString& answer, std::optional<bool> save = false);

    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<BoardRun> m_run;
};

void SimulationWindowTest::init()
{
    m_run.reset();
    m_folder = std::make_unique<TempDataFolder>();
    setDefaults(m_folder->databasePath(), "[RandomSeed] = 777");
    m_run = std::make_unique<BoardRun>(m_folder->path());
    QVERIFY(m_run->board.Form_Load());
    m_run->board.show();
}

void SimulationWindowTest::cleanup()
{
    m_run.reset();
}

void SimulationWindowTest::markAndHandOff(const std::vector<int>& numbers, int bet)
{
    while (m_run->board.TextBet->text().trimmed().toInt() < bet)
        m_run->click(m_run->board.CommandBet);
    for (int n : numbers)
        m_run->clickNumber(n);
    m_run->click(m_run->board.CommandAdvanced);
    QVERIFY(sim().isVisible());
    QVERIFY(!m_run->board.isVisible());
}

void SimulationWindowTest::runGames(const QString& answer, std::optional<bool> save)
{
    m_run->dialogs.inputs = {answer};
    m_run->dialogs.answers.clear();
    if (save)
        m_run->dialogs.answers = {*save};
    QTest::mouseClick(sim().CommandCompute, Qt::LeftButton);
    sim().waitForRun();
}

void SimulationWindowTest::handOffKeepsOrClearsTheResults()
{
    m_run->chooseGame(kFirePower);
    markAndHandOff({61, 3, 42, 17, 80});
    QCOMPARE(sim().windowTitle(), QString("Monte Carlo Simulation"));
    QCOMPARE(sim().TextGame->text(), kFirePower);
    QCOMPARE(sim().TextMarked->text(), QString("Numbers Marked  = 5"));
    const std::array<int, 15> expected{0, 3, 17, 42, 61, 80, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    QVERIFY(m_run->module2.gMarkedNumbers == expected);
    QCOMPARE(m_run->board.TextWin->text(), QString("WIN     0"));

    runGames("20000");
    QCOMPARE(numberAfterEquals(sim().TextBetTotal), 20000);
    const QString results = sim().TextWinTotal->text();
    QTest::mouseClick(sim().CommandBack, Qt::LeftButton);
    m_run->click(m_run->board.CommandAdvanced);
    QCOMPARE(sim().TextWinTotal->text(), results); // same game, same count: kept

    QTest::mouseClick(sim().CommandBack, Qt::LeftButton);
    m_run->clickNumber(7);
    m_run->click(m_run->board.CommandAdvanced);
    QCOMPARE(sim().TextWinTotal->text(), QString("Total Winnings ="));
    QCOMPARE(sim().TextBetTotal->text(), QString("Total Credits Bet ="));
    QCOMPARE(sim().Catch[3]->text(), QString());
    QCOMPARE(sim().Catch[11]->text(), QString("Frequency")); // the header stays
}

void SimulationWindowTest::paysThatCannotBeReadRunNothing()
{
    markAndHandOff({5, 6, 7, 8});
    QVERIFY(ExecuteSql(m_run->module2.gDatabase, "ALTER TABLE [Pay Table] RENAME TO [Elsewhere]"));
    runGames("20000", std::nullopt);
    QVERIFY(m_run->dialogs.messages().last().startsWith("The pays of this game cannot be read: "));
    QVERIFY(!sim().isRunning());
    QCOMPARE(numberAfterEquals(sim().TextBetTotal), 0);
    QCOMPARE(sim().ProgressRun->value(), 0);
}

void SimulationWindowTest::backRestoresTheBet()
{
    markAndHandOff({1, 2, 3}, 3);
    QTest::mouseClick(sim().CommandBack, Qt::LeftButton);
    QVERIFY(!sim().isVisible());
    QVERIFY(m_run->board.isVisible());
    QCOMPARE(m_run->board.TextBet->text(), QString(" 3"));
    QVERIFY(m_run->board.CommandStart->isEnabled());
}

void SimulationWindowTest::answersThatDoNotRunAGame()
{
    m_run->click(m_run->board.CommandBet);
    m_run->click(m_run->board.CommandAdvanced);
    QTest::mouseClick(sim().CommandCompute, Qt::LeftButton);
    QCOMPARE(m_run->dialogs.messages().last(),
             QString("Go Back to Game and pick numbers to run this feature."));
    QTest::mouseClick(sim().CommandBack, Qt::LeftButton);

    markAndHandOff({5, 6, 7, 8});
    const int before = static_cast<int>(m_run->dialogs.messages().size());
    for (const QString& quiet :
         {QString(), QString(""), QString("  "), QString("0"), QString("-5"), QString("abc")}) {
        runGames(quiet, std::nullopt);
        QVERIFY(!sim().isRunning());
    }
    QCOMPARE(static_cast<int>(m_run->dialogs.messages().size()), before);
    QCOMPARE(m_run->dialogs.shown.back().text,
             QString("Enter the number of games to play in this simulation, then click 'OK'.|1000000"));

    runGames("1000000001", std::nullopt);
    QCOMPARE(m_run->dialogs.messages().last(), QString("Do not enter a number greater than one billion."));
    for (const QString& unclean : {QString("12abc"), QString("1,000"), QString("0.4"), QString("2500.5")}) {
        runGames(unclean, std::nullopt);
        QVERIFY(m_run->dialogs.messages().last().startsWith("Enter the number of games as a whole number"));
    }
    QCOMPARE(numberAfterEquals(sim().TextBetTotal), 0);
}

void SimulationWindowTest::aRunReportsItsSessions()
{
    markAndHandOff({10, 20, 30, 40, 50, 60});
    runGames("30000", true);
    QCOMPARE(numberAfterEquals(sim().TextBetTotal), 30000);
    qint64 frequencies = 0;
    for (int c = 0; c <= 10; ++c)
        frequencies += sim().Catch[c]->text().toLongLong();
    QCOMPARE(frequencies, 30000);
    QVERIFY(sim().TextPercent->text().startsWith("Total Pct Return = "));
    QVERIFY(sim().CommandCompute->isEnabled());
    QVERIFY(sim().TextEscape->isHidden());

    const ScriptedDialogs::Shown& summary =
        *std::find_if(m_run->dialogs.shown.begin(), m_run->dialogs.shown.end(),
                      [](const auto& s) { return s.kind == "yesno"; });
    QCOMPARE(summary.title, QString("Simulation Summary"));
    QVERIFY(summary.text.startsWith("Session Statistics\n\n" + sim().TextGame->text() + "\n"));
    QVERIFY(summary.text.contains("Total Number of 100-Game Sessions: 300\n"));
    QVERIFY(summary.text.endsWith("Do You Wish to Save or Print These Results?"));

    const QString stats = QDir(m_folder->path()).filePath("stats.txt");
    QCOMPARE(m_run->dialogs.shown.back().kind, QString("document"));
    QCOMPARE(m_run->dialogs.shown.back().text, stats);
    QFile statsFile(stats);
    QVERIFY(statsFile.open(QIODevice::ReadOnly));
    const QByteArray statsText = statsFile.readAll();
    QVERIFY(statsText.startsWith("Session Statistics\r\n\r\n"));
    QVERIFY(statsText.contains("\r\nOverall Percentage Return: "));
    QVERIFY(!statsText.contains("Do You Wish"));

    QFile sessions(QDir(m_folder->path()).filePath("sessions.csv"));
    QVERIFY(sessions.open(QIODevice::ReadOnly));
    QCOMPARE(sessions.readAll().count("\r\n"), 25002);
    // Beside the run: the exact return, the run's interval, the exact session figures, the charts.
    QVERIFY(sim().TextExact->text().startsWith("Exact Pct Return = "));
    QVERIFY(sim().TextInterval->text().startsWith("95% Interval of the Simulated Return = "));
    QVERIFY(summary.text.contains("Exact Figures for Independent Games:\n"));
    QVERIFY(statsText.contains("Exact Figures for Independent Games:"));
    QVERIFY(sim().CommandCharts->isEnabled());
    QTest::mouseClick(sim().CommandCharts, Qt::LeftButton);
    auto* charts = sim().findChild<frmCharts*>("frmCharts");
    QVERIFY(charts && charts->isVisible());
    saveScreenshot(&sim(), "simulation");
    saveScreenshot(charts, "charts");
    const QString png = QDir(m_folder->path()).filePath("sessions.png");
    m_run->dialogs.fileNames = {png};
    QTest::mouseClick(charts->CommandSaveSessions, Qt::LeftButton);
    QVERIFY(!QImage(png).isNull());

    QSqlQuery query(m_run->module2.gDatabase);
    QVERIFY(query.exec("SELECT count(*), sum([Frequency]) FROM [Sessions]"));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toInt(), 501);
    QCOMPARE(query.value(1).toInt(), 300);
}

void SimulationWindowTest::randomPicksPlayTheMarkedCount()
{
    markAndHandOff({5, 15, 25, 35});
    m_run->module2.gRandomPickForSim = true;
    runGames("20000");
    QCOMPARE(numberAfterEquals(sim().TextBetTotal), 20000);
    qint64 beyondFour = 0;
    for (int c = 5; c <= 10; ++c)
        beyondFour += sim().Catch[c]->text().toLongLong();
    QCOMPARE(beyondFour, 0); // four numbers a game, whichever they are
}

void SimulationWindowTest::escStopsALongRunAtAProgressPoint()
{
    markAndHandOff({1, 11, 21, 31, 41});
    m_run->dialogs.inputs = {"1000000000"};
    m_run->dialogs.answers = {false};
    QTest::mouseClick(sim().CommandCompute, Qt::LeftButton);
    QVERIFY(sim().isRunning());
    QVERIFY(!sim().CommandBack->isEnabled());
    QVERIFY(sim().TextEscape->isVisible());
    QTRY_VERIFY(numberAfterEquals(sim().TextBetTotal) > 0);
    QTest::keyClick(&sim(), Qt::Key_Escape);
    sim().waitForRun();
    const qint64 played = numberAfterEquals(sim().TextBetTotal);
    QVERIFY(played > 0 && played < 1000000000);
    QCOMPARE(played % 10000, 0);
    QCOMPARE(m_run->module2.gLastKey, std::int16_t(27));
    QVERIFY(sim().CommandCompute->isEnabled());

    // A key pressed before START does not stop the next run.
    QTest::keyClick(&sim(), Qt::Key_Escape);
    runGames("20000");
    QCOMPARE(numberAfterEquals(sim().TextBetTotal), 20000);
}

void SimulationWindowTest::unwritableReportsAreReportedAndTheSummaryStillShows()
{
    QVERIFY(QDir(m_folder->path()).mkdir("sessions.csv")); // a folder where the file should go
    markAndHandOff({2, 4, 6});
    runGames("10000");
    QVERIFY(m_run->dialogs.messages().last().contains("sessions.csv"));
    QCOMPARE(m_run->dialogs.shown.back().kind, QString("yesno"));
    QCOMPARE(m_run->dialogs.shown.back().title, QString("Simulation Summary"));
}

void SimulationWindowTest::quittingFromTheSimulationWindow()
{
    m_run->chooseGame(kFirePower);
    markAndHandOff({9, 19});
    QSignalSpy ended(&m_run->board, &frmKenoBoard::programEnded);
    m_run->dialogs.answers = {false};
    QVERIFY(!sim().close());
    QVERIFY(sim().isVisible());
    m_run->dialogs.answers = {true};
    QVERIFY(sim().close());
    QCOMPARE(ended.count(), 1);
    BoardRun next(m_folder->path());
    QVERIFY(next.board.Form_Load());
    QCOMPARE(next.board.ComboGameList->currentText(), kFirePower);
}

void SimulationWindowTest::randomnessTestAsksUntilTheAnswerDividesByFour()
{
    markAndHandOff({1, 2});
    m_run->dialogs.inputs = {"1002", "letters", "1000"};
    QTest::mouseClick(sim().CommandTest, Qt::LeftButton);
    sim().waitForRun();
    QStringList prompts;
    for (const auto& shown : m_run->dialogs.shown)
        if (shown.kind == "input") {
            QCOMPARE(shown.title, QString("Randomness Test"));
            QVERIFY(shown.text.endsWith("Enter a number that is evenly divisible by 4.|1000"));
            prompts << shown.text;
        }
    QCOMPARE(prompts.size(), 3);
    const QStringList messages = m_run->dialogs.messages();
    QCOMPARE(messages.size(), 3);
    QCOMPARE(messages[0], QString("Enter a number that is exactly divisible by 4!"));
    QCOMPARE(messages[1], QString("Enter a number that is exactly divisible by 4!"));
    QVERIFY(
        messages[2].startsWith("Chi-Square statistics indicate that the distribution of drawn numbers\n"));
    QVERIFY(messages[2].contains(" the test for randomness at a 95% confidence level.\n\nChi-Square = "));
    QVERIFY(messages[2].contains("p-value = "));
    QCOMPARE(m_run->dialogs.beeps, 1);
    QVERIFY(sim().GridCounts->isVisible());
    QVERIFY(sim().ResultsTable->isHidden());

    // All 80 deviations are stored, and they add up to nothing: 20,000 drawn, 20,000 expected.
    QSqlQuery query(m_run->module2.gDatabase);
    QVERIFY(query.exec("SELECT sum([C1] + [C2] + [C3] + [C4] + [C5] + [C6] + [C7] + [C8] + [C9] + [C10]), "
                       "min([C1]) FROM [Counts]"));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toInt(), 0);
    QVERIFY(query.value(1).toInt() > -250);
}

void SimulationWindowTest::randomnessTestCancelEndsQuietly()
{
    markAndHandOff({1, 2});
    m_run->dialogs.inputs = {QString()};
    QTest::mouseClick(sim().CommandTest, Qt::LeftButton);
    QVERIFY(!sim().isRunning());
    QVERIFY(m_run->dialogs.messages().isEmpty());
    QVERIFY(sim().GridCounts->isVisible());
    QVERIFY(sim().TextBetTotal->isHidden());
    // The payout run switches back to the results.
    runGames("10000");
    QVERIFY(sim().GridCounts->isHidden());
    QVERIFY(sim().ResultsTable->isVisible());
}

void SimulationWindowTest::escStopsARandomnessTestWithoutAMessage()
{
    markAndHandOff({1, 2});
    m_run->dialogs.inputs = {"2000000000"};
    QTest::mouseClick(sim().CommandTest, Qt::LeftButton);
    QVERIFY(sim().isRunning());
    QVERIFY(!sim().CommandCompute->isEnabled());
    // The test shows its own progress and speed in place of the simulation's.
    QVERIFY(sim().ProgressTest->isVisible());
    QVERIFY(sim().ProgressRun->isHidden());
    QVERIFY(sim().TextSpeed->isHidden());
    QTRY_VERIFY(sim().TextTestSpeed->text().endsWith(" games/s") &&
                !sim().TextTestSpeed->text().startsWith("0 "));
    QTest::keyClick(&sim(), Qt::Key_Escape);
    sim().waitForRun();
    QVERIFY(m_run->dialogs.messages().isEmpty());
    QCOMPARE(m_run->dialogs.beeps, 0);
    QVERIFY(sim().CommandCompute->isEnabled());
    QVERIFY(sim().TextEscape->isHidden());
    QVERIFY(sim().TextTestSpeed->text().endsWith(" games/s"));

    // Against the expected count of two billion games every cell is near -500 million: each shows
    // it short, the tooltip in full.
    for (int n : {1, 37, 80}) {
        const QModelIndex cell = sim().GridCounts->model()->index((n - 1) / 10, (n - 1) % 10 + 1);
        const QString text = cell.data().toString();
        const QString full = cell.data(Qt::ToolTipRole).toString();
        QVERIFY2(text.startsWith("-") && text.endsWith("M") && text.size() <= 5, qPrintable(text));
        QVERIFY2(full.startsWith(QStringLiteral("Number %1: -4").arg(n)), qPrintable(full));
        QCOMPARE(QString::fromStdString(ShortForm(full.section(": ", 1).toDouble())), text);
    }
    // The payout view brings the simulation's progress back.
    runGames("10000");
    QVERIFY(sim().ProgressRun->isVisible());
    QVERIFY(sim().ProgressTest->isHidden());
}

void SimulationWindowTest::theIntervalOfARunShowsFromAHundredGamesAndNeverBelowZero()
{
    m_run->chooseGame(kFirePower);
    markAndHandOff({3, 17, 42, 61, 80});
    runGames("1");
    QCOMPARE(numberAfterEquals(sim().TextBetTotal), 1);
    QCOMPARE(sim().TextInterval->text(), QString()); // one game says nothing of the spread

    runGames("100");
    KenoGame game;
    QVERIFY(ReadGame(m_run->module2.gDatabase, m_run->module2.gCurrentGameSql, &game));
    const ExactAnalysis exact = AnalyseExact(ExactGameOf(game, 5));
    QVERIFY(exact.ok());
    // A hundred one-credit games: the return in percent is the credits won; the interval reaches
    // 1.96 standard deviations of one game over the square root of 100 either side, and stops at 0.
    const double won = LeadingNumber(sim().TextWinTotal->text().section('=', 1).toStdString());
    const double halfWidth = 1.96 * 100 * exact.simulation.standardDeviation / 10;
    const QString expected = QStringLiteral("95% Interval of the Simulated Return = %1 to %2 (")
                                 .arg(QString::number(std::max(0.0, won - halfWidth), 'f', 2))
                                 .arg(QString::number(won + halfWidth, 'f', 2));
    QVERIFY2(sim().TextInterval->text().startsWith(expected), qPrintable(sim().TextInterval->text()));
    QVERIFY(halfWidth > won); // this ticket's spread takes the interval down to 0
    const bool inside = exact.simulation.returnPct <= won + halfWidth;
    QVERIFY(sim().TextInterval->text().endsWith(
        inside ? "(the exact return lies inside)"
               : "(the exact return lies outside, as it does for about one honest run in twenty)"));
}

void SimulationWindowTest::chartsHideWithTheWindowAndWaitForTheirRun()
{
    markAndHandOff({7, 14, 21, 28});
    runGames("20000");
    QTest::mouseClick(sim().CommandCharts, Qt::LeftButton);
    auto* charts = sim().findChild<frmCharts*>("frmCharts");
    QVERIFY(charts && charts->isVisible());
    QTest::mouseClick(sim().CommandBack, Qt::LeftButton);
    QVERIFY(charts->isHidden());

    // Back with the same ticket: the charts of that run are still there to be opened.
    m_run->click(m_run->board.CommandAdvanced);
    QVERIFY(sim().CommandCharts->isEnabled());
    QTest::mouseClick(sim().CommandCharts, Qt::LeftButton);
    QVERIFY(charts->isVisible());
    const QString firstRun = charts->shownRun().origin;

    // A new run takes the charts away until it ends, and then they show that run.
    m_run->dialogs.inputs = {"1000000000"};
    m_run->dialogs.answers = {false};
    QTest::mouseClick(sim().CommandCompute, Qt::LeftButton);
    QVERIFY(sim().isRunning());
    QVERIFY(!sim().CommandCharts->isEnabled());
    QVERIFY(charts->isHidden());
    QTRY_VERIFY(numberAfterEquals(sim().TextBetTotal) > 0);
    QTest::keyClick(&sim(), Qt::Key_Escape);
    sim().waitForRun();
    QVERIFY(sim().CommandCharts->isEnabled());
    QTest::mouseClick(sim().CommandCharts, Qt::LeftButton);
    QVERIFY(charts->shownRun().origin != firstRun);
    QCOMPARE(charts->shownRun().games, numberAfterEquals(sim().TextBetTotal));
    QVERIFY(
        charts->shownRun().origin.startsWith(QString::number(charts->shownRun().games) + " games, seed "));

    // The randomness test is a run too.
    m_run->dialogs.inputs = {"2000000000"};
    QTest::mouseClick(sim().CommandTest, Qt::LeftButton);
    QVERIFY(!sim().CommandCharts->isEnabled());
    QTest::keyClick(&sim(), Qt::Key_Escape);
    sim().waitForRun();
    QVERIFY(sim().CommandCharts->isEnabled());
}

void SimulationWindowTest::chartsShowEveryCatchOnRoundTicks()
{
    markAndHandOff({3, 9, 27, 33, 48, 51, 62, 70, 75, 80}); // ten numbers: catches of 10 are rare
    runGames("50000");
    QTest::mouseClick(sim().CommandCharts, Qt::LeftButton);
    auto* charts = sim().findChild<frmCharts*>("frmCharts");
    QVERIFY(charts->CheckLogScale->isChecked());
    QChart* catches = charts->ChartCatches->chart();
    auto* logAxis = qobject_cast<QLogValueAxis*>(catches->axes(Qt::Vertical).first());
    QVERIFY(logAxis);
    // The exact chance of the rarest catch, in % of games, lies inside the scale.
    double rarest = 100;
    for (int c = 0; c <= 10; ++c)
        if (charts->shownRun().exactCatches[c] > 0)
            rarest = std::min(rarest, 100 * charts->shownRun().exactCatches[c]);
    QVERIFY(logAxis->min() < rarest);
    QCOMPARE(qobject_cast<QBarSeries*>(catches->series().first())->barSets().first()->count(), 11);
    saveScreenshot(charts, "charts-ten-numbers");

    charts->CheckLogScale->click();
    QList<QValueAxis*> axes{qobject_cast<QValueAxis*>(catches->axes(Qt::Vertical).first())};
    for (QAbstractAxis* axis : charts->ChartSessions->chart()->axes())
        axes << qobject_cast<QValueAxis*>(axis);
    for (const QValueAxis* axis : axes) {
        QVERIFY(axis);
        const double step = axis->tickType() == QValueAxis::TicksDynamic
                                ? axis->tickInterval()
                                : (axis->max() - axis->min()) / (axis->tickCount() - 1);
        QVERIFY2(isRound(step), qPrintable(QString::number(step)));
    }
}

void SimulationWindowTest::theCommandLineRepeatsARunWithItsSeed_data()
{
    QTest::addColumn<QString>("game");
    QTest::addColumn<bool>("randomPicks");
    QTest::newRow("marked numbers") << kFirePower << false;
    QTest::newRow("random picks, eggs and bonus balls")
        << FormatGameListEntry("NEVADA - Las Vegas", "Red Rock", "Caveman Plus Keno") << true;
}

void SimulationWindowTest::theCommandLineRepeatsARunWithItsSeed()
{
    QFETCH(QString, game);
    QFETCH(bool, randomPicks);
    m_run->chooseGame(game);
    markAndHandOff({4, 15, 26, 37, 48, 59, 70});
    m_run->module2.gRandomPickForSim = randomPicks;
    runGames("30000", true);

    const QString summary =
        std::find_if(m_run->dialogs.shown.begin(), m_run->dialogs.shown.end(), [](const auto& s) {
            return s.title == "Simulation Summary";
        })->text;
    const QRegularExpression seedLine(
        randomPicks
            ? R"(\nSeed of This Run: (\d+) \(7 numbers picked at random every game\)\n)"
            : R"(\nSeed of This Run: (\d+) \(the marked numbers 4, 15, 26, 37, 48, 59, 70 every game\)\n)");
    QVERIFY2(seedLine.match(summary).hasMatch(), qPrintable(summary));
    QFile stats(QDir(m_folder->path()).filePath("stats.txt"));
    QVERIFY(stats.open(QIODevice::ReadOnly));
    const QString statsText = QString::fromUtf8(stats.readAll());
    QVERIFY(statsText.contains(seedLine.match(summary).captured(0).trimmed() + "\r\n"));
    auto* charts =
        (QTest::mouseClick(sim().CommandCharts, Qt::LeftButton), sim().findChild<frmCharts*>("frmCharts"));
    QVERIFY(charts->shownRun().origin.contains("seed " + seedLine.match(summary).captured(1)));

    // The command the summary gives, run as it reads, on this run's database.
    const QString repeat = summary.section("\nTo Repeat It: ", 1).section('\n', 0, 0);
    QStringList arguments = QProcess::splitCommand(repeat);
    QCOMPARE(arguments.takeFirst(), QString("tallyhawk-cli"));
    QProcess cli;
    cli.start(TALLYHAWK_CLI_PATH, arguments << "--json"
                                            << "--quiet"
                                            << "--db" << m_run->module2.gDatabasePath);
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    const QJsonObject figures = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    QCOMPARE(figures["random_picks"].toBool(), randomPicks);
    QCOMPARE(figures["games_played"].toInteger(), numberAfterEquals(sim().TextBetTotal));
    for (int c = 0; c <= 10; ++c)
        QCOMPARE(figures["catch_frequency"].toArray()[c].toInteger(), sim().Catch[c]->text().toLongLong());
    QCOMPARE(figures["total_winnings"].toDouble(),
             LeadingNumber(sim().TextWinTotal->text().section('=', 1).toStdString()));
    QCOMPARE(figures["bonus_events"].toInteger(), sim().Catch[12]->text().toLongLong());
}

void SimulationWindowTest::theResultsTableIsEvenlyRuled()
{
    sim().handOff(kFirePower, 0);
    for (const QSize size : {QSize(640, 660), QSize(900, 1000)}) {
        sim().resize(size);
        QApplication::processEvents();
        // The gap between two rows is the gap between two columns.
        const QRect cell = sim().Catch[4]->geometry(), below = sim().Catch[5]->geometry(),
                    beside = sim().Pay[4]->geometry();
        QCOMPARE(below.top() - cell.bottom(), beside.left() - cell.right());
    }
}

void SimulationWindowTest::figuresReadTheSameInAnyLanguage()
{
    const QLocale was;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    markAndHandOff({1, 2, 3});
    runGames("20000");
    QLocale::setDefault(was);
    QVERIFY2(QRegularExpression("^\\d+ games/s$").match(sim().TextSpeed->text()).hasMatch(),
             qPrintable(sim().TextSpeed->text()));
    QVERIFY(
        QRegularExpression("^Total Pct Return = \\d*\\.\\d\\d$").match(sim().TextPercent->text()).hasMatch());
}

TALLYHAWK_WINDOW_TEST_MAIN(SimulationWindowTest)
#include "test_frmsim.moc"
