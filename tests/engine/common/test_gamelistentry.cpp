#include "engine/common/gamelistentry.h"

#include <gtest/gtest.h>

using namespace tallyhawk;

namespace {

int characterCount(const std::string& text)
{
    int count = 0;
    for (unsigned char c : text)
        count += (c & 0xC0) != 0x80;
    return count;
}

} // namespace

TEST(GameListEntry, PadsEachPartToItsColumnAndReadsBack)
{
    const GameKey key{"ABCD", "Harrah's Laughlin!", "Live Keno!"}; // 4, 18 and 10 characters
    const std::string entry = FormatGameListEntry(key);
    ASSERT_EQ(entry.size(), 75u);
    EXPECT_EQ(entry.substr(0, 25), "ABCD" + std::string(21, ' '));
    EXPECT_EQ(entry.substr(25, 30), "Harrah's Laughlin!" + std::string(12, ' '));
    EXPECT_EQ(entry.substr(55, 20), "Live Keno!" + std::string(10, ' '));
    EXPECT_EQ(ParseGameListEntry(entry), key);
}

TEST(GameListEntry, CutsLongPartsAndTheCutValueIsWhatReadsBack)
{
    const GameKey key{std::string(30, 'L'), std::string(31, 'C'), std::string(22, 'G')};
    const std::string entry = FormatGameListEntry(key);
    ASSERT_EQ(entry.size(), 75u);
    EXPECT_EQ(ParseGameListEntry(entry),
              (GameKey{std::string(25, 'L'), std::string(30, 'C'), std::string(20, 'G')}));
}

TEST(GameListEntry, CountsCharactersNotBytes)
{
    // The cent sign is two bytes of UTF-8 but one column of the list.
    const GameKey key{"NEVADA - Las Vegas", "Suncoast", "Caveman Keno 25\u00a2"};
    const std::string entry = FormatGameListEntry(key);
    EXPECT_EQ(characterCount(entry), 75);
    EXPECT_EQ(ParseGameListEntry(entry), key);

    // A cut never splits a character.
    const GameKey longKey{std::string(24, 'x') + "\u00a2\u00a2", "c", "g"};
    const GameKey cut = ParseGameListEntry(FormatGameListEntry(longKey));
    EXPECT_EQ(cut.Location, std::string(24, 'x') + "\u00a2");
}

TEST(GameListEntry, ShortOrEmptyEntriesGiveWhatTheirColumnsHold)
{
    EXPECT_EQ(ParseGameListEntry(""), GameKey{});
    EXPECT_EQ(ParseGameListEntry("  ONLINE  ").Location, "ONLINE");
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(TrimBlanks("   "), "");
}

TEST(GameKeyNormalisation, TrimsEachPartAndKeepsWhatTheListShowsWhole)
{
    const GameKeyNormalisation padded =
        NormaliseGameKey({" ARIZONA ", "  Desert O'Dell ", "Keno 25\xC2\xA2 "});
    ASSERT_TRUE(padded.ok()) << padded.error;
    EXPECT_EQ(padded.key, (GameKey{"ARIZONA", "Desert O'Dell", "Keno 25\xC2\xA2"}));
    // At its limit a part fits its column: the list entry gives the same key back.
    const GameKey longest{std::string(25, 'L'), std::string(27, 'C') + "\xC2\xA2", std::string(20, 'G')};
    ASSERT_TRUE(NormaliseGameKey(longest).ok());
    EXPECT_EQ(ParseGameListEntry(FormatGameListEntry(longest)), longest);
}

TEST(GameKeyNormalisation, RefusesAKeyTheListCouldNotShowOrFind)
{
    const struct
    {
        GameKey key;
        std::string error;
    } cases[] = {
        {{"L", "C", "   "}, "the game name is empty"},
        {{"", "C", "G"}, "the location is empty"},
        {{std::string(26, 'L'), "C", "G"},
         "the location \"" + std::string(26, 'L') + "\" is longer than 25 characters"},
        {{"L", std::string(29, 'C'), "G"},
         "the casino \"" + std::string(29, 'C') + "\" is longer than 28 characters"},
        {{"L", "C", "Fire Power Keno Deluxe Edition 32"},
         "the game name \"Fire Power Keno Deluxe Edition 32\" is longer than 20 characters"},
        {{"L", std::string("C\0C", 3), "G"},
         "the casino holds a control character (such as a NUL, a tab or a line end)"},
        {{"L", "C", "Keno\tG"},
         "the game name holds a control character (such as a NUL, a tab or a line end)"},
    };
    for (const auto& c : cases) {
        const GameKeyNormalisation result = NormaliseGameKey(c.key);
        EXPECT_EQ(result.error, c.error);
    }
}
