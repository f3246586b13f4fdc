// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "sessionplannerwindow.h"

#include "gui/common/chartparts.h"
#include "db/paytable.h"
#include "engine/common/gameconstants.h"
#include "engine/common/numberforms.h"
#include "gui/common/commandbutton.h"
#include "gui/common/dialogs.h"
#include "gui/common/screenfit.h"
#include "gui/common/uifonts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <QApplication>
#include <QChartView>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tallyhawk {

namespace {

QLineEdit* field(QWidget* parent, const char* name, const QString& tooltip)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setToolTip(tooltip);
    edit->setFont(uiFont("Arial", 10));
    edit->setMaximumWidth(140);
    return edit;
}

QLineEdit* line(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setFont(uiFont("Arial", 10, true));
    return edit;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& tooltip)
{
    return makeCommandButton(parent, name, caption, tooltip, 36);
}

// A read-only table whose column `stretched` takes the room the others leave.
QTableWidget* grid(QWidget* parent, const char* name, const QStringList& captions, int stretched)
{
    auto* table = new QTableWidget(0, static_cast<int>(captions.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(captions);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(stretched, QHeaderView::Stretch);
    return table;
}

} // namespace

SessionPlannerWindow::SessionPlannerWindow(QSqlDatabase& database, const CurrentGame& currentGame,
                                           KenoRandom& random, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_database(database), m_currentGame(currentGame), m_random(random),
      m_dialogs(dialogs)
{
    setObjectName("sessionPlannerWindow");
    setWindowTitle("Session Planner");
    buildControls();
    layOutControls();
    resize(1180, 740);
    // Esc reaches the window from any of its controls, also while they are disabled for a run.
    qApp->installEventFilter(this);
}

SessionPlannerWindow::~SessionPlannerWindow()
{
    qApp->removeEventFilter(this);
    m_stop = true;
    if (m_worker.joinable())
        m_worker.join();
}

void SessionPlannerWindow::buildControls()
{
    m_gameReadout = line(this, "gameReadout");
    m_gameReadout->setFont(uiFont("Courier New", 10));
    m_markedReadout = line(this, "markedReadout");
    m_betEdit = field(this, "betEdit", QString("Credits bet on each paid game, %1 to %2").arg(kMinBet).arg(kMaxBet));
    m_creditsEdit = field(this, "creditsEdit", "The credits you start with");
    m_gamesEdit = field(this, "gamesEdit", "The most paid games you will play, 1 to 100000");
    m_targetEdit = field(this, "targetEdit", "Stop once your credits reach this; leave blank to play on");
    m_floorEdit = field(this, "floorEdit",
                        "Stop when your credits fall below this; leave blank to stop when they "
                        "cannot cover the bet");
    m_calculateButton = button(this, "calculateButton", "CALCULATE", "Press <Esc> to stop.");
    m_compareButton = button(this, "compareButton", "COMPARE MARKED COUNTS",
                             "The same plan for every marked count from 1 to 10. Press <Esc> to stop.");
    m_closeButton = button(this, "closeButton", "CLOSE", "Back to the simulation");
    connect(m_calculateButton, &QPushButton::clicked, this, &SessionPlannerWindow::calculatePlan);
    connect(m_compareButton, &QPushButton::clicked, this, &SessionPlannerWindow::compareMarkedCounts);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);
    // Enter in a field calculates, as the button would.
    for (QLineEdit* box : {m_betEdit, m_creditsEdit, m_gamesEdit, m_targetEdit, m_floorEdit})
        connect(box, &QLineEdit::returnPressed, this, &SessionPlannerWindow::calculatePlan);

    m_methodLabel = new QLabel(this);
    m_methodLabel->setObjectName("methodLabel");
    m_methodLabel->setFont(uiFont("Arial", 9, true));
    m_methodLabel->setWordWrap(true);
    m_escapeLabel = new QLabel("Press <Esc> to stop", this);
    m_escapeLabel->setObjectName("escapeLabel");
    m_escapeLabel->setFont(uiFont("Arial", 10, true));
    m_escapeLabel->setStyleSheet("color: #a00000;");
    m_escapeLabel->hide();
    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName("progressBar");
    m_progressBar->setRange(0, 1000);
    m_progressBar->setValue(0);

    m_resultsTabWidget = new QTabWidget(this);
    m_resultsTabWidget->setObjectName("resultsTabWidget");
    m_figuresGrid = grid(m_resultsTabWidget, "figuresGrid", {"Figure", "Value", "95% Interval"}, 0);
    m_comparisonGrid = grid(m_resultsTabWidget, "comparisonGrid",
                            {"Marked", "Reach\nTarget", "Ruined", "Play All\nGames", "End\nAhead",
                             "Mean End\nCredits", "Expected\nGames", "Method"},
                            7);
    m_resultsTabWidget->addTab(m_figuresGrid, "Figures");
    m_resultsTabWidget->addTab(m_comparisonGrid, "Marked Counts Compared");

    m_endCreditsChartView = MakeChartView(this, "endCreditsChartView", {420, 240});
    m_survivalChartView = MakeChartView(this, "survivalChartView", {420, 240});
    m_saveEndCreditsButton =
        button(this, "saveEndCreditsButton", "SAVE AS PNG", "Save this chart as a picture");
    m_saveSurvivalButton = button(this, "saveSurvivalButton", "SAVE AS PNG", "Save this chart as a picture");
    connect(m_saveEndCreditsButton, &QPushButton::clicked, this,
            [this] { SaveChartAsPng(this, m_dialogs, m_endCreditsChartView, "end-credits.png"); });
    connect(m_saveSurvivalButton, &QPushButton::clicked, this,
            [this] { SaveChartAsPng(this, m_dialogs, m_survivalChartView, "survival.png"); });
}

void SessionPlannerWindow::layOutControls()
{
    auto* fields = new QGridLayout;
    const std::pair<QLineEdit*, const char*> rows[] = {
        {m_betEdit, "Bet per game (credits)"},
        {m_creditsEdit, "Starting credits"},
        {m_gamesEdit, "Games (at most)"},
        {m_targetEdit, "Stop at credits (target)"},
        {m_floorEdit, "Stop below credits (floor)"},
    };
    int row = 0;
    for (const auto& [box, caption] : rows) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        fields->addWidget(label, row, 0);
        fields->addWidget(box, row, 1);
        ++row;
    }
    auto* hint = new QLabel("Leave the target blank to play on; leave the floor blank to stop when the "
                            "credits cannot cover the bet.",
                            this);
    hint->setWordWrap(true);
    hint->setFont(uiFont("Arial", 8));
    fields->addWidget(hint, row, 0, 1, 2);

    auto* commands = new QVBoxLayout;
    commands->addWidget(m_calculateButton);
    commands->addWidget(m_compareButton);
    commands->addStretch();
    commands->addWidget(m_closeButton);

    auto* plan = new QHBoxLayout;
    plan->addLayout(fields);
    plan->addLayout(commands);

    auto* left = new QVBoxLayout;
    left->addLayout(plan);
    left->addWidget(m_methodLabel);
    left->addWidget(m_resultsTabWidget, 1);

    auto* charts = new QVBoxLayout;
    for (auto [chart, save] : {std::pair{m_endCreditsChartView, m_saveEndCreditsButton},
                               {m_survivalChartView, m_saveSurvivalButton}}) {
        charts->addWidget(chart, 1);
        auto* saveRow = new QHBoxLayout;
        saveRow->addStretch();
        saveRow->addWidget(save);
        charts->addLayout(saveRow);
    }

    auto* body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addLayout(charts, 1);

    auto* progress = new QHBoxLayout;
    progress->addWidget(m_progressBar, 1);
    progress->addWidget(m_escapeLabel);

    auto* layout = new QVBoxLayout;
    auto* ticket = new QHBoxLayout;
    ticket->addWidget(m_gameReadout, 3);
    ticket->addWidget(m_markedReadout, 1);
    layout->addLayout(ticket);
    layout->addLayout(body, 1);
    layout->addLayout(progress);
    SetScrollingLayout(this, layout);
}

