#include "application.h"

#include "db/database.h"
#include "db/datafolderlock.h"
#include "gui/board/boardwindow.h"
#include "gui/catalogue/cataloguewindow.h"
#include "gui/common/dialogs.h"
#include "gui/common/splashwindow.h"
#include "gui/options/optionsdialog.h"
#include "gui/planner/sessionplannerwindow.h"
#include "gui/sim/simulationwindow.h"

#include <QDir>

namespace tallyhawk {

namespace {

QString ReadOnlyNotice(const QString& databasePath)
{
    return QStringLiteral("The database file %1 (or its folder) is read-only. You can play, simulate and "
                          "browse as usual, but changes will not be saved: not the credits, the options, "
                          "the catalogue or the reports stored in the database.")
        .arg(QDir::toNativeSeparators(databasePath));
}

} // namespace

Application::Application(const QString& dataFolder, const QString& programFolder, Dialogs& dialogs)
    : m_dialogs(dialogs), m_dataFolder(dataFolder)
{
    m_module2.gProgramFolder = programFolder;
    m_catalogue = std::make_unique<CatalogueWindow>(m_module2, m_dialogs);
    m_simulation = std::make_unique<SimulationWindow>(m_module2, m_dialogs);
    m_planner = std::make_unique<SessionPlannerWindow>(m_module2, m_dialogs);
    m_board = std::make_unique<BoardWindow>(m_module2, m_dialogs);
    m_splash = std::make_unique<SplashWindow>(m_module2, m_dataFolder);
    connectWindows();
}

Application::~Application() = default;

void Application::connectWindows()
{
    BoardWindow* board = m_board.get();
    CatalogueWindow* catalogue = m_catalogue.get();
    SimulationWindow* simulation = m_simulation.get();
    connect(m_splash.get(), &SplashWindow::startRequested, this, &Application::showBoard);
    connect(m_splash.get(), &SplashWindow::closedWithoutStart, this, [this] { emit finished(0); });
    connect(board, &BoardWindow::programEnded, this, &Application::endProgram);

    connect(board, &BoardWindow::databaseOpened, catalogue, &CatalogueWindow::bindDatabase);
    connect(board, &BoardWindow::gameListLoaded, catalogue, &CatalogueWindow::setGameList);
    connect(board, &BoardWindow::databaseClosing, catalogue, &CatalogueWindow::releaseDatabase);
    connect(board, &BoardWindow::catalogueRequested, catalogue, &CatalogueWindow::openFromBoard);
    connect(catalogue, &CatalogueWindow::backToGame, board, &BoardWindow::returnFromCatalogue);
    connect(catalogue, &CatalogueWindow::gameListRebuilt, board, &BoardWindow::setGameList);
    connect(catalogue, &CatalogueWindow::endProgramRequested, board, &BoardWindow::endProgram);

    connect(board, &BoardWindow::simulationRequested, simulation, &SimulationWindow::handOff);
    connect(simulation, &SimulationWindow::backToGame, board, &BoardWindow::returnFromSimulation);
    connect(simulation, &SimulationWindow::endProgramRequested, board, &BoardWindow::endProgram);
    connect(simulation, &SimulationWindow::optionsRequested, this, [this] { options().showOptions(); });
    // The planner belongs to the simulation: it opens from there and goes when the board comes back.
    SessionPlannerWindow* planner = m_planner.get();
    connect(simulation, &SimulationWindow::plannerRequested, planner, &SessionPlannerWindow::handOff);
    connect(simulation, &SimulationWindow::backToGame, planner, &QWidget::close);
}

OptionsDialog& Application::options()
{
    if (!m_options) {
        m_options = new OptionsDialog(m_module2, m_dialogs, m_simulation.get());
        m_options->setWindowFlag(Qt::Dialog);
        connect(m_options, &OptionsDialog::creditsReset, m_board.get(), &BoardWindow::setCredits);
    }
    return *m_options;
}

bool Application::start()
{
    QString error;
    // Installing never replaces a file, so it is safe before the folder is claimed.
    const QString seed = QDir(m_module2.gProgramFolder).filePath(kDatabaseFileName);
    if (!installDatabaseIfMissing(seed, m_module2.gDatabasePath, &error)) {
        m_dialogs.message(nullptr, error, kProgramTitle, Dialogs::Icon::Critical);
        return false;
    }
    m_folderLock = std::make_unique<DataFolderLock>(m_module2.gDataFolder);
    switch (m_folderLock->lock(&error)) {
    case DataFolderLock::Outcome::Locked:
    case DataFolderLock::Outcome::ReadOnlyFolder:
        break;
    case DataFolderLock::Outcome::HeldByAnotherCopy:
    case DataFolderLock::Outcome::Failed:
        m_dialogs.message(nullptr, error, kProgramTitle, Dialogs::Icon::Critical);
        return false;
    }
    m_splash->show();
    return true;
}

void Application::showBoard()
{
    if (!m_board->Form_Load()) {
        emit finished(1);
        return;
    }
    // Said once; the windows then keep quiet about what they cannot save.
    if (IsReadOnly(m_module2.gDatabase))
        m_dialogs.message(&board(), ReadOnlyNotice(m_module2.gDatabasePath), kProgramTitle,
                          Dialogs::Icon::Information);
    m_board->show();
}

void Application::endProgram()
{
    // Quitting from the board ends the program at once: no other window asks again.
    m_catalogue->hide();
    m_simulation->hide();
    m_planner->close();
    m_splash->hide();
    emit finished(0);
}

} // namespace tallyhawk
