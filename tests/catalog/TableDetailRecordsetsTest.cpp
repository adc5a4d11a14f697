#include "CatalogTestSupport.h"

#include "catalog/SQLRecTableDetails.h"

TEST(TableDetailRecordsetsTest, QueriesSendTheirParametersAndBindTheirColumns) {
    CSnapshotHost host("table_details.json");
    const std::vector<TRecordsetCase> aCases = {
        RecordsetCase<CSQLRecColumns>(
            "columns: identity, user type, persisted computed",
            [](CSQLRecColumns& rs) {
                rs.m_strTableName = "Orders";
                rs.m_strTableSchema = "sales";
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
            "OBJECT_ID('sales.Orders') ORDER BY COL.column_id ASC",
            16,
            [](CSQLRecColumns& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strNameCol, "Id");
                EXPECT_EQ(rs.m_strNameType, "int");
                EXPECT_EQ(rs.m_nIsUser, 0);
                EXPECT_EQ(rs.m_nMaxLen, 4);
                EXPECT_EQ(rs.m_nPrec, 10);
                EXPECT_EQ(rs.m_nScale, 0);
                EXPECT_EQ(rs.m_nIsIdent, 1);
                EXPECT_EQ(rs.m_nSeed, 100);
                EXPECT_EQ(rs.m_nIncrement, 5);
                EXPECT_EQ(rs.m_nIsNull, 0);
                EXPECT_EQ(rs.m_nIsComputed, 0);
                EXPECT_EQ(rs.m_nIsComputedPersisted, 0);
                EXPECT_TRUE(rs.m_strComputeDefinition.IsEmpty());
                EXPECT_TRUE(rs.m_strCollation.IsEmpty());
                rs.MoveNext();
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strNameCol, "Note");
                EXPECT_EQ(rs.m_strNameType, "Remark");
                EXPECT_EQ(rs.m_nIsUser, 1);
                EXPECT_EQ(rs.m_nMaxLen, -1);
                EXPECT_EQ(rs.m_nIsIdent, 0);
                EXPECT_EQ(rs.m_nSeed, 0);
                EXPECT_EQ(rs.m_nIncrement, 0);
                EXPECT_EQ(rs.m_nIsNull, 1);
                EXPECT_EQ(rs.m_strCollation, "Cyrillic_General_CI_AS");
                EXPECT_EQ(rs.m_strDefault, "dfEmpty");
                EXPECT_EQ(rs.m_strRule, "rShort");
                rs.MoveNext();
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strNameCol, "Total");
                EXPECT_EQ(rs.m_nPrec, 19);
                EXPECT_EQ(rs.m_nScale, 4);
                EXPECT_EQ(rs.m_nIsComputed, 1);
                EXPECT_EQ(rs.m_nIsComputedPersisted, 1);
                EXPECT_EQ(rs.m_strComputeDefinition, "([Qty]*[Price])");
                EXPECT_TRUE(rs.m_strCollation.IsEmpty());
                EXPECT_TRUE(rs.m_strDefault.IsEmpty());
                EXPECT_TRUE(rs.m_strRule.IsEmpty());
                rs.MoveNext();
                EXPECT_TRUE(rs.IsEOF());
            }),
        RecordsetCase<CSQLRecColumns>(
            "columns: an empty schema is not replaced",
            [](CSQLRecColumns& rs) { rs.m_strTableName = "Orders"; },
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
            "OBJECT_ID('.Orders') ORDER BY COL.column_id ASC",
            16,
            [](CSQLRecColumns& rs) {
                EXPECT_TRUE(rs.IsEOF());
                EXPECT_TRUE(rs.m_strTableSchema.IsEmpty());
            }),
        RecordsetCase<CSQLRecIndexColumns>(
            "index columns",
            [](CSQLRecIndexColumns& rs) {
                rs.m_nObjectId = 501;
                rs.m_nIndexId = 2;
            },
            "SELECT COL_NAME( INDCOL.object_id, INDCOL.column_id ) AS ColName FROM sys.index_columns AS "
            "INDCOL WHERE INDCOL.object_id = 501 AND INDCOL.index_id = 2 ORDER BY INDCOL.column_id ASC ",
            1,
            [](CSQLRecIndexColumns& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "CustomerId");
                rs.MoveNext();
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "OrderDate");
            }),
        RecordsetCase<CSQLRecIndexes>(
            "indexes", [](CSQLRecIndexes&) {},
            "SELECT I.name AS Name, I.index_id AS IndexId, I.object_id AS TableId, T.name AS TableName, "
            "SCHEMA_NAME( T.schema_id ) AS TableNameSchema, I.type AS [Type], I.type_desc AS TypeDesc, "
            "I.is_unique [IsUnique], (SELECT DS.name FROM sys.data_spaces DS WHERE DS.data_space_id = "
            "I.data_space_id) AS DataSpaceName, I.fill_factor AS [Fillfactor] FROM sys.indexes I INNER JOIN "
            "sys.tables T ON I.object_id = T.object_id WHERE I.is_primary_key = 0 AND (I.type_desc = "
            "'CLUSTERED' OR I.type_desc = 'NONCLUSTERED' ) ORDER BY I.name ASC",
            10,
            [](CSQLRecIndexes& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "IX_Orders_Date");
                EXPECT_EQ(rs.m_nIndexId, 3);
                EXPECT_EQ(rs.m_nTableId, 501);
                EXPECT_EQ(rs.m_strTableName, "Orders");
                EXPECT_EQ(rs.m_strTableNameSchema, "sales");
                EXPECT_EQ(rs.m_nType, 2);
                EXPECT_EQ(rs.m_strTypeDesc, "NONCLUSTERED");
                EXPECT_EQ(rs.m_nIsUnique, 1);
                EXPECT_EQ(rs.m_strDataSpaceName, "PRIMARY");
                EXPECT_EQ(rs.m_nFillfactor, 80);
            }),
        RecordsetCase<CSQLRecForeignKeys>(
            "foreign keys list", [](CSQLRecForeignKeys&) {},
            "SELECT FK.name AS FKName, SCHEMA_NAME( FK.schema_id ) AS FKNameSchema FROM sys.foreign_keys FK "
            "ORDER BY FK.parent_object_id ASC ",
            2,
            [](CSQLRecForeignKeys& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strFKName, "FK_Orders_Customers");
                EXPECT_EQ(rs.m_strFKNameSchema, "sales");
                EXPECT_EQ(rs.m_nParentTableId, 0);
            }),
        RecordsetCase<CSQLRecForeignKeys>(
            "foreign keys of a table, empty schema",
            [](CSQLRecForeignKeys& rs) {
                rs.SetDetail(true);
                rs.m_strParamName = "Orders";
            },
            "SELECT\tFK.name AS FKName, SCHEMA_NAME( FK.schema_id ) AS FKNameSchema, FK.parent_object_id AS "
            "ParentTableId, OBJECT_NAME( FK.parent_object_id ) AS ParentTableName, FK.referenced_object_id "
            "AS ReferencedTableId, OBJECT_NAME( FK.referenced_object_id ) AS ReferencedTableName, "
            "FK.key_index_id AS ReferencedIndexId, FK.update_referential_action AS UpdateAction, "
            "FK.delete_referential_action AS DeleteAction FROM sys.foreign_keys FK WHERE FK.parent_object_id "
            "= OBJECT_ID( 'dbo.Orders' ) ORDER BY FK.parent_object_id ASC ",
            9,
            [](CSQLRecForeignKeys& rs) {
                EXPECT_EQ(rs.m_strParamSchema, "dbo");
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strFKName, "FK_Orders_Customers");
                EXPECT_EQ(rs.m_strFKNameSchema, "sales");
                EXPECT_EQ(rs.m_nParentTableId, 501);
                EXPECT_EQ(rs.m_strParentTableName, "Orders");
                EXPECT_EQ(rs.m_nReferencedTableId, 502);
                EXPECT_EQ(rs.m_strReferencedTableName, "Customers");
                EXPECT_EQ(rs.m_nReferencedIndexId, 1);
                EXPECT_EQ(rs.m_nUpdateActions, 2);
                EXPECT_EQ(rs.m_nDeleteActions, 1);
            }),
        RecordsetCase<CSQLRecForeignKeys>(
            "foreign keys of a table without any",
            [](CSQLRecForeignKeys& rs) {
                rs.SetDetail(true);
                rs.m_strParamName = "Customers";
                rs.m_strParamSchema = "sales";
            },
            "SELECT\tFK.name AS FKName, SCHEMA_NAME( FK.schema_id ) AS FKNameSchema, FK.parent_object_id AS "
            "ParentTableId, OBJECT_NAME( FK.parent_object_id ) AS ParentTableName, FK.referenced_object_id "
            "AS ReferencedTableId, OBJECT_NAME( FK.referenced_object_id ) AS ReferencedTableName, "
            "FK.key_index_id AS ReferencedIndexId, FK.update_referential_action AS UpdateAction, "
            "FK.delete_referential_action AS DeleteAction FROM sys.foreign_keys FK WHERE FK.parent_object_id "
            "= OBJECT_ID( 'sales.Customers' ) ORDER BY FK.parent_object_id ASC ",
            9, [](CSQLRecForeignKeys& rs) { EXPECT_TRUE(rs.IsEOF()); }),
        RecordsetCase<CSQLRecForeignKeyColumnsParent>(
            "foreign key columns",
            [](CSQLRecForeignKeyColumnsParent& rs) {
                rs.m_strFKName = "FK_Orders_Customers";
                rs.m_strFKSchema = "sales";
            },
            "SELECT COL_NAME( FKColumns.parent_object_id, FKColumns.parent_column_id ) AS ColName FROM "
            "sys.foreign_key_columns FKColumns WHERE FKColumns.constraint_object_id = "
            "OBJECT_ID('sales.FK_Orders_Customers') ORDER BY FKColumns.parent_column_id ASC ",
            1,
            [](CSQLRecForeignKeyColumnsParent& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "CustomerId");
            }),
        RecordsetCase<CSQLRecFullTextCatalogs>(
            "full-text catalogs", [](CSQLRecFullTextCatalogs&) {},
            "SELECT F.name AS Name, F.is_default, F.is_accent_sensitivity_on, FILEGROUP_NAME( "
            "F.data_space_id ) as FileGroupName FROM sys.fulltext_catalogs F ORDER BY F.fulltext_catalog_id "
            "ASC",
            4,
            [](CSQLRecFullTextCatalogs& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "ftDocs");
                EXPECT_EQ(rs.m_nIsDefault, 1);
                EXPECT_EQ(rs.m_nIsAccentSensitivityOn, 0);
                EXPECT_EQ(rs.m_strFileGroupName, "FG_Text");
            }),
        RecordsetCase<CSQLRecFullTextCatalogIndexes>(
            "full-text indexes", [](CSQLRecFullTextCatalogIndexes&) {},
            "SELECT FI.object_id AS ObjectId, T.name AS NameTable, SCHEMA_NAME( T.schema_id ) AS "
            "NameTableSchema, (SELECT I.name FROM sys.indexes I WHERE I.object_id = FI.object_id AND "
            "I.index_id = FI.unique_index_id ) AS NameIndex, (SELECT FC.name FROM sys.fulltext_catalogs FC "
            "WHERE FC.fulltext_catalog_id = FI.fulltext_catalog_id ) AS NameFullTextCatalog, "
            "FI.change_tracking_state_desc, FI.is_enabled FROM sys.fulltext_indexes FI INNER JOIN sys.tables "
            "T ON FI.object_id = T.object_id ORDER BY FI.object_id ASC",
            7,
            [](CSQLRecFullTextCatalogIndexes& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_nObjectId, 503);
                EXPECT_EQ(rs.m_strNameTable, "Docs");
                EXPECT_EQ(rs.m_strNameTableSchema, "sales");
                EXPECT_EQ(rs.m_strNameIndex, "PK_Docs");
                EXPECT_EQ(rs.m_strNameFullTextCatalog, "ftDocs");
                EXPECT_EQ(rs.m_strChangeTrackingStateDesc, "AUTO");
                EXPECT_EQ(rs.m_nIsEnabled, 1);
            }),
        RecordsetCase<CSQLRecFullTextCatalogIndexColumns>(
            "full-text index columns, numbers as text",
            [](CSQLRecFullTextCatalogIndexColumns& rs) { rs.m_nObjectId = 503; },
            "SELECT COL_NAME(FTC.object_id, FTC.column_id ) AS Name, FTC.type_column_id, FTC.language_id  "
            "FROM sys.fulltext_index_columns FTC WHERE FTC.object_id = 503 ORDER BY FTC.column_id ASC ",
            3,
            [](CSQLRecFullTextCatalogIndexColumns& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "Body");
                EXPECT_TRUE(rs.m_strTypeColumnId.IsEmpty());
                EXPECT_EQ(rs.m_strLanguageId, "1049");
                rs.MoveNext();
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strName, "Content");
                EXPECT_EQ(rs.m_strTypeColumnId, "4");
                EXPECT_EQ(rs.m_strLanguageId, "1033");
            }),
    };
    RunRecordsetCases(aCases);
}

TEST(TableDetailRecordsetsTest, ForeignKeysSwitchTheirFieldCountWithoutProbing) {
    CSnapshotHost host("table_details.json");
    CSQLRecForeignKeys rs;
    EXPECT_EQ(rs.m_nFields, 2u);
    rs.SetDetail(true);
    EXPECT_EQ(rs.m_nFields, 9u);
    rs.SetDetail(false);
    EXPECT_EQ(rs.m_nFields, 2u);
    EXPECT_EQ(GetDefinitionLength(), 0);
}
