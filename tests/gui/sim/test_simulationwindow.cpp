// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The simulation window: the hand-off from the board, runs and what they report, the
// randomness test, the charts, and a run repeated by tallyhawk-cli.

#include "support/boardrun.h"
#include "support/windowtest.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLogValueAxis>
#include <QProcess>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTableView>
#include <QValueAxis>
#include <cmath>

using namespace tallyhawk;

namespace {

const QString kFirePower = GameListText("NEVADA - Las Vegas", "Rampart", "Fire Power Keno");

// The text of a line after its "=".
QString figure(const QLineEdit* line)
{
    return line->text().section('=', 1).trimmed();
}

// 1, 2 or 5 times a power of ten.
bool isRound(double step)
{
    const double scaled = step / std::pow(10.0, std::floor(std::log10(step)));
    return std::fabs(scaled - 1) < 1e-9 || std::fabs(scaled - 2) < 1e-9 || std::fabs(scaled - 5) < 1e-9;
}

} // namespace

class SimulationWindowTest : public QObject, BoardFixture
{
    Q_OBJECT
private slots:
    void init() { start("[RandomSeed] = 777"); }
    void cleanup() { end(); }

    void answersThatDoNotRunAGame()
    {
        markAndHandOff({5, 6, 7, 8});
        // Cancel, blanks and counts below one end quietly; the others say why.
        for (const char* answer : {"", "  ", "0", "-5", "abc", "1000000001", "12abc", "1,000", "2500.5"}) {
            runGames(*answer ? QString(answer) : QString(), std::nullopt);
            QVERIFY(!sim().isRunning());
        }
        QCOMPARE(run->dialogs.shown.front().text,
                 QString("Enter the number of games to play in this simulation, then click 'OK'.|1000000"));
        const QStringList messages = run->dialogs.messages();
        QCOMPARE(messages.size(), 4);
        QCOMPARE(messages.first(), QString("Do not enter a number greater than one billion."));
        for (const QString& message : messages.mid(1))
            QVERIFY2(message.startsWith("Enter the number of games as a whole number"), qPrintable(message));
    }

    void paysThatCannotBeReadRunNothing()
    {
        markAndHandOff({5, 6, 7, 8});
        QVERIFY(ExecuteSql(run->app.database(), "ALTER TABLE [Pay Table] RENAME TO [Elsewhere]"));
        runGames("20000", std::nullopt);
        QVERIFY(run->dialogs.messages().last().startsWith("The pays of this game cannot be read: "));
        QVERIFY(!sim().isRunning() && figure(readout("betTotalReadout")).isEmpty() &&
                progressBar("runProgressBar")->value() == 0);
    }

    void aRunReportsItsSessions()
    {
        run->chooseGame(kFirePower);
        markAndHandOff({10, 20, 30, 40, 50, 60});
        const QLocale was;
        QLocale::setDefault(
            QLocale(QLocale::German, QLocale::Germany)); // figures read the same in any language
        runGames("30000", true);
        QLocale::setDefault(was);
        qint64 frequencies = 0;
        for (int c = 0; c <= 10; ++c)
            frequencies += cell("frequency", c)->text().toLongLong();
        QCOMPARE(frequencies, 30000);
        QVERIFY(QRegularExpression("^Total Pct Return = \\d+\\.\\d\\d\\|\\d+ games/s$")
                    .match(readout("percentReadout")->text() + "|" + label("speedLabel")->text())
                    .hasMatch());
        const QString summary = run->dialogs.shown.at(1).text;
        // The reports name the game and the count handed over from the board.
        QVERIFY(summary.startsWith("Session Statistics\n\n" + kFirePower + "\nNumbers Marked =    6\n"));
        QVERIFY(summary.contains("Total Number of 100-Game Sessions: 300\n"));
        QVERIFY(summary.endsWith("Do You Wish to Save or Print These Results?"));
        // Yes saves the summary as a document, each session's figures, and the session counts.
        const QDir data(folder->path());
        QCOMPARE(run->dialogs.shown.back().kind + "|" + run->dialogs.shown.back().text,
                 "document|" + data.filePath("stats.txt"));
        QFile stats(data.filePath("stats.txt")), sessions(data.filePath("sessions.csv"));
        QVERIFY(stats.open(QIODevice::ReadOnly) && sessions.open(QIODevice::ReadOnly));
        const QByteArray statsText = stats.readAll();
        QVERIFY(statsText.startsWith("Session Statistics\r\n\r\n") && !statsText.contains("Do You Wish"));
        const QByteArray sessionsText = sessions.readAll();
        QVERIFY(
            sessionsText.startsWith("Win , Frequency," + kFirePower.toUtf8() + ",Numbers Marked =    6\r\n"));
        QCOMPARE(sessionsText.count("\r\n"), 25002);
        QSqlQuery query(run->app.database());
        QVERIFY(query.exec("SELECT count(*) || ' ' || sum([Frequency]) FROM [Sessions]") && query.next());
        QCOMPARE(query.value(0).toString(), QString("501 300"));
    }

