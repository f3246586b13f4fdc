#include "gui/sim/frmsessionplanner.h"
#include "support/boardrun.h"
#include "support/tempdatafolder.h"
#include "support/windowtest.h"

#include <QChartView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

using namespace tallyhawk;

namespace {

const QString kMadYeti = FormatGameListEntry("ONLINE", "DraftKings", "Mad Yeti Keno");

// The number a figure's text starts with ("12.34%" -> 12.34).
double numberOf(const QString& text)
{
    return text.section('%', 0, 0).section(' ', 0, 0).toDouble();
}

} // namespace

class SessionPlannerTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void handOffFromTheSimulationWindow();
    void badFieldsAreRefusedWithAClearMessage_data();
    void badFieldsAreRefusedWithAClearMessage();
    void aCalculationShowsExactFiguresAndCharts();
    void aSimulatedPlanGivesEachFigureItsInterval();
    void escStopsALongCalculation();
    void theComparisonSortsTheMarkedCountsByTheTarget();

private:
    frmSessionPlanner& planner() { return m_run->app.planner(); }
    // Marks the numbers at the bet on the board, goes to the simulation and opens the planner.
    void openPlanner(const std::vector<int>& numbers, int bet = 1);
    void type(QLineEdit* box, const QString& text);
    // The plan's fields, typed as a user does; then CALCULATE, and the calculation's end.
    void calculate(const QString& bet, const QString& credits, const QString& games,
                   const QString& target = {}, const QString& floor = {});
    QString figure(const QString& name) const;
    QString interval(const QString& name) const;

    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<BoardRun> m_run;
};

void SessionPlannerTest::init()
{
    m_run.reset();
    m_folder = std::make_unique<TempDataFolder>();
    setDefaults(m_folder->databasePath(), "[RandomSeed] = 777");
    m_run = std::make_unique<BoardRun>(m_folder->path());
    QVERIFY(m_run->board.Form_Load());
    m_run->board.show();
    m_run->chooseGame(kMadYeti);
}

void SessionPlannerTest::cleanup()
{
    m_run.reset();
}

void SessionPlannerTest::openPlanner(const std::vector<int>& numbers, int bet)
{
    while (m_run->board.TextBet->text().trimmed().toInt() < bet)
        m_run->click(m_run->board.CommandBet);
    for (int n : numbers)
        m_run->clickNumber(n);
    m_run->click(m_run->board.CommandAdvanced);
    QTest::mouseClick(m_run->simulation.CommandPlanner, Qt::LeftButton);
    QVERIFY(planner().isVisible());
}

