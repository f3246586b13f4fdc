// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/sim/runorigin.h"

#include <gtest/gtest.h>

using namespace tallyhawk;

TEST(RunOrigin, TheCommandThatRepeatsTheRunQuotesTheGameForAShell)
{
    const RunOrigin origin{
        {"O'Sheas", "Say \"$5\"", "Back\\slash `x`"}, {1}, true, 1, 18446744073709551615ull};
    EXPECT_EQ(RepeatCommand(origin),
              "tallyhawk-cli simulate --game \"O'Sheas|Say \\\"\\$5\\\"|Back\\\\slash \\`x\\`\" "
              "--spots 1 --games 1 --seed 18446744073709551615");
}
