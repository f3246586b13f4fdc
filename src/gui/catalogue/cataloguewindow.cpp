// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "cataloguewindow.h"

#include "db/catalogue.h"
#include "db/paytable.h"
#include "engine/catalogue/paytableimport.h"
#include "engine/catalogue/payvalidation.h"
#include "engine/common/numberforms.h"
#include "engine/exact/exactodds.h"
#include "aboutdialog.h"
#include "gui/common/commandbutton.h"
#include "gui/common/dialogs.h"
#include "gui/common/gamelistcombo.h"
#include "gui/common/screenfit.h"
#include "gui/common/uifonts.h"
#include "paygridmodel.h"
#include "paygridview.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace tallyhawk {

const QStringList CatalogueWindow::kGameNames = {"Caveman Keno $1",
                                              "Caveman Keno 25\u00a2",
                                              "Caveman Keno 5\u00a2",
                                              "Cleopatra Keno $1",
                                              "Cleopatra Keno 25\u00a2",
                                              "Cleopatra Keno 5\u00a2",
                                              "Custom Keno",
                                              "Custom Keno $1",
                                              "Custom Keno 25\u00a2",
                                              "Custom Keno 5\u00a2",
                                              "Keno",
                                              "Keno $1",
                                              "Keno 25\u00a2",
                                              "Keno 5\u00a2",
                                              "Live Keno",
                                              "Other Keno",
                                              "Power Keno 25\u00a2"};

const QStringList CatalogueWindow::kLocations = {"-",
                                              "ALABAMA",
                                              "ALASKA",
                                              "ARIZONA ",
                                              "ARKANSAS",
                                              "AUSTRALIA",
                                              "BAHAMAS",
                                              "CALIFORNIA - Northern",
                                              "CALIFORNIA - Southern",
                                              "CANADA -Alberta",
                                              "CANADA -British Columbia",
                                              "CANADA -Manitoba",
                                              "CANADA -Nova Scotia",
                                              "CANADA -Ontario",
                                              "CANADA -Quebec",
                                              "CANADA -Saskatchewan",
                                              "CHINA",
                                              "COLORADO ",
                                              "CONNECTICUT",
                                              "CRUISE SHIP",
                                              "DELAWARE",
                                              "FLORIDA",
                                              "GEORGIA",
                                              "GREECE",
                                              "GUAM ",
                                              "HAWAII",
                                              "IDAHO",
                                              "ILLINOIS",
                                              "INDIANA",
                                              "IOWA",
                                              "ITALY",
                                              "KANSAS",
                                              "KAZAKHSTAN",
                                              "KENTUCKY",
                                              "LEBANON",
                                              "LOUISIANA",
                                              "MAINE",
                                              "MALAYSIA",
                                              "MARYLAND",
                                              "MASSACHUSETTS",
                                              "MICHIGAN",
                                              "MINNESOTA",
                                              "MISSISSIPPI",
                                              "MISSOURI",
                                              "MONACO",
                                              "MONTANA",
                                              "NEBRASKA",
                                              "NETHERLANDS",
                                              "NEVADA - Las Vegas",
                                              "NEVADA - Other",
                                              "NEW HAMPSHIRE",
                                              "NEW JERSEY",
                                              "NEW MEXICO",
                                              "NEW YORK",
                                              "NEW ZEALAND",
                                              "NORTH CAROLINA",
                                              "NORTH DAKOTA",
                                              "OHIO",
                                              "OKLAHOMA",
                                              "ONLINE",
                                              "OREGON",
                                              "OTHER",
                                              "PENNSYLVANIA",
                                              "PHILIPPINES",
                                              "PORTUGAL",
                                              "PUERTO RICO",
                                              "RHODE ISLAND",
                                              "SINGAPORE",
                                              "SOUTH AFRICA",
                                              "SOUTH CAROLINA",
                                              "SOUTH DAKOTA",
                                              "SPAIN",
                                              "SWEDEN",
                                              "TENNESSEE",
                                              "TEXAS",
                                              "UNITED KINGDOM",
                                              "UTAH",
                                              "VERMONT",
                                              "VIRGIN ISLANDS",
                                              "VIRGINIA ",
                                              "WASHINGTON",
                                              "WEST VIRGINIA",
                                              "WISCONSIN",
                                              "WYOMING"};

