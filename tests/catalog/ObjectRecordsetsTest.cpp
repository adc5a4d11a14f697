#include "CatalogTestSupport.h"

#include "catalog/SQLRecObjects.h"

namespace {

template <class TRec> void ExpectListRow(TRec& rs, const char* pszName, const char* pszSchema) {
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.m_strName, pszName);
    EXPECT_EQ(rs.m_strSchemaName, pszSchema);
    EXPECT_TRUE(rs.m_strDefinition.IsEmpty());
}

template <class TRec>
TRecordsetCase ModuleListCase(const char* pszName, std::string strSQL, const char* pszObject,
                              const char* pszSchema) {
    return RecordsetCase<TRec>(
        pszName, [](TRec&) {}, std::move(strSQL), 2,
        [=](TRec& rs) {
            ExpectListRow(rs, pszObject, pszSchema);
            rs.MoveNext();
            EXPECT_TRUE(rs.IsEOF());
        });
}

} // namespace

TEST(ObjectRecordsetsTest, ListAndDetailQueriesBindTheirColumns) {
    CSnapshotHost host("objects.json");
    const std::vector<TRecordsetCase> aCases = {
        RecordsetCase<CSQLRecViews>(
            "views list", [](CSQLRecViews&) {},
            "SELECT OBJ.name, SCHEMA_NAME( OBJ.schema_id ) SchemaName FROM sys.objects AS OBJ INNER JOIN "
            "sys.sql_modules AS MOD ON OBJ.object_id = MOD.object_id WHERE OBJ.type = 'V' ORDER BY OBJ.name "
            "ASC",
            2,
            [](CSQLRecViews& rs) {
                ExpectListRow(rs, "vTotals", "dbo");
                rs.MoveNext();
                ExpectListRow(rs, "vSales", "sales");
                rs.MoveNext();
                EXPECT_TRUE(rs.IsEOF());
            }),
        ModuleListCase<CSQLRecProcedures>(
            "procedures list",
            "SELECT OBJ.name, SCHEMA_NAME( OBJ.schema_id ) SchemaName FROM sys.objects AS OBJ INNER JOIN "
            "sys.sql_modules AS MOD ON OBJ.object_id = MOD.object_id WHERE OBJ.type = 'P' ORDER BY OBJ.name "
            "ASC",
            "pRecalc", "dbo"),
        ModuleListCase<CSQLRecTriggers>(
            "triggers list",
            "SELECT OBJ.name, SCHEMA_NAME( OBJ.schema_id ) SchemaName FROM sys.objects AS OBJ INNER JOIN "
            "sys.sql_modules AS MOD ON OBJ.object_id = MOD.object_id WHERE OBJ.type = 'TR' ORDER BY OBJ.name "
            "ASC",
            "trOrders", "sales"),
        ModuleListCase<CSQLRecFunctions>(
            "functions list",
            "SELECT OBJ.name, SCHEMA_NAME( OBJ.schema_id ) SchemaName FROM sys.objects AS OBJ INNER JOIN "
            "sys.sql_modules AS MOD ON OBJ.object_id = MOD.object_id WHERE OBJ.type = 'FN' ORDER BY OBJ.name "
            "ASC",
            "fnTax", "dbo"),
        ModuleListCase<CSQLRecDefaults>(
            "defaults list",
            "SELECT OBJ.name, SCHEMA_NAME( OBJ.schema_id ) SchemaName FROM sys.objects AS OBJ INNER JOIN "
            "sys.sql_modules AS MOD ON OBJ.object_id = MOD.object_id WHERE OBJ.type = 'D' ORDER BY OBJ.name "
            "ASC",
            "dfZero", "dbo"),
        ModuleListCase<CSQLRecRules>("rules list",
                                     "SELECT OBJ.name, SCHEMA_NAME( OBJ.schema_id ) SchemaName FROM "
                                     "sys.objects AS OBJ INNER JOIN sys.sql_modules AS MOD ON OBJ.object_id "
                                     "= MOD.object_id WHERE OBJ.type = 'R' ORDER BY OBJ.name ASC",
                                     "rPositive", "dbo"),
        RecordsetCase<CSQLRecViews>(
            "view detail, empty schema",
            [](CSQLRecViews& rs) {
                rs.SetDetail(true);
                rs.m_strParamName = "vTotals";
            },
            "SELECT OBJ.name, SCH.name AS SchemaName,  MOD.definition, MOD.uses_ansi_nulls, "
            "MOD.uses_quoted_identifier FROM sys.objects AS OBJ INNER JOIN sys.sql_modules AS MOD ON "
            "OBJ.object_id = MOD.object_id INNER JOIN sys.schemas SCH ON OBJ.schema_id = SCH.schema_id WHERE "
            "OBJ.type = 'V' AND OBJ.name = 'vTotals' AND SCH.name = 'dbo' ORDER BY OBJ.name ASC ",
            5,
            [](CSQLRecViews& rs) {
                EXPECT_EQ(rs.m_strParamSchema, "dbo");
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "vTotals");
                EXPECT_EQ(rs.m_strSchemaName, "dbo");
                EXPECT_EQ(rs.m_strDefinition, "CREATE VIEW vTotals AS SELECT 1 AS One");
                EXPECT_EQ(rs.m_nUsesAnsiNulls, 1);
                EXPECT_EQ(rs.m_nUsesQuotedIdentifier, 0);
            }),
        RecordsetCase<CSQLRecProcedures>(
            "procedure detail",
            [](CSQLRecProcedures& rs) {
                rs.SetDetail(true);
                rs.m_strParamName = "pRecalc";
                rs.m_strParamSchema = "sales";
            },
            "SELECT OBJ.name, SCH.name AS SchemaName,  MOD.definition, MOD.uses_ansi_nulls, "
            "MOD.uses_quoted_identifier FROM sys.objects AS OBJ INNER JOIN sys.sql_modules AS MOD ON "
            "OBJ.object_id = MOD.object_id INNER JOIN sys.schemas SCH ON OBJ.schema_id = SCH.schema_id WHERE "
            "OBJ.type = 'P' AND OBJ.name = 'pRecalc' AND SCH.name = 'sales' ORDER BY OBJ.name ASC ",
            5,
            [](CSQLRecProcedures& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strSchemaName, "sales");
                EXPECT_EQ(rs.m_strDefinition, "CREATE PROCEDURE sales.pRecalc AS RETURN 0");
                EXPECT_EQ(rs.m_nUsesAnsiNulls, 0);
                EXPECT_EQ(rs.m_nUsesQuotedIdentifier, 1);
            }),
        RecordsetCase<CSQLRecUserTypes>(
            "user types list", [](CSQLRecUserTypes&) {},
            "SELECT TYPES.name AS UserName, SCHEMA_NAME( TYPES.schema_id ) AS SchemaName FROM sys.types "
            "TYPES WHERE TYPES.is_user_defined = 1 ORDER BY TYPES.name ASC",
            2,
            [](CSQLRecUserTypes& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strUserName, "Phone");
                EXPECT_EQ(rs.m_strSchemaName, "dbo");
                EXPECT_TRUE(rs.m_strSystemName.IsEmpty());
            }),
        RecordsetCase<CSQLRecUserTypes>(
            "user type detail, empty schema",
            [](CSQLRecUserTypes& rs) {
                rs.SetDetail(true);
                rs.m_strParamName = "Phone";
            },
            "SELECT TYPES.name AS UserName, SCHEMA_NAME( TYPES.schema_id ) AS SchemaName, TYPE_NAME( "
            "TYPES.system_type_id ) AS SystemName, TYPES.max_length AS MaxLen, TYPES.precision AS "
            "[Precision], TYPES.scale AS [Scale], TYPES.is_nullable AS [IsNull], CASE WHEN "
            "TYPES.default_object_id = 0 THEN '' ELSE OBJECT_NAME(TYPES.default_object_id) END AS [Default], "
            "CASE WHEN TYPES.rule_object_id = 0 THEN '' ELSE OBJECT_NAME(TYPES.rule_object_id) END AS [Rule] "
            "FROM sys.types TYPES WHERE TYPES.is_user_defined = 1 AND TYPES.name = 'Phone' AND "
            "TYPES.schema_id = SCHEMA_ID('dbo') ORDER BY TYPES.name ASC",
            9,
            [](CSQLRecUserTypes& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strUserName, "Phone");
                EXPECT_EQ(rs.m_strSchemaName, "dbo");
                EXPECT_EQ(rs.m_strSystemName, "varchar");
                EXPECT_EQ(rs.m_nMaxLen, 20);
                EXPECT_EQ(rs.m_nPrecision, 3);
                EXPECT_EQ(rs.m_nScale, 4);
                EXPECT_EQ(rs.m_nIsNull, 1);
                EXPECT_EQ(rs.m_strDefault, "dfPhone");
                EXPECT_EQ(rs.m_strRule, "rPhone");
            }),
        RecordsetCase<CSQLRecPKeys>(
            "primary keys list", [](CSQLRecPKeys&) {},
            "SELECT PK.name AS Name, SCHEMA_NAME( PK.schema_id ) as NameSchema FROM sys.key_constraints PK "
            "WHERE PK.type = 'PK' ORDER BY PK.Name ASC ",
            2,
            [](CSQLRecPKeys& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "PK_Orders");
                EXPECT_EQ(rs.m_strNameSchema, "sales");
                EXPECT_EQ(rs.m_nIdTable, 0);
            }),
        RecordsetCase<CSQLRecPKeys>(
            "primary key detail",
            [](CSQLRecPKeys& rs) {
                rs.SetDetail(true);
                rs.m_strParamName = "PK_Orders";
                rs.m_strParamSchema = "sales";
            },
            "SELECT PK.name AS Name, SCHEMA_NAME( PK.schema_id ) as NameSchema, PK.parent_object_id AS "
            "IdTable, OBJECT_NAME( PK.parent_object_id ) AS TableName, PK.unique_index_id AS IdInd, "
            "INDEXPROPERTY( PK.parent_object_id, PK.name,'IndexFillFactor') AS [FillFactor], INDEXPROPERTY( "
            "PK.parent_object_id, PK.name,'IsClustered') AS Clastered FROM sys.key_constraints PK WHERE "
            "PK.type = 'PK' AND PK.name = 'PK_Orders' AND PK.schema_id = SCHEMA_ID('sales') ORDER BY PK.Name "
            "ASC ",
            7,
            [](CSQLRecPKeys& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "PK_Orders");
                EXPECT_EQ(rs.m_strNameSchema, "sales");
                EXPECT_EQ(rs.m_nIdTable, 501);
                EXPECT_EQ(rs.m_strTableName, "Orders");
                EXPECT_EQ(rs.m_nIdInd, 1);
                EXPECT_EQ(rs.m_nFillFactor, 90);
                EXPECT_EQ(rs.m_nClastered, 1);
            }),
        RecordsetCase<CSQLRecChecks>(
            "checks list", [](CSQLRecChecks&) {},
            "SELECT CH.name AS Name, SCHEMA_NAME( CH.schema_id ) AS NameSchema FROM sys.check_constraints CH "
            "ORDER BY CH.object_id ASC",
            2,
            [](CSQLRecChecks& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "CK_Price");
                EXPECT_EQ(rs.m_strNameSchema, "sales");
                rs.MoveNext();
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "CK_Qty");
            }),
        RecordsetCase<CSQLRecChecks>(
            "check detail, schema first, empty schema",
            [](CSQLRecChecks& rs) {
                rs.SetDetail(true);
                rs.m_strParamName = "CK_Qty";
            },
            "SELECT  CH.name AS Name, SCHEMA_NAME( CH.schema_id ) AS NameSchema, OBJECT_NAME( "
            "CH.parent_object_id ) AS NameTable,  SCHEMA_NAME( (SELECT TOP 1 OBJS.schema_id FROM sys.objects "
            "OBJS WHERE OBJS.object_id = CH.parent_object_id) ) AS NameTableSchema,  CH.definition AS "
            "Definition FROM sys.check_constraints CH WHERE CH.object_id = OBJECT_ID('dbo.CK_Qty') ORDER BY "
            "CH.object_id ASC",
            5,
            [](CSQLRecChecks& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "CK_Qty");
                EXPECT_EQ(rs.m_strNameSchema, "dbo");
                EXPECT_EQ(rs.m_strNameTable, "Orders");
                EXPECT_EQ(rs.m_strNameTableSchema, "sales");
                EXPECT_EQ(rs.m_strDefinition, "([Qty]>(0))");
            }),
        RecordsetCase<CSQLRecDriDefaults>(
            "default constraints list", [](CSQLRecDriDefaults&) {},
            "SELECT DEF.name AS Name, SCHEMA_NAME( DEF.schema_id ) as NameSchema FROM "
            "sys.default_constraints AS DEF WHERE OBJECTPROPERTY(DEF.parent_object_id, N'IsMSShipped') = 0 "
            "ORDER BY DEF.name ASC ",
            2,
            [](CSQLRecDriDefaults& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "DF_Orders_Qty");
                EXPECT_EQ(rs.m_strNameSchema, "dbo");
            }),
        RecordsetCase<CSQLRecDriDefaults>(
            "default constraint detail",
            [](CSQLRecDriDefaults& rs) {
                rs.SetDetail(true);
                rs.m_strParamName = "DF_Orders_Qty";
                rs.m_strParamSchema = "dbo";
            },
            "SELECT \tDEF.name AS Name, SCHEMA_NAME( DEF.schema_id ) as NameSchema, \tOBJECT_NAME( "
            "DEF.parent_object_id ) AS TableName, \tCOL_NAME( DEF.parent_object_id, DEF.parent_column_id ) "
            "AS ColumnName, \tDEF.definition AS Definition FROM sys.default_constraints AS DEF WHERE "
            "OBJECTPROPERTY(DEF.parent_object_id, N'IsMSShipped') = 0 AND DEF.name = 'DF_Orders_Qty' AND "
            "DEF.schema_id = SCHEMA_ID('dbo') ORDER BY DEF.name ASC ",
            5,
            [](CSQLRecDriDefaults& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "DF_Orders_Qty");
                EXPECT_EQ(rs.m_strNameSchema, "dbo");
                EXPECT_EQ(rs.m_strTableName, "Orders");
                EXPECT_EQ(rs.m_strColumnName, "Qty");
                EXPECT_EQ(rs.m_strDefinition, "((1))");
            }),
        RecordsetCase<CSQLRecTables>(
            "tables", [](CSQLRecTables&) {},
            "SELECT T.name, T.object_id, S.name as SchemaName, S.schema_id FROM sys.tables T join "
            "sys.schemas S on T.schema_id = S.schema_id ORDER BY T.name ASC",
            4,
            [](CSQLRecTables& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "Orders");
                EXPECT_EQ(rs.m_nObjectId, 501);
                EXPECT_EQ(rs.m_strSchemaName, "sales");
                EXPECT_EQ(rs.m_nSchemaId, 5);
            }),
        RecordsetCase<CSQLRecForeignKeysTables>(
            "tables owning foreign keys", [](CSQLRecForeignKeysTables&) {},
            "SELECT DISTINCT OBJECT_NAME( FK.parent_object_id ) AS Name, SCHEMA_NAME( O.schema_id ) as "
            "NameSchema FROM sys.foreign_keys FK INNER JOIN sys.objects O ON FK.parent_object_id = "
            "O.object_id ",
            2,
            [](CSQLRecForeignKeysTables& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "Orders");
                EXPECT_EQ(rs.m_strNameSchema, "sales");
            }),
        RecordsetCase<CSQLRecSchemas>(
            "schemas", [](CSQLRecSchemas&) {},
            "SELECT [name] FROM sys.schemas SCH WHERE SCH.[schema_id] > 4 AND SCH.[schema_id] < 16384", 1,
            [](CSQLRecSchemas& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "sales");
                EXPECT_TRUE(rs.m_strNameSchema.IsEmpty());
            }),
    };
    RunRecordsetCases(aCases);
}

