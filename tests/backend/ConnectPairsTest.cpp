// Connect strings read and changed the one way every part of the program reads them.
#include "backend/ConnectString.h"

#include <gtest/gtest.h>

namespace {

TEST(ConnectPairsTest, ValuesByKeyWithoutRegardToCase) {
    const char* aszCases[][3] = {
        // connect string, key, value ("-" for none)
        {"DRIVER=FreeTDS;SERVER=db;DATABASE=Sales", "database", "Sales"},
        {"DSN=x; Database = Sales ;UID=u", "DATABASE", "Sales"},
        {"PWD={a;b}=c};UID=u", "UID", "u"},
        {"PWD={a;b}=c};UID=u", "PWD", "a;b}=c"},
        {"SNAPSHOT={/tmp/x};FAIL_STATEMENT=3", "fail_statement", "3"},
        {"ClientCharset=UTF-8", "CLIENTCHARSET", "UTF-8"},
        {"A=1;;B=", "B", ""},
        {"A=1", "B", "-"},
        {"NOVALUE;A=2", "A", "2"},
    };
    for (const auto& c : aszCases)
        EXPECT_EQ(FindConnectValue(c[0], c[1]).value_or("-"), c[2]) << c[0] << " " << c[1];
}

TEST(ConnectPairsTest, AValueReplacedOrAdded) {
    const char* aszCases[][4] = {
        {"DRIVER=FreeTDS;SERVER=s;DATABASE=master;UID=sa", "DATABASE", "copy",
         "DRIVER=FreeTDS;SERVER=s;UID=sa;DATABASE=copy"},
        {"DSN=Sales;", "Database", "x", "DSN=Sales;Database=x"},
        {"database=a;DSN=Sales;DATABASE={b;c}", "DATABASE", "d", "DSN=Sales;DATABASE=d"},
        {"", "DATABASE", "a;b", "DATABASE={a;b}"},
    };
    for (const auto& c : aszCases)
        EXPECT_EQ(WithConnectValue(c[0], c[1], c[2]), c[3]) << c[0];
}

} // namespace
