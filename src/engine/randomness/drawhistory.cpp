// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers
#include "drawhistory.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <system_error>

namespace tallyhawk {

namespace {

constexpr int kDrawSize = 20;
constexpr int kHighestNumber = 80;
// A number of more digits than this is out of range whatever it is.
constexpr std::size_t kLongestNumber = 6;
constexpr int kNotANumber = -1;
constexpr int kTooLarge = 1'000'000;
// The place a file keeps its draws at is learnt from this many lines that offer only one.
constexpr int kLayoutLines = 10'000;
constexpr char kWhatADrawIs[] = "; a draw is 20 different numbers from 1 to 80.";

struct Field
{
    std::string_view text;
    int value = kNotANumber; // the whole number the field is, or kNotANumber
};

bool isSeparator(char c)
{
    return c == ',' || c == ';' || c == '\t' || c == ' ';
}

bool inRange(const Field& field)
{
    return field.value >= 1 && field.value <= kHighestNumber;
}

int wholeNumber(std::string_view text)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return kNotANumber;
    const std::size_t first = std::min(text.find_first_not_of('0'), text.size());
    if (text.size() - first > kLongestNumber)
        return kTooLarge;
    int value = 0;
    for (char c : text.substr(first))
        value = value * 10 + (c - '0');
    return value;
}

// The fields of one line; a field in double quotes keeps the separators inside it.
void splitFields(std::string_view line, std::vector<Field>* fields)
{
    fields->clear();
    std::size_t i = 0;
    while (i < line.size()) {
        if (isSeparator(line[i])) {
            ++i;
            continue;
        }
        std::string_view text;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? line.size() : close;
            text = line.substr(i + 1, end - i - 1);
            i = end + 1;
        } else {
            const std::size_t start = i;
            while (i < line.size() && !isSeparator(line[i]))
                ++i;
            text = line.substr(start, i - start);
        }
        fields->push_back({text, wholeNumber(text)});
    }
}

// The first number that comes twice among fields [start, start + 20), or 0 when all differ.
int firstRepeat(const std::vector<Field>& fields, std::size_t start)
{
    std::array<bool, kHighestNumber + 1> seen{};
    for (std::size_t i = start; i < start + kDrawSize; ++i) {
        const auto n = static_cast<std::size_t>(fields[i].value);
        if (seen[n])
            return fields[i].value;
        seen[n] = true;
    }
    return 0;
}

// The places where 20 consecutive fields hold a draw.
void drawPlaces(const std::vector<Field>& fields, std::vector<std::size_t>* places)
{
    places->clear();
    std::size_t run = 0; // in-range fields ending at i
    for (std::size_t i = 0; i < fields.size(); ++i) {
        run = inRange(fields[i]) ? run + 1 : 0;
        if (run >= kDrawSize && firstRepeat(fields, i + 1 - kDrawSize) == 0)
            places->push_back(i + 1 - kDrawSize);
    }
}

// Why a line without a draw is refused.
std::string refusal(const std::vector<Field>& fields)
{
    std::size_t bestStart = 0, bestLength = 0;
    for (std::size_t i = 0; i < fields.size();) {
        std::size_t end = i;
        while (end < fields.size() && inRange(fields[end]))
            ++end;
        if (end - i > bestLength) {
            bestStart = i;
            bestLength = end - i;
        }
        i = std::max(end, i + 1);
    }
    if (bestLength >= kDrawSize)
        return " holds " + std::to_string(firstRepeat(fields, bestStart)) + " twice" + kWhatADrawIs;
    if (bestLength == 0)
        return std::string(" holds no number from 1 to 80") + kWhatADrawIs;
    const std::string run = " holds " + std::to_string(bestLength) + " number" +
                            (bestLength == 1 ? "" : "s") + " from 1 to 80 in a row";
    // A whole number out of range within the numbers is most likely a mistyped one of them.
    std::size_t first = bestStart, last = bestStart + bestLength;
    while (first > 0 && fields[first - 1].value != kNotANumber)
        --first;
    while (last < fields.size() && fields[last].value != kNotANumber)
        ++last;
    if (last - first >= kDrawSize)
        for (std::size_t i = first; i < last; ++i)
            if (!inRange(fields[i]))
                return run + " and \"" + std::string(fields[i].text) + "\", which is not from 1 to 80" +
                       kWhatADrawIs;
    return run + kWhatADrawIs;
}

