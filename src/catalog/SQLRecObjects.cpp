#include "catalog/SQLRecObjects.h"

#include "catalog/ConnectionContext.h"
#include "catalog/Prefetch.h"
#include "catalog/SqlIdentifiers.h"

namespace {

constexpr const char* kModuleListSQL =
    "SELECT OBJ.name, SCHEMA_NAME( OBJ.schema_id ) SchemaName FROM sys.objects AS OBJ INNER JOIN "
    "sys.sql_modules AS MOD ON OBJ.object_id = MOD.object_id WHERE OBJ.type = '%s' ORDER BY OBJ.name ASC";
constexpr const char* kModuleDetailSQL =
    "SELECT OBJ.name, SCH.name AS SchemaName,  MOD.definition, MOD.uses_ansi_nulls, "
    "MOD.uses_quoted_identifier FROM sys.objects AS OBJ INNER JOIN sys.sql_modules AS MOD ON OBJ.object_id = "
    "MOD.object_id INNER JOIN sys.schemas SCH ON OBJ.schema_id = SCH.schema_id WHERE OBJ.type = '%s' AND "
    "OBJ.name = '%s' AND SCH.name = '%s' ORDER BY OBJ.name ASC ";
constexpr const char* kUserTypesListSQL =
    "SELECT TYPES.name AS UserName, SCHEMA_NAME( TYPES.schema_id ) AS SchemaName FROM sys.types TYPES WHERE "
    "TYPES.is_user_defined = 1 ORDER BY TYPES.name ASC";
constexpr const char* kUserTypesDetailSQL =
    "SELECT TYPES.name AS UserName, SCHEMA_NAME( TYPES.schema_id ) AS SchemaName, TYPE_NAME( "
    "TYPES.system_type_id ) AS SystemName, TYPES.max_length AS MaxLen, TYPES.precision AS [Precision], "
    "TYPES.scale AS [Scale], TYPES.is_nullable AS [IsNull], CASE WHEN TYPES.default_object_id = 0 THEN '' "
    "ELSE OBJECT_NAME(TYPES.default_object_id) END AS [Default], CASE WHEN TYPES.rule_object_id = 0 THEN '' "
    "ELSE OBJECT_NAME(TYPES.rule_object_id) END AS [Rule] FROM sys.types TYPES WHERE TYPES.is_user_defined = "
    "1 AND TYPES.name = '%s' AND TYPES.schema_id = SCHEMA_ID('%s') ORDER BY TYPES.name ASC";
constexpr const char* kPKeysListSQL =
    "SELECT PK.name AS Name, SCHEMA_NAME( PK.schema_id ) as NameSchema FROM sys.key_constraints PK WHERE "
    "PK.type = 'PK' ORDER BY PK.Name ASC ";
constexpr const char* kPKeysDetailSQL =
    "SELECT PK.name AS Name, SCHEMA_NAME( PK.schema_id ) as NameSchema, PK.parent_object_id AS IdTable, "
    "OBJECT_NAME( PK.parent_object_id ) AS TableName, PK.unique_index_id AS IdInd, INDEXPROPERTY( "
    "PK.parent_object_id, PK.name,'IndexFillFactor') AS [FillFactor], INDEXPROPERTY( PK.parent_object_id, "
    "PK.name,'IsClustered') AS Clastered FROM sys.key_constraints PK WHERE PK.type = 'PK' AND PK.name = '%s' "
    "AND PK.schema_id = SCHEMA_ID('%s') ORDER BY PK.Name ASC ";
constexpr const char* kChecksListSQL = "SELECT CH.name AS Name, SCHEMA_NAME( CH.schema_id ) AS NameSchema "
                                       "FROM sys.check_constraints CH ORDER BY CH.object_id ASC";
constexpr const char* kChecksDetailSQL =
    "SELECT  CH.name AS Name, SCHEMA_NAME( CH.schema_id ) AS NameSchema, OBJECT_NAME( CH.parent_object_id ) "
    "AS NameTable,  SCHEMA_NAME( (SELECT TOP 1 OBJS.schema_id FROM sys.objects OBJS WHERE OBJS.object_id = "
    "CH.parent_object_id) ) AS NameTableSchema,  CH.definition AS Definition FROM sys.check_constraints CH "
    "WHERE CH.object_id = OBJECT_ID('%s.%s') ORDER BY CH.object_id ASC";
constexpr const char* kDriDefaultsListSQL =
    "SELECT DEF.name AS Name, SCHEMA_NAME( DEF.schema_id ) as NameSchema FROM sys.default_constraints AS DEF "
    "WHERE OBJECTPROPERTY(DEF.parent_object_id, N'IsMSShipped') = 0 ORDER BY DEF.name ASC ";
constexpr const char* kDriDefaultsDetailSQL =
    "SELECT \tDEF.name AS Name, SCHEMA_NAME( DEF.schema_id ) as NameSchema, \tOBJECT_NAME( "
    "DEF.parent_object_id ) AS TableName, \tCOL_NAME( DEF.parent_object_id, DEF.parent_column_id ) AS "
    "ColumnName, \tDEF.definition AS Definition FROM sys.default_constraints AS DEF WHERE "
    "OBJECTPROPERTY(DEF.parent_object_id, N'IsMSShipped') = 0 AND DEF.name = '%s' AND DEF.schema_id = "
    "SCHEMA_ID('%s') ORDER BY DEF.name ASC ";
constexpr const char* kTablesSQL =
    "SELECT T.name, T.object_id, S.name as SchemaName, S.schema_id FROM sys.tables T join sys.schemas S on "
    "T.schema_id = S.schema_id ORDER BY T.name ASC";
constexpr const char* kForeignKeysTablesSQL =
    "SELECT DISTINCT OBJECT_NAME( FK.parent_object_id ) AS Name, SCHEMA_NAME( O.schema_id ) as NameSchema "
    "FROM sys.foreign_keys FK INNER JOIN sys.objects O ON FK.parent_object_id = O.object_id ";
constexpr const char* kSchemasSQL =
    "SELECT [name] FROM sys.schemas SCH WHERE SCH.[schema_id] > 4 AND SCH.[schema_id] < 16384";

constexpr const char* kModulesTable = "sys.sql_modules";
// Checks probe the default constraints too: one length serves every definition column.
constexpr const char* kConstraintsTable = "sys.default_constraints";

constexpr UINT kListFields = 2;

} // namespace

