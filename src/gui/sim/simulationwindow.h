#pragma once

#include "engine/sim/exactodds.h"
#include "engine/sim/randomness.h"
#include "engine/sim/runorigin.h"
#include "engine/sim/simulation.h"
#include "chartswindow.h"
#include "gui/common/latestvaluerelay.h"

#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <QWidget>
#include <thread>

class QLabel;
class QLineEdit;
class QProgressBar;
class QStandardItem;
class QStandardItemModel;
class QPushButton;
class QTableView;

namespace tallyhawk {

struct Module2;
class Dialogs;

// The simulation window: the ticket handed over from the board is played up to a billion
// times without display, off the user interface thread, and the results, the session
// statistics and the reports follow.
class SimulationWindow : public QWidget
{
    Q_OBJECT
public:
    SimulationWindow(Module2& module2, Dialogs& dialogs, QWidget* parent = nullptr);
    ~SimulationWindow() override;

    // The board's ADVANCED: its game and marked count come with the ticket.
    void handOff(const GameKey& boardGame, int markedCount);

    bool isRunning() const { return m_running; }
    // Waits until a run in progress has ended and its results are shown (tests).
    void waitForRun();

    QLineEdit* TextGame;
    QLabel* TextEscape;
    std::array<QLineEdit*, 13> CatchLabel{};
    std::array<QLineEdit*, 13> Catch{};
    std::array<QLineEdit*, 13> Pay{};
    std::array<QLineEdit*, 13> SubTotal{};
    QWidget* ResultsTable;
    QLineEdit* TextMarked;
    QLineEdit* TextBetTotal;
    QLineEdit* TextWinTotal;
    QLineEdit* TextPercent;
    QLineEdit* TextExact;    // the exact return of the ticket and its standard deviation per game
    QLineEdit* TextInterval; // after a run: the simulated return's 95% interval
    QPushButton* CommandCharts;
    QPushButton* CommandPlanner;
    QProgressBar* ProgressRun;
    QLabel* TextSpeed;
    QProgressBar* ProgressTest; // the randomness test's own progress and speed, in its view
    QLabel* TextTestSpeed;
    QPushButton* CommandOptions;
    QPushButton* CommandBack;
    QPushButton* CommandCompute;
    QPushButton* CommandTest;
    QTableView* GridCounts;

signals:
    // BACK TO GAME: the board shows itself again with the bet it had.
    void backToGame();
    // PGM OPTIONS: the program options dialog, modal.
    void optionsRequested();
    // SESSION PLANNER: the planner, with the game and the count as the board handed them over.
    void plannerRequested(const GameKey& game, int markedCount);
    // The user confirmed quitting here: the program ends, this game saved.
    void endProgramRequested(const QString& startupGame);

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void layOutControls();
    void Form_Load();
    void clearResults();
    // The charts of the last run go: a new run or a new ticket is coming.
    void forgetLastRun();
    void showPayoutView();
    void setButtonsEnabled(bool enabled);

    void CommandBack_Click();
    void CommandOptions_Click();
    void CommandCompute_Click();
    // Asks for the number of games: none when the run should not start.
    [[nodiscard]] std::optional<std::int64_t> askGameCount();
    void showProgress(const SimulationTotals& totals);
    void finishRun(const SimulationResult& result);
    void reportSessions(const SimulationResult& result);
    void showExactOdds(const KenoGame& game, int marked);

    // The randomness test: counted off the interface thread, shown on the grid as it goes.
    void CommandTest_Click();
    void showTestView();
    void showTestProgress(const RandomnessTest& test);
    void showDeviations(const RandomnessDeviations& deviations, std::int32_t games);
    void showStoredCounts();
    // The grid's cell of the number n, showing `value`.
    QStandardItem* deviationCell(int n, double value);
    void finishTest(const RandomnessOutcome& outcome);
    std::string exactSessionLines() const;

    Module2& m_module2;
    Dialogs& m_dialogs;
    bool m_loaded = false;
    GameKey m_game; // the game and the count as the board handed them over
    int m_markedCount = 0;

    // The run in progress: the worker thread, the stop flag, and its latest figures on their
    // way to the window.
    std::thread m_worker;
    std::atomic<bool> m_stop{false};
    bool m_running = false;
    bool m_closing = false; // the program ends: a run's end shows nothing more
    LatestValueRelay<SimulationTotals> m_progress;
    LatestValueRelay<RandomnessTest> m_testProgress;
    std::int64_t m_runGames = 0;
    std::array<double, 11> m_pays{};
    qint64 m_runStartedMs = 0;
    qint64 m_testStartedMs = 0;
    ExactAnalysis m_exact;
    ChartsWindow* m_charts = nullptr;
    ChartsWindow::RunFigures m_lastRun;
    RunOrigin m_runOrigin; // what the run in progress follows from
    QStandardItemModel* m_countsModel = nullptr;
};

} // namespace tallyhawk
