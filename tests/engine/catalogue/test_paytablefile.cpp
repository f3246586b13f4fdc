// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/catalogue/paytablefile.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace tallyhawk;

namespace {

// `count` records of Mad Yeti Keno, Catch 0 up: the key, the Catch, then 16 empty texts.
std::string records(int count)
{
    std::string text;
    for (int r = 0; r < count; ++r) {
        text += "\"ONLINE\",\"DraftKings\",\"Mad Yeti Keno 25\xC2\xA2\"," + std::to_string(r);
        for (int i = 4; i < 20; ++i)
            text += ",\"\"";
        text += "\r\n";
    }
    return text;
}

// A line of values, then ones up to twenty values.
std::string line(std::string values, int count)
{
    for (int i = count; i < 20; ++i)
        values += ",1";
    return values;
}

// Eleven records with another separator than the comma.
std::string separatedBy(char separator)
{
    std::string text = records(11);
    std::replace(text.begin(), text.end(), ',', separator);
    return text;
}

} // namespace

TEST(PayTableFile, ReadsQuotedTextsNumbersAndEmptyTexts)
{
    const auto contents = ReadPayTableFile(
        line("\"Harrah's\",\"A, B\",\"G\",3, 2.5 ,\"\",,x y,\"7\",+5,-.5,1e3,1e999,inf,0x10,+-1,1.5.5", 17));
    ASSERT_TRUE(contents.ok()) << contents.error;
    const auto& r = contents.records.at(0);
    EXPECT_EQ(std::get<std::string>(r[1]), "A, B"); // a comma inside quotes is text
    EXPECT_EQ(std::get<std::string>(r[5]) + std::get<std::string>(r[7]) + std::get<std::string>(r[8]),
              "x y7");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(r[6])); // quoted stays text, nothing is Null
    const std::pair<int, double> numbers[] = {{3, 3}, {4, 2.5}, {9, 5}, {10, -0.5}, {11, 1000}};
    for (const auto& [i, number] : numbers)
        EXPECT_EQ(std::get<double>(r[i]), number) << i;
    for (int i = 12; i < 17; ++i) // what is no number stays text
        EXPECT_TRUE(std::holds_alternative<std::string>(r[i])) << i;
}

TEST(PayTableFile, LineEndsSeparateValuesAndAtMostElevenRecordsAreRead)
{
    std::string spread = records(1);
    std::replace(spread.begin(), spread.end(), ',', '\n');
    EXPECT_EQ(ReadPayTableFile(spread + records(2)).records.size(), 3u);
    const auto full = ReadPayTableFile(records(14));
    ASSERT_EQ(full.records.size(), 11u);
    EXPECT_EQ(std::get<double>(full.records[10][3]), 10);
    // LF line ends, trailing blank lines and a byte order mark.
    std::string lf = "\xEF\xBB\xBF" + records(2);
    std::erase(lf, '\r');
    const auto fromLf = ReadPayTableFile(lf + "\n\n  \n");
    ASSERT_EQ(fromLf.records.size(), 2u) << fromLf.error;
    EXPECT_EQ(std::get<std::string>(fromLf.records[0][0]), "ONLINE");
}

TEST(PayTableFile, RefusesAMalformedFileWhole)
{
    std::string nul = records(2);
    nul[nul.find("DraftKings", nul.find("\r\n")) + 5] = '\0'; // in record 2's casino
    const std::string extra = "Record 1 has more than 20 values: its line goes on after the last.";
    const std::pair<std::string, std::string> cases[] = {
        {records(2) + "\"ONLINE\",\"DraftKings\",\"Mad Yeti Keno\",2,1,1,1,1,1,1,1,1\r\n",
         "Record 3 ends after 12 of its 20 values."},
        {"\r\n\r\n", "The file holds no pay table record."},
        {"\"open,1,2", "Record 1, value 1 opens a quoted text that is not closed."},
        {line("1", 1) + ",1,2\r\n" + records(1), extra},
        {line("1", 1) + ",", extra},
        {nul, "Record 2, value 2 holds a NUL character, which no text file of comma-separated values does."},
        // Separated otherwise, each line reads as one value: the likely cause is named.
        {separatedBy(';'), "Record 1 ends after 11 of its 20 values. Its values seem to be separated by "
                           "semicolons: a pay-table file separates them by commas."},
        {separatedBy('\t'), "Record 1 ends after 11 of its 20 values. Its values seem to be separated by "
                            "tabs: a pay-table file separates them by commas."},
        // Semicolons inside a quoted text separate nothing.
        {"\"A;B;C;D\",1,2\r\n", "Record 1 ends after 3 of its 20 values."}};
    for (const auto& [text, error] : cases) {
        const auto contents = ReadPayTableFile(text);
        EXPECT_EQ(contents.error, error) << text;
        EXPECT_TRUE(contents.records.empty());
    }
}

