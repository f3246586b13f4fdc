// The board's ticket, bets and credits: marking, quick pick, the bet button, adding credits,
// the pays listing and the START button's enabling.

#include "boardgrid.h"
#include "db/defaults.h"
#include "db/paytable.h"
#include "engine/common/numberforms.h"
#include "engine/play/deck.h"
#include "engine/play/payslist.h"
#include "boardwindow.h"
#include "gui/common/dialogs.h"
#include "gui/common/module2.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tallyhawk {

namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}
} // namespace

void BoardWindow::showCredits(double credits, std::string (*form)(double))
{
    m_credits = credits;
    TextCredits->setText(qs(form(credits)));
}

void BoardWindow::showBet(int bet, std::string (*form)(double))
{
    m_bet = bet;
    TextBet->setText(qs(form(bet)));
}

void BoardWindow::setCredits(double credits)
{
    showCredits(credits, PlainForm);
    keepCredits();
}

double BoardWindow::creditsKept() const
{
    return m_credits + (m_module2.gBetPrepaid && !m_playing ? m_bet : 0);
}

void BoardWindow::keepCredits()
{
    const double kept = creditsKept();
    if (kept == m_creditsSaved)
        return;
    const SaveResult saved = SaveCredits(m_module2.gDatabase, kept);
    if (!saved.failed()) {
        m_creditsSaved = kept; // or a read-only database, as the user was told at start
        return;
    }
    if (!m_creditsSaveFailed)
        m_dialogs.message(this, "The credits could not be saved: " + saved.error, kProgramTitle,
                          Dialogs::Icon::Warning);
    m_creditsSaveFailed = true;
}

void BoardWindow::setOdds(const QString& text)
{
    m_oddsText = text;
    QString shown = text;
    TextOdds->setExtraSelections({});
    TextOdds->setPlainText(shown.replace("\r\n", "\n"));
}

std::optional<KenoGame> BoardWindow::readGame()
{
    KenoGame game;
    QString error;
    if (ReadGame(m_module2.gDatabase, m_module2.gCurrentGameSql, &game, &error))
        return game;
    m_dialogs.message(this, "The pays of this game cannot be read: " + error, kProgramTitle,
                      Dialogs::Icon::Warning);
    return std::nullopt;
}

// The listing for the marked count at the current bet; only its header when the game's pays
// cannot be read (the reason has been shown), so that START stays refused.
void BoardWindow::showPaysList()
{
    const std::optional<KenoGame> game = readGame();
    setOdds(game ? qs(BuildPaysList(mMarkedCount, bet(), *game)) : QString(kPaysListHeader));
    mOddsTextLength = static_cast<std::int16_t>(m_oddsText.size());
}

void BoardWindow::showCell(int row, int column, const QString& text, Picture picture)
{
    MSFlexBoard->setCellText(row, column, text);
    MSFlexBoard->setCellPicture(row, column, m_pictures.get(picture));
}

void BoardWindow::MSFlexBoard_Click(int row, int column)
{
    if (bet() < 1) {
        m_dialogs.message(this, "You must place a bet before selecting numbers!");
        return;
    }
    if (row == kSeparatorRow || NumberOfCell(row, column) == 0)
        return;
    auto& mark = m_module2.gBoardMarks[row][column];
    if (mark == kMarked) {
        mark = 0;
        showCell(row, column, qs(PlainForm(NumberOfCell(row, column))), Picture::None);
        MSFlexBoard->setCellBackground(row, column, BoardGrid::kBoardColour);
        --mMarkedCount;
    } else {
        if (mMarkedCount == kMaxMarked) {
            m_dialogs.message(this, "You may not pick more than ten numbers for this game.");
            return;
        }
        mark = kMarked;
        showCell(row, column, " ", Picture::BlueCheck);
        ++mMarkedCount;
    }
    showPaysList();
    TextMarked->setText("MARKED  " + qs(StrForm(mMarkedCount)));
}

void BoardWindow::CommandQuickPick_Click()
{
    for (auto& row : m_module2.gBoardMarks)
        row.fill(0);
    MSFlexBoard->showNumbers();
    // The count stays: the new ticket has as many numbers as the old one.
    for (int n : QuickPickNumbers(std::clamp<int>(mMarkedCount, 0, kMaxMarked), m_module2.gRandom)) {
        const BoardCell cell = CellOfNumber(n);
        showCell(cell.row, cell.column, " ", Picture::BlueCheck);
        m_module2.gBoardMarks[cell.row][cell.column] = kMarked;
    }
    CommandStart->setFocus();
}

void BoardWindow::CommandBet_Click()
{
    if (credits() <= 0) {
        m_dialogs.message(this, "You must ADD CREDITS before you can bet!");
        return;
    }
    const int current = bet();
    if (mBetStep == -1 && current == 0) {
        m_dialogs.message(this, "You may not place a negative bet!");
        mBetStep = 1;
        return;
    }
    if (mBetStep == 1 && current == 45) {
        m_dialogs.message(this, "Your bet may not exceed 45 credits.");
        return;
    }
    if (m_module2.gBetPrepaid)
        showCredits(RoundHalfEven(credits()) - mBetStep, StrForm);
    showBet(current + mBetStep, StrForm);
    keepCredits();
    if (m_oddsText.trimmed().isEmpty())
        return;
    showPaysList();
    // Once bets are charged at START, a bet above the credits keeps START disabled.
    CommandStart->setEnabled(m_module2.gBetPrepaid || bet() <= credits());
}

void BoardWindow::CommandAdd_Click()
{
    if (mBetStep == -1) {
        setCredits(m_module2.gStartupCredits);
        return;
    }
    const std::optional<QString> answer =
        m_dialogs.input(this, "Enter Number of Credits to Add >", "Increase Credit Total",
                        qs(PlainForm(m_module2.gStartupCredits)));
    const double added = answer ? LeadingNumber(answer->toStdString()) : 0;
    const double total = credits() + added;
    if (const auto refusal = CheckCreditTotal(total)) {
        m_dialogs.message(this, qs(*refusal));
        return;
    }
    if (total > 0)
        setCredits(total);
}

void BoardWindow::TextBet_Change()
{
    if (!m_module2.gBetPrepaid)
        CommandStart->setEnabled(bet() <= credits());
}

void BoardWindow::TextCredits_Change()
{
    if (bet() < credits() && CommandErase->isEnabled())
        CommandStart->setEnabled(true);
}

} // namespace tallyhawk
