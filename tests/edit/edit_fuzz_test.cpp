// A short, fixed-seed run of random editing sessions; bench/fuzz-edits.sh
// runs longer ones with any seed.
#include "edit_fuzz.h"

#include <gtest/gtest.h>

TEST(EditFuzz, RandomSessionsUndoBackToTheLoadedBytes)
{
    for (const std::uint64_t seed : {1u, 2u, 3u}) {
        const EditFuzzResult result = FuzzEditing(seed, 1500);
        EXPECT_EQ(result.failure, "");
        EXPECT_GE(result.steps, 1500);
    }
}
