#include "boardwindow.h"

#include "boardgrid.h"
#include "db/database.h"
#include "db/defaults.h"
#include "db/paytable.h"
#include "db/repair.h"
#include "engine/common/numberforms.h"
#include "gui/common/commandbutton.h"
#include "gui/common/dialogs.h"
#include "gui/common/gamelistcombo.h"
#include "gui/common/module2.h"
#include "gui/common/readout.h"
#include "gui/common/uifonts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTextDocument>
#include <QVBoxLayout>

namespace tallyhawk {

namespace {

// The window's size in pixels at 96 dots per inch (its controls span 11,055 by 8,000 twips).
constexpr QSize kDefaultSize{761, 548};

// A display of the board: yellow on navy, as the board's numbers are, so that it reads as a
// meter and not as a box to type into.
Readout* displayBox(QWidget* parent, const char* name, int points = 10, bool bold = true)
{
    auto* box = new Readout(parent);
    box->setObjectName(name);
    box->setFont(uiFont("Arial", points, bold));
    box->setColours(BoardGrid::kBoardColour, BoardGrid::kNumberColour);
    return box;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& tooltip)
{
    QPushButton* command = makeCommandButton(parent, name, caption, tooltip, 57);
    command->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return command;
}

} // namespace

BoardWindow::BoardWindow(Module2& module2, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_module2(module2), m_dialogs(dialogs), m_pictures(dialogs, this)
{
    setObjectName("boardWindow");
    setWindowTitle("Orrinford's Tallyhawk Ver 3.0");
    buildControls();
    layOutControls();
    resize(kDefaultSize);
    m_playTimer.setSingleShot(true);
    m_playTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_playTimer, &QTimer::timeout, this, &BoardWindow::playNextActions);
    // The window sees key presses before its controls, so CTRL is known whichever has the focus.
    qApp->installEventFilter(this);
}

BoardWindow::~BoardWindow()
{
    qApp->removeEventFilter(this);
    if (m_module2.gDatabase.isValid())
        emit databaseClosing();
    closeDatabase(m_module2.gDatabase);
}

bool BoardWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (key->key() == Qt::Key_Control && widget && widget->window() == this)
            mBetStep = event->type() == QEvent::KeyPress ? -1 : 1;
    }
    return QWidget::eventFilter(watched, event);
}

void BoardWindow::changeEvent(QEvent* event)
{
    // A CTRL released while another window had the focus must not leave the bet stepping down.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        mBetStep = 1;
    QWidget::changeEvent(event);
}

