// Catalog snapshots: recording over the SQLite driver, replay, and files that cannot be replayed.
#include "platform/PlatformTestSupport.h"

#include "backend/Snapshot.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using json = nlohmann::json;

// What a statement answered, as a reader of the platform sees it.
struct TAnswer {
    std::vector<std::string> aColumns;
    std::vector<std::string> aRows; // values joined with '|'
    std::string strSqlState;
    long nNative = 0;
    std::string strMessage;

    bool operator==(const TAnswer&) const = default;
    friend void PrintTo(const TAnswer& answer, std::ostream* pOut) {
        *pOut << answer.aColumns.size() << " columns, " << answer.aRows.size() << " rows, error "
              << answer.strSqlState << " " << answer.nNative << " " << answer.strMessage;
    }
};

TAnswer Ask(CDatabase& db, const std::string& strSql, UINT nOpenType = CRecordset::snapshot) {
    TAnswer answer;
    CRecordset rs(&db);
    const auto e = CatchAs<CDBException>([&] { rs.Open(nOpenType, strSql.c_str()); });
    if (e) {
        answer.strSqlState = e->GetSqlState().Str();
        answer.nNative = e->GetNativeError();
        answer.strMessage = e->m_strError.Str();
        return answer;
    }
    for (short i = 0; i < rs.GetODBCFieldCount(); ++i) {
        CODBCFieldInfo info;
        rs.GetODBCFieldInfo(i, info);
        answer.aColumns.push_back(info.m_strName.Str());
    }
    for (; !rs.IsEOF(); rs.MoveNext()) {
        std::string strRow;
        for (short i = 0; i < rs.GetODBCFieldCount(); ++i) {
            CString strValue;
            rs.GetFieldValue(i, strValue);
            strRow += (i ? "|" : "") + strValue.Str();
        }
        answer.aRows.push_back(strRow);
    }
    return answer;
}

class CSnapshotTest : public testing::Test {
protected:
    void SetUp() override {
        CDatabase db;
        db.OpenEx(LiveConnect().c_str());
        RunSql(db, "CREATE TABLE items (id INTEGER, name TEXT, qty INTEGER)");
        RunSql(db, "INSERT INTO items VALUES (1, 'alpha', 10), (2, NULL, NULL), "
                   "(3, CAST(x'd09fd180d0b8d0b2d0b5d182' AS TEXT), -9223372036854775807)");
        RunSql(db, "CREATE VIEW v AS SELECT id, name AS Title FROM items");
    }

    std::string LiveConnect() const { return SqliteConnect(m_dir.File("live.db")); }
    std::string SnapshotPath() const { return m_dir.File("catalog.json"); }

    CTempDir m_dir;
};

const std::vector<std::string> kStatements = {
    "SELECT id, name, qty FROM items ORDER BY id",
    "SELECT * FROM v WHERE 1=0",
    "SELECT * FROM no_such_table",
    "SELECT\tCOUNT(*) AS n FROM items WHERE name IS NULL",
};

TEST_F(CSnapshotTest, ReplayGivesWhatWasRecorded) {
    std::vector<TAnswer> aLive;
    {
        CDatabase db;
        db.OpenEx(("SAVE_SNAPSHOT=" + SnapshotPath() + ";" + LiveConnect()).c_str());
        EXPECT_EQ(db.GetConnect().Str(), "ODBC;SAVE_SNAPSHOT=" + SnapshotPath() + ";" + LiveConnect());
        for (const std::string& strSql : kStatements)
            aLive.push_back(Ask(db, strSql, CRecordset::forwardOnly));
        EXPECT_EQ(Ask(db, kStatements[0]), aLive[0]) << "asked twice";
        EXPECT_FALSE(std::filesystem::exists(SnapshotPath())) << "written only when the connection closes";
    }
    ASSERT_TRUE(std::filesystem::exists(SnapshotPath()));
    EXPECT_EQ(aLive[0].aRows,
              (std::vector<std::string>{"1|alpha|10", "2||", "3|Привет|-9223372036854775807"}));
    EXPECT_EQ(aLive[1].aColumns, (std::vector<std::string>{"id", "Title"}));
    EXPECT_EQ(aLive[2].strMessage, "[SQLite]no such table: no_such_table (1)");

    CDatabase db;
    db.OpenEx(("SNAPSHOT=" + SnapshotPath()).c_str());
    EXPECT_EQ(db.GetConnect().Str(), "ODBC;SNAPSHOT=" + SnapshotPath());
    for (size_t i = 0; i < kStatements.size(); ++i) {
        EXPECT_EQ(Ask(db, kStatements[i]), aLive[i]) << kStatements[i];
        EXPECT_EQ(Ask(db, kStatements[i], CRecordset::forwardOnly), aLive[i]) << kStatements[i];
    }
}

