#include "resources/strings.h"

#include <gtest/gtest.h>

// Two texts given one id would leave one of them unreachable.
TEST(StringTable, EveryIdNamesOneText)
{
    EXPECT_EQ(strings::RepeatedIds(), std::vector<int>{});
}