void SessionPlannerWindow::fillFirstPlan()
{
    m_loaded = true;
    // A first plan to start from: the board's bet for a hundred games, a hundred bets in hand.
    const int bet = std::clamp<int>(m_boardBet, 1, kPlanMaxBet);
    m_betEdit->setText(QString::number(bet));
    m_creditsEdit->setText(QString::number(100 * bet));
    m_gamesEdit->setText("100");
    PlaceOnScreen(this);
    clearResults();
}

void SessionPlannerWindow::handOff(const GameKey& game, int markedCount)
{
    if (!m_loaded)
        fillFirstPlan();
    else if (game != m_game || markedCount != m_markedCount)
        clearResults();
    m_game = game;
    m_markedCount = markedCount;
    m_gameReadout->setText(GameListText(game));
    m_gameReadout->setCursorPosition(0);
    m_markedReadout->setText("Numbers Marked = " + QString::number(markedCount));
    show();
    raise();
    activateWindow();
}

void SessionPlannerWindow::clearResults()
{
    m_result = {};
    m_figuresGrid->setRowCount(0);
    m_comparisonGrid->setRowCount(0);
    m_methodLabel->setText("Enter a plan and click CALCULATE.");
    m_progressBar->setValue(0);
    clearCharts();
    m_saveEndCreditsButton->setEnabled(false);
    m_saveSurvivalButton->setEnabled(false);
}

