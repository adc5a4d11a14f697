// The snapshot reader: values as a JSON library gives them back, and the problems it reports, in order.
#include "backend/SnapshotReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const std::string kHeader = R"({"format": "sqlscripts-catalog-snapshot", "version": 1, "statements": )";

// A snapshot of one statement answering one row of one value, written as given.
std::string OneValue(const std::string& strValue) {
    return kHeader + R"([{"sql": "S", "columns": [{"name": "v"}], "rows": [[)" + strValue + "]]}]}";
}

// The problem the text (or the source) is refused for; empty when it reads.
std::string ProblemOf(const std::string& strText, const TSnapshotSource& source = {}) {
    try {
        source ? ReadSnapshot(source) : ReadSnapshotText(strText);
    } catch (const TSnapshotProblem& problem) {
        return problem.strText;
    }
    return std::string();
}

struct TValueCase {
    const char* pszJson;
    std::optional<std::string> expected;
};

class CSnapshotValueTest : public testing::TestWithParam<TValueCase> {};

INSTANTIATE_TEST_SUITE_P(
    Values, CSnapshotValueTest,
    testing::Values(TValueCase{R"("a\"b\\c\/d\b\f\n\r\t")", std::string("a\"b\\c/d\b\f\n\r\t")},
                    TValueCase{R"("\u0041\u00e9\u20AC\ud83d\ude00")",
                               std::string("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80")},
                    TValueCase{"\"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\"",
                               std::string("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82")},
                    TValueCase{R"("")", std::string()}, TValueCase{"null", std::nullopt},
                    TValueCase{"true", std::string("1")}, TValueCase{"false", std::string("0")},
                    TValueCase{"0", std::string("0")}, TValueCase{"-0", std::string("0")},
                    TValueCase{"-12", std::string("-12")},
                    TValueCase{"-9223372036854775808", std::string("-9223372036854775808")},
                    TValueCase{"18446744073709551615", std::string("18446744073709551615")},
                    TValueCase{"18446744073709551616", std::string("1.8446744073709552e+19")},
                    TValueCase{"2.50", std::string("2.5")}, TValueCase{"1e2", std::string("100.0")},
                    TValueCase{"-1.0e-3", std::string("-0.001")}));

TEST_P(CSnapshotValueTest, ReadsAsAJsonLibraryPrintsIt) {
    const std::vector<TSnapshotStatement> aStatements = ReadSnapshotText(OneValue(GetParam().pszJson));
    ASSERT_EQ(aStatements.size(), 1u);
    ASSERT_EQ(aStatements[0].aRows.size(), 1u);
    EXPECT_EQ(aStatements[0].aRows[0], TDbRow{GetParam().expected});
}

struct TProblemCase {
    const char* pszName;
    std::string strText;
    const char* pszProblem;
    friend void PrintTo(const TProblemCase& problem, std::ostream* pOut) { *pOut << problem.pszName; }
};

class CSnapshotProblemTest : public testing::TestWithParam<TProblemCase> {};

INSTANTIATE_TEST_SUITE_P(
    Texts, CSnapshotProblemTest,
    testing::Values(
        TProblemCase{"TextAfterTheObject", R"({"version": 1} x)", "not valid JSON at line 1, column 16"},
        TProblemCase{"BrokenUtf8", "[\"a\xC3(\"]", "not valid JSON at line 1, column 4"},
        TProblemCase{"OverlongUtf8", "[\"\xC0\xAF\"]", "not valid JSON at line 1, column 3"},
        TProblemCase{"LoneLowSurrogate", R"(["\udc00"])", "not valid JSON at line 1, column 2"},
        TProblemCase{"ControlCharacter", "[\"a\tb\"]", "not valid JSON at line 1, column 4"},
        TProblemCase{"UnknownEscape", R"(["\x"])", "not valid JSON at line 1, column 2"},
        TProblemCase{"LeadingZero", "[01]", "not valid JSON at line 1, column 2"},
        TProblemCase{"BadLiteral", "[nul]", "not valid JSON at line 1, column 2"},
        TProblemCase{"TrailingComma", "[1,]", "not valid JSON at line 1, column 4"},
        TProblemCase{"HugeNumber", OneValue("1E400"), "number out of range at line 1, column 123"},
        TProblemCase{"DeepNesting", std::string(300, '['), "nested too deeply at line 1, column 257"},
        TProblemCase{"SyntaxBeforeEverythingElse",
                     R"({"statements": [{"sql": 1}], "format": "other", "x": ])",
                     "not valid JSON at line 1, column 54"},
        TProblemCase{"HeaderBeforeStatements",
                     R"({"statements": [{"sql": 1}], "format": "sqlscripts-catalog-snapshot", "version": 2})",
                     "unsupported \"version\" (this program reads version 1)"},
        TProblemCase{"FirstStatementInOrder",
                     kHeader + R"([{"sql": "A", "columns": [], "rows": []}, {"sql": 1}, 5]})",
                     "statement 2: \"sql\" must be a string"},
        TProblemCase{"ColumnsBeforeRows",
                     kHeader + R"([{"sql": "A", "rows": [[{}]], "columns": [{"name": 1}]}]})",
                     "statement 1: \"name\" must be a string"},
        TProblemCase{
            "RowWidthBeforeItsValues",
            kHeader + R"([{"sql": "A", "rows": [[1], [[2]]], "columns": [{"name": "a"}, {"name": "b"}]}]})",
            "statement 1 row 1: must be an array of 2 values"},
        TProblemCase{"ValueOfWrongTypeInALaterRow",
                     kHeader + R"([{"sql": "A", "columns": [{"name": "a"}], "rows": [[1], [[2]]]}]})",
                     "statement 1 row 2: a value must be a string, a number or null"},
        TProblemCase{"ErrorWithoutMessage",
                     kHeader + R"([{"sql": "A", "error": {"sqlstate": "42S02", "native": 208}}]})",
                     "statement 1 error: \"message\" is missing"}),
    [](const testing::TestParamInfo<TProblemCase>& info) { return info.param.pszName; });

