#include "catalog/SQLRecTableDetails.h"

#include "catalog/ConnectionContext.h"
#include "catalog/Prefetch.h"
#include "catalog/SqlIdentifiers.h"

namespace {

constexpr const char* kColumnsSQL =
    "SELECT\tCOL.name AS NameCol, TYPE.name AS NameType, TYPE.is_user_defined AS IsUser, COL.max_length AS "
    "MaxLen, COL.precision AS Prec, COL.scale AS Scale, COL.is_identity AS IsIdent, CASE WHEN "
    "COL.is_identity = 0 THEN 0 ELSE (SELECT seed_value FROM sys.identity_columns WHERE object_id = "
    "COL.object_id AND name = COL.name) END AS Seed, CASE WHEN COL.is_identity = 0 THEN 0 ELSE (SELECT "
    "increment_value FROM sys.identity_columns WHERE object_id = COL.object_id AND name = COL.name) END AS "
    "Increment, COL.is_nullable AS [IsNull], COL.is_computed AS [IsComputed], CASE WHEN COL.is_computed = 0 "
    "THEN 0 ELSE (SELECT is_persisted FROM sys.computed_columns WHERE object_id = COL.object_id AND name = "
    "COL.name) END AS [IsComputedPersisted], CASE WHEN COL.is_computed = 0 THEN '' ELSE (SELECT definition "
    "FROM sys.computed_columns WHERE object_id = COL.object_id AND name = COL.name) END AS "
    "[ComputeDefinition], COL.collation_name AS [Collation], CASE WHEN COL.default_object_id = 0 THEN '' "
    "ELSE OBJECT_NAME(COL.default_object_id) END AS [Default], CASE WHEN COL.rule_object_id = 0 THEN '' ELSE "
    "OBJECT_NAME(COL.rule_object_id) END AS [Rule] FROM sys.columns  as COL INNER JOIN sys.types AS TYPE ON  "
    "COL.user_type_id = TYPE.user_type_id  WHERE COL.object_id = OBJECT_ID('%s.%s') ORDER BY COL.column_id "
    "ASC";
constexpr const char* kIndexColumnsSQL =
    "SELECT COL_NAME( INDCOL.object_id, INDCOL.column_id ) AS ColName FROM sys.index_columns AS INDCOL WHERE "
    "INDCOL.object_id = %d AND INDCOL.index_id = %d ORDER BY INDCOL.column_id ASC ";
constexpr const char* kIndexesSQL =
    "SELECT I.name AS Name, I.index_id AS IndexId, I.object_id AS TableId, T.name AS TableName, SCHEMA_NAME( "
    "T.schema_id ) AS TableNameSchema, I.type AS [Type], I.type_desc AS TypeDesc, I.is_unique [IsUnique], "
    "(SELECT DS.name FROM sys.data_spaces DS WHERE DS.data_space_id = I.data_space_id) AS DataSpaceName, "
    "I.fill_factor AS [Fillfactor] FROM sys.indexes I INNER JOIN sys.tables T ON I.object_id = T.object_id "
    "WHERE I.is_primary_key = 0 AND (I.type_desc = 'CLUSTERED' OR I.type_desc = 'NONCLUSTERED' ) ORDER BY "
    "I.name ASC";
constexpr const char* kForeignKeysListSQL =
    "SELECT FK.name AS FKName, SCHEMA_NAME( FK.schema_id ) AS FKNameSchema FROM sys.foreign_keys FK ORDER BY "
    "FK.parent_object_id ASC ";
constexpr const char* kForeignKeysDetailSQL =
    "SELECT\tFK.name AS FKName, SCHEMA_NAME( FK.schema_id ) AS FKNameSchema, FK.parent_object_id AS "
    "ParentTableId, OBJECT_NAME( FK.parent_object_id ) AS ParentTableName, FK.referenced_object_id AS "
    "ReferencedTableId, OBJECT_NAME( FK.referenced_object_id ) AS ReferencedTableName, FK.key_index_id AS "
    "ReferencedIndexId, FK.update_referential_action AS UpdateAction, FK.delete_referential_action AS "
    "DeleteAction FROM sys.foreign_keys FK WHERE FK.parent_object_id = OBJECT_ID( '%s.%s' ) ORDER BY "
    "FK.parent_object_id ASC ";
constexpr const char* kForeignKeyColumnsParentSQL =
    "SELECT COL_NAME( FKColumns.parent_object_id, FKColumns.parent_column_id ) AS ColName FROM "
    "sys.foreign_key_columns FKColumns WHERE FKColumns.constraint_object_id = OBJECT_ID('%s.%s') ORDER BY "
    "FKColumns.parent_column_id ASC ";
constexpr const char* kFullTextCatalogsSQL =
    "SELECT F.name AS Name, F.is_default, F.is_accent_sensitivity_on, FILEGROUP_NAME( F.data_space_id ) as "
    "FileGroupName FROM sys.fulltext_catalogs F ORDER BY F.fulltext_catalog_id ASC";
constexpr const char* kFullTextCatalogIndexesSQL =
    "SELECT FI.object_id AS ObjectId, T.name AS NameTable, SCHEMA_NAME( T.schema_id ) AS NameTableSchema, "
    "(SELECT I.name FROM sys.indexes I WHERE I.object_id = FI.object_id AND I.index_id = FI.unique_index_id "
    ") AS NameIndex, (SELECT FC.name FROM sys.fulltext_catalogs FC WHERE FC.fulltext_catalog_id = "
    "FI.fulltext_catalog_id ) AS NameFullTextCatalog, FI.change_tracking_state_desc, FI.is_enabled FROM "
    "sys.fulltext_indexes FI INNER JOIN sys.tables T ON FI.object_id = T.object_id ORDER BY FI.object_id ASC";
constexpr const char* kFullTextCatalogIndexColumnsSQL =
    "SELECT COL_NAME(FTC.object_id, FTC.column_id ) AS Name, FTC.type_column_id, FTC.language_id  FROM "
    "sys.fulltext_index_columns FTC WHERE FTC.object_id = %d ORDER BY FTC.column_id ASC ";

} // namespace

