// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/common/gamekey.h"

#include <gtest/gtest.h>

using namespace tallyhawk;

TEST(GameKey, OneEqualityFoldsEveryLetterAndIgnoresTheBlanksAroundAPart)
{
    const struct
    {
        GameKey a, b;
        bool same;
    } cases[] = {
        {{"OTHER", "Probe Casino", "CAFE KENO"}, {"other", "PROBE casino", "cafe keno"}, true},
        {{"OTHER", "Probe Casino", "CAF\u00c9 KENO"}, {"OTHER", "Probe Casino", "Caf\u00e9 Keno"}, true},
        {{"\u00c4RGERNIS", "\u00d8RESUND", "\u00c0 LA CARTE"},
         {"\u00e4rgernis", "\u00f8resund", "\u00e0 la carte"},
         true},
        {{"L", "C", "Caf\u00c9 \u0152uvre \u0178"}, {"L", "C", "caf\u00e9 \u0153UVRE \u00ff"}, true},
        {{" OTHER ", "Probe Casino  ", "  Caf\u00e9 Keno"},
         {"OTHER", "probe casino", "CAF\u00c9 KENO"},
         true},
        {{"L", "C", "Caf\u00e9  Keno"}, {"L", "C", "Caf\u00e9 Keno"}, false},
        {{"\u0395\u039b\u039b\u0391\u0394\u0391", "\u039a\u0391\u0396\u0399\u039d\u039f",
          "\u039a\u0395\u039d\u039f \u0386"},
         {"\u03b5\u03bb\u03bb\u03b1\u03b4\u03b1", "\u03ba\u03b1\u03b6\u03b9\u03bd\u03bf",
          "\u03ba\u03b5\u03bd\u03bf \u03ac"},
         true},
        {{"L", "C", "\u039f\u03a3"}, {"L", "C", "\u03bf\u03c2"}, true}, // final sigma
        {{"\u0420\u041e\u0421\u0421\u0418\u042f", "\u041a\u0410\u0417\u0418\u041d\u041e",
          "\u0401\u041b\u041a\u0410 \u0490"},
         {"\u0440\u043e\u0441\u0441\u0438\u044f", "\u043a\u0430\u0437\u0438\u043d\u043e",
          "\u0451\u043b\u043a\u0430 \u0491"},
         true},
        {{"L", "C", "KENO \uff2b"}, {"L", "C", "keno \uff4b"}, true},   // full-width letters
        {{"L", "C", "Caf\u00e9 Keno"}, {"L", "C", "Cafe Keno"}, false}, // an accent is not a case
        {{"L", "C", "\u0415"}, {"L", "C", "E"}, false},                 // Cyrillic E is not Latin E
        {{"L", "C", "Keno 25\u00a2"}, {"L", "C", "KENO 25\u00a2"}, true},
        {{"L", "C", "G"}, {"L", "G", "C"}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SameGameKey(c.a, c.b), c.same) << c.a.Game << " / " << c.b.Game;
        EXPECT_EQ(SameGameKey(c.b, c.a), c.same) << c.b.Game << " / " << c.a.Game;
    }
}

TEST(GameKey, CaseFoldingKeepsWhatIsNotALetterOrNotValidUtf8)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Harrah's Laughlin $1", "harrah's laughlin $1"},
        {"\u00df\u1e9e", "\u00df\u00df"},        // sharp s keeps one letter
        {"\u00d7\u00f7", "\u00d7\u00f7"},        // signs between the accented letters
        {"\u212a\u212b\u2126", "k\u00e5\u03c9"}, // kelvin, angstrom and ohm signs
        {std::string("A\xff"
                     "B\xc3",
                     4),
         std::string("a\xff"
                     "b\xc3",
                     4)},                                         // stray bytes stay
        {std::string("\xc0\x81", 2), std::string("\xc0\x81", 2)}, // an overlong form stays
        {"\U0001F3B0", "\U0001F3B0"},
    };
    for (const auto& [text, folded] : cases)
        EXPECT_EQ(CaseFold(text), folded) << text;
}

TEST(GameKey, ListEntryPadsEachPartAndMarksACutPartWithAnEllipsis)
{
    const GameKey key{"ABCD", "Harrah's Laughlin!", "Live Keno!"};
    EXPECT_EQ(FormatGameListText(key), "ABCD" + std::string(21, ' ') + "Harrah's Laughlin!" +
                                           std::string(12, ' ') + "Live Keno!" + std::string(10, ' '));
    const GameKey cut{std::string(30, 'L'), std::string(30, 'C'), std::string(22, 'G')};
    EXPECT_EQ(FormatGameListText(cut),
              std::string(24, 'L') + "\u2026" + std::string(30, 'C') + std::string(19, 'G') + "\u2026");
    // The cent sign is two bytes of UTF-8 but one column of the list; a cut never splits it.
    const std::string cents = FormatGameListText({std::string(24, 'x') + "\u00a2\u00a2", "c", "g"});
    EXPECT_EQ(CharacterCount(cents), kGameListWidth);
    EXPECT_EQ(cents.substr(0, 27), std::string(24, 'x') + "\u2026");
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