    void theIntervalOfARunShowsFromAHundredGames()
    {
        run->chooseGame(kFirePower);
        markAndHandOff({3, 17, 42, 61, 80});
        runGames("1");
        QCOMPARE(figure(readout("betTotalReadout")), QString("1"));
        QCOMPARE(readout("intervalReadout")->text(), QString()); // one game says nothing of the spread
        // Five numbers of Fire Power pay 2, 12 and 429 for 3, 4 and 5 catches, four times when the
        // first ball is one of them (c/20 for c catches). By hand, with C(5, c) C(75, 20 - c) / C(80, 20):
        // the return is 95.98 % and one game's standard deviation 23.894 credits, so a hundred games
        // reach 1.96 x 2389.4 % / 10 = 468.32 % either side of their return, and no lower than 0. The
        // hundred games of the seed 777 win 40 credits.
        runGames("100");
        QCOMPARE(figure(readout("winTotalReadout")), QString("40"));
        QCOMPARE(
            readout("intervalReadout")->text(),
            QString("95% Interval of the Simulated Return = 0.00 to 508.32 (the exact return lies inside)"));
    }

    void escStopsARunAndTheChartsFollowTheirRun()
    {
        markAndHandOff({7, 14, 21, 28}, 3);
        runGames("20000");
        const QString results = readout("winTotalReadout")->text();
        ChartsWindow* charts = openCharts();
        QVERIFY(charts && charts->isVisible());
        saveScreenshot(&sim(), "simulation");
        saveScreenshot(charts, "charts");
        QTest::mouseClick(button("backButton"), Qt::LeftButton);
        QVERIFY(charts->isHidden() && run->board.isVisible() && run->board.betLabel->text() == " 3");
        // Back with the same ticket: the figures and charts of that run are still there.
        run->click(run->board.advancedButton);
        QVERIFY(readout("winTotalReadout")->text() == results && openCharts()->isVisible());
        const QString firstRun = charts->shownRun().origin;

        // A new run takes the charts away until Esc stops it at a progress point; then they show it.
        QTest::keyClick(&sim(), Qt::Key_Escape); // a key pressed before START does not stop the run
        run->dialogs.inputs = {"1000000000"};
        run->dialogs.answers = {false};
        QTest::mouseClick(button("simulateButton"), Qt::LeftButton);
        QVERIFY(sim().isRunning() && label("escapeLabel")->isVisible());
        QVERIFY(!button("chartsButton")->isEnabled() && !button("backButton")->isEnabled() &&
                charts->isHidden());
        QTRY_VERIFY(figure(readout("betTotalReadout")).toLongLong() > 0);
        QTest::keyClick(&sim(), Qt::Key_Escape);
        sim().waitForRun();
        const qint64 played = figure(readout("betTotalReadout")).toLongLong();
        QVERIFY(played < 1000000000 && played % 10000 == 0);
        QCOMPARE(run->simulation.lastKey(), std::int16_t(27));
        QVERIFY(button("simulateButton")->isEnabled() && button("chartsButton")->isEnabled());
        QVERIFY(openCharts()->shownRun().origin != firstRun && charts->shownRun().games == played);
        QVERIFY(charts->shownRun().origin.startsWith(QString::number(played) + " games, seed "));

        // The randomness test is a run too.
        run->dialogs.inputs = {"2000000000"};
        QTest::mouseClick(button("randomnessButton"), Qt::LeftButton);
        QVERIFY(!button("chartsButton")->isEnabled());
        QTest::keyClick(&sim(), Qt::Key_Escape);
        sim().waitForRun();
        QVERIFY(button("chartsButton")->isEnabled());
    }