void SessionPlannerTest::type(QLineEdit* box, const QString& text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

void SessionPlannerTest::calculate(const QString& bet, const QString& credits, const QString& games,
                                   const QString& target, const QString& floor)
{
    type(planner().TextBet, bet);
    type(planner().TextCredits, credits);
    type(planner().TextGames, games);
    type(planner().TextTarget, target);
    type(planner().TextFloor, floor);
    QTest::mouseClick(planner().CommandCalculate, Qt::LeftButton);
    planner().waitForRun();
}

QString SessionPlannerTest::figure(const QString& name) const
{
    const auto found = m_run->app.planner().GridFigures->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? QString() : m_run->app.planner().GridFigures->item(found[0]->row(), 1)->text();
}

QString SessionPlannerTest::interval(const QString& name) const
{
    const auto found = m_run->app.planner().GridFigures->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? QString() : m_run->app.planner().GridFigures->item(found[0]->row(), 2)->text();
}

void SessionPlannerTest::handOffFromTheSimulationWindow()
{
    openPlanner({3, 17, 42, 61, 80}, 2);
    QCOMPARE(planner().windowTitle(), QString("Session Planner"));
    QCOMPARE(planner().TextGame->text(), kMadYeti);
    QCOMPARE(planner().TextMarked->text(), QString("Numbers Marked = 5"));
    // The first plan: the board's bet, a hundred bets in hand, a hundred games, no stop rules.
    QCOMPARE(planner().TextBet->text(), QString("2"));
    QCOMPARE(planner().TextCredits->text(), QString("200"));
    QCOMPARE(planner().TextGames->text(), QString("100"));
    QVERIFY(planner().TextTarget->text().isEmpty());

    // Back to the board takes the planner away; another count clears its figures.
    calculate("2", "200", "100");
    QVERIFY(planner().GridFigures->rowCount() > 0);
    QTest::mouseClick(m_run->simulation.CommandBack, Qt::LeftButton);
    QVERIFY(!planner().isVisible());
    m_run->clickNumber(7);
    m_run->click(m_run->board.CommandAdvanced);
    QTest::mouseClick(m_run->simulation.CommandPlanner, Qt::LeftButton);
    QCOMPARE(planner().TextMarked->text(), QString("Numbers Marked = 6"));
    QCOMPARE(planner().GridFigures->rowCount(), 0);
    QCOMPARE(planner().TextBet->text(), QString("2")); // the plan typed stays
}

void SessionPlannerTest::badFieldsAreRefusedWithAClearMessage_data()
{
    QTest::addColumn<QStringList>("fields"); // bet, credits, games, target, floor
    QTest::addColumn<QString>("message");
    const QString letters = " must be a whole number, without letters or separators.";
    QTest::newRow("letters in the bet") << QStringList{"two", "100", "100", "", ""} << "The bet" + letters;
    QTest::newRow("a separator") << QStringList{"1", "1,000", "100", "", ""}
                                 << "The starting credits" + letters;
    QTest::newRow("a fraction") << QStringList{"1", "100", "10.5", "", ""} << "The number of games" + letters;
    QTest::newRow("letters in the target")
        << QStringList{"1", "100", "100", "x", ""} << "The target" + letters;
    QTest::newRow("a blank bet") << QStringList{"", "100", "100", "", ""} << "The bet" + letters;
    QTest::newRow("bet 0") << QStringList{"0", "100", "100", "", ""} << "The bet must be 1 to 45 credits.";
    QTest::newRow("bet negative") << QStringList{"-3", "100", "100", "", ""}
                                  << "The bet must be 1 to 45 credits.";
    QTest::newRow("bet 46") << QStringList{"46", "100", "100", "", ""} << "The bet must be 1 to 45 credits.";
    QTest::newRow("credits 0") << QStringList{"1", "0", "100", "", ""}
                               << "The starting credits must be 1 to 1000000000.";
    QTest::newRow("games 0") << QStringList{"1", "100", "0", "", ""}
                             << "The number of games must be 1 to 100000.";
    QTest::newRow("games negative") << QStringList{"1", "100", "-100", "", ""}
                                    << "The number of games must be 1 to 100000.";
    QTest::newRow("bet above credits")
        << QStringList{"10", "5", "100", "", ""} << "The starting credits must cover the bet.";
    QTest::newRow("target below credits")
        << QStringList{"1", "100", "100", "50", ""} << "The target must be above the starting credits.";
    QTest::newRow("floor negative") << QStringList{"1", "100", "100", "", "-1"}
                                    << "The floor must be 0 or more.";
    QTest::newRow("floor above credits")
        << QStringList{"1", "100", "100", "", "150"} << "The floor must not be above the starting credits.";
}

void SessionPlannerTest::badFieldsAreRefusedWithAClearMessage()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, message);
    openPlanner({1, 2, 3, 4});
    calculate(fields[0], fields[1], fields[2], fields[3], fields[4]);
    QCOMPARE(m_run->dialogs.messages().size(), 1);
    QCOMPARE(m_run->dialogs.messages().last(), message);
    QVERIFY(!planner().isRunning());
    QCOMPARE(planner().GridFigures->rowCount(), 0);
}

void SessionPlannerTest::aCalculationShowsExactFiguresAndCharts()
{
    openPlanner({5, 15, 25, 35, 45, 55, 65, 75});
    // Typed and started with Enter, as from the keyboard.
    type(planner().TextCredits, "100");
    type(planner().TextGames, "300");
    type(planner().TextTarget, "200");
    QTest::keyClick(planner().TextTarget, Qt::Key_Return);
    planner().waitForRun();
    QVERIFY(m_run->dialogs.messages().isEmpty());
    QVERIFY(planner().TextMethod->text().startsWith("Exact: "));
    QCOMPARE(planner().ProgressPlan->value(), planner().ProgressPlan->maximum());

    // Every way to end, and every standing against the start, adds up to the whole.
    const double ends = numberOf(figure("Ruined (below the floor)")) + numberOf(figure("Target reached")) +
                        numberOf(figure("Every game played"));
    QVERIFY2(std::fabs(ends - 100) <= 0.015, qPrintable(QString::number(ends)));
    const double standing = numberOf(figure("End ahead of the starting credits")) +
                            numberOf(figure("End even")) + numberOf(figure("End behind"));
    QVERIFY(std::fabs(standing - 100) <= 0.015);
    QVERIFY(numberOf(figure("Target reached")) > 0);
    QCOMPARE(interval("Target reached"), QString("exact"));
    QVERIFY(numberOf(figure("End credits, 5% point")) <= numberOf(figure("End credits, 95% point")));
    QVERIFY(numberOf(figure("Expected games played")) <= 300);
    QVERIFY(!figure("Catch 8 at least once").isEmpty());
    QVERIFY(figure("Catch 1 at least once").isEmpty()); // eight spots pay nothing for one

    // Both charts are drawn, and each is saved where the save dialog says.
    for (QChartView* chart : {planner().ChartEndCredits, planner().ChartSurvival})
        QVERIFY(!chart->chart()->series().isEmpty());
    saveScreenshot(&planner(), "planner");
    const QString png = QDir(m_folder->path()).filePath("survival.png");
    m_run->dialogs.fileNames = {png};
    QTest::mouseClick(planner().CommandSaveSurvival, Qt::LeftButton);
    QCOMPARE(m_run->dialogs.shown.back().kind, QString("save"));
    QVERIFY(!QImage(png).isNull());
}

