#include "catalogue/paytablefile.h"

#include <gtest/gtest.h>

using namespace tallyhawk;

namespace {

std::string record(const std::string& catchValue, const std::string& firstPay = "\"\"")
{
    std::string line = "\"ONLINE\",\"DraftKings\",\"Mad Yeti Keno\"," + catchValue + "," + firstPay;
    for (int i = 5; i < 20; ++i)
        line += ",\"\"";
    return line + "\r\n";
}

std::string game(int records)
{
    std::string text;
    for (int r = 0; r < records; ++r)
        text += record(std::to_string(r), r == 0 ? "\"\"" : std::to_string(r * 2));
    return text;
}

} // namespace

TEST(PayTableFile, ReadsQuotedTextsNumbersAndEmptyTexts)
{
    const auto contents =
        ReadPayTableFile("\"Harrah's\",\"A, B\",\"G\",3, 2.5 ,\"\",,x y,\"7\",1,1,1,1,1,1,1,1,1,1,1\r\n");
    ASSERT_TRUE(contents.ok()) << contents.error;
    ASSERT_EQ(contents.records.size(), 1u);
    const auto& r = contents.records[0];
    EXPECT_EQ(std::get<std::string>(r[0]), "Harrah's");
    EXPECT_EQ(std::get<std::string>(r[1]), "A, B"); // a comma inside quotes is text
    EXPECT_EQ(std::get<double>(r[3]), 3);
    EXPECT_EQ(std::get<double>(r[4]), 2.5);
    EXPECT_EQ(std::get<std::string>(r[5]), "");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(r[6]));
    EXPECT_EQ(std::get<std::string>(r[7]), "x y");
    EXPECT_EQ(std::get<std::string>(r[8]), "7"); // quoted stays text
}

TEST(PayTableFile, LineEndsSeparateValuesLikeCommas)
{
    std::string spread = record("0");
    for (auto& c : spread)
        if (c == ',')
            c = '\n';
    const auto contents = ReadPayTableFile(spread + record("1"));
    ASSERT_TRUE(contents.ok()) << contents.error;
    EXPECT_EQ(contents.records.size(), 2u);
    EXPECT_EQ(std::get<double>(contents.records[1][3]), 1);
}

TEST(PayTableFile, ReadsAtMostElevenRecords)
{
    const auto full = ReadPayTableFile(game(14));
    ASSERT_TRUE(full.ok());
    EXPECT_EQ(full.records.size(), 11u);
    EXPECT_EQ(std::get<double>(full.records[10][3]), 10);

    const auto five = ReadPayTableFile(game(5));
    ASSERT_TRUE(five.ok());
    EXPECT_EQ(five.records.size(), 5u);
}

TEST(PayTableFile, AcceptsLfLineEndsTrailingBlankLinesAndAByteOrderMark)
{
    std::string text = "\xEF\xBB\xBF" + game(2);
    std::erase(text, '\r');
    const auto contents = ReadPayTableFile(text + "\n\n  \n");
    ASSERT_TRUE(contents.ok()) << contents.error;
    EXPECT_EQ(contents.records.size(), 2u);
    EXPECT_EQ(std::get<std::string>(contents.records[0][0]), "ONLINE");
}

TEST(PayTableFile, RefusesIncompleteFilesWhole)
{
    std::string text = game(2);
    // The last record has only 12 values.
    text += "\"ONLINE\",\"DraftKings\",\"Mad Yeti Keno\",2,1,1,1,1,1,1,1,1\r\n";
    const auto truncated = ReadPayTableFile(text);
    EXPECT_FALSE(truncated.ok());
    EXPECT_TRUE(truncated.records.empty());

    EXPECT_FALSE(ReadPayTableFile("").ok());
    EXPECT_FALSE(ReadPayTableFile("\r\n\r\n").ok());
    EXPECT_FALSE(ReadPayTableFile("\"open,1,2").ok());
    EXPECT_FALSE(ReadPayTableFile(std::string(record("0")).substr(0, 40)).ok());
}

TEST(PayTableFile, NeverReadsPastTheEndOfMalformedInput)
{
    // Every prefix of a valid file is either a whole number of records or refused.
    const std::string text = game(3);
    for (std::size_t length = 0; length <= text.size(); ++length) {
        const auto contents = ReadPayTableFile(std::string_view(text).substr(0, length));
        if (contents.ok())
            EXPECT_LE(contents.records.size(), 3u);
        else
            EXPECT_TRUE(contents.records.empty());
    }
}
