#include "CatalogTestSupport.h"

#include "catalog/SQLRecDependents.h"
#include "catalog/SQLRecObjects.h"
#include "catalog/SQLRecTableDetails.h"
#include "catalog/SqlIdentifiers.h"

#include <string>

namespace {

// A quote, brackets, a dot and a blank in one name.
constexpr const char* kOddName = "it's [a].b c";

template <class TRec> void ExpectRow(TRec& rs) {
    EXPECT_FALSE(rs.IsEOF());
}

} // namespace

TEST(NameEscapingTest, RegularIdentifiersFollowTheServersRule) {
    const struct {
        std::string strName;
        bool bRegular;
    } aCases[] = {
        {"Orders", true}, {"_tmp", true},    {"@p1", true},     {"#t", true},
        {"Заказы", true}, {"a$1#@_", true},  {"Orders2", true}, {std::string(128, 'a'), true},
        {"", false},      {"1a", false},     {"$a", false},     {"my schema", false},
        {"a.b", false},   {"a-b", false},    {"it's", false},   {"a]b", false},
        {"order", false}, {"Select", false}, {"OrderBy", true}, {std::string(129, 'a'), false},
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.strName);
        EXPECT_EQ(IsRegularIdentifier(c.strName.c_str()), c.bRegular);
    }
}

TEST(NameEscapingTest, DelimitingAndQuoting) {
    EXPECT_EQ(EscapeSqlLiteral("O'Brien's"), "O''Brien''s");
    EXPECT_EQ(EscapeSqlLiteral("plain"), "plain");
    EXPECT_EQ(DelimitIdentifier("Orders"), "Orders");
    EXPECT_EQ(DelimitIdentifier("a]b"), "[a]]b]");
    EXPECT_EQ(DelimitIdentifier("Key"), "[Key]");
    EXPECT_EQ(DelimitIdentifier(""), "");
    EXPECT_EQ(ObjectIdName("my schema", kOddName), "[my schema].[it''s [a]].b c]");
    EXPECT_EQ(ObjectIdName("dbo", "Orders"), "dbo.Orders");
    EXPECT_EQ(ObjectIdName("", "Orders"), ".Orders");
}

