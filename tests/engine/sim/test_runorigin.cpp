#include "engine/sim/runorigin.h"

#include <gtest/gtest.h>

using namespace tallyhawk;

TEST(RunOrigin, NamesTheSeedThePicksAndTheCommandThatRepeatsTheRunQuotedForAShell)
{
    RunOrigin origin{{"NEVADA - Las Vegas", "Rampart", "Fire Power Keno"},
                     {3, 17, 42},
                     false,
                     30000,
                     18446744073709551615ull};
    EXPECT_EQ(RunOriginLines(origin),
              "Seed of This Run: 18446744073709551615 (the marked numbers 3, 17, 42 every game)\r\n"
              "To Repeat It: tallyhawk-cli simulate --game \"NEVADA - Las Vegas|Rampart|Fire Power Keno\" "
              "--ticket 3,17,42 --games 30000 --seed 18446744073709551615\r\n");
    origin = {{"O'Sheas", "Say \"$5\"", "Back\\slash `x`"}, {1}, true, 1, 0};
    EXPECT_EQ(PicksText(origin), "1 numbers picked at random every game");
    EXPECT_EQ(RepeatCommand(origin), "tallyhawk-cli simulate --game \"O'Sheas|Say \\\"\\$5\\\"|Back\\\\slash "
                                     "\\`x\\`\" --spots 1 --games 1 --seed 0");
}
