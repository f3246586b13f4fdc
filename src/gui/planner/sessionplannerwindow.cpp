#include "sessionplannerwindow.h"

#include "gui/common/chartparts.h"
#include "db/paytable.h"
#include "engine/common/numberforms.h"
#include "gui/common/commandbutton.h"
#include "gui/common/dialogs.h"
#include "gui/common/module2.h"
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
#include <QScreen>
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

SessionPlannerWindow::SessionPlannerWindow(Module2& module2, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_module2(module2), m_dialogs(dialogs)
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
    TextGame = line(this, "TextGame");
    TextGame->setFont(uiFont("Courier New", 10));
    TextMarked = line(this, "TextMarked");
    TextBet = field(this, "TextBet", "Credits bet on each paid game, 1 to 45");
    TextCredits = field(this, "TextCredits", "The credits you start with");
    TextGames = field(this, "TextGames", "The most paid games you will play, 1 to 100000");
    TextTarget = field(this, "TextTarget", "Stop once your credits reach this; leave blank to play on");
    TextFloor = field(this, "TextFloor",
                      "Stop when your credits fall below this; leave blank to stop when they "
                      "cannot cover the bet");
    CommandCalculate = button(this, "CommandCalculate", "CALCULATE", "Press <Esc> to stop.");
    CommandCompare = button(this, "CommandCompare", "COMPARE MARKED COUNTS",
                            "The same plan for every marked count from 1 to 10. Press <Esc> to stop.");
    CommandClose = button(this, "CommandClose", "CLOSE", "Back to the simulation");
    connect(CommandCalculate, &QPushButton::clicked, this, &SessionPlannerWindow::CommandCalculate_Click);
    connect(CommandCompare, &QPushButton::clicked, this, &SessionPlannerWindow::CommandCompare_Click);
    connect(CommandClose, &QPushButton::clicked, this, &QWidget::close);
    // Enter in a field calculates, as the button would.
    for (QLineEdit* box : {TextBet, TextCredits, TextGames, TextTarget, TextFloor})
        connect(box, &QLineEdit::returnPressed, this, &SessionPlannerWindow::CommandCalculate_Click);

    TextMethod = new QLabel(this);
    TextMethod->setObjectName("TextMethod");
    TextMethod->setFont(uiFont("Arial", 9, true));
    TextMethod->setWordWrap(true);
    TextEscape = new QLabel("Press <Esc> to stop", this);
    TextEscape->setObjectName("TextEscape");
    TextEscape->setFont(uiFont("Arial", 10, true));
    TextEscape->setStyleSheet("color: #a00000;");
    TextEscape->hide();
    ProgressPlan = new QProgressBar(this);
    ProgressPlan->setObjectName("ProgressPlan");
    ProgressPlan->setRange(0, 1000);
    ProgressPlan->setValue(0);

    TabResults = new QTabWidget(this);
    TabResults->setObjectName("TabResults");
    GridFigures = grid(TabResults, "GridFigures", {"Figure", "Value", "95% Interval"}, 0);
    GridComparison = grid(TabResults, "GridComparison",
                          {"Marked", "Reach\nTarget", "Ruined", "Play All\nGames", "End\nAhead",
                           "Mean End\nCredits", "Expected\nGames", "Method"},
                          7);
    TabResults->addTab(GridFigures, "Figures");
    TabResults->addTab(GridComparison, "Marked Counts Compared");

    ChartEndCredits = MakeChartView(this, "ChartEndCredits", {420, 240});
    ChartSurvival = MakeChartView(this, "ChartSurvival", {420, 240});
    CommandSaveEndCredits =
        button(this, "CommandSaveEndCredits", "SAVE AS PNG", "Save this chart as a picture");
    CommandSaveSurvival = button(this, "CommandSaveSurvival", "SAVE AS PNG", "Save this chart as a picture");
    connect(CommandSaveEndCredits, &QPushButton::clicked, this,
            [this] { SaveChartAsPng(this, m_dialogs, ChartEndCredits, "end-credits.png"); });
    connect(CommandSaveSurvival, &QPushButton::clicked, this,
            [this] { SaveChartAsPng(this, m_dialogs, ChartSurvival, "survival.png"); });
}

