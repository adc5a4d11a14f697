#include "scripts/ScriptApi.h"

#include "api/SingleObject.h"
#include "catalog/ConnectionContext.h"
#include "catalog/SQLRecDependents.h"
#include "catalog/SQLRecObjects.h"
#include "export/CategoryTable.h"
#include "scripting/SQLScript.h"
#include "scripting/Tables.h"
#include "ui/Ui.h"

namespace {

constexpr UINT IDS_BAD_CONNECTION = 28005;
constexpr UINT IDS_BAD_PARAMETERS = 28009;

CString LoadMessage(UINT nID) {
    CString strText;
    strText.LoadString(nID);
    return strText;
}

TErrState Failure(const CString& strMessage) {
    return {1, strMessage};
}

// Runs the work; an exception becomes the error record of FormatScriptError, and the text is emptied.
template <typename F> TErrState RunReportingErrors(CString& strText, F&& work) {
    try {
        work();
        return {};
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        strText.Empty();
        return Failure(FormatScriptError(e));
    } catch (...) {
        strText.Empty();
        return Failure(FormatScriptError(nullptr));
    }
}

bool IsEmptyName(const char* pszName) {
    return !pszName || !*pszName;
}

} // namespace

TErrState ScriptOneObject(eSqlTypeObjects eType, const char* pszName, CString& strScript, bool bNoCollation) {
    if (IsEmptyName(pszName) || eType == eSqlUnknown)
        return Failure(LoadMessage(IDS_BAD_PARAMETERS));
    strScript.Empty();
    return RunReportingErrors(strScript, [&] {
        const std::unique_ptr<CSQLScript> pGenerator =
            CreateCategoryGenerator(eType, bNoCollation ? TRUE : FALSE, ETableForm::CreateTable);
        if (pGenerator)
            strScript = pGenerator->ScriptObject("dbo", pszName);
    });
}

CString GetViewColumnList(const char* pszName) {
    if (IsEmptyName(pszName))
        return CString();
    {
        CSQLRecViews rsView;
        rsView.SetDetail(true);
        rsView.m_strParamName = pszName;
        rsView.m_strParamSchema = "dbo";
        rsView.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
        if (rsView.IsEOF())
            return CString();
    }
    CSQLRecViewCountFields rs;
    rs.m_strParamName = pszName;
    rs.m_strParamSchema = "dbo";
    rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
    CString strColumns;
    const short nColumns = rs.GetODBCFieldCount();
    for (short i = 0; i < nColumns; ++i) {
        CODBCFieldInfo info;
        rs.GetODBCFieldInfo(i, info);
        if (i > 0)
            strColumns += ",\r\n";
        strColumns += info.m_strName;
    }
    rs.Close();
    return strColumns;
}

TErrState GetSqlScriptObject(CDatabase& db, eSqlTypeObjects eType, const char* pszName, CString& strScript,
                             bool bNoCollation) {
    if (!db.m_hdbc)
        return Failure(LoadMessage(IDS_BAD_CONNECTION));
    SetConnectionContext(&db, false);
    CCloseConnectionsOnExit closeConnections;
    return ScriptOneObject(eType, pszName, strScript, bNoCollation);
}

int GenerateSQLScriptObject(CDatabase& db, const char* pszName, CString& strScript, bool bNoCollation) {
    if (!db.m_hdbc) {
        AfxMessageBox(LoadMessage(IDS_BAD_CONNECTION), MB_OK, 0);
        return 0;
    }
    if (IsEmptyName(pszName))
        return 0;
    SetConnectionContext(&db, false);
    CCloseConnectionsOnExit closeConnections;
    const eSqlTypeObjects eCategory = ResolveObjectCategory(pszName);
    const TErrState result = ScriptOneObject(eCategory, pszName, strScript, bNoCollation);
    if (result.nError && !result.strMessage.IsEmpty())
        AfxMessageBox(result.strMessage, MB_OK, 0);
    return result.nError == 0 ? 1 : 0;
}

int GenerateSQLScriptFields(CDatabase& db, const char* pszName, CString& strFields) {
    if (!db.m_hdbc) {
        AfxMessageBox(LoadMessage(IDS_BAD_CONNECTION), MB_OK, 0);
        return 0;
    }
    if (IsEmptyName(pszName))
        return 0;
    SetConnectionContext(&db, false);
    CCloseConnectionsOnExit closeConnections;
    const TErrState result = RunReportingErrors(strFields, [&] {
        switch (ResolveObjectCategory(pszName)) {
        case eSqlTables:
            strFields = CSQLTable().GetColumnList(pszName);
            break;
        case eSqlViews:
            strFields = GetViewColumnList(pszName);
            break;
        default:
            break;
        }
    });
    if (result.nError)
        AfxMessageBox(result.strMessage, MB_OK, 0);
    return result.nError == 0 ? 1 : 0;
}
