#include "scripting/SQLScript.h"

#include "ui/Ui.h"

namespace {

constexpr UINT IDS_UNKNOWN_ERROR = 28006;
constexpr UINT IDS_SCRIPT_ERROR = 28008;

CString LoadResourceString(UINT nID) {
    CString str;
    str.LoadString(nID);
    return str;
}

} // namespace

CString CSQLObject::ScriptDependents(const char* /*pszSchema*/, const char* /*pszName*/) {
    return CString();
}

CCriticalSection& GetScriptMessageLock() {
    static CCriticalSection lock;
    return lock;
}

CString FormatScriptError(const CException* pException) {
    CString strMessage;
    if (pException)
        pException->GetErrorMessage(strMessage, SCRIPT_ERROR_MESSAGE_MAX);
    if (strMessage.IsEmpty())
        return LoadResourceString(IDS_UNKNOWN_ERROR);
    return LoadResourceString(IDS_SCRIPT_ERROR) + strMessage;
}

void ShowScriptMessage(const CString& strText) {
    CSingleLock lock(&GetScriptMessageLock(), TRUE);
    AfxMessageBox(strText, MB_OK, 0);
}

void ReportScriptError(const CException* pException) {
    CSingleLock lock(&GetScriptMessageLock(), TRUE);
    AfxMessageBox(FormatScriptError(pException), MB_OK, 0);
}
