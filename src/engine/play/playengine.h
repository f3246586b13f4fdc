// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// One play of the board: the START click with its checks, the draw, the payout, the bonus
// features and any free games it wins. The engine computes the whole play at once and
// returns it as the ordered list of what the window shows (cells, texts, beeps, pauses),
// so the window only plays the list on a timer, and a test reads it with no delay.

#include "betting.h"
#include "boardgeometry.h"
#include "deck.h"
#include "engine/common/gameconstants.h"
#include "engine/common/kenogame.h"
#include "engine/common/kenorandom.h"
#include "ticket.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tallyhawk {

// Per board cell (row 0 to 9, column 0 to 10): -1 marked by the player, 0 not, -2 an egg.
using BoardMarks = std::array<std::array<std::int16_t, 11>, 10>;
// Entries 1 to 10: the ticket; 11 to 13: the eggs; 0 = empty. Entry 0 is unused.
using MarkedNumbers = std::array<std::int32_t, 15>;
constexpr int kFirstEggEntry = kMaxMarks + 1;
constexpr int kLastEggEntry = kMaxMarks + kCavemanEggs;

constexpr std::int16_t kMarked = -1;
constexpr std::int16_t kEgg = -2;

// Rebuilds the ticket from the marks: entries 1 to the marked count in board order, the
// other entries empty.
MarkedNumbers CollectMarkedNumbers(const BoardMarks& marks);
// The marks of a ticket: kMarked on its numbers' cells, 0 elsewhere.
BoardMarks BoardMarksOf(const Ticket& ticket);

// The delay after each ball for a speed name ("Slow", "Medium", "Fast", "Turbo"); 0 otherwise.
float BallDelay(const std::string& speed);

enum class Picture
{
    None,
    BlueCheck,
    RedCheck,
    BonusBall,
    NoBonusBall,
    EggBlue,
    EggCracked
};
enum class CellColour
{
    Navy,
    Red,
    DarkGreen
};
// The board's controls that a play changes.
enum class Control
{
    Win,
    HitCount,
    DrawnNumbers,
    Credits,
    PaysListing,
    FreeGamesCounter,
    BonusNotice,
    Board
};

struct SetCell
{
    BoardCell cell;
    std::string text;
    Picture picture = Picture::None;
    std::optional<CellColour> background; // none: unchanged
};
struct SetText
{
    Control control;
    std::string text;
};
struct SetVisible
{
    Control control;
    bool visible;
};
struct Beep
{
};
struct Pause
{
    float seconds;
};
using PlayAction = std::variant<SetCell, SetText, SetVisible, Beep, Pause>;

struct PlayInput
{
    BoardMarks marks{};
    MarkedNumbers markedNumbers{};
    DrawDeck deck{};
    int markedCount = 0;
    int bet = 0;
    double credits = 0; // after the bet was charged
    KenoGame game;      // played under the board's view of it
    float ballDelay = 0;
    bool soundOn = true;
    std::string paysListing; // the pays listing the play starts from
};

// What one game of a play drew and paid.
struct GameRecord
{
    std::vector<int> balls; // in drawing order: 20, or 23 when the extra balls came
    int hits = 0;
    int eggCatches = 0;
    std::int64_t win = 0;
    bool free = false; // a free game
};

struct PlayResult
{
    // Why the play did not take place (CheckPlayInput); then nothing was drawn, the state is
    // the input's and there are no actions.
    std::string error;
    std::vector<GameRecord> games;
    std::vector<PlayAction> actions;
    BoardMarks marks{};
    MarkedNumbers markedNumbers{};
    DrawDeck deck{};
    double credits = 0;
    std::int64_t lastWin = 0; // the win of the play's last game
};

// Empty when the board can play the input; else why not: a stored value of the game that
// cannot be held (KenoGame::valueError), a bet outside 0 to 45 or a marked count outside 0 to
// 10. Within these every win fits: pay x bet x multiplier stays below 2^52.
[[nodiscard]] std::string CheckPlayInput(const PlayInput& input);

// The whole play, or none at all when CheckPlayInput refuses the input.
[[nodiscard]] PlayResult PlayGames(const PlayInput& input, KenoRandom& random);

// The win of one game under the board's rules (the win formula).
struct WinState
{
    int markedCount = 0;
    int hits = 0;
    int eggCatches = 0;
    int bet = 0;
    bool freeGamesRunning = false;
    bool caveman = false;
    bool bonusBallHit = false;
    BonusValues bonus;
};
// The new win, or the previous one when the marked count is 0 or the game has no row for this
// catch; none when the win does not fit in 64 bits (pay x bet, then times the multiplier), which
// CheckPlayInput rules out for a play.
[[nodiscard]] std::optional<std::int64_t> ComputeWin(const WinState& state, const KenoGame& game,
                                                     std::int64_t previousWin, int* eggMultiplier = nullptr);

// Places the three eggs of an egg game on three different unmarked numbers, marks their cells
// with kEgg and stores them in entries 11 to 13.
void PlaceEggs(BoardMarks& marks, MarkedNumbers& markedNumbers, KenoRandom& random);

} // namespace tallyhawk
