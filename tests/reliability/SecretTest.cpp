// A password given in the connect string never shows: not in errors, snapshot files or the host's output.
#include "platform/PlatformTestSupport.h"

#include "backend/ConnectSecrets.h"

#include <cstdio>

namespace {

constexpr const char* kSecret = "TopSecret42";

TEST(CSecretTest, PasswordsAreMaskedInText) {
    const struct {
        std::string strText;
        std::string strConnect;
        std::string strExpected;
    } aCases[] = {
        {"Login failed: DRIVER=x;UID=sa;PWD=TopSecret42;", "DRIVER=x;UID=sa;PWD=TopSecret42",
         "Login failed: DRIVER=x;UID=sa;PWD=***;"},
        {"bad password 'TopSecret42'", "uid=sa;pwd=TopSecret42", "bad password '***'"},
        {"echo: Password={Top;Secret}", "Password={Top;Secret};Server=s", "echo: Password=***"},
        {"echo: password=Other1; PWD=Other2", "Server=s", "echo: password=***; PWD=***"},
        {"nothing to hide", "DSN=Sales", "nothing to hide"},
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.strText);
        EXPECT_EQ(HideConnectSecrets(c.strText, c.strConnect), c.strExpected);
    }
}

// A driver that quotes the whole connect string in its login error.
TEST(CSecretTest, AConnectionErrorHidesThePassword) {
    CTempDir dir;
    const std::string strConnect = SqliteConnect(dir.File("missing/db.sqlite")) + ";UID=sa;PWD=" + kSecret;
    COdbcQuirks quirks;
    quirks.FakeDiagnostics({{{"28000", 18456, CString("Login failed for " + strConnect)}}});
    CDatabase db;
    const auto pError = CatchAs<CDBException>(
        [&] { db.OpenEx(("DRIVER=/nonexistent/driver.so;PWD=" + std::string(kSecret)).c_str()); });
    ASSERT_NE(pError, nullptr);
    EXPECT_EQ(pError->GetErrorText().Str().find(kSecret), std::string::npos) << pError->GetErrorText().Str();
    EXPECT_NE(pError->GetErrorText().Str().find("Login failed for"), std::string::npos);
}

TEST(CSecretTest, ARecordedSnapshotHoldsNoConnectString) {
    CTempDir dir;
    const std::string strSnapshot = dir.File("recorded.json");
    {
        CDatabase db;
        db.OpenEx(("SAVE_SNAPSHOT=" + strSnapshot + ";" + SqliteConnect(dir.File("db.sqlite")) +
                   ";UID=sa;PWD=" + kSecret)
                      .c_str());
        RunSql(db, "SELECT 1 AS one");
        EXPECT_NE(CatchAs<CDBException>([&] { RunSql(db, "SELECT * FROM no_such_table"); }), nullptr);
    }
    const std::string strFile = ReadWholeFile(strSnapshot);
    ASSERT_FALSE(strFile.empty());
    EXPECT_EQ(strFile.find(kSecret), std::string::npos);
    EXPECT_EQ(strFile.find("Database="), std::string::npos);
    EXPECT_EQ(strFile.find(kSqliteDriver), std::string::npos);
}

// stdout and stderr of one run of the host.
std::string RunHost(const std::string& strArguments) {
    std::FILE* pPipe = ::popen((std::string(SQLSCRIPTS_BINARY) + " " + strArguments + " 2>&1").c_str(), "r");
    if (!pPipe)
        return "popen failed";
    std::string strOutput;
    char szBuffer[512];
    while (const size_t nRead = std::fread(szBuffer, 1, sizeof szBuffer, pPipe))
        strOutput.append(szBuffer, nRead);
    ::pclose(pPipe);
    return strOutput;
}

TEST(CSecretTest, TheHostNeverPrintsThePassword) {
    CTempDir dir;
    const std::string strPwd = std::string(";UID=sa;PWD=") + kSecret;
    const std::string strLive = SqliteConnect(dir.File("db.sqlite")) + strPwd;
    const std::string strBroken = SqliteConnect(dir.File("missing/db.sqlite")) + strPwd;
    const std::string strNoDriver = "DRIVER=/nonexistent/driver.so" + strPwd;
    const std::string strSnapshot = dir.File("saved.json");
    const std::string aCommands[] = {
        "export --connect '" + strLive + "' --dir " + dir.File("out") + " --save-snapshot " + strSnapshot,
        "export --parallel --connect '" + strBroken + "' --dir " + dir.File("out2"),
        "object --connect '" + strNoDriver + "' Orders",
        "object --connect '" + strLive + "' --type tables Orders",
        "fields --connect '" + strLive + "' Orders",
    };
    for (const std::string& strCommand : aCommands) {
        SCOPED_TRACE(strCommand);
        const std::string strOutput = RunHost(strCommand);
        EXPECT_FALSE(strOutput.empty());
        EXPECT_EQ(strOutput.find(kSecret), std::string::npos) << strOutput;
    }
    const std::string strFile = ReadWholeFile(strSnapshot);
    EXPECT_FALSE(strFile.empty());
    EXPECT_EQ(strFile.find(kSecret), std::string::npos);
}

} // namespace