std::optional<SessionPlan> SessionPlannerWindow::readPlan()
{
    // A whole number, or none for a blank optional field; a message and false for anything else.
    auto whole = [this](QLineEdit* box, const QString& name, bool blankAllowed,
                        std::optional<std::int64_t>* value) {
        const QString text = box->text().trimmed();
        *value = std::nullopt;
        if (text.isEmpty() && blankAllowed)
            return true;
        const std::optional<double> number = ParseNumber(text.toStdString());
        // Beyond a billion billion the plan's own checks refuse it anyway.
        if (!number || *number != RoundHalfEven(*number) || std::fabs(*number) > 1e18) {
            m_dialogs.message(this, name + " must be a whole number, without letters or separators.");
            box->setFocus();
            box->selectAll();
            return false;
        }
        *value = static_cast<std::int64_t>(*number);
        return true;
    };
    std::optional<std::int64_t> bet, credits, games, target, floor;
    if (!whole(m_betEdit, "The bet", false, &bet) ||
        !whole(m_creditsEdit, "The starting credits", false, &credits) ||
        !whole(m_gamesEdit, "The number of games", false, &games) ||
        !whole(m_targetEdit, "The target", true, &target) || !whole(m_floorEdit, "The floor", true, &floor))
        return std::nullopt;

    SessionPlan plan;
    // A bet no int holds is out of range all the same.
    plan.bet = static_cast<int>(
        std::clamp<std::int64_t>(*bet, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    plan.credits = *credits;
    plan.games = *games;
    plan.target = target;
    plan.floor = floor;
    if (const std::string error = CheckSessionPlan(plan); !error.empty()) {
        m_dialogs.message(this, QString::fromStdString(error));
        return std::nullopt;
    }
    return plan;
}

bool SessionPlannerWindow::readGame(KenoGame* game)
{
    QString error;
    if (ReadGame(m_database, m_currentGame.sql, game, &error))
        return true;
    m_dialogs.message(this, "The pays of this game cannot be read: " + error, kProgramTitle,
                      Dialogs::Icon::Warning);
    return false;
}

template <typename Work, typename Finish> void SessionPlannerWindow::startRun(Work work, Finish finish)
{
    if (m_worker.joinable())
        m_worker.join();
    m_stop = false;
    m_running = true;
    setFieldsEnabled(false);
    m_escapeLabel->show();
    m_progressBar->setValue(0);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    m_worker = std::thread([this, work = std::move(work), finish = std::move(finish)] {
        const PlanProgress progress = [this](double done) {
            m_progress.post(this, done, [this](double latest) {
                if (m_running)
                    m_progressBar->setValue(static_cast<int>(1000 * latest));
            });
        };
        auto outcome = work(progress, &m_stop);
        QMetaObject::invokeMethod(
            this,
            [this, finish, outcome = std::move(outcome)] {
                endRun();
                finish(outcome);
            },
            Qt::QueuedConnection);
    });
}

void SessionPlannerWindow::endRun()
{
    if (m_worker.joinable())
        m_worker.join();
    m_running = false;
    setFieldsEnabled(true);
    m_escapeLabel->hide();
    QApplication::restoreOverrideCursor();
}

void SessionPlannerWindow::setFieldsEnabled(bool enabled)
{
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_betEdit, m_creditsEdit, m_gamesEdit, m_targetEdit, m_floorEdit,
                                         m_calculateButton, m_compareButton})
        control->setEnabled(enabled);
}

