#include "scripting/Indexes.h"

#include "TableScriptsTestSupport.h"

using namespace tablescripts_test;

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

class IndexesTest : public CSnapshotTest {};

} // namespace

TEST_F(IndexesTest, AllIndexesOneStatementEach) {
    OpenFixture("indexes.json");
    std::string strExpected;
    for (const TIndexCase& test : kIndexCases)
        strExpected += test.pszExpected;
    CSQLIndexes indexes;
    EXPECT_TRUE(SameScript(strExpected, indexes.ScriptAllObjects()));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(IndexesTest, OneIndexOfOneTable) {
    OpenFixture("indexes.json");
    CSQLIndexes indexes;
    for (const TIndexCase& test : kIndexCases) {
        SCOPED_TRACE(test.pszIndex);
        EXPECT_TRUE(SameScript(test.pszExpected,
                               indexes.ScriptTableIndex(test.pszSchema, test.pszTable, test.pszIndex)));
    }
    // The server resolves table names without regard to case; index names are the catalog's own.
    EXPECT_TRUE(
        SameScript(kIndexCases[1].pszExpected, indexes.ScriptTableIndex("", "ORDERS", "IX_Orders_Date")));
    EXPECT_TRUE(indexes.ScriptTableIndex("dbo", "Products", "IX_Orders_Date").IsEmpty());
    EXPECT_TRUE(indexes.ScriptTableIndex("dbo", "Orders", "IX_Gone").IsEmpty());
}

TEST_F(IndexesTest, SingleObjectFormIsAlwaysEmpty) {
    OpenFixture("indexes.json");
    CSQLIndexes indexes;
    EXPECT_TRUE(indexes.ScriptObject("dbo", "IX_Orders_Date").IsEmpty());
    EXPECT_TRUE(indexes.ScriptDependents("dbo", "Orders").IsEmpty());
}

TEST_F(IndexesTest, NoIndexesGiveEmptyText) {
    OpenFixture("empty.json");
    CSQLIndexes indexes;
    EXPECT_TRUE(indexes.ScriptAllObjects().IsEmpty());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(IndexesTest, FailureDropsTheIndexesAlreadyScripted) {
    OpenFixture("indexes_failure.json");
    CSQLIndexes indexes;
    EXPECT_TRUE(SameScript("", indexes.ScriptAllObjects()));
    const std::vector<TUiMessage> aMessages = Messages();
    ASSERT_EQ(aMessages.size(), 1u);
    EXPECT_EQ(aMessages[0].strText, "Ошибка создания скрипта. Query timeout expired");
}
