#include "engine/common/numberforms.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace tallyhawk;

TEST(NumberForms, StrFormLeadsWithABlankUnlessNegative)
{
    EXPECT_EQ(StrForm(0), " 0");
    EXPECT_EQ(StrForm(25), " 25");
    EXPECT_EQ(StrForm(-3), "-3");
    EXPECT_EQ(StrForm(12.5), " 12.5");
    EXPECT_EQ(StrForm(-0.0), " 0");
    EXPECT_EQ(StrForm(0.1 + 0.2), " 0.3");
    EXPECT_EQ(StrForm(1000000000), " 1000000000");
    EXPECT_EQ(StrForm(2147483648.0 * 4), " 8589934592");
}

TEST(NumberForms, PlainFormHasNoLeadingBlank)
{
    EXPECT_EQ(PlainForm(0), "0");
    EXPECT_EQ(PlainForm(57), "57");
    EXPECT_EQ(PlainForm(-12), "-12");
    EXPECT_EQ(PlainForm(0.5), "0.5");
    EXPECT_EQ(PlainForm(1.25), "1.25");
}

TEST(NumberForms, RoundingTakesHalvesToTheEvenNeighbour)
{
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3);
    EXPECT_EQ(ToInt16(1.5), 2);
    EXPECT_EQ(ToInt16(32767.4), 32767);
    EXPECT_EQ(ToInt16(32767.5), std::nullopt); // rounds to 32768
    EXPECT_EQ(ToInt16(-32768.5), -32768);      // even neighbour stays in range
    EXPECT_EQ(ToInt32(2147483647.0), 2147483647);
    EXPECT_EQ(ToInt32(2147483648.0), std::nullopt);
    EXPECT_EQ(ToInt32(std::nan("")), std::nullopt);
    EXPECT_EQ(ToInt32(1e300), std::nullopt);
    EXPECT_EQ(ToInt64(-9223372036854775808.0), INT64_MIN);
    EXPECT_EQ(ToInt64(9223372036854774784.0), 9223372036854774784); // the largest double below 2^63
    EXPECT_EQ(ToInt64(9223372036854775808.0), std::nullopt);        // 2^63
    EXPECT_EQ(ToInt64(1e19), std::nullopt);
    EXPECT_EQ(ToInt64(-1e19), std::nullopt);
    EXPECT_EQ(ToInt64(std::nan("")), std::nullopt);
    EXPECT_EQ(ToInt64(HUGE_VAL), std::nullopt);
    EXPECT_EQ(ToInt64(2.5), 2);
}

TEST(NumberForms, ParseNumberReadsOnlyAWholeNumberText)
{
    EXPECT_EQ(ParseNumber("12.5"), 12.5);
    EXPECT_EQ(ParseNumber("  -3 "), -3);
    EXPECT_EQ(ParseNumber("1e3"), 1000);
    EXPECT_EQ(ParseNumber(".5"), 0.5);
    EXPECT_EQ(ParseNumber(""), std::nullopt);
    EXPECT_EQ(ParseNumber("   "), std::nullopt);
    EXPECT_EQ(ParseNumber("abc"), std::nullopt);
    EXPECT_EQ(ParseNumber("12abc"), std::nullopt);
    EXPECT_EQ(ParseNumber("1,000"), std::nullopt);
    EXPECT_EQ(ParseNumber("inf"), std::nullopt);
    EXPECT_EQ(ParseNumber("nan"), std::nullopt);
    EXPECT_EQ(ParseNumber("0x10"), std::nullopt);
    EXPECT_EQ(ParseNumber("1e999"), std::nullopt);
}

TEST(NumberForms, LeadingNumberReadsWhatATextStartsWith)
{
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("abc"), 0);
    EXPECT_EQ(LeadingNumber("12.5 credits"), 12.5);
    EXPECT_EQ(LeadingNumber(" 25"), 25);
    EXPECT_EQ(LeadingNumber("-7x"), -7);
    EXPECT_EQ(LeadingNumber("1 000"), 1000); // blanks inside are skipped
    EXPECT_EQ(LeadingNumber("D   5"), 0);
    EXPECT_EQ(LeadingNumber(std::string_view("MARKED   5").substr(6)), 5);
    EXPECT_EQ(LeadingNumber("12e"), 12);
    EXPECT_EQ(LeadingNumber("1.5.2"), 1.5);
    EXPECT_EQ(LeadingNumber("-"), 0);
    EXPECT_EQ(LeadingNumber("."), 0);
}

TEST(NumberForms, DisplayPatterns)
{
    EXPECT_EQ(FormatTwoDecimals(98.7), "98.70");
    EXPECT_EQ(FormatTwoDecimals(0.5), ".50");
    EXPECT_EQ(FormatTwoDecimals(0), ".00");
    EXPECT_EQ(FormatTwoDecimals(1234.5), "1234.50");
    EXPECT_EQ(FormatTwoDecimals(105.473), "105.47");
    EXPECT_EQ(FormatTwoDecimals(-0.25), "-.25");
    EXPECT_EQ(FormatOneDecimal(0), "0.0");
    EXPECT_EQ(FormatOneDecimal(0.25), "0.3");
    EXPECT_EQ(FormatOneDecimal(63.04), "63.0");
    EXPECT_EQ(FormatOneDecimal(100), "100.0");
}

TEST(NumberForms, ShortFormFitsANarrowCell)
{
    const std::pair<double, const char*> cases[] = {{0, "0"},
                                                    {812, "812"},
                                                    {-2442, "-2442"},
                                                    {9999, "9999"},
                                                    {-9999, "-9999"},
                                                    {10000, "10.0K"},
                                                    {12345, "12.3K"},
                                                    {-99949, "-99.9K"},
                                                    {99950, "100K"},
                                                    {123456, "123K"},
                                                    {999499, "999K"},
                                                    {999500, "1.00M"},
                                                    {-244212345, "-244M"},
                                                    {536870912, "537M"},
                                                    {2147483648.0, "2.15B"},
                                                    {-1e12, "-1.00T"},
                                                    {5e15, "5000T"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(ShortForm(value), text) << value;
}
