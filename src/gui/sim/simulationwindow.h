// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once

#include "engine/exact/exactodds.h"
#include "engine/randomness/randomness.h"
#include "engine/sim/runorigin.h"
#include "engine/sim/simulation.h"
#include "chartswindow.h"
#include "engine/play/deck.h"
#include "engine/play/ticket.h"
#include "gui/common/latestvaluerelay.h"
#include "gui/common/readout.h"
#include "gui/common/programstate.h"

#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <QWidget>
#include <thread>

class QLabel;
class QProgressBar;
class QStandardItem;
class QStandardItemModel;
class QPushButton;
class QTableView;

namespace tallyhawk {

class Dialogs;

// The simulation window: the ticket handed over from the board is played up to a billion
// times without display, off the user interface thread, and the results, the session
// statistics and the reports follow.
class SimulationWindow : public QWidget
{
    Q_OBJECT
public:
    SimulationWindow(QSqlDatabase& database, const ProgramPaths& paths, CurrentGame& currentGame,
                     const ProgramOptions& options, KenoRandom& random, DrawDeck& deck, Dialogs& dialogs,
                     QWidget* parent = nullptr);
    ~SimulationWindow() override;

    // The board's ADVANCED: its game and its ticket.
    void handOff(const GameKey& boardGame, const Ticket& ticket);

    bool isRunning() const { return m_running; }
    // The last key pressed in the window (27 is Escape).
    std::int16_t lastKey() const { return m_lastKey; }
    // Waits until a run in progress has ended and its results are shown (tests).
    void waitForRun();

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
    void prepareFirstShow();
    void clearResults();
    // The charts of the last run go: a new run or a new ticket is coming.
    void forgetLastRun();
    void showPayoutView();
    void setButtonsEnabled(bool enabled);

    void returnToBoard();
    // START SIM FOR PAYOUT %: the ticket played the number of games asked for, off the
    // interface thread.
    void runSimulation();
    // Asks for the number of games: none when the run should not start.
    [[nodiscard]] std::optional<std::int64_t> askGameCount();
    void showProgress(const SimulationTotals& totals);
    void finishRun(const SimulationResult& result);
    void reportSessions(const SimulationResult& result);
    void showExactOdds(const KenoGame& game, int marked);

    // The randomness test: counted off the interface thread, shown on the grid as it goes.
    void testRandomness();
    void showTestView();
    void showTestProgress(const RandomnessTest& test);
    void showDeviations(const RandomnessDeviations& deviations, std::int32_t games);
    void showStoredCounts();
    // The grid's cell of the number n, showing `value`.
    QStandardItem* deviationCell(int n, double value);
    void finishTest(const RandomnessOutcome& outcome);
    std::string exactSessionLines() const;

    QSqlDatabase& m_database;
    const ProgramPaths& m_paths;
    CurrentGame& m_currentGame;
    const ProgramOptions& m_options;
    KenoRandom& m_random;
    DrawDeck& m_deck; // the board's: a run takes its pass as any draw does
    Dialogs& m_dialogs;

    Readout* m_gameReadout = nullptr;
    QLabel* m_escapeLabel = nullptr;
    // The results table, by row: catches 0 to 10, the header (kHeaderRow), the bonus (kBonusRow).
    std::array<Readout*, 13> m_catchReadouts{};
    std::array<Readout*, 13> m_frequencyReadouts{};
    std::array<Readout*, 13> m_payReadouts{};
    std::array<Readout*, 13> m_winReadouts{};
    QWidget* m_resultsTable = nullptr;
    Readout* m_markedReadout = nullptr;
    Readout* m_betTotalReadout = nullptr;
    Readout* m_winTotalReadout = nullptr;
    Readout* m_percentReadout = nullptr;
    Readout* m_exactReadout = nullptr; // the exact return of the ticket and its standard deviation per game
    Readout* m_intervalReadout = nullptr; // after a run: the simulated return's 95% interval
    QPushButton* m_chartsButton = nullptr;
    QPushButton* m_plannerButton = nullptr;
    QProgressBar* m_runProgressBar = nullptr;
    QLabel* m_speedLabel = nullptr;
    QProgressBar* m_testProgressBar = nullptr; // the randomness test's own progress and speed, in its view
    QLabel* m_testSpeedLabel = nullptr;
    QPushButton* m_optionsButton = nullptr;
    QPushButton* m_backButton = nullptr;
    QPushButton* m_simulateButton = nullptr;
    QPushButton* m_randomnessButton = nullptr;
    QTableView* m_countsGrid = nullptr;

    std::int16_t m_lastKey = 0; // the last key pressed; 27 (Escape) asks a running run to stop
    bool m_loaded = false;
    // The ticket's game as the board handed it over; the texts on screen and the reports are
    // made from it and the marked count.
    GameKey m_game;
    int m_markedCount = 0;
    Ticket m_ticket;

    // The run in progress: the worker thread, the stop flag, and its latest figures on their
    // way to the window.
    std::thread m_worker;
    std::atomic<bool> m_stop{false};
    bool m_running = false;
    bool m_closing = false; // the program ends: a run's end shows nothing more
    LatestValueRelay<SimulationTotals> m_progress;
    LatestValueRelay<RandomnessTest> m_testProgress;
    std::int64_t m_runGames = 0;
    // The pay of each catch for the marked count; none for a catch the game has no row for.
    std::array<std::optional<double>, 11> m_pays{};
    qint64 m_runStartedMs = 0;
    qint64 m_testStartedMs = 0;
    ExactAnalysis m_exact;
    ChartsWindow* m_charts = nullptr;
    ChartsWindow::RunFigures m_lastRun;
    RunOrigin m_runOrigin; // what the run in progress follows from
    QStandardItemModel* m_countsModel = nullptr;
};

} // namespace tallyhawk
