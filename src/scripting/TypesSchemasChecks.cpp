#include "scripting/TypesSchemasChecks.h"

#include "catalog/SQLRecObjects.h"
#include "scripting/ColumnTypes.h"

CString CSQLUserTypes::ScriptObject(const char* pszSchema, const char* pszName) {
    if (IsEmptyObjectName(pszName))
        return CString();
    CSQLRecUserTypes rs;
    if (!OpenDetailRecordset(rs, pszSchema, pszName))
        return CString();
    TSqlTypeInfo info;
    info.strTypeName = rs.m_strSystemName;
    info.nMaxLength = static_cast<int>(rs.m_nMaxLen);
    info.nPrecision = static_cast<int>(rs.m_nPrecision);
    info.nScale = static_cast<int>(rs.m_nScale);
    CString strCreate;
    strCreate.Format("\tCREATE TYPE [%s].[%s] FROM %s %s NULL\r\n", rs.m_strSchemaName, rs.m_strUserName,
                     FormatSqlType(info), rs.m_nIsNull ? "" : "NOT");
    // The bound default is taken to live in the type's schema.
    CString strBind;
    if (!rs.m_strDefault.IsEmpty())
        strBind.Format("\tEXEC sp_bindefault '[%s].[%s]', '[%s].[%s]' \r\n", rs.m_strSchemaName,
                       rs.m_strDefault, rs.m_strSchemaName, rs.m_strUserName);
    CString strScript;
    strScript.Format(
        "IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = '%s' AND schema_id = SCHEMA_ID('%s') ) "
        "\r\nBEGIN \r\n%s%sEND\r\nGO\r\n\r\n",
        rs.m_strUserName, rs.m_strSchemaName, strCreate, strBind);
    rs.Close();
    return strScript;
}

CString CSQLUserTypes::ScriptAllObjects() {
    return ScriptObjectList<CSQLRecUserTypes>(*this, &CSQLRecUserTypes::m_strSchemaName,
                                              &CSQLRecUserTypes::m_strUserName);
}

CString CSQLSchemas::ScriptObject(const char* /*pszSchema*/, const char* pszName) {
    if (IsEmptyObjectName(pszName))
        return CString();
    CString strScript;
    strScript.Format(
        "IF NOT EXISTS (SELECT 1 FROM sys.schemas WHERE name = '%s')\r\n\tEXECUTE ('CREATE SCHEMA "
        "%s')\r\nGO\r\n\r\n",
        pszName, pszName);
    return strScript;
}

CString CSQLSchemas::ScriptAllObjects() {
    return ScriptObjectList<CSQLRecSchemas>(*this, &CSQLRecSchemas::m_strNameSchema,
                                            &CSQLRecSchemas::m_strName);
}

CString CSQLChecks::ScriptObject(const char* pszSchema, const char* pszName) {
    if (IsEmptyObjectName(pszName))
        return CString();
    CSQLRecChecks rs;
    if (!OpenDetailRecordset(rs, pszSchema, pszName))
        return CString();
    CString strScript;
    strScript.Format("ALTER TABLE [%s].[%s] WITH NOCHECK ADD CHECK %s \r\nGO\r\n\r\n",
                     rs.m_strNameTableSchema, rs.m_strNameTable, rs.m_strDefinition);
    rs.Close();
    return strScript;
}

CString CSQLChecks::ScriptAllObjects() {
    return ScriptObjectList<CSQLRecChecks>(*this, &CSQLRecChecks::m_strNameSchema, &CSQLRecChecks::m_strName);
}

CString CSQLDriDefaults::ScriptObject(const char* pszSchema, const char* pszName) {
    if (IsEmptyObjectName(pszName))
        return CString();
    CSQLRecDriDefaults rs;
    if (!OpenDetailRecordset(rs, pszSchema, pszName))
        return CString();
    CString strScript;
    strScript.Format("ALTER TABLE [%s].[%s] ADD DEFAULT %s FOR [%s] \r\nGO\r\n\r\n", rs.m_strNameSchema,
                     rs.m_strTableName, rs.m_strDefinition, rs.m_strColumnName);
    rs.Close();
    return strScript;
}

CString CSQLDriDefaults::ScriptAllObjects() {
    return ScriptObjectList<CSQLRecDriDefaults>(*this, &CSQLRecDriDefaults::m_strNameSchema,
                                                &CSQLRecDriDefaults::m_strName);
}
