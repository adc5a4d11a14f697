// How the host shows a driver's diagnostics.
#include "ConnectString.h"

#include <gtest/gtest.h>

namespace {

TEST(ConnectStringTest, DiagnosticsBecomeOneLine) {
    EXPECT_EQ(OneLine("first\nsecond\r\nthird\n"), "first / second / third");
    EXPECT_EQ(OneLine("only"), "only");
}

} // namespace
