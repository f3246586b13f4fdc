// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "simulationwindow.h"

#include "db/paytable.h"
#include "db/sessions.h"
#include "engine/common/gamekey.h"
#include "engine/common/numberforms.h"
#include "engine/play/deck.h"
#include "engine/sim/gamecount.h"
#include "engine/sim/sessionstats.h"
#include "gui/common/commandbutton.h"
#include "gui/common/dialogs.h"
#include "gui/common/readout.h"
#include "gui/common/screenfit.h"
#include "gui/common/uifonts.h"

#include <cmath>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace tallyhawk {

namespace {

constexpr int kHeaderRow = 11;
constexpr int kBonusRow = 12;
constexpr std::int16_t kEscape = 27;

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// The lines a run shows and its reports repeat, each made from its value. The count is
// written as the board's "MARKED  n" shows it after its sixth character.
QString runMarkedLine(int marked)
{
    return "Numbers Marked = " + ("  " + qs(StrForm(marked)));
}

QString percentLine(double percent)
{
    return "Total Pct Return = " + qs(FormatTwoDecimals(percent));
}

Readout* box(QWidget* parent, const QString& name, const QString& text = {})
{
    auto* edit = new Readout(parent, text);
    edit->setObjectName(name);
    edit->setFont(uiFont("Arial", 10, true));
    return edit;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& tooltip)
{
    return makeCommandButton(parent, name, caption, tooltip, 40);
}

} // namespace

