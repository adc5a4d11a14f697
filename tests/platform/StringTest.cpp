// CString as the module uses it, and the messages exceptions hand out.
#include "platform/PlatformTestSupport.h"

#include "platform/Exceptions.h"
#include "platform/String.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Repeat(const std::string& strUnit, size_t nTimes) {
    std::string str;
    for (size_t i = 0; i < nTimes; ++i)
        str += strUnit;
    return str;
}

TEST(CStringTest, FormatFollowsPrintfAndTakesCStringArguments) {
    CString strName("Totals");
    CString str;
    str.Format("[%s].[%s](%d)%%", CString("dbo"), strName, 50);
    EXPECT_EQ(str.Str(), "[dbo].[Totals](50)%");
    str.AppendFormat("%s", std::string(300, 'x').c_str());
    EXPECT_EQ(str.GetLength(), 19 + 300);
}

TEST(CStringTest, FormatOfLongOutput) {
    const CString strLong(std::string(5000, 'a') + "Итог");
    CString str("old text");
    str.Format("<%s|%5d|%-3s>", strLong, 42, CString("ж"));
    EXPECT_EQ(str.Str(), "<" + std::string(5000, 'a') + "Итог|   42|ж >");
}

TEST(CStringTest, FormatMayTakeTheStringItself) {
    CString str("CREATE VIEW v AS SELECT 1");
    str.Format("%s\r\nGO\r\n", str);
    EXPECT_EQ(str.Str(), "CREATE VIEW v AS SELECT 1\r\nGO\r\n");

    CString strLong(std::string(1000, 'x'));
    strLong.AppendFormat("|%s|%s", strLong, strLong);
    EXPECT_TRUE(strLong.Str() ==
                std::string(1000, 'x') + "|" + std::string(1000, 'x') + "|" + std::string(1000, 'x'));
}

TEST(CStringTest, ReplaceAndRemove) {
    struct TCase {
        const char* pszText;
        const char* pszOld;
        const char* pszNew;
        const char* pszResult;
        int nCount;
    };
    const TCase aCases[] = {
        {"[a]].[b]", "]", "]]", "[a]]]].[b]]", 3},
        {"O'Brien's", "'", "''", "O''Brien''s", 2},
        {"aaa", "aa", "b", "ba", 1},
        {"line\r\nline\r\n", "\r\n", "\n", "line\nline\n", 2},
        {"Таблица", "блиц", "", "Таа", 1},
        {"none", "x", "y", "none", 0},
        {"keep", "", "y", "keep", 0},
    };
    for (const TCase& test : aCases) {
        CString str(test.pszText);
        EXPECT_EQ(str.Replace(test.pszOld, test.pszNew), test.nCount) << test.pszText;
        EXPECT_EQ(str.Str(), test.pszResult) << test.pszText;
    }
    CString str("a\tb\tc");
    EXPECT_EQ(str.Replace('\t', ' '), 2);
    EXPECT_EQ(str.Str(), "a b c");
    EXPECT_EQ(str.Remove(' '), 2);
    EXPECT_EQ(str.Str(), "abc");
    EXPECT_EQ(str.Remove('x'), 0);
}

TEST(CStringTest, Trim) {
    CString str(" \t\r\nSELECT 1\r\n \t");
    EXPECT_EQ(CString(str).TrimLeft().Str(), "SELECT 1\r\n \t");
    EXPECT_EQ(CString(str).TrimRight().Str(), " \t\r\nSELECT 1");
    EXPECT_EQ(str.Trim().Str(), "SELECT 1");
    EXPECT_EQ(CString(" \r\n ").Trim().Str(), "");
    EXPECT_EQ(CString("[[name]]").Trim("[]").Str(), "name");
    EXPECT_EQ(CString("xxnamexx").TrimRight("x").Str(), "xxname");
}

TEST(CStringTest, LeftMidRightClampToTheText) {
    const CString str("dbo.Totals");
    EXPECT_EQ(str.Left(3).Str(), "dbo");
    EXPECT_EQ(str.Left(50).Str(), "dbo.Totals");
    EXPECT_EQ(str.Left(-1).Str(), "");
    EXPECT_EQ(str.Mid(4).Str(), "Totals");
    EXPECT_EQ(str.Mid(4, 3).Str(), "Tot");
    EXPECT_EQ(str.Mid(8, 10).Str(), "ls");
    EXPECT_EQ(str.Mid(20).Str(), "");
    EXPECT_EQ(str.Right(6).Str(), "Totals");
    EXPECT_EQ(str.Find('.'), 3);
    EXPECT_EQ(str.Find("Tot"), 4);
    EXPECT_EQ(str.Find("x"), -1);
    EXPECT_EQ(CString("a/b/c").ReverseFind('/'), 3);
    EXPECT_EQ(CString("NVARCHAR").CompareNoCase("nvarchar"), 0);
    EXPECT_LT(CString("int").CompareNoCase("INTEGER"), 0);
}

// A message cut for a buffer of 256 keeps at most 255 characters and never half of one.
TEST(CExceptionTest, ErrorMessageIsCutWithoutBreakingUtf8) {
    struct TCase {
        std::string strMessage;
        std::string strCharsCut; // GetErrorMessage(CString&, 256)
        size_t nBufferBytes;     // GetErrorMessage(char[256], 256)
    };
    const TCase aCases[] = {
        {std::string(300, 'e'), std::string(255, 'e'), 255},   {Repeat("ж", 300), Repeat("ж", 255), 254},
        {Repeat("数", 300), Repeat("数", 255), 255},           {Repeat("😀", 300), Repeat("😀", 255), 252},
        {"a" + Repeat("ж", 300), "a" + Repeat("ж", 254), 255}, {"short", "short", 5},
    };
    for (const TCase& test : aCases) {
        const std::unique_ptr<CDBException, TExceptionDeleter> e(
            new CDBException("HY000", 0, test.strMessage));
        CString str;
        EXPECT_TRUE(e->GetErrorMessage(str, 256));
        EXPECT_EQ(str.Str(), test.strCharsCut);

        char szBuffer[256];
        std::fill(std::begin(szBuffer), std::end(szBuffer), 'X');
        UINT nHelp = 7;
        EXPECT_TRUE(e->GetErrorMessage(szBuffer, 256, &nHelp));
        EXPECT_EQ(nHelp, 0u);
        EXPECT_EQ(std::string(szBuffer), test.strMessage.substr(0, test.nBufferBytes));
    }
}

TEST(CExceptionTest, DBExceptionJoinsItsRecords) {
    const CDBException e({{"42S02", 208, "Invalid object name 'x'."}, {"42000", 8180, "Not prepared."}});
    EXPECT_EQ(e.GetSqlState(), "42S02");
    EXPECT_EQ(e.GetNativeError(), 208);
    EXPECT_EQ(e.GetErrorText().Str(), "Invalid object name 'x'.\nNot prepared.");
    EXPECT_EQ(e.m_strStateNativeOrigin.Str(),
              "State:42S02,Native:208,Origin:\nState:42000,Native:8180,Origin:\n");
    const CDBException empty(std::vector<TDiagRecord>{});
    EXPECT_EQ(empty.GetSqlState(), "");
    EXPECT_EQ(empty.GetNativeError(), 0);
}

TEST(CExceptionTest, FileExceptionNamesTheFileAndTheSystemError) {
    const CFileException e(CFileException::fileNotFound, ENOENT, "/out/Tables.sql");
    EXPECT_EQ(e.GetErrorText().Str(), "/out/Tables.sql: No such file or directory");
}

} // namespace
