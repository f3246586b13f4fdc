// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "application.h"

#include "db/database.h"
#include "db/datafolderlock.h"
#include "db/defaults.h"
#include "db/paytable.h"
#include "db/repair.h"
#include "gui/board/boardwindow.h"
#include "gui/catalogue/cataloguewindow.h"
#include "gui/common/dialogs.h"
#include "gui/common/splashwindow.h"
#include "gui/options/optionsdialog.h"
#include "gui/planner/sessionplannerwindow.h"
#include "gui/sim/simulationwindow.h"

#include <QDir>
#include <QTime>

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
    : m_dialogs(dialogs), m_paths(dataFolder, programFolder)
{
    m_catalogue = std::make_unique<CatalogueWindow>(m_database, m_paths, m_currentGame, m_dialogs);
    m_simulation = std::make_unique<SimulationWindow>(m_database, m_paths, m_currentGame, m_options, m_random,
                                                      m_deck, m_dialogs);
    m_planner = std::make_unique<SessionPlannerWindow>(m_database, m_currentGame, m_random, m_dialogs);
    m_board = std::make_unique<BoardWindow>(m_database, m_paths, m_currentGame, m_options, m_random, m_deck,
                                            m_dialogs);
    m_splash = std::make_unique<SplashWindow>(m_paths.programFolder);
    connectWindows();
}

Application::~Application()
{
    closeDatabase();
}

void Application::connectWindows()
{
    BoardWindow* board = m_board.get();
    CatalogueWindow* catalogue = m_catalogue.get();
    SimulationWindow* simulation = m_simulation.get();
    SessionPlannerWindow* planner = m_planner.get();
    connect(m_splash.get(), &SplashWindow::startRequested, this, &Application::showBoard);
    connect(m_splash.get(), &SplashWindow::closedWithoutStart, this, [this] { emit finished(0); });
    connect(board, &BoardWindow::programEnded, this, &Application::endProgram);

    connect(board, &BoardWindow::catalogueRequested, catalogue, &CatalogueWindow::openFromBoard);
    connect(catalogue, &CatalogueWindow::backToGame, board, &BoardWindow::returnFromCatalogue);
    connect(catalogue, &CatalogueWindow::gameListRebuilt, board, &BoardWindow::setGameList);
    connect(catalogue, &CatalogueWindow::endProgramRequested, board, &BoardWindow::endProgram);

    connect(board, &BoardWindow::simulationRequested, this,
            [simulation, planner](const GameKey& game, const Ticket& ticket, int bet) {
                planner->setBoardBet(bet);
                simulation->handOff(game, ticket);
            });
    connect(simulation, &SimulationWindow::backToGame, board, &BoardWindow::returnFromSimulation);
    connect(simulation, &SimulationWindow::endProgramRequested, board, &BoardWindow::endProgram);
    connect(simulation, &SimulationWindow::optionsRequested, this, [this] { options().showOptions(); });
    // The planner belongs to the simulation: it opens from there and goes when the board comes back.
    connect(simulation, &SimulationWindow::plannerRequested, planner, &SessionPlannerWindow::handOff);
    connect(simulation, &SimulationWindow::backToGame, planner, &QWidget::close);
}

OptionsDialog& Application::options()
{
    if (!m_optionsDialog) {
        m_optionsDialog = new OptionsDialog(m_database, m_options, m_dialogs, m_simulation.get());
        m_optionsDialog->setWindowFlag(Qt::Dialog);
        connect(m_optionsDialog, &OptionsDialog::creditsReset, m_board.get(), &BoardWindow::setCredits);
    }
    return *m_optionsDialog;
}