CSQLRecColumns::CSQLRecColumns() {
    m_nFields = 16;
    EnsureDefinitionLength(m_pDatabase, "sys.computed_columns");
}

CString CSQLRecColumns::GetDefaultSQL() {
    CString strSQL;
    strSQL.Format(kColumnsSQL, ObjectIdPart(m_strTableSchema), ObjectIdPart(m_strTableName));
    return strSQL;
}

CString CSQLRecColumns::GetPrefetchSQL() {
    return DerivePrefetchSQL(
        kColumnsSQL, " FROM sys.columns  as COL",
        ", COL.object_id AS PrefetchObjectId, SCHEMA_NAME( PT.schema_id ) AS PrefetchSchema, PT.name AS "
        "PrefetchName",
        "WHERE COL.object_id = OBJECT_ID(",
        "INNER JOIN sys.tables AS PT ON COL.object_id = PT.object_id ORDER BY COL.object_id "
        "ASC, COL.column_id ASC");
}

std::optional<TPrefetchKey> CSQLRecColumns::GetPrefetchKey() const {
    return TPrefetchKey::ByName(EPrefetchFamily::Columns, {m_strTableSchema, m_strTableName});
}

void CSQLRecColumns::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Text(pFX, "NameCol", m_strNameCol);
    RFX_Text(pFX, "NameType", m_strNameType);
    RFX_Long(pFX, "IsUser", m_nIsUser);
    RFX_Long(pFX, "MaxLen", m_nMaxLen);
    RFX_Long(pFX, "Prec", m_nPrec);
    RFX_Long(pFX, "Scale", m_nScale);
    RFX_Long(pFX, "IsIdent", m_nIsIdent);
    RFX_Long(pFX, "Seed", m_nSeed);
    RFX_Long(pFX, "Increment", m_nIncrement);
    RFX_Long(pFX, "IsNull", m_nIsNull);
    RFX_Long(pFX, "IsComputed", m_nIsComputed);
    RFX_Long(pFX, "IsComputedPersisted", m_nIsComputedPersisted);
    RFX_Text(pFX, "ComputeDefinition", m_strComputeDefinition, GetDefinitionLength());
    RFX_Text(pFX, "Collation", m_strCollation);
    RFX_Text(pFX, "Default", m_strDefault);
    RFX_Text(pFX, "Rule", m_strRule);
}

CSQLRecIndexColumns::CSQLRecIndexColumns() {
    m_nFields = 1;
}