TEST(NameEscapingTest, AwkwardNamesReachTheServerAsSafeStatements) {
    CSnapshotHost host("names.json");
    const std::vector<TRecordsetCase> aCases = {
        RecordsetCase<CSQLRecViews>(
            "literal comparisons double the quote and keep the rest",
            [](CSQLRecViews& rs) {
                rs.SetDetail(true);
                rs.m_strParamName = kOddName;
                rs.m_strParamSchema = "my schema";
            },
            "SELECT OBJ.name, SCH.name AS SchemaName,  MOD.definition, MOD.uses_ansi_nulls, "
            "MOD.uses_quoted_identifier FROM sys.objects AS OBJ INNER JOIN sys.sql_modules AS MOD ON "
            "OBJ.object_id = MOD.object_id INNER JOIN sys.schemas SCH ON OBJ.schema_id = SCH.schema_id WHERE "
            "OBJ.type = 'V' AND OBJ.name = 'it''s [a].b c' AND SCH.name = 'my schema' ORDER BY OBJ.name ASC ",
            5,
            [](CSQLRecViews& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, kOddName);
            }),
        RecordsetCase<CSQLRecUserTypes>(
            "SCHEMA_ID takes the schema as a plain literal",
            [](CSQLRecUserTypes& rs) {
                rs.SetDetail(true);
                rs.m_strParamName = kOddName;
                rs.m_strParamSchema = "bob's";
            },
            "SELECT TYPES.name AS UserName, SCHEMA_NAME( TYPES.schema_id ) AS SchemaName, TYPE_NAME( "
            "TYPES.system_type_id ) AS SystemName, TYPES.max_length AS MaxLen, TYPES.precision AS "
            "[Precision], TYPES.scale AS [Scale], TYPES.is_nullable AS [IsNull], CASE WHEN "
            "TYPES.default_object_id = 0 THEN '' ELSE OBJECT_NAME(TYPES.default_object_id) END AS [Default], "
            "CASE WHEN TYPES.rule_object_id = 0 THEN '' ELSE OBJECT_NAME(TYPES.rule_object_id) END AS [Rule] "
            "FROM sys.types TYPES WHERE TYPES.is_user_defined = 1 AND TYPES.name = 'it''s [a].b c' AND "
            "TYPES.schema_id = SCHEMA_ID('bob''s') ORDER BY TYPES.name ASC",
            9, ExpectRow<CSQLRecUserTypes>),
        RecordsetCase<CSQLRecChecks>(
            "OBJECT_ID gets delimited parts",
            [](CSQLRecChecks& rs) {
                rs.SetDetail(true);
                rs.m_strParamName = kOddName;
                rs.m_strParamSchema = "my schema";
            },
            "SELECT  CH.name AS Name, SCHEMA_NAME( CH.schema_id ) AS NameSchema, OBJECT_NAME( "
            "CH.parent_object_id ) AS NameTable,  SCHEMA_NAME( (SELECT TOP 1 OBJS.schema_id FROM sys.objects "
            "OBJS WHERE OBJS.object_id = CH.parent_object_id) ) AS NameTableSchema,  CH.definition AS "
            "Definition FROM sys.check_constraints CH WHERE CH.object_id = OBJECT_ID('[my schema].[it''s "
            "[a]].b c]') ORDER BY CH.object_id ASC",
            5, ExpectRow<CSQLRecChecks>),
        RecordsetCase<CSQLRecColumns>(
            "columns of an awkwardly named table",
            [](CSQLRecColumns& rs) {
                rs.m_strTableName = kOddName;
                rs.m_strTableSchema = "my schema";
            },
            "SELECT\tCOL.name AS NameCol, TYPE.name AS NameType, TYPE.is_user_defined AS IsUser, "
            "COL.max_length AS MaxLen, COL.precision AS Prec, COL.scale AS Scale, COL.is_identity AS "
            "IsIdent, CASE WHEN COL.is_identity = 0 THEN 0 ELSE (SELECT seed_value FROM sys.identity_columns "
            "WHERE object_id = COL.object_id AND name = COL.name) END AS Seed, CASE WHEN COL.is_identity = 0 "
            "THEN 0 ELSE (SELECT increment_value FROM sys.identity_columns WHERE object_id = COL.object_id "
            "AND name = COL.name) END AS Increment, COL.is_nullable AS [IsNull], COL.is_computed AS "
            "[IsComputed], CASE WHEN COL.is_computed = 0 THEN 0 ELSE (SELECT is_persisted FROM "
            "sys.computed_columns WHERE object_id = COL.object_id AND name = COL.name) END AS "
            "[IsComputedPersisted], CASE WHEN COL.is_computed = 0 THEN '' ELSE (SELECT definition FROM "
            "sys.computed_columns WHERE object_id = COL.object_id AND name = COL.name) END AS "
            "[ComputeDefinition], COL.collation_name AS [Collation], CASE WHEN COL.default_object_id = 0 "
            "THEN '' ELSE OBJECT_NAME(COL.default_object_id) END AS [Default], CASE WHEN COL.rule_object_id "
            "= 0 THEN '' ELSE OBJECT_NAME(COL.rule_object_id) END AS [Rule] FROM sys.columns  as COL INNER "
            "JOIN sys.types AS TYPE ON  COL.user_type_id = TYPE.user_type_id  WHERE COL.object_id = "
            "OBJECT_ID('[my schema].[it''s [a]].b c]') ORDER BY COL.column_id ASC",
            16, ExpectRow<CSQLRecColumns>),
        RecordsetCase<CSQLRecForeignKeys>(
            "a reserved word is delimited",
            [](CSQLRecForeignKeys& rs) {
                rs.SetDetail(true);
                rs.m_strParamName = "Order";
            },
            "SELECT\tFK.name AS FKName, SCHEMA_NAME( FK.schema_id ) AS FKNameSchema, FK.parent_object_id AS "
            "ParentTableId, OBJECT_NAME( FK.parent_object_id ) AS ParentTableName, FK.referenced_object_id "
            "AS ReferencedTableId, OBJECT_NAME( FK.referenced_object_id ) AS ReferencedTableName, "
            "FK.key_index_id AS ReferencedIndexId, FK.update_referential_action AS UpdateAction, "
            "FK.delete_referential_action AS DeleteAction FROM sys.foreign_keys FK WHERE FK.parent_object_id "
            "= OBJECT_ID( 'dbo.[Order]' ) ORDER BY FK.parent_object_id ASC ",
            9, ExpectRow<CSQLRecForeignKeys>),
        RecordsetCase<CSQLRecForeignKeyColumnsParent>(
            "a dotted key name stays one part",
            [](CSQLRecForeignKeyColumnsParent& rs) {
                rs.m_strFKName = "FK.1";
                rs.m_strFKSchema = "my schema";
            },
            "SELECT COL_NAME( FKColumns.parent_object_id, FKColumns.parent_column_id ) AS ColName FROM "
            "sys.foreign_key_columns FKColumns WHERE FKColumns.constraint_object_id = OBJECT_ID('[my "
            "schema].[FK.1]') ORDER BY FKColumns.parent_column_id ASC ",
            1, ExpectRow<CSQLRecForeignKeyColumnsParent>),
        RecordsetCase<CSQLRecChildsTrig>(
            "Cyrillic names are regular", [](CSQLRecChildsTrig& rs) { rs.m_strParamName = "Заказы"; },
            "SELECT OBJ.name AS ChildName, SCHEMA_NAME( OBJ.schema_id ) AS ChildNameSchema  FROM sys.objects "
            "AS OBJ INNER JOIN sys.sql_modules AS MOD ON OBJ.object_id = MOD.object_id WHERE OBJ.type = 'TR' "
            "AND OBJ.parent_object_id = OBJECT_ID('dbo.Заказы') ",
            2,
            [](CSQLRecChildsTrig& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strChildName, "trЗаказы");
            }),
        RecordsetCase<CSQLRecChildsDef>(
            "bound defaults of an awkwardly named table",
            [](CSQLRecChildsDef& rs) {
                rs.m_strParamName = kOddName;
                rs.m_strParamSchema = "my schema";
            },
            "SELECT OBJ.name AS ChildName, SCHEMA_NAME( OBJ.schema_id ) AS ChildNameSchema FROM sys.objects "
            "AS OBJ INNER JOIN sys.sql_modules AS MOD ON OBJ.object_id = MOD.object_id WHERE OBJ.type = 'D' "
            "AND OBJ.object_id IN (SELECT COL.default_object_id FROM sys.columns AS COL WHERE COL.object_id "
            "= OBJECT_ID('[my schema].[it''s [a]].b c]')) ",
            2, ExpectRow<CSQLRecChildsDef>),
        RecordsetCase<CSQLRecGetObjectType>(
            "a leading digit needs brackets",
            [](CSQLRecGetObjectType& rs) {
                rs.m_strParamName = "2019Sales";
                rs.m_strParamSchema = "dbo";
            },
            "SELECT O.type FROM sys.objects O WHERE O.object_id = OBJECT_ID('dbo.[2019Sales]') ", 1,
            ExpectRow<CSQLRecGetObjectType>),
        RecordsetCase<CSQLRecViewCountFields>(
            "bare identifiers are delimited, the quote left alone",
            [](CSQLRecViewCountFields& rs) {
                rs.m_strParamName = kOddName;
                rs.m_strParamSchema = "my schema";
            },
            "SELECT * FROM [my schema].[it's [a]].b c] WHERE 1=0", 0,
            [](CSQLRecViewCountFields& rs) { EXPECT_EQ(rs.GetODBCFieldCount(), 1); }),
    };
    RunRecordsetCases(aCases);
}
