#include "scripting/Indexes.h"

#include "scripting/ScriptTestSupport.h"

namespace {

struct TIndexCase {
    const char* pszSchema;
    const char* pszTable;
    const char* pszIndex;
    const char* pszExpected;
};

// In the name order of the index list.
const TIndexCase kIndexCases[] = {
    {"dbo", "OrderLines", "IX_OrderLines_Product",
     "CREATE   INDEX [IX_OrderLines_Product] ON [dbo].[OrderLines]([ProductId]) ON [PRIMARY]\r\nGO \r\n\r\n"},
    {"dbo", "Orders", "IX_Orders_Date",
     "CREATE   INDEX [IX_Orders_Date] ON [dbo].[Orders]([OrderDate])  WITH  FILLFACTOR = 90 ON "
     "[PRIMARY]\r\nGO "
     "\r\n\r\n"},
    {"dbo", "Products", "UQ_Products_Code",
     "CREATE UNIQUE  INDEX [UQ_Products_Code] ON [dbo].[Products]([Code]) ON [FG_Index]\r\nGO \r\n\r\n"},
    {"log", "Events", "UX_Events_Time",
     "CREATE UNIQUE CLUSTERED INDEX [UX_Events_Time] ON [log].[Events]([EventId], [EventTime]) ON "
     "[PRIMARY]\r\nGO \r\n\r\n"},
};

} // namespace

TEST(IndexesTest, AllIndexesOneStatementEach) {
    CSnapshotCatalog catalog(FixturePath("scripting2/indexes.json"));
    std::string strExpected;
    for (const TIndexCase& test : kIndexCases)
        strExpected += test.pszExpected;
    CSQLIndexes indexes;
    EXPECT_SCRIPT(indexes.ScriptAllObjects(), strExpected);
    EXPECT_TRUE(ShownMessages().empty());
}

TEST(IndexesTest, OneIndexOfOneTable) {
    CSnapshotCatalog catalog(FixturePath("scripting2/indexes.json"));
    CSQLIndexes indexes;
    for (const TIndexCase& test : kIndexCases) {
        SCOPED_TRACE(test.pszIndex);
        EXPECT_SCRIPT(indexes.ScriptTableIndex(test.pszSchema, test.pszTable, test.pszIndex),
                      test.pszExpected);
    }
    // The server resolves table names without regard to case; index names are the catalog's own.
    EXPECT_SCRIPT(indexes.ScriptTableIndex("", "ORDERS", "IX_Orders_Date"), kIndexCases[1].pszExpected);
    EXPECT_TRUE(indexes.ScriptTableIndex("dbo", "Products", "IX_Orders_Date").IsEmpty());
    EXPECT_TRUE(indexes.ScriptTableIndex("dbo", "Orders", "IX_Gone").IsEmpty());
}

TEST(IndexesTest, SingleObjectFormIsAlwaysEmpty) {
    CSnapshotCatalog catalog(FixturePath("scripting2/indexes.json"));
    CSQLIndexes indexes;
    EXPECT_TRUE(indexes.ScriptObject("dbo", "IX_Orders_Date").IsEmpty());
    EXPECT_TRUE(indexes.ScriptDependents("dbo", "Orders").IsEmpty());
}

TEST(IndexesTest, NoIndexesGiveEmptyText) {
    CSnapshotCatalog catalog(FixturePath("scripting2/empty.json"));
    CSQLIndexes indexes;
    EXPECT_TRUE(indexes.ScriptAllObjects().IsEmpty());
    EXPECT_TRUE(ShownMessages().empty());
}

TEST(IndexesTest, FailureDropsTheIndexesAlreadyScripted) {
    CSnapshotCatalog catalog(FixturePath("scripting2/indexes_failure.json"));
    CSQLIndexes indexes;
    EXPECT_SCRIPT(indexes.ScriptAllObjects(), "");
    const std::vector<TUiMessage> aMessages = ShownMessages();
    ASSERT_EQ(aMessages.size(), 1u);
    EXPECT_EQ(aMessages[0].strText, "Ошибка создания скрипта. Query timeout expired");
}