TEST_F(CSnapshotTest, FileHoldsEachStatementOnceWithValuesAsTheServerSentThem) {
    {
        CDatabase db;
        db.OpenEx(("SAVE_SNAPSHOT=" + SnapshotPath() + ";" + LiveConnect()).c_str());
        for (const std::string& strSql : kStatements)
            Ask(db, strSql);
        Ask(db, kStatements[0]);
        Ask(db, kStatements[2]);
    }
    const json doc = json::parse(ReadWholeFile(SnapshotPath()));
    EXPECT_EQ(doc["format"], "sqlscripts-catalog-snapshot");
    EXPECT_EQ(doc["version"], 1);
    const json& statements = doc["statements"];
    ASSERT_EQ(statements.size(), kStatements.size());
    for (size_t i = 0; i < kStatements.size(); ++i)
        EXPECT_EQ(statements[i]["sql"], kStatements[i]);
    EXPECT_EQ(statements[0]["columns"], json::parse(R"([{"name": "id", "type": "INTEGER"},
        {"name": "name", "type": "TEXT"}, {"name": "qty", "type": "INTEGER"}])"));
    EXPECT_EQ(statements[0]["rows"], json::parse(R"([[1, "alpha", 10], [2, null, null],
        [3, "Привет", -9223372036854775807]])"));
    EXPECT_EQ(statements[1]["rows"], json::array());
    EXPECT_EQ(statements[2]["error"], json::parse(R"j({"sqlstate": "HY000", "native": 1,
                                "message": "[SQLite]no such table: no_such_table (1)"})j"));
    EXPECT_FALSE(statements[2].contains("rows"));
}

TEST_F(CSnapshotTest, FileIsWrittenWhenTheLastRecordingConnectionCloses) {
    const std::string strConnect = "SAVE_SNAPSHOT=" + SnapshotPath() + ";" + LiveConnect();
    auto pFirst = std::make_unique<CDatabase>();
    CDatabase second;
    pFirst->OpenEx(strConnect.c_str());
    second.OpenEx(strConnect.c_str());
    Ask(*pFirst, kStatements[0]);
    Ask(second, kStatements[3]);
    Ask(second, kStatements[0]);
    pFirst.reset();
    EXPECT_FALSE(std::filesystem::exists(SnapshotPath()));
    second.Close();
    ASSERT_TRUE(std::filesystem::exists(SnapshotPath()));

    const json doc = json::parse(ReadWholeFile(SnapshotPath()));
    ASSERT_EQ(doc["statements"].size(), 2u);
    EXPECT_EQ(doc["statements"][0]["sql"], kStatements[0]);
    EXPECT_EQ(doc["statements"][1]["sql"], kStatements[3]);
    EXPECT_EQ(doc["statements"][1]["rows"], json::parse("[[1]]"));
}

TEST_F(CSnapshotTest, StatementMissingFromTheSnapshotThrowsQuotingIt) {
    {
        CDatabase db;
        db.OpenEx(("SAVE_SNAPSHOT=" + SnapshotPath() + ";" + LiveConnect()).c_str());
        Ask(db, kStatements[0]);
    }
    CDatabase db;
    db.OpenEx(("ODBC;SNAPSHOT=" + SnapshotPath()).c_str());
    // Byte for byte: a trailing blank makes another statement.
    for (const std::string& strSql : {std::string("SELECT 42"), kStatements[0] + " "}) {
        CRecordset rs(&db);
        const auto e = CatchAs<CDBException>([&] { rs.Open(CRecordset::snapshot, strSql.c_str()); });
        ASSERT_NE(e, nullptr) << strSql;
        EXPECT_EQ(e->GetSqlState(), "HY000");
        EXPECT_EQ(e->m_strError.Str(),
                  "Statement not in catalog snapshot " + SnapshotPath() + ": \"" + strSql + "\"");
        EXPECT_FALSE(rs.IsOpen());
    }
}