TEST(PayTableFile, WritesTextsQuotedNumbersBareAndNullAsAnEmptyTextAndReadsThemBack)
{
    PayTableFileRecord record;
    record[0] = std::string("O'Sheas, Rampart");
    record[1] = std::string("The \"Big\" Casino"); // a double quote: bare when it can stand bare,
    record[2] = std::string("\"Lucky\", Reno");    // else with apostrophes
    record[3] = std::string("\xEF\xBB\xBF\"x\"y"); // once lost as the file's first value
    const double numbers[] = {2, 12.275, -0.0, 0.1 + 0.2, 1e20, 1.0 / 3, 1e-7, 4.9406564584124654e-324};
    for (std::size_t i = 0; i < std::size(numbers); ++i)
        record[5 + i] = numbers[i];
    const std::string text = FormatPayTableFile({record, record});
    EXPECT_TRUE(text.starts_with(
        "\"O'Sheas, Rampart\",The \"Big\" Casino,\"'Lucky', Reno\",\xEF\xBB\xBF\"x\"y,\"\",2,"
        "12.275,-0,"))
        << text;
    EXPECT_TRUE(text.ends_with(",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"));
    const auto contents = ReadPayTableFile(text);
    ASSERT_EQ(contents.records.size(), 2u) << contents.error;
    record[2] = std::string("'Lucky', Reno");
    for (auto& value : record)
        if (std::holds_alternative<std::monostate>(value))
            value = std::string(); // Null is written as an empty text
    EXPECT_EQ(contents.records[1], record);
}

TEST(PayTableBytes, DecodesUtf16AndReadsWhatIsNotUtf8AsWindows1252)
{
    const std::string text = records(3); // with a cent sign, two bytes
    std::string little = "\xFF\xFE";
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned unit = static_cast<unsigned char>(text[i]);
        if (unit >= 0xC0)
            unit = (unit & 0x1F) << 6 | (static_cast<unsigned char>(text[++i]) & 0x3F);
        little += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    }
    EXPECT_EQ(DecodePayTableBytes(little), text);
    EXPECT_EQ(DecodePayTableBytes(std::string("\xFE\xFF\0x", 4)), "x"); // big-endian
    // A surrogate pair is one character; without its mark, UTF-16 reads as text with NUL
    // characters, which the reader refuses.
    EXPECT_EQ(DecodePayTableBytes(std::string("\xFF\xFE\x3C\xD8\xB2\xDF", 6)), "\xF0\x9F\x8E\xB2");
    EXPECT_EQ(ReadPayTableFile(DecodePayTableBytes(little.substr(2))).error.find("holds a NUL"),
              18u); // "Record 1, value 2 holds ..."
    // The cent sign of an older installation's file is the single byte 0xA2; 0x80 to 0x9F are the
    // euro sign, curly quotes...; an overlong sequence is no UTF-8; the byte order mark stays.
    EXPECT_EQ(DecodePayTableBytes("\xEF\xBB\xBF"
                                  "25\xA2\x80\x93\xC0\xAF"),
              "\xEF\xBB\xBF"
              "25\xC2\xA2\xE2\x82\xAC\xE2\x80\x9C\xC3\x80\xC2\xAF");
}
