#include "scripting/Keys.h"

#include "scripting/ScriptTestSupport.h"

namespace {

const char kPkOrders[] =
    "ALTER TABLE [dbo].[Orders] ADD \r\n\tPRIMARY KEY CLUSTERED \r\n\t( \r\n\t\t[OrderId] \r\n\t)  "
    "\r\nGO \r\n\r\n";
const char kPkOrderLines[] =
    "ALTER TABLE [dbo].[OrderLines] ADD \r\n\tPRIMARY KEY NONCLUSTERED \r\n\t( "
    "\r\n\t\t[OrderId],\r\n\t\t[LineNo] \r\n\t) WITH  FILLFACTOR = 80  \r\nGO \r\n\r\n";
const char kFkOrderLines[] =
    "ALTER TABLE [dbo].[OrderLines] ADD \r\n \tFOREIGN KEY \r\n\t( \r\n\t\t[OrderId] \r\n\t) "
    "REFERENCES [Orders] \r\n\t( \r\n\t\t[OrderId] \r\n\t)  ON DELETE  CASCADE \r\n\t,\r\n"
    "\tFOREIGN KEY \r\n\t( \r\n\t\t[ProductId] \r\n\t) REFERENCES [Products] \r\n\t( "
    "\r\n\t\t[ProductId] \r\n\t)  ON DELETE  SET DEFAULT  ON UPDATE  SET NULL\r\nGO \r\n\r\n";

struct TKeyCase {
    const char* pszSchema;
    const char* pszName;
    const char* pszExpected;
};

} // namespace

TEST(KeysTest, PrimaryKeyStatements) {
    CSnapshotCatalog catalog(FixturePath("scripting2/keys.json"));
    const TKeyCase aCases[] = {
        {"dbo", "PK_Orders", kPkOrders},
        {"dbo", "PK_OrderLines", kPkOrderLines},
        {"", "PK_Orders", kPkOrders}, // an empty schema is dbo
        {"dbo", "PK_Gone", ""},
        {"dbo", "", ""},
        {"dbo", nullptr, ""},
    };
    CSQLPKeys keys;
    for (const TKeyCase& test : aCases) {
        SCOPED_TRACE(test.pszName ? test.pszName : "(null)");
        EXPECT_SCRIPT(keys.ScriptObject(test.pszSchema, test.pszName), test.pszExpected);
    }
}

TEST(KeysTest, AllPrimaryKeysInNameOrder) {
    CSnapshotCatalog catalog(FixturePath("scripting2/keys.json"));
    CSQLPKeys keys;
    EXPECT_SCRIPT(keys.ScriptAllObjects(), std::string(kPkOrderLines) + kPkOrders);
    EXPECT_TRUE(ShownMessages().empty());
}

TEST(KeysTest, ForeignKeysOfOneTableShareOneStatement) {
    CSnapshotCatalog catalog(FixturePath("scripting2/keys.json"));
    const TKeyCase aCases[] = {
        {"dbo", "OrderLines", kFkOrderLines},
        {"dbo", "Orders", ""}, // no foreign keys: no GO either
        {"dbo", "", ""},
    };
    CSQLForeignKeys keys;
    for (const TKeyCase& test : aCases) {
        SCOPED_TRACE(test.pszName);
        EXPECT_SCRIPT(keys.ScriptObject(test.pszSchema, test.pszName), test.pszExpected);
    }
    EXPECT_SCRIPT(keys.ScriptAllObjects(), kFkOrderLines);
}