TEST(ObjectRecordsetsTest, SetDetailSwitchesTheFieldCount) {
    CSnapshotHost host("objects.json");
    struct TCountCase {
        const char* pszName;
        std::function<std::unique_ptr<CSQLRecBase>()> create;
        UINT nList;
        UINT nDetail;
    };
    const std::vector<TCountCase> aCases = {
        {"module objects", [] { return std::make_unique<CSQLRecRules>(); }, 2, 5},
        {"user types", [] { return std::make_unique<CSQLRecUserTypes>(); }, 2, 9},
        {"primary keys", [] { return std::make_unique<CSQLRecPKeys>(); }, 2, 7},
        {"checks", [] { return std::make_unique<CSQLRecChecks>(); }, 2, 5},
        {"default constraints", [] { return std::make_unique<CSQLRecDriDefaults>(); }, 2, 5},
    };
    for (const TCountCase& c : aCases) {
        SCOPED_TRACE(c.pszName);
        std::unique_ptr<CSQLRecBase> pRs = c.create();
        EXPECT_EQ(pRs->m_nFields, c.nList);
        pRs->SetDetail(true);
        EXPECT_TRUE(pRs->m_bDetail);
        EXPECT_EQ(pRs->m_nFields, c.nDetail);
        pRs->SetDetail(false);
        EXPECT_FALSE(pRs->m_bDetail);
        EXPECT_EQ(pRs->m_nFields, c.nList);
    }
    EXPECT_EQ(GetDefinitionLength(), 4000);
}