namespace {

const QString kEditCaption = " EDIT PAYS";
const QString kLockCaption = "LOCK PAYS";
const QString kFileFilter = "Tallyhawk PayTable File (*.csv)";
const QString kImportError = "An unspecified import error has occurred.";
const QString kExportError = "An unspecified export error has occurred.";

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    QPushButton* command = makeCommandButton(parent, name, caption, {}, 33);
    command->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return command;
}

QTableView* grid(QWidget* parent, const char* name, PayGridModel* model)
{
    auto* view = new PayGridView(model, parent);
    view->setObjectName(name);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // Rows as high as their text: the eleven rows of a game show without scrolling.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    return view;
}

QString describe(const GameKey& key)
{
    return qs(key.Location) + ", " + qs(key.Casino) + ", " + qs(key.Game);
}

// Cuts a typed text to `limit` characters (not UTF-16 units), with a beep.
void limitTyping(QLineEdit* edit, int limit, Dialogs& dialogs)
{
    const QList<uint> characters = edit->text().toUcs4();
    if (characters.size() <= limit)
        return;
    dialogs.beep();
    edit->setText(QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), limit));
}

const QString kReturnRowTips[] = {
    "The pay table's own exact return of each number of marked numbers: each pay times the bet, as "
    "casinos and keno references publish it, bonus features included",
    "The board's exact return at a bet of 1: it rounds each pay to whole credits, so a pay of 0.5 "
    "pays nothing"};

// Why a marked count shows no return; empty when it shows one.
QString noReturnReason(const KenoGame& game, int marked)
{
    const QString numbers = marked == 1 ? "1 marked number" : QStringLiteral("%1 marked numbers").arg(marked);
    if (!game.paysAnything(marked))
        return "No return: this game pays nothing for " + numbers + ".";
    if (const std::string error = ExactGameError(ExactGameOf(game, marked), 1, {}, ExactRules::Board);
        !error.empty())
        return "No return: " + qs(error);
    return {};
}

} // namespace

