#include "gamelistentry.h"

#include <algorithm>
#include <vector>

namespace tallyhawk {

namespace {

// Byte offsets at which each UTF-8 character of the text starts, plus the end offset.
std::vector<std::size_t> characterStarts(std::string_view text)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    }
    starts.push_back(text.size());
    return starts;
}

std::string padOrCut(std::string_view text, int width)
{
    const auto starts = characterStarts(text);
    const int characters = static_cast<int>(starts.size()) - 1;
    if (characters >= width)
        return std::string(text.substr(0, starts[width]));
    return std::string(text) + std::string(width - characters, ' ');
}

// Characters [first, first + count) of the text, clamped to what it holds.
std::string_view characters(std::string_view text, const std::vector<std::size_t>& starts, int first,
                            int count)
{
    const int total = static_cast<int>(starts.size()) - 1;
    if (first < 0)
        first = 0;
    if (first >= total || count <= 0)
        return {};
    const int last = std::min(total, first + count);
    return text.substr(starts[first], starts[last] - starts[first]);
}

} // namespace

std::string TrimBlanks(std::string_view text)
{
    const auto begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos)
        return {};
    const auto end = text.find_last_not_of(' ');
    return std::string(text.substr(begin, end - begin + 1));
}

int CharacterCount(std::string_view text)
{
    return static_cast<int>(characterStarts(text).size()) - 1;
}

GameKeyNormalisation NormaliseGameKey(const GameKey& key)
{
    GameKeyNormalisation result;
    result.key = {TrimBlanks(key.Location), TrimBlanks(key.Casino), TrimBlanks(key.Game)};
    const struct
    {
        const std::string& text;
        const char* name;
        int limit;
    } parts[] = {{result.key.Location, "location", kMaxLocationLength},
                 {result.key.Casino, "casino", kMaxCasinoLength},
                 {result.key.Game, "game name", kMaxGameLength}};
    for (const auto& part : parts) {
        const std::string name = part.name;
        if (part.text.empty())
            result.error = "the " + name + " is empty";
        else if (CharacterCount(part.text) > part.limit)
            result.error = "the " + name + " \"" + part.text + "\" is longer than " +
                           std::to_string(part.limit) + " characters";
        else if (std::any_of(part.text.begin(), part.text.end(),
                             [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
            result.error = "the " + name + " holds a control character (such as a NUL, a tab or a line end)";
        if (!result.error.empty())
            break;
    }
    return result;
}

std::string FormatGameListEntry(const GameKey& key)
{
    return padOrCut(key.Location, kLocationWidth) + padOrCut(key.Casino, kCasinoWidth) +
           padOrCut(key.Game, kGameWidth);
}

GameKey ParseGameListEntry(std::string_view entry)
{
    const auto starts = characterStarts(entry);
    const int total = static_cast<int>(starts.size()) - 1;
    GameKey key;
    key.Location = TrimBlanks(characters(entry, starts, 0, kLocationWidth));
    key.Casino = TrimBlanks(characters(entry, starts, kLocationWidth, kCasinoWidth));
    key.Game = TrimBlanks(characters(entry, starts, total - kGameWidth, kGameWidth));
    return key;
}

} // namespace tallyhawk
