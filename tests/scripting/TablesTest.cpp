#include "scripting/Tables.h"

#include "scripting/ScriptTestSupport.h"

namespace {

struct TTableCase {
    const char* pszSchema;
    const char* pszName;
    BOOL bCollation;
    const char* pszPlain;
    const char* pszInsert;
};

const TTableCase kTableCases[] = {
    {"dbo", "T", FALSE,
     "\r\nCREATE TABLE [dbo].[T] (\r\n \t[Id] [int] IDENTITY(1, 1) NOT NULL,\r\n\t[Name] [nvarchar](50) NULL "
     ")\r\nGO ",
     "INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'T', 'CREATE "
     "TABLE "
     "[dbo].[T] ( \t[Id] [int] IDENTITY(1, 1) NOT NULL,\t[Name] [nvarchar](50) NULL )')\r\n"},
    {"dbo", "T", TRUE,
     "\r\nCREATE TABLE [dbo].[T] (\r\n \t[Id] [int] IDENTITY(1, 1) NOT NULL,\r\n\t[Name] [nvarchar](50) "
     "COLLATE "
     "Cyrillic_General_CI_AS  NULL )\r\nGO ",
     "INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'T', 'CREATE "
     "TABLE "
     "[dbo].[T] ( \t[Id] [int] IDENTITY(1, 1) NOT NULL,\t[Name] [nvarchar](50) COLLATE "
     "Cyrillic_General_CI_AS  NULL "
     ")')\r\n"},
    // Computed columns take neither type nor collation; quotes are doubled in both forms, and the
    // insert form loses the CR LF inside the definition.
    {"dbo", "Calc", TRUE,
     "\r\nCREATE TABLE [dbo].[Calc] (\r\n \t[Price] [decimal](10, 2) NOT NULL,\r\n\t[Qty] [int] "
     "NULL,\r\n\t[Total] AS "
     "([Price]*[Qty]) PERSISTED NOT NULL,\r\n\t[Label] AS (''Qty: ''+CONVERT([varchar](10),[Qty]))  "
     ",\r\n\t[Size] AS "
     "(case when [Qty]>(9) then ''big''\r\nelse ''small'' end) PERSISTED NULL )\r\nGO ",
     "INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'Calc', "
     "'CREATE "
     "TABLE [dbo].[Calc] ( \t[Price] [decimal](10, 2) NOT NULL,\t[Qty] [int] NULL,\t[Total] AS "
     "([Price]*[Qty]) "
     "PERSISTED NOT NULL,\t[Label] AS (''Qty: ''+CONVERT([varchar](10),[Qty]))  ,\t[Size] AS (case when "
     "[Qty]>(9) "
     "then ''big''else ''small'' end) PERSISTED NULL )')\r\n"},
    {"sales", "Phones", FALSE,
     "\r\nCREATE TABLE [sales].[Phones] (\r\n \t[Id] [int] IDENTITY(100, 5) NOT NULL,\r\n\t[Phone] "
     "[PhoneNumber] "
     "NULL,\r\n\t[Code] [Code] NOT NULL )\r\nGO ",
     "INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('sales', 'Phones', "
     "'CREATE "
     "TABLE [sales].[Phones] ( \t[Id] [int] IDENTITY(100, 5) NOT NULL,\t[Phone] [PhoneNumber] NULL,\t[Code] "
     "[Code] "
     "NOT NULL )')\r\n"},
    {"sales", "Phones", TRUE,
     "\r\nCREATE TABLE [sales].[Phones] (\r\n \t[Id] [int] IDENTITY(100, 5) NOT NULL,\r\n\t[Phone] "
     "[PhoneNumber] "
     "COLLATE Latin1_General_CI_AS  NULL,\r\n\t[Code] [Code] NOT NULL )\r\nGO ",
     "INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('sales', 'Phones', "
     "'CREATE "
     "TABLE [sales].[Phones] ( \t[Id] [int] IDENTITY(100, 5) NOT NULL,\t[Phone] [PhoneNumber] COLLATE "
     "Latin1_General_CI_AS  NULL,\t[Code] [Code] NOT NULL )')\r\n"},
    // A table that is not there keeps the frame of both forms.
    {"dbo", "Missing", TRUE, "\r\n\r\nGO ",
     "INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'Missing', "
     "'')\r\n"},
};

} // namespace