CatalogueWindow::CatalogueWindow(QSqlDatabase& database, const ProgramPaths& paths, CurrentGame& currentGame,
                                 Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_database(database), m_paths(paths), m_currentGame(currentGame), m_dialogs(dialogs)
{
    setObjectName("catalogueWindow");
    setWindowTitle("Orrinford's Tallyhawk ");
    buildControls();
    layOutControls();
    // At its first size the window shows a game's eleven rows and its names whole.
    resize(QSize(900, 460).expandedTo(minimumSizeHint()));
}

CatalogueWindow::~CatalogueWindow() = default;

void CatalogueWindow::buildControls()
{
    ComboGameList = makeGameListCombo(this);
    connect(ComboGameList, &QComboBox::activated, this, &CatalogueWindow::showChosenGame);

    QStringList payFields{"Game", "Catch"}, payCaptions{"Game", "Catch"};
    for (int n = 1; n <= 10; ++n) {
        payFields << QStringLiteral("Pick%1").arg(n);
        payCaptions << QStringLiteral("Pick %1").arg(n);
    }
    m_paysModel = new PayGridModel(payFields, payCaptions, this);
    m_paysModel->setReadOnlyFields({"Game"});
    m_bonusModel = new PayGridModel({"Location", "Casino", "Game", "Bonus Ball", "Free Games", "Bonus Factor",
                                     "Egg1 Bonus", "Egg2 Bonus", "Egg3 Bonus"},
                                    {"Location", "Casino", "Game", "Bonus Ball", "Free Games", "Bonus Factor",
                                     "1 - Egg Factor", "2 - Egg Factor", "3 - Egg Factor"},
                                    this);
    m_bonusModel->setReadOnlyFields({"Location", "Casino", "Game"});
    for (PayGridModel* model : {m_paysModel, m_bonusModel})
        connect(model, &PayGridModel::editRefused, this, [this](const QString& message) {
            m_dialogs.message(this, message, kProgramTitle, Dialogs::Icon::Warning);
        });
    m_paysGrid = grid(this, "paysGrid", m_paysModel);
    // The game's name whole; the return row's caption column keeps the same width.
    m_paysGrid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    const int rowHeight = m_paysGrid->verticalHeader()->defaultSectionSize();
    const int frame = 2 * m_paysGrid->frameWidth();
    m_paysGrid->setMinimumHeight(m_paysGrid->horizontalHeader()->sizeHint().height() +
                                 (kMaxCatch + 1) * rowHeight + frame);
    // Under the pays: the pay table's return of each marked count, and where the board's return
    // at a bet of 1 (whole credits) differs, that one in a second row with a note.
    m_returnGrid = new QTableWidget(2, static_cast<int>(payFields.size()), this);
    m_returnGrid->setObjectName("returnGrid");
    m_returnGrid->horizontalHeader()->hide();
    m_returnGrid->verticalHeader()->hide();
    m_returnGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_returnGrid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    m_returnGrid->setColumnWidth(0, m_paysGrid->columnWidth(0));
    // The grid itself is captured, not the window: the header may still resize while the
    // window's children are destroyed.
    connect(m_paysGrid->horizontalHeader(), &QHeaderView::sectionResized, m_returnGrid,
            [grid = m_returnGrid](int column, int, int width) {
                if (column == 0)
                    grid->setColumnWidth(0, width);
            });
    m_returnGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_returnGrid->setSelectionMode(QAbstractItemView::NoSelection);
    m_returnGrid->setFocusPolicy(Qt::NoFocus);
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < m_returnGrid->columnCount(); ++column) {
            auto* item = new QTableWidgetItem(column > 0 ? "" : row == 0 ? "Return %" : "At bet 1 %");
            item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
            item->setToolTip(kReturnRowTips[row]);
            m_returnGrid->setItem(row, column, item);
        }
    m_returnNoteLabel = new QLabel(this);
    m_returnNoteLabel->setObjectName("returnNoteLabel");
    m_returnNoteLabel->setWordWrap(true);
    showReturnRows(1);
    // The returns follow every typed pay and bonus value, and every game shown.
    for (PayGridModel* model : {m_paysModel, m_bonusModel}) {
        connect(model, &QAbstractItemModel::modelReset, this, &CatalogueWindow::showExactReturns);
        connect(model, &QAbstractItemModel::dataChanged, this, &CatalogueWindow::showExactReturns);
    }
    m_bonusGrid = grid(this, "bonusGrid", m_bonusModel);
    // The names take the width they need; the bonus captions wrap onto two lines.
    for (const char* name : {"Location", "Casino", "Game"})
        m_bonusGrid->horizontalHeader()->setSectionResizeMode(m_bonusModel->fieldColumn(name),
                                                              QHeaderView::ResizeToContents);
    m_bonusGrid->horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    m_bonusGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int twoLines = 2 * m_bonusGrid->fontMetrics().height() + 8;
    m_bonusGrid->horizontalHeader()->setFixedHeight(twoLines);
    m_bonusGrid->setFixedHeight(twoLines + rowHeight + frame);
    // Names too long for the window's width scroll, and the grid grows to keep its row in view.
    connect(m_bonusGrid->horizontalScrollBar(), &QScrollBar::rangeChanged, m_bonusGrid,
            [this, twoLines, rowHeight, frame](int, int maximum) {
                const int scrollBar =
                    maximum > 0 ? m_bonusGrid->horizontalScrollBar()->sizeHint().height() : 0;
                m_bonusGrid->setFixedHeight(twoLines + rowHeight + frame + scrollBar);
            });

    m_locationCombo = new QComboBox(this);
    m_locationCombo->setObjectName("locationCombo");
    m_locationCombo->setEditable(true);
    m_locationCombo->setInsertPolicy(QComboBox::NoInsert);
    m_locationCombo->addItems(kLocations);
    m_casinoEdit = new QLineEdit(this);
    m_casinoEdit->setObjectName("casinoEdit");
    m_gameNameCombo = new QComboBox(this);
    m_gameNameCombo->setObjectName("gameNameCombo");
    m_gameNameCombo->setEditable(true);
    m_gameNameCombo->setInsertPolicy(QComboBox::NoInsert);
    m_gameNameCombo->addItems(kGameNames);
    // Each part of the key stops where the list would cut it, as the user types.
    connect(m_casinoEdit, &QLineEdit::textEdited, this,
            [this] { limitTyping(m_casinoEdit, kMaxCasinoLength, m_dialogs); });
    connect(m_locationCombo->lineEdit(), &QLineEdit::textEdited, this,
            [this] { limitTyping(m_locationCombo->lineEdit(), kMaxLocationLength, m_dialogs); });
    connect(m_gameNameCombo->lineEdit(), &QLineEdit::textEdited, this,
            [this] { limitTyping(m_gameNameCombo->lineEdit(), kMaxGameLength, m_dialogs); });
    showKeyFields(false);

    m_backButton = button(this, "backButton", "BACK TO GAME");
    m_importButton = button(this, "importButton", "IMPORT");
    m_exportButton = button(this, "exportButton", "EXPORT");
    m_lockButton = button(this, "lockButton", kEditCaption);
    m_cancelEditButton = button(this, "cancelEditButton", "CANCEL EDIT");
    m_cancelEditButton->setToolTip("Drop the values typed since EDIT PAYS and show the game as stored");
    m_cancelEditButton->hide();
    m_addGameButton = button(this, "addGameButton", "ADD NEW GAME");
    m_deleteGameButton = button(this, "deleteGameButton", "DELETE GAME");
    m_aboutButton = button(this, "aboutButton", "ABOUT");
    m_helpButton = button(this, "helpButton", "HELP");
    connect(m_backButton, &QPushButton::clicked, this, &CatalogueWindow::returnToBoard);
    connect(m_importButton, &QPushButton::clicked, this, &CatalogueWindow::importPayTable);
    connect(m_exportButton, &QPushButton::clicked, this, &CatalogueWindow::exportPayTable);
    connect(m_lockButton, &QPushButton::clicked, this, &CatalogueWindow::editOrLockPays);
    connect(m_cancelEditButton, &QPushButton::clicked, this, &CatalogueWindow::cancelEdit);
    connect(m_addGameButton, &QPushButton::clicked, this, &CatalogueWindow::addNewGame);
    connect(m_deleteGameButton, &QPushButton::clicked, this, &CatalogueWindow::deleteCurrentGame);
    connect(m_aboutButton, &QPushButton::clicked, this, &CatalogueWindow::showAbout);
    connect(m_helpButton, &QPushButton::clicked, this, &CatalogueWindow::showHelp);
}

