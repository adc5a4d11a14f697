// --recreate carries a database's users, roles, nested role members and a schema owned by a user over to a
// fresh database: the login is the test's own, made for it and dropped after it.
#include "RecreateSupport.h"

namespace {

// A login of the test's own: logins are the server's, so it outlives the databases unless dropped.
struct TScratchLogin {
    TScratchLogin() : strName("sqlscripts_live_" + std::to_string(::getpid()) + "_login") {
        RunOnMaster("CREATE LOGIN [" + strName + "] WITH PASSWORD = 'Live-Test-1234'");
    }
    ~TScratchLogin() {
        if (const auto e = RunOnMasterRetried("DROP LOGIN [" + strName + "]"))
            ADD_FAILURE() << strName << " was not dropped: " << e->GetErrorText().Str();
    }
    const std::string strName;
};

TEST(LiveRecreateSecurity, UsersRolesMembersAndOwnedSchemaComeBackAlike) {
    const TScratchLogin login;
    TScratchDatabase original("security"), copy("security_copy");
    for (const std::string& strBatch :
         {"CREATE USER [clerk] FOR LOGIN [" + login.strName + "] WITH DEFAULT_SCHEMA = [ledger]",
          std::string("CREATE ROLE [readers]"), std::string("CREATE ROLE [auditors]"),
          std::string("ALTER ROLE [readers] ADD MEMBER [auditors]"),
          std::string("ALTER ROLE [auditors] ADD MEMBER [clerk]"),
          std::string("CREATE SCHEMA [ledger] AUTHORIZATION [clerk]"),
          std::string("CREATE TABLE [ledger].[entries] ([id] int NOT NULL PRIMARY KEY, [amount] int NULL)"),
          std::string(
              "CREATE VIEW [ledger].[totals] AS SELECT SUM([amount]) AS [total] FROM [ledger].[entries]"),
          std::string("CREATE PROCEDURE [ledger].[clear] AS DELETE FROM [ledger].[entries]"),
          std::string("GRANT SELECT ON [ledger].[entries] TO [readers]"),
          std::string("GRANT SELECT ON [ledger].[totals] TO [clerk]"),
          std::string("GRANT EXECUTE ON [ledger].[clear] TO [auditors]"),
          std::string("GRANT EXECUTE ON SCHEMA::[ledger] TO [readers]")})
        RunSql(original.db, strBatch.c_str());

    const CTempDir dir;
    const THostRun run =
        Export(dir.File("out"), {"--recreate", "--quiet", "--connect", ConnectTo(original.strName)});
    ASSERT_EQ(run.nStatus, 0) << run.strErr;
    EXPECT_EQ(run.strErr, "");
    EXPECT_EQ(Apply(copy.db, dir.File("out"), Manifest(dir.File("out"))), 0);
    ExpectAlike(original.strName, copy.strName);
}

} // namespace
