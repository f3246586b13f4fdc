#include "engine/catalogue/paytablefile.h"

#include <algorithm>
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
    EXPECT_EQ(truncated.error, "Record 3 ends after 12 of its 20 values.");
    EXPECT_TRUE(truncated.records.empty());

    EXPECT_FALSE(ReadPayTableFile("").ok());
    EXPECT_FALSE(ReadPayTableFile("\r\n\r\n").ok());
    EXPECT_EQ(ReadPayTableFile("\"open,1,2").error,
              "Record 1, value 1 opens a quoted text that is not closed.");
    EXPECT_FALSE(ReadPayTableFile(std::string(record("0")).substr(0, 40)).ok());
}

TEST(PayTableFile, RefusesALineThatGoesOnAfterARecordsLastValue)
{
    // 22 values a line: what used to shift every later record by two values.
    std::string line = record("0");
    line.insert(line.size() - 2, ",1,2");
    EXPECT_EQ(ReadPayTableFile(line + record("1")).error,
              "Record 1 has more than 20 values: its line goes on after the last.");
    // A trailing comma is a 21st value too.
    std::string trailing = record("0");
    trailing.insert(trailing.size() - 2, ",");
    EXPECT_FALSE(ReadPayTableFile(trailing).ok());
}

TEST(PayTableFile, RefusesANulCharacter)
{
    std::string text = game(2);
    text[text.find("DraftKings", text.find("\r\n")) + 5] = '\0'; // in record 2's casino
    EXPECT_EQ(ReadPayTableFile(text).error,
              "Record 2, value 2 holds a NUL character, which no text file of comma-separated values does.");
    std::string bare("1,2,\0x", 6); // a NUL in the third value, then 17 more values
    for (int i = 3; i < 20; ++i)
        bare += ",1";
    EXPECT_EQ(ReadPayTableFile(bare).error,
              "Record 1, value 3 holds a NUL character, which no text file of comma-separated values does.");
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

namespace {

// The rows of a whole game as records: a bonus row and Catch 1 to 10, blank pays as Null, a
// fractional pay, bonus values on the bonus row only.
std::vector<PayTableFileRecord> fireGame()
{
    std::vector<PayTableFileRecord> records;
    for (int c = 0; c <= 10; ++c) {
        PayTableFileRecord record;
        record[0] = std::string("NEVADA - Las Vegas");
        record[1] = std::string("O'Sheas, Rampart");
        record[2] = std::string("Caveman Keno 25\xC2\xA2");
        record[3] = double(c);
        for (int n = 1; n <= 10; ++n)
            if (c > 0 && c <= n)
                record[3 + n] = c == 2 && n == 2 ? 12.275 : double(c * n);
        if (c == 0) {
            for (int i = 14; i < 20; ++i)
                record[i] = i == 16 ? 2.5 : 1.0;
        }
        records.push_back(record);
    }
    return records;
}

// Null is written as an empty text, so it reads back as one.
PayTableFileRecord asReadBack(PayTableFileRecord record)
{
    for (auto& value : record)
        if (std::holds_alternative<std::monostate>(value))
            value = std::string();
    return record;
}

} // namespace

TEST(PayTableFile, WritesTextsQuotedNumbersBareAndNullAsAnEmptyText)
{
    const std::string text = FormatPayTableFile({fireGame()[2]});
    EXPECT_EQ(text, "\"NEVADA - Las Vegas\",\"O'Sheas, Rampart\",\"Caveman Keno 25\xC2\xA2\",2,\"\",12.275,"
                    "6,8,10,12,14,16,18,20,\"\",\"\",\"\",\"\",\"\",\"\"\r\n");
}

TEST(PayTableFile, AWrittenGameReadsBackAsTheSameGame)
{
    const auto records = fireGame();
    const std::string text = FormatPayTableFile(records);
    // Eleven lines of twenty values, each ended by CR LF and no line end anywhere else.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 11);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 11);
    EXPECT_EQ(text.find("\r\n"), text.find('\r'));
    EXPECT_TRUE(text.ends_with("\r\n"));

    const auto contents = ReadPayTableFile(text);
    ASSERT_TRUE(contents.ok()) << contents.error;
    ASSERT_EQ(contents.records.size(), 11u);
    for (std::size_t r = 0; r < records.size(); ++r)
        EXPECT_EQ(contents.records[r], asReadBack(records[r])) << "record " << r;
    EXPECT_EQ(std::get<double>(contents.records[2][5]), 12.275);
    EXPECT_EQ(std::get<std::string>(contents.records[0][1]), "O'Sheas, Rampart");

    // The same file with LF line ends reads the same.
    std::string lf = text;
    std::erase(lf, '\r');
    const auto fromLf = ReadPayTableFile(lf);
    ASSERT_TRUE(fromLf.ok()) << fromLf.error;
    EXPECT_EQ(fromLf.records, contents.records);
}

TEST(PayTableFile, WritesNumbersThatReadBackExactly)
{
    for (const double value : {0.0, -0.0, 50000.0, -3.0, 0.5, 12.275, 29.775, 0.1 + 0.2, 1e20, 1.0 / 3, 1e-7,
                               123456789012345678.0, 4.9406564584124654e-324}) {
        PayTableFileRecord record;
        record[3] = value;
        const std::string text = FormatPayTableFile({record});
        const auto contents = ReadPayTableFile(text);
        ASSERT_TRUE(contents.ok()) << text;
        ASSERT_TRUE(std::holds_alternative<double>(contents.records[0][3])) << text;
        EXPECT_EQ(std::get<double>(contents.records[0][3]), value) << text;
    }
    PayTableFileRecord record;
    record[3] = 50000.0;
    record[4] = 0.5;
    EXPECT_TRUE(FormatPayTableFile({record}).starts_with("\"\",\"\",\"\",50000,0.5,"));
}

TEST(PayTableFile, WritesATextWithADoubleQuoteSoThatItReadsBack)
{
    // A quoted text cannot hold a double quote: one that can stand bare is written bare.
    PayTableFileRecord record;
    record[0] = std::string("The \"Big\" Casino");
    record[1] = std::string("\"Lucky\", Reno"); // cannot stand bare: apostrophes instead
    const std::string text = FormatPayTableFile({record});
    EXPECT_TRUE(text.starts_with("The \"Big\" Casino,\"'Lucky', Reno\",")) << text;
    const auto contents = ReadPayTableFile(text);
    ASSERT_TRUE(contents.ok()) << contents.error;
    EXPECT_EQ(std::get<std::string>(contents.records[0][0]), "The \"Big\" Casino");
    EXPECT_EQ(std::get<std::string>(contents.records[0][1]), "'Lucky', Reno");
}

TEST(PayTableFile, ABareTextThatBeginsWithAByteOrderMarkReadsBack)
{
    // Found by the fuzz target: such a text was written with apostrophes for its quotes, and
    // as the file's first value its mark was skipped by the reader.
    for (const int position : {0, 15}) {
        PayTableFileRecord record;
        record[position] = std::string("\xEF\xBB\xBF\"x\"y");
        const std::string text = FormatPayTableFile({record});
        const auto contents = ReadPayTableFile(text);
        ASSERT_TRUE(contents.ok()) << contents.error;
        EXPECT_EQ(contents.records[0][position], record[position]) << position;
    }
}

TEST(PayTableFile, ReadsNumbersWhateverTheirSignAndRefusesWhatIsNoNumber)
{
    std::string line = "+5,-.5,1e3,1e999,inf,0x10,+-1,1.5.5";
    for (int i = 8; i < 20; ++i)
        line += ",1";
    const auto contents = ReadPayTableFile(line);
    ASSERT_TRUE(contents.ok()) << contents.error;
    const auto& r = contents.records[0];
    EXPECT_EQ(std::get<double>(r[0]), 5);
    EXPECT_EQ(std::get<double>(r[1]), -0.5);
    EXPECT_EQ(std::get<double>(r[2]), 1000);
    for (int i = 3; i < 8; ++i)
        EXPECT_TRUE(std::holds_alternative<std::string>(r[i])) << i;
}

TEST(PayTableBytes, KeepsValidUtf8AsItIs)
{
    const std::string utf8 = "\"Caveman Keno 25\xC2\xA2\",\xE2\x82\xAC,\xF0\x9F\x8E\xB2";
    EXPECT_EQ(DecodePayTableBytes(utf8), utf8);
    EXPECT_EQ(DecodePayTableBytes("\xEF\xBB\xBF" + utf8), "\xEF\xBB\xBF" + utf8);
    EXPECT_EQ(DecodePayTableBytes(""), "");
}

TEST(PayTableBytes, ReadsAnythingElseAsWindows1252)
{
    // The cent sign of an older installation's file is the single byte 0xA2.
    EXPECT_EQ(DecodePayTableBytes("\"Caveman Keno 25\xA2\""), "\"Caveman Keno 25\xC2\xA2\"");
    // 0x80 to 0x9F: the euro sign, curly quotes, dashes...; the five undefined bytes stay C1 controls.
    EXPECT_EQ(DecodePayTableBytes("\x80\x81\x8A\x93\x94\x96\x9F\xFF"),
              "\xE2\x82\xAC\xC2\x81\xC5\xA0\xE2\x80\x9C\xE2\x80\x9D\xE2\x80\x93\xC5\xB8\xC3\xBF");
    // Sequences that look like UTF-8 but are not: overlong, surrogate, above U+10FFFF, cut short.
    EXPECT_EQ(DecodePayTableBytes("\xC0\xAF"), "\xC3\x80\xC2\xAF");
    EXPECT_EQ(DecodePayTableBytes("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
    EXPECT_EQ(DecodePayTableBytes("\xF4\x90\x80\x80"), "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC");
    EXPECT_EQ(DecodePayTableBytes("ab\xC2"), "ab\xC3\x82");
    // A byte order mark stays for the reader to skip, whatever follows it.
    EXPECT_EQ(DecodePayTableBytes("\xEF\xBB\xBF\xA2"), "\xEF\xBB\xBF\xC2\xA2");
}

namespace {

// UTF-8 text of one- and two-byte characters as UTF-16 with its byte order mark.
std::string utf16(const std::string& utf8, bool bigEndian)
{
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        unsigned unit = static_cast<unsigned char>(utf8[i]);
        if (unit >= 0xC0)
            unit = (unit & 0x1F) << 6 | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return out;
}

} // namespace

TEST(PayTableBytes, DecodesUtf16WithItsByteOrderMark)
{
    const std::string text = FormatPayTableFile(fireGame()); // with cent signs
    EXPECT_EQ(DecodePayTableBytes(utf16(text, false)), text);
    EXPECT_EQ(DecodePayTableBytes(utf16(text, true)), text);
    // A character beyond U+FFFF is a surrogate pair; a lone surrogate or an odd byte is replaced.
    EXPECT_EQ(DecodePayTableBytes(std::string("\xFF\xFE\x3C\xD8\xB2\xDF", 6)), "\xF0\x9F\x8E\xB2");
    EXPECT_EQ(DecodePayTableBytes(std::string("\xFF\xFE\x3C\xD8x\0", 6)), "\xEF\xBF\xBDx");
    EXPECT_EQ(DecodePayTableBytes(std::string("\xFE\xFF\0x\0", 5)), "x\xEF\xBF\xBD");
    // Without its mark, UTF-16 reads as text with NUL characters, which the reader refuses.
    EXPECT_FALSE(ReadPayTableFile(DecodePayTableBytes(utf16(text, false).substr(2))).ok());
}

TEST(PayTableBytes, AWindows1252FileAndAUtf8FileGiveTheSameGame)
{
    std::string utf8 = FormatPayTableFile(fireGame());
    std::string windows1252;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8.compare(i, 2, "\xC2\xA2") == 0) {
            windows1252 += '\xA2';
            ++i;
        } else {
            windows1252 += utf8[i];
        }
    }
    ASSERT_NE(windows1252, utf8);
    const auto fromUtf8 = ReadPayTableFile(DecodePayTableBytes(utf8));
    const auto fromWindows = ReadPayTableFile(DecodePayTableBytes(windows1252));
    ASSERT_TRUE(fromUtf8.ok() && fromWindows.ok());
    EXPECT_EQ(fromWindows.records, fromUtf8.records);
    EXPECT_EQ(std::get<std::string>(fromWindows.records[4][2]), "Caveman Keno 25\xC2\xA2");
}