SimulationWindow::SimulationWindow(QSqlDatabase& database, const ProgramPaths& paths, CurrentGame& currentGame,
                                   const ProgramOptions& options, KenoRandom& random, DrawDeck& deck,
                                   Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_database(database), m_paths(paths), m_currentGame(currentGame), m_options(options),
      m_random(random), m_deck(deck), m_dialogs(dialogs)
{
    setObjectName("simulationWindow");
    setWindowTitle("Monte Carlo Simulation");
    buildControls();
    layOutControls();
    resize(640, 660);
    // The window hears every key, also while its buttons are disabled during a run.
    qApp->installEventFilter(this);
}

SimulationWindow::~SimulationWindow()
{
    qApp->removeEventFilter(this);
    m_stop = true;
    if (m_worker.joinable())
        m_worker.join();
}

void SimulationWindow::buildControls()
{
    m_gameReadout = box(this, "gameReadout");
    m_gameReadout->setFont(uiFont("Courier New", 10));
    m_escapeLabel = new QLabel("Press <Esc> to stop", this);
    m_escapeLabel->setObjectName("escapeLabel");
    m_escapeLabel->setFont(uiFont("Arial", 10, true));
    m_escapeLabel->setStyleSheet("color: #a00000;");
    m_escapeLabel->hide();

    m_resultsTable = new QWidget(this);
    m_resultsTable->setObjectName("resultsTable");
    // Each cell named for its column and row ("frequency5Readout"), the header row 11 and the
    // bonus row 12.
    auto cell = [this](const QString& column, int i, const QString& text) {
        Readout* readout = box(m_resultsTable, column + QString::number(i) + "Readout", text);
        readout->setAlignment(Qt::AlignCenter);
        readout->setColours(Qt::white, Qt::black);
        // The cells fill their rows, so that the rulings between rows are as thin as those
        // between columns.
        readout->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        return readout;
    };
    for (int i = 0; i < 13; ++i) {
        const QString label = i <= 10 ? QString::number(i) : i == kHeaderRow ? "Catch" : "  Bonus";
        m_catchReadouts[i] = cell("catch", i, label);
        m_frequencyReadouts[i] = cell("frequency", i, i == kHeaderRow ? "Frequency" : "");
        m_payReadouts[i] = cell("pay", i, i == kHeaderRow ? "Pays" : "");
        m_winReadouts[i] = cell("win", i, i == kHeaderRow ? "Win" : "");
    }
    m_markedReadout = box(this, "markedReadout");
    m_betTotalReadout = box(this, "betTotalReadout");
    m_winTotalReadout = box(this, "winTotalReadout");
    m_percentReadout = box(this, "percentReadout");
    m_exactReadout = box(this, "exactReadout");
    m_exactReadout->setFont(uiFont("Arial", 9));
    m_intervalReadout = box(this, "intervalReadout");
    m_intervalReadout->setFont(uiFont("Arial", 9));
    m_runProgressBar = new QProgressBar(this);
    m_runProgressBar->setObjectName("runProgressBar");
    m_runProgressBar->setRange(0, 1000);
    m_runProgressBar->setValue(0);
    m_speedLabel = new QLabel(this);
    m_speedLabel->setObjectName("speedLabel");
    m_testProgressBar = new QProgressBar(this);
    m_testProgressBar->setObjectName("testProgressBar");
    m_testProgressBar->setRange(0, 1000);
    m_testProgressBar->setValue(0);
    m_testProgressBar->hide();
    m_testSpeedLabel = new QLabel(this);
    m_testSpeedLabel->setObjectName("testSpeedLabel");
    m_testSpeedLabel->hide();

    m_optionsButton = button(this, "optionsButton", "PGM OPTIONS", "View/Edit Program Defaults");
    m_backButton = button(this, "backButton", "BACK TO GAME", "Press <Esc> to stop.");
    m_simulateButton = button(this, "simulateButton", "START SIM FOR PAYOUT %", "Press <Esc> to stop.");
    m_randomnessButton = button(this, "randomnessButton", "TEST FOR RANDOMNESS", "Press <Esc> to stop.");
    connect(m_backButton, &QPushButton::clicked, this, &SimulationWindow::returnToBoard);
    connect(m_optionsButton, &QPushButton::clicked, this, &SimulationWindow::optionsRequested);
    m_chartsButton =
        button(this, "chartsButton", "CHARTS", "Session histogram and catch frequencies of the last run");
    m_chartsButton->setEnabled(false);
    connect(m_chartsButton, &QPushButton::clicked, this, [this] {
        if (!m_charts)
            m_charts = new ChartsWindow(m_dialogs, this);
        m_charts->showRun(m_lastRun);
    });
    m_plannerButton = button(this, "plannerButton", "SESSION PLANNER",
                             "Plan a session: bet, credits, games, target and floor, with the risk of ruin");
    connect(m_plannerButton, &QPushButton::clicked, this,
            [this] { emit plannerRequested(m_game, m_markedCount); });
    connect(m_simulateButton, &QPushButton::clicked, this, &SimulationWindow::runSimulation);
    connect(m_randomnessButton, &QPushButton::clicked, this, &SimulationWindow::testRandomness);

    m_countsGrid = new QTableView(this);
    m_countsGrid->setObjectName("countsGrid");
    m_countsModel = new QStandardItemModel(8, 11, this);
    QStringList captions{"Range"};
    for (int c = 1; c <= 10; ++c)
        captions << QStringLiteral("C%1").arg(c);
    m_countsModel->setHorizontalHeaderLabels(captions);
    m_countsGrid->setModel(m_countsModel);
    m_countsGrid->verticalHeader()->hide();
    m_countsGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_countsGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_countsGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_countsGrid->setToolTip(
        "Each number's count less its expected count; red above, blue below what a uniform draw "
        "gives");
    m_countsGrid->hide();
}

void SimulationWindow::layOutControls()
{
    // The results table: header row (index 11) on top, catches 0 to 10, the bonus row
    // (index 12) at the bottom; thin rulings between the cells.
    auto* table = new QGridLayout(m_resultsTable);
    table->setSpacing(1);
    table->setContentsMargins(1, 1, 1, 1);
    QPalette rulings = m_resultsTable->palette();
    rulings.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    m_resultsTable->setPalette(rulings);
    m_resultsTable->setAutoFillBackground(true);
    const int order[13] = {kHeaderRow, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, kBonusRow};
    for (int row = 0; row < 13; ++row) {
        const int i = order[row];
        table->addWidget(m_catchReadouts[i], row, 0);
        table->addWidget(m_frequencyReadouts[i], row, 1);
        table->addWidget(m_payReadouts[i], row, 2);
        table->addWidget(m_winReadouts[i], row, 3);
    }
    table->setColumnStretch(0, 2);
    for (int column = 1; column < 4; ++column)
        table->setColumnStretch(column, 3);

    auto* views = new QGridLayout;
    views->addWidget(m_resultsTable, 0, 0);
    views->addWidget(m_countsGrid, 0, 0);

    auto* progress = new QHBoxLayout;
    progress->addWidget(m_runProgressBar, 1);
    progress->addWidget(m_speedLabel);
    progress->addWidget(m_testProgressBar, 1);
    progress->addWidget(m_testSpeedLabel);

    auto* leftButtons = new QVBoxLayout;
    leftButtons->addWidget(m_optionsButton);
    leftButtons->addWidget(m_backButton);
    auto* rightButtons = new QVBoxLayout;
    rightButtons->addWidget(m_randomnessButton);
    rightButtons->addWidget(m_simulateButton);
    auto* buttons = new QHBoxLayout;
    buttons->addLayout(leftButtons);
    buttons->addStretch();
    buttons->addWidget(m_escapeLabel);
    buttons->addStretch();
    buttons->addWidget(m_plannerButton, 0, Qt::AlignBottom);
    buttons->addWidget(m_chartsButton, 0, Qt::AlignBottom);
    buttons->addLayout(rightButtons);

    auto* layout = new QVBoxLayout;
    layout->addWidget(m_gameReadout);
    layout->addLayout(views, 1);
    for (QWidget* line : {m_markedReadout, m_betTotalReadout, m_winTotalReadout, m_percentReadout,
                          m_exactReadout, m_intervalReadout})
        layout->addWidget(line);
    layout->addLayout(progress);
    layout->addLayout(buttons);
    SetScrollingLayout(this, layout);
}

void SimulationWindow::prepareFirstShow()
{
    m_loaded = true;
    PlaceOnScreen(this);
    showPayoutView();
}

void SimulationWindow::showPayoutView()
{
    m_resultsTable->show();
    for (QWidget* line : std::initializer_list<QWidget*>{m_betTotalReadout, m_percentReadout,
                                                         m_winTotalReadout, m_markedReadout, m_exactReadout,
                                                         m_intervalReadout, m_runProgressBar, m_speedLabel})
        line->show();
    m_countsGrid->hide();
    m_testProgressBar->hide();
    m_testSpeedLabel->hide();
}

void SimulationWindow::clearResults()
{
    for (int i = 0; i <= kBonusRow; ++i) {
        if (i == kHeaderRow)
            continue;
        m_frequencyReadouts[i]->clear();
        m_winReadouts[i]->clear();
        m_payReadouts[i]->clear();
    }
    m_pays = {};
    m_betTotalReadout->setText("Total Credits Bet =");
    m_percentReadout->setText("Total Pct Return =");
    m_winTotalReadout->setText("Total Winnings =");
    m_runProgressBar->setValue(0);
    m_speedLabel->clear();
    m_exactReadout->clear();
    m_intervalReadout->clear();
    forgetLastRun();
}

void SimulationWindow::forgetLastRun()
{
    m_lastRun = {};
    m_chartsButton->setEnabled(false);
    if (m_charts)
        m_charts->hide();
}

void SimulationWindow::hideEvent(QHideEvent* event)
{
    // The charts belong to this window: they go when it goes (BACK TO GAME, quitting).
    if (m_charts)
        m_charts->hide();
    QWidget::hideEvent(event);
}

void SimulationWindow::handOff(const GameKey& boardGame, const Ticket& ticket)
{
    const int markedCount = ticket.count();
    // Results stay while they belong to the same game and count.
    const bool sameTicket = !m_loaded || (m_game == boardGame && m_markedCount == markedCount);
    if (!m_loaded) {
        prepareFirstShow();
        m_currentGame.key = boardGame;
    }
    if (!sameTicket)
        clearResults();
    m_game = boardGame;
    m_markedCount = markedCount;
    m_ticket = ticket;
    m_gameReadout->setText(GameListText(boardGame));
    m_gameReadout->setCursorPosition(0);
    m_markedReadout->setText("Numbers Marked  = " + QString::number(markedCount));
    show();
    raise();
}

void SimulationWindow::setButtonsEnabled(bool enabled)
{
    for (QPushButton* command : {m_backButton, m_simulateButton, m_randomnessButton, m_optionsButton})
        command->setEnabled(enabled);
    m_chartsButton->setEnabled(enabled && m_lastRun.games > 0);
}

void SimulationWindow::returnToBoard()
{
    setButtonsEnabled(true);
    emit backToGame();
    hide();
}

bool SimulationWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape)
                m_lastKey = kEscape;
            else if (!key->text().isEmpty())
                m_lastKey = static_cast<std::int16_t>(key->text().at(0).unicode());
            if (m_lastKey == kEscape && m_running)
                m_stop = true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::optional<std::int64_t> SimulationWindow::askGameCount()
{
    const std::optional<QString> answer =
        m_dialogs.input(this, "Enter the number of games to play in this simulation, then click 'OK'.",
                        kProgramTitle, qs(PlainForm(m_options.simGames)));
    if (!answer)
        return std::nullopt;
    const GameCountAnswer games = ParseGameCount(answer->toStdString());
    if (games.kind == GameCountAnswerKind::Refused)
        m_dialogs.message(this, qs(games.message));
    if (games.kind != GameCountAnswerKind::Accepted)
        return std::nullopt;
    return games.games;
}

