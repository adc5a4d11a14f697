#include "scripts/ScriptUnloader.h"

#include "catalog/ConnectionContext.h"
#include "export/CategoryTable.h"
#include "export/DlgCreateScript.h"
#include "export/ScriptFiles.h"
#include "platform/File.h"
#include "scripting/SQLScript.h"
#include "ui/Ui.h"

namespace {

constexpr UINT IDS_CREATE_FOLDER_FAILED = 28003;
constexpr UINT IDS_NO_FILE_NAME = 28004;
constexpr UINT IDS_BAD_CONNECTION = 28005;

void ShowStringMessage(UINT nID) {
    AfxMessageBox(nID, MB_OK, 0);
}

} // namespace

CScriptUnloader::CScriptUnloader(CDatabase& db, CWnd* pParent, const char* pszPath)
    : m_strPath(pszPath), m_pParent(pParent), m_pDatabase(&db) {}

BOOL CScriptUnloader::GetScriptDataFromDlg() {
    CDlgCreateScript dlg(m_pParent);
    dlg.m_pUnloader = this;
    return dlg.DoModal() == IDOK ? TRUE : FALSE;
}

BOOL CScriptUnloader::Check() {
    if (!m_pDatabase->m_hdbc) {
        ShowStringMessage(IDS_BAD_CONNECTION);
        return FALSE;
    }
    if (m_strPath.IsEmpty() || !CreateFullPath(m_strPath)) {
        ShowStringMessage(IDS_CREATE_FOLDER_FAILED);
        return FALSE;
    }
    for (const TScriptFile& file : m_aFiles) {
        if (file.bEnabled && file.strFile.IsEmpty()) {
            ShowStringMessage(IDS_NO_FILE_NAME);
            return FALSE;
        }
    }
    if (m_strPath.Right(1) == "/")
        m_strPath = m_strPath.Left(m_strPath.GetLength() - 1);
    return TRUE;
}

void CScriptUnloader::ExecScriptData() {
    if (!Check())
        return;
    SetConnectionContext(m_pDatabase, false, m_bPrefetch != 0);
    CCloseConnectionsOnExit closeConnections;
    CDropPrefetchedRowsOnExit dropPrefetchedRows;
    if (!Prefetch())
        return;
    for (int nCategory = 0; nCategory < SQL_CATEGORY_COUNT; ++nCategory)
        if (!ScriptsAll(static_cast<eSqlTypeObjects>(nCategory)))
            break;
}

BOOL CScriptUnloader::ScriptsAll(eSqlTypeObjects eType) {
    const TScriptFile& file = m_aFiles[eType];
    if (!file.bEnabled)
        return TRUE;
    if (IsStopRequested())
        return FALSE;
    const CString strPath = GetFilePath(eType);
    if (ShouldAskReplace(strPath)) {
        const TReplaceAnswer answer = AskReplaceFile(AfxGetMainWnd(), strPath);
        if (!answer.bReplace)
            return FALSE;
        m_bReplaceAll = answer.bReplaceAll;
    }
    return ProduceCategory(eType, strPath, ShowStringMessage) ? TRUE : FALSE;
}

BOOL CScriptUnloader::Prefetch() {
    try {
        PrefetchCatalog();
        return TRUE;
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        ShowScriptMessage(e->GetErrorText());
        return FALSE;
    }
}

CString CScriptUnloader::GetFilePath(int nCategory) const {
    return m_strPath + "/" + m_aFiles[nCategory].strFile;
}

bool CScriptUnloader::ShouldAskReplace(const CString& strPath) const {
    return !m_bNoCategoryFiles && !m_bReplaceAll && IsFileExist(strPath);
}

bool CScriptUnloader::ProduceCategory(int nCategory, const CString& strPath,
                                      void (*pfnShowMessage)(UINT nID)) {
    const CString strText = GenerateCategory(nCategory);
    if (IsStopRequested())
        return false;
    if (m_bNoCategoryFiles || WriteScriptFile(strPath, strText, pfnShowMessage))
        if (m_pObserver)
            m_pObserver->OnCategoryFinished(nCategory, strText);
    return true;
}

CString CScriptUnloader::GenerateCategory(int nCategory) const {
    const std::unique_ptr<CSQLScript> pGenerator =
        CreateCategoryGenerator(nCategory, m_bNoCollation, ETableForm::InsertScript);
    if (!m_pObserver && !m_bDependencyOrder)
        return pGenerator->ScriptAllObjects();
    const CScriptRun run(m_pObserver, nCategory, m_bDependencyOrder && IsModuleCategory(nCategory));
    if (m_pObserver)
        m_pObserver->OnCategoryStarted(nCategory);
    pGenerator->m_pRun = &run;
    return pGenerator->ScriptAllObjects();
}
