// Catalog snapshots: files that replay (snapshots/replay: each <case>.json beside the answers expected of
// it), files refused (snapshots/bad: each <case>.json beside its <case>.message), and recording.
#include "platform/PlatformTestSupport.h"

#include "backend/Snapshot.h"
#include "cases/HostRun.h"
#include "export/CategoryTable.h"
#include "scripts/ScriptUnloader.h"

#include <fstream>

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

// Longer than a read or simdjson's batches: a statement of 300,000 rows and a line of 3 MB; a fault far in is
// placed by its line, also one that is not UTF-8; a file cut short within a line ends there.
TEST(CSnapshotFileTest, ReaderReadsLongText) {
    const std::string strLong(3 << 20, 'x');
    std::string strText = "{\"format\":\"sqlscripts-catalog-snapshot\",\"version\":2}\n"
                          "{\"sql\":\"R\",\"columns\":[{\"name\":\"v\"},{\"name\":\"n\"}]}\n";
    for (int i = 0; i < 300000; ++i)
        strText += "[\"r" + std::to_string(i) + "\"," + std::to_string(i) + "]\n";
    strText +=
        "{\"sql\":\"L\",\"columns\":[{\"name\":\"v\"}]}\n[\"" + strLong + "\"]\n{\"end\":\"complete\"}\n";
    CTempDir dir;
    const auto load = [&](const std::string& strFile) {
        std::ofstream(dir.File("long.json"), std::ios::binary | std::ios::trunc) << strFile;
        return CCatalogSnapshot::Load(dir.File("long.json"));
    };
    const auto pSnapshot = load(strText);
    const TSnapshotEntry* pRows = pSnapshot->Find("R");
    ASSERT_TRUE(pRows && pSnapshot->Find("L"));
    ASSERT_EQ(pRows->nRows, 300000u);
    const auto texts = [](TDbRow row) {
        std::vector<std::string> aTexts;
        for (const TDbValue& value : row)
            aTexts.emplace_back(*value);
        return aTexts;
    };
    using TTexts = std::vector<std::string>;
    for (const auto& [nRow, expected] :
         {std::pair{0, TTexts{"r0", "0"}}, {123456, {"r123456", "123456"}}, {299999, {"r299999", "299999"}}})
        EXPECT_EQ(texts(pSnapshot->GetRow(*pRows, static_cast<size_t>(nRow))), expected);
    EXPECT_EQ(texts(pSnapshot->GetRow(*pSnapshot->Find("L"), 0)), TTexts{strLong});

    const auto problemOf = [&](const std::string& strFile) {
        const auto e = CatchAs<CDBException>([&] { load(strFile); });
        return e ? e->m_strError.Str() : std::string();
    };
    std::string strBroken = strText;
    strBroken[strBroken.find("r200000")] = '\xFF';
    const std::string strPrefix = "Catalog snapshot " + dir.File("long.json");
    EXPECT_EQ(problemOf(strBroken), strPrefix + ": line 200003, column 3: expected UTF-8 text");
    EXPECT_EQ(problemOf(strText.substr(0, strText.find("[\"r250000\"") + 4)),
              strPrefix + ": line 250003, column 2: expected the string to end");
}