CString CSQLRecIndexColumns::GetDefaultSQL() {
    CString strSQL;
    strSQL.Format(kIndexColumnsSQL, static_cast<int>(m_nObjectId), static_cast<int>(m_nIndexId));
    return strSQL;
}

CString CSQLRecIndexColumns::GetPrefetchSQL() {
    return DerivePrefetchSQL(kIndexColumnsSQL, " FROM sys.index_columns AS INDCOL",
                             ", INDCOL.object_id AS PrefetchObjectId, INDCOL.index_id AS PrefetchIndexId",
                             "WHERE INDCOL.object_id = ",
                             "ORDER BY INDCOL.object_id ASC, INDCOL.index_id ASC, INDCOL.column_id ASC ");
}

std::optional<TPrefetchKey> CSQLRecIndexColumns::GetPrefetchKey() const {
    return TPrefetchKey::ById(EPrefetchFamily::IndexColumns, m_nObjectId, m_nIndexId);
}

void CSQLRecIndexColumns::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Text(pFX, "Name", m_strName);
}

CSQLRecIndexes::CSQLRecIndexes() {
    m_nFields = 10;
}

CString CSQLRecIndexes::GetDefaultSQL() {
    return kIndexesSQL;
}

void CSQLRecIndexes::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Text(pFX, "Name", m_strName);
    RFX_Long(pFX, "IndexId", m_nIndexId);
    RFX_Long(pFX, "TableId", m_nTableId);
    RFX_Text(pFX, "TableName", m_strTableName);
    RFX_Text(pFX, "TableNameSchema", m_strTableNameSchema);
    RFX_Long(pFX, "[Type]", m_nType);
    RFX_Text(pFX, "TypeDesc", m_strTypeDesc);
    RFX_Long(pFX, "[IsUnique]", m_nIsUnique);
    RFX_Text(pFX, "DataSpaceName", m_strDataSpaceName);
    RFX_Long(pFX, "[Fillfactor]", m_nFillfactor);
}

CSQLRecForeignKeys::CSQLRecForeignKeys() {
    m_nFields = 2;
}

void CSQLRecForeignKeys::SetDetail(bool bDetail) {
    m_bDetail = bDetail;
    m_nFields = bDetail ? 9 : 2;
}

CString CSQLRecForeignKeys::GetDetailSQL() {
    return FormatDetailSQL(DefaultSchemaToDbo(), m_strParamName);
}

CString CSQLRecForeignKeys::FormatDetailSQL(const CString& strSchema, const CString& strName) {
    CString strSQL;
    strSQL.Format(kForeignKeysDetailSQL, ObjectIdPart(strSchema), ObjectIdPart(strName));
    return strSQL;
}

CString CSQLRecForeignKeys::GetListSQL() {
    return kForeignKeysListSQL;
}

CString CSQLRecForeignKeys::GetPrefetchSQL() {
    return DerivePrefetchSQL(kForeignKeysDetailSQL, " FROM sys.foreign_keys FK",
                             ", FK.parent_object_id AS PrefetchObjectId, SCHEMA_NAME( PT.schema_id ) AS "
                             "PrefetchSchema, PT.name AS PrefetchName",
                             "WHERE FK.parent_object_id = OBJECT_ID(",
                             "INNER JOIN sys.objects AS PT ON FK.parent_object_id = PT.object_id ORDER BY "
                             "FK.parent_object_id ASC ");
}

std::optional<TPrefetchKey> CSQLRecForeignKeys::GetPrefetchKey() const {
    return DetailKey(EPrefetchFamily::ForeignKeys);
}

void CSQLRecForeignKeys::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Text(pFX, "FKName", m_strFKName);
    RFX_Text(pFX, "FKNameSchema", m_strFKNameSchema);
    if (!m_bDetail)
        return;
    RFX_Long(pFX, "ParentTableId", m_nParentTableId);
    RFX_Text(pFX, "ParentTableName", m_strParentTableName);
    RFX_Long(pFX, "ReferencedTableId", m_nReferencedTableId);
    RFX_Text(pFX, "ReferencedTableName", m_strReferencedTableName);
    RFX_Long(pFX, "ReferencedIndexId", m_nReferencedIndexId);
    RFX_Long(pFX, "UpdateActions", m_nUpdateActions);
    RFX_Long(pFX, "DeleteActions", m_nDeleteActions);
}

