#include "scripting/Indexes.h"

#include "catalog/SQLRecTableDetails.h"
#include "scripting/ScriptGuard.h"

namespace {

CString GetIndexColumnList(long nObjectId, long nIndexId) {
    CSQLRecIndexColumns rs;
    rs.m_nObjectId = nObjectId;
    rs.m_nIndexId = nIndexId;
    rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
    CString strList;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        if (!strList.IsEmpty())
            strList += ", ";
        strList += "[" + rs.m_strName + "]";
    }
    return strList;
}

// The index rows name the table as the catalog spells it; the caller may have used another letter case,
// as the server resolves names without regard to case.
bool IsIndexOf(const CSQLRecIndexes& rs, const CString& strSchema, const char* pszTable,
               const char* pszIndex) {
    return rs.m_strName == pszIndex && rs.m_strTableNameSchema.CompareNoCase(strSchema) == 0 &&
           rs.m_strTableName.CompareNoCase(pszTable) == 0;
}

} // namespace

CString CSQLIndexes::ScriptIndex(const CSQLRecIndexes& rs) {
    CString strFillFactor;
    if (rs.m_nFillfactor != 0)
        strFillFactor.Format(" WITH  FILLFACTOR = %d ", static_cast<int>(rs.m_nFillfactor));
    const CString strKind = rs.m_nType == 1 ? rs.m_strTypeDesc : CString();
    CString strScript;
    strScript.Format("CREATE %s %s INDEX [%s] ON [%s].[%s](%s) %sON [%s]\r\nGO \r\n\r\n",
                     rs.m_nIsUnique ? "UNIQUE" : "", strKind, rs.m_strName, rs.m_strTableNameSchema,
                     rs.m_strTableName, GetIndexColumnList(rs.m_nTableId, rs.m_nIndexId), strFillFactor,
                     rs.m_strDataSpaceName);
    return strScript;
}

CString CSQLIndexes::ScriptAllObjects() {
    return ScriptOrReport([this] {
        CString strText;
        CSQLRecIndexes rs;
        // An index's name is unique only on its table.
        if (m_pRun)
            return ScriptRunList(*m_pRun, rs, [](const CSQLRecIndexes& row) {
                return TScriptedObject{row.m_strTableNameSchema, row.m_strTableName + "." + row.m_strName,
                                       ScriptIndex(row)};
            });
        rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
        for (; !rs.IsEOF(); rs.MoveNext())
            strText += ScriptIndex(rs);
        return strText;
    });
}

CString CSQLIndexes::ScriptTableIndex(const char* pszSchema, const char* pszTable, const char* pszIndex) {
    if (IsEmptyObjectName(pszTable) || IsEmptyObjectName(pszIndex))
        return CString();
    const CString strSchema = IsEmptyObjectName(pszSchema) ? "dbo" : pszSchema;
    CSQLRecIndexes rs;
    rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
    for (; !rs.IsEOF(); rs.MoveNext()) {
        if (IsIndexOf(rs, strSchema, pszTable, pszIndex))
            return ScriptIndex(rs);
    }
    return CString();
}
