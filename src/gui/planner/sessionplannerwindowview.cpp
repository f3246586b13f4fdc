// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The session planner's figures, charts and comparison: texts made from the result it keeps.

#include "gui/common/chartparts.h"
#include "sessionplannerwindow.h"
#include "gui/common/dialogs.h"

#include <algorithm>
#include <cmath>
#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QLabel>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QValueAxis>

namespace tallyhawk {

namespace {

// The end-credit chart gathers the credits into about this many bars at most, and draws them up
// to where this share of the sessions has ended.
constexpr std::int64_t kEndCreditBars = 60;
constexpr double kDrawnShare = 0.975;
constexpr std::int64_t kFewestCreditsShown = 10;
// The survival curve is drawn through at most this many games.
constexpr std::int64_t kSurvivalPoints = 1000;

QString percentText(double chance)
{
    const double percent = 100 * chance;
    // A rare event keeps two significant digits instead of showing as 0.00.
    if (percent != 0 && std::fabs(percent) < 0.01)
        return QString::number(percent, 'g', 2) + "%";
    return QString::number(percent, 'f', 2) + "%";
}

QString creditText(double credits, int decimals)
{
    return QString::number(credits, 'f', decimals);
}

enum class FigureUnit
{
    Percent,
    Credits,
    Games
};

QString valueText(double value, FigureUnit form)
{
    switch (form) {
    case FigureUnit::Percent:
        return percentText(value);
    case FigureUnit::Credits:
        return creditText(value, 0);
    case FigureUnit::Games:
        return creditText(value, 1);
    }
    return {};
}

QString intervalText(const PlanValue& value, FigureUnit form, bool simulated)
{
    if (!simulated)
        return "exact";
    return valueText(value.low, form) + " to " + valueText(value.high, form);
}

QTableWidgetItem* cell(const QString& text, Qt::Alignment alignment = Qt::AlignRight | Qt::AlignVCenter)
{
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment);
    return item;
}

QValueAxis* axis(const QString& title, double low, double high, const char* labels)
{
    auto* value = new QValueAxis;
    value->setTitleText(title);
    value->setRange(low, high);
    value->setLabelFormat(labels);
    value->applyNiceNumbers();
    return value;
}

// A bar width of 1, 2 or 5 times a power of ten that covers `span` credits in kEndCreditBars bars.
std::int64_t BarWidth(std::int64_t span)
{
    const std::int64_t least = span / kEndCreditBars + 1;
    for (std::int64_t power = 1;; power *= 10)
        for (std::int64_t width : {power, 2 * power, 5 * power})
            if (width >= least)
                return width;
}

} // namespace

void SessionPlannerWindow::clearCharts()
{
    ClearChart(m_endCreditsChartView->chart());
    ClearChart(m_survivalChartView->chart());
}

void SessionPlannerWindow::showResult(const SessionPlanResult& result)
{
    if (result.stopped) {
        m_methodLabel->setText("Stopped: no figures for this plan.");
        return;
    }
    if (!result.error.empty()) {
        const QString error = "This plan cannot be worked out: " + QString::fromStdString(result.error);
        m_methodLabel->setText(error);
        m_dialogs.message(this, error, kProgramTitle, Dialogs::Icon::Warning);
        return;
    }
    m_result = result;
    m_progressBar->setValue(m_progressBar->maximum());
    showFigures();
    showEndCreditChart();
    showSurvivalChart();
    m_saveEndCreditsButton->setEnabled(true);
    m_saveSurvivalButton->setEnabled(true);
}

