// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "cardset.h"

#include "engine/common/gameconstants.h"

#include <algorithm>
#include <array>
#include <functional>

namespace tallyhawk {

namespace {

// Why `numbers` cannot stand on one card or group, naming it as `what`; empty when they can.
std::string numbersError(const std::vector<int>& numbers, const std::string& what)
{
    std::array<bool, kBoardNumbers + 1> seen{};
    for (int number : numbers) {
        if (number < 1 || number > kBoardNumbers)
            return what + " holds " + std::to_string(number) + ": the numbers run from 1 to 80.";
        if (seen[static_cast<std::size_t>(number)])
            return what + " holds " + std::to_string(number) + " twice.";
        seen[static_cast<std::size_t>(number)] = true;
    }
    return {};
}

} // namespace

std::string CardSetError(const CardSet& set)
{
    const int most = set.wayTicket ? kMaxWays : kMaxCards;
    if (set.cards.empty())
        return "A card set needs at least one card.";
    if (static_cast<int>(set.cards.size()) > most)
        return set.wayTicket ? "A way ticket plays at most " + std::to_string(kMaxWays) + " ways, not " +
                                   std::to_string(set.cards.size()) + "."
                             : "A card set holds at most " + std::to_string(kMaxCards) + " cards, not " +
                                   std::to_string(set.cards.size()) + ".";
    for (std::size_t i = 0; i < set.cards.size(); ++i) {
        const Card& card = set.cards[i];
        const std::string name = "Card " + std::to_string(i + 1);
        if (card.size() < static_cast<std::size_t>(kMinMarks) ||
            card.size() > static_cast<std::size_t>(kMaxMarks))
            return name + " marks " + std::to_string(card.size()) + " numbers: a card marks 1 to 10.";
        if (std::string error = numbersError(card, name); !error.empty())
            return error;
    }
    if (set.bet < kMinBet || set.bet > kMaxBet)
        return "The bet must be 1 to 45 credits a card.";
    return {};
}

WayCards BuildWayCards(const WayTicket& ticket)
{
    WayCards built;
    if (ticket.groups.empty()) {
        built.error = "A way ticket needs at least one group of numbers.";
        return built;
    }
    std::array<int, kBoardNumbers + 1> groupOf{}; // 0: in no group
    for (std::size_t g = 0; g < ticket.groups.size(); ++g) {
        const std::string name = "Group " + std::to_string(g + 1);
        if (ticket.groups[g].empty()) {
            built.error = name + " is empty.";
            return built;
        }
        if (std::string error = numbersError(ticket.groups[g], name); !error.empty()) {
            built.error = error;
            return built;
        }
        for (int number : ticket.groups[g]) {
            if (int other = groupOf[static_cast<std::size_t>(number)]; other != 0) {
                built.error = "Groups " + std::to_string(other) + " and " + std::to_string(g + 1) +
                              " both hold " + std::to_string(number) +
                              ": the groups of a way ticket must not overlap.";
                return built;
            }
            groupOf[static_cast<std::size_t>(number)] = static_cast<int>(g) + 1;
        }
    }
    if (ticket.spots.empty()) {
        built.error = "A way ticket needs at least one way size.";
        return built;
    }
    // ways[s]: how many unions of whole groups hold s numbers, counted up to kMaxWays + 1 so that
    // a ticket of millions of ways is refused without being listed.
    std::array<std::int64_t, kMaxMarks + 1> ways{};
    ways[0] = 1;
    for (const std::vector<int>& group : ticket.groups) {
        const int size = static_cast<int>(group.size());
        for (int s = kMaxMarks; s >= size; --s)
            ways[s] = std::min<std::int64_t>(ways[s] + ways[s - size], kMaxWays + 1);
    }
    std::int64_t total = 0;
    std::array<bool, kMaxMarks + 1> asked{};
    for (int spots : ticket.spots) {
        if (spots < kMinMarks || spots > kMaxMarks) {
            built.error = "A way size of " + std::to_string(spots) + ": a way marks 1 to 10 numbers.";
            return built;
        }
        if (asked[spots]) {
            built.error = "The way size " + std::to_string(spots) + " is given twice.";
            return built;
        }
        asked[spots] = true;
        if (ways[spots] == 0) {
            built.error = "No union of whole groups holds " + std::to_string(spots) + " numbers.";
            return built;
        }
        total += ways[spots];
    }
    if (total > kMaxWays) {
        built.error = "The way ticket plays more than " + std::to_string(kMaxWays) + " ways.";
        return built;
    }

    // The unions themselves, groups taken in their order.
    std::vector<std::size_t> chosen;
    std::function<void(std::size_t, int, int)> collect = [&](std::size_t from, int size, int spots) {
        if (size == spots) {
            Card card;
            for (std::size_t g : chosen)
                card.insert(card.end(), ticket.groups[g].begin(), ticket.groups[g].end());
            std::sort(card.begin(), card.end());
            built.cards.push_back(std::move(card));
            return;
        }
        for (std::size_t g = from; g < ticket.groups.size(); ++g) {
            const int next = size + static_cast<int>(ticket.groups[g].size());
            if (next > spots)
                continue;
            chosen.push_back(g);
            collect(g + 1, next, spots);
            chosen.pop_back();
        }
    };
    for (int spots : ticket.spots)
        collect(0, 0, spots);
    return built;
}

} // namespace tallyhawk
