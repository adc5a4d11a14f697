#include "ui/Window.h"

#include "ui/Ui.h"

#include <atomic>
#include <stdexcept>

void CWnd::NotifyPeer() {
    if (m_pPeer)
        m_pPeer->OnStateChanged(*this);
}

void CWnd::NotifyPeerOfSelection() {
    if (m_pPeer)
        m_pPeer->OnSelectionSet(*this);
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    const BOOL bWasDisabled = !m_bEnabled;
    if (m_bEnabled != (bEnable ? TRUE : FALSE)) {
        m_bEnabled = bEnable ? TRUE : FALSE;
        NotifyPeer();
    }
    return bWasDisabled;
}

void CWnd::SetWindowText(LPCTSTR lpszString) {
    m_strText = lpszString;
    NotifyPeer();
}

void CWnd::SetCheck(UINT nCheck) {
    m_nCheck = nCheck;
    NotifyPeer();
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case EM_SETSEL:
        m_nSelStart = static_cast<int>(wParam);
        m_nSelEnd = static_cast<int>(lParam) < 0 ? m_strText.GetLength() : static_cast<int>(lParam);
        NotifyPeerOfSelection();
        return 0;
    case EM_SCROLLCARET:
        NotifyPeerOfSelection();
        return 1;
    default:
        return 0;
    }
}

CWnd* CWnd::GetDesktopWindow() {
    static CWnd desktop;
    return &desktop;
}

namespace {
std::atomic<CWnd*> g_pMainWnd{nullptr};
} // namespace

CWnd* AfxGetMainWnd() {
    return g_pMainWnd.load();
}
void AfxSetMainWnd(CWnd* pWnd) {
    g_pMainWnd.store(pWnd);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    CWnd* pControl = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (!pControl)
        return;
    if (pDX->m_bSaveAndValidate)
        value = pControl->GetCheck() == BST_CHECKED ? 1 : 0;
    else
        pControl->SetCheck(value ? BST_CHECKED : BST_UNCHECKED);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    CWnd* pControl = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (!pControl)
        return;
    if (pDX->m_bSaveAndValidate)
        pControl->GetWindowText(value);
    else
        pControl->SetWindowText(value);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (!rControl.m_hWnd)
        pDX->m_pDlgWnd->AttachControl(nIDC, rControl);
}

void CDialog::AttachControl(int nID, CWnd& rControl) {
    for (CWnd*& pSlot : m_aControls) {
        if (pSlot->GetDlgCtrlID() != nID)
            continue;
        rControl.m_pParent = pSlot->m_pParent;
        rControl.m_pTemplate = pSlot->m_pTemplate;
        rControl.m_nID = pSlot->m_nID;
        rControl.m_strText = pSlot->m_strText;
        rControl.m_bEnabled = pSlot->m_bEnabled;
        rControl.m_nCheck = pSlot->m_nCheck;
        rControl.m_nSelStart = pSlot->m_nSelStart;
        rControl.m_nSelEnd = pSlot->m_nSelEnd;
        rControl.m_pPeer = pSlot->m_pPeer;
        rControl.m_hWnd = &rControl;
        pSlot->m_hWnd = nullptr;
        pSlot = &rControl;
        return;
    }
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pDialogTemplate(AfxFindDialogTemplate(nIDTemplate)) {
    m_pParent = pParentWnd;
    MapButton(IDOK, &CDialog::OnOK);
    MapButton(IDCANCEL, &CDialog::OnCancel);
}

CDialog::~CDialog() {
    DestroyControls();
}

INT_PTR CDialog::DoModal() {
    if (!m_pDialogTemplate)
        return -1;
    return AfxGetUiBackend()->RunModal(*this);
}

void CDialog::CreateControls() {
    DestroyControls();
    m_hWnd = this;
    for (const TControlTemplate& control : m_pDialogTemplate->aControls) {
        auto pControl = std::make_unique<CWnd>();
        pControl->m_pParent = this;
        pControl->m_pTemplate = &control;
        pControl->m_nID = control.nID;
        pControl->m_strText = control.pszText ? control.pszText : "";
        pControl->m_hWnd = pControl.get();
        m_aControls.push_back(pControl.get());
        m_ownedControls.push_back(std::move(pControl));
    }
    m_nModalResult = IDCANCEL;
    m_bContinueModal = TRUE;
    OnInitDialog();
}

void CDialog::DestroyControls() {
    for (CWnd* pControl : m_aControls) {
        pControl->m_hWnd = nullptr;
        pControl->m_pPeer = nullptr;
    }
    m_aControls.clear();
    m_ownedControls.clear();
    m_hWnd = nullptr;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_bContinueModal = FALSE;
}

CWnd* CDialog::GetDlgItem(int nID) const {
    for (CWnd* pControl : m_aControls)
        if (pControl->GetDlgCtrlID() == nID)
            return pControl;
    return nullptr;
}

CWnd& CDialog::Control(int nID) const {
    CWnd* pControl = GetDlgItem(nID);
    if (!pControl)
        throw std::invalid_argument("dialog has no control " + std::to_string(nID));
    return *pControl;
}

UINT CDialog::IsDlgButtonChecked(int nIDButton) const {
    const CWnd* pControl = GetDlgItem(nIDButton);
    return pControl ? pControl->GetCheck() : BST_UNCHECKED;
}

void CDialog::CheckDlgButton(int nIDButton, UINT nCheck) {
    Control(nIDButton).SetCheck(nCheck);
}

void CDialog::AfterUserAction() {
    if (m_bContinueModal)
        ContinueModal();
}

void CDialog::ClickButton(int nID) {
    const CWnd& button = Control(nID);
    if (!button.IsWindowEnabled() || !m_bContinueModal)
        return;
    if (const auto it = m_handlers.find(nID); it != m_handlers.end())
        it->second();
    AfterUserAction();
}

void CDialog::UserCheck(int nID, bool bChecked) {
    CWnd& box = Control(nID);
    if (!box.IsWindowEnabled() || !m_bContinueModal)
        return;
    box.SetCheck(bChecked ? BST_CHECKED : BST_UNCHECKED);
    AfterUserAction();
}

void CDialog::UserType(int nID, const CString& strText) {
    CWnd& edit = Control(nID);
    if (!edit.IsWindowEnabled() || !m_bContinueModal)
        return;
    edit.SetWindowText(strText);
    AfterUserAction();
}

void CDialog::UserCancel() {
    if (!m_bContinueModal)
        return;
    OnCancel();
    AfterUserAction();
}
