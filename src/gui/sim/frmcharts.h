#pragma once

#include <array>
#include <cstdint>
#include <QWidget>
#include <vector>

class QChartView;
class QPushButton;

namespace tallyhawk {

class Dialogs;

// The charts of a payout run: the session histogram (wins 0 to 500) with the exact
// distribution over it, and the catch frequencies against their exact expectations.
class frmCharts : public QWidget
{
    Q_OBJECT
public:
    explicit frmCharts(Dialogs& dialogs, QWidget* parent = nullptr);

    struct RunFigures
    {
        QString game;
        std::vector<std::int32_t> sessions;            // folded histogram, wins 0 to 500
        std::array<double, 501> exactSessions{};       // probability of each win, 500 = 500 or more
        std::array<std::int64_t, 11> catchFrequency{}; // games by catch
        std::array<double, 11> exactCatches{};         // probability of each catch
        std::int64_t games = 0;
        bool exact = false; // the exact figures are known
    };
    void showRun(const RunFigures& figures);

    QChartView* ChartSessions;
    QChartView* ChartCatches;
    QPushButton* CommandSaveSessions;
    QPushButton* CommandSaveCatches;

private:
    void saveChart(QChartView* chart, const QString& name);

    Dialogs& m_dialogs;
};

} // namespace tallyhawk