CSQLRecModuleObjects::CSQLRecModuleObjects() {
    m_nFields = kListFields;
    EnsureDefinitionLength(m_pDatabase, kModulesTable);
}

void CSQLRecModuleObjects::SetDetail(bool bDetail) {
    m_bDetail = bDetail;
    m_nFields = bDetail ? 5 : kListFields;
    EnsureDefinitionLength(m_pDatabase, kModulesTable);
}

CString CSQLRecModuleObjects::GetDetailSQL() {
    DefaultSchemaToDbo();
    CString strSQL;
    strSQL.Format(kModuleDetailSQL, GetObjectTypeCode(), EscapeSqlLiteral(m_strParamName),
                  EscapeSqlLiteral(m_strParamSchema));
    return strSQL;
}

CString CSQLRecModuleObjects::GetListSQL() {
    CString strSQL;
    strSQL.Format(kModuleListSQL, GetObjectTypeCode());
    return strSQL;
}

// One statement for all six module kinds: the IN list holds their type codes.
CString CSQLRecModuleObjects::GetPrefetchSQL() {
    return DerivePrefetchSQL(
        kModuleDetailSQL, " FROM sys.objects AS OBJ",
        ", OBJ.object_id AS PrefetchObjectId, RTRIM( OBJ.type ) AS PrefetchType, SCH.name AS PrefetchSchema, "
        "OBJ.name AS PrefetchName",
        "WHERE OBJ.type = ",
        "WHERE OBJ.type IN ('D', 'R', 'V', 'TR', 'P', 'FN') ORDER BY OBJ.object_id ASC ");
}

std::optional<TPrefetchKey> CSQLRecModuleObjects::GetPrefetchKey() const {
    if (!m_bDetail)
        return std::nullopt;
    return TPrefetchKey::ByName(EPrefetchFamily::Modules,
                                {GetObjectTypeCode(), m_strParamSchema, m_strParamName});
}

