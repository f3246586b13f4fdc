#include "payvalidation.h"

#include "engine/common/numberforms.h"

#include <algorithm>
#include <string_view>

namespace tallyhawk {

namespace {

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

bool containsIgnoringCase(std::string_view text, std::string_view part)
{
    const auto found = std::search(text.begin(), text.end(), part.begin(), part.end(),
                                   [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
    return found != text.end() || part.empty();
}

bool beginsIgnoringCase(std::string_view text, std::string_view start)
{
    return text.size() >= start.size() && equalIgnoringCase(text.substr(0, start.size()), start);
}

} // namespace

bool IsPlaceholderKey(const std::string& location, const std::string& casino)
{
    return equalIgnoringCase(location, "New") || equalIgnoringCase(casino, "New");
}

std::optional<std::string> CheckPays(const std::vector<PayScheduleRow>& rows)
{
    // Each row is judged by its own Catch, so a game that lacks a row or stores its rows in
    // another order gets the message for the row that really holds the pay.
    for (const PayScheduleRow& row : rows) {
        if (!row.Catch)
            continue;
        const int caught = *row.Catch;
        for (int n = 1; n <= kMaxMarked; ++n) {
            const double pay = row.Pick[n - 1].value_or(0); // Null counts as no pay
            if (pay != 0 && caught > n)
                return "You must remove the entry made for Pick" + StrForm(n) + " and Catch" +
                       StrForm(caught) + " before proceeding.";
        }
    }
    return std::nullopt;
}

BonusCheck CheckBonus(double bonusBall, double egg1, double egg2, double egg3, const std::string& gameName)
{
    // Three eggs of factor 1 sum to 3: any egg above 1 makes the sum greater.
    const double eggs = egg1 + egg2 + egg3;
    if (eggs > 3) {
        if (bonusBall > 0)
            return {BonusVerdict::Refuse, "You cannot have both a Bonus Ball and Egg Bonus in the same game. "
                                          "Set Bonus Ball = 0 OR set all Egg Bonuses = 1 ."};
        if (!containsIgnoringCase(gameName, "Caveman"))
            return {BonusVerdict::Refuse,
                    "You must select a 'Caveman' game if any Egg Bonus is greater than ' 1 '."};
    }
    if (beginsIgnoringCase(gameName, "Keno") && eggs != 3 && bonusBall != 0)
        return {BonusVerdict::Remind, "Reminder: If you don't want a bonus to be applied, the values\n"
                                      "in the bonus row should read  0   0   1   1   1   1"};
    return {};
}

} // namespace tallyhawk
