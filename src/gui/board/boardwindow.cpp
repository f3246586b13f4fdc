// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "boardwindow.h"

#include "boardgrid.h"
#include "db/defaults.h"
#include "engine/common/numberforms.h"
#include "gui/common/commandbutton.h"
#include "gui/common/dialogs.h"
#include "gui/common/gamelistcombo.h"
#include "gui/common/readout.h"
#include "gui/common/screenfit.h"
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

BoardWindow::BoardWindow(QSqlDatabase& database, const ProgramPaths& paths, CurrentGame& currentGame,
                         const ProgramOptions& options, KenoRandom& random, DrawDeck& deck, Dialogs& dialogs,
                         QWidget* parent)
    : QWidget(parent), m_database(database), m_paths(paths), m_currentGame(currentGame), m_options(options),
      m_random(random), m_deck(deck), m_dialogs(dialogs), m_pictures(dialogs, this)
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
    m_pictures.setFolder(QDir(m_paths.programFolder).filePath("images"));
}

BoardWindow::~BoardWindow()
{
    qApp->removeEventFilter(this);
}

bool BoardWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (key->key() == Qt::Key_Control && widget && widget->window() == this)
            m_betStep = event->type() == QEvent::KeyPress ? -1 : 1;
    }
    return QWidget::eventFilter(watched, event);
}

void BoardWindow::changeEvent(QEvent* event)
{
    // A CTRL released while another window had the focus must not leave the bet stepping down.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        m_betStep = 1;
    QWidget::changeEvent(event);
}

void BoardWindow::buildControls()
{
    gameListCombo = makeGameListCombo(this);
    gameListCombo->setToolTip("Select Keno Game");
    connect(gameListCombo, &QComboBox::activated, this, &BoardWindow::selectGame);

    paysListing = new QPlainTextEdit(this);
    paysListing->setObjectName("paysListing");
    paysListing->setReadOnly(true);
    paysListing->setFont(uiFont("Arial", 9, true));
    paysListing->setFocusPolicy(Qt::NoFocus);

    boardGrid = new BoardGrid(this);
    // The notices show over the board while it is hidden: it keeps its room meanwhile.
    QSizePolicy boardPolicy = boardGrid->sizePolicy();
    boardPolicy.setRetainSizeWhenHidden(true);
    boardGrid->setSizePolicy(boardPolicy);
    connect(boardGrid, &QTableWidget::cellClicked, this, &BoardWindow::toggleNumber);

    bonusNoticeEdit = new QPlainTextEdit(this);
    bonusNoticeEdit->setObjectName("bonusNoticeEdit");
    bonusNoticeEdit->setReadOnly(true);
    bonusNoticeEdit->setFont(uiFont("Arial", 20, true));
    bonusNoticeEdit->setFocusPolicy(Qt::NoFocus);
    bonusNoticeEdit->setFixedSize(401, 225);
    bonusNoticeEdit->document()->setDefaultTextOption(QTextOption(Qt::AlignCenter));
    bonusNoticeEdit->setStyleSheet("QPlainTextEdit { background: #000080; color: #FFFF00; }");
    bonusNoticeEdit->hide();

    markedLabel = displayBox(this, "markedLabel");
    // The draw parks the focus here; a read-only box shows no caret.
    markedLabel->setFocusPolicy(Qt::ClickFocus);
    hitCountLabel = displayBox(this, "hitCountLabel");
    auto* caption = new Readout(this, "BET");
    caption->setObjectName("betCaptionLabel");
    caption->setFont(uiFont("Arial", 10, true));
    betCaptionLabel = caption;
    betLabel = displayBox(this, "betLabel");
    winLabel = displayBox(this, "winLabel");

    creditCaptionLabel = new QLabel("CREDIT", this);
    creditCaptionLabel->setObjectName("creditCaptionLabel");
    creditCaptionLabel->setFont(uiFont("Arial", 18, true));
    creditsLabel = displayBox(this, "creditsLabel", 18);
    freeGamesLabel = displayBox(this, "freeGamesLabel", 12);
    // The counter comes and goes during a play: its room stays, so nothing else moves.
    QSizePolicy counterPolicy = freeGamesLabel->sizePolicy();
    counterPolicy.setRetainSizeWhenHidden(true);
    freeGamesLabel->setSizePolicy(counterPolicy);
    freeGamesLabel->hide();

    paysButton =
        button(this, "paysButton", "SEE PAYS && HELP", "View Pay Table for Current Game and Other Features");
    advancedButton = button(this, "advancedButton", "ADVANCED", "Simulated Play and Program Options");
    addCreditsButton = button(this, "addCreditsButton", "ADD CREDITS", "Add Credits to Total");
    betOneButton =
        button(this, "betOneButton", " BET ONE", "Click to increase bet; CTRL-Click to decrease bet");
    eraseButton = button(this, "eraseButton", "ERASE", "Clear the Keno Board");
    quickPickButton = button(this, "quickPickButton", "QUICK PICK", "Random Number Pick");
    quickPickButton->setEnabled(false);
    startButton = button(this, "startButton", "START", "Begin New Draw");
    connect(eraseButton, &QPushButton::clicked, this, &BoardWindow::eraseTicket);
    connect(paysButton, &QPushButton::clicked, this, &BoardWindow::openCatalogue);
    connect(advancedButton, &QPushButton::clicked, this, &BoardWindow::openSimulation);
    connect(quickPickButton, &QPushButton::clicked, this, &BoardWindow::quickPick);
    connect(betOneButton, &QPushButton::clicked, this, &BoardWindow::stepBet);
    connect(addCreditsButton, &QPushButton::clicked, this, &BoardWindow::addCredits);
    connect(startButton, &QPushButton::clicked, this, &BoardWindow::startDraw);
    // A new bet or a new credit total may change whether START can be pressed.
    connect(betLabel, &QLineEdit::textChanged, this, &BoardWindow::enableStartForBet);
    connect(creditsLabel, &QLineEdit::textChanged, this, &BoardWindow::enableStartForCredits);

    drawnNumbersLabel = displayBox(this, "drawnNumbersLabel", 10, false);
    drawnNumbersLabel->setFont(uiFont("MS Sans Serif", 10));
}

