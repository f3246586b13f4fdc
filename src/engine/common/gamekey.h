// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// A game is known by its key (location, casino, game). Two keys name the same game when
// SameGameKey says so: that one equality is used by the windows, the command line, the import
// and every database lookup. Windows show a key as a fixed-width list entry of 75 characters
// (location in 25 columns, casino in 30, game in 20); that text is for the eye only and is
// never read back into a key. Texts are UTF-8; widths count characters, not bytes.

#include <string>
#include <string_view>

namespace tallyhawk {

struct GameKey
{
    std::string Location;
    std::string Casino;
    std::string Game;

    // The same spelling, byte for byte; whether two keys name one game is SameGameKey.
    bool operator==(const GameKey&) const = default;
};

// Whether two keys name the same game: each part equal once the blanks around it are removed
// and its letters folded to one case (CaseFold), accented, Greek and Cyrillic letters too.
bool SameGameKey(const GameKey& a, const GameKey& b);

// The text with every letter in its simple case-folded form (mostly its small letter):
// "CAFÉ" and "Café" both give "café". Bytes that are not valid UTF-8 stay as they are.
std::string CaseFold(std::string_view text);
// One code point folded; one without a case folding is given back as it is.
char32_t CaseFoldCodePoint(char32_t c);

constexpr int kLocationWidth = 25;
constexpr int kCasinoWidth = 30;
constexpr int kGameWidth = 20;
constexpr int kGameListWidth = kLocationWidth + kCasinoWidth + kGameWidth;

// How a list shows a game: each part padded with blanks to its width. A part longer than its
// width shows its first characters and an ellipsis ("…") in the last column, so that the text
// does not pass for another key.
std::string FormatGameListText(const GameKey& key);

// Leading and trailing blanks removed (blanks only, as the list entries are padded with them).
std::string TrimBlanks(std::string_view text);

// The longest part of a key that the list shows whole. The casino keeps two columns of its
// 30 free, as the catalogue always has.
constexpr int kMaxLocationLength = kLocationWidth;
constexpr int kMaxCasinoLength = 28;
constexpr int kMaxGameLength = kGameWidth;

// The number of characters (not bytes) of a UTF-8 text.
int CharacterCount(std::string_view text);

struct GameKeyNormalisation
{
    GameKey key;       // every part without surrounding blanks, whether or not it can be stored
    std::string error; // why the key cannot be stored (a phrase: "the casino is empty"); empty if it can
    bool ok() const { return error.empty(); }
};

// The one form of a game's key: what is stored. Each part loses its surrounding blanks; a key
// with an empty part, a part longer than its limit or a control character (a NUL, a tab, a
// line end) cannot be stored.
[[nodiscard]] GameKeyNormalisation NormaliseGameKey(const GameKey& key);

} // namespace tallyhawk
