#include "application.h"

#include "db/database.h"
#include "db/datafolderlock.h"
#include "gui/board/frmkenoboard.h"
#include "gui/catalogue/frmobjectmap.h"
#include "gui/common/dialogs.h"
#include "gui/common/frmsplash.h"
#include "gui/options/formdefaults.h"
#include "gui/sim/frmsessionplanner.h"
#include "gui/sim/frmsim.h"

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
    m_catalogue = std::make_unique<frmObjectMap>(m_module2, m_dialogs);
    m_simulation = std::make_unique<frmSim>(m_module2, m_dialogs);
    m_planner = std::make_unique<frmSessionPlanner>(m_module2, m_dialogs);
    m_board = std::make_unique<frmKenoBoard>(m_module2, m_dialogs);
    m_splash = std::make_unique<frmSplash>(m_module2, m_dataFolder);
    connectWindows();
}

Application::~Application() = default;

void Application::connectWindows()
{
    frmKenoBoard* board = m_board.get();
    frmObjectMap* catalogue = m_catalogue.get();
    frmSim* simulation = m_simulation.get();
    connect(m_splash.get(), &frmSplash::startRequested, this, &Application::showBoard);
    connect(m_splash.get(), &frmSplash::closedWithoutStart, this, [this] { emit finished(0); });
    connect(board, &frmKenoBoard::programEnded, this, &Application::endProgram);

    connect(board, &frmKenoBoard::databaseOpened, catalogue, &frmObjectMap::Form_Load);
    connect(board, &frmKenoBoard::gameListLoaded, catalogue, &frmObjectMap::setGameList);
    connect(board, &frmKenoBoard::databaseClosing, catalogue, &frmObjectMap::releaseDatabase);
    connect(board, &frmKenoBoard::catalogueRequested, catalogue, &frmObjectMap::openFromBoard);
    connect(catalogue, &frmObjectMap::backToGame, board, &frmKenoBoard::returnFromCatalogue);
    connect(catalogue, &frmObjectMap::gameListRebuilt, board, &frmKenoBoard::setGameList);
    connect(catalogue, &frmObjectMap::endProgramRequested, board, &frmKenoBoard::endProgram);

    connect(board, &frmKenoBoard::simulationRequested, simulation, &frmSim::handOff);
    connect(simulation, &frmSim::backToGame, board, &frmKenoBoard::returnFromSimulation);
    connect(simulation, &frmSim::endProgramRequested, board, &frmKenoBoard::endProgram);
    connect(simulation, &frmSim::optionsRequested, this, [this] { options().showOptions(); });
    // The planner belongs to the simulation: it opens from there and goes when the board comes back.
    frmSessionPlanner* planner = m_planner.get();
    connect(simulation, &frmSim::plannerRequested, planner, &frmSessionPlanner::handOff);
    connect(simulation, &frmSim::backToGame, planner, &QWidget::close);
}

FormDefaults& Application::options()
{
    if (!m_options) {
        m_options = new FormDefaults(m_module2, m_dialogs, m_simulation.get());
        m_options->setWindowFlag(Qt::Dialog);
        connect(m_options, &FormDefaults::creditsReset, m_board.get(), &frmKenoBoard::setCredits);
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