void BoardWindow::layOutControls()
{
    // Game list across the top; pays listing at the left with the marked, hits, bet and win
    // displays under it; the board at the right (the bonus notices over it); the credit
    // line, the row of seven buttons and the results line below.
    auto* betLine = new QHBoxLayout;
    betLine->setSpacing(5);
    betLine->addWidget(betCaptionLabel, 1);
    betLine->addWidget(betLabel, 2);

    auto* left = new QVBoxLayout;
    left->setSpacing(1);
    left->addWidget(paysListing, 1);
    left->addSpacing(15);
    left->setContentsMargins(0, 0, 8, 0);
    auto* displays = new QVBoxLayout;
    displays->setSpacing(1);
    displays->setContentsMargins(16, 0, 0, 0);
    displays->addWidget(markedLabel);
    displays->addWidget(hitCountLabel);
    displays->addLayout(betLine);
    displays->addWidget(winLabel);
    left->addLayout(displays);

    auto* middle = new QGridLayout;
    middle->setSpacing(0);
    middle->addLayout(left, 0, 0);
    middle->addWidget(boardGrid, 0, 1);
    middle->addWidget(bonusNoticeEdit, 0, 1, Qt::AlignCenter);
    middle->setColumnStretch(0, 145);
    middle->setColumnStretch(1, 560);

    auto* creditLine = new QHBoxLayout;
    creditLine->addWidget(creditCaptionLabel, 0);
    creditLine->addWidget(creditsLabel, 3);
    creditLine->addStretch(2);
    creditLine->addWidget(freeGamesLabel, 5);
    creditCaptionLabel->setMinimumWidth(121);
    creditsLabel->setMinimumHeight(33);
    freeGamesLabel->setMinimumHeight(26);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    for (QPushButton* command : {paysButton, advancedButton, addCreditsButton, betOneButton, eraseButton,
                                 quickPickButton, startButton})
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
    hitsLine->addWidget(drawnNumbersLabel);

    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(24, 8, 24, 8);
    layout->setSpacing(8);
    layout->addWidget(gameListCombo);
    layout->addSpacing(8);
    layout->addLayout(middle, 1);
    layout->addLayout(creditLine);
    layout->addLayout(buttons);
    layout->addLayout(hitsLine);

    // On a screen smaller than the window, the board scrolls inside it instead of overflowing.
    auto* content = new QWidget;
    content->setLayout(layout);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("boardScrollArea");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->addWidget(scroll);

    // The tab order follows the layout: the game list, the board, the buttons left to right.
    QWidget* previous = gameListCombo;
    for (QWidget* next :
         std::initializer_list<QWidget*>{boardGrid, paysButton, advancedButton, addCreditsButton,
                                         betOneButton, eraseButton, quickPickButton, startButton}) {
        setTabOrder(previous, next);
        previous = next;
    }
}

void BoardWindow::placeOnScreen(const QRect& available)
{
    // On a small screen the whole window shows and the board scrolls in it.
    resize(kDefaultSize);
    PlaceWithin(this, available);
}

