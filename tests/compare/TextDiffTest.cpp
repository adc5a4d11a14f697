// The unified diff under a changed definition: hunks with their context, changes close together in one.
#include "compare/TextDiff.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing::ElementsAre;
using testing::IsEmpty;

TEST(TextDiff, OneChangedLineWithItsContext) {
    EXPECT_THAT(UnifiedDiff("CREATE VIEW v\r\nAS\r\nSELECT a\r\nFROM t\r\n",
                            "CREATE VIEW v\r\nAS\r\nSELECT b\r\nFROM t\r\n", 1),
                ElementsAre("@@ -2,3 +2,3 @@", " AS", "-SELECT a", "+SELECT b", " FROM t"));
}

TEST(TextDiff, ChangesFarApartMakeTwoHunksAndNearOnesOne) {
    const std::string strOld = "1\n2\n3\n4\n5\n6\n7\n8\n9";
    EXPECT_THAT(UnifiedDiff(strOld, "1\nzwei\n3\n4\n5\n6\n7\nacht\n9", 1),
                ElementsAre("@@ -1,3 +1,3 @@", " 1", "-2", "+zwei", " 3", "@@ -7,3 +7,3 @@", " 7", "-8",
                            "+acht", " 9"));
    EXPECT_THAT(UnifiedDiff(strOld, "1\n2\n3\nvier\n5\nsechs\n7\n8\n9", 1),
                ElementsAre("@@ -3,5 +3,5 @@", " 3", "-4", "+vier", " 5", "-6", "+sechs", " 7"));
}

TEST(TextDiff, LinesAddedAtTheEndAndRemovedAtTheStart) {
    EXPECT_THAT(UnifiedDiff("a\nb", "a\nb\nc\nd"), ElementsAre("@@ -1,2 +1,4 @@", " a", " b", "+c", "+d"));
    EXPECT_THAT(UnifiedDiff("x\ny\na", "a"), ElementsAre("@@ -1,3 +1,1 @@", "-x", "-y", " a"));
    EXPECT_THAT(UnifiedDiff("", "a"), ElementsAre("@@ -0,0 +1,1 @@", "+a"));
}

// Of the edits that make one text the other, the shortest: a line moved is removed and added once.
TEST(TextDiff, TheShortestEditIsShown) {
    EXPECT_THAT(UnifiedDiff("a\nb\nc\nd", "b\nc\nd\na", 0),
                ElementsAre("@@ -1,1 +0,0 @@", "-a", "@@ -4,0 +4,1 @@", "+a"));
}

TEST(TextDiff, SameLinesWhateverTheirEndsShowNothing) {
    EXPECT_THAT(UnifiedDiff("a\r\nb\r\n", "a\nb\n"), IsEmpty());
}

} // namespace