TEST(TablesTest, ScriptsEachTableInPlainAndInsertForm) {
    CSnapshotCatalog catalog(FixturePath("scripting2/tables.json"));
    for (const TTableCase& test : kTableCases) {
        SCOPED_TRACE(std::string(test.pszName) +
                     (test.bCollation ? " with collation" : " without collation"));
        CSQLTable table;
        table.m_bScriptCollation = test.bCollation;
        EXPECT_SCRIPT(table.ScriptObject(test.pszSchema, test.pszName), test.pszPlain);
        CSQLTableInsertScript insert;
        insert.m_bScriptCollation = test.bCollation;
        EXPECT_SCRIPT(insert.ScriptObject(test.pszSchema, test.pszName), test.pszInsert);
    }
    EXPECT_TRUE(ShownMessages().empty());
}

TEST(TablesTest, NoNameGivesNoTextAndNoFrame) {
    CSnapshotCatalog catalog(FixturePath("scripting2/tables.json"));
    CSQLTableInsertScript insert;
    CSQLTable& table = insert;
    for (const char* pszName : {static_cast<const char*>(nullptr), ""}) {
        EXPECT_TRUE(table.CSQLTable::ScriptObject("dbo", pszName).IsEmpty());
        EXPECT_TRUE(table.ScriptObject("dbo", pszName).IsEmpty());
        EXPECT_TRUE(table.ScriptCreateTable("dbo", pszName).IsEmpty());
        EXPECT_TRUE(table.GetColumnList(pszName).IsEmpty());
    }
}

TEST(TablesTest, InsertFormOfAllTablesGoesBetweenNocountBatches) {
    CSnapshotCatalog catalog(FixturePath("scripting2/tables.json"));
    CSQLTableInsertScript insert;
    insert.m_bScriptCollation = TRUE;
    EXPECT_SCRIPT(
        insert.ScriptAllObjects(),
        "SET NOCOUNT ON\r\nGO\r\n\r\n"
        "INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'Calc', "
        "'CREATE "
        "TABLE [dbo].[Calc] ( \t[Price] [decimal](10, 2) NOT NULL,\t[Qty] [int] NULL,\t[Total] AS "
        "([Price]*[Qty]) "
        "PERSISTED NOT NULL,\t[Label] AS (''Qty: ''+CONVERT([varchar](10),[Qty]))  ,\t[Size] AS (case when "
        "[Qty]>(9) "
        "then ''big''else ''small'' end) PERSISTED NULL )')\r\n"
        "INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('sales', "
        "'Phones', 'CREATE "
        "TABLE [sales].[Phones] ( \t[Id] [int] IDENTITY(100, 5) NOT NULL,\t[Phone] [PhoneNumber] COLLATE "
        "Latin1_General_CI_AS  NULL,\t[Code] [Code] NOT NULL )')\r\n"
        "INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'T', "
        "'CREATE TABLE "
        "[dbo].[T] ( \t[Id] [int] IDENTITY(1, 1) NOT NULL,\t[Name] [nvarchar](50) COLLATE "
        "Cyrillic_General_CI_AS  NULL "
        ")')\r\n"
        "\r\nSET NOCOUNT OFF\r\nGO\r\n");
}

TEST(TablesTest, ColumnListIsBareNamesOfTheDboTable) {
    CSnapshotCatalog catalog(FixturePath("scripting2/tables.json"));
    CSQLTable table;
    EXPECT_SCRIPT(table.GetColumnList("T"), "Id,\r\nName");
}

TEST(TablesEdgeTest, NoTablesLeaveOnlyTheNocountBatches) {
    CSnapshotCatalog catalog(FixturePath("scripting2/empty.json"));
    CSQLTableInsertScript insert;
    EXPECT_SCRIPT(insert.ScriptAllObjects(), "SET NOCOUNT ON\r\nGO\r\n\r\n\r\nSET NOCOUNT OFF\r\nGO\r\n");
    EXPECT_TRUE(ShownMessages().empty());
}

TEST(TablesEdgeTest, OneUnreadableTableEmptiesTheWholeList) {
    CSnapshotCatalog catalog(FixturePath("scripting2/tables_failure.json"));
    CSQLTableInsertScript insert;
    EXPECT_SCRIPT(insert.ScriptAllObjects(), "SET NOCOUNT ON\r\nGO\r\n\r\n\r\nSET NOCOUNT OFF\r\nGO\r\n");
    const std::vector<TUiMessage> aMessages = ShownMessages();
    ASSERT_EQ(aMessages.size(), 1u);
    EXPECT_EQ(aMessages[0].strText,
              "Ошибка создания скрипта. The SELECT permission was denied on the object 'columns'.");
}
