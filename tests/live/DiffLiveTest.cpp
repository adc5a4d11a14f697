// sqlscripts diff against a live server: a database changed by SQL of the tests' own (diff/<database>.sql),
// compared with its original, migrated by the script diff writes, describes as the original afterwards; a
// second diff finds nothing, and every table both keep has every row it had. A folder and a snapshot as sides
// give the script two databases give; a script that fails midway changes nothing.
#include "DiffSupport.h"

#include <thread>

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kEverything = {"--drop", "--allow-data-loss", "--allow-rebuild", "--script",
                                              "-"};

// The batch that checks the target against FROM's hashes: only a diff that read FROM from a server has it.
bool IsDriftCheck(const std::string& strBatch) {
    return strBatch.find("DECLARE @strMoved") != std::string::npos;
}

// A migration script without its first three lines, which say when it was made and from what, and without
// what a folder applied on this server cannot carry (server-limits): the names it gives defaults from their
// object ids, and the filtered index, whose PAD_INDEX it reports from the filter it does not report.
std::string Comparable(const std::string& strScript) {
    size_t nStart = 0;
    for (int nLine = 0; nLine < 3 && nStart != std::string::npos; ++nLine)
        nStart = strScript.find('\n', nStart) + 1;
    std::string strComparable;
    for (const std::string& strBatch : Batches(strScript.substr(nStart)))
        if (strBatch.find("[ix_order lines_when]") == std::string::npos && !IsDriftCheck(strBatch))
            strComparable += strBatch + "\nGO\n";
    return std::regex_replace(strComparable, std::regex("\\[DF_([^\\]]*)_[0-9]+\\]"), "[DF_$1_<id>]");
}

// The script with a batch that fails put before the batch at its middle.
std::string WithFailureMidway(const std::string& strScript) {
    const std::vector<std::string> aBatches = Batches(strScript);
    std::string strFailing;
    for (size_t i = 0; i < aBatches.size(); ++i)
        strFailing += (i == aBatches.size() / 2 ? "SELECT 1 / 0;\nGO\n" : "") + aBatches[i] + "\nGO\n";
    return strFailing;
}

// The feature database and a copy changed in every kind of object: each migrated to the other's state. The
// original's folder (applied to a scratch database of the --shadow server) as TO and the copy's snapshot as
// FROM give the script of the two databases; that script, failing midway, leaves a copy as it was.
TEST(LiveDiff, MigratesTheFeatureDatabaseBothWays) {
    TScratchDatabase original("diff_original"), changed("diff_changed"), changedAgain("diff_changed_again");
    for (TScratchDatabase* pDb : {&original, &changed, &changedAgain})
        ASSERT_EQ(Apply(pDb->db, kRecreateDir, {"features.sql"}), 0);
    for (TScratchDatabase* pDb : {&changed, &changedAgain})
        ASSERT_EQ(Apply(pDb->db, kDiffDir, {"features.sql"}), 0);

    const CTempDir dir;
    const THostRun folder =
        Export(dir.File("original"), {"--recreate", "--connect", ConnectTo(original.strName)});
    ASSERT_EQ(folder.nStatus, 0) << folder.strErr;
    AddServerSettings(dir.File("original"));
    const THostRun snapshot =
        Export(dir.File("changed"), {"--recreate", "--connect", ConnectTo(changed.strName), "--save-snapshot",
                                     dir.File("changed.json")});
    ASSERT_EQ(snapshot.nStatus, 0) << snapshot.strErr;
    const THostRun live = Diff(changed.strName, original.strName, kEverything);
    ASSERT_EQ(live.nStatus, 1) << live.strErr;
    std::vector<std::string> aShadowed = kEverything;
    aShadowed.insert(aShadowed.end(), {"--shadow", ConnectTo("master")});
    const THostRun recorded = Diff(dir.File("changed.json"), dir.File("original"), aShadowed);
    EXPECT_EQ(recorded.nStatus, 1) << recorded.strErr;
    EXPECT_SCRIPT(Comparable(recorded.strOut), Comparable(live.strOut));

    const TRefusals aRefused = RunBatches(changedAgain.db, Batches(WithFailureMidway(live.strOut)));
    ASSERT_FALSE(aRefused.empty());
    EXPECT_NE(aRefused.front().second.find("zero"), std::string::npos) << aRefused.front().second;
    ExpectAlike(changed.strName, changedAgain.strName);

    ExpectMigrated(changed, original.strName, original.strName);
    ExpectMigrated(original, changedAgain.strName, changedAgain.strName);
}

