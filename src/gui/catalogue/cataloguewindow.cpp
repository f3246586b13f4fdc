#include "cataloguewindow.h"

#include "db/catalogue.h"
#include "db/paytable.h"
#include "engine/catalogue/paytableimport.h"
#include "engine/catalogue/payvalidation.h"
#include "engine/common/numberforms.h"
#include "engine/sim/exactodds.h"
#include "aboutdialog.h"
#include "gui/common/commandbutton.h"
#include "gui/common/dialogs.h"
#include "gui/common/gamelistcombo.h"
#include "gui/common/module2.h"
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
#include <QScreen>
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

CatalogueWindow::CatalogueWindow(Module2& module2, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_module2(module2), m_dialogs(dialogs)
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
    connect(ComboGameList, &QComboBox::activated, this, &CatalogueWindow::ComboGameList_Click);

    QStringList payFields{"Game", "Catch"}, payCaptions{"Game", "Catch"};
    for (int n = 1; n <= 10; ++n) {
        payFields << QStringLiteral("Pick%1").arg(n);
        payCaptions << QStringLiteral("Pick %1").arg(n);
    }
    pDataListing = new PayGridModel(payFields, payCaptions, this);
    pDataListing->setReadOnlyFields({"Game"});
    DataBonus = new PayGridModel({"Location", "Casino", "Game", "Bonus Ball", "Free Games", "Bonus Factor",
                                  "Egg1 Bonus", "Egg2 Bonus", "Egg3 Bonus"},
                                 {"Location", "Casino", "Game", "Bonus Ball", "Free Games", "Bonus Factor",
                                  "1 - Egg Factor", "2 - Egg Factor", "3 - Egg Factor"},
                                 this);
    DataBonus->setReadOnlyFields({"Location", "Casino", "Game"});
    for (PayGridModel* model : {pDataListing, DataBonus})
        connect(model, &PayGridModel::editRefused, this, [this](const QString& message) {
            m_dialogs.message(this, message, kProgramTitle, Dialogs::Icon::Warning);
        });
    DBGrid1 = grid(this, "DBGrid1", pDataListing);
    // The game's name whole; the return row's caption column keeps the same width.
    DBGrid1->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    const int rowHeight = DBGrid1->verticalHeader()->defaultSectionSize();
    const int frame = 2 * DBGrid1->frameWidth();
    DBGrid1->setMinimumHeight(DBGrid1->horizontalHeader()->sizeHint().height() + (kMaxCatch + 1) * rowHeight +
                              frame);
    // Under the pays: the pay table's return of each marked count, and where the board's return
    // at a bet of 1 (whole credits) differs, that one in a second row with a note.
    GridReturn = new QTableWidget(2, static_cast<int>(payFields.size()), this);
    GridReturn->setObjectName("GridReturn");
    GridReturn->horizontalHeader()->hide();
    GridReturn->verticalHeader()->hide();
    GridReturn->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    GridReturn->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    GridReturn->setColumnWidth(0, DBGrid1->columnWidth(0));
    // The grid itself is captured, not the window: the header may still resize while the
    // window's children are destroyed.
    connect(DBGrid1->horizontalHeader(), &QHeaderView::sectionResized, GridReturn,
            [grid = GridReturn](int column, int, int width) {
                if (column == 0)
                    grid->setColumnWidth(0, width);
            });
    GridReturn->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridReturn->setSelectionMode(QAbstractItemView::NoSelection);
    GridReturn->setFocusPolicy(Qt::NoFocus);
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < GridReturn->columnCount(); ++column) {
            auto* item = new QTableWidgetItem(column > 0 ? "" : row == 0 ? "Return %" : "At bet 1 %");
            item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
            item->setToolTip(kReturnRowTips[row]);
            GridReturn->setItem(row, column, item);
        }
    TextReturnNote = new QLabel(this);
    TextReturnNote->setObjectName("TextReturnNote");
    TextReturnNote->setWordWrap(true);
    showReturnRows(1);
    // The returns follow every typed pay and bonus value, and every game shown.
    for (PayGridModel* model : {pDataListing, DataBonus}) {
        connect(model, &QAbstractItemModel::modelReset, this, &CatalogueWindow::showExactReturns);
        connect(model, &QAbstractItemModel::dataChanged, this, &CatalogueWindow::showExactReturns);
    }
    DBGrid2 = grid(this, "DBGrid2", DataBonus);
    // The names take the width they need; the bonus captions wrap onto two lines.
    for (const char* name : {"Location", "Casino", "Game"})
        DBGrid2->horizontalHeader()->setSectionResizeMode(DataBonus->fieldColumn(name),
                                                          QHeaderView::ResizeToContents);
    DBGrid2->horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    DBGrid2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int twoLines = 2 * DBGrid2->fontMetrics().height() + 8;
    DBGrid2->horizontalHeader()->setFixedHeight(twoLines);
    DBGrid2->setFixedHeight(twoLines + rowHeight + frame);
    // Names too long for the window's width scroll, and the grid grows to keep its row in view.
    connect(DBGrid2->horizontalScrollBar(), &QScrollBar::rangeChanged, DBGrid2,
            [this, twoLines, rowHeight, frame](int, int maximum) {
                const int scrollBar = maximum > 0 ? DBGrid2->horizontalScrollBar()->sizeHint().height() : 0;
                DBGrid2->setFixedHeight(twoLines + rowHeight + frame + scrollBar);
            });

    ComboLocations = new QComboBox(this);
    ComboLocations->setObjectName("ComboLocations");
    ComboLocations->setEditable(true);
    ComboLocations->setInsertPolicy(QComboBox::NoInsert);
    ComboLocations->addItems(kLocations);
    TextCasino = new QLineEdit(this);
    TextCasino->setObjectName("TextCasino");
    ComboGame = new QComboBox(this);
    ComboGame->setObjectName("ComboGame");
    ComboGame->setEditable(true);
    ComboGame->setInsertPolicy(QComboBox::NoInsert);
    ComboGame->addItems(kGameNames);
    // Each part of the key stops where the list would cut it, as the user types.
    connect(TextCasino, &QLineEdit::textEdited, this, &CatalogueWindow::TextCasino_Change);
    connect(ComboLocations->lineEdit(), &QLineEdit::textEdited, this,
            [this] { limitTyping(ComboLocations->lineEdit(), kMaxLocationLength, m_dialogs); });
    connect(ComboGame->lineEdit(), &QLineEdit::textEdited, this,
            [this] { limitTyping(ComboGame->lineEdit(), kMaxGameLength, m_dialogs); });
    showKeyFields(false);

    CommandBack = button(this, "CommandBack", "BACK TO GAME");
    CommandImport = button(this, "CommandImport", "IMPORT");
    CommandExport = button(this, "CommandExport", "EXPORT");
    CommandEdit = button(this, "CommandEdit", kEditCaption);
    CommandAddNew = button(this, "CommandAddNew", "ADD NEW GAME");
    CommandDelete = button(this, "CommandDelete", "DELETE GAME");
    CommandAbout = button(this, "CommandAbout", "ABOUT");
    CommandHelp = button(this, "CommandHelp", "HELP");
    connect(CommandBack, &QPushButton::clicked, this, &CatalogueWindow::CommandBack_Click);
    connect(CommandImport, &QPushButton::clicked, this, &CatalogueWindow::CommandImport_Click);
    connect(CommandExport, &QPushButton::clicked, this, &CatalogueWindow::CommandExport_Click);
    connect(CommandEdit, &QPushButton::clicked, this, &CatalogueWindow::CommandEdit_Click);
    connect(CommandAddNew, &QPushButton::clicked, this, &CatalogueWindow::CommandAddNew_Click);
    connect(CommandDelete, &QPushButton::clicked, this, &CatalogueWindow::CommandDelete_Click);
    connect(CommandAbout, &QPushButton::clicked, this, &CatalogueWindow::CommandAbout_Click);
    connect(CommandHelp, &QPushButton::clicked, this, &CatalogueWindow::CommandHelp_Click);
}

