// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "playengine.h"

#include "engine/common/numberforms.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tallyhawk {

namespace {

std::string winText(std::int64_t win)
{
    return "WIN    " + StrForm(static_cast<double>(win));
}
std::string hitCountText(int hits)
{
    return "HITS  " + StrForm(hits);
}
std::string freeGamesRemainingText(int remaining)
{
    return "Free Games Remaining: " + StrForm(remaining);
}

// One play as it unfolds: the state of the games and the list of what the window shows.
class Play
{
public:
    Play(const PlayInput& input, KenoRandom& random) : m_in(input), m_random(random)
    {
        m_result.marks = input.marks;
        m_result.markedNumbers = input.markedNumbers;
        m_result.deck = input.deck;
        m_result.credits = input.credits;
        m_bonus = input.game.boardBonus();
        m_kind = input.game.boardKind();
        m_paysListing = input.paysListing;
    }

    PlayResult run()
    {
        // Before the games: no free games, the counter hidden, the bonus ball not hit.
        setFreeGamesText("");
        show(Control::FreeGamesCounter, false);

        playGames();
        for (;;) {
            if (m_freeGamesRunning)
                freeGameSummary();
            if (m_win < 1)
                break;
            if (m_bonus.FreeGames >= 1 && m_bonusBallHit) {
                freeGameTrigger();
                playGames();
                continue;
            }
            bonusLine();
            break;
        }
        m_result.lastWin = m_win;
        return std::move(m_result);
    }

private:
    void playGames()
    {
        const int total = m_freeGameTotal; // the bound is taken once, as the loop starts
        for (int game = 0; game <= total; ++game) {
            playOneGame();
            if (m_bonus.FreeGames > 0)
                setFreeGamesText(freeGamesRemainingText(m_freeGameTotal - game));
        }
    }

    void playOneGame()
    {
        BoardMarks& marks = m_result.marks;
        m_win = 0;
        setWinText(winText(0));
        resetBoard();
        ShuffleDeck(m_result.deck, m_random);
        m_eggCatches = 0;
        m_eggMultiplier = 1;
        if (m_kind.caveman) {
            PlaceEggs(marks, m_result.markedNumbers, m_random);
            for (int k = kFirstEggEntry; k <= kLastEggEntry; ++k)
                setCell(CellOfNumber(m_result.markedNumbers[k]), " ", Picture::EggBlue, CellColour::Navy);
        }
        m_hits = 0;
        setText(Control::HitCount, hitCountText(0));
        m_hitsText.clear();
        setText(Control::DrawnNumbers, m_hitsText);

        GameRecord record;
        record.free = m_freeGamesRunning;
        const int ballCount = m_kind.cavemanPlus ? kDrawnBalls + kExtraBalls : kDrawnBalls;
        for (int i = 1; i <= ballCount; ++i) {
            const int n = m_result.deck[i];
            if (i == kDrawnBalls + 1 && !cavemanPlusGate())
                break;
            record.balls.push_back(n);
            if (ballCount > kDrawnBalls)
                setFreeGamesText(m_freeGamesText + PlainForm(n) + "   ");
            m_hitsText += PlainForm(n) + "   ";
            setText(Control::DrawnNumbers, m_hitsText);
            revealBall(i, n);
            if (i >= 2 && m_in.soundOn)
                m_result.actions.push_back(Beep{});
            pause(m_in.ballDelay);
        }
        computeWin();
        m_result.credits += static_cast<double>(m_win);
        setText(Control::Credits, PlainForm(m_result.credits));
        record.hits = m_hits;
        record.eggCatches = m_eggCatches;
        record.win = m_win;
        m_result.games.push_back(std::move(record));
    }

    void resetBoard()
    {
        for (int row = 0; row < kBoardRows; ++row) {
            if (row == kSeparatorRow)
                continue;
            for (int column = 0; column < kBoardColumns; ++column) {
                auto& mark = m_result.marks[row][column];
                if (mark == kMarked) {
                    setCell({row, column}, " ", Picture::BlueCheck, std::nullopt);
                } else {
                    mark = 0;
                    setCell({row, column}, PlainForm(NumberOfCell(row, column)), Picture::None,
                            CellColour::Navy);
                }
            }
        }
    }

