// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/catalogue/paytableimport.h"

#include <gtest/gtest.h>

using namespace tallyhawk;

namespace {

const std::string kKey = "\"NEVADA - Las Vegas\",\"Rampart\",\"Fire Power Keno\"";

// A record of the game: its Catch, then the 16 values after it (pays, then bonus values).
std::string record(const std::string& caught, const std::string& rest = ",,,,,,,,,,,,,,,",
                   const std::string& key = kKey)
{
    return key + "," + caught + "," + rest + "\r\n";
}

// Catch 0 with the bonus values 1, 0, 4, 1, 1, 1, then Catch 1 to 10 paying n x c.
std::string game()
{
    std::string text = record("0", ",,,,,,,,,,1,0,4,1,1,1");
    for (int c = 1; c <= 10; ++c) {
        std::string rest;
        for (int n = 1; n <= 10; ++n)
            rest += (n > 1 ? "," : "") + (n >= c ? std::to_string(n * c) : std::string());
        text += record(std::to_string(c), rest + ",,,,,,");
    }
    return text;
}

} // namespace

TEST(PayTableImport, AWholeGameBecomesItsRowsUnderTheFirstRecordsTrimmedKey)
{
    std::string utf16 = "\xFF\xFE";
    for (char c : game())
        utf16 += std::string{c, '\0'};
    for (const std::string& bytes : {game(), utf16}) {
        const ImportedGame imported = ReadImportedGame(bytes);
        ASSERT_EQ(imported.rows.size(), 11u) << imported.error;
        EXPECT_EQ(imported.rows[0].BonusFactor, 4);
        EXPECT_FALSE(imported.rows[0].Pick[0].has_value());
        EXPECT_EQ(imported.rows[7].Pick[9], 70);
        EXPECT_FALSE(imported.rows[7].Pick[5].has_value());
    }
    // Blanks around the key, another letter case and quoted numbers are the same game; bonus
    // values count on the bonus row only.
    const ImportedGame trimmed =
        ReadImportedGame(record("0", ",,,,,,,,,,0,0,1,1,1,1", "\"ARIZONA \",\" Desert\",\"Keno\"") +
                         record("\"1\"", "\"2.5\",,,,,,,,,,9,9,9,9,9,9", "\"arizona\",\"DESERT \",\"KENO\""));
    ASSERT_EQ(trimmed.rows.size(), 2u) << trimmed.error;
    EXPECT_EQ(trimmed.key, (GameKey{"ARIZONA", "Desert", "Keno"}));
    EXPECT_EQ(trimmed.rows[1].key, trimmed.key);
    EXPECT_EQ(trimmed.rows[1].Pick[0], 2.5);
    EXPECT_FALSE(trimmed.rows[1].BonusBall.has_value());
}

TEST(PayTableImport, RefusesWhatIsNoPayTableWithTheRecordAndTheReason)
{
    const std::string header =
        "Location,Casino,Game,Catch,Pick1,Pick2,Pick3,Pick4,Pick5,Pick6,Pick7,Pick8,Pick9,"
        "Pick10,Bonus Ball,Free Games,Bonus Factor,Egg1 Bonus,Egg2 Bonus,Egg3 Bonus\r\n";
    const std::string binary = "\x89PNG\r\n\x1A\n" + std::string("\0\0\0\rIHDR", 8) + std::string(40, ',');
    // Each named by its record and the start of the reason.
    const std::pair<std::string, std::string> cases[] = {
        {header + game(), "Record 1: its Catch, \"Catch\", is not a whole number from 0 to 10."},
        {binary, "Record 1, value 3 holds a NUL character"},
        {record("0", ",,,,,,,,,,,,,,,,,"), "Record 1 has more than 20 values"},
        {record("0") + record("1") +
             record("2", ",,,,,,,,,,,,,,,", "\"NEVADA - Las Vegas\",\"Rampart\",\"Keno\""),
         "Record 3 names another game (NEVADA - Las Vegas, Rampart, Keno) than record 1"},
        {record("0") + record("1", "99999,,,,,,,,,,,,,,,") + record("1"),
         "Record 3 repeats Catch 1 of record 2."},
        {record("0") + record("2.5"), "Record 2: its Catch, 2.5, is not a whole number from 0 to 10."},
        {record("0") + record("11"), "Record 2: its Catch, 11, is not a whole number from 0 to 10."},
        {record("1") + record("0"), "Record 1 is for Catch 1: a pay table file begins with the bonus row"},
        {record("0") + record("3", ",,abc,,,,,,,,,,,,,"), "Record 2: Pick 3, \"abc\", is not a number."},
        {record("0") + record("10", ",,,,,,,,,2147483648,,,,,,"),
         "Record 2: Pick 10 is 2147483648, above 2,147,483,647"},
        {record("0") + record("1", "-1,,,,,,,,,,,,,,,"), "Record 2: Pick 1 is -1, below 0."},
        {record("0", ",,,,,,,,,,,,,,,", "\"ARIZONA\",\"Desert\",\"Fire Power Keno Deluxe 32\""),
         "Record 1: the game name \"Fire Power Keno Deluxe 32\" is longer than 20 characters."},
        {"\r\n", "The file holds no pay table record."}};
    for (const auto& [text, error] : cases) {
        const ImportedGame imported = ReadImportedGame(text);
        EXPECT_EQ(imported.error.substr(0, error.size()), error);
        EXPECT_TRUE(imported.rows.empty()) << error;
    }
}
