#include "scripting/Keys.h"

#include "catalog/SQLRecObjects.h"
#include "catalog/SQLRecTableDetails.h"

namespace {

template <class TRec> CString JoinKeyColumns(TRec& rs) {
    rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
    CString strList;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        if (!strList.IsEmpty())
            strList += ",\r\n";
        strList += "\t\t[" + rs.m_strName + "]";
    }
    return strList;
}

CString ScriptForeignKeyClause(const CSQLRecForeignKeys& rs) {
    CString strDelete;
    if (rs.m_nDeleteActions > 0)
        strDelete = " ON DELETE " + GetReferentialActionName(rs.m_nDeleteActions);
    CString strUpdate;
    if (rs.m_nUpdateActions > 0)
        strUpdate = " ON UPDATE " + GetReferentialActionName(rs.m_nUpdateActions);
    const CString strColumns = GetForeignKeyColumnList(rs.m_strFKNameSchema, rs.m_strFKName);
    const CString strReferencedColumns = GetKeyColumnList(rs.m_nReferencedTableId, rs.m_nReferencedIndexId);
    CString strClause;
    strClause.Format("\tFOREIGN KEY \r\n\t( \r\n%s \r\n\t) REFERENCES [%s] \r\n\t( \r\n%s \r\n\t) %s %s\r\n",
                     strColumns, rs.m_strReferencedTableName, strReferencedColumns, strDelete, strUpdate);
    return strClause;
}

} // namespace

CString GetKeyColumnList(long nObjectId, long nIndexId) {
    CSQLRecIndexColumns rs;
    rs.m_nObjectId = nObjectId;
    rs.m_nIndexId = nIndexId;
    return JoinKeyColumns(rs);
}

CString GetForeignKeyColumnList(const char* pszSchema, const char* pszName) {
    CSQLRecForeignKeyColumnsParent rs;
    rs.m_strFKName = pszName;
    rs.m_strFKSchema = pszSchema;
    return JoinKeyColumns(rs);
}

CString GetReferentialActionName(long nAction) {
    switch (nAction) {
    case 1:
        return " CASCADE";
    case 2:
        return " SET NULL";
    case 3:
        return " SET DEFAULT";
    default:
        return CString();
    }
}

CString CSQLPKeys::ScriptObject(const char* pszSchema, const char* pszName) {
    if (IsEmptyObjectName(pszName))
        return CString();
    CSQLRecPKeys rs;
    if (!OpenDetailRecordset(rs, pszSchema, pszName))
        return CString();
    CString strFillFactor;
    if (rs.m_nFillFactor != 0)
        strFillFactor.Format("WITH  FILLFACTOR = %d ", static_cast<int>(rs.m_nFillFactor));
    const CString strSchema = IsEmptyObjectName(pszSchema) ? "dbo" : pszSchema;
    CString strScript;
    strScript.Format(
        "ALTER TABLE [%s].[%s] ADD \r\n\tPRIMARY KEY %sCLUSTERED \r\n\t( \r\n%s \r\n\t) %s \r\nGO \r\n\r\n",
        strSchema, rs.m_strTableName, rs.m_nClastered ? "" : "NON",
        GetKeyColumnList(rs.m_nIdTable, rs.m_nIdInd), strFillFactor);
    return strScript;
}

CString CSQLPKeys::ScriptAllObjects() {
    return ScriptObjectList<CSQLRecPKeys>(*this, &CSQLRecPKeys::m_strNameSchema);
}

CString CSQLForeignKeys::ScriptObject(const char* pszSchema, const char* pszName) {
    if (IsEmptyObjectName(pszName))
        return CString();
    CSQLRecForeignKeys rs;
    OpenDetailRecordset(rs, pszSchema, pszName);
    CString strClauses;
    CString strSchema;
    CString strTable;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        if (!strClauses.IsEmpty())
            strClauses += "\t,\r\n";
        strClauses += ScriptForeignKeyClause(rs);
        strSchema = rs.m_strFKNameSchema;
        strTable = rs.m_strParentTableName;
    }
    if (strClauses.IsEmpty())
        return CString();
    CString strScript;
    strScript.Format("ALTER TABLE [%s].[%s] ADD \r\n %sGO \r\n\r\n", strSchema, strTable, strClauses);
    return strScript;
}

CString CSQLForeignKeys::ScriptAllObjects() {
    return ScriptObjectList<CSQLRecForeignKeysTables>(*this, &CSQLRecForeignKeysTables::m_strNameSchema);
}
