// --recreate carries a database's users, roles, nested role members and a schema owned by a user over to a
// fresh database, and the permission statements this server takes apply there: the login is the test's own,
// made for it and dropped after it.
#include "RecreateSupport.h"

#include "model/ModelLoader.h"
#include "recreate/RecreateScript.h"

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

TModelPermission Permission(const std::string& strSecurable, const std::string& strName,
                            const std::string& strColumn, const std::string& strPermission, char cState,
                            const std::string& strGrantee) {
    TModelPermission permission;
    permission.strClass = strSecurable == "SCHEMA" ? "SCHEMA" : "OBJECT_OR_COLUMN";
    permission.strSecurable = strSecurable;
    permission.strSchema = strSecurable == "SCHEMA" ? "" : "ledger";
    permission.strName = strName;
    permission.strColumn = strColumn;
    permission.strPermission = strPermission;
    permission.cState = cState;
    permission.strGrantee = strGrantee;
    return permission;
}

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

    // The server reports no permission to carry over: the forms of them it takes are written from the
    // original's model with such permissions added, and applied to the copy.
    TCatalogModel model = LoadCatalogModel(original.db);
    model.aPermissions = {Permission("OBJECT", "entries", "amount", "SELECT", 'G', "readers"),
                          Permission("OBJECT", "entries", "", "INSERT", 'W', "auditors"),
                          Permission("OBJECT", "entries", "id", "SELECT", 'R', "readers"),
                          Permission("OBJECT", "clear", "", "EXECUTE", 'G', "auditors"),
                          Permission("OBJECT", "totals", "", "SELECT", 'G', "public"),
                          Permission("SCHEMA", "ledger", "", "SELECT", 'G', "readers")};
    std::string strGrants;
    for (const TRecreateStep& step : ScriptCatalogModel(model).aSteps)
        if (step.eKind == eModelKind::Permission)
            strGrants += step.strText;
    EXPECT_EQ(strGrants, "GRANT SELECT ON SCHEMA::[ledger] TO [readers];\r\nGO\r\n"
                         "GRANT EXECUTE ON OBJECT::[ledger].[clear] TO [auditors];\r\nGO\r\n"
                         "GRANT SELECT ([amount]) ON OBJECT::[ledger].[entries] TO [readers];\r\n"
                         "GRANT INSERT ON OBJECT::[ledger].[entries] TO [auditors] WITH GRANT OPTION;\r\n"
                         "REVOKE SELECT ([id]) ON OBJECT::[ledger].[entries] FROM [readers];\r\nGO\r\n"
                         "GRANT SELECT ON OBJECT::[ledger].[totals] TO [public];\r\nGO\r\n");
    EXPECT_EQ(ApplyScript(copy.db, "permissions", strGrants), 0);
}

} // namespace