TEST(CSnapshotSaveTest, IntegerTextOutsideTheJsonIntegerRangeStaysText) {
    CTempDir dir;
    TSnapshotStatement stmt;
    stmt.strSql = "SELECT v FROM t";
    stmt.aColumns = {{"v", "sql_variant", -150, 0, 0, 0}, {"n", "bigint", -5, 19, 0, 0}};
    stmt.aRows = {
        {"9999999999999999999", "-9223372036854775808"}, {"-0", "9223372036854775807"}, {"007", "1"}};
    CCatalogSnapshot::Save(dir.File("s.json"), {stmt}, "test");

    const json doc = json::parse(ReadWholeFile(dir.File("s.json")));
    EXPECT_EQ(doc["statements"][0]["rows"],
              json::parse(R"([["9999999999999999999", -9223372036854775808], ["-0", 9223372036854775807],
                              ["007", 1]])"));
    const auto pSnapshot = CCatalogSnapshot::Load(dir.File("s.json"));
    const TSnapshotStatement* pStmt = pSnapshot->Find("SELECT v FROM t");
    ASSERT_NE(pStmt, nullptr);
    EXPECT_EQ(pStmt->aRows, stmt.aRows);
}

struct TBadFile {
    const char* pszName;
    const char* pszText; // null: no file at all
    const char* pszProblem;
    friend void PrintTo(const TBadFile& file, std::ostream* pOut) { *pOut << file.pszName; }
};

class CBadSnapshotTest : public testing::TestWithParam<TBadFile> {};

INSTANTIATE_TEST_SUITE_P(
    Files, CBadSnapshotTest,
    testing::Values(
        TBadFile{"Missing", nullptr, "cannot be read: No such file or directory"},
        TBadFile{"Empty", "", "not valid JSON at line 1, column 1"},
        TBadFile{"NotJson", "{\n \"format\": \"sqlscripts-catalog-snapshot\",\n \"version\": 1,,\n}",
                 "not valid JSON at line 3, column 15"},
        TBadFile{"TopLevelArray", "[]", "the top level must be an object"},
        TBadFile{"WrongFormatTag", R"({"format": "catalog", "version": 1, "statements": []})",
                 "\"format\" must be \"sqlscripts-catalog-snapshot\""},
        TBadFile{"NoFormatTag", R"({"version": 1, "statements": []})", "header: \"format\" is missing"},
        TBadFile{"WrongVersion",
                 R"({"format": "sqlscripts-catalog-snapshot", "version": 2, "statements": []})",
                 "unsupported \"version\" (this program reads version 1)"},
        TBadFile{"StatementsNotArray",
                 R"({"format": "sqlscripts-catalog-snapshot", "version": 1, "statements": {}})",
                 "header: \"statements\" must be an array"},
        TBadFile{"RowOfWrongWidth", R"({"format": "sqlscripts-catalog-snapshot", "version": 1, "statements": [
                    {"sql": "SELECT 1", "columns": [], "rows": []},
                    {"sql": "SELECT a, b", "columns": [{"name": "a"}, {"name": "b"}], "rows": [[1, 2], [3]]}]})",
                 "statement 2 row 2: must be an array of 2 values"},
        TBadFile{"ValueOfWrongType",
                 R"({"format": "sqlscripts-catalog-snapshot", "version": 1, "statements": [
                    {"sql": "SELECT a", "columns": [{"name": "a"}], "rows": [[{"x": 1}]]}]})",
                 "statement 1 row 1: a value must be a string, a number or null"},
        TBadFile{"ColumnNameNotText",
                 R"({"format": "sqlscripts-catalog-snapshot", "version": 1, "statements": [
                    {"sql": "SELECT a", "columns": [{"name": 7}], "rows": []}]})",
                 "statement 1: \"name\" must be a string"},
        TBadFile{"NoSql", R"({"format": "sqlscripts-catalog-snapshot", "version": 1, "statements": [
                    {"columns": [], "rows": []}]})",
                 "statement 1: \"sql\" is missing"},
        TBadFile{"ErrorNativeNotInteger",
                 R"({"format": "sqlscripts-catalog-snapshot", "version": 1, "statements": [
                    {"sql": "SELECT a", "error": {"sqlstate": "42S02", "native": "208", "message": "m"}}]})",
                 "statement 1 error: \"native\" must be an integer"}),
    [](const testing::TestParamInfo<TBadFile>& info) { return info.param.pszName; });

