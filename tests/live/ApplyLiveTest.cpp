// sqlscripts apply against a live server, where a script goes wrong: a statement planted in the second file
// of a folder (apply/planted) stops the run there, or is passed over with --continue, or rolls everything
// back with --single-transaction, which makes full-text indexes after it commits (apply/full-text); a
// database that has the scripts' objects already stops the run before anything runs, unless a clean file
// drops them first; a stream cut short applies nothing. The scripts that go right are the --recreate check's
// (RecreateLiveTest).
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
        run.strErr,
        std::regex(kRefusal + "sqlscripts: applied 3 files, 4 batches, 3 rows to database " + target.strName +
                   " on [^ ]+ in [0-9.]+ s\n"
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

// A full-text index, which SQL Server does not make inside a transaction, is made after the single one
// commits; refused there, it leaves the transaction's work applied.
TEST(LiveApply, SingleTransactionMakesFullTextIndexesAfterItCommits) {
    const std::string strFullText = (kLiveDir / "apply" / "full-text").string();
    const std::string strAfter = "sqlscripts: the full-text batches of 15a-FullText.sql run after the "
                                 "transaction commits, as SQL Server does not change full-text catalogs and "
                                 "indexes inside one\n";
    TScratchDatabase target("apply_full_text");
    const THostRun run = ApplyTo(target.strName, strFullText, {"--single-transaction", "--quiet"});
    EXPECT_EQ(run.nStatus, 0) << run.strErr;
    EXPECT_EQ(run.strErr, strAfter);
    EXPECT_EQ(Answer(target.db, "SELECT COUNT(*) FROM dbo.Docs").at("rows")[0][0], "2");

    const CTempDir dir;
    const fs::path planted = fs::path(dir.File("")) / "full-text";
    fs::copy(strFullText, planted);
    WriteWholeFile((planted / "15a-FullText.sql").string(),
                   ReadWholeFile((planted / "15a-FullText.sql").string()) +
                       "THROW 50000, N'planted', 1; DROP FULLTEXT INDEX ON dbo.Docs;\nGO\n");
    TScratchDatabase refused("apply_full_text_refused");
    const THostRun stopped = ApplyTo(refused.strName, planted.string(), {"--single-transaction"});
    EXPECT_EQ(stopped.nStatus, 1);
    EXPECT_TRUE(std::regex_match(stopped.strErr,
                                 std::regex(strAfter +
                                            "sqlscripts: 15a-FullText.sql:6: [^\n]*planted \\(SQLSTATE "
                                            "[0-9A-Z]{5}, native error 50000\\)\n"
                                            "sqlscripts: stopped; applied before it: 2 files, 4 batches\n")))
        << stopped.strErr;
    EXPECT_EQ(Answer(refused.db, "SELECT COUNT(*) FROM dbo.Docs").at("rows")[0][0], "2");
}

// A table and its rows in 400 batches of 500, which take the server seconds even in one transaction.
void WriteLoad(const fs::path& dir) {
    fs::create_directories(dir / "07-Data");
    WriteWholeFile((dir / "manifest.txt").string(), "06-Tables.sql\n07-Data/dbo.Loaded.sql\n");
    WriteWholeFile((dir / "06-Tables.sql").string(),
                   "CREATE TABLE [dbo].[Loaded] ([Id] int NOT NULL);\nGO\n");
    std::string strRows;
    for (int nBatch = 0; nBatch < 400; ++nBatch) {
        strRows += "INSERT INTO [dbo].[Loaded] ([Id]) VALUES\n";
        for (int nRow = 1; nRow <= 500; ++nRow)
            strRows += "(" + std::to_string(nBatch * 500 + nRow) + (nRow < 500 ? "),\n" : ");\nGO\n");
    }
    WriteWholeFile((dir / "07-Data/dbo.Loaded.sql").string(), strRows);
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

// A folder of --clean applies again to the database it made, without --existing ok: what its clean file drops
// is in nobody's way. Without a clean file the second run names every object in the way, the role included.
TEST(LiveApply, CleanFolderAppliesAgainAndTheCheckNamesRolesToo) {
    const CTempDir dir;
    TScratchDatabase source("apply_clean_source");
    RunSql(source.db, "CREATE ROLE [auditors]");
    RunSql(source.db, "CREATE TABLE dbo.Audited (Id int NOT NULL PRIMARY KEY)");
    for (const std::string strFolder : {"clean", "plain"}) {
        std::vector<std::string> aArgs = {"--recreate", "--connect", ConnectTo(source.strName)};
        if (strFolder == "clean")
            aArgs.push_back("--clean");
        const THostRun folder = Export(dir.File(strFolder), aArgs);
        ASSERT_EQ(folder.nStatus, 0) << folder.strErr;
    }
    TScratchDatabase target("apply_clean");
    for (int nRun = 0; nRun < 2; ++nRun) {
        const THostRun run = ApplyTo(target.strName, dir.File("clean"), {"--quiet"});
        EXPECT_EQ(run.nStatus, 0) << run.strErr;
    }
    const THostRun plain = ApplyTo(target.strName, dir.File("plain"));
    EXPECT_EQ(plain.nStatus, 1);
    EXPECT_EQ(plain.strErr, "sqlscripts: role auditors exists already (01-Schemas.sql:1 creates it)\n"
                            "sqlscripts: table dbo.Audited exists already (06-Tables.sql:1 creates it)\n"
                            "sqlscripts: nothing applied: the database has objects that the scripts create "
                            "(--existing ok applies them all the same)\n");
}

// An export onto standard output stopped while its rows stream (the link stalled in a relay of the test's
// own, then SIGTERM): it says the stream was cut short, and apply - refuses what it wrote, with or without
// --single-transaction, leaving the target empty. The whole stream applies every row.
TEST(LiveApply, CutStreamAppliesNothingAndAWholeOneEverything) {
    const CTempDir dir;
    TScratchDatabase source("stream_source");
    RunSql(source.db, "CREATE TABLE wide (id int IDENTITY(1, 1) PRIMARY KEY, filler nvarchar(200))");
    RunSql(source.db, "WITH n AS (SELECT TOP 20000 ROW_NUMBER() OVER (ORDER BY (SELECT NULL)) AS k FROM "
                      "sys.all_columns a CROSS JOIN sys.all_columns b) INSERT INTO wide (filler) SELECT "
                      "REPLICATE(N'x', 100) + CAST(k AS nvarchar(20)) FROM n");
    const std::string strPort = std::to_string(20000 + (::getpid() + 3) % 20000);
    const std::string strRelayed =
        WithKey(WithKey(ConnectTo(source.strName), "SERVER", "127.0.0.1"), "PORT", strPort);
    const pid_t relay = StartRelay(strPort, strRelayed);
    ASSERT_GT(relay, 0) << "no relay: socat is needed (make deps installs it)";
    const pid_t run = StartHost({"export", "--recreate", "--data", "--connect", strRelayed, "--output", "-"},
                                dir.File(""), dir.File("cut.sql"), dir.File("stderr"));
    for (int nTry = 0; nTry < 1000 && ReadWholeFile(dir.File("cut.sql")).find("INSERT") == std::string::npos;
         ++nTry)
        std::this_thread::sleep_for(20ms);
    ::kill(-relay, SIGSTOP);
    ::kill(run, SIGTERM);
    EXPECT_EQ(WaitAtMost(run, 10s), 143);
    ::kill(-relay, SIGKILL);
    ::kill(-relay, SIGCONT);
    const std::string strErr = ReadWholeFile(dir.File("stderr"));
    EXPECT_EQ(strErr.find("no category was written"), std::string::npos) << strErr;
    EXPECT_NE(ReadWholeFile(dir.File("cut.sql")).find("INSERT"), std::string::npos);

    TScratchDatabase target("stream_target");
    for (const char* pszOption : {"--progress", "--single-transaction"}) {
        const THostRun cut = RunHost({"apply", "-", "--connect", ConnectTo(target.strName), pszOption},
                                     dir.File(""), {}, std::nullopt, dir.File("cut.sql"));
        EXPECT_EQ(cut.nStatus, 1);
        EXPECT_EQ(cut.strErr, "sqlscripts: the stream ended before its closing line: it was cut short\n");
        EXPECT_EQ(Answer(target.db, "SELECT COUNT(*) FROM sys.tables").at("rows")[0][0], "0");
    }
    const pid_t whole =
        StartHost({"export", "--recreate", "--data", "--connect", ConnectTo(source.strName), "--output", "-"},
                  dir.File(""), dir.File("whole.sql"), dir.File("stderr"));
    ASSERT_EQ(WaitAtMost(whole, 120s), 0) << ReadWholeFile(dir.File("stderr"));
    const THostRun applied = RunHost({"apply", "-", "--connect", ConnectTo(target.strName), "--quiet"},
                                     dir.File(""), {}, std::nullopt, dir.File("whole.sql"));
    EXPECT_EQ(applied.nStatus, 0) << applied.strErr;
    EXPECT_EQ(Answer(target.db, "SELECT COUNT(*) FROM wide").at("rows")[0][0], "20000");
}

} // namespace
