// Catalog snapshots: files that replay (snapshots/replay: each <case>.json beside the answers expected of
// it), files refused (snapshots/bad: each <case>.json beside its <case>.message), and recording.
#include "platform/PlatformTestSupport.h"

#include "backend/Snapshot.h"
#include "backend/SnapshotReader.h"

namespace {

using json = nlohmann::json;
namespace fs = std::filesystem;

// The cases of a folder: the paths of its files with that ending, less the ending.
std::vector<std::string> Cases(const std::string& strFolder, const std::string& strEnding) {
    std::vector<std::string> aCases;
    for (const auto& entry : fs::directory_iterator(FixtureFile(strFolder)))
        if (entry.path().string().ends_with(strEnding))
            aCases.push_back(
                entry.path().string().substr(0, entry.path().string().size() - strEnding.size()));
    return aCases;
}

// {file} in an expected answer stands for the snapshot's path.
TEST(CSnapshotFileTest, FilesReplayAsExpectedOrAreRefusedNamingTheFirstProblem) {
    for (const std::string& strCase : Cases("snapshots/replay", ".expected.json")) {
        SCOPED_TRACE(strCase);
        CDatabase db;
        db.OpenEx(("SNAPSHOT=" + strCase + ".json").c_str(), CDatabase::noOdbcDialog);
        std::string strExpected = ReadWholeFile(strCase + ".expected.json");
        for (size_t nAt; (nAt = strExpected.find("{file}")) != std::string::npos;)
            strExpected.replace(nAt, 6, strCase + ".json");
        for (const json& expected : json::parse(strExpected))
            for (const UINT nOpenType : {CRecordset::snapshot, CRecordset::forwardOnly})
                EXPECT_EQ(Answer(db, expected["sql"], nOpenType), expected);
    }
    const std::vector<std::string> aCases = Cases("snapshots/bad", ".message");
    ASSERT_GT(aCases.size(), 30u);
    for (const std::string& strCase : aCases) {
        CDatabase db;
        const auto e = CatchAs<CDBException>([&] { db.OpenEx(("SNAPSHOT=" + strCase + ".json").c_str()); });
        ASSERT_NE(e, nullptr) << strCase;
        EXPECT_EQ(e->GetSqlState(), "HY000");
        EXPECT_EQ(e->m_strError.Str() + "\n",
                  "Catalog snapshot " + strCase + ".json: " + ReadWholeFile(strCase + ".message"));
        EXPECT_FALSE(db.IsOpen());
    }
}

TEST(CSnapshotFileTest, ReaderReportsProgressAfterEachStatement) {
    const std::string strText = R"({"format": "sqlscripts-catalog-snapshot", "version": 1, "statements": [)"
                                R"({"sql": "A", "columns": [], "rows": []},)"
                                "\n"
                                R"({"sql": "B", "columns": [], "rows": []}]})";
    std::vector<size_t> aProgress;
    ReadSnapshotText(strText, [&](size_t nRead) { aProgress.push_back(nRead); });
    EXPECT_EQ(aProgress, (std::vector<size_t>{strText.find("},") + 1, strText.size() - 2}));
}

// Longer than the window the reader hands to the parser at a time: statements across its edges, one whose
// rows run over several windows and one whose value is longer than one; a fault far in is placed by its
// line, also one that is not UTF-8; a file cut short while it is read ends early, also within a
// statement's rows.
TEST(CSnapshotFileTest, ReaderReadsTextLongerThanItsWindow) {
    const std::string strLong(3 << 20, 'x');
    std::string strText = R"({"format": "sqlscripts-catalog-snapshot", "version": 1, "statements": [)"
                          "\n";
    for (int i = 0; i < 40000; ++i)
        strText += R"({"sql": "S)" + std::to_string(i) +
                   R"(", "columns": [{"name": "v"}], "rows": [["\u00e9"]]},)"
                   "\n";
    strText += R"({"sql": "R", "columns": [{"name": "v"}, {"name": "n"}], "rows": [)";
    for (int i = 0; i < 300000; ++i)
        strText += "\n [\"r" + std::to_string(i) + "\", " + std::to_string(i) + (i < 299999 ? "]," : "]");
    strText += "\n], \"sql\": \"R2\"},\n";
    strText += R"({"sql": "L", "columns": [{"name": "v"}], "rows": [[")" + strLong + "\"]]}\n]}";
    const std::vector<TSnapshotStatement> aStatements = ReadSnapshotText(strText);
    ASSERT_EQ(aStatements.size(), 40002u);
    EXPECT_EQ(aStatements[39999].aRows, (std::vector<TDbRow>{{"\xC3\xA9"}}));
    EXPECT_EQ(aStatements[40000].strSql, "R2");
    ASSERT_EQ(aStatements[40000].aRows.size(), 300000u);
    EXPECT_EQ(aStatements[40000].aRows[0], (TDbRow{"r0", "0"}));
    EXPECT_EQ(aStatements[40000].aRows[123456], (TDbRow{"r123456", "123456"}));
    EXPECT_EQ(aStatements[40000].aRows[299999], (TDbRow{"r299999", "299999"}));
    EXPECT_EQ(aStatements[40001].aRows, (std::vector<TDbRow>{{strLong}}));

    const auto problemOf = [](const TSnapshotSource& source) {
        try {
            ReadSnapshot(source);
        } catch (const TSnapshotProblem& problem) {
            return problem.strText;
        }
        return std::string();
    };
    const auto cutAt = [&](size_t nCut) {
        size_t nReads = 0;
        return problemOf([&, nCut](char* pBuffer, size_t nSize, size_t nOffset) {
            const size_t nEnd = ++nReads == 1 ? strText.size() : nCut;
            return nOffset < nEnd ? strText.copy(pBuffer, std::min(nSize, nEnd - nOffset), nOffset) : 0;
        });
    };
    EXPECT_EQ(cutAt(strText.find(R"({"sql": "S39000")")), "not valid JSON at line 39002, column 1");
    EXPECT_EQ(cutAt(strText.find(R"( ["r250000")")), "not valid JSON at line 290003, column 1");
    std::string strBroken = strText;
    strBroken[strBroken.find(R"(r200000")")] = '\xFF';
    EXPECT_EQ(problemOf([&](char* pBuffer, size_t nSize, size_t nOffset) {
                  return nOffset < strBroken.size() ? strBroken.copy(pBuffer, nSize, nOffset) : 0;
              }),
              "not valid JSON at line 240003, column 4");
}

