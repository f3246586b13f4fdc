#include "payslist.h"

#include "engine/common/numberforms.h"

namespace tallyhawk {

std::string BuildPaysList(int markedCount, int bet, const KenoGame& game)
{
    std::string listing = kPaysListHeader;
    for (int hits = 0; hits <= kMaxMarks; ++hits) {
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

int PaysListLineOfCatch(std::string_view listing, int catchCount)
{
    int line = 0;
    for (std::size_t start = 0; start < listing.size(); ++line) {
        std::size_t end = listing.find("\r\n", start);
        if (end == std::string_view::npos)
            end = listing.size();
        // A pay line holds the catch in its first four columns: "   2", "  10".
        const std::string_view text = listing.substr(start, end - start);
        if (line > 0 && text.size() > 4) {
            const std::optional<double> hits = ParseNumber(text.substr(0, 4));
            if (!hits)
                return -1;
            if (*hits == catchCount)
                return line;
        }
        start = end + 2;
    }
    return -1;
}

} // namespace tallyhawk