void CatalogueWindow::layOutControls()
{
    // Game list, pay grid, bonus grid, key fields, then the buttons: BACK TO GAME, IMPORT
    // above EXPORT, EDIT PAYS, ADD NEW GAME, DELETE GAME, ABOUT, HELP.
    auto* keys = new QHBoxLayout;
    keys->addWidget(m_locationCombo, 3015);
    keys->addWidget(m_casinoEdit, 3720);
    keys->addWidget(m_gameNameCombo, 2175);

    auto* exchange = new QVBoxLayout;
    exchange->setSpacing(6);
    exchange->addWidget(m_importButton);
    exchange->addWidget(m_exportButton);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_backButton, 1575);
    buttons->addLayout(exchange, 1575);
    buttons->addWidget(m_lockButton, 1070);
    buttons->addWidget(m_cancelEditButton, 1070);
    buttons->addWidget(m_addGameButton, 1215);
    buttons->addWidget(m_deleteGameButton, 1335);
    buttons->addWidget(m_aboutButton, 1150);
    buttons->addWidget(m_helpButton, 975);

    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(16, 8, 16, 12);
    layout->addWidget(ComboGameList);
    layout->addWidget(m_paysGrid, 1);
    layout->addWidget(m_returnGrid);
    layout->addWidget(m_returnNoteLabel);
    layout->addWidget(m_bonusGrid);
    layout->addLayout(keys);
    layout->addLayout(buttons);
    SetScrollingLayout(this, layout);
}

void CatalogueWindow::bindDatabase()
{
    m_paysModel->setDatabase(m_database);
    m_bonusModel->setDatabase(m_database);
}

void CatalogueWindow::releaseDatabase()
{
    for (PayGridModel* model : {m_paysModel, m_bonusModel}) {
        model->clear();
        model->setDatabase({});
    }
}

void CatalogueWindow::setGameList(const std::vector<GameKey>& games, const GameKey& currentGame)
{
    fillGameList(ComboGameList, games);
    showGame(ComboGameList, currentGame);
}