// Every connection recording to one file adds to it; each statement is kept once, in the order first
// asked, as the server sent it; the file is written when the last one closes, without the connect string.
// Replay then answers as the server did.
TEST(CSnapshotRecordingTest, ReplayGivesWhatWasRecorded) {
    CTempDir dir;
    const std::string strLive = SqliteConnect(dir.File("live.db")) + ";UID=sa;PWD=TopSecret42";
    const std::string strPath = dir.File("catalog.json");
    const std::string strRecord = "SAVE_SNAPSHOT=" + strPath + ";" + strLive;
    const std::vector<std::string> aStatements = {
        "SELECT id, name, qty FROM items ORDER BY id", "SELECT * FROM v WHERE 1=0",
        "SELECT * FROM no_such_table", "SELECT\tname FROM texts WHERE id < 3", "SELECT n FROM extremes"};
    std::vector<json> aLive;
    {
        CDatabase first;
        first.OpenEx(strLive.c_str());
        RunSqlFile(first, FixtureFile("odbc/catalog.sql"));
    }
    auto pFirst = std::make_unique<CDatabase>();
    CDatabase second;
    pFirst->OpenEx(strRecord.c_str());
    second.OpenEx(strRecord.c_str());
    EXPECT_EQ(second.GetConnect().Str(), "ODBC;" + strRecord);
    for (size_t i = 0; i < aStatements.size(); ++i)
        aLive.push_back(Answer(i % 2 ? second : *pFirst, aStatements[i], CRecordset::forwardOnly));
    EXPECT_EQ(Answer(second, aStatements[0]), aLive[0]) << "asked again";
    pFirst.reset();
    EXPECT_FALSE(fs::exists(strPath));
    second.Close();
    EXPECT_EQ(ReadWholeFile(strPath), ReadWholeFile(FixtureFile("snapshots/recorded.json")));

    CDatabase db;
    db.OpenEx(("SNAPSHOT=" + strPath).c_str());
    EXPECT_EQ(db.GetConnect().Str(), "ODBC;SNAPSHOT=" + strPath);
    for (size_t i = 0; i < aStatements.size(); ++i)
        for (const UINT nOpenType : {CRecordset::snapshot, CRecordset::forwardOnly})
            EXPECT_EQ(Answer(db, aStatements[i], nOpenType), aLive[i]);
}

// Text in a whole-number column that a JSON integer would not give back alike is kept as text.
TEST(CSnapshotRecordingTest, IntegerTextOutsideTheJsonIntegerRangeStaysText) {
    CTempDir dir;
    const TSnapshotStatement stmt{
        "SELECT v FROM t",
        {{"v", "sql_variant", -150, 0, 0, 0}, {"n", "bigint", -5, 19, 0, 0}},
        {{"9999999999999999999", "-9223372036854775808"}, {"-0", "9223372036854775807"}, {"007", "1"}},
        std::nullopt};
    CCatalogSnapshot::Save(dir.File("s.json"), {stmt}, "test");
    CDatabase db;
    db.OpenEx(("SNAPSHOT=" + dir.File("s.json")).c_str());
    EXPECT_EQ(Answer(db, "SELECT v FROM t")["rows"],
              json::parse(R"([["9999999999999999999", "-9223372036854775808"], ["-0", "9223372036854775807"],
                              ["007", "1"]])"));
}

} // namespace
