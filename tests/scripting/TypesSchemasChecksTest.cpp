#include "scripting/TypesSchemasChecks.h"
#include "scripting/ScriptTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Nullable: two blanks between the type and NULL; no default bound, so END follows at once.
const char* const kFlagType = "IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = 'flag' AND schema_id = "
                              "SCHEMA_ID('dbo') ) \r\n"
                              "BEGIN \r\n"
                              "\tCREATE TYPE [dbo].[flag] FROM [int]  NULL\r\n"
                              "END\r\n"
                              "GO\r\n"
                              "\r\n";

const char* const kPhoneType = "IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = 'phone' AND schema_id = "
                               "SCHEMA_ID('dbo') ) \r\n"
                               "BEGIN \r\n"
                               "\tCREATE TYPE [dbo].[phone] FROM [varchar](20) NOT NULL\r\n"
                               "\tEXEC sp_bindefault '[dbo].[dflt]', '[dbo].[phone]' \r\n"
                               "END\r\n"
                               "GO\r\n"
                               "\r\n";

const char* const kSalesSchema = "IF NOT EXISTS (SELECT 1 FROM sys.schemas WHERE name = 'sales')\r\n"
                                 "\tEXECUTE ('CREATE SCHEMA sales')\r\n"
                                 "GO\r\n"
                                 "\r\n";

const char* const kBlankSchema = "IF NOT EXISTS (SELECT 1 FROM sys.schemas WHERE name = 'my schema')\r\n"
                                 "\tEXECUTE ('CREATE SCHEMA my schema')\r\n"
                                 "GO\r\n"
                                 "\r\n";

const char* const kTotalsCheck = "ALTER TABLE [dbo].[Totals] WITH NOCHECK ADD CHECK ([Id]>(0)) \r\n"
                                 "GO\r\n"
                                 "\r\n";

// The table's schema, not the constraint's.
const char* const kOrdersCheck =
    "ALTER TABLE [archive].[Orders] WITH NOCHECK ADD CHECK ([Qty] > 0 AND [Note] <> "
    "'it''s') \r\n"
    "GO\r\n"
    "\r\n";

const char* const kNameDefault = "ALTER TABLE [dbo].[Totals] ADD DEFAULT (N'') FOR [Name] \r\n"
                                 "GO\r\n"
                                 "\r\n";

class TypesSchemasChecksTest : public testing::Test {
protected:
    CSnapshotCatalog m_catalog{FixturePath("scripting/objects.json")};
};

} // namespace

TEST_F(TypesSchemasChecksTest, UserTypes) {
    CSQLUserTypes types;
    EXPECT_SCRIPT(types.ScriptObject("dbo", "phone"), kPhoneType);
    EXPECT_SCRIPT(types.ScriptObject("", "flag"), kFlagType);
    EXPECT_SCRIPT(types.ScriptAllObjects(), std::string(kFlagType) + kPhoneType);
}

TEST_F(TypesSchemasChecksTest, SchemasAreBuiltFromTheNameAlone) {
    CSQLSchemas schemas;
    EXPECT_SCRIPT(schemas.ScriptObject("", "my schema"), kBlankSchema);
    EXPECT_SCRIPT(schemas.ScriptObject("ignored", "sales"), kSalesSchema);
    EXPECT_SCRIPT(schemas.ScriptAllObjects(), std::string(kSalesSchema) + kBlankSchema);
}

TEST_F(TypesSchemasChecksTest, ChecksInObjectIdOrder) {
    CSQLChecks checks;
    EXPECT_SCRIPT(checks.ScriptObject("dbo", "CK_Totals_Id"), kTotalsCheck);
    EXPECT_SCRIPT(checks.ScriptAllObjects(), std::string(kTotalsCheck) + kOrdersCheck);
}

TEST_F(TypesSchemasChecksTest, DriDefaults) {
    CSQLDriDefaults defaults;
    EXPECT_SCRIPT(defaults.ScriptObject("dbo", "DF_Totals_Name"), kNameDefault);
    EXPECT_SCRIPT(defaults.ScriptAllObjects(), kNameDefault);
    EXPECT_TRUE(ShownMessages().empty());
}

TEST_F(TypesSchemasChecksTest, ObjectNotInCatalogOrWithoutNameGivesEmptyText) {
    CSQLUserTypes types;
    CSQLSchemas schemas;
    CSQLChecks checks;
    CSQLDriDefaults defaults;
    for (CSQLScript* pScript : std::initializer_list<CSQLScript*>{&types, &schemas, &checks, &defaults}) {
        EXPECT_SCRIPT(pScript->ScriptObject("dbo", ""), "");
        EXPECT_SCRIPT(pScript->ScriptObject("dbo", nullptr), "");
        EXPECT_SCRIPT(pScript->ScriptDependents("dbo", "x"), "");
    }
    EXPECT_SCRIPT(types.ScriptObject("dbo", "nosuch"), "");
    EXPECT_SCRIPT(checks.ScriptObject("dbo", "nosuch"), "");
    EXPECT_SCRIPT(defaults.ScriptObject("dbo", "nosuch"), "");
}

TEST(TypesSchemasChecksEmptyTest, EmptyCategoriesGiveEmptyText) {
    CSnapshotCatalog catalog(FixturePath("scripting/empty.json"));
    CSQLUserTypes types;
    CSQLSchemas schemas;
    CSQLChecks checks;
    CSQLDriDefaults defaults;
    for (CSQLScript* pScript : std::initializer_list<CSQLScript*>{&types, &schemas, &checks, &defaults})
        EXPECT_SCRIPT(pScript->ScriptAllObjects(), "");
    EXPECT_TRUE(ShownMessages().empty());
}

TEST(TypesSchemasChecksFailureTest, FailuresEmptyTheCategoryWithOneReportEach) {
    CSnapshotCatalog catalog(FixturePath("scripting/failing.json"));
    CSQLChecks checks;
    EXPECT_SCRIPT(checks.ScriptAllObjects(), "");
    CSQLUserTypes types;
    EXPECT_SCRIPT(types.ScriptAllObjects(), "");
    const std::vector<TUiMessage> aMessages = ShownMessages();
    ASSERT_EQ(aMessages.size(), 2u);
    EXPECT_EQ(aMessages[0].strText, "Ошибка создания скрипта. [FreeTDS][SQL Server]Query timeout expired");
    EXPECT_EQ(aMessages[1].strText,
              "Ошибка создания скрипта. [FreeTDS][SQL Server]Invalid object name 'sys.types'.");
}