PlanOptions SessionPlannerWindow::runOptions()
{
    PlanOptions options = m_options;
    // The program's generator gives the seed, so a fixed RandomSeed repeats a simulated plan.
    if (options.seed == 0)
        options.seed =
            (static_cast<std::uint64_t>(m_random.next()) << 32) | m_random.next();
    return options;
}

void SessionPlannerWindow::calculatePlan()
{
    if (m_running)
        return;
    if (m_markedCount == 0) {
        m_dialogs.message(this, "Go Back to Game and pick numbers to run this feature.");
        return;
    }
    const std::optional<SessionPlan> plan = readPlan();
    KenoGame game;
    if (!plan || !readGame(&game))
        return;
    const PlanOptions options = runOptions();

    clearResults();
    m_plan = *plan;
    m_resultsTabWidget->setCurrentWidget(m_figuresGrid);
    m_methodLabel->setText("Calculating...");
    startRun(
        [ticket = ExactGameOf(game, m_markedCount), plan = *plan, options](const PlanProgress& progress,
                                                                           const std::atomic<bool>* stop) {
            return PlanSession(BoardPlanStep(ticket, plan.bet), plan, options, progress, stop);
        },
        [this](const SessionPlanResult& result) { showResult(result); });
}

void SessionPlannerWindow::compareMarkedCounts()
{
    if (m_running)
        return;
    const std::optional<SessionPlan> plan = readPlan();
    KenoGame game;
    if (!plan || !readGame(&game))
        return;
    const PlanOptions options = runOptions();

    m_comparedPlan = *plan;
    m_comparisonGrid->setRowCount(0);
    m_resultsTabWidget->setCurrentWidget(m_comparisonGrid);
    m_methodLabel->setText("Comparing the marked counts...");
    startRun(
        [game, plan = *plan, options](const PlanProgress& progress, const std::atomic<bool>* stop) {
            const std::vector<PlanCandidate> candidates =
                MarkedCountCandidates([&game](int marked) { return ExactGameOf(game, marked); }, plan.bet);
            return ComparePlans(candidates, plan, options, progress, stop);
        },
        [this](const std::vector<PlanComparisonRow>& rows) { showComparison(rows); });
}

void SessionPlannerWindow::waitForRun()
{
    while (m_running)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool SessionPlannerWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && m_running &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            m_stop = true;
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SessionPlannerWindow::closeEvent(QCloseEvent* event)
{
    // Closing stops a calculation; its end is still shown, so the window opens again idle.
    m_stop = true;
    event->accept();
}

} // namespace tallyhawk
