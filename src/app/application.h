#pragma once
// The whole program: the shared state and every window, wired together. The windows do not
// know each other: each says what it needs in signals, and the application answers them.
// main() chooses the platform's data folder; tests pass a temporary one and their own dialogs.

#include "gui/common/module2.h"

#include <memory>
#include <QObject>
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

    Module2& module2() { return m_module2; }
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
    void showBoard();
    void endProgram();

    Module2 m_module2;
    Dialogs& m_dialogs;
    QString m_dataFolder;
    std::unique_ptr<DataFolderLock> m_folderLock;
    std::unique_ptr<CatalogueWindow> m_catalogue;
    std::unique_ptr<SimulationWindow> m_simulation;
    std::unique_ptr<SessionPlannerWindow> m_planner;
    OptionsDialog* m_options = nullptr; // a child of the simulation window
    std::unique_ptr<BoardWindow> m_board;
    std::unique_ptr<SplashWindow> m_splash;
};

} // namespace tallyhawk
