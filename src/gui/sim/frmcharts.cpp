#include "frmcharts.h"

#include "gui/common/dialogs.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QPushButton>
#include <QStandardPaths>
#include <QValueAxis>
#include <QVBoxLayout>

namespace tallyhawk {

namespace {

QChartView* chartView(QWidget* parent, const char* name)
{
    auto* view = new QChartView(new QChart, parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(480, 280);
    return view;
}

QValueAxis* axis(const QString& title, double low, double high)
{
    auto* value = new QValueAxis;
    value->setTitleText(title);
    value->setRange(low, high);
    return value;
}

} // namespace

frmCharts::frmCharts(Dialogs& dialogs, QWidget* parent) : QWidget(parent, Qt::Window), m_dialogs(dialogs)
{
    setObjectName("frmCharts");
    setWindowTitle("Simulation Charts");
    ChartSessions = chartView(this, "ChartSessions");
    ChartCatches = chartView(this, "ChartCatches");
    CommandSaveSessions = new QPushButton("SAVE AS PNG", this);
    CommandSaveSessions->setObjectName("CommandSaveSessions");
    CommandSaveCatches = new QPushButton("SAVE AS PNG", this);
    CommandSaveCatches->setObjectName("CommandSaveCatches");
    connect(CommandSaveSessions, &QPushButton::clicked, this,
            [this] { saveChart(ChartSessions, "sessions.png"); });
    connect(CommandSaveCatches, &QPushButton::clicked, this,
            [this] { saveChart(ChartCatches, "catches.png"); });

    auto* layout = new QVBoxLayout(this);
    for (auto [chart, save] :
         {std::pair{ChartSessions, CommandSaveSessions}, {ChartCatches, CommandSaveCatches}}) {
        layout->addWidget(chart, 1);
        auto* row = new QHBoxLayout;
        row->addStretch();
        row->addWidget(save);
        layout->addLayout(row);
    }
    resize(760, 720);
}

void frmCharts::showRun(const RunFigures& figures)
{
    // Sessions: the share of sessions that won each amount, simulated and exact.
    QChart* sessions = ChartSessions->chart();
    sessions->removeAllSeries();
    for (QAbstractAxis* old : sessions->axes())
        sessions->removeAxis(old);
    sessions->setTitle("100-game sessions: credits won (500 = 500 or more)\n" + figures.game.simplified());
    std::int64_t sessionCount = 0;
    for (std::int32_t count : figures.sessions)
        sessionCount += count;
    auto* simulated = new QLineSeries;
    simulated->setName("simulated");
    double top = 0;
    for (std::size_t w = 0; w < figures.sessions.size(); ++w) {
        const double share =
            sessionCount ? 100.0 * figures.sessions[w] / static_cast<double>(sessionCount) : 0;
        simulated->append(static_cast<double>(w), share);
        top = std::max(top, share);
    }
    sessions->addSeries(simulated);
    if (figures.exact) {
        auto* exact = new QLineSeries;
        exact->setName("exact");
        exact->setPen(QPen(QColor(200, 0, 0), 2));
        for (std::size_t w = 0; w < figures.exactSessions.size(); ++w) {
            exact->append(static_cast<double>(w), 100.0 * figures.exactSessions[w]);
            top = std::max(top, 100.0 * figures.exactSessions[w]);
        }
        sessions->addSeries(exact);
    }
    auto* winAxis = axis("credits won in the session", 0, 500);
    auto* shareAxis = axis("% of sessions", 0, top > 0 ? top * 1.1 : 1);
    sessions->addAxis(winAxis, Qt::AlignBottom);
    sessions->addAxis(shareAxis, Qt::AlignLeft);
    for (QAbstractSeries* series : sessions->series()) {
        series->attachAxis(winAxis);
        series->attachAxis(shareAxis);
    }

    // Catches: the share of games by catch, simulated and exact.
    QChart* catches = ChartCatches->chart();
    catches->removeAllSeries();
    for (QAbstractAxis* old : catches->axes())
        catches->removeAxis(old);
    catches->setTitle("Catch frequencies against their exact expectations");
    auto* bars = new QBarSeries;
    auto* simulatedSet = new QBarSet("simulated");
    auto* exactSet = new QBarSet("exact");
    QStringList categories;
    double highest = 0;
    for (int c = 0; c <= 10; ++c) {
        const double share = figures.games ? 100.0 * static_cast<double>(figures.catchFrequency[c]) /
                                                 static_cast<double>(figures.games)
                                           : 0;
        *simulatedSet << share;
        *exactSet << (figures.exact ? 100.0 * figures.exactCatches[c] : 0);
        highest = std::max({highest, share, 100.0 * figures.exactCatches[c]});
        categories << QString::number(c);
    }
    bars->append(simulatedSet);
    if (figures.exact)
        bars->append(exactSet);
    else
        delete exactSet;
    catches->addSeries(bars);
    auto* catchAxis = new QBarCategoryAxis;
    catchAxis->append(categories);
    catchAxis->setTitleText("catch");
    auto* percentAxis = axis("% of games", 0, highest > 0 ? highest * 1.1 : 1);
    catches->addAxis(catchAxis, Qt::AlignBottom);
    catches->addAxis(percentAxis, Qt::AlignLeft);
    bars->attachAxis(catchAxis);
    bars->attachAxis(percentAxis);
    show();
    raise();
}

void frmCharts::saveChart(QChartView* chart, const QString& name)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString path =
        m_dialogs.saveFileName(this, "Save Chart", QDir(folder).filePath(name), "PNG image (*.png)");
    if (path.isEmpty())
        return;
    if (!chart->grab().save(path, "PNG"))
        m_dialogs.message(this, "The chart could not be saved as " + QDir::toNativeSeparators(path) + ".",
                          kProgramTitle, Dialogs::Icon::Warning);
}

} // namespace tallyhawk
