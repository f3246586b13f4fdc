// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "runorigin.h"

namespace tallyhawk {

namespace {

std::string joined(const std::vector<int>& numbers, const char* separator)
{
    std::string text;
    for (int n : numbers)
        text += (text.empty() ? "" : separator) + std::to_string(n);
    return text;
}

// Double quotes keep blanks and apostrophes ("O'Sheas"); the four characters a shell still
// reads inside them are escaped.
std::string shellQuoted(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\' || c == '$' || c == '`')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

std::string PicksText(const RunOrigin& origin)
{
    if (origin.randomPicks)
        return std::to_string(origin.ticket.size()) + " numbers picked at random every game";
    return "the marked numbers " + joined(origin.ticket, ", ") + " every game";
}

std::string RepeatCommand(const RunOrigin& origin)
{
    const std::string game = origin.game.Location + "|" + origin.game.Casino + "|" + origin.game.Game;
    const std::string picks = origin.randomPicks ? "--spots " + std::to_string(origin.ticket.size())
                                                 : "--ticket " + joined(origin.ticket, ",");
    return "tallyhawk-cli simulate --game " + shellQuoted(game) + " " + picks + " --games " +
           std::to_string(origin.games) + " --seed " + std::to_string(origin.seed);
}

std::string RunOriginLines(const RunOrigin& origin)
{
    return "Seed of This Run: " + std::to_string(origin.seed) + " (" + PicksText(origin) + ")\r\n" +
           "To Repeat It: " + RepeatCommand(origin) + "\r\n";
}

} // namespace tallyhawk
