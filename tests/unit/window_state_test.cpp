// The key table the window keeps for the swarm.
#include <gtest/gtest.h>

#include <cstring>

#include "../../astr/core/window_state.h"

namespace {

TEST(KeyTable, HoldsKeysDownAndIgnoresCodesBeyondIt)
{
    std::memset(keyDown, 0, sizeof keyDown);
    noteKey(0x48, true);
    EXPECT_EQ(keyDown[0x48], 1);
    noteKey(0x48, false);
    EXPECT_EQ(keyDown[0x48], 0);

    // Posted by anyone: the H key's code plus 256, and the largest codes.
    const uint64_t beyond[] = {0x148, 256, 0xFFFFFFFFu, ~uint64_t{0}};
    for (uint64_t key : beyond)
        noteKey(key, true);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(keyDown[i], 0) << "entry " << i;
}

}  // namespace