    void revealBall(int i, int n)
    {
        const BoardCell cell = CellOfNumber(n);
        const bool isBonusBall = i == m_bonus.BonusBall;
        if (m_result.marks[cell.row][cell.column] != kMarked) {
            const std::string number = PlainForm(n);
            if (isBonusBall)
                setCell(cell, number, Picture::NoBonusBall, CellColour::DarkGreen);
            else
                setCell(cell, number, Picture::None, CellColour::Red);
            if (m_kind.caveman) {
                for (int k = kFirstEggEntry; k <= kLastEggEntry; ++k) {
                    if (m_result.markedNumbers[k] == n) {
                        ++m_eggCatches;
                        setCell(cell, " ", Picture::EggCracked, std::nullopt);
                    }
                }
            }
            return;
        }
        ++m_hits;
        setText(Control::HitCount, hitCountText(m_hits));
        if (isBonusBall) {
            m_bonusBallHit = true;
            setCell(cell, " ", Picture::BonusBall, std::nullopt);
        } else {
            setCell(cell, " ", Picture::RedCheck, std::nullopt);
        }
        computeWin();
    }

    // Balls 21 to 23 come only with a win and at least two eggs caught after ball 20.
    bool cavemanPlusGate()
    {
        if (m_win == 0 || m_eggCatches < 2)
            return false;
        pause(m_in.ballDelay);
        if (m_in.soundOn)
            m_result.actions.push_back(Beep{});
        setFreeGamesText("Caveman Plus Bonus Balls . . . ");
        show(Control::FreeGamesCounter, true);
        m_hitsText += "---   ";
        setText(Control::DrawnNumbers, m_hitsText);
        return true;
    }

    void computeWin()
    {
        WinState state;
        state.markedCount = m_in.markedCount;
        state.hits = m_hits;
        state.eggCatches = m_eggCatches;
        state.bet = m_in.bet;
        state.freeGamesRunning = m_freeGamesRunning;
        state.caveman = m_kind.caveman;
        state.bonusBallHit = m_bonusBallHit;
        state.bonus = m_bonus;
        // CheckPlayInput has made sure that every win fits; the win stays as it was otherwise.
        m_win = ComputeWin(state, m_in.game, m_win, &m_eggMultiplier).value_or(m_win);
        setWinText(winText(m_win));
    }

    void freeGameTrigger()
    {
        pause(1);
        show(Control::Board, false);
        setText(Control::BonusNotice, "\r\nBONUS INITIATED\r\nYOU HAVE WON" + StrForm(m_bonus.FreeGames) +
                                             "\r\nFREE GAMES AT " + StrForm(m_bonus.BonusFactor) + "X");
        show(Control::BonusNotice, true);
        pause(5);
        show(Control::BonusNotice, false);
        show(Control::Board, true);
        m_bonus.BonusBall = 0;
        m_bonusBallHit = false;
        m_freeGameTotal = m_bonus.FreeGames - 1;
        m_freeGamesRunning = true;
        m_rememberedCredits = m_result.credits;
        setFreeGamesText(freeGamesRemainingText(m_bonus.FreeGames));
        show(Control::FreeGamesCounter, true);
        m_paysListing += "\r\n ALL WINS X" + StrForm(m_bonus.BonusFactor);
        setText(Control::PaysListing, m_paysListing);
    }

    void freeGameSummary()
    {
        m_bonus.FreeGames = 0;
        m_freeGamesRunning = false;
        m_freeGameTotal = 0;
        show(Control::Board, false);
        setText(Control::BonusNotice, "\r\n\r\nTOTAL BONUS WIN\r\n" +
                                             PlainForm(m_result.credits - m_rememberedCredits) + " CREDITS");
        show(Control::BonusNotice, true);
        pause(3);
        show(Control::BonusNotice, false);
        show(Control::Board, true);
        show(Control::FreeGamesCounter, false);
        m_paysListing = m_in.paysListing;
        setText(Control::PaysListing, m_paysListing);
    }

    void bonusLine()
    {
        if (m_eggMultiplier > 1)
            m_paysListing += "\r\n BONUS PAY X" + StrForm(m_eggMultiplier);
        else if (m_bonus.BonusFactor >= 2 && m_bonusBallHit)
            m_paysListing += "\r\n BONUS PAY X" + StrForm(m_bonus.BonusFactor);
        else
            return;
        setText(Control::PaysListing, m_paysListing);
    }

    void setCell(BoardCell cell, std::string text, Picture picture, std::optional<CellColour> background)
    {
        m_result.actions.push_back(SetCell{cell, std::move(text), picture, background});
    }
    void setText(Control control, std::string text)
    {
        m_result.actions.push_back(SetText{control, std::move(text)});
    }
    void setFreeGamesText(std::string text)
    {
        m_freeGamesText = text;
        setText(Control::FreeGamesCounter, std::move(text));
    }
    // The win follows the hits; a text is sent only when it changes.
    void setWinText(std::string text)
    {
        if (text == m_winText)
            return;
        m_winText = text;
        setText(Control::Win, std::move(text));
    }
    void show(Control control, bool visible) { m_result.actions.push_back(SetVisible{control, visible}); }
    void pause(float seconds)
    {
        if (seconds > 0)
            m_result.actions.push_back(Pause{seconds});
    }

