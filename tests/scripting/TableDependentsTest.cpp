#include "scripting/Tables.h"

#include "scripting/ScriptTestSupport.h"

namespace {

// One text per step, in the order of the steps.
const char* const kOrdersDependents[] = {
    // primary key
    "ALTER TABLE [dbo].[Orders] ADD \r\n\tPRIMARY KEY CLUSTERED \r\n\t( \r\n\t\t[OrderId] \r\n\t)  \r\nGO "
    "\r\n\r\n",
    // both foreign keys, in one statement
    "ALTER TABLE [dbo].[Orders] ADD \r\n \tFOREIGN KEY \r\n\t( \r\n\t\t[CustomerId] \r\n\t) REFERENCES "
    "[Customers] "
    "\r\n\t( \r\n\t\t[CustomerId] \r\n\t)  \r\n\t,\r\n\tFOREIGN KEY \r\n\t( \r\n\t\t[ShopId] \r\n\t) "
    "REFERENCES [Shops] "
    "\r\n\t( \r\n\t\t[ShopId] \r\n\t)  ON DELETE  SET NULL  ON UPDATE  CASCADE\r\nGO \r\n\r\n",
    // the index of this table, not the one of the same name on dbo.OrderArchive
    "CREATE   INDEX [IX_Orders_Date] ON [dbo].[Orders]([OrderDate]) ON [PRIMARY]\r\nGO \r\n\r\n",
    // two checks, in the order of the check rows
    "ALTER TABLE [dbo].[Orders] WITH NOCHECK ADD CHECK ([Qty]>(0)) \r\nGO\r\n\r\n"
    "ALTER TABLE [dbo].[Orders] WITH NOCHECK ADD CHECK ([OrderDate]>='20000101') \r\nGO\r\n\r\n",
    // bound default
    "IF OBJECT_ID('[DF_Zero]', 'D') IS NULL \r\n\tEXEC(\"CREATE DEFAULT DF_Zero AS 0\")\r\nGO\r\n\r\n",
    // default constraint
    "ALTER TABLE [dbo].[Orders] ADD DEFAULT (getdate()) FOR [OrderDate] \r\nGO\r\n\r\n",
    // rule
    "IF OBJECT_ID('[R_Positive]', 'R') IS NULL \r\n\tEXEC(\"CREATE RULE R_Positive AS @value > "
    "0\")\r\nGO\r\n\r\n",
    // trigger
    "SET QUOTED_IDENTIFIER ON\r\nSET ANSI_NULLS OFF\r\nGO \r\n\r\n\r\n\r\nCREATE TRIGGER TR_Orders_Audit ON "
    "dbo.Orders "
    "AFTER INSERT AS\r\nSET NOCOUNT ON\r\nGO\r\n\r\n",
};

std::string OrdersDependents() {
    std::string strText;
    for (const char* pszStep : kOrdersDependents)
        strText += pszStep;
    return strText;
}

} // namespace

TEST(TableDependentsTest, EveryKindInStepOrder) {
    CSnapshotCatalog catalog(FixturePath("scripting2/dependents.json"));
    CSQLTable table;
    EXPECT_SCRIPT(table.ScriptDependents("dbo", "Orders"), OrdersDependents());
    // The insert form inherits the operation; an empty schema is dbo.
    CSQLTableInsertScript insert;
    EXPECT_SCRIPT(insert.ScriptDependents("", "Orders"), OrdersDependents());
    EXPECT_TRUE(ShownMessages().empty());
}

TEST(TableDependentsTest, TableWithoutDependentsGivesEmptyText) {
    CSnapshotCatalog catalog(FixturePath("scripting2/dependents.json"));
    CSQLTable table;
    EXPECT_SCRIPT(table.ScriptDependents("dbo", "Lonely"), "");
    EXPECT_TRUE(ShownMessages().empty());
}

TEST(TableDependentsTest, NoNameGivesEmptyText) {
    CSnapshotCatalog catalog(FixturePath("scripting2/dependents.json"));
    CSQLTable table;
    EXPECT_TRUE(table.ScriptDependents("dbo", "").IsEmpty());
    EXPECT_TRUE(table.ScriptDependents("dbo", nullptr).IsEmpty());
    EXPECT_TRUE(ShownMessages().empty());
}

TEST(TableDependentsTest, FailureInAnyStepDropsEverything) {
    CSnapshotCatalog catalog(FixturePath("scripting2/dependents.json"));
    CSQLTable table;
    EXPECT_SCRIPT(table.ScriptDependents("dbo", "Broken"), "");
    const std::vector<TUiMessage> aMessages = ShownMessages();
    ASSERT_EQ(aMessages.size(), 1u);
    EXPECT_EQ(aMessages[0].strText, "Ошибка создания скрипта. Invalid object name 'sys.foreign_keys'.");
}
