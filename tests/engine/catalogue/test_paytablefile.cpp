#include "engine/catalogue/paytablefile.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace tallyhawk;

namespace {

// A record of Mad Yeti Keno: its Catch, then 16 empty texts.
std::string record(const std::string& catchValue)
{
    std::string line = "\"ONLINE\",\"DraftKings\",\"Mad Yeti Keno\"," + catchValue;
    for (int i = 4; i < 20; ++i)
        line += ",\"\"";
    return line + "\r\n";
}

std::string records(int count)
{
    std::string text;
    for (int r = 0; r < count; ++r)
        text += record(std::to_string(r));
    return text;
}

// A line of values, then ones up to twenty values.
std::string line(std::string values, int count)
{
    for (int i = count; i < 20; ++i)
        values += ",1";
    return values;
}

// A whole game: a bonus row and Catch 1 to 10, blank pays as Null, a fractional pay, bonus
// values on the bonus row only, a cent sign in the game's name.
std::vector<PayTableFileRecord> fireGame()
{
    std::vector<PayTableFileRecord> game(11);
    for (int c = 0; c <= 10; ++c) {
        PayTableFileRecord& r = game[c];
        r[0] = std::string("NEVADA - Las Vegas");
        r[1] = std::string("O'Sheas, Rampart");
        r[2] = std::string("Caveman Keno 25\xC2\xA2");
        r[3] = double(c);
        for (int n = std::max(c, 1); n <= 10 && c > 0; ++n)
            r[3 + n] = c == 2 && n == 2 ? 12.275 : double(c * n);
        for (int i = 14; i < 20 && c == 0; ++i)
            r[i] = i == 16 ? 2.5 : 1.0;
    }
    return game;
}

// What a written record reads back as: Null is written as an empty text.
PayTableFileRecord readBack(PayTableFileRecord record)
{
    for (auto& value : record)
        if (std::holds_alternative<std::monostate>(value))
            value = std::string();
    return record;
}

} // namespace

TEST(PayTableFile, ReadsQuotedTextsNumbersAndEmptyTexts)
{
    const auto contents = ReadPayTableFile(
        line("\"Harrah's\",\"A, B\",\"G\",3, 2.5 ,\"\",,x y,\"7\",+5,-.5,1e3,1e999,inf,0x10,+-1,1.5.5", 17));
    ASSERT_TRUE(contents.ok()) << contents.error;
    const auto& r = contents.records.at(0);
    EXPECT_EQ(std::get<std::string>(r[0]), "Harrah's");
    EXPECT_EQ(std::get<std::string>(r[1]), "A, B"); // a comma inside quotes is text
    EXPECT_EQ(std::get<std::string>(r[5]), "");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(r[6]));
    EXPECT_EQ(std::get<std::string>(r[7]), "x y");
    EXPECT_EQ(std::get<std::string>(r[8]), "7"); // quoted stays text
    const double numbers[] = {3, 2.5, 5, -0.5, 1000};
    for (int i : {3, 4, 9, 10, 11})
        EXPECT_EQ(std::get<double>(r[i]), numbers[i < 5 ? i - 3 : i - 7]) << i;
    for (int i = 12; i < 17; ++i) // what is no number stays text
        EXPECT_TRUE(std::holds_alternative<std::string>(r[i])) << i;
}

TEST(PayTableFile, LineEndsSeparateValuesAndAtMostElevenRecordsAreRead)
{
    std::string spread = record("0");
    std::replace(spread.begin(), spread.end(), ',', '\n');
    const auto contents = ReadPayTableFile(spread + record("1"));
    ASSERT_TRUE(contents.ok()) << contents.error;
    EXPECT_EQ(contents.records.size(), 2u);
    EXPECT_EQ(std::get<double>(contents.records[1][3]), 1);
    const auto full = ReadPayTableFile(records(14));
    ASSERT_TRUE(full.ok());
    EXPECT_EQ(full.records.size(), 11u);
    EXPECT_EQ(std::get<double>(full.records[10][3]), 10);
    // LF line ends, trailing blank lines and a byte order mark.
    std::string lf = "\xEF\xBB\xBF" + records(2);
    std::erase(lf, '\r');
    const auto fromLf = ReadPayTableFile(lf + "\n\n  \n");
    ASSERT_TRUE(fromLf.ok()) << fromLf.error;
    EXPECT_EQ(fromLf.records.size(), 2u);
    EXPECT_EQ(std::get<std::string>(fromLf.records[0][0]), "ONLINE");
}

TEST(PayTableFile, RefusesAMalformedFileWhole)
{
    std::string nul = records(2);
    nul[nul.find("DraftKings", nul.find("\r\n")) + 5] = '\0'; // in record 2's casino
    const std::pair<std::string, std::string> cases[] = {
        {records(2) + "\"ONLINE\",\"DraftKings\",\"Mad Yeti Keno\",2,1,1,1,1,1,1,1,1\r\n",
         "Record 3 ends after 12 of its 20 values."},
        {"", "The file holds no pay table record."},
        {"\r\n\r\n", "The file holds no pay table record."},
        {"\"open,1,2", "Record 1, value 1 opens a quoted text that is not closed."},
        {line("1", 1) + ",1,2\r\n" + record("1"),
         "Record 1 has more than 20 values: its line goes on after the last."},
        {line("1", 1) + ",", "Record 1 has more than 20 values: its line goes on after the last."},
        {nul, "Record 2, value 2 holds a NUL character, which no text file of comma-separated values does."},
        {line(std::string("1,2,\0x", 6), 3),
         "Record 1, value 3 holds a NUL character, which no text file of comma-separated values does."},
    };
    for (const auto& [text, error] : cases) {
        const auto contents = ReadPayTableFile(text);
        EXPECT_EQ(contents.error, error) << text;
        EXPECT_TRUE(contents.records.empty());
    }
}

