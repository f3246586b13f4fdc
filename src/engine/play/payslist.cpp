#include "payslist.h"

#include "engine/common/numberforms.h"

namespace tallyhawk {

std::string BuildPaysList(int markedCount, int bet, const KenoGame& game)
{
    std::string listing = kPaysListHeader;
    for (int hits = 0; hits <= kMaxCatch; ++hits) {
        if (!game.hasRow(hits))
            continue;
        if (const std::optional<double> pay = game.pay(markedCount, hits)) {
            const std::string catchText = StrForm(hits);
            const std::string padded = "   " + catchText;
            listing += padded.substr(padded.size() - 4);
            listing += std::string(11 - catchText.size(), ' ');
            listing += PlainForm(*pay * bet);
            listing += "\r\n";
        }
        if (hits == markedCount)
            break;
    }
    return listing;
}

} // namespace tallyhawk