void SessionPlannerWindow::layOutControls()
{
    auto* fields = new QGridLayout;
    const std::pair<QLineEdit*, const char*> rows[] = {
        {TextBet, "Bet per game (credits)"},
        {TextCredits, "Starting credits"},
        {TextGames, "Games (at most)"},
        {TextTarget, "Stop at credits (target)"},
        {TextFloor, "Stop below credits (floor)"},
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
    commands->addWidget(CommandCalculate);
    commands->addWidget(CommandCompare);
    commands->addStretch();
    commands->addWidget(CommandClose);

    auto* plan = new QHBoxLayout;
    plan->addLayout(fields);
    plan->addLayout(commands);

    auto* left = new QVBoxLayout;
    left->addLayout(plan);
    left->addWidget(TextMethod);
    left->addWidget(TabResults, 1);

    auto* charts = new QVBoxLayout;
    for (auto [chart, save] :
         {std::pair{ChartEndCredits, CommandSaveEndCredits}, {ChartSurvival, CommandSaveSurvival}}) {
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
    progress->addWidget(ProgressPlan, 1);
    progress->addWidget(TextEscape);

    auto* layout = new QVBoxLayout(this);
    auto* ticket = new QHBoxLayout;
    ticket->addWidget(TextGame, 3);
    ticket->addWidget(TextMarked, 1);
    layout->addLayout(ticket);
    layout->addLayout(body, 1);
    layout->addLayout(progress);
}

void SessionPlannerWindow::Form_Load()
{
    m_loaded = true;
    // A first plan to start from: the board's bet for a hundred games, a hundred bets in hand.
    const int bet = std::clamp<int>(m_module2.gBoardBet, 1, kPlanMaxBet);
    TextBet->setText(QString::number(bet));
    TextCredits->setText(QString::number(100 * bet));
    TextGames->setText("100");
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    clearResults();
}

void SessionPlannerWindow::handOff(const GameKey& game, int markedCount)
{
    if (!m_loaded)
        Form_Load();
    else if (game != m_game || markedCount != m_markedCount)
        clearResults();
    m_game = game;
    m_markedCount = markedCount;
    TextGame->setText(GameListText(game));
    TextGame->setCursorPosition(0);
    TextMarked->setText("Numbers Marked = " + QString::number(markedCount));
    show();
    raise();
    activateWindow();
}

void SessionPlannerWindow::clearResults()
{
    m_result = {};
    GridFigures->setRowCount(0);
    GridComparison->setRowCount(0);
    TextMethod->setText("Enter a plan and click CALCULATE.");
    ProgressPlan->setValue(0);
    clearCharts();
    CommandSaveEndCredits->setEnabled(false);
    CommandSaveSurvival->setEnabled(false);
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
    if (!whole(TextBet, "The bet", false, &bet) ||
        !whole(TextCredits, "The starting credits", false, &credits) ||
        !whole(TextGames, "The number of games", false, &games) ||
        !whole(TextTarget, "The target", true, &target) || !whole(TextFloor, "The floor", true, &floor))
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
    if (ReadGame(m_module2.gDatabase, m_module2.gCurrentGameSql, game, &error))
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
    TextEscape->show();
    ProgressPlan->setValue(0);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    m_worker = std::thread([this, work = std::move(work), finish = std::move(finish)] {
        const PlanProgress progress = [this](double done) {
            m_progress.post(this, done, [this](double latest) {
                if (m_running)
                    ProgressPlan->setValue(static_cast<int>(1000 * latest));
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
    TextEscape->hide();
    QApplication::restoreOverrideCursor();
}

void SessionPlannerWindow::setFieldsEnabled(bool enabled)
{
    for (QWidget* control : std::initializer_list<QWidget*>{TextBet, TextCredits, TextGames, TextTarget,
                                                            TextFloor, CommandCalculate, CommandCompare})
        control->setEnabled(enabled);
}

PlanOptions SessionPlannerWindow::runOptions()
{
    PlanOptions options = m_options;
    // The program's generator gives the seed, so a fixed RandomSeed repeats a simulated plan.
    if (options.seed == 0)
        options.seed =
            (static_cast<std::uint64_t>(m_module2.gRandom.next()) << 32) | m_module2.gRandom.next();
    return options;
}

void SessionPlannerWindow::CommandCalculate_Click()
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
    TabResults->setCurrentWidget(GridFigures);
    TextMethod->setText("Calculating...");
    startRun(
        [ticket = ExactGameOf(game, m_markedCount), plan = *plan, options](const PlanProgress& progress,
                                                                           const std::atomic<bool>* stop) {
            return PlanSession(BoardPlanStep(ticket, plan.bet), plan, options, progress, stop);
        },
        [this](const SessionPlanResult& result) { showResult(result); });
}

void SessionPlannerWindow::CommandCompare_Click()
{
    if (m_running)
        return;
    const std::optional<SessionPlan> plan = readPlan();
    KenoGame game;
    if (!plan || !readGame(&game))
        return;
    const PlanOptions options = runOptions();

    m_comparedPlan = *plan;
    GridComparison->setRowCount(0);
    TabResults->setCurrentWidget(GridComparison);
    TextMethod->setText("Comparing the marked counts...");
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
