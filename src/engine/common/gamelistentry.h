#pragma once
// A game is named by its key (location, casino, game) and shown everywhere as a fixed-width
// list entry of 75 characters: location in 25 columns, casino in 30, game in 20.
// Texts are UTF-8; widths count characters, not bytes.

#include <string>
#include <string_view>

namespace tallyhawk {

// The fixed-width text (kGameListEntryWidth characters) by which windows show a game.
using GameListEntry = std::string;

struct GameKey
{
    std::string Location;
    std::string Casino;
    std::string Game;

    bool operator==(const GameKey&) const = default;
};

constexpr int kLocationWidth = 25;
constexpr int kCasinoWidth = 30;
constexpr int kGameWidth = 20;
constexpr int kGameListEntryWidth = kLocationWidth + kCasinoWidth + kGameWidth;

// Each part padded with blanks and cut to its width: a part longer than its width is cut,
// and the cut value is what lookups by the entry then search for.
std::string FormatGameListEntry(const GameKey& key);

// Characters 1 to 25, 26 to 55 and the last 20, each without leading and trailing blanks.
// A shorter text gives what those columns hold (empty parts where it has none).
GameKey ParseGameListEntry(std::string_view entry);

// Leading and trailing blanks removed (blanks only, as the list entries are padded with them).
std::string TrimBlanks(std::string_view text);

// The longest part of a key that the list shows whole and the lookup finds again. The casino
// keeps two columns of its 30 free, as the catalogue always has.
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

// The one form of a game's key: what is stored, and what every lookup, delete and export
// searches for. Each part loses its surrounding blanks; a key with an empty part, a part
// longer than its limit or a control character (a NUL, a tab, a line end) cannot be stored.
[[nodiscard]] GameKeyNormalisation NormaliseGameKey(const GameKey& key);

} // namespace tallyhawk
