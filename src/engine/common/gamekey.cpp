// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "gamekey.h"

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
    if (characters > width)
        return std::string(text.substr(0, starts[width - 1])) + "\u2026";
    return std::string(text) + std::string(width - characters, ' ');
}

// Case pairs laid out as upper, lower, upper, lower... over [first, last]: the upper case is
// the one of the given parity.
bool inPairs(char32_t c, char32_t first, char32_t last)
{
    return c >= first && c <= last && (c - first) % 2 == 0;
}

// The code point that starts at text[i], and its length in bytes; a byte that does not start
// a valid sequence is returned as length 0.
char32_t decode(std::string_view text, std::size_t i, std::size_t* length)
{
    const auto byte = [&](std::size_t k) {
        return static_cast<unsigned char>(text[k]);
    };
    const unsigned char lead = byte(i);
    std::size_t count = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        *length = 1;
        return lead;
    }
    if ((lead & 0xE0) == 0xC0) {
        count = 2;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        count = 3;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        count = 4;
        c = lead & 0x07;
    }
    if (count == 0 || i + count > text.size()) {
        *length = 0;
        return 0;
    }
    for (std::size_t k = 1; k < count; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            *length = 0;
            return 0;
        }
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms and surrogates are not characters: their bytes stay as they are.
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kShortest[count] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        *length = 0;
        return 0;
    }
    *length = count;
    return c;
}

void encode(char32_t c, std::string* out)
{
    if (c < 0x80) {
        out->push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (c >> 6)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (c >> 12)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (c >> 18)));
        out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

// Unicode's simple case folding for the scripts a casino's name is written in: Latin (with
// its accented letters), Greek, Cyrillic and Armenian, and the full-width Latin letters.
// Foldings that change a letter's length (ß to "ss") are full foldings and left out, as Qt
// leaves them out of its case-insensitive comparison.
char32_t CaseFoldCodePoint(char32_t c)
{
    struct Offset
    {
        char32_t first, last;
        int offset;
    };
    static constexpr Offset kRanges[] = {
        {0x0041, 0x005A, 0x20}, {0x00C0, 0x00D6, 0x20}, {0x00D8, 0x00DE, 0x20}, {0x0388, 0x038A, 0x25},
        {0x038E, 0x038F, 0x3F}, {0x0391, 0x03A1, 0x20}, {0x03A3, 0x03AB, 0x20}, {0x0400, 0x040F, 0x50},
        {0x0410, 0x042F, 0x20}, {0x0531, 0x0556, 0x30}, {0x2160, 0x216F, 0x10}, {0x24B6, 0x24CF, 0x1A},
        {0xFF21, 0xFF3A, 0x20},
    };
    for (const Offset& range : kRanges) {
        if (c >= range.first && c <= range.last)
            return static_cast<char32_t>(static_cast<int>(c) + range.offset);
    }
    struct Pairs
    {
        char32_t first, last; // the first upper-case letter and the last one
    };
    static constexpr Pairs kPairs[] = {
        {0x0100, 0x012E}, {0x0132, 0x0136}, {0x0139, 0x0147}, {0x014A, 0x0176},
        {0x0179, 0x017D}, {0x01CD, 0x01DB}, {0x01DE, 0x01EE}, {0x01F8, 0x021E},
        {0x0222, 0x0232}, {0x03D8, 0x03EE}, {0x0460, 0x0480}, {0x048A, 0x04BE},
        {0x04C1, 0x04CD}, {0x04D0, 0x052E}, {0x1E00, 0x1E94}, {0x1EA0, 0x1EFE},
    };
    for (const Pairs& pairs : kPairs) {
        if (inPairs(c, pairs.first, pairs.last))
            return c + 1;
    }
    switch (c) {
    case 0x00B5:
        return 0x03BC; // micro sign: Greek mu
    case 0x0178:
        return 0x00FF; // Ÿ
    case 0x017F:
        return 0x0073; // long s
    case 0x0386:
        return 0x03AC; // Ά
    case 0x038C:
        return 0x03CC; // Ό
    case 0x03C2:
        return 0x03C3; // final sigma
    case 0x04C0:
        return 0x04CF; // palochka
    case 0x1E9E:
        return 0x00DF; // capital sharp s
    case 0x2126:
        return 0x03C9; // ohm sign
    case 0x212A:
        return 0x006B; // kelvin sign
    case 0x212B:
        return 0x00E5; // angstrom sign
    default:
        return c;
    }
}

std::string CaseFold(std::string_view text)
{
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 0;
        const char32_t c = decode(text, i, &length);
        if (length == 0) {
            folded.push_back(text[i++]);
            continue;
        }
        encode(CaseFoldCodePoint(c), &folded);
        i += length;
    }
    return folded;
}

bool SameGameKey(const GameKey& a, const GameKey& b)
{
    const auto same = [](const std::string& x, const std::string& y) {
        return CaseFold(TrimBlanks(x)) == CaseFold(TrimBlanks(y));
    };
    return same(a.Location, b.Location) && same(a.Casino, b.Casino) && same(a.Game, b.Game);
}

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

std::string FormatGameListText(const GameKey& key)
{
    return padOrCut(key.Location, kLocationWidth) + padOrCut(key.Casino, kCasinoWidth) +
           padOrCut(key.Game, kGameWidth);
}

} // namespace tallyhawk