    void theChartsShowEveryCatchOnRoundTicksAndTheTableIsEvenlyRuled()
    {
        markAndHandOff({3, 9, 27, 33, 48, 51, 62, 70, 75, 80}); // ten numbers: catches of 10 are rare
        runGames("50000");
        ChartsWindow* charts = openCharts();
        QVERIFY(control<QCheckBox>(*charts, "logScaleCheckBox")->isChecked());
        QChart* catches = control<QChartView>(*charts, "catchesChartView")->chart();
        const auto* logAxis = qobject_cast<QLogValueAxis*>(catches->axes(Qt::Vertical).first());
        // A ten of ten, by hand C(20, 10) / C(80, 10): 1.1221e-7 of the games, inside the scale.
        QVERIFY(logAxis && logAxis->min() < 100 * 1.1221e-7);
        control<QCheckBox>(*charts, "logScaleCheckBox")->click();
        QList<QAbstractAxis*> axes = control<QChartView>(*charts, "sessionsChartView")->chart()->axes();
        axes << catches->axes(Qt::Vertical).first();
        for (QAbstractAxis* each : axes) {
            const auto* axis = qobject_cast<QValueAxis*>(each);
            QVERIFY(axis);
            const double step = axis->tickType() == QValueAxis::TicksDynamic
                                    ? axis->tickInterval()
                                    : (axis->max() - axis->min()) / (axis->tickCount() - 1);
            QVERIFY2(isRound(step), qPrintable(QString::number(step)));
        }
        // The gap between two rows of the results is the gap between two columns, at any size.
        for (const QSize size : {QSize(640, 660), QSize(900, 1000)}) {
            sim().resize(size);
            QApplication::processEvents();
            const QRect four = cell("frequency", 4)->geometry(), below = cell("frequency", 5)->geometry(),
                        beside = cell("pay", 4)->geometry();
            QCOMPARE(below.top() - four.bottom(), beside.left() - four.right());
        }
    }

    void theRandomnessTestAsksShowsItsProgressAndStops()
    {
        markAndHandOff({1, 2});
        run->dialogs.inputs = {QString(), "1002", "letters", "1000"};
        QTest::mouseClick(button("randomnessButton"), Qt::LeftButton); // Cancel ends quietly
        QVERIFY(!sim().isRunning() && run->dialogs.messages().isEmpty());
        QVERIFY(control<QTableView>(sim(), "countsGrid")->isVisible() &&
                readout("betTotalReadout")->isHidden());
        QTest::mouseClick(button("randomnessButton"), Qt::LeftButton);
        sim().waitForRun();
        for (const auto& shown : run->dialogs.shown)
            QVERIFY(shown.kind != "input" ||
                    (shown.title == "Randomness Test" &&
                     shown.text.endsWith("Enter a number that is evenly divisible by 4.|1000")));
        const QStringList messages = run->dialogs.messages();
        QCOMPARE(messages.mid(0, 2), QStringList(2, "Enter a number that is exactly divisible by 4!"));
        QVERIFY(messages[2].startsWith(
            "Chi-Square statistics indicate that the distribution of drawn numbers\n"));
        QVERIFY(messages[2].contains(" the test for randomness at a 95% confidence level.\n\nChi-Square = "));
        QVERIFY(messages.size() == 3 && messages[2].contains("p-value = ") && run->dialogs.beeps == 1);

        // A long test shows its own progress and speed in place of the simulation's; Esc stops it
        // without a message.
        run->dialogs.inputs = {"2000000000"};
        QTest::mouseClick(button("randomnessButton"), Qt::LeftButton);
        QVERIFY(sim().isRunning() && !button("simulateButton")->isEnabled());
        QVERIFY(progressBar("testProgressBar")->isVisible() && progressBar("runProgressBar")->isHidden() &&
                label("speedLabel")->isHidden());
        QTRY_VERIFY(label("testSpeedLabel")->text().endsWith(" games/s") &&
                    !label("testSpeedLabel")->text().startsWith("0 "));
        QTest::keyClick(&sim(), Qt::Key_Escape);
        sim().waitForRun();
        QVERIFY(run->dialogs.messages().size() == 3 && run->dialogs.beeps == 1); // no message
        QVERIFY(button("simulateButton")->isEnabled() && label("escapeLabel")->isHidden());
        // Against the expected count of two billion games every cell is near -500 million: each shows
        // it in millions, to three digits, the tooltip in full.
        for (int n : {1, 37, 80}) {
            const QModelIndex cell =
                control<QTableView>(sim(), "countsGrid")->model()->index((n - 1) / 10, (n - 1) % 10 + 1);
            const QString full = cell.data(Qt::ToolTipRole).toString();
            QVERIFY2(full.startsWith(QStringLiteral("Number %1: -4").arg(n)), qPrintable(full));
            QCOMPARE(cell.data().toString(),
                     QStringLiteral("-%1M").arg(std::round(-full.section(": ", 1).toDouble() / 1e6)));
        }
        // The payout run switches back to the results and the simulation's progress.
        runGames("10000");
        QVERIFY(control<QTableView>(sim(), "countsGrid")->isHidden() &&
                control<QWidget>(sim(), "resultsTable")->isVisible());
        QVERIFY(progressBar("runProgressBar")->isVisible() && progressBar("testProgressBar")->isHidden());
    }