CSQLRecForeignKeyColumnsParent::CSQLRecForeignKeyColumnsParent() {
    m_nFields = 1;
}

CString CSQLRecForeignKeyColumnsParent::GetDefaultSQL() {
    CString strSQL;
    strSQL.Format(kForeignKeyColumnsParentSQL, ObjectIdPart(m_strFKSchema), ObjectIdPart(m_strFKName));
    return strSQL;
}

CString CSQLRecForeignKeyColumnsParent::GetPrefetchSQL() {
    return DerivePrefetchSQL(
        kForeignKeyColumnsParentSQL, " FROM sys.foreign_key_columns FKColumns",
        ", FKColumns.constraint_object_id AS PrefetchObjectId, SCHEMA_NAME( PFK.schema_id ) AS "
        "PrefetchSchema, PFK.name AS PrefetchName",
        "WHERE FKColumns.constraint_object_id = OBJECT_ID(",
        "INNER JOIN sys.objects AS PFK ON FKColumns.constraint_object_id = PFK.object_id "
        "ORDER BY FKColumns.constraint_object_id ASC, FKColumns.parent_column_id ASC ");
}

std::optional<TPrefetchKey> CSQLRecForeignKeyColumnsParent::GetPrefetchKey() const {
    return TPrefetchKey::ByName(EPrefetchFamily::ForeignKeyColumns, {m_strFKSchema, m_strFKName});
}

void CSQLRecForeignKeyColumnsParent::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Text(pFX, "Name", m_strName);
}

CSQLRecFullTextCatalogs::CSQLRecFullTextCatalogs() {
    m_nFields = 4;
}

CString CSQLRecFullTextCatalogs::GetDefaultSQL() {
    return kFullTextCatalogsSQL;
}

void CSQLRecFullTextCatalogs::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Text(pFX, "Name", m_strName);
    RFX_Long(pFX, "is_default", m_nIsDefault);
    RFX_Long(pFX, "is_accent_sensitivity_on", m_nIsAccentSensitivityOn);
    RFX_Text(pFX, "Name", m_strFileGroupName);
}

CSQLRecFullTextCatalogIndexes::CSQLRecFullTextCatalogIndexes() {
    m_nFields = 7;
}

CString CSQLRecFullTextCatalogIndexes::GetDefaultSQL() {
    return kFullTextCatalogIndexesSQL;
}

void CSQLRecFullTextCatalogIndexes::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Long(pFX, "ObjectId", m_nObjectId);
    RFX_Text(pFX, "NameTable", m_strNameTable);
    RFX_Text(pFX, "NameTableSchema", m_strNameTableSchema);
    RFX_Text(pFX, "NameIndex", m_strNameIndex);
    RFX_Text(pFX, "NameFullTextCatalog", m_strNameFullTextCatalog);
    RFX_Text(pFX, "change_tracking_state_desc", m_strChangeTrackingStateDesc);
    RFX_Long(pFX, "is_enabled", m_nIsEnabled);
}

CSQLRecFullTextCatalogIndexColumns::CSQLRecFullTextCatalogIndexColumns() {
    m_nFields = 3;
}

CString CSQLRecFullTextCatalogIndexColumns::GetDefaultSQL() {
    CString strSQL;
    strSQL.Format(kFullTextCatalogIndexColumnsSQL, static_cast<int>(m_nObjectId));
    return strSQL;
}

CString CSQLRecFullTextCatalogIndexColumns::GetPrefetchSQL() {
    return DerivePrefetchSQL(kFullTextCatalogIndexColumnsSQL, " FROM sys.fulltext_index_columns FTC",
                             ", FTC.object_id AS PrefetchObjectId",
                             "WHERE FTC.object_id = ", "ORDER BY FTC.object_id ASC, FTC.column_id ASC ");
}

std::optional<TPrefetchKey> CSQLRecFullTextCatalogIndexColumns::GetPrefetchKey() const {
    return TPrefetchKey::ById(EPrefetchFamily::FullTextColumns, m_nObjectId);
}

void CSQLRecFullTextCatalogIndexColumns::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Text(pFX, "Name", m_strName);
    RFX_Text(pFX, "type_column_id", m_strTypeColumnId);
    RFX_Text(pFX, "language_id", m_strLanguageId);
}
