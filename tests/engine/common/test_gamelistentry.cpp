#include "engine/common/gamelistentry.h"

#include <gtest/gtest.h>

using namespace tallyhawk;

TEST(GameListEntry, PadsEachPartToItsColumnCutsByCharactersAndReadsBack)
{
    const GameKey key{"ABCD", "Harrah's Laughlin!", "Live Keno!"};
    EXPECT_EQ(FormatGameListEntry(key), "ABCD" + std::string(21, ' ') + "Harrah's Laughlin!" +
                                            std::string(12, ' ') + "Live Keno!" + std::string(10, ' '));
    const GameKey cut{std::string(30, 'L'), std::string(31, 'C'), std::string(22, 'G')};
    EXPECT_EQ(ParseGameListEntry(FormatGameListEntry(cut)),
              (GameKey{std::string(25, 'L'), std::string(30, 'C'), std::string(20, 'G')}));
    // The cent sign is two bytes of UTF-8 but one column of the list; a cut never splits it.
    const GameKey cents{"NEVADA - Las Vegas", "Suncoast", "Caveman Keno 25\u00a2"};
    EXPECT_EQ(ParseGameListEntry(FormatGameListEntry(cents)), cents);
    EXPECT_EQ(
        ParseGameListEntry(FormatGameListEntry({std::string(24, 'x') + "\u00a2\u00a2", "c", "g"})).Location,
        std::string(24, 'x') + "\u00a2");
}

TEST(GameKeyNormalisation, TrimsEachPartAndRefusesAKeyTheListCouldNotShowOrFind)
{
    const GameKeyNormalisation padded = NormaliseGameKey({" ARIZONA ", "  Desert O'Dell ", "Keno 25\u00a2 "});
    EXPECT_EQ(padded.error, "");
    EXPECT_EQ(padded.key, (GameKey{"ARIZONA", "Desert O'Dell", "Keno 25\u00a2"}));
    const std::pair<GameKey, std::string> cases[] = {
        {{"", "C", "G"}, "the location is empty"},
        {{std::string(26, 'L'), "C", "G"},
         "the location \"" + std::string(26, 'L') + "\" is longer than 25 characters"},
        {{"L", std::string(29, 'C'), "G"},
         "the casino \"" + std::string(29, 'C') + "\" is longer than 28 characters"},
        {{"L", std::string(27, 'C') + "\u00a2", std::string(21, 'G')},
         "the game name \"" + std::string(21, 'G') + "\" is longer than 20 characters"},
        {{"L", "C", "   "}, "the game name is empty"},
        {{"L", std::string("C\0C", 3), "G"}, "the casino holds a control character"}};
    for (const auto& [key, error] : cases)
        EXPECT_EQ(NormaliseGameKey(key).error.substr(0, error.size()), error);
}
