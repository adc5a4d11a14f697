// export --recreate --create-database applied with sqlscripts apply on a connection to master: the first file
// makes the database and switches to it, every other file and the rows (on two connections) go into it, and
// it describes as the source. The first file is fitted to this server as server-limits says.
#include "RecreateSupport.h"
#include "RowCompare.h"

namespace {

// The database the folder creates, dropped at the end when it was.
struct TCreatedDatabase {
    ~TCreatedDatabase() {
        CDatabase master;
        master.OpenEx(ConnectTo("master").c_str(), CDatabase::noOdbcDialog);
        if (Answer(master, "SELECT name FROM sys.databases WHERE name = '" + strName + "'")
                .at("rows")
                .empty())
            return;
        master.Close();
        if (const auto e = RunOnMasterRetried("DROP DATABASE [" + strName + "]"))
            ADD_FAILURE() << strName << " was not dropped: " << e->GetErrorText().Str();
    }
    const std::string strName = "sqlscripts_live_" + std::to_string(::getpid()) + "_created";
};

TEST(LiveCreateDatabase, FolderAppliedOnMasterMakesTheDatabaseAndFillsIt) {
    TScratchDatabase source("createdb_source");
    ASSERT_EQ(
        RunBatches(source.db, {"CREATE TABLE dbo.Parent (Id int IDENTITY PRIMARY KEY, Name nvarchar(20))",
                               "CREATE TABLE dbo.Child (Id int PRIMARY KEY, ParentId int NOT NULL "
                               "REFERENCES dbo.Parent (Id))",
                               "CREATE VIEW dbo.Children AS SELECT c.Id, p.Name FROM dbo.Child c JOIN "
                               "dbo.Parent p ON p.Id = c.ParentId",
                               "INSERT INTO dbo.Parent (Name) VALUES (N'a'), (N'b'), (N'c')",
                               "INSERT INTO dbo.Child VALUES (1, 1), (2, 1), (3, 3)"}),
        TRefusals{});
    const TCreatedDatabase created;
    const CTempDir dir;
    const std::filesystem::path out = dir.File("out");
    const THostRun run = Export(out.string(), {"--recreate", "--data", "--quiet", "--create-database",
                                               created.strName, "--connect", ConnectTo(source.strName)});
    ASSERT_EQ(run.nStatus, 0) << run.strErr;
    ASSERT_EQ(Manifest(out).front(), "00-Database.sql");
    const std::string strDatabaseFile = (out / "00-Database.sql").string();
    WriteWholeFile(strDatabaseFile, FittedToServer(ReadWholeFile(strDatabaseFile)));

    const THostRun applied = RetriedWhileDatabasesMeet([&] {
        return ApplyTo("master", out.string(), {"--quiet", "--jobs", "2"});
    });
    ASSERT_EQ(applied.nStatus, 0) << applied.strErr;
    EXPECT_EQ(applied.strErr, "");
    ExpectAlike(source.strName, created.strName);
    for (const std::string& strDifference : RowDifferences(source.strName, created.strName))
        ADD_FAILURE() << strDifference;
}

} // namespace
