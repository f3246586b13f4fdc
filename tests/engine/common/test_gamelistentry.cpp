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
