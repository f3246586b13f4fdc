// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/common/numberforms.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace tallyhawk;

TEST(NumberForms, TextsOfNumbers)
{
    EXPECT_EQ(StrForm(25) + StrForm(-3) + StrForm(-0.0) + StrForm(0.1 + 0.2) + StrForm(8589934592.0),
              " 25-3 0 0.3 8589934592");
    EXPECT_EQ(PlainForm(1.25) + " " + FormatTwoDecimals(105.473) + " " + FormatTwoDecimals(-0.25),
              "1.25 105.47 -.25");
    for (auto [value, text] : {std::pair{-9999.0, "-9999"},
                               {12345.0, "12.3K"},
                               {99950.0, "100K"},
                               {999500.0, "1.00M"},
                               {2147483648.0, "2.15B"},
                               {-1e12, "-1.00T"}})
        EXPECT_EQ(ShortForm(value), text) << value;
}

TEST(NumberForms, RoundingTakesHalvesToTheEvenNeighbourAndChecksTheRange)
{
    for (auto [value, rounded] :
         {std::pair{0.5, 0.0}, {1.5, 2.0}, {2.5, 2.0}, {-2.5, -2.0}, {2.5000001, 3.0}})
        EXPECT_EQ(RoundHalfEven(value), rounded) << value;
    EXPECT_EQ(ToInt16(32767.5), std::nullopt);                      // rounds to 32768
    EXPECT_EQ(ToInt16(-32768.5), -32768);                           // the even neighbour stays in range
    EXPECT_EQ(ToInt64(9223372036854774784.0), 9223372036854774784); // the largest double below 2^63
    for (double outside : {9223372036854775808.0, std::nan(""), HUGE_VAL})
        EXPECT_EQ(ToInt64(outside), std::nullopt) << outside;
}

TEST(NumberForms, ParseNumberReadsAWholeNumberTextAndLeadingNumberWhatATextStartsWith)
{
    EXPECT_EQ(ParseNumber("  -3 "), -3);
    for (const char* text : {"", "12abc", "1,000", "inf", "0x10", "1e999"})
        EXPECT_EQ(ParseNumber(text), std::nullopt) << text;
    for (auto [text, value] : {std::pair{"abc", 0.0},
                               {"12.5 credits", 12.5},
                               {"-7x", -7.0},
                               {"1 000", 1000.0},
                               {"12e", 12.0},
                               {"1.5.2", 1.5}})
        EXPECT_EQ(LeadingNumber(text), value) << text; // blanks inside are skipped
}
