// The one T-SQL lexer: where comments, strings and delimited names end, and the two ways a line comment ends
// (a definition's lines may end in CR alone; a script's lines end in LF).
#include "platform/SqlLexer.h"

#include <gtest/gtest.h>

#include <string>

TEST(SqlLexer, SkipsToTheEndOfAQuotedTextOrComment) {
    char chClose = ']';
    EXPECT_EQ(SkipQuoted("ab]]c] rest", 0, chClose), 6u);
    EXPECT_EQ(chClose, 0);
    chClose = '\'';
    EXPECT_EQ(SkipQuoted("ab''", 0, chClose), 4u);
    EXPECT_EQ(chClose, '\'');
    int nDepth = 2;
    EXPECT_EQ(SkipBlockComment("a */ b */ c", 0, nDepth), 9u);
    EXPECT_EQ(nDepth, 0);
    nDepth = 1;
    EXPECT_EQ(SkipBlockComment("a /* b */ c *", 0, nDepth), 13u);
    EXPECT_EQ(nDepth, 1);
    nDepth = 1;
    EXPECT_EQ(SkipBlockComment("/*/ x */ y */z", 0, nDepth), 13u);
    EXPECT_EQ(nDepth, 0);
    EXPECT_EQ(ClosingQuote('['), ']');
    EXPECT_EQ(ClosingQuote('"'), '"');
    EXPECT_EQ(ClosingQuote('('), 0);
}

TEST(SqlLexer, ALineCommentEndsAtCrOrLfInADefinitionAndAtLfInAScript) {
    const struct {
        const char* pszText;
        size_t nCrOrLf;
        size_t nLf;
    } aCases[] = {
        {"-- a\nb", 4, 4}, {"-- a\r\nb", 4, 5}, {"-- a\r'b'\nc", 4, 8}, {"-- a", 4, 4}, {"--", 2, 2},
    };
    for (const auto& c : aCases) {
        EXPECT_EQ(LineCommentEnd(c.pszText, 2, eSqlLineEnd::CrOrLf), c.nCrOrLf) << c.pszText;
        EXPECT_EQ(LineCommentEnd(c.pszText, 2, eSqlLineEnd::Lf), c.nLf) << c.pszText;
    }
}

TEST(SqlLexer, ReadsAQuotedTextWithItsDoubledQuotesSingle) {
    const struct {
        const char* pszText;
        const char* pszRead;
        size_t nAfter;
    } aCases[] = {
        {"[a]]b] x", "a]b", 6}, {"\"a\"\"b\" x", "a\"b", 6}, {"'it''s' x", "it's", 7},  {"[]", "", 2},
        {"[open", "open", 5},   {"'open''", "open'", 7},     {"[a'b\"c]", "a'b\"c", 7}, {"[", "", 1},
    };
    for (const auto& c : aCases) {
        size_t nAt = 0;
        EXPECT_EQ(ReadQuoted(c.pszText, nAt), c.pszRead) << c.pszText;
        EXPECT_EQ(nAt, c.nAfter) << c.pszText;
    }
}