void BoardWindow::keyPressEvent(QKeyEvent* event)
{
    // Enter plays, wherever the focus is on the board (a button or the grid passes it on).
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && startButton->isEnabled() &&
        !m_playing) {
        startButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void BoardWindow::fitToScreen()
{
    if (!isMinimized() && !isMaximized()) {
        if (const QScreen* screen = QApplication::primaryScreen())
            placeOnScreen(screen->availableGeometry());
    }
    if (const QScreen* screen = QApplication::primaryScreen();
        screen && screen->size().width() < kMinimumScreenWidth)
        m_dialogs.message(
            this, "For best results, you should reset the screen resolution to minimum 800 x 600 pixels.");
}

void BoardWindow::restoreState(const std::vector<GameKey>& games, const QString& startupGame, double savedCredits)
{
    fillGameList(gameListCombo, games);
    // The saved game is stored as its list entry: the item that shows that entry.
    const std::string saved = CaseFold(TrimBlanks(startupGame.toStdString()));
    gameListCombo->setCurrentIndex(-1);
    for (int i = 0; i < gameListCombo->count(); ++i) {
        if (CaseFold(TrimBlanks(gameListCombo->itemText(i).toStdString())) == saved) {
            gameListCombo->setCurrentIndex(i);
            break;
        }
    }
    if (gameListCombo->currentIndex() < 0)
        gameListCombo->setEditText(startupGame);
    m_currentGame.select(currentGameKey(gameListCombo));
    showCredits(savedCredits, PlainForm);
    m_creditsSaved = savedCredits;

    boardGrid->showNumbers();
    showPayLines(std::nullopt);
    boardGrid->applyGeometry();

    m_betPrepaid = true;
    showBet(0, PlainForm);
    m_betStep = 1;

    selectGame();
    m_deck = OrderedDeck();
}

void BoardWindow::selectGame()
{
    freeGamesLabel->hide();
    freeGamesLabel->clear();
    if (m_payLines)
        eraseTicket();
    m_currentGame.select(currentGameKey(gameListCombo));
}

void BoardWindow::eraseTicket()
{
    m_currentGame.key = currentGameKey(gameListCombo);
    boardGrid->showNumbers();
    showPayLines(std::nullopt);
    m_ticket.clear();
    boardGrid->applyGeometry();
    markedLabel->setText("MARKED  " + QString::fromStdString(StrForm(m_ticket.count())));
    quickPickButton->setEnabled(false);
}

bool BoardWindow::confirmQuit()
{
    return ConfirmQuit(m_dialogs, this);
}

void BoardWindow::endProgram(const QString& startupGame)
{
    if (m_playing)
        finishPlayAtOnce();
    // The credits are saved whichever window the program is quit from, so that no win is lost.
    QString error;
    if (!SaveStartupState(m_database, startupGame, creditsKept(), &error))
        m_dialogs.message(this, "The game and the credits could not be saved: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
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
    if (!confirmQuit()) {
        event->ignore();
        if (wasPlaying)
            m_playTimer.start(std::max(0, pauseLeft));
        return;
    }
    event->accept();
    endProgram(gameListCombo->currentText());
}

void BoardWindow::tidyBoardForLeaving()
{
    winLabel->setText("WIN     0");
    for (int row = 0; row < kBoardRows; ++row) {
        for (int column = 0; column < kBoardColumns && row != kSeparatorRow; ++column) {
            if (m_ticket.contains(NumberOfCell(row, column))) {
                showCell(row, column, " ", Picture::BlueCheck);
            } else {
                showCell(row, column, QString::fromStdString(PlainForm(NumberOfCell(row, column))),
                         Picture::None);
                boardGrid->setCellBackground(row, column, BoardGrid::kBoardColour);
            }
        }
    }
}

void BoardWindow::openCatalogue()
{
    tidyBoardForLeaving();
    m_catalogueGame = m_currentGame.key;
    emit catalogueRequested();
    hide();
}

void BoardWindow::openSimulation()
{
    tidyBoardForLeaving();
    emit simulationRequested(currentGameKey(gameListCombo), m_ticket, bet());
    hide();
}

void BoardWindow::returnFromSimulation()
{
    showBet(bet(), StrForm);
    show();
    if (bet() > 0)
        startButton->setEnabled(true);
}

void BoardWindow::returnFromCatalogue(const GameKey& catalogueGame)
{
    show();
    gameListCombo->setFocus();
    showGame(gameListCombo, catalogueGame);
    showBet(bet(), StrForm);
    if (SameGameKey(currentGameKey(gameListCombo), m_catalogueGame) && !m_ticket.isEmpty()) {
        // Back on the same game: the ticket stays, with the pays as they are stored now.
        m_currentGame.select(currentGameKey(gameListCombo));
        showPaysList();
        return;
    }
    selectGame();
}

void BoardWindow::setGameList(const std::vector<GameKey>& games)
{
    const GameKey current = currentGameKey(gameListCombo);
    const QString text = gameListCombo->currentText();
    fillGameList(gameListCombo, games);
    showGame(gameListCombo, current);
    if (gameListCombo->currentIndex() < 0)
        gameListCombo->setEditText(text);
}

} // namespace tallyhawk
