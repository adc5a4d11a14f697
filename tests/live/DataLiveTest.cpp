// The rows come back exactly: a database of every type and edge value exported with --recreate --data and
// applied to a database of the test's own holds the same values in every row of every table, as the server
// itself compares them (tests/live/data/compare), not as the writer reads them. The sample databases' rows
// come back in the --recreate check (RecreateLiveTest).
#include "RowCompare.h"

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

} // namespace
