#include "frmobjectmap.h"

#include "db/catalogue.h"
#include "db/paytable.h"
#include "engine/catalogue/payvalidation.h"
#include "engine/common/numberforms.h"
#include "engine/sim/exactodds.h"
#include "frmabout.h"
#include "gui/common/dialogs.h"
#include "gui/common/gamelistcombo.h"
#include "gui/common/module2.h"
#include "gui/common/uifonts.h"
#include "paygridmodel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace tallyhawk {

const QStringList frmObjectMap::kGameNames = {"Caveman Keno $1",
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

const QStringList frmObjectMap::kLocations = {"-",
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

GameKey keyOf(const QString& entry)
{
    return ParseGameListEntry(entry.toStdString());
}

bool sameKey(const GameKey& a, const GameKey& b)
{
    return qs(a.Location).compare(qs(b.Location), Qt::CaseInsensitive) == 0 &&
           qs(a.Casino).compare(qs(b.Casino), Qt::CaseInsensitive) == 0 &&
           qs(a.Game).compare(qs(b.Game), Qt::CaseInsensitive) == 0;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* command = new QPushButton(caption, parent);
    command->setObjectName(name);
    command->setFont(uiFont("Arial", 9, true));
    command->setMinimumHeight(33);
    command->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return command;
}

QTableView* grid(QWidget* parent, const char* name, PayGridModel* model)
{
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setModel(model);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    return view;
}

// The text of a record's key value (values 1 to 3 of a file), as it is stored.
QString keyText(const PayTableFileValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return qs(*text);
    if (const auto* number = std::get_if<double>(&value))
        return qs(PlainForm(*number));
    return {};
}

} // namespace

frmObjectMap::frmObjectMap(Module2& module2, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_module2(module2), m_dialogs(dialogs)
{
    setObjectName("frmObjectMap");
    setWindowTitle("Orrinford's Tallyhawk ");
    buildControls();
    layOutControls();
    resize(760, 460);
}

frmObjectMap::~frmObjectMap() = default;

void frmObjectMap::buildControls()
{
    ComboGameList = makeGameListCombo(this);
    connect(ComboGameList, &QComboBox::activated, this, &frmObjectMap::ComboGameList_Click);

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
    DBGrid1->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    DBGrid1->setColumnWidth(0, 110);
    // Under the pays: the pay table's return of each marked count, and where the board's return
    // at a bet of 1 (whole credits) differs, that one in a second row with a note.
    GridReturn = new QTableWidget(2, static_cast<int>(payFields.size()), this);
    GridReturn->setObjectName("GridReturn");
    GridReturn->horizontalHeader()->hide();
    GridReturn->verticalHeader()->hide();
    GridReturn->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    GridReturn->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    GridReturn->setColumnWidth(0, 110);
    GridReturn->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridReturn->setSelectionMode(QAbstractItemView::NoSelection);
    GridReturn->setFocusPolicy(Qt::NoFocus);
    const QString rowTips[] = {
        "The pay table's own exact return of each number of marked numbers: each pay times the bet, as "
        "casinos and keno references publish it, bonus features included",
        "The board's exact return at a bet of 1: it rounds each pay to whole credits, so a pay of 0.5 "
        "pays nothing"};
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < GridReturn->columnCount(); ++column) {
            auto* item = new QTableWidgetItem(column > 0 ? "" : row == 0 ? "Return %" : "At bet 1 %");
            item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
            item->setToolTip(rowTips[row]);
            GridReturn->setItem(row, column, item);
        }
    TextReturnNote = new QLabel(this);
    TextReturnNote->setObjectName("TextReturnNote");
    TextReturnNote->setWordWrap(true);
    showReturnRows(1);
    // Each stored edit of a pay reloads the grid: the returns follow.
    connect(pDataListing, &QAbstractItemModel::modelReset, this, &frmObjectMap::showExactReturns);
    DBGrid2 = grid(this, "DBGrid2", DataBonus);
    DBGrid2->setFixedHeight(34 + DBGrid2->horizontalHeader()->sizeHint().height());
    // The bonus captions are long: those columns take the width of their captions.
    for (int column = DataBonus->fieldColumn("Bonus Ball"); column < DataBonus->columnCount(); ++column)
        DBGrid2->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);

    ComboLocations = new QComboBox(this);
    ComboLocations->setObjectName("ComboLocations");
    ComboLocations->setEditable(true);
    ComboLocations->setInsertPolicy(QComboBox::NoInsert);
    ComboLocations->addItems(kLocations);
    TextCasino = new QLineEdit(this);
    TextCasino->setObjectName("TextCasino");
    connect(TextCasino, &QLineEdit::textChanged, this, &frmObjectMap::TextCasino_Change);
    ComboGame = new QComboBox(this);
    ComboGame->setObjectName("ComboGame");
    ComboGame->setEditable(true);
    ComboGame->setInsertPolicy(QComboBox::NoInsert);
    ComboGame->addItems(kGameNames);
    showKeyFields(false);

    CommandBack = button(this, "CommandBack", "BACK TO GAME");
    CommandImport = button(this, "CommandImport", "IMPORT");
    CommandExport = button(this, "CommandExport", "EXPORT");
    CommandEdit = button(this, "CommandEdit", kEditCaption);
    CommandAddNew = button(this, "CommandAddNew", "ADD NEW GAME");
    CommandDelete = button(this, "CommandDelete", "DELETE GAME");
    CommandAbout = button(this, "CommandAbout", "ABOUT");
    CommandHelp = button(this, "CommandHelp", "HELP");
    connect(CommandBack, &QPushButton::clicked, this, &frmObjectMap::CommandBack_Click);
    connect(CommandImport, &QPushButton::clicked, this, &frmObjectMap::CommandImport_Click);
    connect(CommandExport, &QPushButton::clicked, this, &frmObjectMap::CommandExport_Click);
    connect(CommandEdit, &QPushButton::clicked, this, &frmObjectMap::CommandEdit_Click);
    connect(CommandAddNew, &QPushButton::clicked, this, &frmObjectMap::CommandAddNew_Click);
    connect(CommandDelete, &QPushButton::clicked, this, &frmObjectMap::CommandDelete_Click);
    connect(CommandAbout, &QPushButton::clicked, this, &frmObjectMap::CommandAbout_Click);
    connect(CommandHelp, &QPushButton::clicked, this, &frmObjectMap::CommandHelp_Click);
}

