// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once

#include "engine/common/gamekey.h"
#include "engine/common/kenorandom.h"
#include "engine/planner/sessionplanner.h"
#include "gui/common/latestvaluerelay.h"
#include "gui/common/programstate.h"

#include <atomic>
#include <optional>
#include <QWidget>
#include <thread>
#include <vector>

class QChartView;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTabWidget;

namespace tallyhawk {

class Dialogs;

// The session planner: what a plan of play (a bet, starting credits, a number of games, a
// target and a floor) leads to with the ticket handed over from the simulation window, and the
// same plan for every marked count of the game. The engine works off the interface thread.
class SessionPlannerWindow : public QWidget
{
    Q_OBJECT
public:
    SessionPlannerWindow(QSqlDatabase& database, const CurrentGame& currentGame, KenoRandom& random,
                         Dialogs& dialogs, QWidget* parent = nullptr);
    ~SessionPlannerWindow() override;

    // The simulation window's game and marked count.
    void handOff(const GameKey& game, int markedCount);
    // The board's bet, which the first plan starts from.
    void setBoardBet(int bet) { m_boardBet = bet; }

    // How the engine chooses and runs its method (tests force the simulation or a long plan).
    void setPlanOptions(const PlanOptions& options) { m_options = options; }

    bool isRunning() const { return m_running; }
    // Waits until a calculation in progress has ended and its figures are shown (tests).
    void waitForRun();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void layOutControls();
    void fillFirstPlan();
    void clearResults();

    // CALCULATE: the plan's figures and charts for the handed-over ticket.
    void calculatePlan();
    // COMPARE MARKED COUNTS: the same plan for every marked count of the game.
    void compareMarkedCounts();
    // The fields as a plan: none, after a message, when a field is not a usable value.
    [[nodiscard]] std::optional<SessionPlan> readPlan();
    // The handed-over game's rules: false, after a message, when they cannot be read.
    [[nodiscard]] bool readGame(KenoGame* game);
    // The options of a run, with a seed drawn from the program's generator unless one is set.
    PlanOptions runOptions();
    // Runs `work` on the worker thread with progress and the stop flag; `finish` shows its
    // outcome on the interface thread.
    template <typename Work, typename Finish> void startRun(Work work, Finish finish);
    void endRun();
    void setFieldsEnabled(bool enabled);

    // sessionplannerwindowview.cpp: the figures, the charts and the comparison.
    void clearCharts();
    void showResult(const SessionPlanResult& result);
    void showFigures();
    void showEndCreditChart();
    void showSurvivalChart();
    void showComparison(const std::vector<PlanComparisonRow>& rows);

    QSqlDatabase& m_database;
    const CurrentGame& m_currentGame;
    KenoRandom& m_random;
    Dialogs& m_dialogs;

    QLineEdit* m_gameReadout = nullptr;
    QLineEdit* m_markedReadout = nullptr;
    QLineEdit* m_betEdit = nullptr;
    QLineEdit* m_creditsEdit = nullptr;
    QLineEdit* m_gamesEdit = nullptr;
    QLineEdit* m_targetEdit = nullptr;
    QLineEdit* m_floorEdit = nullptr;
    QPushButton* m_calculateButton = nullptr;
    QPushButton* m_compareButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QLabel* m_methodLabel = nullptr; // exact or simulated, or why there are no figures
    QLabel* m_escapeLabel = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QTabWidget* m_resultsTabWidget = nullptr;
    QTableWidget* m_figuresGrid = nullptr;
    QTableWidget* m_comparisonGrid = nullptr;
    QChartView* m_endCreditsChartView = nullptr;
    QChartView* m_survivalChartView = nullptr;
    QPushButton* m_saveEndCreditsButton = nullptr;
    QPushButton* m_saveSurvivalButton = nullptr;

    int m_boardBet = 0;
    bool m_loaded = false;
    GameKey m_game;
    int m_markedCount = 0;
    PlanOptions m_options;

    // What the figures and the comparison shown were worked out for, and the figures.
    SessionPlan m_plan;
    SessionPlan m_comparedPlan;
    SessionPlanResult m_result;

    std::thread m_worker;
    std::atomic<bool> m_stop{false};
    bool m_running = false;
    LatestValueRelay<double> m_progress;
};

} // namespace tallyhawk