void CSQLRecModuleObjects::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Text(pFX, "name", m_strName);
    RFX_Text(pFX, "SchemaName", m_strSchemaName);
    if (!m_bDetail)
        return;
    RFX_Text(pFX, "definition", m_strDefinition, GetDefinitionLength());
    RFX_Long(pFX, "uses_ansi_nulls", m_nUsesAnsiNulls);
    RFX_Long(pFX, "uses_quoted_identifier", m_nUsesQuotedIdentifier);
}

CSQLRecUserTypes::CSQLRecUserTypes() {
    m_nFields = kListFields;
}

void CSQLRecUserTypes::SetDetail(bool bDetail) {
    m_bDetail = bDetail;
    m_nFields = bDetail ? 9 : kListFields;
}

CString CSQLRecUserTypes::GetDetailSQL() {
    DefaultSchemaToDbo();
    CString strSQL;
    strSQL.Format(kUserTypesDetailSQL, EscapeSqlLiteral(m_strParamName), EscapeSqlLiteral(m_strParamSchema));
    return strSQL;
}

CString CSQLRecUserTypes::GetListSQL() {
    return kUserTypesListSQL;
}

CString CSQLRecUserTypes::GetPrefetchSQL() {
    return DerivePrefetchSQL(kUserTypesDetailSQL, " FROM sys.types TYPES",
                             ", TYPES.user_type_id AS PrefetchObjectId, SCHEMA_NAME( TYPES.schema_id ) AS "
                             "PrefetchSchema, TYPES.name AS PrefetchName",
                             "AND TYPES.name = ", "ORDER BY TYPES.name ASC");
}

std::optional<TPrefetchKey> CSQLRecUserTypes::GetPrefetchKey() const {
    return DetailKey(EPrefetchFamily::UserTypes);
}

void CSQLRecUserTypes::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Text(pFX, "UserName", m_strUserName);
    RFX_Text(pFX, "SchemaName", m_strSchemaName);
    if (!m_bDetail)
        return;
    RFX_Text(pFX, "SystemName", m_strSystemName);
    RFX_Long(pFX, "MaxLen", m_nMaxLen);
    RFX_Long(pFX, "[Precision]", m_nPrecision);
    RFX_Long(pFX, "[Scale]", m_nScale);
    RFX_Long(pFX, "[IsNull]", m_nIsNull);
    RFX_Text(pFX, "[Default]", m_strDefault);
    RFX_Text(pFX, "[Rule]", m_strRule);
}

CSQLRecPKeys::CSQLRecPKeys() {
    m_nFields = kListFields;
}

void CSQLRecPKeys::SetDetail(bool bDetail) {
    m_bDetail = bDetail;
    m_nFields = bDetail ? 7 : kListFields;
}

CString CSQLRecPKeys::GetDetailSQL() {
    DefaultSchemaToDbo();
    CString strSQL;
    strSQL.Format(kPKeysDetailSQL, EscapeSqlLiteral(m_strParamName), EscapeSqlLiteral(m_strParamSchema));
    return strSQL;
}

CString CSQLRecPKeys::GetListSQL() {
    return kPKeysListSQL;
}

CString CSQLRecPKeys::GetPrefetchSQL() {
    return DerivePrefetchSQL(
        kPKeysDetailSQL, " FROM sys.key_constraints PK",
        ", PK.object_id AS PrefetchObjectId, SCHEMA_NAME( PK.schema_id ) AS PrefetchSchema, "
        "PK.name AS PrefetchName",
        "AND PK.name = ", "ORDER BY PK.Name ASC ");
}

std::optional<TPrefetchKey> CSQLRecPKeys::GetPrefetchKey() const {
    return DetailKey(EPrefetchFamily::PrimaryKeys);
}

void CSQLRecPKeys::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Text(pFX, "Name", m_strName);
    RFX_Text(pFX, "NameSchema", m_strNameSchema);
    if (!m_bDetail)
        return;
    RFX_Long(pFX, "IdTable", m_nIdTable);
    RFX_Text(pFX, "TableName", m_strTableName);
    RFX_Long(pFX, "IdInd", m_nIdInd);
    RFX_Long(pFX, "[FillFactor]", m_nFillFactor);
    RFX_Long(pFX, "Clastered", m_nClastered);
}

