// The rows come back exactly: a database of every type and edge value exported with --recreate --data and
// applied to a database of the test's own holds the same values in every row of every table, as the server
// itself compares them (tests/live/data/compare), not as the writer reads them. The sample databases' rows
// come back in the --recreate check (RecreateLiveTest).
#include "RowCompare.h"

#include <atomic>
#include <thread>

namespace fs = std::filesystem;

namespace {

// Applied by sqlscripts apply, the rows on two connections, nothing may be refused.
void ExpectSameRows(const std::string& strSource, const std::string& strDir) {
    const THostRun run =
        Export(strDir, {"--recreate", "--data", "--quiet", "--connect", ConnectTo(strSource)});
    ASSERT_EQ(run.nStatus, 0) << run.strErr;
    TScratchDatabase copy("data_copy");
    const THostRun applied = ApplyTo(copy.strName, strDir, {"--quiet", "--jobs", "2"});
    EXPECT_EQ(applied.nStatus, 0);
    EXPECT_EQ(applied.strErr, "");
    for (const std::string& strDifference : RowDifferences(strSource, copy.strName))
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
    const THostRun applied = ApplyTo(copy.strName, dir.File("out"), {"--quiet"});
    EXPECT_EQ(applied.nStatus, 0);
    EXPECT_EQ(applied.strErr, "");
}

// A copy goes on where the original stands, not where its rows end: identity columns whose last rows were
// deleted (counting up, counting down, emptied) and a used sequence hand out the same next values in both.
// This server reports no sequence's position, and the seed as the last value of a table that never handed one
// out (server-limits): there the export says so and the sequence is left out, and no such table is compared.
TEST(LiveData, TheCopyHandsOutTheOriginalsNextValues) {
    TScratchDatabase source("positions");
    for (const char* pszSql :
         {"CREATE TABLE grown (id int IDENTITY(1, 10) PRIMARY KEY, v int)",
          "CREATE TABLE downward (id bigint IDENTITY(-1, -1) PRIMARY KEY, v int)",
          "CREATE TABLE emptied (id int IDENTITY(5, 1) PRIMARY KEY, v int)",
          "INSERT INTO grown (v) VALUES (1), (2), (3), (4), (5)", "DELETE FROM grown WHERE id > 21",
          "INSERT INTO downward (v) VALUES (1), (2), (3)", "DELETE FROM downward WHERE id < -1",
          "INSERT INTO emptied (v) VALUES (1), (2)", "DELETE FROM emptied",
          "CREATE SEQUENCE counter AS int START WITH 100", "SELECT NEXT VALUE FOR counter",
          "SELECT NEXT VALUE FOR counter"})
        RunSql(source.db, pszSql);
    const CTempDir dir;
    const THostRun run =
        Export(dir.File("out"), {"--recreate", "--data", "--quiet", "--connect", ConnectTo(source.strName)});
    ASSERT_EQ(run.nStatus, 0) << run.strErr;
    const bool bSequenceKnown = run.strErr.find("written with their declared start") == std::string::npos;
    TScratchDatabase copy("positions_copy");
    const THostRun applied = ApplyTo(copy.strName, dir.File("out"), {"--quiet"});
    ASSERT_EQ(applied.nStatus, 0) << applied.strErr;
    const auto next = [&](CDatabase& db) {
        for (const char* pszTable : {"grown", "downward", "emptied"})
            RunSql(db, std::string("INSERT INTO ") + pszTable + " (v) VALUES (9)");
        return Answer(db, std::string(
                              "SELECT (SELECT MAX(id) FROM grown) AS grown, (SELECT MIN(id) FROM downward) "
                              "AS downward, (SELECT MAX(id) FROM emptied) AS emptied") +
                              (bSequenceKnown ? ", NEXT VALUE FOR counter AS counter" : ""))
            .at("rows");
    };
    const nlohmann::json original = next(source.db);
    EXPECT_EQ(original, nlohmann::json::parse(R"([["51", "-4", "7"]])")) << "the original's own next values";
    EXPECT_EQ(next(copy.db), original);
}

} // namespace
