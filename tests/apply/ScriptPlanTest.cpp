// Reading scripts before they run: where the text stands after each line (in code or inside a comment,
// string or delimited name), what a batch creates or fills, and which files of rows may be spread over
// several connections.
#include "apply/ScriptPlan.h"
#include "apply/ScriptLexer.h"

#include <gtest/gtest.h>

namespace {

struct TLexerCase {
    const char* pszCase;
    std::vector<std::string> aLines;
    std::vector<bool> aInCode; // after each line
};

TEST(ScriptLexer, KnowsAfterEachLineWhetherAStringCommentOrNameIsStillOpen) {
    const TLexerCase aCases[] = {
        {"plain code", {"SELECT 1 - 2 / 3 * 4\n"}, {true}},
        {"a string over two lines", {"SELECT 'one\n", "two'\n"}, {false, true}},
        {"a doubled quote stays inside", {"SELECT 'it''s\n", "done'\n"}, {false, true}},
        {"a doubled quote at the line's end", {"SELECT 'it''\n", "'\n"}, {false, true}},
        {"an empty string", {"SELECT ''\n"}, {true}},
        {"nested block comments", {"/* one /* two */\n", "still */\n"}, {false, true}},
        {"a block comment closed and opened", {"/* a */ SELECT 1 /* b\n", "*/\n"}, {false, true}},
        {"a line comment hides quotes and openers", {"SELECT 1 -- it's /* [\n"}, {true}},
        {"a quote inside a block comment", {"/* it's */ SELECT 1\n"}, {true}},
        {"a comment opener inside a string", {"SELECT '/* -- '\n"}, {true}},
        {"a bracketed name with a doubled bracket", {"SELECT [a]]b\n", "c]\n"}, {false, true}},
        {"a quote inside brackets", {"SELECT [it's]\n"}, {true}},
        {"a double-quoted name", {"SELECT \"a\"\"b\n", "\"\n"}, {false, true}},
        {"a single dash and slash", {"SELECT 5-3/1\n"}, {true}},
        {"a last line without its end", {"SELECT 'x'"}, {true}},
        {"a line comment on the last line", {"-- 'open"}, {true}},
        {"a CR alone does not end a line comment", {"-- a\r'b\n"}, {true}},
        {"a CR LF ends a line comment", {"SELECT 1 -- a\r\n", "'b\n"}, {true, false}},
    };
    for (const TLexerCase& test : aCases) {
        CScriptLexer lexer;
        for (size_t i = 0; i < test.aLines.size(); ++i) {
            lexer.Read(test.aLines[i]);
            EXPECT_EQ(lexer.IsInCode(), test.aInCode[i]) << test.pszCase << ", line " << i + 1;
        }
    }
}

std::string Shown(const TScriptName& name) {
    return name.strSchema + "|" + name.strName;
}

TEST(BatchContent, NamesAreReadWithoutTheirQuotesFromOneToFourParts) {
    const std::pair<const char*, const char*> aCases[] = {
        {"CREATE TABLE [my schema].[Odd]]Name] (a int)", "my schema|Odd]Name"},
        {"CREATE TABLE \"dbo\".\"Say \"\"Hi\"\"\" (a int)", "dbo|Say \"Hi\""},
        {"CREATE TABLE Plain (a int)", "|Plain"},
        {"CREATE TABLE Sales..Orders (a int)", "|Orders"},
        {"CREATE TABLE Shop.Sales.Orders (a int)", "Sales|Orders"},
        {"CREATE TABLE srv.Shop.Sales.Orders (a int)", "Sales|Orders"},
        {"CREATE TABLE dbo . Spaced (a int)", "dbo|Spaced"},
        {"create table dbo.[Ünïcode] (a int)", "dbo|Ünïcode"},
    };
    for (const auto& [pszBatch, pszName] : aCases) {
        const TBatchContent content = DescribeBatch(pszBatch);
        ASSERT_EQ(content.aCreated.size(), 1u) << pszBatch;
        EXPECT_EQ(content.aCreated[0].eKind, eModelKind::Table) << pszBatch;
        EXPECT_EQ(Shown(content.aCreated[0].name), pszName) << pszBatch;
    }
}

TEST(BatchContent, OnlyBatchesOfInsertsIntoOneTableAreRows) {
    const std::tuple<const char*, EBatchKind, const char*> aCases[] = {
        {"INSERT INTO [dbo].[T] ([a]) VALUES (1);\r\nINSERT [dbo].[T] ([a]) VALUES (2);", EBatchKind::Rows,
         "dbo|T"},
        {"INSERT INTO dbo.T (a) VALUES ('); DELETE FROM dbo.T; --'), (N'SELECT (')", EBatchKind::Rows,
         "dbo|T"},
        {"-- SELECT 1\r\n/* DELETE */ INSERT INTO T VALUES (1)", EBatchKind::Rows, "|T"},
        {"INSERT INTO dbo.T (a) VALUES (1); INSERT INTO dbo.U (a) VALUES (1);", EBatchKind::Other, "|"},
        {"INSERT INTO dbo.T (a) SELECT a FROM dbo.U", EBatchKind::Other, "|"},
        {"WITH s AS (SELECT 1 AS a) INSERT INTO dbo.T (a) SELECT a FROM s", EBatchKind::Other, "|"},
        {"SET NOCOUNT ON; INSERT INTO dbo.T (a) VALUES (1)", EBatchKind::Other, "|"},
        {"SET NOCOUNT ON;\r\nSET XACT_ABORT ON;", EBatchKind::Settings, "|"},
        {"SET IDENTITY_INSERT [dbo].[T] ON;", EBatchKind::Settings, "dbo|T"},
        {"SET IDENTITY_INSERT dbo.T OFF; SET IDENTITY_INSERT dbo.U ON;", EBatchKind::Other, "|"},
        {"", EBatchKind::Other, "|"},
    };
    for (const auto& [pszBatch, eKind, pszTable] : aCases) {
        const TBatchContent content = DescribeBatch(pszBatch);
        EXPECT_EQ(content.eKind, eKind) << pszBatch;
        if (eKind != EBatchKind::Other) {
            EXPECT_EQ(Shown(content.table), pszTable) << pszBatch;
        }
    }
}

TScriptFile Rows(const std::string& strName, const std::string& strText) {
    return {strName, "", std::make_shared<const std::string>(strText), true};
}

TEST(ScriptPlan, AFileOfSettingsRowsAndSettingsIsSpreadable) {
    const TApplyPlan plan =
        PlanApply({Rows("Data/dbo.T.sql", "SET IDENTITY_INSERT [dbo].[T] ON;\r\nGO\r\n"
                                          "INSERT INTO [dbo].[T] ([a]) VALUES (1);\r\nGO\r\n"
                                          "INSERT INTO [dbo].[T] ([a]) VALUES (2);\r\nGO 3\r\n"
                                          "SET IDENTITY_INSERT [dbo].[T] OFF;\r\nGO\r\n")});
    ASSERT_EQ(plan.aFiles.size(), 1u);
    const TPlannedFile& file = plan.aFiles[0];
    EXPECT_EQ(file.nBatches, 4);
    EXPECT_TRUE(file.rows.bSpreadable);
    EXPECT_FALSE(file.rows.bAlone);
    EXPECT_TRUE(file.rows.bIdentityInsert);
    EXPECT_EQ(Shown(file.rows.table), "dbo|T");
    EXPECT_EQ(file.rows.nRowBatches, 2);
    ASSERT_EQ(file.rows.aBefore.size(), 1u);
    ASSERT_EQ(file.rows.aAfter.size(), 1u);
    EXPECT_EQ(file.rows.aBefore[0].strText, "SET IDENTITY_INSERT [dbo].[T] ON;\r\n");
    EXPECT_EQ(file.rows.aAfter[0].strText, "SET IDENTITY_INSERT [dbo].[T] OFF;\r\n");
}

struct TShapeCase {
    const char* pszCase;
    const char* pszText;
    bool bSpreadable, bAlone, bIdentityInsert;
    const char* pszTable;
};

TEST(ScriptPlan, AnyOtherFileOfRowsRunsAsItIs) {
    const TShapeCase aCases[] = {
        {"rows alone", "INSERT INTO dbo.T VALUES (1);\nGO\nINSERT INTO dbo.T VALUES (2);\nGO\n", true, false,
         false, "dbo|T"},
        {"rows of two tables", "INSERT INTO dbo.T VALUES (1);\nGO\nINSERT INTO dbo.U VALUES (2);\nGO\n",
         false, true, false, "|"},
        {"rows after the settings that follow rows",
         "INSERT INTO dbo.T VALUES (1);\nGO\nSET NOCOUNT ON;\nGO\nINSERT INTO dbo.T VALUES (2);\nGO\n", false,
         true, false, "|"},
        {"a key turned off",
         "ALTER TABLE dbo.T NOCHECK CONSTRAINT [FK];\nGO\nINSERT INTO dbo.T VALUES (1);\nGO\n", false, true,
         false, "dbo|T"},
        {"identity insert for another table",
         "SET IDENTITY_INSERT dbo.U ON;\nGO\nINSERT INTO dbo.T VALUES (1);\nGO\nSET IDENTITY_INSERT dbo.U "
         "OFF;\nGO\n",
         true, false, false, "dbo|T"},
        {"settings only", "SET NOCOUNT ON;\nGO\n", false, false, false, "|"},
    };
    for (const TShapeCase& test : aCases) {
        const TApplyPlan plan = PlanApply({Rows("rows.sql", test.pszText)});
        const TRowsShape& rows = plan.aFiles.at(0).rows;
        EXPECT_EQ(rows.bSpreadable, test.bSpreadable) << test.pszCase;
        EXPECT_EQ(rows.bAlone, test.bAlone) << test.pszCase;
        EXPECT_EQ(rows.bIdentityInsert, test.bIdentityInsert) << test.pszCase;
        EXPECT_EQ(Shown(rows.table), test.pszTable) << test.pszCase;
        if (!rows.bSpreadable) {
            EXPECT_TRUE(rows.aBefore.empty() && rows.aAfter.empty()) << test.pszCase;
        }
    }
}

// A migration that diff wrote drops before it makes: the objects it makes are not looked for beforehand.
TEST(ScriptPlan, AMigrationDiffWroteCreatesNothingToLookFor) {
    const char* pszBody = "SET XACT_ABORT ON;\r\nBEGIN TRANSACTION;\r\nGO\r\n"
                          "DROP TYPE IF EXISTS [dbo].[IdList];\r\nGO\r\n"
                          "CREATE TYPE [dbo].[IdList] AS TABLE ([Id] int);\r\nGO\r\n";
    const TScriptFile migration{
        "m.sql", "",
        std::make_shared<const std::string>(std::string("-- Migration written by sqlscripts 0.1.0 at "
                                                        "2026-12-07 00:00:00 UTC\r\n") +
                                            pszBody),
        false};
    const TScriptFile other{
        "n.sql", "", std::make_shared<const std::string>(std::string("-- Migration\r\n") + pszBody), false};

    const TApplyPlan plan = PlanApply({migration, other});
    ASSERT_EQ(plan.aCreated.size(), 1u);
    EXPECT_EQ(plan.aCreated[0].nFile, 1u);
    EXPECT_EQ(plan.aFiles[0].nBatches, 3);
}

TEST(ScriptPlan, TheCreatedObjectsAreKnownByFileAndLineAndAFileOutsideTheRowsHasNoShape) {
    const TScriptFile schema{
        "01-Schemas.sql", "",
        std::make_shared<const std::string>("CREATE SCHEMA [Sales] AUTHORIZATION [dbo];\r\nGO\r\n"), false};
    const TScriptFile tables{
        "02-Tables.sql", "",
        std::make_shared<const std::string>("CREATE TABLE [Sales].[A] ([x] int);\r\nGO\r\n"
                                            "INSERT INTO [Sales].[A] VALUES (1);\r\nGO\r\n"
                                            "CREATE VIEW [Sales].[V] AS SELECT 1 AS a;\r\nGO\r\n"),
        false};

    const TApplyPlan plan = PlanApply({schema, tables});

    ASSERT_EQ(plan.aCreated.size(), 3u);
    const std::tuple<eModelKind, const char*, size_t, long> aExpected[] = {
        {eModelKind::Schema, "|Sales", 0, 1},
        {eModelKind::Table, "Sales|A", 1, 1},
        {eModelKind::View, "Sales|V", 1, 5}};
    for (size_t i = 0; i < plan.aCreated.size(); ++i) {
        const auto& [eKind, pszName, nFile, nLine] = aExpected[i];
        EXPECT_EQ(plan.aCreated[i].object.eKind, eKind) << i;
        EXPECT_EQ(Shown(plan.aCreated[i].object.name), pszName) << i;
        EXPECT_EQ(plan.aCreated[i].nFile, nFile) << i;
        EXPECT_EQ(plan.aCreated[i].nLine, nLine) << i;
    }
    EXPECT_EQ(plan.aFiles[1].nBatches, 3);
    EXPECT_EQ(plan.aFiles[1].rows.nRowBatches, 0);
    EXPECT_FALSE(plan.aFiles[1].rows.bSpreadable);
}

// A migration whose full-text indexes are dropped before its transaction and made again after it.
const char* const kFullTextMigration =
    "-- Migration written by sqlscripts 0.1.0 at 2026-12-08 00:00:00 UTC\n"
    "IF EXISTS (SELECT 1 FROM sys.fulltext_indexes WHERE object_id = OBJECT_ID(N'[dbo].[Docs]')) DROP "
    "FULLTEXT INDEX ON [dbo].[Docs];\n"
    "GO\n"
    "SET XACT_ABORT ON;\n"
    "BEGIN TRANSACTION;\n"
    "GO\n"
    "IF @@TRANCOUNT = 0 THROW 50000, N'An earlier statement of this migration failed: it was rolled back "
    "whole, and this batch does not run.', 1;\n"
    "ALTER TABLE [dbo].[Docs] ALTER COLUMN [Title] nvarchar(200) NOT NULL;\n"
    "GO\n"
    "IF @@TRANCOUNT = 0 THROW 50000, N'An earlier statement of this migration failed.', 1;\n"
    "COMMIT TRANSACTION;\n"
    "CREATE TABLE #sqlscripts_committed (n int);\n"
    "GO\n"
    "IF OBJECT_ID(N'tempdb..#sqlscripts_committed') IS NULL THROW 50000, N'The migration did not commit.', "
    "1;\n"
    "CREATE FULLTEXT INDEX ON [dbo].[Docs] ([Title] LANGUAGE 1033) KEY INDEX [PK_Docs] WITH (CHANGE_TRACKING "
    "= AUTO, STOPLIST = SYSTEM);\n"
    "GO\n";

struct TOwnTransactionCase {
    const char* pszCase;
    std::vector<std::string> aFiles;
    bool bOwn;
    long nBegins, nEnds;
};

TEST(ScriptPlan, ScriptsAreATransactionOfTheirOwnBetweenBatchesThatCannotRunInOne) {
    const std::string strBegin = "SET XACT_ABORT ON;\nBEGIN TRANSACTION;\nGO\n";
    const std::string strDrop = "DROP FULLTEXT INDEX ON [dbo].[Docs];\nGO\n";
    const std::string strCreate = "CREATE FULLTEXT CATALOG [Docs];\nGO\n";
    const TOwnTransactionCase aCases[] = {
        {"full-text indexes dropped before and made after", {kFullTextMigration}, true, 1, 3},
        {"without full-text statements", {strBegin + "SELECT 1;\nGO\nCOMMIT TRANSACTION;\nGO\n"}, true, 0, 2},
        {"without a commit", {strBegin + "SELECT 1;\nGO\nSELECT 2;\nGO\n"}, true, 0, 2},
        {"over several files", {strDrop, strBegin, "COMMIT;\nGO\n", strCreate + strCreate}, true, 1, 2},
        {"a full-text batch inside it", {strBegin + strDrop + "COMMIT;\nGO\n"}, true, 0, 2},
        {"another batch before it", {"SELECT 1;\nGO\n" + strBegin + "COMMIT;\nGO\n"}, false, 0, 0},
        {"another batch after it", {strBegin + "COMMIT;\nGO\n" + strCreate + "SELECT 1;\nGO\n"}, false, 0, 0},
        {"a full-text batch that commits after it",
         {strBegin + "COMMIT;\nGO\nCOMMIT; CREATE FULLTEXT CATALOG [Docs];\nGO\n"},
         false,
         0,
         0},
        {"only full-text batches", {strDrop + strCreate}, false, 0, 0},
        {"a commit before the last", {strBegin + "COMMIT;\nGO\nBEGIN TRAN;\nGO\nCOMMIT;\nGO\n"}, false, 0, 0},
    };
    for (const TOwnTransactionCase& test : aCases) {
        std::vector<TScriptFile> aFiles;
        for (const std::string& strText : test.aFiles)
            aFiles.push_back({"m.sql", "", std::make_shared<const std::string>(strText), false});
        const TApplyPlan plan = PlanApply(std::move(aFiles));
        EXPECT_EQ(plan.bOwnTransaction, test.bOwn) << test.pszCase;
        if (test.bOwn) {
            EXPECT_EQ(plan.nTransactionBegins, test.nBegins) << test.pszCase;
            EXPECT_EQ(plan.nTransactionEnds, test.nEnds) << test.pszCase;
        }
    }
}

// A refusal of a batch from the one that begins the transaction to the one that commits it rolls back; one
// before or after it leaves what ran outside the transaction applied.
TEST(ScriptPlan, OnlyAStopInsideTheOwnTransactionRollsItBack) {
    const TApplyPlan plan =
        PlanApply({{"m.sql", "", std::make_shared<const std::string>(kFullTextMigration), false}});
    ASSERT_EQ(plan.aFiles[0].nBatches, 5);
    EXPECT_EQ(plan.aFiles[0].aOutsideTransaction, (std::vector<long>{0, 4}));
    const bool aInside[] = {false, true, true, true, false};
    for (long nBatch = 0; nBatch < 5; ++nBatch)
        EXPECT_EQ(StoppedInOwnTransaction(plan, nBatch), aInside[nBatch]) << nBatch;
}

} // namespace
