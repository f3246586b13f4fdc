// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/play/boardgeometry.h"

#include <gtest/gtest.h>

using namespace tallyhawk;

TEST(BoardGeometry, NumbersSkipTheSeparatorRowAndEachCellHoldsItsNumber)
{
    EXPECT_EQ(CellOfNumber(40), (BoardCell{3, 9}));
    EXPECT_EQ(CellOfNumber(41), (BoardCell{5, 0}));
    for (int n = 1; n <= kBoardNumbers; ++n)
        EXPECT_EQ(NumberOfCell(CellOfNumber(n).row, CellOfNumber(n).column), n);
    for (auto [row, column] : {std::pair{kSeparatorRow, 0}, {kSeparatorRow, 9}, {9, 0}, {0, 10}})
        EXPECT_EQ(NumberOfCell(row, column), 0) << row << ", " << column;
}
