#pragma once
// The checks that a game's pays and bonus values pass before the catalogue locks them.

#include "engine/common/paytypes.h"

#include <optional>
#include <string>
#include <vector>

namespace tallyhawk {

// The placeholder key of a fresh copy: a location or casino of "New", in any letter case.
bool IsPlaceholderKey(const std::string& location, const std::string& casino);

// The first pay for more catches than numbers marked (a non-zero PickN in a row whose own
// Catch is above N), as the message that refuses it:
// "You must remove the entry made for Pick 3 and Catch 5 before proceeding."
// Rows are checked in the order given, columns from Pick1 to Pick10.
[[nodiscard]] std::optional<std::string> CheckPays(const std::vector<PayScheduleRow>& rows);

enum class BonusVerdict
{
    Accept,
    Refuse,
    Remind
};
struct BonusCheck
{
    BonusVerdict verdict = BonusVerdict::Accept;
    std::string message; // the refusal, or the reminder that does not stop the lock
};

// The bonus checks on the bonus row's values (each the leading number of its text, 0 when
// there is none) and the game's name.
[[nodiscard]] BonusCheck CheckBonus(double bonusBall, double egg1, double egg2, double egg3,
                                    const std::string& gameName);

} // namespace tallyhawk