void CatalogueWindow::openFromBoard()
{
    showGame(ComboGameList, m_currentGame.key);
    showChosenGame();
    // Placed once its game shows, so that it opens as large as the game's rows need.
    PlaceOnScreen(this);
    show();
    raise();
    setGridsEditable(false);
}

void CatalogueWindow::showChosenGame()
{
    // A game that is not listed (a copy not yet stored under its own key) stays current.
    if (ComboGameList->currentIndex() >= 0)
        m_currentGame.key = currentGameKey(ComboGameList);
    m_currentGame.sql = GameSql(m_currentGame.key);
    m_paysModel->showGame(m_currentGame.sql);
    // The bonus grid shows the game's bonus row, wherever it is stored.
    m_bonusModel->showGame(m_currentGame.sql, " AND [Catch] = 0");
    const GameKey key = NormaliseGameKey(m_currentGame.key).key;
    m_locationCombo->setCurrentText(qs(key.Location));
    m_casinoEdit->setText(qs(key.Casino));
    m_gameNameCombo->setCurrentText(qs(key.Game));
}

std::vector<PayScheduleRow> CatalogueWindow::gridRows() const
{
    std::vector<PayScheduleRow> rows;
    for (int r = 0; r < m_paysModel->rowCount(); ++r) {
        PayScheduleRow row;
        if (const auto caught = OptionalNumber(m_paysModel->value(r, "Catch")))
            row.Catch = static_cast<int>(*caught);
        for (int n = 1; n <= kMaxMarked; ++n)
            row.Pick[n - 1] = OptionalNumber(m_paysModel->value(r, QStringLiteral("Pick%1").arg(n)));
        // The bonus grid shows the bonus row's own values.
        if (m_bonusModel->rowCount() > 0 && m_paysModel->rowId(r) == m_bonusModel->rowId(0)) {
            row.BonusBall = OptionalNumber(m_bonusModel->value(0, "Bonus Ball"));
            row.FreeGames = OptionalNumber(m_bonusModel->value(0, "Free Games"));
            row.BonusFactor = OptionalNumber(m_bonusModel->value(0, "Bonus Factor"));
            row.Egg1Bonus = OptionalNumber(m_bonusModel->value(0, "Egg1 Bonus"));
            row.Egg2Bonus = OptionalNumber(m_bonusModel->value(0, "Egg2 Bonus"));
            row.Egg3Bonus = OptionalNumber(m_bonusModel->value(0, "Egg3 Bonus"));
        }
        rows.push_back(row);
    }
    return rows;
}

void CatalogueWindow::showExactReturns()
{
    const KenoGame game = KenoGame::fromRows(gridRows(), m_currentGame.key);
    bool differs = false;
    std::vector<std::optional<int>> exactBets;
    for (int marked = 1; marked <= kMaxMarked; ++marked) {
        const TicketReturns returns = TicketReturnsOf(game, marked);
        const QString reason = noReturnReason(game, marked);
        auto show = [&](int row, const std::optional<double>& value) {
            QTableWidgetItem* item = m_returnGrid->item(row, marked + 1);
            item->setText(value ? qs(FormatTwoDecimals(*value)) : QString());
            item->setToolTip(value || reason.isEmpty() ? kReturnRowTips[row] : reason);
        };
        show(0, returns.payTable);
        show(1, returns.wholeCredits);
        if (returns.differs()) {
            differs = true;
            exactBets.push_back(returns.exactBet);
        }
    }
    showReturnRows(differs ? 2 : 1);
    m_returnNoteLabel->setText(differs
                                   ? "At a bet of 1 the board rounds each pay to whole credits (a pay of 0.5 "
                                     "pays nothing). " +
                                         qs(ExactBetNote(CommonExactBet(exactBets)))
                                   : QString());
}

void CatalogueWindow::showReturnRows(int rows)
{
    m_returnGrid->setRowHidden(1, rows < 2);
    m_returnGrid->setFixedHeight(rows * m_returnGrid->rowHeight(0) + 4);
    m_returnNoteLabel->setVisible(rows > 1);
}

