#include "platform/Ui.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

std::mutex g_backendMutex;

std::shared_ptr<CUiBackend>& Backend() {
    static std::shared_ptr<CUiBackend> pBackend = std::make_shared<CHeadlessUi>();
    return pBackend;
}

} // namespace

void AfxSetUiBackend(std::shared_ptr<CUiBackend> pBackend) {
    std::lock_guard lock(g_backendMutex);
    Backend() = pBackend ? std::move(pBackend) : std::make_shared<CHeadlessUi>();
}

CUiBackend& AfxGetUiBackend() {
    std::lock_guard lock(g_backendMutex);
    return *Backend();
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT) { return AfxGetUiBackend().MessageBox(lpszText, nType); }

int CHeadlessUi::MessageBox(const CString& strText, UINT) {
    std::lock_guard lock(m_mutex);
    m_aMessages.push_back(strText);
    return IDOK;
}

INT_PTR CHeadlessUi::RunModal(CDialog& dlg) {
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
        dlg.EndDialog(IDCANCEL); // nobody answered: closed as by Escape
    const INT_PTR nResult = dlg.GetModalResult();
    dlg.DestroyControls();
    return nResult;
}

bool CHeadlessUi::BrowseForFolder(CString& strFolder, CWnd*, const char*) {
    TFolderChooser chooser;
    {
        std::lock_guard lock(m_mutex);
        chooser = m_chooser;
    }
    return chooser && chooser(strFolder);
}

void CHeadlessUi::SetDialogDriver(TDialogDriver driver) {
    std::lock_guard lock(m_mutex);
    m_driver = std::move(driver);
}

void CHeadlessUi::SetFolderChooser(TFolderChooser chooser) {
    std::lock_guard lock(m_mutex);
    m_chooser = std::move(chooser);
}

std::vector<CString> CHeadlessUi::GetMessages() const {
    std::lock_guard lock(m_mutex);
    return m_aMessages;
}

void CHeadlessUi::ClearMessages() {
    std::lock_guard lock(m_mutex);
    m_aMessages.clear();
}

int CTerminalUi::MessageBox(const CString& strText, UINT nType) {
    CHeadlessUi::MessageBox(strText, nType);
    std::fprintf(stderr, "%s\n", strText.GetString());
    std::fflush(stderr);
    return IDOK;
}

namespace {

bool IsButton(const CWnd& control) {
    const TControlTemplate* pTemplate = control.GetTemplate();
    return pTemplate &&
           (pTemplate->eKind == EControlKind::PushButton || pTemplate->eKind == EControlKind::DefPushButton);
}

// The enabled buttons in their left-to-right order on the dialog.
std::vector<CWnd*> ButtonsLeftToRight(const CDialog& dlg) {
    std::vector<CWnd*> aButtons;
    for (CWnd* pControl : dlg.GetControls())
        if (IsButton(*pControl) && pControl->IsWindowEnabled())
            aButtons.push_back(pControl);
    std::stable_sort(aButtons.begin(), aButtons.end(), [](const CWnd* a, const CWnd* b) {
        return std::pair(a->GetTemplate()->y, a->GetTemplate()->x) < std::pair(b->GetTemplate()->y, b->GetTemplate()->x);
    });
    return aButtons;
}

// Asks on the terminal which button to press; Cancel on end of input.
void AskOnTerminal(CDialog& dlg) {
    const std::vector<CWnd*> aButtons = ButtonsLeftToRight(dlg);
    std::fprintf(stderr, "%s\n", dlg.GetDialogTemplate()->pszCaption);
    for (const CWnd* pControl : dlg.GetControls())
        if (pControl->GetTemplate()->eKind == EControlKind::Static && !pControl->GetText().IsEmpty())
            std::fprintf(stderr, "  %s\n", pControl->GetText().GetString());
    while (dlg.IsModalRunning()) {
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

bool HasOnlyButtonsAndText(const CDialog& dlg) {
    for (const CWnd* pControl : dlg.GetControls()) {
        const EControlKind eKind = pControl->GetTemplate()->eKind;
        if (!IsButton(*pControl) && eKind != EControlKind::Static && eKind != EControlKind::Frame)
            return false;
    }
    return true;
}

} // namespace

INT_PTR CTerminalUi::RunModal(CDialog& dlg) {
    if (!::isatty(STDIN_FILENO) || !HasOnlyButtonsAndText(dlg))
        return CHeadlessUi::RunModal(dlg);
    dlg.CreateControls();
    AskOnTerminal(dlg);
    const INT_PTR nResult = dlg.GetModalResult();
    dlg.DestroyControls();
    return nResult;
}
