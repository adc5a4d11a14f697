#include "scripting/FullText.h"

#include "scripting/ScriptTestSupport.h"

namespace {

const char kHeader[] =
    "IF (SELECT SERVERPROPERTY ( 'IsFullTextInstalled' ) ) = 1\r\nBEGIN\r\nIF (SELECT "
    "DATABASEPROPERTY(DB_NAME(), N'IsFullTextEnabled')) <> 1 \r\n\texec sp_fulltext_database "
    "N'enable' \r\n\r\n";

const char kDrops[] =
    "IF( EXISTS( SELECT 1 FROM sys.fulltext_indexes FI INNER JOIN sys.tables T ON FI.object_id = "
    "T.object_id WHERE T.schema_id = SCHEMA_ID('dbo') AND T.name = 'Documents' ) )\r\n\tDROP "
    "FULLTEXT INDEX ON [dbo].[Documents]\r\n\r\n"
    "IF( EXISTS( SELECT 1 FROM sys.fulltext_indexes FI INNER JOIN sys.tables T ON FI.object_id = "
    "T.object_id WHERE T.schema_id = SCHEMA_ID('sales') AND T.name = 'Notes' ) )\r\n\tDROP "
    "FULLTEXT INDEX ON [sales].[Notes]\r\n\r\n";

// PRIMARY in any letter case and a missing filegroup give no filegroup clause.
const char kCatalogs[] =
    "IF( EXISTS( SELECT 1 FROM sys.fulltext_catalogs WHERE name = 'FT_Main') )\r\n\tDROP FULLTEXT "
    "CATALOG [FT_Main];\r\nCREATE FULLTEXT CATALOG [FT_Main]  WITH ACCENT_SENSITIVITY = ON AS "
    "DEFAULT;\r\n\r\n"
    "IF( EXISTS( SELECT 1 FROM sys.fulltext_catalogs WHERE name = 'FT_Docs') )\r\n\tDROP FULLTEXT "
    "CATALOG [FT_Docs];\r\nCREATE FULLTEXT CATALOG [FT_Docs]  WITH ACCENT_SENSITIVITY = OFF "
    ";\r\n\r\n"
    "IF( EXISTS( SELECT 1 FROM sys.fulltext_catalogs WHERE name = 'FT_Archive') )\r\n\tDROP "
    "FULLTEXT CATALOG [FT_Archive];\r\nCREATE FULLTEXT CATALOG [FT_Archive] ON FILEGROUP "
    "FG_Archive WITH ACCENT_SENSITIVITY = ON ;\r\n\r\n"
    "IF( EXISTS( SELECT 1 FROM sys.fulltext_catalogs WHERE name = 'FT_Loose') )\r\n\tDROP "
    "FULLTEXT CATALOG [FT_Loose];\r\nCREATE FULLTEXT CATALOG [FT_Loose]  WITH "
    "ACCENT_SENSITIVITY = ON ;\r\n\r\n";

// Two columns, one with a type column; then a disabled index.
const char kIndexes[] =
    "CREATE FULLTEXT INDEX ON [dbo].[Documents]\r\n(\r\n\tTitle LANGUAGE 1033,\r\n \tBody TYPE "
    "COLUMN 3 LANGUAGE 1049\r\n)\r\nKEY INDEX [PK_Documents] ON [FT_Docs] WITH CHANGE_TRACKING "
    "AUTO ;\r\n\r\n"
    "CREATE FULLTEXT INDEX ON [sales].[Notes]\r\n(\r\n\tText LANGUAGE 0\r\n)\r\nKEY INDEX "
    "[UQ_Notes] ON [FT_Main] WITH CHANGE_TRACKING MANUAL , NO POPULATION;\r\n\r\n";

} // namespace

TEST(FullTextTest, EachStepOfTheBlock) {
    CSnapshotCatalog catalog(FixturePath("scripting2/fulltext.json"));
    CSQLFullText fullText;
    EXPECT_SCRIPT(fullText.ScriptFullTextDrops(), kDrops);
    EXPECT_SCRIPT(fullText.ScriptFullTextCatalogs(), kCatalogs);
    EXPECT_SCRIPT(fullText.ScriptFullTextIndexes(), kIndexes);
}

TEST(FullTextTest, WholeBlockDropsBeforeCatalogsBeforeIndexes) {
    CSnapshotCatalog catalog(FixturePath("scripting2/fulltext.json"));
    CSQLFullText fullText;
    EXPECT_SCRIPT(fullText.ScriptAllObjects(), std::string(kHeader) + kDrops + kCatalogs + kIndexes + "END");
    EXPECT_TRUE(fullText.ScriptObject("dbo", "Documents").IsEmpty());
    EXPECT_TRUE(ShownMessages().empty());
}

TEST(FullTextTest, NoCatalogsGiveHeaderAndEnd) {
    CSnapshotCatalog catalog(FixturePath("scripting2/empty.json"));
    CSQLFullText fullText;
    EXPECT_SCRIPT(fullText.ScriptAllObjects(), std::string(kHeader) + "END");
}

TEST(FullTextTest, FailureGivesEmptyTextNotALoneEnd) {
    CSnapshotCatalog catalog(FixturePath("scripting2/fulltext_failure.json"));
    CSQLFullText fullText;
    EXPECT_SCRIPT(fullText.ScriptAllObjects(), "");
    const std::vector<TUiMessage> aMessages = ShownMessages();
    ASSERT_EQ(aMessages.size(), 1u);
    EXPECT_EQ(aMessages[0].strText, "Ошибка создания скрипта. Full-text search is not installed.");
}