// A file of version 1 gives the same files as its conversion to the current version (with prefetch too,
// for the files recorded with it).
TEST(CSnapshotFileTest, VersionOneGivesWhatItsUpgradeGives) {
    const auto exportFrom = [](const std::string& strSnapshot, const std::string& strDir,
                               const char* pszMode) {
        CDatabase db;
        db.OpenEx(("SNAPSHOT=" + strSnapshot).c_str());
        CScriptUnloader unloader(db, nullptr, strDir.c_str());
        for (size_t i = 0; i < unloader.m_aFiles.size(); ++i)
            unloader.m_aFiles[i] = {1, g_aCategories[i].pszDefaultFile};
        unloader.m_bPrefetch = pszMode[0] == 'p';
        unloader.ExecScriptData();
        return FilesUnder(strDir);
    };
    const std::vector<std::string> aCases = Cases("snapshots/version1", ".json");
    ASSERT_GE(aCases.size(), 3u);
    for (const std::string& strCase : aCases) {
        CTempDir dir;
        CCatalogSnapshot::Load(strCase + ".json")->SaveAs(dir.File("upgraded.json"));
        for (const char* pszMode : {"default", "prefetch"}) {
            if (pszMode[0] == 'p' &&
                fs::path(strCase).filename().string().find("prefetch") == std::string::npos)
                continue;
            SCOPED_TRACE(strCase + " " + pszMode);
            const auto files = exportFrom(strCase + ".json", dir.File(std::string("v1-") + pszMode), pszMode);
            EXPECT_EQ(exportFrom(dir.File("upgraded.json"), dir.File(std::string("v2-") + pszMode), pszMode),
                      files);
            EXPECT_EQ(files.size(), 13u);
        }
    }
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

// A table's rows read as a stream are recorded as they come, through a spool beside the snapshot that goes
// with the run; a stream its reader leaves before the end is no answer and is left out.
TEST(CSnapshotRecordingTest, StreamsAreRecordedWhenReadToTheEnd) {
    CTempDir dir;
    const std::string strLive = SqliteConnect(dir.File("live.db"));
    const std::string strPath = dir.File("rows.json");
    {
        CDatabase db;
        db.OpenEx(strLive.c_str());
        RunSqlFile(db, FixtureFile("odbc/catalog.sql"));
        db.Close();
        db.OpenEx(("SAVE_SNAPSHOT=" + strPath + ";" + strLive).c_str());
        const auto pWhole = db.GetBackend()->ExecuteStream("SELECT id, name, qty FROM items ORDER BY id");
        while (pWhole->Fetch())
            ;
        db.GetBackend()->ExecuteStream("SELECT name FROM items ORDER BY id")->Fetch();
    }
    EXPECT_EQ(FilesUnder(dir.File("")).size(), 2u) << "the spools stay behind";
    const auto pSnapshot = CCatalogSnapshot::Load(strPath);
    EXPECT_EQ(pSnapshot->GetCount(), 1u);
    CDatabase replay;
    replay.OpenEx(("SNAPSHOT=" + strPath).c_str());
    EXPECT_EQ(Answer(replay, "SELECT id, name, qty FROM items ORDER BY id")["rows"],
              json::parse(
                  R"([["1", "alpha", "10"], ["2", "", ""], ["3", "gamma", "-5"], ["4", "", "2147483648"]])"));
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

// Strings are escaped where JSON needs it, in a block of eight bytes too, bytes that are not UTF-8 become
// U+FFFD, and what is read back is what was written.
TEST(CSnapshotRecordingTest, StringsAreEscapedAndReadBackAlike) {
    CTempDir dir;
    const TSnapshotStatement stmt{"S",
                                  {{"v", "nvarchar", -9, 0, 0, 0}},
                                  {{"plain text, longer than a block"},
                                   {"a\"b\\c\x01\x1f\x7f\t\n\r\b\f"},
                                   {"12345678\"9"},
                                   {"\xff ok"}},
                                  std::nullopt};
    CCatalogSnapshot::Save(dir.File("s.json"), {stmt}, "test");
    EXPECT_EQ(ReadWholeFile(dir.File("s.json")),
              "{\"format\":\"sqlscripts-catalog-snapshot\",\"version\":2,\"source\":\"test\"}\n"
              "{\"sql\":\"S\",\"columns\":[{\"name\":\"v\",\"type\":\"nvarchar\"}]}\n"
              "[\"plain text, longer than a block\"]\n"
              "[\"a\\\"b\\\\c\\u0001\\u001f\x7f\\t\\n\\r\\b\\f\"]\n"
              "[\"12345678\\\"9\"]\n"
              "[\"\xef\xbf\xbd ok\"]\n"
              "{\"end\":\"complete\"}\n");
    CDatabase db;
    db.OpenEx(("SNAPSHOT=" + dir.File("s.json")).c_str());
    EXPECT_EQ(Answer(db, "S")["rows"], json::parse("[[\"plain text, longer than a block\"], "
                                                   "[\"a\\\"b\\\\c\\u0001\\u001f\x7f\\t\\n\\r\\b\\f\"], "
                                                   "[\"12345678\\\"9\"], [\"\xef\xbf\xbd ok\"]]"));
}

} // namespace
