#include "scripting/Tables.h"

#include "catalog/SQLRecObjects.h"
#include "catalog/SQLRecTableDetails.h"
#include "scripting/ColumnTypes.h"

namespace {

// Joins the rows of an opened column recordset, each turned into text, with ",\r\n" between two rows.
template <class TFormat> CString JoinColumnRows(CSQLRecColumns& rs, TFormat formatRow) {
    CString strText;
    while (!rs.IsEOF()) {
        strText += formatRow(rs);
        rs.MoveNext();
        if (!rs.IsEOF())
            strText += ",\r\n";
    }
    return strText;
}

} // namespace

CString CSQLTable::ScriptCreateTable(const char* pszSchema, const char* pszName) {
    if (IsEmptyObjectName(pszName))
        return CString();
    CSQLRecColumns rs;
    rs.m_strTableName = pszName;
    rs.m_strTableSchema = pszSchema;
    rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
    const CString strColumns = JoinColumnRows(rs, [this](CSQLRecColumns& row) { return ScriptColumn(row); });
    if (strColumns.IsEmpty())
        return CString();
    CString strScript;
    strScript.Format("CREATE TABLE [%s].[%s] (\r\n %s )", CString(pszSchema), pszName, strColumns);
    return strScript;
}

CString CSQLTable::ScriptColumn(CSQLRecColumns& rs) const {
    CString strLine;
    if (rs.m_nIsComputed) {
        // The definition travels inside a string literal in the insert form.
        rs.m_strComputeDefinition.Replace("'", "''");
        const bool bPersisted = rs.m_nIsComputedPersisted != 0;
        const char* pszNull = !bPersisted ? "" : (rs.m_nIsNull ? "NULL" : "NOT NULL");
        strLine.Format("\t[%s] AS %s %s %s", rs.m_strNameCol, rs.m_strComputeDefinition,
                       bPersisted ? "PERSISTED" : "", pszNull);
        return strLine;
    }
    strLine.Format("\t[%s] %s%s%s NULL", rs.m_strNameCol, ScriptColumnType(rs), ScriptIdentity(rs),
                   rs.m_nIsNull ? "" : " NOT");
    return strLine;
}

CString CSQLTable::ScriptColumnType(const CSQLRecColumns& rs) const {
    const TSqlTypeInfo info{rs.m_strNameType, static_cast<int>(rs.m_nMaxLen), static_cast<int>(rs.m_nPrec),
                            static_cast<int>(rs.m_nScale), rs.m_nIsUser == 1};
    CString strType = FormatSqlType(info);
    if (m_bScriptCollation && !rs.m_strCollation.IsEmpty())
        strType.AppendFormat(" COLLATE %s ", rs.m_strCollation);
    return strType;
}

CString CSQLTable::ScriptIdentity(const CSQLRecColumns& rs) const {
    if (!rs.m_nIsIdent)
        return CString();
    CString strIdentity;
    strIdentity.Format(" IDENTITY(%d, %d)", static_cast<int>(rs.m_nSeed), static_cast<int>(rs.m_nIncrement));
    return strIdentity;
}

CString CSQLTable::ScriptObject(const char* pszSchema, const char* pszName) {
    if (IsEmptyObjectName(pszName))
        return CString();
    CString strScript;
    strScript.Format("\r\n%s\r\nGO ", ScriptCreateTable(pszSchema, pszName));
    return strScript;
}

CString CSQLTable::ScriptAllObjects() {
    return ScriptObjectList<CSQLRecTables>(*this);
}

CString CSQLTable::GetColumnList(const char* pszName) const {
    if (IsEmptyObjectName(pszName))
        return CString();
    CSQLRecColumns rs;
    rs.m_strTableName = pszName;
    rs.m_strTableSchema = "dbo";
    rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
    return JoinColumnRows(rs, [](const CSQLRecColumns& row) { return row.m_strNameCol; });
}

CString CSQLTableInsertScript::ScriptObject(const char* pszSchema, const char* pszName) {
    if (IsEmptyObjectName(pszName))
        return CString();
    CString strCreate = ScriptCreateTable(pszSchema, pszName);
    strCreate.Replace("\r\n", "");
    CString strScript;
    strScript.Format(
        "INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('%s', "
        "'%s', '%s')\r\n",
        CString(pszSchema), pszName, strCreate);
    return strScript;
}

CString CSQLTableInsertScript::ScriptAllObjects() {
    return "SET NOCOUNT ON\r\nGO\r\n\r\n" + CSQLTable::ScriptAllObjects() + "\r\nSET NOCOUNT OFF\r\nGO\r\n";
}
