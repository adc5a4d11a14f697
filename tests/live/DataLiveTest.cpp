// The rows come back exactly: a database exported with --recreate --data and applied to a database of the
// test's own holds the same values in every row of every table, as the server itself compares them
// (tests/live/data/compare), not as the writer reads them.
#include "LiveSupport.h"

#include <atomic>
#include <thread>

namespace fs = std::filesystem;

namespace {

using TColumns = std::vector<std::pair<std::string, std::string>>; // name, system type

// Each table's columns that hold values of their own (no computed ones), by "[schema].[table]".
std::map<std::string, TColumns> TablesOf(CDatabase& db) {
    const nlohmann::json answer =
        Answer(db, "SELECT QUOTENAME(s.name) + '.' + QUOTENAME(t.name) AS tbl, c.name AS col, "
                   "TYPE_NAME(c.system_type_id) AS typ FROM sys.tables t "
                   "JOIN sys.schemas s ON s.schema_id = t.schema_id JOIN sys.columns c ON c.object_id = "
                   "t.object_id WHERE c.is_computed = 0 ORDER BY s.name, t.name, c.column_id");
    std::map<std::string, TColumns> tables;
    for (const nlohmann::json& row : answer.at("rows"))
        tables[row[0]].emplace_back(row[1], row[2]);
    return tables;
}

// The select list that compares the columns, from the rules of data/compare.
std::string Compared(const TColumns& aColumns) {
    static const std::map<std::string, std::string> rules = [] {
        std::map<std::string, std::string> map;
        for (const std::string& strLine : LiveLines("data/compare"))
            map[strLine.substr(0, strLine.find('\t'))] =
                strLine.find('\t') == std::string::npos ? "" : strLine.substr(strLine.find('\t') + 1);
        return map;
    }();
    std::string strList;
    for (const auto& [strName, strType] : aColumns) {
        const std::string strRule = rules.count(strType) ? rules.at(strType) : rules.at("*");
        if (!strRule.empty())
            strList += (strList.empty() ? "" : ", ") +
                       std::regex_replace(strRule, std::regex("\\{c\\}"), "[" + strName + "]");
    }
    return strList;
}

// One line for each table of database A whose rows differ in B: the row counts, and the rows each side has
// that the other has not.
std::vector<std::string> Differences(const std::string& strA, const std::string& strB) {
    CDatabase db;
    db.OpenEx(ConnectTo(strA).c_str(), CDatabase::noOdbcDialog);
    std::vector<std::string> aDifferences;
    for (const auto& [strTable, aColumns] : TablesOf(db)) {
        const std::string strList = Compared(aColumns), strInA = "[" + strA + "]." + strTable,
                          strInB = "[" + strB + "]." + strTable;
        const nlohmann::json answer = Answer(
            db, "SELECT (SELECT COUNT(*) FROM " + strInA + "), (SELECT COUNT(*) FROM " + strInB +
                    "), (SELECT COUNT(*) FROM (SELECT " + strList + " FROM " + strInA + " EXCEPT SELECT " +
                    strList + " FROM " + strInB + ") AS a), (SELECT COUNT(*) FROM (SELECT " + strList +
                    " FROM " + strInB + " EXCEPT SELECT " + strList + " FROM " + strInA + ") AS b)");
        if (answer.contains("error")) {
            aDifferences.push_back(strTable + ": " + answer["error"].dump());
            continue;
        }
        const nlohmann::json& row = answer["rows"][0];
        if (row[0] != row[1] || row[2] != "0" || row[3] != "0")
            aDifferences.push_back(strTable + ": rows " + row.dump() + " (counts, then only in each)");
    }
    return aDifferences;
}

// Runs the files of the export's manifest in order, batch by batch, on one connection; the refusals of the
// files whose path holds strOf (by default the files of rows: what the server refuses of the schema, checks
// in its own wording, is the schema tests' subject, and listed there).
TRefusals ApplyManifest(CDatabase& db, const std::string& strDir, const std::string& strOf = "Data/") {
    TRefusals aRefused;
    std::istringstream manifest(ReadWholeFile(strDir + "/manifest.txt"));
    for (std::string strFile; std::getline(manifest, strFile);) {
        TRefusals aFile = RunBatches(db, Batches(ReadWholeFile(strDir + "/" + strFile)));
        if (strFile.find(strOf) != std::string::npos)
            aRefused.insert(aRefused.end(), aFile.begin(), aFile.end());
    }
    return aRefused;
}

void ExpectSameRows(const std::string& strSource, const std::string& strDir) {
    const THostRun run =
        Export(strDir, {"--recreate", "--data", "--quiet", "--connect", ConnectTo(strSource)});
    ASSERT_EQ(run.nStatus, 0) << run.strErr;
    TScratchDatabase copy("data_copy");
    for (const auto& [strStatement, strAnswer] : ApplyManifest(copy.db, strDir))
        ADD_FAILURE() << "refused: " << strAnswer << "\n" << strStatement.substr(0, 300);
    for (const std::string& strDifference : Differences(strSource, copy.strName))
        ADD_FAILURE() << strDifference;
}

TEST(LiveData, EveryTypeAndEdgeValueComesBackExactly) {
    TScratchDatabase source("data_source");
    ASSERT_TRUE(
        RunBatches(source.db, Batches(ReadWholeFile((kLiveDir / "data/setup.sql").string()))).empty());
    const CTempDir dir;
    ExpectSameRows(source.strName, dir.File("first"));
    const THostRun again = Export(
        dir.File("second"), {"--recreate", "--data", "--quiet", "--connect", ConnectTo(source.strName)});
    ASSERT_EQ(again.nStatus, 0) << again.strErr;
    EXPECT_EQ(FilesUnder(dir.File("first")), FilesUnder(dir.File("second")));
}

TEST(LiveData, SampleDatabasesComeBackExactly) {
    for (const char* pszDatabase : {"northwind", "pubs"}) {
        SCOPED_TRACE(pszDatabase);
        const CTempDir dir;
        ExpectSameRows(pszDatabase, dir.File("export"));
    }
}

// While an application adds a parent row and its child row in one transaction after another, an export with
// the rows reads both tables as of one moment: its copy has no child without its parent, so the foreign key
// applies. Read table by table, the pairs added between the two tables' turns would leave children behind.
TEST(LiveData, RowsAddedDuringTheExportAreCopiedAsOfOneMoment) {
    TScratchDatabase source("moment");
    RunSql(source.db, "CREATE TABLE parent (id int PRIMARY KEY, filler nvarchar(200))");
    RunSql(source.db,
           "CREATE TABLE child (id int PRIMARY KEY, parent_id int NOT NULL, CONSTRAINT fk_child_parent "
           "FOREIGN KEY (parent_id) REFERENCES parent (id))");
    RunSql(source.db, "WITH n AS (SELECT TOP 30000 ROW_NUMBER() OVER (ORDER BY (SELECT NULL)) AS k FROM "
                      "sys.all_columns a CROSS JOIN sys.all_columns b) INSERT INTO parent SELECT k, "
                      "REPLICATE(N'x', 150) FROM n");
    std::atomic<bool> bStop{false};
    std::atomic<int> nPairs{0};
    std::thread writer([&] {
        CDatabase db;
        db.OpenEx(ConnectTo(source.strName).c_str(), CDatabase::noOdbcDialog);
        for (int nId = 100000; !bStop; ++nId, ++nPairs)
            RunSql(db, "BEGIN TRANSACTION; INSERT INTO parent VALUES (" + std::to_string(nId) +
                           ", N'new'); INSERT INTO child VALUES (" + std::to_string(nId) + ", " +
                           std::to_string(nId) + "); COMMIT");
    });
    const CTempDir dir;
    const THostRun run =
        Export(dir.File("out"), {"--recreate", "--data", "--quiet", "--connect", ConnectTo(source.strName)});
    bStop = true;
    writer.join();
    ASSERT_EQ(run.nStatus, 0) << run.strErr;
    EXPECT_GT(nPairs.load(), 0);
    TScratchDatabase copy("moment_copy");
    for (const auto& [strStatement, strAnswer] : ApplyManifest(copy.db, dir.File("out"), ""))
        ADD_FAILURE() << "refused: " << strAnswer << "\n" << strStatement.substr(0, 300);
}

} // namespace
