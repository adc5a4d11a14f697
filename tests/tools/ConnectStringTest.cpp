// What the host shows of a connect string in its error lines.
#include "ConnectString.h"

#include <gtest/gtest.h>

namespace {

TEST(ConnectStringTest, PasswordsAreHiddenWhereverTheyAppear) {
    const struct {
        const char* pszConnect;
        const char* pszText;
        const char* pszExpected;
    } aCases[] = {
        {"DRIVER=FreeTDS;SERVER=db;UID=reader;PWD=s3cr3t", "login s3cr3t refused, s3cr3t",
         "login *** refused, ***"},
        {"DSN=Sales;uid=reader;pwd=hush", "bad hush", "bad ***"},
        {"DSN=Sales;Password = hush ;UID=reader", "bad hush", "bad ***"},
        {"DSN=Sales;PWD={a;b}=c};UID=reader", "bad {a;b}=c} and a;b}=c", "bad *** and ***"},
        {"DSN=Sales;UID=reader", "bad reader", "bad reader"},
        {"DSN=Sales;PWD=;UID=reader", "bad reader", "bad reader"},
    };
    for (const auto& test : aCases)
        EXPECT_EQ(HideSecrets(test.pszText, test.pszConnect), test.pszExpected) << test.pszConnect;
}

TEST(ConnectStringTest, DiagnosticsBecomeOneLine) {
    EXPECT_EQ(OneLine("first\nsecond\r\nthird\n"), "first / second / third");
    EXPECT_EQ(OneLine("only"), "only");
}

} // namespace
