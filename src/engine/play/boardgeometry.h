// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The board grid: 9 rows of 10 cells, row 4 an empty separator between the upper field
// (1 to 40) and the lower field (41 to 80).

#include "engine/common/gameconstants.h"

namespace tallyhawk {

constexpr int kBoardRows = 9;
constexpr int kBoardColumns = 10;
constexpr int kSeparatorRow = 4;

struct BoardCell
{
    int row = 0;
    int column = 0;
    bool operator==(const BoardCell&) const = default;
};

// The cell that holds number n (1 to 80).
constexpr BoardCell CellOfNumber(int n)
{
    const int row = (n - 1) / 10;
    return {n <= 40 ? row : row + 1, (n - 1) % 10};
}

// The number in a cell, or 0 for the separator row and cells outside the board.
constexpr int NumberOfCell(int row, int column)
{
    if (row < 0 || row >= kBoardRows || row == kSeparatorRow || column < 0 || column >= kBoardColumns)
        return 0;
    return (row < kSeparatorRow ? row : row - 1) * 10 + column + 1;
}

} // namespace tallyhawk