// Changes with dependents (dependents.sql, changed by dependents-changed.sql): a function that two views use
// made again with them, a view over a dropped column dropped with it, tables that reference each other
// dropped after their keys. The script stops at its first batch on a target that moved since the
// diff, and rolls back when it fails midway: the target is as it was either way.
TEST(LiveDiff, MigratesChangesWithDependentsAndRefusesATargetThatMoved) {
    TScratchDatabase from("dependents_from"), to("dependents_to"), moved("dependents_moved");
    for (TScratchDatabase* pDb : {&from, &to, &moved})
        ASSERT_EQ(Apply(pDb->db, kDiffDir, {"dependents.sql"}), 0);
    ASSERT_EQ(Apply(to.db, kDiffDir, {"dependents-changed.sql"}), 0);

    const THostRun diff = Diff(moved.strName, to.strName, kEverything);
    ASSERT_EQ(diff.nStatus, 1) << diff.strErr;
    EXPECT_NE(diff.strErr.find("warning: dropping table dbo.Zones loses its rows"), std::string::npos)
        << diff.strErr;
    ASSERT_TRUE(IsDriftCheck(Batches(diff.strOut)[1])) << diff.strOut;
    const TRefusals aFailed = RunBatches(moved.db, Batches(WithFailureMidway(diff.strOut)));
    ASSERT_FALSE(aFailed.empty());
    EXPECT_NE(aFailed.front().second.find("zero"), std::string::npos) << aFailed.front().second;
    ExpectAlike(from.strName, moved.strName);

    // apply, which reads every answer of a batch, names the objects that moved (and runs the script without
    // looking for the objects it makes).
    RunSql(moved.db, "ALTER TABLE [dbo].[Orders] ADD [Extra] int NULL");
    const TDescription before = Describe(moved.strName);
    const CTempDir dir;
    WriteWholeFile(dir.File("migration.sql"), diff.strOut);
    const THostRun apply =
        RunHost({"apply", dir.File("migration.sql"), "--connect", ConnectTo(moved.strName)}, dir.File(""));
    EXPECT_EQ(apply.nStatus, 1) << apply.strErr;
    EXPECT_NE(apply.strErr.find("changed since: table dbo.Orders"), std::string::npos) << apply.strErr;
    EXPECT_EQ(Differences(before, Describe(moved.strName), {}), "");

    ExpectMigrated(from, to.strName, to.strName);
}

// The scratch databases of the --shadow server that runs of this process started.
long ShadowDatabases(CDatabase& db, pid_t run) {
    const nlohmann::json answer = Answer(db, "SELECT COUNT(*) FROM sys.databases WHERE name LIKE "
                                             "'sqlscripts[_]shadow[_]" +
                                                 std::to_string(run) + "[_]%'");
    return std::stol(answer.at("rows")[0][0].get<std::string>());
}

