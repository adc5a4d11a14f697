#include "scripting/DefaultsRules.h"

#include <gtest/gtest.h>

namespace {

struct TStripCase {
    const char* pszInput;
    const char* pszExpected;
};

const TStripCase kStripCases[] = {
    {"a/*x*/b", "ab"},
    {"/* a /* b */ c */d", "d"},
    {"/**/", ""},
    {"/*/ x */y", "y"},
    {"a/*/b", "a"},
    {"x /* open", "x "},
    {"CREATE DEFAULT zero AS -- none\r\n0", "CREATE DEFAULT zero AS 0"},
    {"a -- c\n\nb", "a b"},
    {"a -- c\r\n\r\nb", "a \r\nb"},
    {"a -- c\n\rb", "a b"},
    {"a -- c\r\rb", "a b"},
    {"a -- c\r\n\nb", "a \nb"},
    {"a -- x /* y\r\nb */ c", "a b */ c"},
    {"a /* -- x */b", "a b"},
    {"SELECT '--' AS x", "SELECT '"},
    {"SELECT [a/*b] */]", "SELECT [a]"},
    {"5--3", "5"},
    {"a --", "a "},
    {"5-3", "5-3"},
    {"a-/b", "a-/b"},
    {"-", "-"},
    {"/", "/"},
    {"*/", "*/"},
    {"a */ b", "a */ b"},
    {"", ""},
};

} // namespace

TEST(StripSqlCommentsTest, RemovesBlockAndLineCommentsEverywhere) {
    for (const TStripCase& c : kStripCases) {
        CString strResult;
        StripSqlComments(c.pszInput, strResult);
        EXPECT_EQ(strResult, c.pszExpected) << "input: " << c.pszInput;
    }
}

TEST(StripSqlCommentsTest, NullTextLeavesResultEmpty) {
    CString strResult;
    StripSqlComments(nullptr, strResult);
    EXPECT_TRUE(strResult.IsEmpty());
}
