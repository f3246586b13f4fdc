// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The board's ticket, bets and credits: marking, quick pick, the bet button, adding credits,
// the pays listing and the START button's enabling. The rules are the engine's (betting.h,
// ticket.h); this file shows what they decide.

#include "boardgrid.h"
#include "boardwindow.h"
#include "db/defaults.h"
#include "db/paytable.h"
#include "engine/common/numberforms.h"
#include "engine/play/betting.h"
#include "engine/play/deck.h"
#include "gui/common/dialogs.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tallyhawk {

namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

constexpr char kPaysListHeader[] = " Hits     Win\r\n";

// " Hits     Win", then a line per catch: the catch right-aligned in four columns, the win
// eleven columns after the catch's last digit ("   2         2", "  10        30000").
QString paysListingOf(const std::vector<PayLine>& lines)
{
    QString listing = kPaysListHeader;
    for (const PayLine& line : lines) {
        const QString hits = qs(StrForm(line.hits));
        listing += hits.rightJustified(4) + QString(11 - hits.size(), ' ') + qs(PlainForm(line.win)) + "\r\n";
    }
    return listing;
}

} // namespace

void BoardWindow::showCredits(double credits, std::string (*form)(double))
{
    m_credits = credits;
    creditsLabel->setText(qs(form(credits)));
}

void BoardWindow::showBet(int bet, std::string (*form)(double))
{
    m_bet = bet;
    betLabel->setText(qs(form(bet)));
}

void BoardWindow::setCredits(double credits)
{
    showCredits(credits, PlainForm);
    keepCredits();
}

double BoardWindow::creditsKept() const
{
    return CreditsKept(m_credits, m_bet, m_betPrepaid, m_playing);
}

void BoardWindow::keepCredits()
{
    const double kept = creditsKept();
    if (kept == m_creditsSaved)
        return;
    const SaveResult saved = SaveCredits(m_database, kept);
    if (!saved.failed()) {
        m_creditsSaved = kept; // or a read-only database, as the user was told at start
        return;
    }
    if (!m_creditsSaveFailed)
        m_dialogs.message(this, "The credits could not be saved: " + saved.error, kProgramTitle,
                          Dialogs::Icon::Warning);
    m_creditsSaveFailed = true;
}

void BoardWindow::showPayLines(const std::optional<std::vector<PayLine>>& lines)
{
    m_payLines = lines;
    m_paysListing = lines ? paysListingOf(*lines) : QString();
    setPaysText(m_paysListing);
}

void BoardWindow::setPaysText(const QString& text)
{
    m_paysText = text;
    QString shown = text;
    paysListing->setExtraSelections({});
    paysListing->setPlainText(shown.replace("\r\n", "\n"));
}

std::optional<KenoGame> BoardWindow::readGame()
{
    KenoGame game;
    QString error;
    if (ReadGame(m_database, m_currentGame.sql, &game, &error))
        return game;
    m_dialogs.message(this, "The pays of this game cannot be read: " + error, kProgramTitle,
                      Dialogs::Icon::Warning);
    return std::nullopt;
}

// The listing for the ticket at the current bet; only its header when the game's pays cannot
// be read (the reason has been shown), so that START stays refused.
void BoardWindow::showPaysList()
{
    const std::optional<KenoGame> game = readGame();
    showPayLines(game ? PayLines(m_ticket.count(), bet(), *game) : std::vector<PayLine>{});
}

void BoardWindow::showCell(int row, int column, const QString& text, Picture picture)
{
    boardGrid->setCellText(row, column, text);
    boardGrid->setCellPicture(row, column, m_pictures.get(picture));
}

void BoardWindow::toggleNumber(int row, int column)
{
    if (bet() < 1) {
        m_dialogs.message(this, "You must place a bet before selecting numbers!");
        return;
    }
    switch (m_ticket.toggle(NumberOfCell(row, column))) {
    case Ticket::Toggle::NotOnBoard:
        return;
    case Ticket::Toggle::Full:
        m_dialogs.message(this, "You may not pick more than ten numbers for this game.");
        return;
    case Ticket::Toggle::Unmarked:
        showCell(row, column, qs(PlainForm(NumberOfCell(row, column))), Picture::None);
        boardGrid->setCellBackground(row, column, BoardGrid::kBoardColour);
        break;
    case Ticket::Toggle::Marked:
        showCell(row, column, " ", Picture::BlueCheck);
        break;
    }
    showPaysList();
    markedLabel->setText("MARKED  " + qs(StrForm(m_ticket.count())));
}

void BoardWindow::quickPick()
{
    boardGrid->showNumbers();
    // The new ticket has as many numbers as the old one.
    m_ticket = Ticket(QuickPickNumbers(m_ticket.count(), m_random));
    for (int n : m_ticket.numbers()) {
        const BoardCell cell = CellOfNumber(n);
        showCell(cell.row, cell.column, " ", Picture::BlueCheck);
    }
    startButton->setFocus();
}

void BoardWindow::stepBet()
{
    const BetStep step = StepBet(bet(), m_betStep, credits(), m_betPrepaid);
    if (step.refused()) {
        m_dialogs.message(this, qs(step.refusal));
        if (credits() > 0 && m_betStep == -1 && bet() == 0)
            m_betStep = 1; // after a refused negative bet the next click steps up again
        return;
    }
    if (m_betPrepaid)
        showCredits(step.credits, StrForm);
    showBet(step.bet, StrForm);
    keepCredits();
    if (!m_payLines)
        return;
    showPaysList();
    startButton->setEnabled(StartCoversBet(bet(), credits(), m_betPrepaid));
}

void BoardWindow::addCredits()
{
    if (m_betStep == -1) {
        setCredits(m_options.startupCredits);
        return;
    }
    const std::optional<QString> answer =
        m_dialogs.input(this, "Enter Number of Credits to Add >", "Increase Credit Total",
                        qs(PlainForm(m_options.startupCredits)));
    const double added = answer ? LeadingNumber(answer->toStdString()) : 0;
    const double total = credits() + added;
    if (const auto refusal = CheckCreditTotal(total)) {
        m_dialogs.message(this, qs(*refusal));
        return;
    }
    if (total > 0)
        setCredits(total);
}

void BoardWindow::enableStartForBet()
{
    if (!m_betPrepaid)
        startButton->setEnabled(StartCoversBet(bet(), credits(), m_betPrepaid));
}

void BoardWindow::enableStartForCredits()
{
    // During a play the buttons stay locked until it ends.
    if (bet() < credits() && !m_playing)
        startButton->setEnabled(true);
}

} // namespace tallyhawk
