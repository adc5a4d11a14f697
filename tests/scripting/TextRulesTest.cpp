// The text rules the generators apply to catalog values: type names with their sizes, and definitions
// with their comments taken out, and the names a definition uses.
#include "scripting/ColumnTypes.h"
#include "scripting/DefaultsRules.h"
#include "scripting/SqlText.h"

#include <gtest/gtest.h>

TEST(FormatSqlTypeTest, WritesLengthPrecisionOrScaleByTypeFamily) {
    const struct {
        const char* pszName;
        int nMaxLength, nPrecision, nScale;
        BOOL bUserDefined;
        const char* pszExpected;
    } aCases[] = {
        {"varchar", 50, 0, 0, FALSE, "[varchar](50)"},
        {"varchar", -1, 0, 0, FALSE, "[varchar](max)"},
        {"char", 10, 0, 0, FALSE, "[char](10)"},
        {"nvarchar", 100, 0, 0, FALSE, "[nvarchar](50)"},
        {"nchar", 20, 0, 0, FALSE, "[nchar](10)"},
        {"nvarchar", -1, 0, 0, FALSE, "[nvarchar](max)"},
        {"nchar", 3, 0, 0, FALSE, "[nchar](1)"},
        {"varbinary", -1, 0, 0, FALSE, "[varbinary](max)"},
        {"binary", 16, 0, 0, FALSE, "[binary](16)"},
        {"decimal", 17, 18, 2, FALSE, "[decimal](18, 2)"},
        {"numeric", 9, 10, 0, FALSE, "[numeric](10, 0)"},
        {"float", 8, 53, 0, FALSE, "[float](53)"},
        {"real", 4, 24, 0, FALSE, "[real]"},
        {"time", 5, 16, 7, FALSE, "[time](7)"},
        {"datetimeoffset", 10, 34, 7, FALSE, "[datetimeoffset](7)"},
        {"datetime2", 8, 27, 7, FALSE, "[datetime2]"},
        {"int", 4, 10, 0, FALSE, "[int]"},
        {"bigint", 8, 19, 0, FALSE, "[bigint]"},
        {"bit", 1, 1, 0, FALSE, "[bit]"},
        {"uniqueidentifier", 16, 0, 0, FALSE, "[uniqueidentifier]"},
        {"xml", -1, 0, 0, FALSE, "[xml]"},
        {"text", 16, 0, 0, FALSE, "[text]"},
        {"ntext", 16, 0, 0, FALSE, "[ntext]"},
        {"image", 16, 0, 0, FALSE, "[image]"},
        {"sysname", 256, 0, 0, FALSE, "[sysname]"},
        {"VARCHAR", 30, 0, 0, FALSE, "[VARCHAR](30)"},
        {"NVarChar", -1, 0, 0, FALSE, "[NVarChar](max)"},
        {"Decimal", 9, 12, 4, FALSE, "[Decimal](12, 4)"},
        {"varchar", 20, 0, 0, TRUE, "[varchar]"},
        {"phone", 20, 0, 0, TRUE, "[phone]"},
        {"varchar2", 20, 0, 0, FALSE, "[varchar2]"},
        {"binary ", 16, 0, 0, FALSE, "[binary ]"},
        {"dec", 9, 10, 2, FALSE, "[dec]"},
    };
    for (const auto& c : aCases) {
        TSqlTypeInfo info;
        info.strTypeName = c.pszName;
        info.nMaxLength = c.nMaxLength;
        info.nPrecision = c.nPrecision;
        info.nScale = c.nScale;
        info.bUserDefined = c.bUserDefined;
        EXPECT_EQ(FormatSqlType(info), c.pszExpected) << c.pszName << " " << c.nMaxLength;
    }
}

TEST(StripSqlCommentsTest, RemovesBlockAndLineCommentsEverywhere) {
    const struct {
        const char* pszInput;
        const char* pszExpected;
    } aCases[] = {
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
    for (const auto& c : aCases) {
        CString strResult;
        StripSqlComments(c.pszInput, strResult);
        EXPECT_EQ(strResult, c.pszExpected) << "input: " << c.pszInput;
    }
    CString strResult;
    StripSqlComments(nullptr, strResult);
    EXPECT_TRUE(strResult.IsEmpty());
}

// The names a definition uses, as the order of --recreate and the module's dependency order find them: none
// from comments or strings; a line comment of a definition ends at CR alone too.
TEST(FindSqlNamesTest, ReadsNamesOutsideCommentsAndStrings) {
    const struct {
        const char* pszText;
        const char* pszNames;
    } aCases[] = {
        {"SELECT a FROM dbo.T", "SELECT a FROM dbo.T"},
        {"SELECT 'x.y' FROM T -- u.v\nJOIN W", "SELECT FROM T JOIN W"},
        {"/* a /* b */ c */ d", "d"},
        {"x -- c\ry", "x y"},
        {"x -- c\r\n\r\ny", "x y"},
        {"N'a.b' M", "M"},
        {"[a]]b].\"c\"\"d\"", "a]b.c\"d"},
        {"srv.db..T", "T"},
        {"s . t", "s.t"},
        {"1.5e3 x1", "x1"},
        {"'open", ""},
        {"[open", "open"},
    };
    for (const auto& c : aCases) {
        std::string strNames;
        for (const TSqlName& name : FindSqlNames(c.pszText))
            strNames += (strNames.empty() ? "" : " ") +
                        (name.strSchema.IsEmpty() ? std::string() : name.strSchema.Str() + ".") +
                        name.strName.Str();
        EXPECT_EQ(strNames, c.pszNames) << c.pszText;
    }
}
