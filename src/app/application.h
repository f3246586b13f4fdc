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
class frmSplash;
class frmKenoBoard;
class frmObjectMap;
class frmSim;
class frmSessionPlanner;
class FormDefaults;

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
    frmSplash& splash() { return *m_splash; }
    frmKenoBoard& board() { return *m_board; }
    frmObjectMap& catalogue() { return *m_catalogue; }
    frmSim& simulation() { return *m_simulation; }
    frmSessionPlanner& planner() { return *m_planner; }
    // The program options dialog over the simulation window, made on its first use.
    FormDefaults& options();

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
    std::unique_ptr<frmObjectMap> m_catalogue;
    std::unique_ptr<frmSim> m_simulation;
    std::unique_ptr<frmSessionPlanner> m_planner;
    FormDefaults* m_options = nullptr; // a child of the simulation window
    std::unique_ptr<frmKenoBoard> m_board;
    std::unique_ptr<frmSplash> m_splash;
};

} // namespace tallyhawk
