#include "platform/Ui.h"

#include <atomic>
#include <cstdio>

namespace {

std::atomic<CUiBackend*> g_pUiBackend{nullptr};

} // namespace

int GetDefaultMessageBoxButton(UINT nType) {
    switch (nType & MB_TYPEMASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    default:
        return IDOK;
    }
}

int CHeadlessUiBackend::MessageBox(const CString& strText, UINT nType) {
    std::lock_guard lock(m_mutex);
    m_aMessages.push_back({strText, nType});
    return m_nAnswer != 0 ? m_nAnswer : GetDefaultMessageBoxButton(nType);
}

std::vector<TUiMessage> CHeadlessUiBackend::GetMessages() const {
    std::lock_guard lock(m_mutex);
    return m_aMessages;
}

void CHeadlessUiBackend::ClearMessages() {
    std::lock_guard lock(m_mutex);
    m_aMessages.clear();
}

void CHeadlessUiBackend::SetMessageBoxAnswer(int nAnswer) {
    std::lock_guard lock(m_mutex);
    m_nAnswer = nAnswer;
}

int CTerminalUiBackend::MessageBox(const CString& strText, UINT nType) {
    std::fprintf(stderr, "%s\n", strText.GetString());
    std::fflush(stderr);
    return GetDefaultMessageBoxButton(nType);
}

void AfxSetUiBackend(CUiBackend* pBackend) {
    g_pUiBackend.store(pBackend);
}

CUiBackend* AfxGetUiBackend() {
    CUiBackend* pBackend = g_pUiBackend.load();
    return pBackend ? pBackend : &AfxGetHeadlessUiBackend();
}

CHeadlessUiBackend& AfxGetHeadlessUiBackend() {
    static CHeadlessUiBackend backend;
    return backend;
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT /*nIDHelp*/) {
    return AfxGetUiBackend()->MessageBox(CString(lpszText), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString strText;
    strText.LoadString(nIDPrompt);
    return AfxMessageBox(strText, nType, nIDHelp);
}
