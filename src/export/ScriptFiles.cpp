#include "export/ScriptFiles.h"

#include "export/DlgReplaceFile.h"
#include "platform/Exceptions.h"
#include "platform/File.h"

#include <algorithm>

namespace {
constexpr UINT IDS_WRITE_FAILED = 28007;
} // namespace

TReplaceAnswer AskReplaceFile(CWnd* pParent, const CString& strPath) {
    CDlgReplaceFile dlg(pParent);
    dlg.m_strFileName = ExtractFileName(strPath);
    dlg.DoModal();
    return {dlg.m_bYes || dlg.m_bYesToAll, dlg.m_bYesToAll};
}

bool WriteScriptFile(const CString& strPath, const CString& strText, void (*pfnShowMessage)(UINT nID)) {
    try {
        WriteFileReplacing(strPath, strText.GetString(), static_cast<size_t>(strText.GetLength()));
        return true;
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        pfnShowMessage(IDS_WRITE_FAILED);
        return false;
    }
}

CString ExtractFileName(const char* pszPath) {
    if (!pszPath || !*pszPath)
        return CString();
    const CString strPath(pszPath);
    const int nSlash = std::max(strPath.ReverseFind('/'), strPath.ReverseFind('\\'));
    return strPath.Mid(nSlash + 1);
}
