// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "chartswindow.h"

#include "gui/common/chartparts.h"
#include "gui/common/dialogs.h"
#include "gui/common/screenfit.h"

#include <algorithm>
#include <cmath>
#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPushButton>
#include <QStandardPaths>
#include <QValueAxis>
#include <QVBoxLayout>

namespace tallyhawk {

namespace {

// The session histogram's bins: ten credits each, the last one 500 or more.
constexpr int kBinCredits = 10;
constexpr int kSessionBins = 500 / kBinCredits + 1;
constexpr double kWinAxisEnd = kSessionBins * kBinCredits;
// A session stakes one credit a game: winning back 100 credits breaks even.
constexpr double kBreakEven = 100;

// A chart's title with the game and what repeats the run on lines of their own.
QString title(const QString& what, const ChartsWindow::RunFigures& run)
{
    return "<b>" + what.toHtmlEscaped() + "</b><br>" + run.game.simplified().toHtmlEscaped() + "<br>" +
           run.origin.toHtmlEscaped().replace('\n', "<br>");
}

// An axis from `low` to at least `high` whose ticks fall on round numbers (1, 2 or 5 times a
// power of ten), labelled with as many decimals as the step needs and no more.
QValueAxis* roundAxis(const QString& title, double low, double high)
{
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setRange(low, high > low ? high : low + 1);
    axis->applyNiceNumbers();
    const double step = (axis->max() - axis->min()) / std::max(1, axis->tickCount() - 1);
    const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    axis->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
    return axis;
}

// The powers of ten from 10^low to 10^high, written out in plain decimals ("0.00001", not
// "1e-05"), as labels of an even axis from `low` to `high`: a logarithmic axis's own labels
// take one printf format, which mixes the two forms.
QCategoryAxis* decadeAxis(const QString& title, int low, int high)
{
    auto* axis = new QCategoryAxis;
    axis->setTitleText(title);
    axis->setRange(low, high);
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setStartValue(low - 1);
    for (int decade = low; decade <= high; ++decade)
        axis->append(QString::number(std::pow(10.0, decade), 'f', std::max(0, -decade)), decade);
    return axis;
}

// The bins as steps: flat across each bin, straight up or down between bins.
void appendSteps(QLineSeries* series, const std::array<double, kSessionBins>& bins)
{
    series->append(0, 0);
    for (int bin = 0; bin < kSessionBins; ++bin) {
        series->append(bin * kBinCredits, bins[bin]);
        series->append((bin + 1) * kBinCredits, bins[bin]);
    }
    series->append(kWinAxisEnd, 0);
}

} // namespace

ChartsWindow::ChartsWindow(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs)
{
    setObjectName("chartsWindow");
    setWindowTitle("Simulation Charts");
    m_sessionsChartView = MakeChartView(this, "sessionsChartView", {480, 280});
    m_catchesChartView = MakeChartView(this, "catchesChartView", {480, 280});
    m_logScaleCheckBox = new QCheckBox("Logarithmic scale", this);
    m_logScaleCheckBox->setObjectName("logScaleCheckBox");
    m_logScaleCheckBox->setToolTip("Rare catches show on a logarithmic scale as clearly as common ones");
    m_logScaleCheckBox->setChecked(true);
    connect(m_logScaleCheckBox, &QCheckBox::toggled, this, &ChartsWindow::drawCatches);
    m_saveSessionsButton = new QPushButton("SAVE AS PNG", this);
    m_saveSessionsButton->setObjectName("saveSessionsButton");
    m_saveCatchesButton = new QPushButton("SAVE AS PNG", this);
    m_saveCatchesButton->setObjectName("saveCatchesButton");
    connect(m_saveSessionsButton, &QPushButton::clicked, this,
            [this] { SaveChartAsPng(this, m_dialogs, m_sessionsChartView, "sessions.png"); });
    connect(m_saveCatchesButton, &QPushButton::clicked, this,
            [this] { SaveChartAsPng(this, m_dialogs, m_catchesChartView, "catches.png"); });

    auto* layout = new QVBoxLayout;
    layout->addWidget(m_sessionsChartView, 1);
    auto* sessionsRow = new QHBoxLayout;
    sessionsRow->addStretch();
    sessionsRow->addWidget(m_saveSessionsButton);
    layout->addLayout(sessionsRow);
    layout->addWidget(m_catchesChartView, 1);
    auto* catchesRow = new QHBoxLayout;
    catchesRow->addWidget(m_logScaleCheckBox);
    catchesRow->addStretch();
    catchesRow->addWidget(m_saveCatchesButton);
    layout->addLayout(catchesRow);
    SetScrollingLayout(this, layout);
    resize(760, 760);
}

void ChartsWindow::showRun(const RunFigures& figures)
{
    m_run = figures;
    drawSessions();
    drawCatches();
    // Opened again, the charts come back beside their window; while open, they stay where put.
    if (!isVisible())
        PlaceOnScreen(this, parentWidget());
    show();
    raise();
}

void ChartsWindow::drawSessions()
{
    // The share of sessions in each bin, simulated (filled) and exact (an outline over it).
    QChart* chart = m_sessionsChartView->chart();
    ClearChart(chart);
    chart->setTitle(
        title("100-game sessions: gross credits won, in steps of 10 (the last, 500 or more)", m_run));
    std::int64_t sessionCount = 0;
    for (std::int32_t count : m_run.sessions)
        sessionCount += count;
    std::array<double, kSessionBins> simulated{}, exact{};
    for (std::size_t w = 0; w < m_run.sessions.size(); ++w) {
        const std::size_t bin = std::min<std::size_t>(w / kBinCredits, kSessionBins - 1);
        if (sessionCount > 0)
            simulated[bin] += 100.0 * m_run.sessions[w] / static_cast<double>(sessionCount);
    }
    for (std::size_t w = 0; w < m_run.exactSessions.size(); ++w)
        exact[std::min<std::size_t>(w / kBinCredits, kSessionBins - 1)] += 100.0 * m_run.exactSessions[w];

    auto* bars = new QAreaSeries;
    auto* top = new QLineSeries(bars); // the area does not own its lines: it parents them
    appendSteps(top, simulated);
    auto* bottom = new QLineSeries(bars);
    bottom->append(0, 0);
    bottom->append(kWinAxisEnd, 0);
    bars->setUpperSeries(top);
    bars->setLowerSeries(bottom);
    bars->setName("simulated");
    bars->setBrush(QColor(40, 100, 210, 150));
    bars->setPen(QPen(QColor(20, 60, 160), 1));
    chart->addSeries(bars);
    double highest = *std::max_element(simulated.begin(), simulated.end());
    if (m_run.exact) {
        auto* outline = new QLineSeries;
        outline->setName("exact");
        outline->setPen(QPen(QColor(200, 0, 0), 2));
        appendSteps(outline, exact);
        chart->addSeries(outline);
        highest = std::max(highest, *std::max_element(exact.begin(), exact.end()));
    }
    const double tallest = highest * 1.05;
    auto* breakEven = new QLineSeries;
    breakEven->setName("break-even: 100 won for 100 bet");
    breakEven->setPen(QPen(QColor(0, 130, 0), 2, Qt::DashLine));
    breakEven->append(kBreakEven, 0);
    breakEven->append(kBreakEven, tallest);
    chart->addSeries(breakEven);

    auto* wins = new QValueAxis;
    wins->setTitleText("gross credits won in the session (100 = break-even)");
    wins->setRange(0, kWinAxisEnd);
    wins->setTickType(QValueAxis::TicksDynamic);
    wins->setTickAnchor(0);
    wins->setTickInterval(50);
    wins->setLabelFormat("%.0f");
    AttachAxes(chart, wins, roundAxis("% of sessions", 0, tallest));
}

void ChartsWindow::drawCatches()
{
    // The share of games by catch, simulated and exact, for the catches the ticket can make.
    QChart* chart = m_catchesChartView->chart();
    ClearChart(chart);
    chart->setTitle(title("Catch frequencies against their exact expectations", m_run));
    const int lastCatch = std::clamp(m_run.marked, 0, 10);
    std::vector<double> simulated, exact;
    QStringList categories;
    for (int c = 0; c <= lastCatch; ++c) {
        simulated.push_back(m_run.games ? 100.0 * static_cast<double>(m_run.catchFrequency[c]) /
                                              static_cast<double>(m_run.games)
                                        : 0);
        exact.push_back(m_run.exact ? 100.0 * m_run.exactCatches[c] : 0);
        categories << QString::number(c);
    }
    double lowest = 0, highest = 0;
    for (const std::vector<double>* shares : {&simulated, &exact})
        for (double share : *shares) {
            highest = std::max(highest, share);
            if (share > 0 && (lowest == 0 || share < lowest))
                lowest = share;
        }

    QAbstractAxis* shareAxis = nullptr;
    QCategoryAxis* decades = nullptr;
    double floor = 0;
    if (m_logScaleCheckBox->isChecked() && lowest > 0) {
        // From a decade below the rarest catch (so that its bar shows) to the power of ten
        // above the commonest; a bar of nothing stays at the bottom of the scale.
        auto* logAxis = new QLogValueAxis;
        logAxis->setBase(10);
        const int lowDecade = static_cast<int>(std::floor(std::log10(lowest))) - 1;
        const int highDecade = std::max(lowDecade + 1, static_cast<int>(std::ceil(std::log10(highest))));
        floor = std::pow(10.0, lowDecade);
        logAxis->setRange(floor, std::pow(10.0, highDecade));
        shareAxis = logAxis;
        decades = decadeAxis("% of games", lowDecade, highDecade);
    } else {
        shareAxis = roundAxis("% of games", 0, highest * 1.05);
    }

    auto* bars = new QBarSeries;
    auto* simulatedSet = new QBarSet("simulated");
    simulatedSet->setColor(QColor(40, 100, 210));
    for (double share : simulated)
        *simulatedSet << std::max(share, floor);
    bars->append(simulatedSet);
    if (m_run.exact) {
        auto* exactSet = new QBarSet("exact");
        exactSet->setColor(QColor(200, 0, 0));
        for (double share : exact)
            *exactSet << std::max(share, floor);
        bars->append(exactSet);
    }
    chart->addSeries(bars);
    auto* catchAxis = new QBarCategoryAxis;
    catchAxis->append(categories);
    catchAxis->setTitleText("catch");
    AttachAxes(chart, catchAxis, shareAxis);
    if (decades) {
        // The log axis scales the bars unseen; the decade axis, spanning the same decades
        // evenly, shows its grid and labels.
        shareAxis->setVisible(false);
        chart->addAxis(decades, Qt::AlignLeft);
    }
}

} // namespace tallyhawk