void frmObjectMap::layOutControls()
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

void frmObjectMap::Form_Load()
{
    pDataListing->setDatabase(m_module2.gDatabase);
    DataBonus->setDatabase(m_module2.gDatabase);
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmObjectMap::releaseDatabase()
{
    for (PayGridModel* model : {pDataListing, DataBonus}) {
        model->clear();
        model->setDatabase({});
    }
}

void frmObjectMap::setGameList(const QStringList& entries, const QString& currentGame)
{
    ComboGameList->clear();
    ComboGameList->addItems(entries);
    ComboGameList->setCurrentText(currentGame);
}

bool frmObjectMap::isUnlocked() const
{
    return CommandEdit->text().compare(kEditCaption, Qt::CaseInsensitive) != 0;
}

void frmObjectMap::openFromBoard()
{
    ComboGameList->setCurrentText(m_module2.gCurrentGameName);
    ComboGameList_Click();
    show();
    raise();
    setGridsEditable(false);
}

void frmObjectMap::ComboGameList_Click()
{
    m_module2.gCurrentGameName = ComboGameList->currentText();
    m_module2.gCurrentGameSql = BuildCurrentGameSql(m_module2.gCurrentGameName);
    pDataListing->showGame(m_module2.gCurrentGameSql);
    // The bonus grid shows the game's bonus row, wherever it is stored.
    DataBonus->showGame(m_module2.gCurrentGameSql, " AND [Catch] = 0");
    const GameKey key = m_module2.gCurrentGameSql.key();
    ComboLocations->setCurrentText(qs(key.Location));
    TextCasino->setText(qs(key.Casino));
    ComboGame->setCurrentText(qs(key.Game));
}

void frmObjectMap::showExactReturns()
{
    // A game that cannot be read shows no returns: the grids above say what is stored.
    KenoGame game;
    const bool read =
        m_module2.gDatabase.isOpen() && ReadGame(m_module2.gDatabase, m_module2.gCurrentGameSql, &game);
    bool differs = false;
    std::vector<std::optional<int>> exactBets;
    for (int marked = 1; marked <= 10; ++marked) {
        const TicketReturns returns = read ? TicketReturnsOf(game, marked) : TicketReturns{};
        auto text = [](const std::optional<double>& value) {
            return value ? qs(FormatTwoDecimals(*value)) : QString();
        };
        GridReturn->item(0, marked + 1)->setText(text(returns.payTable));
        GridReturn->item(1, marked + 1)->setText(text(returns.wholeCredits));
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

void frmObjectMap::showReturnRows(int rows)
{
    GridReturn->setRowHidden(1, rows < 2);
    GridReturn->setFixedHeight(rows * GridReturn->rowHeight(0) + 4);
    TextReturnNote->setVisible(rows > 1);
}

void frmObjectMap::TextCasino_Change()
{
    if (TextCasino->text().size() <= kMaxCasinoLength)
        return;
    m_dialogs.beep();
    TextCasino->setText(TextCasino->text().left(kMaxCasinoLength));
}

void frmObjectMap::showKeyFields(bool visible)
{
    ComboLocations->setVisible(visible);
    TextCasino->setVisible(visible);
    ComboGame->setVisible(visible);
}

void frmObjectMap::setGridsEditable(bool editable)
{
    pDataListing->setEditable(editable);
    DataBonus->setEditable(editable);
}

GameKey frmObjectMap::keyFields() const
{
    // Stored without surrounding blanks, so that the game is found by its list entry again.
    return {ComboLocations->currentText().trimmed().toStdString(), TextCasino->text().trimmed().toStdString(),
            ComboGame->currentText().trimmed().toStdString()};
}

bool frmObjectMap::rebuildGameLists()
{
    QStringList entries;
    QString error;
    if (!ReadGameList(m_module2.gDatabase, &entries, &error)) {
        m_dialogs.message(this, "The list of games cannot be read: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
        return false;
    }
    ComboGameList->clear();
    ComboGameList->addItems(entries);
    emit gameListRebuilt(entries);
    return true;
}

void frmObjectMap::CommandBack_Click()
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
    emit backToGame(ComboGameList->currentText());
    hide();
}

void frmObjectMap::CommandHelp_Click()
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

void frmObjectMap::CommandAbout_Click()
{
    if (!m_about)
        m_about = new frmAbout(this);
    m_about->setWindowFlag(Qt::Window);
    m_about->show();
    m_about->raise();
}

void frmObjectMap::CommandAddNew_Click()
{
    CommandDelete->setEnabled(true);
    if (!m_dialogs.askOkCancel(this,
                               "The Pay Table and Bonus values for the current game will be duplicated\n"
                               "for the new game. Edit these values as required, then change the values\n"
                               "shown as 'New' for Location and Casino.",
                               "Enter info for the new game", Dialogs::Icon::None))
        return;
    QString error;
    if (!CopyGameAsNew(m_module2.gDatabase, keyOf(ComboGameList->currentText()), ComboGame->currentText(),
                       &error)) {
        m_dialogs.message(this, "The game could not be copied: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
        return;
    }
    pDataListing->reload();
    showKeyFields(true);
    const QString entry = ComboGameList->currentText();
    ComboGameList->setCurrentText(qs(FormatGameListEntry(GameKey{"New", "New", ""})).left(55) +
                                  entry.right(kGameWidth).rightJustified(kGameWidth, ' '));
    ComboGameList_Click();
    CommandEdit_Click();
    ComboLocations->setFocus();
}

void frmObjectMap::CommandDelete_Click()
{
    if (!m_dialogs.askYesNo(this, "Are You Sure You Want to Delete the Current Game?"))
        return;
    QString error;
    switch (DeleteGame(m_module2.gDatabase, keyOf(m_module2.gCurrentGameName), &error)) {
    case DeleteOutcome::TooFewRows:
        m_dialogs.message(this, "You must leave at least one game in the Pay Table. Operation Terminated.");
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
    ComboGameList->setCurrentText(ComboGameList->count() > 0 ? ComboGameList->itemText(0) : QString());
    ComboGameList_Click();
}

void frmObjectMap::CommandEdit_Click()
{
    m_module2.gEditingPays = true;
    if (isUnlocked())
        lock();
    else
        unlock();
}

void frmObjectMap::unlock()
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
    const GameKey key = keyOf(ComboGameList->currentText());
    m_module2.gEditLocation = qs(key.Location);
    m_module2.gEditCasino = qs(key.Casino);
    m_module2.gEditGame = qs(key.Game);
    m_editedGames.push_back(key);
}

void frmObjectMap::lock()
{
    if (IsPlaceholderKey(ComboLocations->currentText().toStdString(), TextCasino->text().toStdString())) {
        m_dialogs.message(this, "Change the 'New' entries to other values before selecting 'Lock Pays'");
        return;
    }
    const GameKey from{m_module2.gEditLocation.toStdString(), m_module2.gEditCasino.toStdString(),
                       m_module2.gEditGame.toStdString()};
    const GameKey to = keyFields();
    QString error;
    switch (RenameGame(m_module2.gDatabase, from, to, &error)) {
    case RenameOutcome::KeyTaken:
        m_dialogs.message(this,
                          "Another game already has this location, casino and game name. Change one of them "
                          "before selecting 'Lock Pays'.");
        return;
    case RenameOutcome::Failed:
        m_dialogs.message(this, "The game could not be stored under its new name: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
        return;
    case RenameOutcome::Renamed:
        break;
    }
    // From here on the rows carry the new key: a refused check below leaves them there, and
    // the next lock starts from it.
    m_module2.gEditLocation = qs(to.Location);
    m_module2.gEditCasino = qs(to.Casino);
    m_module2.gEditGame = qs(to.Game);
    for (GameKey& edited : m_editedGames)
        if (sameKey(edited, from))
            edited = to;
    m_module2.gCurrentGameSql = GameSql(to);
    pDataListing->showGame(m_module2.gCurrentGameSql);
    DataBonus->showGame(m_module2.gCurrentGameSql, " AND [Catch] = 0");

    std::vector<PayScheduleRow> rows;
    if (!ReadGameRows(m_module2.gDatabase, m_module2.gCurrentGameSql, &rows, &error)) {
        m_dialogs.message(this, "The pays cannot be checked: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
        return;
    }
    if (const auto refusal = CheckPays(rows)) {
        m_dialogs.message(this, qs(*refusal));
        return;
    }
    if (!rebuildGameLists())
        return;
    m_module2.gCurrentGameName = qs(FormatGameListEntry(to));
    ComboGameList->setCurrentText(m_module2.gCurrentGameName);
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

void frmObjectMap::lockWindow()
{
    setGridsEditable(false);
    showKeyFields(false);
    CommandEdit->setText(kEditCaption);
    for (QWidget* control : std::initializer_list<QWidget*>{CommandBack, CommandAddNew, CommandDelete,
                                                            CommandAbout, ComboGameList})
        control->setEnabled(true);
    ComboGameList->setCurrentText(m_module2.gCurrentGameName);
    CommandImport->setEnabled(true);
    CommandExport->setEnabled(true);
}

void frmObjectMap::CommandExport_Click()
{
    const GameKey key = keyOf(ComboGameList->currentText());
    std::vector<PayTableFileRecord> records;
    QString error;
    const bool read = ReadGameRecords(m_module2.gDatabase, key, &records, &error);
    const QString fileName = m_dialogs.saveFileName(
        this, "Export Pay Table", QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
        kFileFilter);
    if (fileName.isEmpty())
        return;
    // The whole file is written to a temporary file first: a failure leaves no partial file.
    QSaveFile file(fileName);
    const std::string text = FormatPayTableFile(records);
    if (!read || !file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
        !file.commit()) {
        m_dialogs.message(this, kExportError);
        return;
    }
    m_dialogs.message(this, "Export Operation Complete!");
}

void frmObjectMap::CommandImport_Click()
{
    const QString fileName = m_dialogs.openFileName(this, "Import Pay Table", {}, kFileFilter);
    if (fileName.isEmpty())
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_dialogs.message(this, kImportError);
        return;
    }
    const QByteArray bytes = file.readAll();
    const PayTableFileContents contents = ReadPayTableFile(
        DecodePayTableBytes(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
    QString error;
    if (!contents.ok() || !ImportGame(m_module2.gDatabase, contents.records, &error)) {
        QApplication::restoreOverrideCursor();
        m_dialogs.message(this, kImportError);
        return;
    }
    if (!rebuildGameLists())
        return; // the reason has been shown
    const PayTableFileRecord& first = contents.records.front();
    const GameKey imported{keyText(first[0]).trimmed().toStdString(),
                           keyText(first[1]).trimmed().toStdString(),
                           keyText(first[2]).trimmed().toStdString()};
    QString entry = qs(FormatGameListEntry(imported));
    for (int i = 0; i < ComboGameList->count(); ++i) {
        if (sameKey(keyOf(ComboGameList->itemText(i)), imported)) {
            entry = ComboGameList->itemText(i);
            break;
        }
    }
    ComboGameList->setCurrentText(entry);
    m_module2.gCurrentGameName = entry;
    ComboGameList_Click();
    m_dialogs.message(this, "Import Operation Complete!");
}

void frmObjectMap::closeEvent(QCloseEvent* event)
{
    if (ConfirmQuitOnClose(m_dialogs, this, event))
        emit endProgramRequested(ComboGameList->currentText());
}

} // namespace tallyhawk
