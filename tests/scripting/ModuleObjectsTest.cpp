#include "scripting/ModuleObjects.h"
#include "scripting/ScriptTestSupport.h"

#include <gtest/gtest.h>

namespace {

const char* const kClosingBatch = "SET QUOTED_IDENTIFIER ON\r\n"
                                  "SET ANSI_NULLS ON\r\n"
                                  "GO\r\n";

const char* const kLegacyView = "SET QUOTED_IDENTIFIER OFF\r\n"
                                "SET ANSI_NULLS ON\r\n"
                                "GO \r\n"
                                "\r\n"
                                "IF OBJECT_ID( '[dbo].[vLegacy]', 'V') IS NOT NULL \r\n"
                                "DROP VIEW [dbo].[vLegacy] \r\n"
                                "GO\r\n"
                                "\r\n"
                                "\r\n"
                                "CREATE VIEW dbo.vLegacy\r\n"
                                "AS\r\n"
                                "SELECT 1 AS x\r\n"
                                "GO\r\n"
                                "\r\n";

const char* const kLfView = "SET QUOTED_IDENTIFIER ON\r\n"
                            "SET ANSI_NULLS OFF\r\n"
                            "GO \r\n"
                            "\r\n"
                            "IF OBJECT_ID( '[sales].[vLf]', 'V') IS NOT NULL \r\n"
                            "DROP VIEW [sales].[vLf] \r\n"
                            "GO\r\n"
                            "\r\n"
                            "\r\n"
                            "CREATE VIEW sales.vLf\n"
                            "AS\n"
                            "SELECT 2 AS y\n"
                            "\r\n"
                            "GO\r\n"
                            "\r\n";

const char* const kProcedure = "SET QUOTED_IDENTIFIER ON\r\n"
                               "SET ANSI_NULLS ON\r\n"
                               "GO \r\n"
                               "\r\n"
                               "IF OBJECT_ID( '[dbo].[pGet]', 'P') IS NOT NULL \r\n"
                               "DROP PROCEDURE [dbo].[pGet] \r\n"
                               "GO\r\n"
                               "\r\n"
                               "\r\n"
                               "CREATE PROCEDURE dbo.pGet\r\n"
                               "AS\r\n"
                               "SELECT 1\r\n"
                               "\r\n"
                               "GO\r\n"
                               "\r\n";

const char* const kTrigger = "SET QUOTED_IDENTIFIER ON\r\n"
                             "SET ANSI_NULLS ON\r\n"
                             "GO \r\n"
                             "\r\n"
                             "\r\n"
                             "\r\n"
                             "CREATE TRIGGER dbo.trTotals ON dbo.Totals AFTER INSERT\r\n"
                             "AS\r\n"
                             "SET NOCOUNT ON\r\n"
                             "GO\r\n"
                             "\r\n";

const char* const kFunction = "SET QUOTED_IDENTIFIER ON\r\n"
                              "SET ANSI_NULLS ON\r\n"
                              "GO \r\n"
                              "\r\n"
                              "IF OBJECT_ID( '[dbo].[fTwice]', 'FN') IS NOT NULL \r\n"
                              "DROP FUNCTION [dbo].[fTwice] \r\n"
                              "GO\r\n"
                              "\r\n"
                              "\r\n"
                              "CREATE FUNCTION dbo.fTwice(@n int) RETURNS int\r\n"
                              "AS\r\n"
                              "BEGIN\r\n"
                              "\tRETURN @n * 2\r\n"
                              "END\r\n"
                              "GO\r\n"
                              "\r\n";

class ModuleObjectsTest : public testing::Test {
protected:
    CSnapshotCatalog m_catalog{FixturePath("scripting/objects.json")};
};

} // namespace

TEST_F(ModuleObjectsTest, ViewsCarryTheirOwnOptionsAndDefinitionLineEnds) {
    CSqlViews views;
    EXPECT_SCRIPT(views.ScriptObject("dbo", "vLegacy"), kLegacyView);
    EXPECT_SCRIPT(views.ScriptObject("sales", "vLf"), kLfView);
    EXPECT_SCRIPT(views.ScriptAllObjects(), std::string(kLegacyView) + kLfView + kClosingBatch);
    EXPECT_TRUE(ShownMessages().empty());
}

TEST_F(ModuleObjectsTest, DropHeaderUsesTheCatalogSpellingOfTheName) {
    CSqlViews views;
    EXPECT_SCRIPT(views.ScriptObject("dbo", "VLEGACY"), kLegacyView);
}

TEST_F(ModuleObjectsTest, ProceduresTriggersAndFunctions) {
    CSqlProcedures procedures;
    EXPECT_SCRIPT(procedures.ScriptAllObjects(), std::string(kProcedure) + kClosingBatch);
    CSqlTriggers triggers;
    EXPECT_SCRIPT(triggers.ScriptObject("dbo", "trTotals"), kTrigger);
    EXPECT_SCRIPT(triggers.ScriptAllObjects(), std::string(kTrigger) + kClosingBatch);
    CSqlFunctions functions;
    EXPECT_SCRIPT(functions.ScriptAllObjects(), std::string(kFunction) + kClosingBatch);
    EXPECT_TRUE(ShownMessages().empty());
}

TEST_F(ModuleObjectsTest, ObjectNotInCatalogOrWithoutNameGivesEmptyText) {
    CSqlViews views;
    EXPECT_SCRIPT(views.ScriptObject("dbo", "nosuch"), "");
    EXPECT_SCRIPT(views.ScriptObject("dbo", ""), "");
    EXPECT_SCRIPT(views.ScriptObject("dbo", nullptr), "");
    EXPECT_SCRIPT(views.ScriptDependents("dbo", "vLegacy"), "");
}

TEST(ModuleObjectsEmptyTest, EmptyCategoriesGiveOnlyTheClosingBatch) {
    CSnapshotCatalog catalog(FixturePath("scripting/empty.json"));
    CSqlViews views;
    CSqlProcedures procedures;
    CSqlTriggers triggers;
    CSqlFunctions functions;
    EXPECT_SCRIPT(views.ScriptAllObjects(), kClosingBatch);
    EXPECT_SCRIPT(procedures.ScriptAllObjects(), kClosingBatch);
    EXPECT_SCRIPT(triggers.ScriptAllObjects(), kClosingBatch);
    EXPECT_SCRIPT(functions.ScriptAllObjects(), kClosingBatch);
    EXPECT_TRUE(ShownMessages().empty());
}

TEST(ModuleObjectsFailureTest, ErrorOnThirdViewEmptiesTheListAndIsReportedOnce) {
    CSnapshotCatalog catalog(FixturePath("scripting/failing.json"));
    CSqlViews views;
    EXPECT_SCRIPT(views.ScriptAllObjects(), kClosingBatch);
    const std::vector<TUiMessage> aMessages = ShownMessages();
    ASSERT_EQ(aMessages.size(), 1u);
    EXPECT_EQ(aMessages[0].strText,
              "Ошибка создания скрипта. [FreeTDS][SQL Server]Cannot find either column \"dbo\" "
              "or the user-defined function");
}

TEST(ModuleObjectsFailureTest, ScriptObjectLetsTheDatabaseErrorOut) {
    CSnapshotCatalog catalog(FixturePath("scripting/failing.json"));
    CSqlViews views;
    CString strSqlState;
    try {
        views.ScriptObject("dbo", "c");
    } catch (CDBException* e) {
        strSqlState = e->GetSqlState();
        e->Delete();
    }
    EXPECT_EQ(strSqlState, "42000");
    EXPECT_TRUE(ShownMessages().empty());
}
