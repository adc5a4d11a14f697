// sqlscripts apply against a live server, where a script goes wrong: a statement planted in the second file
// of a folder (apply/planted) stops the run there, or is passed over with --continue, or rolls everything
// back with --single-transaction; a database that has the scripts' objects already stops the run before
// anything runs. The scripts that go right are the --recreate check's (RecreateLiveTest).
#include "LiveSupport.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

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

// A table and its rows in 400 batches of 500, which take the server seconds even in one transaction.
void WriteLoad(const fs::path& dir) {
    fs::create_directories(dir / "07-Data");
    WriteWholeFile((dir / "manifest.txt").string(), "06-Tables.sql\n07-Data/001-dbo.Loaded.sql\n");
    WriteWholeFile((dir / "06-Tables.sql").string(),
                   "CREATE TABLE [dbo].[Loaded] ([Id] int NOT NULL);\nGO\n");
    std::string strRows;
    for (int nBatch = 0; nBatch < 400; ++nBatch) {
        strRows += "INSERT INTO [dbo].[Loaded] ([Id]) VALUES\n";
        for (int nRow = 1; nRow <= 500; ++nRow)
            strRows += "(" + std::to_string(nBatch * 500 + nRow) + (nRow < 500 ? "),\n" : ");\nGO\n");
    }
    WriteWholeFile((dir / "07-Data/001-dbo.Loaded.sql").string(), strRows);
}

long LoadedRows(TScratchDatabase& target) {
    const nlohmann::json answer = Answer(target.db, "SELECT COUNT(*) FROM [dbo].[Loaded]");
    return answer.contains("error") ? -1 : std::stol(answer.at("rows")[0][0].get<std::string>());
}

// Ctrl-C once the rows are loading, through a relay of the test's own (killed at the end with the connections
// it carries, whatever the run left): the run ends within two seconds, with the batches under way cancelled
// (this server takes a cancel only when the statement is done) and one line saying what was applied, or with
// the single transaction rolled back.
TEST(LiveApply, CtrlCMidLoadStopsSayingWhatWasApplied) {
    const CTempDir dir;
    WriteLoad(dir.File("load"));
    const std::string strPort = std::to_string(20000 + (::getpid() + 2) % 20000);
    for (const bool bSingleTransaction : {false, true}) {
        SCOPED_TRACE(bSingleTransaction ? "--single-transaction" : "--jobs 2");
        TScratchDatabase target(bSingleTransaction ? "apply_interrupted_single" : "apply_interrupted");
        const std::string strRelayed =
            WithKey(WithKey(ConnectTo(target.strName), "SERVER", "127.0.0.1"), "PORT", strPort);
        const pid_t relay = StartRelay(strPort, strRelayed);
        ASSERT_GT(relay, 0) << "no relay: socat is needed (make deps installs it)";
        const pid_t run = StartHost({"apply", dir.File("load"), "--connect", strRelayed,
                                     bSingleTransaction ? "--single-transaction" : "--jobs=2"},
                                    dir.File(""), dir.File("stdout"), dir.File("stderr"));
        // Rows inside the transaction are not to be seen: the table is, once the rows' batches run.
        for (int nTry = 0; nTry < 500 && LoadedRows(target) <= 0 && !bSingleTransaction; ++nTry)
            std::this_thread::sleep_for(20ms);
        std::this_thread::sleep_for(bSingleTransaction ? 1500ms : 300ms);
        const auto signalled = std::chrono::steady_clock::now();
        ::kill(run, SIGINT);
        EXPECT_EQ(WaitAtMost(run, 10s), 130);
        EXPECT_LT(std::chrono::steady_clock::now() - signalled, 2s);
        ::kill(-relay, SIGKILL);
        const std::string strErr = ReadWholeFile(dir.File("stderr"));
        if (bSingleTransaction) {
            EXPECT_EQ(strErr, "sqlscripts: interrupted; the transaction was rolled back: nothing applied\n");
            EXPECT_EQ(LoadedRows(target), -1);
            continue;
        }
        std::smatch match;
        ASSERT_TRUE(std::regex_match(
            strErr, match,
            std::regex("sqlscripts: interrupted; applied before it: 1 file, ([0-9]+) batches\n")))
            << strErr;
        // The batch each connection had under way may have ended on the server before it took the cancel.
        const long nApplied = 500 * (std::stol(match[1]) - 1), nLoaded = LoadedRows(target);
        EXPECT_GE(nLoaded, nApplied);
        EXPECT_LE(nLoaded, nApplied + 1000);
        EXPECT_LT(nLoaded, 200000);
    }
}

} // namespace