void SessionPlannerWindow::showFigures()
{
    const SessionPlanResult& r = m_result;
    const bool simulated = r.method == PlanMethod::Simulation;
    m_methodLabel->setText(
        simulated ? QStringLiteral("Simulated: %1 whole sessions (seed %2), each figure with its 95% "
                                   "interval; the exact method would take too long for this plan.")
                        .arg(r.sessions)
                        .arg(r.seed)
                  : QStringLiteral("Exact: the credits stepped game by game under the board's rules."));

    struct Figure
    {
        QString name;
        PlanValue value;
        FigureUnit form;
    };
    std::vector<Figure> figures{
        {"Ruined (below the floor)", r.ruined, FigureUnit::Percent},
    };
    if (m_plan.target)
        figures.push_back({"Target reached", r.targetReached, FigureUnit::Percent});
    figures.push_back({"Every game played", r.allGamesPlayed, FigureUnit::Percent});
    figures.push_back({"End ahead of the starting credits", r.ahead, FigureUnit::Percent});
    figures.push_back({"End even", r.even, FigureUnit::Percent});
    figures.push_back({"End behind", r.behind, FigureUnit::Percent});
    figures.push_back({"Mean end credits", r.meanEndCredits, FigureUnit::Games});
    for (std::size_t k = 0; k < kEndCreditLevels.size(); ++k)
        figures.push_back({QStringLiteral("End credits, %1% point").arg(100 * kEndCreditLevels[k]),
                           r.endCreditPoints[k], FigureUnit::Credits});
    figures.push_back({"Expected games played", r.expectedGames, FigureUnit::Games});
    for (int c = 0; c <= kExactMaxCatch; ++c)
        if (r.catchAtLeastOnce[c])
            figures.push_back(
                {QStringLiteral("Catch %1 at least once").arg(c), *r.catchAtLeastOnce[c], FigureUnit::Percent});

    m_figuresGrid->setRowCount(static_cast<int>(figures.size()));
    for (int row = 0; row < static_cast<int>(figures.size()); ++row) {
        const Figure& figure = figures[static_cast<std::size_t>(row)];
        m_figuresGrid->setItem(row, 0, cell(figure.name, Qt::AlignLeft | Qt::AlignVCenter));
        m_figuresGrid->setItem(row, 1, cell(valueText(figure.value.value, figure.form)));
        m_figuresGrid->setItem(row, 2, cell(intervalText(figure.value, figure.form, simulated)));
    }
}

void SessionPlannerWindow::showEndCreditChart()
{
    QChart* chart = m_endCreditsChartView->chart();
    ClearChart(chart);
    const std::vector<CreditAtom>& atoms = m_result.endCredits;
    if (atoms.empty())
        return;
    // A rare jackpot would stretch the axis far beyond where the sessions end: the chart stops
    // where nearly all of them have ended, and its title names the rest.
    // The starting credits are always in sight, so that a session ruined nearly every time still
    // shows where it began.
    std::size_t drawn = 0;
    double share = atoms[0].probability;
    while (drawn + 1 < atoms.size() && (share < kDrawnShare || atoms[drawn + 1].credits <= m_plan.credits))
        share += atoms[++drawn].probability;
    const double notDrawn = std::max(0.0, 1 - share);
    const std::int64_t notDrawnFrom = drawn + 1 < atoms.size() ? atoms[drawn + 1].credits : m_result.tailFrom;

    // Neighbouring credits share a bar when there are too many to draw one by one.
    const std::int64_t width = BarWidth(atoms[drawn].credits - atoms[0].credits);
    const std::int64_t start = atoms[0].credits - atoms[0].credits % width;
    std::vector<double> bars(static_cast<std::size_t>((atoms[drawn].credits - start) / width + 1));
    for (std::size_t i = 0; i <= drawn; ++i)
        bars[static_cast<std::size_t>((atoms[i].credits - start) / width)] += atoms[i].probability;

    auto* outline = new QLineSeries;
    double top = 0;
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const auto from = static_cast<double>(start + static_cast<std::int64_t>(i) * width);
        outline->append(from, 100 * bars[i]);
        outline->append(from + static_cast<double>(width), 100 * bars[i]);
        top = std::max(top, 100 * bars[i]);
    }
    auto* area = new QAreaSeries(outline);
    outline->setParent(area); // an area series does not own its lines
    area->setColor(QColor(40, 90, 170));
    area->setBorderColor(QColor(20, 50, 110));
    chart->addSeries(area);

    QString title = "Credits at the end of the session";
    if (notDrawn > 0)
        title += QStringLiteral("<br>(not drawn: %1 end with %2 credits or more)")
                     .arg(percentText(notDrawn))
                     .arg(notDrawnFrom);
    chart->setTitle(title);
    // A few credits at least, so that the axis has whole numbers to show.
    const auto end = static_cast<double>(
        std::max(start + static_cast<std::int64_t>(bars.size()) * width, start + kFewestCreditsShown));
    AttachAxes(chart,
               axis(width == 1 ? QString("credits at the end")
                               : QStringLiteral("credits at the end (bars of %1)").arg(width),
                    static_cast<double>(start), end, "%.0f"),
               axis("% of sessions", 0, top > 0 ? std::min(top * 1.1, 100.0) : 1, "%.1f"));
    chart->legend()->hide();
}

