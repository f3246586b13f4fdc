// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/play/playengine.h"
#include "engine/play/ticket.h"

#include <gtest/gtest.h>

using namespace tallyhawk;

TEST(Ticket, MarksAtMostTenNumbersAndUnmarksASecondClick)
{
    struct Step
    {
        int number;
        Ticket::Toggle outcome;
        int count;
    };
    Ticket ticket({80, 1, 41, 2, 3, 4, 5, 6, 7});
    const Step steps[] = {
        {40, Ticket::Toggle::Marked, 10},    {11, Ticket::Toggle::Full, 10},
        {40, Ticket::Toggle::Unmarked, 9},   {11, Ticket::Toggle::Marked, 10},
        {0, Ticket::Toggle::NotOnBoard, 10}, {81, Ticket::Toggle::NotOnBoard, 10},
    };
    for (const Step& step : steps) {
        EXPECT_EQ(ticket.toggle(step.number), step.outcome) << step.number;
        EXPECT_EQ(ticket.count(), step.count) << step.number;
    }
    EXPECT_EQ(ticket.numbers(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 11, 41, 80}));
}

TEST(Ticket, BuiltFromNumbersLeavesOutRepeatsStrangersAndAnEleventh)
{
    const Ticket ticket({5, 5, 0, 99, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11});
    EXPECT_EQ(ticket.numbers(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(Ticket().isEmpty());
}

TEST(Ticket, ItsMarksAreTheCellsOfItsNumbers)
{
    const Ticket ticket({1, 40, 41, 80});
    const BoardMarks marks = BoardMarksOf(ticket);
    EXPECT_EQ(marks[0][0], kMarked);
    EXPECT_EQ(marks[3][9], kMarked);
    EXPECT_EQ(marks[5][0], kMarked); // below the separator row
    EXPECT_EQ(marks[8][9], kMarked);
    int marked = 0;
    for (const auto& row : marks)
        for (std::int16_t mark : row)
            marked += mark == kMarked;
    EXPECT_EQ(marked, 4);
    EXPECT_EQ(CollectMarkedNumbers(marks)[4], 80);
}
