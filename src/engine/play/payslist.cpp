#include "payslist.h"

#include "engine/common/numberforms.h"

namespace tallyhawk {

std::string BuildPaysList(int markedCount, int bet, const std::vector<PayScheduleRow>& rows)
{
    std::string listing = kPaysListHeader;
    for (const PayScheduleRow& row : rows) {
        if (!row.Catch)
            continue; // a row without a catch pays nothing and ends nothing
        const std::string catchText = StrForm(*row.Catch);
        if (markedCount >= 1 && markedCount <= kMaxMarked && row.Pick[markedCount - 1]) {
            const std::string padded = "   " + catchText;
            listing += padded.substr(padded.size() - 4);
            listing += std::string(catchText.size() < 11 ? 11 - catchText.size() : 0, ' ');
            listing += PlainForm(*row.Pick[markedCount - 1] * bet);
            listing += "\r\n";
        }
        if (*row.Catch == markedCount)
            break;
    }
    return listing;
}

} // namespace tallyhawk
