// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The simulation window's randomness test: games drawn with the board's draw on every core,
// the deviation of every number's count shown on a grid laid out like the board with the
// test's own progress and speed, and the chi-square verdict read back from the stored
// deviations.

#include "db/counts.h"
#include "engine/common/numberforms.h"
#include "simulationwindow.h"
#include "gui/common/dialogs.h"

#include <cmath>
#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

namespace tallyhawk {

namespace {

QString lines(const char* text)
{
    return QString::fromUtf8(text).replace("\r\n", "\n");
}

// From cold (below the expected count) through white to hot (above it), by how many standard
// deviations of a number's count the deviation is: a count over G games has variance 3G/16.
QColor deviationColour(double deviation, std::int32_t games)
{
    if (games <= 0)
        return Qt::white;
    const double z = std::clamp(deviation / std::sqrt(3.0 * games / 16.0), -3.0, 3.0) / 3.0;
    const int fade = static_cast<int>(255 * (1 - std::fabs(z)));
    return z >= 0 ? QColor(255, fade, fade) : QColor(fade, fade, 255);
}

} // namespace

void SimulationWindow::showTestView()
{
    m_resultsTable->hide();
    for (QWidget* line : std::initializer_list<QWidget*>{m_betTotalReadout, m_percentReadout,
                                                         m_winTotalReadout, m_markedReadout, m_exactReadout,
                                                         m_intervalReadout, m_runProgressBar, m_speedLabel})
        line->hide();
    m_countsGrid->show();
    m_testProgressBar->show();
    m_testSpeedLabel->show();
}

void SimulationWindow::showStoredCounts()
{
    CountsValues values{};
    QStringList ranges;
    QString error;
    if (!ReadCounts(m_database, &values, &ranges, &error))
        return;
    for (int r = 0; r < 8; ++r)
        m_countsModel->setItem(r, 0, new QStandardItem(ranges.value(r)));
    for (int n = 1; n <= 80; ++n)
        deviationCell(n, values[static_cast<std::size_t>(n - 1)])->setBackground(Qt::white);
}

QStandardItem* SimulationWindow::deviationCell(int n, double value)
{
    auto* item = m_countsModel->item((n - 1) / 10, (n - 1) % 10 + 1);
    if (!item) {
        item = new QStandardItem;
        item->setTextAlignment(Qt::AlignCenter);
        m_countsModel->setItem((n - 1) / 10, (n - 1) % 10 + 1, item);
    }
    // A long test's deviations run to nine digits: the cell shows them short, the tooltip whole.
    item->setText(QString::fromStdString(ShortForm(value)));
    item->setToolTip(QStringLiteral("Number %1: %2").arg(n).arg(QString::fromStdString(PlainForm(value))));
    return item;
}

void SimulationWindow::showTestProgress(const RandomnessTest& test)
{
    showDeviations(test.deviations(), test.games());
    const double games = std::max(1.0, static_cast<double>(test.games()));
    m_testProgressBar->setValue(static_cast<int>(1000.0 * test.gamesPlayed() / games));
    const double seconds =
        std::max<qint64>(1, QDateTime::currentMSecsSinceEpoch() - m_testStartedMs) / 1000.0;
    m_testSpeedLabel->setText(QLocale().toString(test.gamesPlayed() / seconds, 'f', 0) + " games/s");
}

void SimulationWindow::showDeviations(const RandomnessDeviations& deviations, std::int32_t games)
{
    for (int n = 1; n <= 80; ++n) {
        const double value = static_cast<double>(deviations[static_cast<std::size_t>(n - 1)]);
        deviationCell(n, value)->setBackground(deviationColour(value, games));
    }
}

void SimulationWindow::testRandomness()
{
    if (m_running)
        return;
    showTestView();
    showStoredCounts();
    m_lastKey = 0;

    std::int32_t games = 0;
    for (;;) {
        const std::optional<QString> answer =
            m_dialogs.input(this, lines(kRandomnessPrompt), kRandomnessTitle, kRandomnessDefaultAnswer);
        const RandomnessAnswer parsed = ParseRandomnessAnswer(answer.value_or(QString()).toStdString());
        if (parsed.kind == RandomnessAnswerKind::Cancelled)
            return;
        if (parsed.kind == RandomnessAnswerKind::Accepted) {
            games = parsed.games;
            break;
        }
        m_dialogs.message(this, QString::fromStdString(parsed.message));
    }

    QApplication::setOverrideCursor(Qt::BusyCursor);
    setButtonsEnabled(false);
    m_escapeLabel->show();
    m_stop = false;
    m_running = true;
    m_testStartedMs = QDateTime::currentMSecsSinceEpoch();
    m_testSpeedLabel->clear();
    showTestProgress(RandomnessTest(games));

    if (m_worker.joinable())
        m_worker.join();
    // The test's chunks draw from streams of one seed taken from the program's generator, so a
    // fixed seed repeats the test.
    const std::uint64_t seed =
        (static_cast<std::uint64_t>(m_random.next()) << 32) | m_random.next();
    m_worker = std::thread([this, games, seed] {
        RandomnessOutcome outcome = RunRandomnessTest(
            games, seed,
            [this](const RandomnessTest& test) {
                m_testProgress.post(this, test, [this](const RandomnessTest& latest) {
                    if (m_running)
                        showTestProgress(latest);
                });
            },
            &m_stop);
        QMetaObject::invokeMethod(
            this, [this, outcome] { finishTest(outcome); }, Qt::QueuedConnection);
    });
}

void SimulationWindow::finishTest(const RandomnessOutcome& outcome)
{
    if (m_worker.joinable())
        m_worker.join();
    m_running = false;
    if (m_closing)
        return;
    showDeviations(outcome.deviations, outcome.games);
    m_testProgressBar->setValue(static_cast<int>(1000.0 * outcome.gamesPlayed / std::max(1, outcome.games)));
    setButtonsEnabled(true);
    m_escapeLabel->hide();
    QApplication::restoreOverrideCursor();

    // Every deviation is stored before the statistic reads them back from the table.
    CountsValues stored{};
    for (std::size_t i = 0; i < stored.size(); ++i)
        stored[i] = static_cast<double>(outcome.deviations[i]);
    QString error;
    const bool inTable = WriteCounts(m_database, stored, &error);
    if (!inTable)
        m_dialogs.message(this, "The deviations could not be stored: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
    if (outcome.stopped)
        return;
    // A table that could not be written still holds an earlier run's deviations.
    CountsValues readBack = stored;
    if (inTable && !ReadCounts(m_database, &readBack, nullptr, &error))
        readBack = stored;
    const double statistic = RandomnessStatistic(readBack, outcome.games);
    m_dialogs.beep();
    m_dialogs.message(this,
                      lines(RandomnessMessage(statistic).c_str()) +
                          QStringLiteral("\n\np-value = %1 (the chance that a uniform draw gives a statistic "
                                         "at least this far out, on either side; below 0.05 the test fails)")
                              .arg(QString::number(ChiSquarePValue(statistic), 'f', 4)));
}

} // namespace tallyhawk
