// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The board's draw: START checks the ticket, the bet and the credits, the engine computes the
// whole play, and the window plays its actions one by one, waiting out each pause on a timer
// so that the window stays responsive and nothing runs inside a nested event loop.

#include "boardgrid.h"
#include "boardwindow.h"
#include "db/paytable.h"
#include "engine/common/numberforms.h"
#include "engine/play/betting.h"
#include "gui/common/dialogs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

namespace tallyhawk {

namespace {

QColor colourOf(CellColour colour)
{
    switch (colour) {
    case CellColour::Red:
        return QColor(255, 0, 0);
    case CellColour::DarkGreen:
        return QColor(0, 64, 0);
    case CellColour::Navy:
        break;
    }
    return BoardGrid::kBoardColour;
}

} // namespace

void BoardWindow::startDraw()
{
    if (m_playing)
        return;
    const int stake = bet();
    const double total = credits();
    const int payLines = m_payLines ? static_cast<int>(m_payLines->size()) : 0;
    if (const auto refusal = CheckBeforeDraw(stake, m_ticket.count(), payLines, m_betPrepaid, total)) {
        m_dialogs.message(this, QString::fromStdString(*refusal));
        return;
    }
    // Nothing is charged for a game whose pays cannot be read, or that holds a value the board
    // cannot play: the engine computes the play before anything is shown.
    std::optional<KenoGame> game = readGame();
    if (!game)
        return;
    const double charged = m_betPrepaid ? total : total - stake;
    PlayInput input;
    input.game = std::move(*game);
    input.marks = BoardMarksOf(m_ticket);
    input.markedNumbers = CollectMarkedNumbers(input.marks);
    input.deck = m_deck;
    input.markedCount = m_ticket.count();
    input.bet = stake;
    input.credits = charged;
    input.ballDelay = BallDelay(m_options.speed.toStdString());
    input.soundOn = m_options.soundOn;
    input.paysListing = m_paysListing.toStdString(); // without earlier bonus lines
    PlayResult result = PlayGames(input, m_random);
    if (!result.error.empty()) {
        m_dialogs.message(this, QString::fromStdString(result.error), kProgramTitle, Dialogs::Icon::Warning);
        return;
    }
    if (!m_betPrepaid)
        showCredits(charged, PlainForm);
    lockForPlay();
    // The play's outcome is known now: it is kept at once, and the window shows it as it
    // unfolds.
    m_credits = result.credits;
    keepCredits();
    m_deck = result.deck;
    m_actions = std::move(result.actions);
    m_nextAction = 0;
    m_playedGames = std::move(result.games);
    m_gamesPaid = 0;
    playNextActions();
}

void BoardWindow::lockForPlay()
{
    m_playing = true;
    boardGrid->setEnabled(false);
    markedLabel->setFocus();
    drawnNumbersLabel->setVisible(m_options.showNumbers);
    for (QPushButton* command : {addCreditsButton, betOneButton, eraseButton, paysButton, startButton,
                                 advancedButton, quickPickButton})
        command->setEnabled(false);
    gameListCombo->setEnabled(false);
    m_paidCatch = -1;
    setPaysText(m_paysListing);
}

void BoardWindow::unlockAfterPlay()
{
    for (QPushButton* command : {addCreditsButton, betOneButton, eraseButton, paysButton, startButton,
                                 advancedButton, quickPickButton})
        command->setEnabled(true);
    gameListCombo->setEnabled(true);
    startButton->setFocus();
    m_betPrepaid = false;
    boardGrid->setEnabled(true);
    m_playing = false;
}

void BoardWindow::playNextActions()
{
    while (m_nextAction < m_actions.size()) {
        const PlayAction& action = m_actions[m_nextAction++];
        if (const auto* pause = std::get_if<Pause>(&action)) {
            const int milliseconds = static_cast<int>(pause->seconds * 1000 * m_pauseScale + 0.5);
            if (milliseconds > 0) {
                m_playTimer.start(milliseconds);
                return;
            }
            continue;
        }
        apply(action);
    }
    m_actions.clear();
    m_nextAction = 0;
    unlockAfterPlay();
}

void BoardWindow::finishPlayAtOnce()
{
    m_playTimer.stop();
    for (; m_nextAction < m_actions.size(); ++m_nextAction) {
        const PlayAction& action = m_actions[m_nextAction];
        if (!std::holds_alternative<Pause>(action) && !std::holds_alternative<Beep>(action))
            apply(action);
    }
    m_actions.clear();
    m_nextAction = 0;
    unlockAfterPlay();
}

void BoardWindow::apply(const PlayAction& action)
{
    if (const auto* cell = std::get_if<SetCell>(&action)) {
        showCell(cell->cell.row, cell->cell.column, QString::fromStdString(cell->text), cell->picture);
        if (cell->background)
            boardGrid->setCellBackground(cell->cell.row, cell->cell.column, colourOf(*cell->background));
    } else if (const auto* set = std::get_if<SetText>(&action)) {
        const QString text = QString::fromStdString(set->text);
        switch (set->control) {
        case Control::Win:
            winLabel->setText(text);
            break;
        case Control::HitCount:
            hitCountLabel->setText(text);
            break;
        case Control::DrawnNumbers:
            drawnNumbersLabel->setText(text);
            break;
        case Control::Credits:
            // The credits change once a game, when it is paid.
            creditsLabel->setText(text);
            if (m_gamesPaid < m_playedGames.size()) {
                const GameRecord& paid = m_playedGames[m_gamesPaid++];
                m_paidCatch = paid.win > 0 ? paid.hits : -1;
                highlightPaidLine();
            }
            break;
        case Control::PaysListing:
            setPaysText(text);
            highlightPaidLine();
            break;
        case Control::FreeGamesCounter:
            freeGamesLabel->setText(text);
            break;
        case Control::BonusNotice:
            bonusNoticeEdit->setPlainText(QString(text).replace("\r\n", "\n"));
            break;
        case Control::Board:
            break;
        }
    } else if (const auto* visible = std::get_if<SetVisible>(&action)) {
        QWidget* widget = visible->control == Control::Board ? static_cast<QWidget*>(boardGrid)
                          : visible->control == Control::BonusNotice
                              ? static_cast<QWidget*>(bonusNoticeEdit)
                              : freeGamesLabel;
        widget->setVisible(visible->visible);
    } else if (std::holds_alternative<Beep>(action)) {
        m_dialogs.beep();
    }
}

void BoardWindow::highlightPaidLine()
{
    // The listing's first line is its header; the pay lines follow in order.
    const int payLine = m_paidCatch < 0 || !m_payLines ? -1 : PayLineOfCatch(*m_payLines, m_paidCatch);
    const int line = payLine < 0 ? -1 : payLine + 1;
    QList<QTextEdit::ExtraSelection> marks;
    if (line >= 0) {
        QTextEdit::ExtraSelection paid;
        paid.cursor = QTextCursor(paysListing->document()->findBlockByNumber(line));
        paid.format.setBackground(BoardGrid::kNumberColour);
        paid.format.setForeground(BoardGrid::kBoardColour);
        paid.format.setProperty(QTextFormat::FullWidthSelection, true);
        marks << paid;
    }
    paysListing->setExtraSelections(marks);
}

} // namespace tallyhawk