void BoardWindow::buildControls()
{
    ComboGameList = makeGameListCombo(this);
    ComboGameList->setToolTip("Select Keno Game");
    connect(ComboGameList, &QComboBox::activated, this, &BoardWindow::ComboGameList_Click);

    TextOdds = new QPlainTextEdit(this);
    TextOdds->setObjectName("TextOdds");
    TextOdds->setReadOnly(true);
    TextOdds->setFont(uiFont("Arial", 9, true));
    TextOdds->setFocusPolicy(Qt::NoFocus);

    MSFlexBoard = new BoardGrid(this);
    // The notices show over the board while it is hidden: it keeps its room meanwhile.
    QSizePolicy boardPolicy = MSFlexBoard->sizePolicy();
    boardPolicy.setRetainSizeWhenHidden(true);
    MSFlexBoard->setSizePolicy(boardPolicy);
    connect(MSFlexBoard, &QTableWidget::cellClicked, this, &BoardWindow::MSFlexBoard_Click);

    TextFreeNotice = new QPlainTextEdit(this);
    TextFreeNotice->setObjectName("TextFreeNotice");
    TextFreeNotice->setReadOnly(true);
    TextFreeNotice->setFont(uiFont("Arial", 20, true));
    TextFreeNotice->setFocusPolicy(Qt::NoFocus);
    TextFreeNotice->setFixedSize(401, 225);
    TextFreeNotice->document()->setDefaultTextOption(QTextOption(Qt::AlignCenter));
    TextFreeNotice->setStyleSheet("QPlainTextEdit { background: #000080; color: #FFFF00; }");
    TextFreeNotice->hide();

    TextMarked = displayBox(this, "TextMarked");
    // The draw parks the focus here; a read-only box shows no caret.
    TextMarked->setFocusPolicy(Qt::ClickFocus);
    TextHitCount = displayBox(this, "TextHitCount");
    auto* betLabel = new Readout(this, "BET");
    betLabel->setObjectName("TextBetLabel");
    betLabel->setFont(uiFont("Arial", 10, true));
    TextBetLabel = betLabel;
    TextBet = displayBox(this, "TextBet");
    TextWin = displayBox(this, "TextWin");

    Label1 = new QLabel("CREDIT", this);
    Label1->setObjectName("Label1");
    Label1->setFont(uiFont("Arial", 18, true));
    TextCredits = displayBox(this, "TextCredits", 18);
    TextFreeGamesRemaining = displayBox(this, "TextFreeGamesRemaining", 12);
    // The counter comes and goes during a play: its room stays, so nothing else moves.
    QSizePolicy counterPolicy = TextFreeGamesRemaining->sizePolicy();
    counterPolicy.setRetainSizeWhenHidden(true);
    TextFreeGamesRemaining->setSizePolicy(counterPolicy);
    TextFreeGamesRemaining->hide();

    CommandPays =
        button(this, "CommandPays", "SEE PAYS && HELP", "View Pay Table for Current Game and Other Features");
    CommandAdvanced = button(this, "CommandAdvanced", "ADVANCED", "Simulated Play and Program Options");
    CommandAdd = button(this, "CommandAdd", "ADD CREDITS", "Add Credits to Total");
    CommandBet = button(this, "CommandBet", " BET ONE", "Click to increase bet; CTRL-Click to decrease bet");
    CommandErase = button(this, "CommandErase", "ERASE", "Clear the Keno Board");
    CommandQuickPick = button(this, "CommandQuickPick", "QUICK PICK", "Random Number Pick");
    CommandQuickPick->setEnabled(false);
    CommandStart = button(this, "CommandStart", "START", "Begin New Draw");
    connect(CommandErase, &QPushButton::clicked, this, &BoardWindow::CommandErase_Click);
    connect(CommandPays, &QPushButton::clicked, this, &BoardWindow::CommandPays_Click);
    connect(CommandAdvanced, &QPushButton::clicked, this, &BoardWindow::CommandAdvanced_Click);
    connect(CommandQuickPick, &QPushButton::clicked, this, &BoardWindow::CommandQuickPick_Click);
    connect(CommandBet, &QPushButton::clicked, this, &BoardWindow::CommandBet_Click);
    connect(CommandAdd, &QPushButton::clicked, this, &BoardWindow::CommandAdd_Click);
    connect(CommandStart, &QPushButton::clicked, this, &BoardWindow::CommandStart_Click);
    connect(TextBet, &QLineEdit::textChanged, this, &BoardWindow::TextBet_Change);
    connect(TextCredits, &QLineEdit::textChanged, this, &BoardWindow::TextCredits_Change);

    TextHits = displayBox(this, "TextHits", 10, false);
    TextHits->setFont(uiFont("MS Sans Serif", 10));
}