bool holdsLetter(std::string_view line)
{
    return std::any_of(line.begin(), line.end(),
                       [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

// Calls `onLine(number, line)` for every line of `text`, without its line end.
template <typename OnLine> void forEachLine(std::string_view text, OnLine&& onLine)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::int64_t number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (!onLine(++number, line))
            return;
        text.remove_prefix(std::min(end + 1, text.size()));
    }
}

bool isBlank(std::string_view line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return isSeparator(c) || c == '\r'; });
}

// The place most of the first lines that offer a single draw hold it at; 0 when none does.
std::size_t usualPlace(std::string_view text)
{
    std::map<std::size_t, int> places;
    int lines = 0;
    std::vector<Field> fields;
    std::vector<std::size_t> found;
    forEachLine(text, [&](std::int64_t, std::string_view line) {
        splitFields(line, &fields);
        drawPlaces(fields, &found);
        if (found.size() == 1) {
            ++places[found.front()];
            ++lines;
        }
        return lines < kLayoutLines;
    });
    std::size_t best = 0;
    int most = 0;
    for (const auto& [place, count] : places)
        if (count > most) {
            best = place;
            most = count;
        }
    return best;
}

} // namespace

bool ParseDrawHistory(std::string_view text, std::vector<KenoDraw>* draws, std::string* error)
{
    const std::size_t usual = usualPlace(text);
    std::vector<KenoDraw> read;
    std::vector<Field> fields;
    std::vector<std::size_t> found;
    std::string firstRefusal;
    std::int64_t refused = 0;
    bool firstLine = true;
    bool tooMany = false;
    forEachLine(text, [&](std::int64_t number, std::string_view line) {
        if (isBlank(line))
            return true;
        const bool header = firstLine;
        firstLine = false;
        splitFields(line, &fields);
        drawPlaces(fields, &found);
        if (found.empty()) {
            if (header && holdsLetter(line))
                return true;
            if (refused++ == 0)
                firstRefusal = "Line " + std::to_string(number) + refusal(fields);
            return true;
        }
        if (refused > 0)
            return true; // the file is refused: only the refused lines are still counted
        if (static_cast<std::int64_t>(read.size()) >= kMaxHistoryDraws) {
            tooMany = true;
            return false;
        }
        const std::size_t place =
            std::find(found.begin(), found.end(), usual) != found.end() ? usual : found.front();
        KenoDraw& draw = read.emplace_back();
        for (std::size_t i = 0; i < draw.size(); ++i)
            draw[i] = static_cast<std::uint8_t>(fields[place + i].value);
        return true;
    });
    if (tooMany) {
        *error = "The file holds more than " + std::to_string(kMaxHistoryDraws) +
                 " draws, more than can be tested.";
        return false;
    }
    if (refused > 0) {
        *error = firstRefusal;
        if (refused > 1)
            *error += " " + std::to_string(refused - 1) + " more line" + (refused > 2 ? "s are" : " is") +
                      " refused too.";
        return false;
    }
    if (read.empty()) {
        *error = std::string("The file holds no draw") + kWhatADrawIs;
        return false;
    }
    *draws = std::move(read);
    return true;
}

bool ReadDrawHistory(const std::filesystem::path& path, std::vector<KenoDraw>* draws, std::string* error)
{
    std::error_code code;
    if (std::filesystem::is_directory(path, code)) {
        *error = "It is a folder, not a file.";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    if (in)
        content << in.rdbuf();
    if (!in || in.bad()) {
        *error = std::filesystem::exists(path, code) ? "The file cannot be read." : "There is no such file.";
        return false;
    }
    return ParseDrawHistory(content.view(), draws, error);
}

} // namespace tallyhawk