void SessionPlannerTest::aSimulatedPlanGivesEachFigureItsInterval()
{
    openPlanner({1, 2, 3, 4, 5, 6});
    PlanOptions options;
    options.exactWorkLimit = 0; // every plan is simulated
    options.sessions = 4000;
    planner().setPlanOptions(options);
    calculate("1", "100", "200", "150");
    QVERIFY(planner().TextMethod->text().startsWith("Simulated: 4000 whole sessions (seed "));
    const QStringList bounds = interval("Target reached").split(" to ");
    QCOMPARE(bounds.size(), 2);
    const double reached = numberOf(figure("Target reached"));
    QVERIFY(numberOf(bounds[0]) <= reached && reached <= numberOf(bounds[1]));
    QVERIFY(numberOf(bounds[0]) < numberOf(bounds[1]));
}

void SessionPlannerTest::escStopsALongCalculation()
{
    openPlanner({1, 2, 3, 4, 5});
    PlanOptions options;
    options.exactWorkLimit = 0;
    options.sessions = 100'000; // ten billion plays: minutes
    planner().setPlanOptions(options);
    type(planner().TextGames, "100000");
    QTest::mouseClick(planner().CommandCalculate, Qt::LeftButton);
    QVERIFY(planner().isRunning());
    QVERIFY(!planner().CommandCalculate->isEnabled());
    QVERIFY(!planner().TextBet->isEnabled());
    QVERIFY(planner().TextEscape->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(planner().ProgressPlan->value() > 0, 60000);
    QTest::keyClick(&planner(), Qt::Key_Escape);
    planner().waitForRun();
    QCOMPARE(planner().TextMethod->text(), QString("Stopped: no figures for this plan."));
    QCOMPARE(planner().GridFigures->rowCount(), 0);
    QVERIFY(planner().CommandCalculate->isEnabled());
    QVERIFY(planner().TextEscape->isHidden());
    QVERIFY(m_run->dialogs.messages().isEmpty());

    // An Esc before CALCULATE does not stop the next calculation.
    planner().setPlanOptions({});
    QTest::keyClick(&planner(), Qt::Key_Escape);
    calculate("1", "100", "100");
    QVERIFY(planner().GridFigures->rowCount() > 0);
}

void SessionPlannerTest::theComparisonSortsTheMarkedCountsByTheTarget()
{
    openPlanner({10, 20, 30});
    type(planner().TextTarget, "150");
    QTest::mouseClick(planner().CommandCompare, Qt::LeftButton);
    planner().waitForRun();
    QVERIFY(m_run->dialogs.messages().isEmpty());
    QTableWidget* grid = planner().GridComparison;
    QVERIFY(grid->isVisible());
    QCOMPARE(grid->rowCount(), 9); // the game pays nothing for one number
    QStringList counts;
    for (int row = 0; row < grid->rowCount(); ++row) {
        counts << grid->item(row, 0)->text();
        QCOMPARE(grid->item(row, 7)->text(), QString("exact"));
        if (row > 0)
            QVERIFY(numberOf(grid->item(row - 1, 1)->text()) >= numberOf(grid->item(row, 1)->text()));
        // The count handed over stands out.
        QCOMPARE(grid->item(row, 0)->font().bold(), grid->item(row, 0)->text() == "3");
    }
    counts.sort();
    QCOMPARE(counts, (QStringList{"10", "2", "3", "4", "5", "6", "7", "8", "9"}));
}

TALLYHAWK_WINDOW_TEST_MAIN(SessionPlannerTest)
#include "test_frmsessionplanner.moc"
