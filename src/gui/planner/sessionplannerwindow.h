#pragma once

#include "engine/common/gamekey.h"
#include "engine/sim/sessionplanner.h"
#include "gui/common/latestvaluerelay.h"

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

struct Module2;
class Dialogs;

// The session planner: what a plan of play (a bet, starting credits, a number of games, a
// target and a floor) leads to with the ticket handed over from the simulation window, and the
// same plan for every marked count of the game. The engine works off the interface thread.
class SessionPlannerWindow : public QWidget
{
    Q_OBJECT
public:
    SessionPlannerWindow(Module2& module2, Dialogs& dialogs, QWidget* parent = nullptr);
    ~SessionPlannerWindow() override;

    // The simulation window's game and marked count.
    void handOff(const GameKey& game, int markedCount);

    // How the engine chooses and runs its method (tests force the simulation or a long plan).
    void setPlanOptions(const PlanOptions& options) { m_options = options; }

    bool isRunning() const { return m_running; }
    // Waits until a calculation in progress has ended and its figures are shown (tests).
    void waitForRun();

    QLineEdit* TextGame;
    QLineEdit* TextMarked;
    QLineEdit* TextBet;
    QLineEdit* TextCredits;
    QLineEdit* TextGames;
    QLineEdit* TextTarget;
    QLineEdit* TextFloor;
    QPushButton* CommandCalculate;
    QPushButton* CommandCompare;
    QPushButton* CommandClose;
    QLabel* TextMethod; // exact or simulated, or why there are no figures
    QLabel* TextEscape;
    QProgressBar* ProgressPlan;
    QTabWidget* TabResults;
    QTableWidget* GridFigures;
    QTableWidget* GridComparison;
    QChartView* ChartEndCredits;
    QChartView* ChartSurvival;
    QPushButton* CommandSaveEndCredits;
    QPushButton* CommandSaveSurvival;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void layOutControls();
    void Form_Load();
    void clearResults();

    void CommandCalculate_Click();
    void CommandCompare_Click();
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

    Module2& m_module2;
    Dialogs& m_dialogs;
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
