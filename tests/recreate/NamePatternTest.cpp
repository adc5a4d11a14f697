// Names as the database compares them: which collations tell case apart, and the * patterns that pick the
// objects and tables an export writes.
#include "recreate/NamePattern.h"

#include <gtest/gtest.h>

namespace {

TEST(NamePattern, CaseSensitiveCollationsAreTheCsAndBinaryOnes) {
    const std::pair<const char*, bool> aCases[] = {
        {"SQL_Latin1_General_CP1_CI_AS", false},
        {"Latin1_General_CS_AS", true},
        {"latin1_general_cs_as", true},
        {"Latin1_General_100_BIN2", true},
        {"Latin1_General_BIN", true},
        {"Japanese_Bushu_Kakusu_140_CS_AS_KS_WS", true},
        {"Latin1_General_100_CI_AS_SC_UTF8", false},
        {"Latin1_General_CI_AS_KS_WS", false},
        // Words only: CS, BIN and BIN2 inside a longer word say nothing.
        {"Czech_CI_AS", false},
        {"CSX_CI_AS", false},
        {"Latin1_General_BINARY_CI_AS", false},
        {"", false},
    };
    for (const auto& [pszCollation, bSensitive] : aCases)
        EXPECT_EQ(IsCaseSensitiveCollation(pszCollation), bSensitive) << pszCollation;
}

struct TPatternCase {
    const char* pszName;
    const char* pszPattern;
    bool bInsensitive; // matches under a case-insensitive collation
    bool bSensitive;   // matches under a case-sensitive one
};

TEST(NamePattern, AStarStandsForAnyRunOfCharactersAndTheWholeNameMustMatch) {
    const TPatternCase aCases[] = {
        {"Orders", "Orders", true, true},
        {"Orders", "orders", true, false},
        {"ORDERS", "Ord*", true, false},
        {"Orders", "Ord*", true, true},
        {"Orders", "*ers", true, true},
        {"Orders", "*", true, true},
        {"Orders", "O*d*s", true, true},
        {"Orders", "**Orders**", true, true},
        {"Orders", "Order", false, false},
        {"Orders", "rders", false, false},
        {"OrderLines", "Order*s", true, true},
        {"OrderLinesX", "Order*s", false, false},
        // The last star backtracks past a partial match.
        {"abab", "*ab", true, true},
        {"aXbXbc", "a*b*c", true, true},
        {"aXbXbd", "a*b*c", false, false},
        // A star takes dots and spaces too; other characters stand for themselves.
        {"Order.Lines", "Order*", true, true},
        {"Order Lines", "Order*Lines", true, true},
        {"Order?", "Order?", true, true},
        {"OrderX", "Order?", false, false},
        {"Order_1", "Order%1", false, false},
        // Case folds beyond ASCII.
        {"Übersicht", "übersicht", true, false},
        {"ÜBERSICHT", "Über*", true, false},
        {"Ökonomie", "ö*", true, false},
    };
    const CNameMatcher insensitive(false), sensitive(true);
    for (const TPatternCase& test : aCases) {
        EXPECT_EQ(insensitive.Matches(test.pszName, test.pszPattern), test.bInsensitive)
            << test.pszName << " ~ " << test.pszPattern << " (case-insensitive)";
        EXPECT_EQ(sensitive.Matches(test.pszName, test.pszPattern), test.bSensitive)
            << test.pszName << " ~ " << test.pszPattern << " (case-sensitive)";
    }
}

TEST(NamePattern, SameNamesFollowTheCollationsCaseRule) {
    const CNameMatcher insensitive(false), sensitive(true);
    EXPECT_TRUE(insensitive.Same("dbo", "DBO"));
    EXPECT_TRUE(insensitive.Same("Straße", "STRAßE"));
    EXPECT_FALSE(insensitive.Same("Orders", "Order"));
    EXPECT_FALSE(insensitive.Same("Ord*", "Orders"));
    EXPECT_FALSE(sensitive.Same("dbo", "DBO"));
    EXPECT_TRUE(sensitive.Same("Orders", "Orders"));
}

struct TQualifiedCase {
    const char* pszSchema;
    const char* pszName;
    const char* pszPattern;
    bool bMatches;
};

TEST(NamePattern, AQualifiedPatternSplitsAtItsFirstDot) {
    const TQualifiedCase aCases[] = {
        {"dbo", "Orders", "dbo.Orders", true},
        {"Sales", "Orders", "dbo.Orders", false},
        // No dot: a name in any schema.
        {"Sales", "Orders", "Orders", true},
        {"Sales", "Orders", "Ord*", true},
        {"Sales", "Orders", "sales.*", true},
        {"Sales", "Orders", "*.orders", true},
        {"Sales", "Orders", "S*.O*", true},
        {"Sales", "Orders", "*.Lines", false},
        // The rest of the pattern after the first dot is the name, dots and all.
        {"dbo", "Order.Lines", "dbo.Order.Lines", true},
        {"dbo", "Order.Lines", "dbo.Order.*", true},
        {"dbo", "Order.Lines", "dbo.Order", false},
        // A dot alone in a name without a schema part is matched by a star.
        {"dbo", "Order.Lines", "Order*", true},
        {"dbo", "Orders", ".Orders", false},
        {"dbo", "Orders", "dbo.", false},
    };
    const CNameMatcher matcher(false);
    for (const TQualifiedCase& test : aCases)
        EXPECT_EQ(matcher.MatchesQualified(test.pszSchema, test.pszName, test.pszPattern), test.bMatches)
            << test.pszSchema << "." << test.pszName << " ~ " << test.pszPattern;
}

TEST(NamePattern, ACaseSensitiveQualifiedPatternComparesBothPartsExactly) {
    const CNameMatcher matcher(true);
    EXPECT_TRUE(matcher.MatchesQualified("Sales", "Orders", "Sales.Orders"));
    EXPECT_FALSE(matcher.MatchesQualified("Sales", "Orders", "sales.Orders"));
    EXPECT_FALSE(matcher.MatchesQualified("Sales", "Orders", "Sales.orders"));
    EXPECT_TRUE(matcher.MatchesQualified("Sales", "Orders", "S*.*s"));
}

} // namespace
