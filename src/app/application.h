// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The whole program: the state the windows share and every window, wired together. The
// windows do not know each other: each says what it needs in signals, and the application
// answers them. main() chooses the platform's data folder; tests pass a temporary one and
// their own dialogs.

#include "engine/common/kenorandom.h"
#include "engine/play/deck.h"
#include "gui/common/programstate.h"

#include <memory>
#include <QObject>
#include <QSqlDatabase>
#include <QString>

namespace tallyhawk {

class DataFolderLock;
class Dialogs;
class SplashWindow;
class BoardWindow;
class CatalogueWindow;
class SimulationWindow;
class SessionPlannerWindow;
class OptionsDialog;

class Application : public QObject
{
    Q_OBJECT
public:
    Application(const QString& dataFolder, const QString& programFolder, Dialogs& dialogs);
    ~Application() override;

    // Installs the database for a new user, claims the data folder for this copy and shows
    // the splash window. False when the program cannot start (the reason has been shown):
    // another copy already runs with the folder, or the database cannot be installed.
    [[nodiscard]] bool start();

    // What Start does before the board shows: opens the database, reads the options, mends the
    // catalogue, seeds the generator and hands the windows what they show. False when the
    // database cannot be used: the fault has been reported and the program should stop.
    [[nodiscard]] bool load();

    const ProgramPaths& paths() const { return m_paths; }
    QSqlDatabase& database() { return m_database; }
    ProgramOptions& programOptions() { return m_options; }
    CurrentGame& currentGame() { return m_currentGame; }
    SplashWindow& splash() { return *m_splash; }
    BoardWindow& board() { return *m_board; }
    CatalogueWindow& catalogue() { return *m_catalogue; }
    SimulationWindow& simulation() { return *m_simulation; }
    SessionPlannerWindow& planner() { return *m_planner; }
    // The program options dialog over the simulation window, made on its first use.
    OptionsDialog& options();

signals:
    // The program is over: the event loop should end with this exit code.
    void finished(int exitCode);

private:
    void connectWindows();
    [[nodiscard]] bool openDatabase();
    [[nodiscard]] bool readOptions(QString* startupGame, double* savedCredits);
    void mendCatalogue();
    void seedRandom();
    void showBoard();
    void endProgram();
    void closeDatabase();

    Dialogs& m_dialogs;
    const ProgramPaths m_paths;
    QSqlDatabase m_database;
    ProgramOptions m_options;
    CurrentGame m_currentGame;
    KenoRandom m_random;
    DrawDeck m_deck = OrderedDeck(); // the board's, which the simulation shuffles too
    std::unique_ptr<DataFolderLock> m_folderLock;
    std::unique_ptr<CatalogueWindow> m_catalogue;
    std::unique_ptr<SimulationWindow> m_simulation;
    std::unique_ptr<SessionPlannerWindow> m_planner;
    OptionsDialog* m_optionsDialog = nullptr; // a child of the simulation window
    std::unique_ptr<BoardWindow> m_board;
    std::unique_ptr<SplashWindow> m_splash;
};

} // namespace tallyhawk
