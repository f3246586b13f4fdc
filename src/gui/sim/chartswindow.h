// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once

#include <array>
#include <cstdint>
#include <QWidget>
#include <vector>

class QChartView;
class QCheckBox;
class QPushButton;

namespace tallyhawk {

class Dialogs;

// The charts of a payout run: the session histogram (wins 0 to 500, in steps of 10 credits)
// with the exact distribution drawn over it as an outline, and the catch frequencies against
// their exact expectations, on a logarithmic scale unless the user turns it off. Both name
// the game, the seed and the picks of the run.
class ChartsWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ChartsWindow(Dialogs& dialogs, QWidget* parent = nullptr);

    struct RunFigures
    {
        QString game;
        std::vector<std::int32_t> sessions;            // folded histogram, wins 0 to 500
        std::array<double, 501> exactSessions{};       // probability of each win, 500 = 500 or more
        std::array<std::int64_t, 11> catchFrequency{}; // games by catch
        std::array<double, 11> exactCatches{};         // probability of each catch
        std::int64_t games = 0;
        int marked = 10;    // the catches shown: 0 to the marked count
        QString origin;     // the games, the seed and the picks, which repeat the run (two lines)
        bool exact = false; // the exact figures are known
    };
    void showRun(const RunFigures& figures);
    const RunFigures& shownRun() const { return m_run; }

private:
    void drawSessions();
    void drawCatches();

    Dialogs& m_dialogs;
    QChartView* m_sessionsChartView = nullptr;
    QChartView* m_catchesChartView = nullptr;
    QCheckBox* m_logScaleCheckBox = nullptr;
    QPushButton* m_saveSessionsButton = nullptr;
    QPushButton* m_saveCatchesButton = nullptr;
    RunFigures m_run;
};

} // namespace tallyhawk