// Ctrl-C while a folder is applied to its scratch database: the run ends as interrupted, and the database
// is gone.
TEST(LiveDiff, CtrlCLeavesNoScratchDatabase) {
    const CTempDir dir;
    const THostRun folder =
        Export(dir.File("northwind"), {"--recreate", "--connect", ConnectTo("northwind")});
    ASSERT_EQ(folder.nStatus, 0) << folder.strErr;
    CDatabase master;
    master.OpenEx(ConnectTo("master").c_str(), CDatabase::noOdbcDialog);
    const pid_t run =
        StartHost({"diff", dir.File("northwind"), ConnectTo("northwind"), "--shadow", ConnectTo("master")},
                  dir.File(""), dir.File("stdout"), dir.File("stderr"));
    for (int nTry = 0; nTry < 1000 && ShadowDatabases(master, run) == 0; ++nTry)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ::kill(run, SIGINT);
    EXPECT_EQ(WaitAtMost(run, std::chrono::seconds(20)), 130) << ReadWholeFile(dir.File("stderr"));
    EXPECT_EQ(ShadowDatabases(master, run), 0);
}

// The databases of the server whose names start so.
std::vector<std::string> DatabasesLike(CDatabase& db, const std::string& strPrefix) {
    std::vector<std::string> aNames;
    for (const nlohmann::json& row :
         Answer(db, "SELECT name FROM sys.databases WHERE name LIKE '" + strPrefix + "%' ORDER BY name")
             .at("rows"))
        aNames.push_back(row[0].get<std::string>());
    return aNames;
}

// A folder that makes its database, compared through the shadow server: its database file is left out, so the
// database it names is not made and the folder compares with its source as it is; a file that switches
// database is refused, naming itself and its line. Either way the server's databases are as they were.
TEST(LiveDiff, ShadowApplyStaysInItsScratchDatabase) {
    const CTempDir dir;
    TScratchDatabase source("shadow_stays");
    RunSql(source.db, "CREATE TABLE dbo.Kept (Id int NOT NULL PRIMARY KEY, Name nvarchar(20) NULL)");
    RunSql(source.db, "INSERT INTO dbo.Kept (Id, Name) VALUES (1, N'one'), (2, N'two')");
    const std::string strMade = source.strName + "_made";
    const THostRun folder = Export(dir.File("made"), {"--recreate", "--data", "--create-database", strMade,
                                                      "--connect", ConnectTo(source.strName)});
    ASSERT_EQ(folder.nStatus, 0) << folder.strErr;
    CDatabase master;
    master.OpenEx(ConnectTo("master").c_str(), CDatabase::noOdbcDialog);
    const std::string strMine = "sqlscripts[_]live[_]" + std::to_string(::getpid()) + "[_]";
    const std::vector<std::string> aBefore = DatabasesLike(master, strMine);

    const pid_t run =
        StartHost({"diff", dir.File("made"), ConnectTo(source.strName), "--shadow", ConnectTo("master")},
                  dir.File(""), dir.File("stdout"), dir.File("stderr"));
    EXPECT_EQ(WaitAtMost(run, std::chrono::seconds(120)), 0) << ReadWholeFile(dir.File("stderr"));
    EXPECT_EQ(ReadWholeFile(dir.File("stdout")), "");
    EXPECT_EQ(DatabasesLike(master, strMine), aBefore);
    EXPECT_EQ(ShadowDatabases(master, run), 0);

    WriteWholeFile(dir.File("made/99-Elsewhere.sql"), "SELECT 1;\r\nGO\r\nUSE [master];\r\nGO\r\n");
    WriteWholeFile(dir.File("made/manifest.txt"),
                   ReadWholeFile(dir.File("made/manifest.txt")) + "99-Elsewhere.sql\n");
    const THostRun refused = RunHost(
        {"diff", dir.File("made"), ConnectTo(source.strName), "--shadow", ConnectTo("master")}, dir.File(""));
    EXPECT_EQ(refused.nStatus, 2);
    EXPECT_EQ(refused.strErr,
              "sqlscripts: 99-Elsewhere.sql:3: USE would leave the scratch database; a folder compared "
              "is applied only inside it\nsqlscripts: " +
                  dir.File("made") + " could not be applied to a scratch database of the --shadow server\n");
    EXPECT_EQ(DatabasesLike(master, strMine), aBefore);
}

} // namespace