void CatalogueWindow::layOutControls()
{
    // Game list, pay grid, bonus grid, key fields, then the buttons: BACK TO GAME, IMPORT
    // above EXPORT, EDIT PAYS, ADD NEW GAME, DELETE GAME, ABOUT, HELP.
    auto* keys = new QHBoxLayout;
    keys->addWidget(ComboLocations, 3015);
    keys->addWidget(TextCasino, 3720);
    keys->addWidget(ComboGame, 2175);

    auto* exchange = new QVBoxLayout;
    exchange->setSpacing(6);
    exchange->addWidget(CommandImport);
    exchange->addWidget(CommandExport);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CommandBack, 1575);
    buttons->addLayout(exchange, 1575);
    buttons->addWidget(CommandEdit, 1070);
    buttons->addWidget(CommandAddNew, 1215);
    buttons->addWidget(CommandDelete, 1335);
    buttons->addWidget(CommandAbout, 1150);
    buttons->addWidget(CommandHelp, 975);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 8, 16, 12);
    layout->addWidget(ComboGameList);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(GridReturn);
    layout->addWidget(TextReturnNote);
    layout->addWidget(DBGrid2);
    layout->addLayout(keys);
    layout->addLayout(buttons);
}

void CatalogueWindow::Form_Load()
{
    pDataListing->setDatabase(m_module2.gDatabase);
    DataBonus->setDatabase(m_module2.gDatabase);
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void CatalogueWindow::releaseDatabase()
{
    for (PayGridModel* model : {pDataListing, DataBonus}) {
        model->clear();
        model->setDatabase({});
    }
}

void CatalogueWindow::setGameList(const std::vector<GameKey>& games, const GameKey& currentGame)
{
    fillGameList(ComboGameList, games);
    showGame(ComboGameList, currentGame);
}

bool CatalogueWindow::isUnlocked() const
{
    return CommandEdit->text().compare(kEditCaption, Qt::CaseInsensitive) != 0;
}

void CatalogueWindow::openFromBoard()
{
    showGame(ComboGameList, m_module2.gCurrentGame);
    ComboGameList_Click();
    show();
    raise();
    setGridsEditable(false);
}

void CatalogueWindow::ComboGameList_Click()
{
    // A game that is not listed (a copy not yet stored under its own key) stays current.
    if (ComboGameList->currentIndex() >= 0)
        m_module2.gCurrentGame = currentGameKey(ComboGameList);
    m_module2.gCurrentGameSql = GameSql(m_module2.gCurrentGame);
    pDataListing->showGame(m_module2.gCurrentGameSql);
    // The bonus grid shows the game's bonus row, wherever it is stored.
    DataBonus->showGame(m_module2.gCurrentGameSql, " AND [Catch] = 0");
    const GameKey key = NormaliseGameKey(m_module2.gCurrentGame).key;
    ComboLocations->setCurrentText(qs(key.Location));
    TextCasino->setText(qs(key.Casino));
    ComboGame->setCurrentText(qs(key.Game));
}

std::vector<PayScheduleRow> CatalogueWindow::gridRows() const
{
    std::vector<PayScheduleRow> rows;
    for (int r = 0; r < pDataListing->rowCount(); ++r) {
        PayScheduleRow row;
        if (const auto caught = OptionalNumber(pDataListing->value(r, "Catch")))
            row.Catch = static_cast<int>(*caught);
        for (int n = 1; n <= kMaxMarked; ++n)
            row.Pick[n - 1] = OptionalNumber(pDataListing->value(r, QStringLiteral("Pick%1").arg(n)));
        // The bonus grid shows the bonus row's own values.
        if (DataBonus->rowCount() > 0 && pDataListing->rowId(r) == DataBonus->rowId(0)) {
            row.BonusBall = OptionalNumber(DataBonus->value(0, "Bonus Ball"));
            row.FreeGames = OptionalNumber(DataBonus->value(0, "Free Games"));
            row.BonusFactor = OptionalNumber(DataBonus->value(0, "Bonus Factor"));
            row.Egg1Bonus = OptionalNumber(DataBonus->value(0, "Egg1 Bonus"));
            row.Egg2Bonus = OptionalNumber(DataBonus->value(0, "Egg2 Bonus"));
            row.Egg3Bonus = OptionalNumber(DataBonus->value(0, "Egg3 Bonus"));
        }
        rows.push_back(row);
    }
    return rows;
}

void CatalogueWindow::showExactReturns()
{
    const KenoGame game = KenoGame::fromRows(gridRows(), m_module2.gCurrentGame);
    bool differs = false;
    std::vector<std::optional<int>> exactBets;
    for (int marked = 1; marked <= kMaxMarked; ++marked) {
        const TicketReturns returns = TicketReturnsOf(game, marked);
        const QString reason = noReturnReason(game, marked);
        auto show = [&](int row, const std::optional<double>& value) {
            QTableWidgetItem* item = GridReturn->item(row, marked + 1);
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
    TextReturnNote->setText(differs
                                ? "At a bet of 1 the board rounds each pay to whole credits (a pay of 0.5 "
                                  "pays nothing). " +
                                      qs(ExactBetNote(CommonExactBet(exactBets)))
                                : QString());
}

void CatalogueWindow::showReturnRows(int rows)
{
    GridReturn->setRowHidden(1, rows < 2);
    GridReturn->setFixedHeight(rows * GridReturn->rowHeight(0) + 4);
    TextReturnNote->setVisible(rows > 1);
}

void CatalogueWindow::TextCasino_Change()
{
    limitTyping(TextCasino, kMaxCasinoLength, m_dialogs);
}

void CatalogueWindow::showKeyFields(bool visible)
{
    ComboLocations->setVisible(visible);
    TextCasino->setVisible(visible);
    ComboGame->setVisible(visible);
}

void CatalogueWindow::setGridsEditable(bool editable)
{
    pDataListing->setEditable(editable);
    DataBonus->setEditable(editable);
}

GameKey CatalogueWindow::keyFields() const
{
    return {ComboLocations->currentText().toStdString(), TextCasino->text().toStdString(),
            ComboGame->currentText().toStdString()};
}

bool CatalogueWindow::rebuildGameLists()
{
    std::vector<GameKey> games;
    QString error;
    if (!ReadGameList(m_module2.gDatabase, &games, &error)) {
        m_dialogs.message(this, "The list of games cannot be read: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
        return false;
    }
    fillGameList(ComboGameList, games);
    emit gameListRebuilt(games);
    return true;
}

void CatalogueWindow::CommandBack_Click()
{
    pDataListing->reload();
    if (m_module2.gEditingPays && !m_editedGames.empty()) {
        QString error;
        if (!RoundPaysToWholeNumbers(m_module2.gDatabase, m_editedGames, &error))
            m_dialogs.message(this, "The pays could not be stored as whole numbers: " + error, kProgramTitle,
                              Dialogs::Icon::Warning);
    }
    m_module2.gEditingPays = false;
    m_editedGames.clear();
    setGridsEditable(false);
    CommandEdit->setText(kEditCaption);
    CommandDelete->setEnabled(true);
    emit backToGame(m_module2.gCurrentGame);
    hide();
}

void CatalogueWindow::CommandHelp_Click()
{
    const QString path = QDir(m_module2.gProgramFolder).filePath("Help/help.htm");
    if (m_dialogs.openDocument(path))
        return;
    // No viewer for it on this desktop: the program shows the page itself.
    if (!m_helpViewer) {
        auto* viewer = new QTextBrowser;
        viewer->setObjectName("HelpViewer");
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
    viewer->show();
    viewer->raise();
}

void CatalogueWindow::CommandAbout_Click()
{
    if (!m_about)
        m_about = new AboutDialog(this);
    m_about->setWindowFlag(Qt::Window);
    m_about->show();
    m_about->raise();
}

void CatalogueWindow::CommandAddNew_Click()
{
    CommandDelete->setEnabled(true);
    if (!m_dialogs.askOkCancel(this,
                               "The Pay Table and Bonus values for the current game will be duplicated\n"
                               "for the new game. Edit these values as required, then change the values\n"
                               "shown as 'New' for Location and Casino.",
                               "Enter info for the new game", Dialogs::Icon::None))
        return;
    QString error;
    if (!CopyGameAsNew(m_module2.gDatabase, m_module2.gCurrentGame, ComboGame->currentText(), &error)) {
        m_dialogs.message(this, "The game could not be copied: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
        return;
    }
    pDataListing->reload();
    showKeyFields(true);
    m_module2.gCurrentGame = NormaliseGameKey({"New", "New", ComboGame->currentText().toStdString()}).key;
    showGame(ComboGameList, m_module2.gCurrentGame);
    ComboGameList_Click();
    CommandEdit_Click();
    ComboLocations->setFocus();
}

void CatalogueWindow::CommandDelete_Click()
{
    if (!m_dialogs.askYesNo(this, "Are You Sure You Want to Delete the Current Game?", kProgramTitle,
                            Dialogs::Icon::Question, Dialogs::Default::No))
        return;
    const GameKey key = m_module2.gCurrentGame;
    QString error;
    switch (DeleteGame(m_module2.gDatabase, key, &error)) {
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
    m_module2.gCurrentGame = ComboGameList->count() > 0 ? ComboGameList->itemData(0).value<GameKey>() : GameKey{};
    showGame(ComboGameList, m_module2.gCurrentGame);
    ComboGameList_Click();
}

void CatalogueWindow::CommandEdit_Click()
{
    m_module2.gEditingPays = true;
    if (isUnlocked())
        lock();
    else
        unlock();
}

void CatalogueWindow::unlock()
{
    m_dialogs.message(this,
                      "You may now change Pay and Bonus entries for the current game.\n\nYou may also change "
                      "Location, Casino Name and name of the Keno Game. When finished, click 'Lock Pays'.");
    setGridsEditable(true);
    showKeyFields(true);
    CommandEdit->setText(kLockCaption);
    for (QWidget* control :
         std::initializer_list<QWidget*>{CommandBack, CommandAddNew, CommandDelete, CommandAbout,
                                         ComboGameList, CommandImport, CommandExport})
        control->setEnabled(false);
    const GameKey key = m_module2.gCurrentGame;
    m_module2.gEditLocation = qs(key.Location);
    m_module2.gEditCasino = qs(key.Casino);
    m_module2.gEditGame = qs(key.Game);
    m_editedGames.push_back(key);
}

void CatalogueWindow::lock()
{
    const GameKeyNormalisation key = NormaliseGameKey(keyFields());
    if (!key.ok()) {
        m_dialogs.message(this, "The game cannot be stored under this name: " + qs(key.error) + ".");
        return;
    }
    if (IsPlaceholderKey(key.key.Location, key.key.Casino)) {
        m_dialogs.message(this, "Change the 'New' entries to other values before selecting 'Lock Pays'");
        return;
    }
    // What was typed is checked before anything is stored: a refusal changes nothing.
    const std::vector<PayScheduleRow> typed = gridRows();
    if (const auto refusal = CheckCatches(typed)) {
        m_dialogs.message(this, qs(*refusal));
        return;
    }
    if (const auto refusal = CheckValueRanges(typed)) {
        m_dialogs.message(this, qs(*refusal) + " Correct it before selecting 'Lock Pays'.");
        return;
    }
    const GameKey from{m_module2.gEditLocation.toStdString(), m_module2.gEditCasino.toStdString(),
                       m_module2.gEditGame.toStdString()};
    const GameKey to = key.key;
    std::vector<CellEdit> edits = pDataListing->typedCells();
    for (const CellEdit& edit : DataBonus->typedCells())
        edits.push_back(edit);
    QString error;
    switch (StoreEditedGame(m_module2.gDatabase, from, to, edits, &error)) {
    case StoreOutcome::KeyRefused:
        m_dialogs.message(this, "The game cannot be stored under this name: " + error + ".");
        return;
    case StoreOutcome::KeyTaken:
        m_dialogs.message(this,
                          "Another game already has this location, casino and game name. Change one of them "
                          "before selecting 'Lock Pays'.");
        return;
    case StoreOutcome::Failed:
        m_dialogs.message(this, "The game could not be stored: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
        return;
    case StoreOutcome::Stored:
        break;
    }
    // From here on the rows carry the new key: a refused check below leaves them there, and
    // the next lock starts from it.
    m_module2.gEditLocation = qs(to.Location);
    m_module2.gEditCasino = qs(to.Casino);
    m_module2.gEditGame = qs(to.Game);
    for (GameKey& edited : m_editedGames)
        if (SameGameKey(edited, from))
            edited = to;
    m_module2.gCurrentGame = to;
    m_module2.gCurrentGameSql = GameSql(to);
    pDataListing->showGame(m_module2.gCurrentGameSql);
    DataBonus->showGame(m_module2.gCurrentGameSql, " AND [Catch] = 0");

    std::vector<PayScheduleRow> rows;
    if (!ReadGameRows(m_module2.gDatabase, m_module2.gCurrentGameSql, &rows, &error)) {
        m_dialogs.message(this, "The pays cannot be read: " + error, kProgramTitle, Dialogs::Icon::Warning);
        return;
    }
    if (const auto refusal = CheckPays(rows)) {
        m_dialogs.message(this, qs(*refusal));
        return;
    }
    if (!rebuildGameLists())
        return;
    showGame(ComboGameList, to);
    ComboGameList_Click();

    auto bonusValue = [this](const char* field) {
        return LeadingNumber(DataBonus->value(0, field).toString().toStdString());
    };
    const BonusCheck bonus = CheckBonus(bonusValue("Bonus Ball"), bonusValue("Egg1 Bonus"),
                                        bonusValue("Egg2 Bonus"), bonusValue("Egg3 Bonus"), to.Game);
    if (bonus.verdict != BonusVerdict::Accept)
        m_dialogs.message(this, qs(bonus.message));
    if (bonus.verdict == BonusVerdict::Refuse)
        return;
    lockWindow();
}

void CatalogueWindow::lockWindow()
{
    setGridsEditable(false);
    showKeyFields(false);
    CommandEdit->setText(kEditCaption);
    for (QWidget* control : std::initializer_list<QWidget*>{CommandBack, CommandAddNew, CommandDelete,
                                                            CommandAbout, ComboGameList})
        control->setEnabled(true);
    showGame(ComboGameList, m_module2.gCurrentGame);
    CommandImport->setEnabled(true);
    CommandExport->setEnabled(true);
}

void CatalogueWindow::CommandExport_Click()
{
    const GameKey key = m_module2.gCurrentGame;
    std::vector<PayTableFileRecord> records;
    QString error;
    if (!ReadGameRecords(m_module2.gDatabase, key, &records, &error)) {
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

void CatalogueWindow::CommandImport_Click()
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
    if (!CountGameRows(m_module2.gDatabase, game.key, &existing, &error)) {
        refuseImport(error);
        return;
    }
    if (existing > 0 && !m_dialogs.askYesNo(this,
                                            "The Pay Table already holds the game " + describe(game.key) +
                                                ". Replace it with the game in the file?",
                                            kProgramTitle, Dialogs::Icon::Question, Dialogs::Default::No))
        return;
    if (!ImportGame(m_module2.gDatabase, game, &error)) {
        refuseImport(error);
        return;
    }
    if (!rebuildGameLists())
        return; // the reason has been shown
    m_module2.gCurrentGame = game.key;
    showGame(ComboGameList, game.key);
    ComboGameList_Click();
    m_dialogs.message(this, "Import Operation Complete!");
}

void CatalogueWindow::closeEvent(QCloseEvent* event)
{
    if (ConfirmQuitOnClose(m_dialogs, this, event))
        emit endProgramRequested(ComboGameList->currentText());
}

} // namespace tallyhawk
