// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The session planner window, opened from the simulation window on the board's ticket.

#include "gui/planner/sessionplannerwindow.h"
#include "support/boardrun.h"
#include "support/windowtest.h"

#include <QChartView>
#include <QLabel>
#include <QProgressBar>
#include <QTableWidget>

using namespace tallyhawk;

namespace {

const QString kMadYeti = GameListText("ONLINE", "DraftKings", "Mad Yeti Keno");

// The number a figure's text starts with ("12.34%" -> 12.34).
double numberOf(const QString& text)
{
    return text.section('%', 0, 0).section(' ', 0, 0).toDouble();
}

} // namespace

class SessionPlannerTest : public QObject, BoardFixture
{
    Q_OBJECT
private slots:
    void init()
    {
        start("[RandomSeed] = 777");
        run->chooseGame(kMadYeti);
    }

    void cleanup() { end(); }

    void handOffFromTheSimulationWindow()
    {
        openPlanner({3, 17, 42, 61, 80}, 2);
        QCOMPARE(planner().windowTitle() + "|" + edit("gameReadout")->text() + "|" +
                     edit("markedReadout")->text(),
                 "Session Planner|" + kMadYeti + "|Numbers Marked = 5");
        // The first plan: the board's bet, a hundred bets in hand, a hundred games, no stop rules.
        QCOMPARE((QStringList{edit("betEdit")->text(), edit("creditsEdit")->text(), edit("gamesEdit")->text(),
                              edit("targetEdit")->text()}),
                 (QStringList{"2", "200", "100", ""}));
        // Back to the board takes the planner away; another count clears its figures.
        calculate({});
        QVERIFY(figuresGrid()->rowCount() > 0);
        QTest::mouseClick(control<QPushButton>(run->simulation, "backButton"), Qt::LeftButton);
        QVERIFY(!planner().isVisible());
        openPlanner({7});
        QCOMPARE(edit("markedReadout")->text() + "|" + edit("betEdit")->text(),
                 QString("Numbers Marked = 6|2"));
        QCOMPARE(figuresGrid()->rowCount(), 0); // the plan typed stays, its figures go
    }

    void badFieldsAreRefusedWithAClearMessage_data()
    {
        QTest::addColumn<QStringList>("fields"); // bet, credits, games, target, floor: the first ones typed
        QTest::addColumn<QString>("message");
        const QString letters = " must be a whole number, without letters or separators.";
        QTest::newRow("letters in the bet") << QStringList{"two"} << "The bet" + letters;
        QTest::newRow("a blank bet") << QStringList{""} << "The bet" + letters;
        QTest::newRow("a fraction") << QStringList{"1", "100", "10.5"} << "The number of games" + letters;
        QTest::newRow("bet 0") << QStringList{"0"} << "The bet must be 1 to 45 credits.";
        QTest::newRow("credits 0") << QStringList{"1", "0"}
                                   << "The starting credits must be 1 to 1000000000.";
        QTest::newRow("bet above credits")
            << QStringList{"10", "5"} << "The starting credits must cover the bet.";
        QTest::newRow("target below credits")
            << QStringList{"1", "100", "100", "50"} << "The target must be above the starting credits.";
        QTest::newRow("floor above credits") << QStringList{"1", "100", "100", "", "150"}
                                             << "The floor must not be above the starting credits.";
    }

    void badFieldsAreRefusedWithAClearMessage()
    {
        QFETCH(QStringList, fields);
        openPlanner({1, 2, 3, 4});
        calculate(fields);
        QTEST(run->dialogs.messages().join('\n'), "message");
        QVERIFY(!planner().isRunning() && figuresGrid()->rowCount() == 0);
    }