TEST(PayTableFile, WritesTextsQuotedNumbersBareAndNullAsAnEmptyText)
{
    EXPECT_EQ(FormatPayTableFile({fireGame()[2]}),
              "\"NEVADA - Las Vegas\",\"O'Sheas, Rampart\",\"Caveman Keno 25\xC2\xA2\",2,\"\",12.275,"
              "6,8,10,12,14,16,18,20,\"\",\"\",\"\",\"\",\"\",\"\"\r\n");
    const std::string text = FormatPayTableFile(fireGame());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 11); // each line ended by CR LF, no other
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 11);
    EXPECT_TRUE(text.ends_with("\r\n"));
}

TEST(PayTableFile, WhatIsWrittenReadsBackTheSame)
{
    std::vector<PayTableFileRecord> written = fireGame();
    const double numbers[] = {-0.0,
                              50000.0,
                              -3.0,
                              29.775,
                              0.1 + 0.2,
                              1e20,
                              1.0 / 3,
                              1e-7,
                              123456789012345678.0,
                              4.9406564584124654e-324};
    for (std::size_t i = 0; i < std::size(numbers); ++i)
        written[1][4 + i] = numbers[i];
    // A text with a double quote is written bare when it can stand bare, else with apostrophes;
    // a bare text that begins with a byte order mark was once lost as the file's first value.
    written.push_back({std::string("\xEF\xBB\xBF\"x\"y"), std::string("The \"Big\" Casino")});
    written.push_back({std::string("\"Lucky\", Reno")});
    const auto contents = ReadPayTableFile(FormatPayTableFile(written));
    ASSERT_TRUE(contents.ok()) << contents.error;
    ASSERT_EQ(contents.records.size(), 11u); // the reader stops at eleven
    for (std::size_t r = 0; r < 11; ++r)
        EXPECT_EQ(contents.records[r], readBack(written[r])) << "record " << r;
    const auto extra = ReadPayTableFile(FormatPayTableFile({written[11], written[12]}));
    ASSERT_TRUE(extra.ok()) << extra.error;
    EXPECT_EQ(extra.records[0], readBack(written[11]));
    EXPECT_EQ(std::get<std::string>(extra.records[1][0]), "'Lucky', Reno");
}

TEST(PayTableBytes, KeepsUtf8AndReadsAnythingElseAsWindows1252)
{
    const std::string utf8 = "\"Caveman Keno 25\xC2\xA2\",\xE2\x82\xAC,\xF0\x9F\x8E\xB2";
    EXPECT_EQ(DecodePayTableBytes(utf8), utf8);
    EXPECT_EQ(DecodePayTableBytes("\xEF\xBB\xBF" + utf8), "\xEF\xBB\xBF" + utf8);
    // The cent sign of an older installation's file is the single byte 0xA2; 0x80 to 0x9F are the
    // euro sign, curly quotes, dashes...; the five undefined bytes stay C1 controls.
    EXPECT_EQ(DecodePayTableBytes("25\xA2\x80\x81\x8A\x93\x94\x96\x9F\xFF"),
              "25\xC2\xA2\xE2\x82\xAC\xC2\x81\xC5\xA0\xE2\x80\x9C\xE2\x80\x9D\xE2\x80\x93\xC5\xB8\xC3\xBF");
    // Sequences that look like UTF-8 but are not: overlong, surrogate, cut short.
    EXPECT_EQ(DecodePayTableBytes("\xC0\xAF\xED\xA0\x80"
                                  "ab\xC2"),
              "\xC3\x80\xC2\xAF\xC3\xAD\xC2\xA0\xE2\x82\xAC"
              "ab\xC3\x82");
    EXPECT_EQ(DecodePayTableBytes("\xEF\xBB\xBF\xA2"),
              "\xEF\xBB\xBF\xC2\xA2"); // the mark stays for the reader
}

TEST(PayTableBytes, DecodesUtf16WithItsByteOrderMark)
{
    const std::string text = FormatPayTableFile(fireGame()); // with cent signs, two bytes each
    std::string little = "\xFF\xFE", big = "\xFE\xFF";
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned unit = static_cast<unsigned char>(text[i]);
        if (unit >= 0xC0)
            unit = (unit & 0x1F) << 6 | (static_cast<unsigned char>(text[++i]) & 0x3F);
        little += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        big += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
    }
    EXPECT_EQ(DecodePayTableBytes(little), text);
    EXPECT_EQ(DecodePayTableBytes(big), text);
    // A character beyond U+FFFF is a surrogate pair; a lone surrogate or an odd byte is replaced.
    EXPECT_EQ(DecodePayTableBytes(std::string("\xFF\xFE\x3C\xD8\xB2\xDF", 6)), "\xF0\x9F\x8E\xB2");
    EXPECT_EQ(DecodePayTableBytes(std::string("\xFF\xFE\x3C\xD8x\0", 6)), "\xEF\xBF\xBDx");
    // Without its mark, UTF-16 reads as text with NUL characters, which the reader refuses.
    EXPECT_FALSE(ReadPayTableFile(DecodePayTableBytes(little.substr(2))).ok());
}
