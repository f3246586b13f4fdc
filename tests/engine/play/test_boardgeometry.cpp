#include "engine/play/boardgeometry.h"

#include <gtest/gtest.h>

using namespace tallyhawk;

TEST(BoardGeometry, NumbersSkipTheSeparatorRow)
{
    EXPECT_EQ(CellOfNumber(1), (BoardCell{0, 0}));
    EXPECT_EQ(CellOfNumber(40), (BoardCell{3, 9}));
    EXPECT_EQ(CellOfNumber(41), (BoardCell{5, 0}));
    EXPECT_EQ(CellOfNumber(80), (BoardCell{8, 9}));
    for (int column = 0; column < kBoardColumns; ++column)
        EXPECT_EQ(NumberOfCell(kSeparatorRow, column), 0);
    EXPECT_EQ(NumberOfCell(9, 0), 0);
    EXPECT_EQ(NumberOfCell(0, 10), 0);
}

TEST(BoardGeometry, CellOfNumberAndNumberOfCellAreInverse)
{
    bool seen[kBoardNumbers + 1] = {};
    for (int n = 1; n <= kBoardNumbers; ++n) {
        const BoardCell cell = CellOfNumber(n);
        EXPECT_EQ(NumberOfCell(cell.row, cell.column), n);
        EXPECT_FALSE(seen[n]);
        seen[n] = true;
    }
}
