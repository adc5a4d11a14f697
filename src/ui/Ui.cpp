#include "ui/Ui.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

std::atomic<CUiBackend*> g_pUiBackend{nullptr};

bool IsButton(const CWnd& control) {
    const TControlTemplate* pTemplate = control.GetTemplate();
    return pTemplate &&
           (pTemplate->eKind == EControlKind::PushButton || pTemplate->eKind == EControlKind::DefPushButton);
}

bool HasOnlyButtonsAndText(const CDialog& dlg) {
    return std::all_of(dlg.GetControls().begin(), dlg.GetControls().end(), [](const CWnd* pControl) {
        const EControlKind eKind = pControl->GetTemplate()->eKind;
        return IsButton(*pControl) || eKind == EControlKind::Static || eKind == EControlKind::Frame;
    });
}

// The enabled buttons as they stand on the dialog, top to bottom and left to right.
std::vector<CWnd*> EnabledButtons(const CDialog& dlg) {
    std::vector<CWnd*> aButtons;
    for (CWnd* pControl : dlg.GetControls())
        if (IsButton(*pControl) && pControl->IsWindowEnabled())
            aButtons.push_back(pControl);
    std::stable_sort(aButtons.begin(), aButtons.end(), [](const CWnd* a, const CWnd* b) {
        return std::pair(a->GetTemplate()->y, a->GetTemplate()->x) <
               std::pair(b->GetTemplate()->y, b->GetTemplate()->x);
    });
    return aButtons;
}

// Shows the dialog's texts and asks for a button by number; end of input closes it as Escape does.
void AskOnTerminal(CDialog& dlg) {
    std::fprintf(stderr, "%s\n", dlg.GetDialogTemplate()->pszCaption);
    for (const CWnd* pControl : dlg.GetControls())
        if (pControl->GetTemplate()->eKind == EControlKind::Static && !pControl->GetText().IsEmpty())
            std::fprintf(stderr, "  %s\n", pControl->GetText().GetString());
    while (dlg.IsModalRunning()) {
        const std::vector<CWnd*> aButtons = EnabledButtons(dlg);
        for (size_t i = 0; i < aButtons.size(); ++i)
            std::fprintf(stderr, "%s[%zu] %s", i ? "  " : "", i + 1, aButtons[i]->GetText().GetString());
        std::fprintf(stderr, ": ");
        std::fflush(stderr);
        std::string strLine;
        if (!std::getline(std::cin, strLine)) {
            dlg.EndDialog(IDCANCEL);
            return;
        }
        const size_t nChoice = std::strtoul(strLine.c_str(), nullptr, 10);
        if (nChoice >= 1 && nChoice <= aButtons.size())
            dlg.ClickButton(aButtons[nChoice - 1]->GetDlgCtrlID());
    }
}

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

INT_PTR CHeadlessUiBackend::RunModal(CDialog& dlg) {
    TDialogDriver driver;
    {
        std::lock_guard lock(m_mutex);
        driver = m_driver;
    }
    dlg.CreateControls();
    if (dlg.IsModalRunning())
        dlg.ContinueModal();
    if (driver && dlg.IsModalRunning())
        driver(dlg);
    if (dlg.IsModalRunning())
        dlg.EndDialog(IDCANCEL);
    const INT_PTR nResult = dlg.GetModalResult();
    dlg.DestroyControls();
    return nResult;
}

bool CHeadlessUiBackend::BrowseForFolder(CString& strFolder, CWnd*, const char*) {
    TFolderChooser chooser;
    {
        std::lock_guard lock(m_mutex);
        chooser = m_chooser;
    }
    return chooser && chooser(strFolder);
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

void CHeadlessUiBackend::SetDialogDriver(TDialogDriver driver) {
    std::lock_guard lock(m_mutex);
    m_driver = std::move(driver);
}

void CHeadlessUiBackend::SetFolderChooser(TFolderChooser chooser) {
    std::lock_guard lock(m_mutex);
    m_chooser = std::move(chooser);
}

int CTerminalUiBackend::MessageBox(const CString& strText, UINT nType) {
    std::fprintf(stderr, "%s\n", strText.GetString());
    std::fflush(stderr);
    return GetDefaultMessageBoxButton(nType);
}

INT_PTR CTerminalUiBackend::RunModal(CDialog& dlg) {
    if (!::isatty(STDIN_FILENO) || !HasOnlyButtonsAndText(dlg))
        return CHeadlessUiBackend::RunModal(dlg);
    dlg.CreateControls();
    AskOnTerminal(dlg);
    const INT_PTR nResult = dlg.GetModalResult();
    dlg.DestroyControls();
    return nResult;
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

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT) {
    return AfxGetUiBackend()->MessageBox(CString(lpszText), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString strText;
    strText.LoadString(nIDPrompt);
    return AfxMessageBox(strText, nType, nIDHelp);
}
