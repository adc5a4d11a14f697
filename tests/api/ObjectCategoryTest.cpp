// How the single-object calls find an object's category, and what each category gives.
#include "api/ApiTestSupport.h"

#include "api/SingleObject.h"
#include "scripts/ScriptApi.h"

#include <string>

namespace {

class ObjectCategoryTest : public CApiTest {
protected:
    void SetUp() override {
        CApiTest::SetUp();
        SetConnectionContext(&m_db, false);
    }
};

TEST_F(ObjectCategoryTest, TypeCodesMapExactlyAndCaseSensitively) {
    const struct {
        const char* pszName;
        eSqlTypeObjects eExpected;
    } aCases[] = {
        {"ObjD", eSqlDefaults},    {"ObjU", eSqlTables},        {"ObjPK", eSqlPK},
        {"ObjV", eSqlViews},       {"ObjTR", eSqlTriggers},     {"ObjP", eSqlStoredProc},
        {"ObjUQ", eSqlIndexes},    {"ObjC", eSqlChecks},        {"ObjFN", eSqlUdf},
        {"ObjIF", eSqlUnknown},    {"ObjTF", eSqlUnknown},      {"ObjF", eSqlUnknown},
        {"ObjLower", eSqlUnknown}, {"ObjNoBlank", eSqlUnknown}, {"ObjNone", eSqlUnknown},
    };
    for (const auto& test : aCases)
        EXPECT_EQ(GetObjectCategory(test.pszName), test.eExpected) << test.pszName;
}

TEST_F(ObjectCategoryTest, UserTypesAreTheSecondLookup) {
    EXPECT_EQ(ResolveObjectCategory("Orders"), eSqlTables);
    EXPECT_EQ(ResolveObjectCategory("Phone"), eSqlUdt);
    EXPECT_EQ(ResolveObjectCategory("Elsewhere"), eSqlUnknown);
    EXPECT_TRUE(IsUserType("Phone"));
    EXPECT_FALSE(IsUserType("Elsewhere"));
}

class ScriptApiCategoryTest : public CApiTest {};

const char* const kOrdersWithCollation = "\r\n"
                                         "CREATE TABLE [dbo].[Orders] (\r\n"
                                         " \t[Id] [int] IDENTITY(1, 1) NOT NULL,\r\n"
                                         "\t[Code] [varchar](20) COLLATE Cyrillic_General_CI_AS  NULL,\r\n"
                                         "\t[Phone] [Phone] COLLATE Cyrillic_General_CI_AS  NOT NULL )\r\n"
                                         "GO ";

const char* const kOrdersWithoutCollation = "\r\n"
                                            "CREATE TABLE [dbo].[Orders] (\r\n"
                                            " \t[Id] [int] IDENTITY(1, 1) NOT NULL,\r\n"
                                            "\t[Code] [varchar](20) NULL,\r\n"
                                            "\t[Phone] [Phone] NOT NULL )\r\n"
                                            "GO ";

TEST_F(ScriptApiCategoryTest, TableIsAPlainCreateTableWithCollationAsAsked) {
    CString strScript = "old";
    EXPECT_EQ(GenerateSQLScriptObject(m_db, "Orders", strScript, false), 1);
    EXPECT_EQ(strScript.Str(), kOrdersWithCollation);
    EXPECT_EQ(GenerateSQLScriptObject(m_db, "Orders", strScript, true), 1);
    EXPECT_EQ(strScript.Str(), kOrdersWithoutCollation);

    const TErrState state = GetSqlScriptObject(m_db, eSqlTables, "Orders", strScript, false);
    EXPECT_EQ(state.nError, 0);
    EXPECT_EQ(state.strMessage.Str(), "");
    EXPECT_EQ(strScript.Str(), kOrdersWithCollation);
    EXPECT_THAT(ShownBoxes(), IsEmpty());
}

TEST_F(ScriptApiCategoryTest, UserTypeIsFoundWhenNoObjectHasItsName) {
    CString strScript;
    EXPECT_EQ(GenerateSQLScriptObject(m_db, "Phone", strScript, true), 1);
    EXPECT_EQ(strScript.Str(), "IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = 'Phone' AND schema_id = "
                               "SCHEMA_ID('dbo') ) \r\n"
                               "BEGIN \r\n"
                               "\tCREATE TYPE [dbo].[Phone] FROM [varchar](20) NOT NULL\r\n"
                               "\tEXEC sp_bindefault '[dbo].[dfltPhone]', '[dbo].[Phone]' \r\n"
                               "END\r\n"
                               "GO\r\n"
                               "\r\n");
    EXPECT_THAT(ShownBoxes(), IsEmpty());
}

TEST_F(ScriptApiCategoryTest, UniqueConstraintIsAnIndexWithAnEmptyScript) {
    CString strScript = "old";
    EXPECT_EQ(GenerateSQLScriptObject(m_db, "UQ_Orders_Code", strScript, true), 1);
    EXPECT_EQ(strScript.Str(), "");
    EXPECT_THAT(ShownBoxes(), IsEmpty());
}

TEST_F(ScriptApiCategoryTest, ColumnListOfAProcedureLeavesTheCallersText) {
    CString strFields = "caller's text";
    EXPECT_EQ(GenerateSQLScriptFields(m_db, "GetOrders", strFields), 1);
    EXPECT_EQ(strFields.Str(), "caller's text");
    EXPECT_THAT(ShownBoxes(), IsEmpty());
}

TEST_F(ScriptApiCategoryTest, ColumnListsAreBareNamesJoinedByCommaAndLineEnd) {
    CString strFields = "old";
    EXPECT_EQ(GenerateSQLScriptFields(m_db, "vABC", strFields), 1);
    EXPECT_EQ(strFields.Str(), "a,\r\nb,\r\nc");
    EXPECT_EQ(GenerateSQLScriptFields(m_db, "Orders", strFields), 1);
    EXPECT_EQ(strFields.Str(), "Id,\r\nCode,\r\nPhone");
    EXPECT_THAT(ShownBoxes(), IsEmpty());
}

} // namespace