void CatalogueWindow::showKeyFields(bool visible)
{
    m_locationCombo->setVisible(visible);
    m_casinoEdit->setVisible(visible);
    m_gameNameCombo->setVisible(visible);
}

void CatalogueWindow::setGridsEditable(bool editable)
{
    m_paysModel->setEditable(editable);
    m_bonusModel->setEditable(editable);
}

GameKey CatalogueWindow::keyFields() const
{
    return {m_locationCombo->currentText().toStdString(), m_casinoEdit->text().toStdString(),
            m_gameNameCombo->currentText().toStdString()};
}

bool CatalogueWindow::rebuildGameLists()
{
    std::vector<GameKey> games;
    QString error;
    if (!ReadGameList(m_database, &games, &error)) {
        m_dialogs.message(this, "The list of games cannot be read: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
        return false;
    }
    fillGameList(ComboGameList, games);
    emit gameListRebuilt(games);
    return true;
}

void CatalogueWindow::returnToBoard()
{
    if (!settleUnlockedEdits())
        return;
    m_paysModel->reload();
    if (m_editingPays && !m_editedGames.empty()) {
        QString error;
        if (!RoundPaysToWholeNumbers(m_database, m_editedGames, &error))
            m_dialogs.message(this, "The pays could not be stored as whole numbers: " + error, kProgramTitle,
                              Dialogs::Icon::Warning);
    }
    m_editingPays = false;
    m_editedKey.reset();
    m_editedGames.clear();
    setGridsEditable(false);
    m_lockButton->setText(kEditCaption);
    m_deleteGameButton->setEnabled(true);
    emit backToGame(m_currentGame.key);
    hide();
}

void CatalogueWindow::showHelp()
{
    const QString path = QDir(m_paths.programFolder).filePath("Help/help.htm");
    if (m_dialogs.openDocument(path))
        return;
    // No viewer for it on this desktop: the program shows the page itself.
    if (!m_helpViewer) {
        auto* viewer = new QTextBrowser;
        viewer->setObjectName("helpBrowser");
        viewer->setAttribute(Qt::WA_DeleteOnClose, false);
        viewer->setWindowTitle("Tallyhawk Help");
        viewer->setOpenExternalLinks(true);
        viewer->resize(720, 640);
        m_helpViewer = viewer;
        connect(this, &QObject::destroyed, viewer, &QObject::deleteLater);
    }
    auto* viewer = static_cast<QTextBrowser*>(m_helpViewer);
    if (QFile::exists(path))
        viewer->setSource(QUrl::fromLocalFile(path));
    else
        viewer->setPlainText("The help page " + QDir::toNativeSeparators(path) + " is missing.");
    PlaceOnScreen(viewer, this);
    viewer->show();
    viewer->raise();
}

void CatalogueWindow::showAbout()
{
    if (!m_about)
        m_about = new AboutDialog(this);
    m_about->setWindowFlag(Qt::Window);
    PlaceOnScreen(m_about);
    m_about->show();
    m_about->raise();
}

void CatalogueWindow::addNewGame()
{
    m_deleteGameButton->setEnabled(true);
    if (!m_dialogs.askOkCancel(this,
                               "The Pay Table and Bonus values for the current game will be duplicated\n"
                               "for the new game. Edit these values as required, then change the values\n"
                               "shown as 'New' for Location and Casino.",
                               "Enter info for the new game", Dialogs::Icon::None))
        return;
    QString error;
    if (!CopyGameAsNew(m_database, m_currentGame.key, m_gameNameCombo->currentText(), &error)) {
        m_dialogs.message(this, "The game could not be copied: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
        return;
    }
    m_paysModel->reload();
    showKeyFields(true);
    m_currentGame.key = NormaliseGameKey({"New", "New", m_gameNameCombo->currentText().toStdString()}).key;
    showGame(ComboGameList, m_currentGame.key);
    showChosenGame();
    editOrLockPays();
    m_locationCombo->setFocus();
}

void CatalogueWindow::deleteCurrentGame()
{
    if (!m_dialogs.askYesNo(this, "Are You Sure You Want to Delete the Current Game?", kProgramTitle,
                            Dialogs::Icon::Question, Dialogs::Default::No))
        return;
    const GameKey key = m_currentGame.key;
    QString error;
    switch (DeleteGame(m_database, key, &error)) {
    case DeleteOutcome::TooFewRows:
        m_dialogs.message(this, "You must leave at least one game in the Pay Table. Operation Terminated.");
        return;
    case DeleteOutcome::NotFound:
        m_dialogs.message(this,
                          "No game " + describe(key) + " is stored in the Pay Table, so nothing was deleted.",
                          kProgramTitle, Dialogs::Icon::Warning);
        return;
    case DeleteOutcome::Failed:
        m_dialogs.message(this, "The game could not be deleted: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
        return;
    case DeleteOutcome::Deleted:
        break;
    }
    if (!rebuildGameLists())
        return;
    m_currentGame.key = ComboGameList->count() > 0 ? ComboGameList->itemData(0).value<GameKey>() : GameKey{};
    showGame(ComboGameList, m_currentGame.key);
    showChosenGame();
}

void CatalogueWindow::editOrLockPays()
{
    m_editingPays = true;
    if (isUnlocked())
        lockPays();
    else
        unlockPays();
}

void CatalogueWindow::unlockPays()
{
    m_dialogs.message(this,
                      "You may now change Pay and Bonus entries for the current game.\n\nYou may also change "
                      "Location, Casino Name and name of the Keno Game. When finished, click 'Lock Pays'.");
    setGridsEditable(true);
    showKeyFields(true);
    m_lockButton->setText(kLockCaption);
    m_cancelEditButton->show();
    // BACK TO GAME stays: leaving asks what becomes of the typed values.
    for (QWidget* control : std::initializer_list<QWidget*>{m_addGameButton, m_deleteGameButton,
                                                            m_aboutButton, ComboGameList, m_importButton,
                                                            m_exportButton})
        control->setEnabled(false);
    m_editedKey = m_currentGame.key;
}

void CatalogueWindow::lockPays()
{
    std::vector<CellEdit> edits = m_paysModel->typedCells();
    for (const CellEdit& edit : m_bonusModel->typedCells())
        edits.push_back(edit);
    const GameKey from = *m_editedKey;
    const LockResult result = LockEditedGame(m_database, from, keyFields(), gridRows(), edits);
    if (result.stored) {
        // The rows carry the new key from here on, whatever the checks after the store say: the
        // next lock starts from it.
        m_editedKey = result.key;
        // Only games a lock stored are made whole at BACK TO GAME: a cancelled edit leaves its
        // game exactly as it was stored.
        bool listed = false;
        for (GameKey& edited : m_editedGames)
            if (SameGameKey(edited, from)) {
                edited = result.key;
                listed = true;
            }
        if (!listed)
            m_editedGames.push_back(result.key);
        m_currentGame.sql = GameSql(result.key);
        m_paysModel->showGame(m_currentGame.sql);
        m_bonusModel->showGame(m_currentGame.sql, " AND [Catch] = 0");
    }
    if (result.outcome == LockOutcome::Locked || result.outcome == LockOutcome::BonusRefused) {
        if (!rebuildGameLists())
            return;
        m_currentGame.key = result.key;
        showGame(ComboGameList, result.key);
        showChosenGame();
    }
    if (!result.message.isEmpty())
        m_dialogs.message(this, result.message, kProgramTitle,
                          result.outcome == LockOutcome::Failed ? Dialogs::Icon::Warning
                                                                : Dialogs::Icon::None);
    if (result.outcome == LockOutcome::Locked)
        showLocked();
}

void CatalogueWindow::showLocked()
{
    m_editedKey.reset();
    setGridsEditable(false);
    showKeyFields(false);
    m_lockButton->setText(kEditCaption);
    m_cancelEditButton->hide();
    for (QWidget* control : std::initializer_list<QWidget*>{m_backButton, m_addGameButton, m_deleteGameButton,
                                                            m_aboutButton, ComboGameList})
        control->setEnabled(true);
    showGame(ComboGameList, m_currentGame.key);
    m_importButton->setEnabled(true);
    m_exportButton->setEnabled(true);
}

bool CatalogueWindow::hasUnlockedEdits() const
{
    return isUnlocked() && (!m_paysModel->typedCells().empty() || !m_bonusModel->typedCells().empty() ||
                            keyFields() != NormaliseGameKey(*m_editedKey).key);
}

void CatalogueWindow::cancelEdit()
{
    if (!isUnlocked())
        return;
    // The rows are stored under the edited key (a lock refused after it stored moved them there).
    const GameKey stored = *m_editedKey;
    m_currentGame.key = stored;
    if (findGame(ComboGameList, stored) < 0 && !rebuildGameLists())
        return; // the reason has been shown; the edit goes on
    showGame(ComboGameList, stored);
    showChosenGame();
    showLocked();
}

bool CatalogueWindow::settleUnlockedEdits()
{
    if (!isUnlocked())
        return true;
    if (hasUnlockedEdits()) {
        const QString text = "The pays you typed for " + describe(*m_editedKey) +
                             " are not locked yet. Lock them, drop them, or go back to them?";
        switch (m_dialogs.askLockDropOrGoBack(this, text)) {
        case Dialogs::UnlockedEdits::GoBack:
            return false;
        case Dialogs::UnlockedEdits::Lock:
            lockPays();
            return !isUnlocked(); // a refused lock has said why, and the edit goes on
        case Dialogs::UnlockedEdits::Drop:
            break;
        }
    }
    cancelEdit();
    return !isUnlocked();
}

void CatalogueWindow::exportPayTable()
{
    const GameKey key = m_currentGame.key;
    std::vector<PayTableFileRecord> records;
    QString error;
    if (!ReadGameRecords(m_database, key, &records, &error)) {
        m_dialogs.message(this, kExportError + "\n\n" + error);
        return;
    }
    if (records.empty()) {
        m_dialogs.message(
            this, "No game " + describe(key) + " is stored in the Pay Table, so nothing was exported.",
            kProgramTitle, Dialogs::Icon::Warning);
        return;
    }
    // A folder that does not exist would show as the file's name.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(folder).isDir())
        folder = QDir::homePath();
    QString fileName = m_dialogs.saveFileName(this, "Export Pay Table", folder, kFileFilter);
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += ".csv";
    // The whole file is written to a temporary file first: a failure leaves no partial file.
    QSaveFile file(fileName);
    const std::string text = FormatPayTableFile(records);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
        !file.commit()) {
        m_dialogs.message(this, kExportError + "\n\n" + file.errorString());
        return;
    }
    m_dialogs.message(this, "Export Operation Complete!");
}

void CatalogueWindow::refuseImport(const QString& reason)
{
    QApplication::restoreOverrideCursor();
    m_dialogs.message(this, kImportError + "\n\n" + reason);
}

void CatalogueWindow::importPayTable()
{
    const QString fileName = m_dialogs.openFileName(this, "Import Pay Table", {}, kFileFilter);
    if (fileName.isEmpty())
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        refuseImport("The file cannot be read: " + file.errorString());
        return;
    }
    const QByteArray bytes = file.readAll();
    const ImportedGame game =
        ReadImportedGame(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!game.ok()) {
        refuseImport(qs(game.error));
        return;
    }
    qlonglong existing = 0;
    QString error;
    if (!CountGameRows(m_database, game.key, &existing, &error)) {
        refuseImport(error);
        return;
    }
    if (existing > 0 && !m_dialogs.askYesNo(this,
                                            "The Pay Table already holds the game " + describe(game.key) +
                                                ". Replace it with the game in the file?",
                                            kProgramTitle, Dialogs::Icon::Question, Dialogs::Default::No))
        return;
    if (!ImportGame(m_database, game, &error)) {
        refuseImport(error);
        return;
    }
    if (!rebuildGameLists())
        return; // the reason has been shown
    m_currentGame.key = game.key;
    showGame(ComboGameList, game.key);
    showChosenGame();
    m_dialogs.message(this, "Import Operation Complete!");
}

void CatalogueWindow::closeEvent(QCloseEvent* event)
{
    // Typed values not yet locked: the question about them stands for the quit question.
    if (isVisible() && hasUnlockedEdits()) {
        event->setAccepted(settleUnlockedEdits());
        if (event->isAccepted())
            emit endProgramRequested(ComboGameList->currentText());
        return;
    }
    if (ConfirmQuitOnClose(m_dialogs, this, event))
        emit endProgramRequested(ComboGameList->currentText());
}

} // namespace tallyhawk
