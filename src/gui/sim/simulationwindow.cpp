#include "simulationwindow.h"

#include "db/paytable.h"
#include "db/sessions.h"
#include "engine/common/gamelistentry.h"
#include "engine/common/numberforms.h"
#include "engine/play/deck.h"
#include "engine/sim/sessionstats.h"
#include "gui/common/commandbutton.h"
#include "gui/common/dialogs.h"
#include "gui/common/module2.h"
#include "gui/common/readout.h"
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
#include <QScreen>
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

// The count as the board's "MARKED  n" shows it after its sixth character.
QString markedText(int marked)
{
    return "  " + qs(StrForm(marked));
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

SimulationWindow::SimulationWindow(Module2& module2, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_module2(module2), m_dialogs(dialogs)
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
    TextGame = box(this, "TextGame");
    TextGame->setFont(uiFont("Courier New", 10));
    TextEscape = new QLabel("Press <Esc> to stop", this);
    TextEscape->setObjectName("TextEscape");
    TextEscape->setFont(uiFont("Arial", 10, true));
    TextEscape->setStyleSheet("color: #a00000;");
    TextEscape->hide();

    ResultsTable = new QWidget(this);
    ResultsTable->setObjectName("ResultsTable");
    auto cell = [this](const QString& name, int i, const QString& text) {
        Readout* readout = box(ResultsTable, name + QString::number(i), text);
        readout->setAlignment(Qt::AlignCenter);
        readout->setColours(Qt::white, Qt::black);
        // The cells fill their rows, so that the rulings between rows are as thin as those
        // between columns.
        readout->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        return readout;
    };
    for (int i = 0; i < 13; ++i) {
        const QString label = i <= 10 ? QString::number(i) : i == kHeaderRow ? "Catch" : "  Bonus";
        CatchLabel[i] = cell("CatchLabel", i, label);
        Catch[i] = cell("Catch", i, i == kHeaderRow ? "Frequency" : "");
        Pay[i] = cell("Pay", i, i == kHeaderRow ? "Pays" : "");
        SubTotal[i] = cell("SubTotal", i, i == kHeaderRow ? "Win" : "");
    }
    TextMarked = box(this, "TextMarked");
    TextBetTotal = box(this, "TextBetTotal");
    TextWinTotal = box(this, "TextWinTotal");
    TextPercent = box(this, "TextPercent");
    TextExact = box(this, "TextExact");
    TextExact->setFont(uiFont("Arial", 9));
    TextInterval = box(this, "TextInterval");
    TextInterval->setFont(uiFont("Arial", 9));
    ProgressRun = new QProgressBar(this);
    ProgressRun->setObjectName("ProgressRun");
    ProgressRun->setRange(0, 1000);
    ProgressRun->setValue(0);
    TextSpeed = new QLabel(this);
    TextSpeed->setObjectName("TextSpeed");
    ProgressTest = new QProgressBar(this);
    ProgressTest->setObjectName("ProgressTest");
    ProgressTest->setRange(0, 1000);
    ProgressTest->setValue(0);
    ProgressTest->hide();
    TextTestSpeed = new QLabel(this);
    TextTestSpeed->setObjectName("TextTestSpeed");
    TextTestSpeed->hide();

    CommandOptions = button(this, "CommandOptions", "PGM OPTIONS", "View/Edit Program Defaults");
    CommandBack = button(this, "CommandBack", "BACK TO GAME", "Press <Esc> to stop.");
    CommandCompute = button(this, "CommandCompute", "START SIM FOR PAYOUT %", "Press <Esc> to stop.");
    CommandTest = button(this, "CommandTest", "TEST FOR RANDOMNESS", "Press <Esc> to stop.");
    connect(CommandBack, &QPushButton::clicked, this, &SimulationWindow::CommandBack_Click);
    connect(CommandOptions, &QPushButton::clicked, this, &SimulationWindow::CommandOptions_Click);
    CommandCharts =
        button(this, "CommandCharts", "CHARTS", "Session histogram and catch frequencies of the last run");
    CommandCharts->setEnabled(false);
    connect(CommandCharts, &QPushButton::clicked, this, [this] {
        if (!m_charts)
            m_charts = new ChartsWindow(m_dialogs, this);
        m_charts->showRun(m_lastRun);
    });
    CommandPlanner = button(this, "CommandPlanner", "SESSION PLANNER",
                            "Plan a session: bet, credits, games, target and floor, with the risk of ruin");
    connect(CommandPlanner, &QPushButton::clicked, this,
            [this] { emit plannerRequested(m_game, m_markedCount); });
    connect(CommandCompute, &QPushButton::clicked, this, &SimulationWindow::CommandCompute_Click);
    connect(CommandTest, &QPushButton::clicked, this, &SimulationWindow::CommandTest_Click);

    GridCounts = new QTableView(this);
    GridCounts->setObjectName("GridCounts");
    m_countsModel = new QStandardItemModel(8, 11, this);
    QStringList captions{"Range"};
    for (int c = 1; c <= 10; ++c)
        captions << QStringLiteral("C%1").arg(c);
    m_countsModel->setHorizontalHeaderLabels(captions);
    GridCounts->setModel(m_countsModel);
    GridCounts->verticalHeader()->hide();
    GridCounts->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    GridCounts->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    GridCounts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridCounts->setToolTip(
        "Each number's count less its expected count; red above, blue below what a uniform draw "
        "gives");
    GridCounts->hide();
}

void SimulationWindow::layOutControls()
{
    // The results table: header row (index 11) on top, catches 0 to 10, the bonus row
    // (index 12) at the bottom; thin rulings between the cells.
    auto* table = new QGridLayout(ResultsTable);
    table->setSpacing(1);
    table->setContentsMargins(1, 1, 1, 1);
    QPalette rulings = ResultsTable->palette();
    rulings.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    ResultsTable->setPalette(rulings);
    ResultsTable->setAutoFillBackground(true);
    const int order[13] = {kHeaderRow, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, kBonusRow};
    for (int row = 0; row < 13; ++row) {
        const int i = order[row];
        table->addWidget(CatchLabel[i], row, 0);
        table->addWidget(Catch[i], row, 1);
        table->addWidget(Pay[i], row, 2);
        table->addWidget(SubTotal[i], row, 3);
    }
    table->setColumnStretch(0, 2);
    for (int column = 1; column < 4; ++column)
        table->setColumnStretch(column, 3);

    auto* views = new QGridLayout;
    views->addWidget(ResultsTable, 0, 0);
    views->addWidget(GridCounts, 0, 0);

    auto* progress = new QHBoxLayout;
    progress->addWidget(ProgressRun, 1);
    progress->addWidget(TextSpeed);
    progress->addWidget(ProgressTest, 1);
    progress->addWidget(TextTestSpeed);

    auto* leftButtons = new QVBoxLayout;
    leftButtons->addWidget(CommandOptions);
    leftButtons->addWidget(CommandBack);
    auto* rightButtons = new QVBoxLayout;
    rightButtons->addWidget(CommandTest);
    rightButtons->addWidget(CommandCompute);
    auto* buttons = new QHBoxLayout;
    buttons->addLayout(leftButtons);
    buttons->addStretch();
    buttons->addWidget(TextEscape);
    buttons->addStretch();
    buttons->addWidget(CommandPlanner, 0, Qt::AlignBottom);
    buttons->addWidget(CommandCharts, 0, Qt::AlignBottom);
    buttons->addLayout(rightButtons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TextGame);
    layout->addLayout(views, 1);
    for (QWidget* line : {TextMarked, TextBetTotal, TextWinTotal, TextPercent, TextExact, TextInterval})
        layout->addWidget(line);
    layout->addLayout(progress);
    layout->addLayout(buttons);
}

void SimulationWindow::Form_Load()
{
    m_loaded = true;
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    showPayoutView();
}

void SimulationWindow::showPayoutView()
{
    ResultsTable->show();
    for (QWidget* line : std::initializer_list<QWidget*>{TextBetTotal, TextPercent, TextWinTotal, TextMarked,
                                                         TextExact, TextInterval, ProgressRun, TextSpeed})
        line->show();
    GridCounts->hide();
    ProgressTest->hide();
    TextTestSpeed->hide();
}

void SimulationWindow::clearResults()
{
    for (int i = 0; i <= kBonusRow; ++i) {
        if (i == kHeaderRow)
            continue;
        Catch[i]->clear();
        SubTotal[i]->clear();
        Pay[i]->clear();
    }
    TextBetTotal->setText("Total Credits Bet =");
    TextPercent->setText("Total Pct Return =");
    TextWinTotal->setText("Total Winnings =");
    ProgressRun->setValue(0);
    TextSpeed->clear();
    TextExact->clear();
    TextInterval->clear();
    forgetLastRun();
}

void SimulationWindow::forgetLastRun()
{
    m_lastRun = {};
    CommandCharts->setEnabled(false);
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

void SimulationWindow::handOff(const QString& boardGameText, int markedCount)
{
    // Results stay while they belong to the same game and count.
    const bool sameTicket = !m_loaded || (m_game == boardGameText && m_markedCount == markedCount);
    if (!m_loaded) {
        Form_Load();
        m_module2.gCurrentGameName = boardGameText;
    }
    if (!sameTicket)
        clearResults();
    m_game = boardGameText;
    m_markedCount = markedCount;
    TextGame->setText(boardGameText);
    TextGame->setCursorPosition(0);
    TextMarked->setText("Numbers Marked  = " + QString::number(markedCount));
    show();
    raise();
}

void SimulationWindow::setButtonsEnabled(bool enabled)
{
    for (QPushButton* command : {CommandBack, CommandCompute, CommandTest, CommandOptions})
        command->setEnabled(enabled);
    CommandCharts->setEnabled(enabled && m_lastRun.games > 0);
}

void SimulationWindow::CommandBack_Click()
{
    TextGame->show();
    setButtonsEnabled(true);
    emit backToGame();
    hide();
}

void SimulationWindow::CommandOptions_Click()
{
    emit optionsRequested();
}

bool SimulationWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape)
                m_module2.gLastKey = kEscape;
            else if (!key->text().isEmpty())
                m_module2.gLastKey = static_cast<std::int16_t>(key->text().at(0).unicode());
            if (m_module2.gLastKey == kEscape && m_running)
                m_stop = true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::optional<std::int64_t> SimulationWindow::askGameCount()
{
    const std::optional<QString> answer =
        m_dialogs.input(this, "Enter the number of games to play in this simulation, then click 'OK'.",
                        kProgramTitle, qs(PlainForm(m_module2.gSimGames)));
    if (!answer || answer->trimmed().isEmpty())
        return std::nullopt;
    const double value = LeadingNumber(answer->toStdString());
    if (value <= 0)
        return std::nullopt;
    if (value > static_cast<double>(kMaxSimulationGames)) {
        m_dialogs.message(this, "Do not enter a number greater than one billion.");
        return std::nullopt;
    }
    // Only a clean whole number runs: "12abc", "1,000" or "0.4" would otherwise run some other count.
    const auto number = ParseNumber(answer->toStdString());
    if (!number || *number != RoundHalfEven(*number)) {
        m_dialogs.message(this, "Enter the number of games as a whole number from 1 to 1000000000, without "
                                "letters or separators.");
        return std::nullopt;
    }
    return static_cast<std::int64_t>(*number);
}

void SimulationWindow::CommandCompute_Click()
{
    if (m_running)
        return;
    TextGame->show();
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
    if (!ReadGame(m_module2.gDatabase, m_module2.gCurrentGameSql, &game, &error)) {
        m_dialogs.message(this, "The pays of this game cannot be read: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
        return;
    }
    std::vector<int> ticket;
    for (int j = 1; j <= 10; ++j)
        if (m_module2.gMarkedNumbers[j] != 0)
            ticket.push_back(m_module2.gMarkedNumbers[j]);
    if (m_module2.gRandomPickForSim)
        ticket.resize(static_cast<std::size_t>(std::clamp(marked, 1, 10))); // only the count matters
    SimulationInput input = BuildSimulationInput(game, ticket, m_module2.gRandomPickForSim, *games);
    m_pays = game.pays(marked);
    for (int c = 0; c <= 10; ++c)
        Pay[c]->setText(game.hasRow(c) ? qs(PlainForm(m_pays[c])) : QString());
    if (game.bonusRow())
        CatchLabel[kBonusRow]->setText("Bonus");
    showExactOdds(game, marked);
    if (const std::string refusal = CheckSimulationInput(input); !refusal.empty()) {
        m_dialogs.message(this, qs(refusal));
        return;
    }

    m_module2.gLastKey = 0;
    m_stop = false;
    forgetLastRun(); // the charts wait for this run
    setButtonsEnabled(false);
    TextEscape->show();
    TextWinTotal->setText("Total Winnings = ");
    TextBetTotal->setText("Total Credits Bet = ");
    TextMarked->setText("Numbers Marked = " + markedText(marked));
    Catch[kBonusRow]->clear();
    SubTotal[kBonusRow]->clear();
    ProgressRun->setValue(0);
    TextSpeed->clear();
    TextInterval->clear();

    // The shared deck takes its pass as any draw does; the run's own streams come from one
    // seed drawn from the program's generator, so a fixed seed repeats the run.
    ShuffleDeck(m_module2.gDrawDeck, m_module2.gRandom);
    input.seed = (static_cast<std::uint64_t>(m_module2.gRandom.next()) << 32) | m_module2.gRandom.next();
    m_runOrigin = {ParseGameListEntry(m_game.toStdString()), ticket, input.randomPicks, 0, input.seed};
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
        TextExact->setText("Exact Pct Return: not available (" + qs(m_exact.error) + ")");
        return;
    }
    TextExact->setText(
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
        Catch[c]->setText(qs(PlainForm(static_cast<double>(totals.catchFrequency[c]))));
        if (!Pay[c]->text().isEmpty())
            SubTotal[c]->setText(qs(PlainForm(m_pays[c] * static_cast<double>(totals.catchFrequency[c]))));
    }
    if (totals.bonusEvents > 0)
        Catch[kBonusRow]->setText(qs(PlainForm(static_cast<double>(totals.bonusEvents))));
    if (totals.bonusWinnings > 0)
        SubTotal[kBonusRow]->setText(qs(PlainForm(totals.bonusWinnings)));
    TextWinTotal->setText("Total Winnings = " + qs(StrForm(totals.totalWinnings())));
    TextBetTotal->setText("Total Credits Bet = " + qs(StrForm(static_cast<double>(totals.gamesPlayed))));
    TextPercent->setText("Total Pct Return = " + qs(FormatTwoDecimals(totals.percentReturn())));
    ProgressRun->setValue(static_cast<int>(1000.0 * static_cast<double>(totals.gamesPlayed) /
                                           static_cast<double>(std::max<std::int64_t>(1, m_runGames))));
    const double seconds = std::max<qint64>(1, QDateTime::currentMSecsSinceEpoch() - m_runStartedMs) / 1000.0;
    // Written as every figure of the window is, whatever the desktop's language.
    TextSpeed->setText(qs(PlainForm(std::round(static_cast<double>(totals.gamesPlayed) / seconds))) +
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
    TextEscape->hide();
    if (!result.error.empty())
        m_dialogs.message(this, qs(result.error), kProgramTitle, Dialogs::Icon::Warning);
    const std::optional<ReturnInterval> interval =
        m_exact.ok() ? SimulatedReturnInterval(result.percentReturn(), m_exact.simulation.standardDeviation,
                                               result.gamesPlayed)
                     : std::nullopt;
    if (interval) {
        const bool inside = interval->contains(m_exact.simulation.returnPct);
        TextInterval->setText(
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
    const QString sessionsPath = QDir(m_module2.gDataFolder).filePath(kSessionsFileName);
    if (!WriteReportFile(
            sessionsPath.toStdString(),
            SessionsCsvText(histogram, TextGame->text().toStdString(), TextMarked->text().toStdString()),
            &error))
        faults << qs(error);
    const std::vector<std::int32_t> folded = FoldSessionHistogram(histogram);
    QString tableError;
    if (!WriteSessionsTable(m_module2.gDatabase, folded, m_module2.gCurrentGameName, m_markedCount,
                            result.totalWinnings(), &tableError))
        faults << "The table \"Sessions\" could not be written: " + tableError;
    std::string summary = SessionSummaryText(ComputeSessionFigures(folded), TextGame->text().toStdString(),
                                             TextMarked->text().toStdString(), result.gamesPlayed,
                                             TextPercent->text().toStdString());
    // The exact figures stand before the closing question, so the saved report keeps them too.
    const std::string question = "Do You Wish to Save or Print These Results?";
    if (summary.size() >= question.size() &&
        summary.compare(summary.size() - question.size(), question.size(), question) == 0)
        summary.insert(summary.size() - question.size(),
                       RunOriginLines(origin) + "\r\n" + exactSessionLines());

    m_lastRun = {};
    m_lastRun.game = TextGame->text();
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
    CommandCharts->setEnabled(true);
    QApplication::restoreOverrideCursor();
    if (!faults.isEmpty())
        m_dialogs.message(this, faults.join("\n\n"), kProgramTitle, Dialogs::Icon::Warning);
    if (!m_dialogs.askYesNo(this, qs(summary).replace("\r\n", "\n"), "Simulation Summary",
                            Dialogs::Icon::None))
        return;
    const QString statsPath = QDir(m_module2.gDataFolder).filePath(kStatsFileName);
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
    emit endProgramRequested(TextGame->text());
}

} // namespace tallyhawk
