// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/sim/gamecount.h"

#include <gtest/gtest.h>

using namespace tallyhawk;

namespace {

constexpr auto kAccepted = GameCountAnswerKind::Accepted;
constexpr auto kCancelled = GameCountAnswerKind::Cancelled;
constexpr auto kRefused = GameCountAnswerKind::Refused;

const std::string kTooMany = "Do not enter a number greater than one billion.";
const std::string kNotWhole =
    "Enter the number of games as a whole number from 1 to 1000000000, without letters or separators.";

} // namespace

TEST(GameCount, OnlyACleanWholeNumberFromOneToABillionRuns)
{
    const struct
    {
        const char* answer;
        GameCountAnswerKind kind;
        std::int64_t games;
        std::string message;
    } cases[] = {
        {"1", kAccepted, 1, ""},
        {" 250000 ", kAccepted, 250000, ""},
        {"1e6", kAccepted, 1000000, ""},
        {"1000000000", kAccepted, 1000000000, ""},
        {"", kCancelled, 0, kNotWhole},
        {"   ", kCancelled, 0, kNotWhole},
        {"0", kCancelled, 0, kNotWhole},
        {"-5", kCancelled, 0, kNotWhole},
        {"abc", kCancelled, 0, kNotWhole},
        {"1000000001", kRefused, 0, kTooMany},
        {"2e9 games", kRefused, 0, kTooMany}, // too many is said before the letters
        {"12abc", kRefused, 0, kNotWhole},
        {"1,000", kRefused, 0, kNotWhole},
        {"0.4", kRefused, 0, kNotWhole},
        {"100.5", kRefused, 0, kNotWhole},
    };
    for (const auto& c : cases) {
        const GameCountAnswer answer = ParseGameCount(c.answer);
        EXPECT_EQ(answer.kind, c.kind) << '"' << c.answer << '"';
        EXPECT_EQ(answer.games, c.games) << '"' << c.answer << '"';
        EXPECT_EQ(answer.message, c.message) << '"' << c.answer << '"';
    }
}