void SessionPlannerWindow::showSurvivalChart()
{
    QChart* chart = m_survivalChartView->chart();
    ClearChart(chart);
    const std::vector<PlanValue>& still = m_result.stillPlaying;
    if (still.empty())
        return;
    const auto last = static_cast<std::int64_t>(still.size()) - 1;
    const std::int64_t step = last / kSurvivalPoints + 1;
    auto* curve = new QLineSeries;
    auto* low = new QLineSeries;
    auto* high = new QLineSeries;
    for (std::int64_t n = 0;; n = std::min(n + step, last)) {
        const PlanValue& value = still[static_cast<std::size_t>(n)];
        curve->append(static_cast<double>(n), 100 * value.value);
        low->append(static_cast<double>(n), 100 * value.low);
        high->append(static_cast<double>(n), 100 * value.high);
        if (n == last)
            break;
    }
    if (m_result.method == PlanMethod::Simulation) {
        // The 95% band around the simulated curve.
        auto* band = new QAreaSeries(high, low);
        high->setParent(band);
        low->setParent(band);
        band->setColor(QColor(200, 0, 0, 50));
        band->setBorderColor(Qt::transparent);
        chart->addSeries(band);
    } else {
        delete low;
        delete high;
    }
    curve->setPen(QPen(QColor(200, 0, 0), 2));
    chart->addSeries(curve);
    chart->setTitle("Chance of still playing after each game");
    AttachAxes(chart, axis("games played", 0, static_cast<double>(std::max<std::int64_t>(last, 1)), "%.0f"),
               axis("% still playing", 0, 100, "%.0f"));
    chart->legend()->hide();
}

void SessionPlannerWindow::showComparison(const std::vector<PlanComparisonRow>& rows)
{
    if (std::any_of(rows.begin(), rows.end(),
                    [](const PlanComparisonRow& row) { return row.result.stopped; })) {
        m_methodLabel->setText("Stopped: the marked counts were not all compared.");
        return;
    }
    m_progressBar->setValue(m_progressBar->maximum());
    const bool withTarget = m_comparedPlan.target.has_value();
    m_methodLabel->setText(QStringLiteral("The same plan for each marked count the game pays, %1 first.")
                               .arg(withTarget ? "the likeliest to reach the target"
                                               : "the likeliest to end ahead (no target)"));

    m_comparisonGrid->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const PlanComparisonRow& compared = rows[static_cast<std::size_t>(row)];
        const SessionPlanResult& r = compared.result;
        const bool simulated = r.method == PlanMethod::Simulation;
        auto text = [simulated](const PlanValue& value, FigureUnit form) {
            return simulated ? valueText(value.value, form) + " (" + intervalText(value, form, true) + ")"
                             : valueText(value.value, form);
        };
        const QString label = QString::fromStdString(compared.label);
        m_comparisonGrid->setItem(row, 0, cell(label, Qt::AlignCenter));
        if (!r.ok()) {
            for (int column = 1; column < 7; ++column)
                m_comparisonGrid->setItem(row, column, cell({}));
            m_comparisonGrid->setItem(
                row, 7, cell(QString::fromStdString(r.error), Qt::AlignLeft | Qt::AlignVCenter));
        } else {
            m_comparisonGrid->setItem(row, 1, cell(withTarget ? text(r.targetReached, FigureUnit::Percent) : "-"));
            m_comparisonGrid->setItem(row, 2, cell(text(r.ruined, FigureUnit::Percent)));
            m_comparisonGrid->setItem(row, 3, cell(text(r.allGamesPlayed, FigureUnit::Percent)));
            m_comparisonGrid->setItem(row, 4, cell(text(r.ahead, FigureUnit::Percent)));
            m_comparisonGrid->setItem(row, 5, cell(text(r.meanEndCredits, FigureUnit::Games)));
            m_comparisonGrid->setItem(row, 6, cell(text(r.expectedGames, FigureUnit::Games)));
            m_comparisonGrid->setItem(row, 7, cell(simulated ? "simulated" : "exact", Qt::AlignCenter));
        }
        // The count handed over from the board stands out.
        if (label == QString::number(m_markedCount))
            for (int column = 0; column < m_comparisonGrid->columnCount(); ++column) {
                QFont font = m_comparisonGrid->item(row, column)->font();
                font.setBold(true);
                m_comparisonGrid->item(row, column)->setFont(font);
            }
    }
}

} // namespace tallyhawk