void SimulationWindow::runSimulation()
{
    if (m_running)
        return;
    const int marked = m_markedCount;
    if (marked == 0) {
        m_dialogs.message(this, "Go Back to Game and pick numbers to run this feature.");
        return;
    }
    showPayoutView();
    const std::optional<std::int64_t> games = askGameCount();
    if (!games)
        return;

    KenoGame game;
    QString error;
    if (!ReadGame(m_database, m_currentGame.sql, &game, &error)) {
        m_dialogs.message(this, "The pays of this game cannot be read: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
        return;
    }
    std::vector<int> ticket = m_ticket.numbers();
    if (m_options.randomPickForSim)
        ticket.resize(static_cast<std::size_t>(std::clamp(marked, 1, 10))); // only the count matters
    SimulationInput input = BuildSimulationInput(game, ticket, m_options.randomPickForSim, *games);
    const std::array<double, 11> pays = game.pays(marked);
    for (int c = 0; c <= 10; ++c) {
        m_pays[c] = game.hasRow(c) ? std::optional(pays[c]) : std::nullopt;
        m_payReadouts[c]->setText(m_pays[c] ? qs(PlainForm(*m_pays[c])) : QString());
    }
    if (game.bonusRow())
        m_catchReadouts[kBonusRow]->setText("Bonus");
    showExactOdds(game, marked);
    if (const std::string refusal = CheckSimulationInput(input); !refusal.empty()) {
        m_dialogs.message(this, qs(refusal));
        return;
    }

    m_lastKey = 0;
    m_stop = false;
    forgetLastRun(); // the charts wait for this run
    setButtonsEnabled(false);
    m_escapeLabel->show();
    m_winTotalReadout->setText("Total Winnings = ");
    m_betTotalReadout->setText("Total Credits Bet = ");
    m_markedReadout->setText(runMarkedLine(marked));
    m_frequencyReadouts[kBonusRow]->clear();
    m_winReadouts[kBonusRow]->clear();
    m_runProgressBar->setValue(0);
    m_speedLabel->clear();
    m_intervalReadout->clear();

    // The shared deck takes its pass as any draw does; the run's own streams come from one
    // seed drawn from the program's generator, so a fixed seed repeats the run.
    ShuffleDeck(m_deck, m_random);
    input.seed = (static_cast<std::uint64_t>(m_random.next()) << 32) | m_random.next();
    m_runOrigin = {m_game, ticket, input.randomPicks, 0, input.seed};
    m_runGames = input.games;
    m_running = true;
    m_runStartedMs = QDateTime::currentMSecsSinceEpoch();
    QApplication::setOverrideCursor(Qt::BusyCursor);

    if (m_worker.joinable())
        m_worker.join();
    m_worker = std::thread([this, input] {
        SimulationResult result = RunSimulation(
            input,
            [this](const SimulationTotals& totals) {
                m_progress.post(this, totals, [this](const SimulationTotals& latest) {
                    if (m_running)
                        showProgress(latest);
                });
            },
            &m_stop);
        QMetaObject::invokeMethod(
            this, [this, result = std::move(result)] { finishRun(result); }, Qt::QueuedConnection);
    });
}

void SimulationWindow::showExactOdds(const KenoGame& game, int marked)
{
    m_exact = AnalyseExact(ExactGameOf(game, marked));
    if (!m_exact.ok()) {
        m_exactReadout->setText("Exact Pct Return: not available (" + qs(m_exact.error) + ")");
        return;
    }
    m_exactReadout->setText(
        "Exact Pct Return = " + qs(FormatTwoDecimals(m_exact.simulation.returnPct)) +
        "   Standard Deviation per Game = " + QString::number(m_exact.simulation.standardDeviation, 'f', 3));
}

std::string SimulationWindow::exactSessionLines() const
{
    if (!m_exact.ok())
        return {};
    const ExactSessionFigures& exact = m_exact.session;
    return "Exact Figures for Independent Games:\r\n"
           "   Losing Sessions: " +
           FormatOneDecimal(exact.losingPct) +
           " %\r\n"
           "   Breakeven or Winning Sessions: " +
           FormatOneDecimal(exact.breakevenOrWinningPct) +
           " %\r\n"
           "   Most Likely Outcome: " +
           MostLikelyOutcome(exact.mode, exact.fiveFoldPct) +
           "\r\n"
           "   Double (or Better): " +
           FormatOneDecimal(exact.doublePct) +
           " %\r\n"
           "   5X or More: " +
           FormatOneDecimal(exact.fiveFoldPct) +
           " %\r\n"
           "   Lose Half (or Worse): " +
           FormatOneDecimal(exact.loseHalfPct) +
           " %\r\n"
           "   Exact Pct Return: " +
           FormatTwoDecimals(m_exact.simulation.returnPct) + " %\r\n\r\n";
}

void SimulationWindow::showProgress(const SimulationTotals& totals)
{
    for (int c = 0; c <= 10; ++c) {
        m_frequencyReadouts[c]->setText(qs(PlainForm(static_cast<double>(totals.catchFrequency[c]))));
        if (m_pays[c])
            m_winReadouts[c]->setText(
                qs(PlainForm(*m_pays[c] * static_cast<double>(totals.catchFrequency[c]))));
    }
    if (totals.bonusEvents > 0)
        m_frequencyReadouts[kBonusRow]->setText(qs(PlainForm(static_cast<double>(totals.bonusEvents))));
    if (totals.bonusWinnings > 0)
        m_winReadouts[kBonusRow]->setText(qs(PlainForm(totals.bonusWinnings)));
    m_winTotalReadout->setText("Total Winnings = " + qs(StrForm(totals.totalWinnings())));
    m_betTotalReadout->setText("Total Credits Bet = " + qs(StrForm(static_cast<double>(totals.gamesPlayed))));
    m_percentReadout->setText(percentLine(totals.percentReturn()));
    m_runProgressBar->setValue(static_cast<int>(1000.0 * static_cast<double>(totals.gamesPlayed) /
                                                static_cast<double>(std::max<std::int64_t>(1, m_runGames))));
    const double seconds = std::max<qint64>(1, QDateTime::currentMSecsSinceEpoch() - m_runStartedMs) / 1000.0;
    // Written as every figure of the window is, whatever the desktop's language.
    m_speedLabel->setText(qs(PlainForm(std::round(static_cast<double>(totals.gamesPlayed) / seconds))) +
                          " games/s");
}

void SimulationWindow::finishRun(const SimulationResult& result)
{
    if (m_worker.joinable())
        m_worker.join();
    m_running = false;
    if (m_closing)
        return;
    showProgress(result);
    setButtonsEnabled(true);
    m_escapeLabel->hide();
    if (!result.error.empty())
        m_dialogs.message(this, qs(result.error), kProgramTitle, Dialogs::Icon::Warning);
    const std::optional<ReturnInterval> interval =
        m_exact.ok() ? SimulatedReturnInterval(result.percentReturn(), m_exact.simulation.standardDeviation,
                                               result.gamesPlayed)
                     : std::nullopt;
    if (interval) {
        const bool inside = interval->contains(m_exact.simulation.returnPct);
        m_intervalReadout->setText(
            QStringLiteral("95% Interval of the Simulated Return = %1 to %2 (%3)")
                .arg(QString::number(interval->low, 'f', 2), QString::number(interval->high, 'f', 2),
                     inside ? "the exact return lies inside"
                            : "the exact return lies outside, as it does for about one honest "
                              "run in twenty"));
    }
    reportSessions(result);
}

void SimulationWindow::reportSessions(const SimulationResult& result)
{
    const std::vector<std::int32_t> histogram = BuildSessionHistogram(result.sessionLog, result.gamesPlayed);
    // The games played, with the run's seed, repeat its figures (also of a run stopped early).
    RunOrigin origin = m_runOrigin;
    origin.games = result.gamesPlayed;
    QStringList faults;
    std::string error;
    const QString sessionsPath = QDir(m_paths.dataFolder).filePath(kSessionsFileName);
    if (!WriteReportFile(
            sessionsPath.toStdString(),
            SessionsCsvText(histogram, GameListText(m_game).toStdString(), runMarkedLine(m_markedCount).toStdString()),
            &error))
        faults << qs(error);
    const std::vector<std::int32_t> folded = FoldSessionHistogram(histogram);
    QString tableError;
    if (!WriteSessionsTable(m_database, folded, m_currentGame.key, m_markedCount,
                            result.totalWinnings(), &tableError))
        faults << "The table \"Sessions\" could not be written: " + tableError;
    std::string summary = SessionSummaryText(ComputeSessionFigures(folded), GameListText(m_game).toStdString(),
                                             runMarkedLine(m_markedCount).toStdString(), result.gamesPlayed,
                                             percentLine(result.percentReturn()).toStdString());
    // The exact figures stand before the closing question, so the saved report keeps them too.
    const std::string question = "Do You Wish to Save or Print These Results?";
    if (summary.size() >= question.size() &&
        summary.compare(summary.size() - question.size(), question.size(), question) == 0)
        summary.insert(summary.size() - question.size(),
                       RunOriginLines(origin) + "\r\n" + exactSessionLines());

    m_lastRun = {};
    m_lastRun.game = GameListText(m_game);
    m_lastRun.sessions = folded;
    m_lastRun.catchFrequency = result.catchFrequency;
    m_lastRun.games = result.gamesPlayed;
    m_lastRun.marked = static_cast<int>(origin.ticket.size());
    m_lastRun.origin = qs(PlainForm(static_cast<double>(origin.games)) + " games, seed " +
                          std::to_string(origin.seed) + ",\n" + PicksText(origin));
    m_lastRun.exact = m_exact.ok();
    if (m_exact.ok()) {
        m_lastRun.exactSessions = m_exact.session.probability;
        m_lastRun.exactCatches = m_exact.simulation.catchProbability;
    }
    m_chartsButton->setEnabled(true);
    QApplication::restoreOverrideCursor();
    if (!faults.isEmpty())
        m_dialogs.message(this, faults.join("\n\n"), kProgramTitle, Dialogs::Icon::Warning);
    if (!m_dialogs.askYesNo(this, qs(summary).replace("\r\n", "\n"), "Simulation Summary",
                            Dialogs::Icon::None))
        return;
    const QString statsPath = QDir(m_paths.dataFolder).filePath(kStatsFileName);
    if (!WriteReportFile(statsPath.toStdString(), StatsFileText(summary), &error)) {
        m_dialogs.message(this, qs(error), kProgramTitle, Dialogs::Icon::Warning);
        return;
    }
    if (!m_dialogs.openDocument(statsPath))
        m_dialogs.message(this, "The results are saved in " + QDir::toNativeSeparators(statsPath) + ".");
}

void SimulationWindow::waitForRun()
{
    while (m_running)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void SimulationWindow::closeEvent(QCloseEvent* event)
{
    if (!ConfirmQuitOnClose(m_dialogs, this, event))
        return;
    m_closing = true;
    m_stop = true;
    if (m_worker.joinable())
        m_worker.join();
    emit endProgramRequested(GameListText(m_game));
}

} // namespace tallyhawk
