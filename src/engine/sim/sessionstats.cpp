// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "sessionstats.h"

#include "engine/common/numberforms.h"
#include "simulation.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tallyhawk {

namespace {

constexpr char kCrLf[] = "\r\n";
constexpr char kQuestion[] = "Do You Wish to Save or Print These Results?";

double percentOf(double part, std::int32_t whole)
{
    return part / whole * 100;
}

} // namespace

std::int64_t CompletedSessions(std::int64_t gamesPlayed)
{
    return std::clamp<std::int64_t>(gamesPlayed / kSessionGames, 0, kMaxSessions);
}

std::vector<std::int32_t> BuildSessionHistogram(const std::vector<std::int64_t>& sessionLog,
                                                std::int64_t gamesPlayed)
{
    std::vector<std::int32_t> histogram(kHistogramTop + 1, 0);
    const std::int64_t sessions = std::min<std::int64_t>(CompletedSessions(gamesPlayed),
                                                         static_cast<std::int64_t>(sessionLog.size()) - 1);
    for (std::int64_t s = 1; s <= sessions; ++s) {
        const std::int64_t win = sessionLog[s] - sessionLog[s - 1];
        if (win >= 0)
            ++histogram[std::min<std::int64_t>(win, kHistogramTop)];
    }
    return histogram;
}

std::string SessionsCsvText(const std::vector<std::int32_t>& histogram, std::string_view gameName,
                            std::string_view markedText)
{
    std::string text = "Win , Frequency,";
    text.reserve(histogram.size() * 16 + 128);
    text.append(gameName).append(",").append(markedText).append(kCrLf);
    for (std::size_t w = 0; w < histogram.size(); ++w)
        text.append(StrForm(static_cast<double>(w))).append(", ").append(StrForm(histogram[w])).append(kCrLf);
    return text;
}

std::vector<std::int32_t> FoldSessionHistogram(const std::vector<std::int32_t>& histogram)
{
    std::vector<std::int32_t> folded(kFoldedTop + 1, 0);
    for (std::size_t w = 0; w < histogram.size(); ++w)
        folded[std::min<std::size_t>(w, kFoldedTop)] += histogram[w];
    return folded;
}

double SessionFigures::losingPercent() const
{
    return (1 - static_cast<double>(breakevenOrWinning) / sessions) * 100;
}

double SessionFigures::breakevenOrWinningPercent() const
{
    return percentOf(breakevenOrWinning, sessions);
}

double SessionFigures::doubledPercent() const
{
    return percentOf(doubled, sessions);
}

double SessionFigures::fiveFoldPercent() const
{
    return percentOf(fiveFold, sessions);
}

double SessionFigures::losingHalfPercent() const
{
    return percentOf(losingHalf, sessions);
}

SessionFigures ComputeSessionFigures(const std::vector<std::int32_t>& folded)
{
    SessionFigures figures;
    const int top = std::min<int>(kFoldedTop, static_cast<int>(folded.size()) - 1);
    for (int w = 0; w <= top; ++w) {
        const std::int32_t bin = folded[w];
        figures.sessions += bin;
        if (w < 51)
            figures.losingHalf += bin;
        if (w >= 100)
            figures.breakevenOrWinning += bin;
        if (w >= 200)
            figures.doubled += bin;
        // Only a strictly greater count moves the mode: the lowest win takes a tie, and the
        // bin of 500 or more never becomes the mode.
        if (w != kFoldedTop && bin > folded[figures.mode])
            figures.mode = w;
    }
    if (top == kFoldedTop)
        figures.fiveFold = folded[kFoldedTop];
    return figures;
}

std::string MostLikelyOutcome(std::int32_t mode, double fiveFoldPercent)
{
    if (fiveFoldPercent > 50)
        return "Win 400 or More Credits";
    const char* outcome = mode < 100 ? "Lose" : "Win";
    const std::int32_t amount = mode < 100 ? 100 - mode : mode - 100;
    return outcome + StrForm(amount) + " Credits";
}

std::string SessionSummaryText(const SessionFigures& figures, std::string_view gameText,
                               std::string_view markedText, std::int64_t gamesPlayed,
                               std::string_view percentText)
{
    const bool anySessions = figures.sessions != 0;
    const std::size_t equals = percentText.find('=');
    const std::string_view percent =
        equals == std::string_view::npos ? percentText : percentText.substr(equals + 1);

    std::string text = "Session Statistics";
    text.append(kCrLf).append(kCrLf);
    text.append(gameText).append(kCrLf);
    text.append(markedText).append(kCrLf);
    text.append("Total Number of 100-Game Sessions:").append(StrForm(figures.sessions)).append(kCrLf);
    if (anySessions) {
        text.append("Percentage of Losing Sessions: ")
            .append(FormatOneDecimal(figures.losingPercent()))
            .append(" %")
            .append(kCrLf);
        text.append("Percentage of Breakeven or Winning Sessions: ")
            .append(FormatOneDecimal(figures.breakevenOrWinningPercent()))
            .append(" %")
            .append(kCrLf);
    }
    text.append("Most Likely End of Session Outcome: ")
        .append(MostLikelyOutcome(figures.mode, anySessions ? figures.fiveFoldPercent() : 0))
        .append(kCrLf);
    if (anySessions) {
        text.append("You Will Double Your Money (or Better) ")
            .append(FormatOneDecimal(figures.doubledPercent()))
            .append(" % of the Time")
            .append(kCrLf);
        text.append("You Will Multiply Your Money by 5X or more ")
            .append(FormatOneDecimal(figures.fiveFoldPercent()))
            .append(" % of the Time")
            .append(kCrLf);
        text.append("You Will Lose Half of Your Money (or Worse) ")
            .append(FormatOneDecimal(figures.losingHalfPercent()))
            .append(" % of the Time")
            .append(kCrLf);
    }
    text.append("Note: Session statistics are based on the first ten million games (max) in the simulation.")
        .append(kCrLf)
        .append(kCrLf);
    text.append("Total Number of Games Played:")
        .append(StrForm(static_cast<double>(gamesPlayed)))
        .append(kCrLf);
    text.append("Overall Percentage Return: ").append(percent).append(" %").append(kCrLf).append(kCrLf);
    text.append(kQuestion);
    return text;
}

std::string StatsFileText(std::string_view summary)
{
    const std::size_t question = std::strlen(kQuestion);
    std::string text(summary.substr(0, summary.size() > question ? summary.size() - question : 0));
    return text.append(kCrLf);
}

bool WriteReportFile(const std::string& path, std::string_view text, std::string* error)
{
    auto fail = [&](const std::string& reason) {
        if (error)
            *error = "Cannot write " + path + ": " + reason;
        return false;
    };
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return fail(std::strerror(errno));
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int writeError = errno;
    if (std::fclose(file) != 0 || !written) {
        const std::string reason = std::strerror(written ? errno : writeError);
        std::remove(temporary.c_str());
        return fail(reason);
    }
    std::error_code code;
    std::filesystem::rename(temporary, path, code);
    if (code) {
        std::remove(temporary.c_str());
        return fail(code.message());
    }
    return true;
}

} // namespace tallyhawk
