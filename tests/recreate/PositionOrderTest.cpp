// Identity and sequence values are compared as the integers their text spells: a wrong order would write a
// reseed where the rows already stand there, or start a sequence at a value it handed out.
#include "recreate/DataPositions.h"

#include <gtest/gtest.h>

TEST(CompareIntegerText, OrdersAsIntegersNotAsText) {
    EXPECT_EQ(CompareIntegerText("9", "10"), -1);
    EXPECT_EQ(CompareIntegerText("100", "99"), 1);
    EXPECT_EQ(CompareIntegerText("-2", "-10"), 1);
    EXPECT_EQ(CompareIntegerText("-10", "-2"), -1);
    EXPECT_EQ(CompareIntegerText("-1", "1"), -1);
    EXPECT_EQ(CompareIntegerText("007", "7"), 0);
    EXPECT_EQ(CompareIntegerText("-0", "0"), 0);
    EXPECT_EQ(CompareIntegerText("+5", "5"), 0);
    EXPECT_EQ(CompareIntegerText("99999999999999999999999999999999999999",
                                 "-99999999999999999999999999999999999999"),
              1);
    EXPECT_EQ(CompareIntegerText("-9223372036854775808", "-9223372036854775807"), -1);
}