    void theCommandLineRepeatsARunWithItsSeed_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<bool>("randomPicks");
        QTest::newRow("marked numbers") << kFirePower << false;
        QTest::newRow("random picks, eggs and bonus balls")
            << GameListText("NEVADA - Las Vegas", "Red Rock", "Caveman Plus Keno") << true;
    }

    void theCommandLineRepeatsARunWithItsSeed()
    {
        QFETCH(QString, game);
        QFETCH(bool, randomPicks);
        run->chooseGame(game);
        markAndHandOff({4, 15, 26, 37, 48, 59, 70});
        run->app.programOptions().randomPickForSim = randomPicks;
        runGames("30000", true);
        const QString summary = run->dialogs.shown.at(1).text;
        const QRegularExpression seedLine(
            randomPicks
                ? R"(\nSeed of This Run: (\d+) \(7 numbers picked at random every game\)\n)"
                : R"(\nSeed of This Run: (\d+) \(the marked numbers 4, 15, 26, 37, 48, 59, 70 every game\)\n)");
        const QRegularExpressionMatch seed = seedLine.match(summary);
        QVERIFY2(seed.hasMatch(), qPrintable(summary));
        QFile stats(QDir(folder->path()).filePath("stats.txt"));
        QVERIFY(stats.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(stats.readAll()).contains(seed.captured(0).trimmed() + "\r\n"));
        QVERIFY(openCharts()->shownRun().origin.contains("seed " + seed.captured(1)));

        // The command the summary gives, run as it reads, on this run's database.
        QStringList arguments =
            QProcess::splitCommand(summary.section("\nTo Repeat It: ", 1).section('\n', 0, 0));
        QCOMPARE(arguments.takeFirst(), QString("tallyhawk-cli"));
        QProcess cli;
        cli.start(TALLYHAWK_CLI_PATH,
                  arguments + QStringList{"--json", "--quiet", "--db", run->app.paths().databasePath});
        QVERIFY(cli.waitForFinished(60000) && cli.exitCode() == 0);
        const QJsonObject figures = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
        QCOMPARE(figures["random_picks"].toBool(), randomPicks);
        QCOMPARE(figures["games_played"].toInteger(), 30000);
        for (int c = 0; c <= 10; ++c)
            QCOMPARE(figures["catch_frequency"].toArray()[c].toInteger(),
                     cell("frequency", c)->text().toLongLong());
        QCOMPARE(cell("frequency", 8)->text().toLongLong(), 0); // seven numbers a game, whichever they are
        QCOMPARE(figures["total_winnings"].toDouble(), figure(readout("winTotalReadout")).toDouble());
        QCOMPARE(figures["bonus_events"].toInteger(), cell("frequency", 12)->text().toLongLong());
    }

private:
    SimulationWindow& sim() { return run->simulation; }
    QLineEdit* readout(const char* name) { return control<QLineEdit>(sim(), name); }
    QLabel* label(const char* name) { return control<QLabel>(sim(), name); }
    QProgressBar* progressBar(const char* name) { return control<QProgressBar>(sim(), name); }
    QPushButton* button(const char* name) { return control<QPushButton>(sim(), name); }
    // A cell of the results table: its column ("frequency", "pay") and its row (a catch, or 12
    // for the bonus).
    QLineEdit* cell(const char* column, int row)
    {
        return control<QLineEdit>(sim(), qPrintable(QStringLiteral("%1%2Readout").arg(column).arg(row)));
    }
    void markAndHandOff(std::initializer_list<int> numbers, int bet = 1)
    {
        run->ticket(bet, numbers);
        run->click(run->board.advancedButton);
        QVERIFY(sim().isVisible() && !run->board.isVisible());
    }

    // Runs the answer's games; `save` answers the summary (none: no summary is expected).
    void runGames(const QString& answer, std::optional<bool> save = false)
    {
        run->dialogs.inputs = {answer};
        if (save)
            run->dialogs.answers = {*save};
        QTest::mouseClick(button("simulateButton"), Qt::LeftButton);
        sim().waitForRun();
    }

    ChartsWindow* openCharts()
    {
        QTest::mouseClick(button("chartsButton"), Qt::LeftButton);
        return sim().findChild<ChartsWindow*>("chartsWindow");
    }
};

TALLYHAWK_WINDOW_TEST_MAIN(SimulationWindowTest)
#include "test_simulationwindow.moc"
