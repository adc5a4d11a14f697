#include "catalog/SQLRecDependents.h"

#include "catalog/SqlIdentifiers.h"

namespace {

constexpr const char* kChildsPrimarySQL =
    "SELECT PK.name AS ChildName, SCHEMA_NAME( PK.schema_id ) AS ChildNameSchema FROM sys.key_constraints PK "
    "WHERE PK.type = 'PK' AND PK.parent_object_id = OBJECT_ID('%s.%s') ";
constexpr const char* kChildsForeignSQL =
    "SELECT\tFK.name AS ChildName, SCHEMA_NAME( FK.schema_id ) AS ChildNameSchema FROM sys.foreign_keys FK  "
    "WHERE FK.parent_object_id = OBJECT_ID('%s.%s') ";
constexpr const char* kChildsIndexsSQL =
    "SELECT I.name AS ChildName, SCHEMA_NAME( O.schema_id ) AS ChildNameSchema FROM sys.indexes I INNER JOIN "
    "sys.objects O ON I.object_id = O.object_id WHERE\tI.is_primary_key = 0 AND (I.type_desc = 'CLUSTERED' "
    "OR I.type_desc = 'NONCLUSTERED' ) \t\tAND O.type = 'U' AND I.object_id = OBJECT_ID('%s.%s') ";
constexpr const char* kChildsChecksSQL =
    "SELECT CH.name AS ChildName, SCHEMA_NAME( CH.schema_id ) AS ChildNameSchema FROM sys.check_constraints "
    "CH WHERE CH.parent_object_id = OBJECT_ID('%s.%s') ";
// Bound defaults are found through the columns they are bound to; default constraints have no
// sql_modules row, so the join leaves them out.
constexpr const char* kChildsDefSQL =
    "SELECT OBJ.name AS ChildName, SCHEMA_NAME( OBJ.schema_id ) AS ChildNameSchema FROM sys.objects AS OBJ "
    "INNER JOIN sys.sql_modules AS MOD ON OBJ.object_id = MOD.object_id WHERE OBJ.type = 'D' AND "
    "OBJ.object_id IN (SELECT COL.default_object_id FROM sys.columns AS COL WHERE COL.object_id = "
    "OBJECT_ID('%s.%s')) ";
constexpr const char* kChildsDefDriSQL =
    "SELECT DEF.name AS ChildName, SCHEMA_NAME( DEF.schema_id ) AS ChildNameSchema  FROM "
    "sys.default_constraints AS DEF WHERE DEF.parent_object_id = OBJECT_ID('%s.%s')";
// Rules, like bound defaults, hang on the table's columns.
constexpr const char* kChildsRulesSQL =
    "SELECT OBJ.name AS ChildName, SCHEMA_NAME( OBJ.schema_id ) AS ChildNameSchema  FROM sys.objects AS OBJ "
    "INNER JOIN sys.sql_modules AS MOD ON OBJ.object_id = MOD.object_id WHERE OBJ.type = 'R' AND "
    "OBJ.object_id IN (SELECT COL.rule_object_id FROM sys.columns AS COL WHERE COL.object_id = "
    "OBJECT_ID('%s.%s')) ";
// A trigger names its table as its parent.
constexpr const char* kChildsTrigSQL =
    "SELECT OBJ.name AS ChildName, SCHEMA_NAME( OBJ.schema_id ) AS ChildNameSchema  FROM sys.objects AS OBJ "
    "INNER JOIN sys.sql_modules AS MOD ON OBJ.object_id = MOD.object_id WHERE OBJ.type = 'TR' AND "
    "OBJ.parent_object_id = OBJECT_ID('%s.%s') ";
constexpr const char* kGetObjectTypeSQL =
    "SELECT O.type FROM sys.objects O WHERE O.object_id = OBJECT_ID('%s.%s') ";
constexpr const char* kViewCountFieldsSQL = "SELECT * FROM %s.%s WHERE 1=0";

} // namespace

CSQLRecChilds::CSQLRecChilds() {
    m_nFields = 2;
}

void CSQLRecChilds::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Text(pFX, "ChildName", m_strChildName);
    RFX_Text(pFX, "ChildNameSchema", m_strChildNameSchema);
}

CString CSQLRecChilds::FormatChildsSQL(const char* pszTemplate) {
    DefaultSchemaToDbo();
    CString strSQL;
    strSQL.Format(pszTemplate, ObjectIdPart(m_strParamSchema), ObjectIdPart(m_strParamName));
    return strSQL;
}

CString CSQLRecChildsPrimary::GetDefaultSQL() {
    return FormatChildsSQL(kChildsPrimarySQL);
}

CString CSQLRecChildsForeign::GetDefaultSQL() {
    return FormatChildsSQL(kChildsForeignSQL);
}

CString CSQLRecChildsIndexs::GetDefaultSQL() {
    return FormatChildsSQL(kChildsIndexsSQL);
}

CString CSQLRecChildsChecks::GetDefaultSQL() {
    return FormatChildsSQL(kChildsChecksSQL);
}

CString CSQLRecChildsDef::GetDefaultSQL() {
    return FormatChildsSQL(kChildsDefSQL);
}

CString CSQLRecChildsDefDri::GetDefaultSQL() {
    return FormatChildsSQL(kChildsDefDriSQL);
}

CString CSQLRecChildsRules::GetDefaultSQL() {
    return FormatChildsSQL(kChildsRulesSQL);
}

CString CSQLRecChildsTrig::GetDefaultSQL() {
    return FormatChildsSQL(kChildsTrigSQL);
}

CSQLRecGetObjectType::CSQLRecGetObjectType() {
    m_nFields = 1;
}

CString CSQLRecGetObjectType::GetDefaultSQL() {
    CString strSQL;
    strSQL.Format(kGetObjectTypeSQL, ObjectIdPart(m_strParamSchema), ObjectIdPart(m_strParamName));
    return strSQL;
}

void CSQLRecGetObjectType::DoFieldExchange(CFieldExchange* pFX) {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Text(pFX, "Type", m_strType);
}

CString CSQLRecViewCountFields::GetDefaultSQL() {
    DefaultSchemaToDbo();
    CString strSQL;
    strSQL.Format(kViewCountFieldsSQL, DelimitIdentifier(m_strParamSchema),
                  DelimitIdentifier(m_strParamName));
    return strSQL;
}