    void aCalculationShowsExactFiguresAndCharts()
    {
        openPlanner({5, 15, 25, 35, 45, 55, 65, 75});
        calculate({"1", "100", "300"});
        QTest::keyClicks(edit("targetEdit"), "200");
        QTest::keyClick(edit("targetEdit"), Qt::Key_Return); // started with Enter, as from the keyboard
        planner().waitForRun();
        QVERIFY(run->dialogs.messages().isEmpty() && label("methodLabel")->text().startsWith("Exact: "));
        QCOMPARE(control<QProgressBar>(planner(), "progressBar")->value(),
                 control<QProgressBar>(planner(), "progressBar")->maximum());

        // Every way to end, and every standing against the start, adds up to the whole.
        const double ends = numberOf(figure("Ruined (below the floor)")) +
                            numberOf(figure("Target reached")) + numberOf(figure("Every game played"));
        const double standing = numberOf(figure("End ahead of the starting credits")) +
                                numberOf(figure("End even")) + numberOf(figure("End behind"));
        QVERIFY2(std::fabs(ends - 100) <= 0.015 && std::fabs(standing - 100) <= 0.015,
                 qPrintable(QString::number(ends)));
        QVERIFY(numberOf(figure("Target reached")) > 0 && figure("Target reached", 2) == "exact");
        QVERIFY(numberOf(figure("End credits, 5% point")) <= numberOf(figure("End credits, 95% point")));
        QVERIFY(numberOf(figure("Expected games played")) <= 300);
        QVERIFY(!figure("Catch 8 at least once").isEmpty()); // eight spots pay nothing for one:
        QVERIFY(figure("Catch 1 at least once").isEmpty());

        // Both charts are drawn, and each is saved where the save dialog says.
        for (QChartView* chart : {control<QChartView>(planner(), "endCreditsChartView"),
                                  control<QChartView>(planner(), "survivalChartView")})
            QVERIFY(!chart->chart()->series().isEmpty());
        saveScreenshot(&planner(), "planner");
        const QString png = QDir(folder->path()).filePath("survival.png");
        run->dialogs.fileNames = {png};
        QTest::mouseClick(button("saveSurvivalButton"), Qt::LeftButton);
        QVERIFY(!QImage(png).isNull());
    }

    void escStopsALongCalculation()
    {
        openPlanner({1, 2, 3, 4, 5});
        QTest::keyClick(&planner(), Qt::Key_Escape); // an Esc before CALCULATE does not stop it
        calculate({"1", "100", "100"});
        QVERIFY(figuresGrid()->rowCount() > 0);
        PlanOptions options;
        options.exactWorkLimit = 0;
        options.sessions = 100'000; // ten billion plays: minutes
        planner().setPlanOptions(options);
        calculate({"1", "100", "100000"}, false);
        QVERIFY(planner().isRunning() && label("escapeLabel")->isVisible());
        QVERIFY(!button("calculateButton")->isEnabled() && !edit("betEdit")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(control<QProgressBar>(planner(), "progressBar")->value() > 0, 60000);
        QTest::keyClick(&planner(), Qt::Key_Escape);
        planner().waitForRun();
        QCOMPARE(label("methodLabel")->text(), QString("Stopped: no figures for this plan."));
        QVERIFY(figuresGrid()->rowCount() == 0 && run->dialogs.messages().isEmpty());
        QVERIFY(button("calculateButton")->isEnabled() && label("escapeLabel")->isHidden());
    }

private:
    SessionPlannerWindow& planner() { return run->app.planner(); }
    QLineEdit* edit(const char* name) { return control<QLineEdit>(planner(), name); }
    QLabel* label(const char* name) { return control<QLabel>(planner(), name); }
    QPushButton* button(const char* name) { return control<QPushButton>(planner(), name); }
    QTableWidget* figuresGrid() { return control<QTableWidget>(planner(), "figuresGrid"); }
    // Marks the numbers at the bet on the board, goes to the simulation and opens the planner.
    void openPlanner(std::initializer_list<int> numbers, int bet = 1)
    {
        run->ticket(bet, numbers);
        run->click(run->board.advancedButton);
        QTest::mouseClick(control<QPushButton>(run->simulation, "plannerButton"), Qt::LeftButton);
        QVERIFY(planner().isVisible());
    }

    // The plan's fields typed as a user does (bet, credits, games, target, floor); then
    // CALCULATE, and the calculation's end.
    void calculate(const QStringList& fields, bool wait = true)
    {
        QLineEdit* boxes[] = {edit("betEdit"), edit("creditsEdit"), edit("gamesEdit"), edit("targetEdit"),
                              edit("floorEdit")};
        for (int i = 0; i < fields.size(); ++i) {
            boxes[i]->selectAll();
            QTest::keyClick(boxes[i], Qt::Key_Delete);
            QTest::keyClicks(boxes[i], fields[i]);
        }
        QTest::mouseClick(button("calculateButton"), Qt::LeftButton);
        if (wait)
            planner().waitForRun();
    }

    // A figure's value (column 1) or its interval (column 2).
    QString figure(const QString& name, int column = 1)
    {
        const auto found = figuresGrid()->findItems(name, Qt::MatchExactly);
        return found.isEmpty() ? QString() : figuresGrid()->item(found[0]->row(), column)->text();
    }
};

TALLYHAWK_WINDOW_TEST_MAIN(SessionPlannerTest)
#include "test_sessionplannerwindow.moc"
