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