TEST_P(CBadSnapshotTest, OpenThrowsNamingTheFileAndTheProblem) {
    const TBadFile& file = GetParam();
    CTempDir dir;
    const std::string strPath = dir.File("bad.json");
    if (file.pszText)
        WriteWholeFile(strPath, file.pszText);
    CDatabase db;
    const auto e = CatchAs<CDBException>([&] { db.OpenEx(("SNAPSHOT=" + strPath).c_str()); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetSqlState(), "HY000");
    EXPECT_EQ(e->m_strError.Str(), "Catalog snapshot " + strPath + ": " + file.pszProblem);
    EXPECT_FALSE(db.IsOpen());
}

// Every statement of the example snapshot replays with its recorded columns and rows.
TEST(CTinySnapshotTest, EveryStatementReplays) {
    const std::string strPath = std::string(SCRIPTS_FIXTURES_DIR) + "/tiny/snapshot.json";
    const json doc = json::parse(ReadWholeFile(strPath));
    CDatabase db;
    db.OpenEx(("SNAPSHOT=" + strPath).c_str());
    ASSERT_EQ(doc["statements"].size(), 26u);
    for (const json& stmt : doc["statements"]) {
        const std::string strSql = stmt["sql"];
        TAnswer expected;
        for (const json& column : stmt["columns"])
            expected.aColumns.push_back(column["name"]);
        for (const json& row : stmt["rows"]) {
            std::string strRow;
            for (size_t i = 0; i < row.size(); ++i)
                strRow += (i ? "|" : "") + (row[i].is_string() ? row[i].get<std::string>()
                                            : row[i].is_null() ? std::string()
                                                               : row[i].dump());
            expected.aRows.push_back(strRow);
        }
        EXPECT_EQ(Ask(db, strSql), expected) << strSql;
    }
}

TEST(CTinySnapshotTest, BindsTheTablesList) {
    class CTables : public CRecordset {
    public:
        using CRecordset::CRecordset;
        CString GetDefaultSQL() override {
            return "SELECT T.name, T.object_id, S.name as SchemaName, S.schema_id FROM sys.tables T join "
                   "sys.schemas "
                   "S on T.schema_id = S.schema_id ORDER BY T.name ASC";
        }
        void DoFieldExchange(CFieldExchange* pFX) override {
            pFX->SetFieldType(CFieldExchange::outputColumn);
            RFX_Text(pFX, "[name]", m_strName);
            RFX_Long(pFX, "[object_id]", m_nObjectId);
            RFX_Text(pFX, "[SchemaName]", m_strSchemaName);
            RFX_Long(pFX, "[schema_id]", m_nSchemaId);
        }
        CString m_strName, m_strSchemaName;
        long m_nObjectId = 0, m_nSchemaId = 0;
    };
    CDatabase db;
    db.OpenEx(("SNAPSHOT=" + std::string(SCRIPTS_FIXTURES_DIR) + "/tiny/snapshot.json").c_str());
    CTables rs(&db);
    rs.Open();
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.m_strName, "Totals");
    EXPECT_EQ(rs.m_nObjectId, 501);
    EXPECT_EQ(rs.m_strSchemaName, "dbo");
    EXPECT_EQ(rs.m_nSchemaId, 1);
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
}

} // namespace
