// sqlscripts apply against a live server, where a script goes wrong: a statement planted in the second file
// of a folder (apply/planted) stops the run there, or is passed over with --continue, or rolls everything
// back with --single-transaction; a database that has the scripts' objects already stops the run before
// anything runs. The scripts that go right are the --recreate check's (RecreateLiveTest).
#include "LiveSupport.h"

namespace fs = std::filesystem;

namespace {

const std::string kPlanted = (kLiveDir / "apply" / "planted").string();

// The rows of dbo.Planted by id, "-" when the table is not there.
std::string PlantedRows(TScratchDatabase& target) {
    const nlohmann::json answer = Answer(target.db, "SELECT [Id] FROM [dbo].[Planted] ORDER BY [Id]");
    if (answer.contains("error"))
        return "-";
    std::string strIds;
    for (const nlohmann::json& row : answer.at("rows"))
        strIds += (strIds.empty() ? "" : ",") + row[0].get<std::string>();
    return strIds;
}

bool HasView(TScratchDatabase& target) {
    return Answer(target.db, "SELECT name FROM sys.views WHERE name = 'PlantedNames'").at("rows").size() == 1;
}

const std::string kRefusal =
    "sqlscripts: 02-Rows.sql:4: [^\n]*\\(SQLSTATE [0-9A-Z]{5}, native error [0-9]+\\)\n";

TEST(LiveApply, PlantedStatementStopsTheRunNamingFileAndLine) {
    TScratchDatabase target("apply_stop");
    const THostRun run = ApplyTo(target.strName, kPlanted);
    EXPECT_EQ(run.nStatus, 1);
    EXPECT_TRUE(std::regex_match(
        run.strErr, std::regex(kRefusal + "sqlscripts: stopped; applied before it: 1 file, 2 batches\n")))
        << run.strErr;
    EXPECT_EQ(PlantedRows(target), "1,2");
    EXPECT_FALSE(HasView(target));
}

// --continue applies the rest; run again, the objects the scripts create are there already, and nothing runs.
TEST(LiveApply, ContinueAppliesTheRestAndExistingObjectsStopTheNextRun) {
    TScratchDatabase target("apply_continue");
    const THostRun run = ApplyTo(target.strName, kPlanted, {"--continue"});
    EXPECT_EQ(run.nStatus, 1);
    EXPECT_TRUE(std::regex_match(
        run.strErr, std::regex(kRefusal + "sqlscripts: applied 3 files, 4 batches, 3 rows in [0-9.]+ s\n"
                                          "sqlscripts: 1 batch refused\n")))
        << run.strErr;
    EXPECT_EQ(PlantedRows(target), "1,2,4");
    EXPECT_TRUE(HasView(target));

    const THostRun again = ApplyTo(target.strName, kPlanted, {"--continue"});
    EXPECT_EQ(again.nStatus, 1);
    EXPECT_EQ(again.strErr, "sqlscripts: table dbo.Planted exists already (01-Tables.sql:1 creates it)\n"
                            "sqlscripts: view dbo.PlantedNames exists already (03-Views.sql:1 creates it)\n"
                            "sqlscripts: nothing applied: the database has objects that the scripts create "
                            "(--existing ok applies "
                            "them all the same)\n");
    EXPECT_EQ(PlantedRows(target), "1,2,4");
}

TEST(LiveApply, SingleTransactionLeavesNothingAfterARefusal) {
    TScratchDatabase target("apply_single");
    const THostRun run = ApplyTo(target.strName, kPlanted, {"--single-transaction"});
    EXPECT_EQ(run.nStatus, 1);
    EXPECT_TRUE(std::regex_match(
        run.strErr,
        std::regex(kRefusal + "sqlscripts: stopped; the transaction was rolled back: nothing applied\n")))
        << run.strErr;
    EXPECT_EQ(PlantedRows(target), "-");
}

} // namespace