void BoardWindow::layOutControls()
{
    // Game list across the top; pays listing at the left with the marked, hits, bet and win
    // displays under it; the board at the right (the bonus notices over it); the credit
    // line, the row of seven buttons and the results line below.
    auto* betLine = new QHBoxLayout;
    betLine->setSpacing(5);
    betLine->addWidget(TextBetLabel, 1);
    betLine->addWidget(TextBet, 2);

    auto* left = new QVBoxLayout;
    left->setSpacing(1);
    left->addWidget(TextOdds, 1);
    left->addSpacing(15);
    left->setContentsMargins(0, 0, 8, 0);
    auto* displays = new QVBoxLayout;
    displays->setSpacing(1);
    displays->setContentsMargins(16, 0, 0, 0);
    displays->addWidget(TextMarked);
    displays->addWidget(TextHitCount);
    displays->addLayout(betLine);
    displays->addWidget(TextWin);
    left->addLayout(displays);

    auto* middle = new QGridLayout;
    middle->setSpacing(0);
    middle->addLayout(left, 0, 0);
    middle->addWidget(MSFlexBoard, 0, 1);
    middle->addWidget(TextFreeNotice, 0, 1, Qt::AlignCenter);
    middle->setColumnStretch(0, 145);
    middle->setColumnStretch(1, 560);

    auto* creditLine = new QHBoxLayout;
    creditLine->addWidget(Label1, 0);
    creditLine->addWidget(TextCredits, 3);
    creditLine->addStretch(2);
    creditLine->addWidget(TextFreeGamesRemaining, 5);
    Label1->setMinimumWidth(121);
    TextCredits->setMinimumHeight(33);
    TextFreeGamesRemaining->setMinimumHeight(26);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    for (QPushButton* command :
         {CommandPays, CommandAdvanced, CommandAdd, CommandBet, CommandErase, CommandQuickPick, CommandStart})
        buttons->addWidget(command);
    buttons->setStretch(0, 113);
    buttons->setStretch(1, 129);
    buttons->setStretch(2, 105);
    buttons->setStretch(3, 73);
    buttons->setStretch(4, 81);
    buttons->setStretch(5, 89);
    buttons->setStretch(6, 89);

    auto* hitsLine = new QHBoxLayout;
    hitsLine->setContentsMargins(56, 0, 8, 0);
    hitsLine->addWidget(TextHits);

    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(24, 8, 24, 8);
    layout->setSpacing(8);
    layout->addWidget(ComboGameList);
    layout->addSpacing(8);
    layout->addLayout(middle, 1);
    layout->addLayout(creditLine);
    layout->addLayout(buttons);
    layout->addLayout(hitsLine);

    // On a screen smaller than the window, the board scrolls inside it instead of overflowing.
    auto* content = new QWidget;
    content->setLayout(layout);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("BoardScroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->addWidget(scroll);

    // The tab order follows the layout: the game list, the board, the buttons left to right.
    QWidget* previous = ComboGameList;
    for (QWidget* next :
         std::initializer_list<QWidget*>{MSFlexBoard, CommandPays, CommandAdvanced, CommandAdd, CommandBet,
                                         CommandErase, CommandQuickPick, CommandStart}) {
        setTabOrder(previous, next);
        previous = next;
    }
}

void BoardWindow::placeOnScreen(const QRect& available)
{
    // The window manager's frame is not known before the window is shown: room is left for a
    // usual one, so that on a small screen the whole window shows and the board scrolls in it.
    const QSize frame(16, 40);
    resize(kDefaultSize.boundedTo(available.size() - frame));
    const QPoint centred = available.center() - rect().center();
    move(std::max(centred.x(), available.left()), std::max(centred.y(), available.top()));
}

void BoardWindow::keyPressEvent(QKeyEvent* event)
{
    // Enter plays, wherever the focus is on the board (a button or the grid passes it on).
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && CommandStart->isEnabled() &&
        !m_playing) {
        CommandStart->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool BoardWindow::openDatabase()
{
    const QString connection = QStringLiteral("tallyhawk-%1").arg(reinterpret_cast<quintptr>(&m_module2));
    DatabaseOpening opening = tallyhawk::openDatabase(m_module2.gDatabasePath, connection);
    if (!opening.ok()) {
        m_dialogs.message(this,
                          opening.error + "\n\nTallyhawk will now close; the file has not been changed.",
                          kProgramTitle, Dialogs::Icon::Critical);
        return false;
    }
    m_module2.gDatabase = opening.db;
    m_pictures.setFolder(QDir(m_module2.gProgramFolder).filePath("images"));
    emit databaseOpened();
    return true;
}

bool BoardWindow::Form_Load()
{
    if (!openDatabase())
        return false;
    QSqlDatabase db = m_module2.gDatabase;

    if (!isMinimized() && !isMaximized()) {
        if (const QScreen* screen = QApplication::primaryScreen())
            placeOnScreen(screen->availableGeometry());
    }
    if (const QScreen* screen = QApplication::primaryScreen();
        screen && screen->size().width() < kMinimumScreenWidth)
        m_dialogs.message(
            this, "For best results, you should reset the screen resolution to minimum 800 x 600 pixels.");

    ProgramDefaults defaults;
    QString error;
    QStringList setAside;
    if (!ReadDefaults(db, &defaults, &error, &setAside)) {
        m_dialogs.message(this,
                          QStringLiteral("The program options cannot be read from %1. %2")
                              .arg(QDir::toNativeSeparators(m_module2.gDatabasePath), error),
                          kProgramTitle, Dialogs::Icon::Critical);
        return false;
    }
    if (!setAside.isEmpty())
        m_dialogs.message(
            this,
            setAside.join("\n") +
                "\n\nTallyhawk uses the value of a new database instead; PGM OPTIONS stores new ones.",
            kProgramTitle, Dialogs::Icon::Warning);

    // Rows that older versions stored out of every window's reach are mended once and said so.
    CatalogueRepair repair;
    if (!RepairCatalogue(db, &repair, &error))
        m_dialogs.message(this, "The pay table could not be repaired: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
    else if (repair.repaired())
        m_dialogs.message(this, repair.description(), kProgramTitle, Dialogs::Icon::Information);

    // A failed clean-up changes nothing (one transaction); the catalogue is still usable.
    if (!CleanPayTable(db, &error))
        m_dialogs.message(this, "The pay table could not be tidied up: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);

    std::vector<GameKey> games;
    if (!ReadGameList(db, &games, &error))
        m_dialogs.message(this, "The list of games cannot be read: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
    fillGameList(ComboGameList, games);
    // The saved game is stored as its list entry: the item that shows that entry.
    const std::string saved = CaseFold(TrimBlanks(defaults.StartupGame));
    ComboGameList->setCurrentIndex(-1);
    for (int i = 0; i < ComboGameList->count(); ++i) {
        if (CaseFold(TrimBlanks(ComboGameList->itemText(i).toStdString())) == saved) {
            ComboGameList->setCurrentIndex(i);
            break;
        }
    }
    if (ComboGameList->currentIndex() < 0)
        ComboGameList->setEditText(QString::fromStdString(defaults.StartupGame));
    m_module2.gCurrentGame = currentGameKey(ComboGameList);
    showCredits(defaults.SaveCredits, PlainForm);
    m_creditsSaved = defaults.SaveCredits;
    m_module2.gCurrentGameSql = GameSql(m_module2.gCurrentGame);
    emit gameListLoaded(games, m_module2.gCurrentGame);
    m_module2.gStartupCredits = defaults.StartupCredits;
    m_module2.gShowNumbers = defaults.ShowNumbers;
    m_module2.gSpeed = QString::fromStdString(defaults.Speed);
    m_module2.gRandomSeed = defaults.RandomSeed;
    m_module2.seedRandom();
    m_module2.gSimGames = defaults.SimGames;
    m_module2.gRandomPickForSim = defaults.RandomPickForSim;
    m_module2.gSoundOn = defaults.SoundON;

    MSFlexBoard->showNumbers();
    setOdds({});
    MSFlexBoard->applyGeometry();

    m_module2.gBetPrepaid = true;
    showBet(0, PlainForm);
    mBetStep = 1;

    ComboGameList_Click();

    for (int i = 1; i <= 80; ++i)
        m_module2.gDrawDeck[i] = i;
    return true;
}

void BoardWindow::ComboGameList_Click()
{
    TextFreeGamesRemaining->hide();
    TextFreeGamesRemaining->clear();
    if (!m_oddsText.trimmed().isEmpty())
        CommandErase_Click();
    m_module2.gCurrentGame = currentGameKey(ComboGameList);
    m_module2.gCurrentGameSql = GameSql(m_module2.gCurrentGame);
}

void BoardWindow::CommandErase_Click()
{
    m_module2.gCurrentGame = currentGameKey(ComboGameList);
    MSFlexBoard->showNumbers();
    setOdds({});
    for (auto& row : m_module2.gBoardMarks)
        row.fill(0);
    MSFlexBoard->applyGeometry();
    mMarkedCount = 0;
    TextMarked->setText("MARKED  " + QString::fromStdString(StrForm(mMarkedCount)));
    CommandQuickPick->setEnabled(false);
}

bool BoardWindow::Form_Unload()
{
    return ConfirmQuit(m_dialogs, this);
}

void BoardWindow::endProgram(const QString& startupGame)
{
    if (m_playing)
        finishPlayAtOnce();
    // The credits are saved whichever window the program is quit from, so that no win is lost.
    QString error;
    if (!SaveStartupState(m_module2.gDatabase, startupGame, creditsKept(), &error))
        m_dialogs.message(this, "The game and the credits could not be saved: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
    if (m_module2.gDatabase.isValid())
        emit databaseClosing();
    closeDatabase(m_module2.gDatabase);
    m_ended = true;
    emit programEnded();
}

void BoardWindow::closeEvent(QCloseEvent* event)
{
    if (m_ended || !isVisible()) {
        event->accept();
        return;
    }
    // A play in progress waits for the answer; on Yes it ends at once, so that the credits
    // saved are those of the whole play.
    // On No the pause goes on with the time it had left, so a notice keeps its full length.
    const bool wasPlaying = m_playing;
    const int pauseLeft = pauseRemainingMs();
    m_playTimer.stop();
    if (!Form_Unload()) {
        event->ignore();
        if (wasPlaying)
            m_playTimer.start(std::max(0, pauseLeft));
        return;
    }
    event->accept();
    endProgram(ComboGameList->currentText());
}

void BoardWindow::tidyBoardForLeaving()
{
    TextWin->setText("WIN     0");
    m_module2.gMarkedNumbers = CollectMarkedNumbers(m_module2.gBoardMarks);
    for (int row = 0; row < kBoardRows; ++row) {
        for (int column = 0; column < kBoardColumns && row != kSeparatorRow; ++column) {
            if (m_module2.gBoardMarks[row][column] == kMarked) {
                showCell(row, column, " ", Picture::BlueCheck);
            } else {
                showCell(row, column, QString::fromStdString(PlainForm(NumberOfCell(row, column))),
                         Picture::None);
                MSFlexBoard->setCellBackground(row, column, BoardGrid::kBoardColour);
            }
        }
    }
    m_module2.gBoardBet = static_cast<std::int16_t>(bet());
}

void BoardWindow::CommandPays_Click()
{
    tidyBoardForLeaving();
    m_catalogueGame = m_module2.gCurrentGame;
    emit catalogueRequested();
    hide();
}

void BoardWindow::CommandAdvanced_Click()
{
    tidyBoardForLeaving();
    emit simulationRequested(currentGameKey(ComboGameList), mMarkedCount);
    hide();
}

void BoardWindow::returnFromSimulation()
{
    showBet(m_module2.gBoardBet, StrForm);
    show();
    if (m_module2.gBoardBet > 0)
        CommandStart->setEnabled(true);
}

void BoardWindow::returnFromCatalogue(const GameKey& catalogueGame)
{
    show();
    ComboGameList->setFocus();
    showGame(ComboGameList, catalogueGame);
    showBet(m_module2.gBoardBet, StrForm);
    if (SameGameKey(currentGameKey(ComboGameList), m_catalogueGame) && mMarkedCount > 0) {
        // Back on the same game: the ticket stays, with the pays as they are stored now.
        m_module2.gCurrentGame = currentGameKey(ComboGameList);
        m_module2.gCurrentGameSql = GameSql(m_module2.gCurrentGame);
        showPaysList();
        return;
    }
    ComboGameList_Click();
}

void BoardWindow::setGameList(const std::vector<GameKey>& games)
{
    const GameKey current = currentGameKey(ComboGameList);
    const QString text = ComboGameList->currentText();
    fillGameList(ComboGameList, games);
    showGame(ComboGameList, current);
    if (ComboGameList->currentIndex() < 0)
        ComboGameList->setEditText(text);
}

} // namespace tallyhawk