CSQLRecChecks::CSQLRecChecks() {
    m_nFields = kListFields;
    EnsureDefinitionLength(m_pDatabase, kConstraintsTable);
}

void CSQLRecChecks::SetDetail(bool bDetail) {
    m_bDetail = bDetail;
    m_nFields = bDetail ? 5 : kListFields;
    EnsureDefinitionLength(m_pDatabase, kConstraintsTable);
}

CString CSQLRecChecks::GetDetailSQL() {
    DefaultSchemaToDbo();
    CString strSQL;
    strSQL.Format(kChecksDetailSQL, ObjectIdPart(m_strParamSchema), ObjectIdPart(m_strParamName));
    return strSQL;
}

CString CSQLRecChecks::GetListSQL() {
    return kChecksListSQL;
}

CString CSQLRecChecks::GetPrefetchSQL() {
    return DerivePrefetchSQL(
        kChecksDetailSQL, " FROM sys.check_constraints CH",
        ", CH.object_id AS PrefetchObjectId, SCHEMA_NAME( CH.schema_id ) AS PrefetchSchema, "
        "CH.name AS PrefetchName",
        "WHERE CH.object_id = ", "ORDER BY CH.object_id ASC");
}

std::optional<TPrefetchKey> CSQLRecChecks::GetPrefetchKey() const {
    return DetailKey(EPrefetchFamily::Checks);
}

void CSQLRecChecks::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Text(pFX, "Name", m_strName);
    RFX_Text(pFX, "NameSchema", m_strNameSchema);
    if (!m_bDetail)
        return;
    RFX_Text(pFX, "NameTable", m_strNameTable);
    RFX_Text(pFX, "NameTableSchema", m_strNameTableSchema);
    RFX_Text(pFX, "Definition", m_strDefinition, GetDefinitionLength());
}

CSQLRecDriDefaults::CSQLRecDriDefaults() {
    m_nFields = kListFields;
    EnsureDefinitionLength(m_pDatabase, kConstraintsTable);
}

void CSQLRecDriDefaults::SetDetail(bool bDetail) {
    m_bDetail = bDetail;
    m_nFields = bDetail ? 5 : kListFields;
    EnsureDefinitionLength(m_pDatabase, kConstraintsTable);
}

CString CSQLRecDriDefaults::GetDetailSQL() {
    DefaultSchemaToDbo();
    CString strSQL;
    strSQL.Format(kDriDefaultsDetailSQL, EscapeSqlLiteral(m_strParamName),
                  EscapeSqlLiteral(m_strParamSchema));
    return strSQL;
}

CString CSQLRecDriDefaults::GetListSQL() {
    return kDriDefaultsListSQL;
}

void CSQLRecDriDefaults::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Text(pFX, "Name", m_strName);
    RFX_Text(pFX, "NameSchema", m_strNameSchema);
    if (!m_bDetail)
        return;
    RFX_Text(pFX, "TableName", m_strTableName);
    RFX_Text(pFX, "ColumnName", m_strColumnName);
    RFX_Text(pFX, "Definition", m_strDefinition, GetDefinitionLength());
}

CSQLRecTables::CSQLRecTables() {
    m_nFields = 4;
}

CString CSQLRecTables::GetDefaultSQL() {
    return kTablesSQL;
}

void CSQLRecTables::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Text(pFX, "name", m_strName);
    RFX_Long(pFX, "object_id", m_nObjectId);
    RFX_Text(pFX, "SchemaName", m_strSchemaName);
    RFX_Long(pFX, "schema_id", m_nSchemaId);
}

CSQLRecForeignKeysTables::CSQLRecForeignKeysTables() {
    m_nFields = 2;
}

CString CSQLRecForeignKeysTables::GetDefaultSQL() {
    return kForeignKeysTablesSQL;
}

void CSQLRecForeignKeysTables::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Text(pFX, "Name", m_strName);
    RFX_Text(pFX, "NameSchema", m_strNameSchema);
}

CSQLRecSchemas::CSQLRecSchemas() {
    m_nFields = 1;
}

CString CSQLRecSchemas::GetDefaultSQL() {
    return kSchemasSQL;
}

void CSQLRecSchemas::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Text(pFX, "Name", m_strName);
}