bool Application::start()
{
    QString error;
    // Installing never replaces a file, so it is safe before the folder is claimed.
    const QString seed = QDir(m_paths.programFolder).filePath(kDatabaseFileName);
    if (!installDatabaseIfMissing(seed, m_paths.databasePath, &error)) {
        m_dialogs.message(nullptr, error, kProgramTitle, Dialogs::Icon::Critical);
        return false;
    }
    m_folderLock = std::make_unique<DataFolderLock>(m_paths.dataFolder);
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

bool Application::openDatabase()
{
    const QString connection = QStringLiteral("tallyhawk-%1").arg(reinterpret_cast<quintptr>(this));
    DatabaseOpening opening = tallyhawk::openDatabase(m_paths.databasePath, connection);
    if (!opening.ok()) {
        m_dialogs.message(m_board.get(),
                          opening.error + "\n\nTallyhawk will now close; the file has not been changed.",
                          kProgramTitle, Dialogs::Icon::Critical);
        return false;
    }
    m_database = opening.db;
    m_catalogue->bindDatabase();
    return true;
}

bool Application::readOptions(QString* startupGame, double* savedCredits)
{
    ProgramDefaults defaults;
    QString error;
    QStringList setAside;
    if (!ReadDefaults(m_database, &defaults, &error, &setAside)) {
        m_dialogs.message(m_board.get(),
                          QStringLiteral("The program options cannot be read from %1. %2")
                              .arg(QDir::toNativeSeparators(m_paths.databasePath), error),
                          kProgramTitle, Dialogs::Icon::Critical);
        return false;
    }
    if (!setAside.isEmpty())
        m_dialogs.message(
            m_board.get(),
            setAside.join("\n") +
                "\n\nTallyhawk uses the value of a new database instead; PGM OPTIONS stores new ones.",
            kProgramTitle, Dialogs::Icon::Warning);
    *startupGame = QString::fromStdString(defaults.StartupGame);
    *savedCredits = defaults.SaveCredits;
    m_options.startupCredits = defaults.StartupCredits;
    m_options.showNumbers = defaults.ShowNumbers;
    m_options.speed = QString::fromStdString(defaults.Speed);
    m_options.randomSeed = defaults.RandomSeed;
    m_options.simGames = defaults.SimGames;
    m_options.randomPickForSim = defaults.RandomPickForSim;
    m_options.soundOn = defaults.SoundON;
    return true;
}

void Application::mendCatalogue()
{
    QString error;
    // Rows that older versions stored out of every window's reach are mended once and said so.
    CatalogueRepair repair;
    if (!RepairCatalogue(m_database, &repair, &error))
        m_dialogs.message(m_board.get(), "The pay table could not be repaired: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
    else if (repair.repaired())
        m_dialogs.message(m_board.get(), repair.description(), kProgramTitle, Dialogs::Icon::Information);

    // A failed clean-up changes nothing (one transaction); the catalogue is still usable.
    if (!CleanPayTable(m_database, &error))
        m_dialogs.message(m_board.get(), "The pay table could not be tidied up: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
}

void Application::seedRandom()
{
    if (m_options.randomSeed != 0) {
        m_random.seed(static_cast<std::uint32_t>(m_options.randomSeed));
        return;
    }
    // The clock's milliseconds since midnight, finer than the seconds a float would keep,
    // so that two starts within one second still draw differently.
    m_random.seed(static_cast<std::uint64_t>(QTime::currentTime().msecsSinceStartOfDay()) +
                  0x9E3779B97F4A7C15ull);
}

bool Application::load()
{
    if (!openDatabase())
        return false;
    m_board->fitToScreen();
    QString startupGame;
    double savedCredits = 0;
    if (!readOptions(&startupGame, &savedCredits))
        return false;
    mendCatalogue();

    std::vector<GameKey> games;
    QString error;
    if (!ReadGameList(m_database, &games, &error))
        m_dialogs.message(m_board.get(), "The list of games cannot be read: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
    seedRandom();
    // The board finds the saved game among the listed ones and makes it the current game.
    m_board->restoreState(games, startupGame, savedCredits);
    m_catalogue->setGameList(games, m_currentGame.key);
    return true;
}

void Application::showBoard()
{
    if (!load()) {
        emit finished(1);
        return;
    }
    // Said once; the windows then keep quiet about what they cannot save.
    if (IsReadOnly(m_database))
        m_dialogs.message(&board(), ReadOnlyNotice(m_paths.databasePath), kProgramTitle,
                          Dialogs::Icon::Information);
    m_board->show();
}

void Application::closeDatabase()
{
    if (!m_database.isValid())
        return;
    // Every query on the database lets go before it closes.
    m_catalogue->releaseDatabase();
    tallyhawk::closeDatabase(m_database);
}

void Application::endProgram()
{
    closeDatabase();
    // Quitting from the board ends the program at once: no other window asks again.
    m_catalogue->hide();
    m_simulation->hide();
    m_planner->close();
    m_splash->hide();
    emit finished(0);
}

} // namespace tallyhawk