TEST_P(CSnapshotProblemTest, NamesTheFirstProblem) {
    EXPECT_EQ(ProblemOf(GetParam().strText), GetParam().pszProblem);
}

TEST(CSnapshotReaderTest, RecordedErrorIgnoresColumnsAndRows) {
    const std::vector<TSnapshotStatement> aStatements = ReadSnapshotText(
        kHeader + R"([{"sql": "A", "rows": 5, "error": {"sqlstate": "42S02", "native": 208, "message": "m"},
                       "columns": [{"name": "a"}]}], "source": {"any": ["thing"]}})");
    ASSERT_EQ(aStatements.size(), 1u);
    ASSERT_TRUE(aStatements[0].error);
    EXPECT_EQ(aStatements[0].error->strSqlState, "42S02");
    EXPECT_EQ(aStatements[0].error->nNativeError, 208);
    EXPECT_EQ(aStatements[0].error->strMessage, "m");
    EXPECT_TRUE(aStatements[0].aColumns.empty());
    EXPECT_TRUE(aStatements[0].aRows.empty());
}

// Longer than the window the reader hands to simdjson at a time: statements across its edges and one
// longer than it; a fault far in is placed by its line; a file cut short while it is read ends early.
TEST(CSnapshotReaderTest, ReadsTextLongerThanItsWindow) {
    const std::string strLong(3 << 20, 'x');
    std::string strText = kHeader + "[\n";
    for (int i = 0; i < 40000; ++i)
        strText += R"({"sql": "S)" + std::to_string(i) +
                   R"(", "columns": [{"name": "v"}], "rows": [["\u00e9"]]},)" + "\n";
    strText += R"({"sql": "L", "columns": [{"name": "v"}], "rows": [[")" + strLong + "\"]]}\n]}";
    std::vector<size_t> aProgress;
    const std::vector<TSnapshotStatement> aStatements =
        ReadSnapshotText(strText, [&](size_t nRead) { aProgress.push_back(nRead); });
    ASSERT_EQ(aStatements.size(), 40001u);
    EXPECT_EQ(aStatements[39999].strSql, "S39999");
    EXPECT_EQ(aStatements[39999].aRows, (std::vector<TDbRow>{{"\xC3\xA9"}}));
    EXPECT_EQ(aStatements[40000].aRows, (std::vector<TDbRow>{{strLong}}));
    EXPECT_TRUE(std::is_sorted(aProgress.begin(), aProgress.end()));
    EXPECT_EQ(aProgress.size(), 40001u);

    const size_t nCut = strText.find(R"({"sql": "S39000")");
    size_t nReads = 0;
    const auto cutShort = [&](char* pBuffer, size_t nSize, size_t nOffset) {
        const size_t nEnd = ++nReads == 1 ? strText.size() : nCut;
        return nOffset < nEnd ? strText.copy(pBuffer, std::min(nSize, nEnd - nOffset), nOffset) : 0;
    };
    EXPECT_EQ(ProblemOf("", cutShort), "not valid JSON at line 39002, column 1");
    EXPECT_EQ(ProblemOf(strText.insert(strText.find(R"({"sql": "S30000")") + 1, "?")),
              "not valid JSON at line 30002, column 2");
}

TEST(CSnapshotReaderTest, ReportsProgressAfterEachStatement) {
    const std::string strText = kHeader + R"([{"sql": "A", "columns": [], "rows": []},)" + "\n" +
                                R"({"sql": "B", "columns": [], "rows": []}]})";
    std::vector<size_t> aProgress;
    ReadSnapshotText(strText, [&](size_t nRead) { aProgress.push_back(nRead); });
    EXPECT_EQ(aProgress, (std::vector<size_t>{strText.find("},") + 1, strText.size() - 2}));
}

} // namespace