    const PlayInput& m_in;
    KenoRandom& m_random;
    PlayResult m_result;
    BonusValues m_bonus;
    GameKind m_kind;
    std::string m_paysListing;
    std::string m_hitsText;
    std::string m_freeGamesText;
    std::string m_winText;
    std::int64_t m_win = 0;
    int m_hits = 0;
    int m_eggCatches = 0;
    int m_eggMultiplier = 1;
    int m_freeGameTotal = 0;
    bool m_freeGamesRunning = false;
    bool m_bonusBallHit = false;
    double m_rememberedCredits = 0;
};

} // namespace

MarkedNumbers CollectMarkedNumbers(const BoardMarks& marks)
{
    MarkedNumbers numbers{};
    int k = 1;
    for (int row = 0; row < kBoardRows; ++row) {
        for (int column = 0; column < kBoardColumns && row != kSeparatorRow; ++column) {
            if (marks[row][column] == kMarked && k <= kMaxMarks)
                numbers[k++] = NumberOfCell(row, column);
        }
    }
    return numbers;
}

BoardMarks BoardMarksOf(const Ticket& ticket)
{
    BoardMarks marks{};
    for (int n : ticket.numbers())
        marks[CellOfNumber(n).row][CellOfNumber(n).column] = kMarked;
    return marks;
}

float BallDelay(const std::string& speed)
{
    if (speed == "Slow")
        return 0.51f;
    if (speed == "Medium")
        return 0.34f;
    if (speed == "Fast")
        return 0.17f;
    if (speed == "Turbo")
        return 0.11f;
    return 0;
}

std::optional<std::int64_t> ComputeWin(const WinState& state, const KenoGame& game, std::int64_t previousWin,
                                       int* eggMultiplier)
{
    if (state.markedCount == 0)
        return previousWin;
    const int multiplier = state.bonus.eggMultiplier(std::min(state.eggCatches, kCavemanEggs));
    if (eggMultiplier)
        *eggMultiplier = multiplier;
    if (!game.hasRow(state.hits) || state.markedCount < 1 || state.markedCount > kMaxMarks)
        return previousWin;
    const double pay = game.pay(state.markedCount, state.hits).value_or(0);
    // The base is a whole number of credits (a pay table's pays may be larger than 32 bits
    // hold once multiplied by the bet, so it is kept in 64).
    const std::optional<std::int64_t> base = ToInt64(pay * state.bet);
    if (!base)
        return std::nullopt;
    auto times = [&base](std::int64_t factor) -> std::optional<std::int64_t> {
        std::int64_t win = 0;
        if (__builtin_mul_overflow(factor, *base, &win))
            return std::nullopt;
        return win;
    };
    if (state.freeGamesRunning)
        return times(state.bonus.BonusFactor);
    if (state.caveman)
        return times(multiplier);
    if (!state.bonusBallHit)
        return base;
    if (state.bonus.FreeGames < 1)
        return times(state.bonus.BonusFactor);
    return base; // the free games follow
}

void PlaceEggs(BoardMarks& marks, MarkedNumbers& markedNumbers, KenoRandom& random)
{
    markedNumbers = CollectMarkedNumbers(marks);
    for (int k = kFirstEggEntry; k <= kLastEggEntry; ++k) {
        int x = 0;
        bool taken = true;
        while (taken) {
            x = static_cast<int>(random.below(kBoardNumbers)) + 1;
            taken = false;
            for (int j = 1; j < k; ++j)
                taken = taken || markedNumbers[j] == x;
        }
        markedNumbers[k] = x;
        const BoardCell cell = CellOfNumber(x);
        marks[cell.row][cell.column] = kEgg;
    }
}

std::string CheckPlayInput(const PlayInput& input)
{
    if (const std::string& error = input.game.valueError(); !error.empty())
        return "This game cannot be played: " + error;
    if (input.bet < 0 || input.bet > kMaxBet)
        return "The bet must be 0 to " + std::to_string(kMaxBet) + " credits.";
    if (input.markedCount < 0 || input.markedCount > kMaxMarks)
        return "A ticket marks at most " + std::to_string(kMaxMarks) + " numbers.";
    return {};
}

PlayResult PlayGames(const PlayInput& input, KenoRandom& random)
{
    if (std::string error = CheckPlayInput(input); !error.empty()) {
        PlayResult refused;
        refused.error = std::move(error);
        refused.marks = input.marks;
        refused.markedNumbers = input.markedNumbers;
        refused.deck = input.deck;
        refused.credits = input.credits;
        return refused;
    }
    return Play(input, random).run();
}

} // namespace tallyhawk
