// A password given in the connect string never shows in an error. (The recorded snapshot file and the
// host's output are golden cases: snapshots/recorded.json, cases/cli/password-hidden-*.)
#include "platform/PlatformTestSupport.h"

#include "backend/ConnectSecrets.h"

namespace {

TEST(CSecretTest, PasswordsAreMaskedInText) {
    const struct {
        const char* pszText;
        const char* pszConnect;
        const char* pszExpected;
    } aCases[] = {
        {"Login failed: DRIVER=x;UID=sa;PWD=TopSecret42;", "DRIVER=x;UID=sa;PWD=TopSecret42",
         "Login failed: DRIVER=x;UID=sa;PWD=***;"},
        {"bad password 'TopSecret42'", "uid=sa;pwd=TopSecret42", "bad password '***'"},
        {"echo: Password={Top;Secret}", "Password={Top;Secret};Server=s", "echo: Password=***"},
        {"echo: password=Other1; PWD=Other2", "Server=s", "echo: password=***; PWD=***"},
        {"nothing to hide", "DSN=Sales", "nothing to hide"},
    };
    for (const auto& c : aCases)
        EXPECT_EQ(HideConnectSecrets(c.pszText, c.pszConnect), c.pszExpected) << c.pszText;
}

// A driver that quotes the password in its login error.
TEST(CSecretTest, AConnectionErrorHidesThePassword) {
    const COdbcQuirks quirks(
        {.aFakeDiagnostics = {{"28000", 18456, "Login failed: 'TopSecret42' is not the password"}}});
    CDatabase db;
    const auto e = CatchAs<CDBException>([&] { db.OpenEx("DRIVER=/nonexistent/driver.so;PWD=TopSecret42"); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetErrorText(), "Login failed: '***' is not the password");
}

} // namespace
