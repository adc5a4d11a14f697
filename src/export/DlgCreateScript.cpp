#include "export/DlgCreateScript.h"

#include "export/CategoryTable.h"
#include "ui/Ui.h"
#include "scripts/ScriptUnloader.h"

namespace {
constexpr int IDC_PATH = 1010;
constexpr int IDC_BROWSE = 1047;
constexpr int IDC_NO_COLLATION = 1076;
constexpr int IDC_SELECT_ALL = 1030;
constexpr int IDC_SELECT_NONE = 1031;
constexpr int BROWSE_EDIT_FLAGS = CBrowserEdit::BEF_FOLDER | CBrowserEdit::BEF_COMPLETE;
constexpr UINT IDS_BROWSE_TITLE = 28001;

// The folder chooser of the current backend; it starts at strFolder and changes it only when one was chosen.
int BrowseForFolder(CString& strFolder, CWnd* pOwner, const char* pszTitle) {
    return AfxGetUiBackend()->BrowseForFolder(strFolder, pOwner, pszTitle) ? 1 : 0;
}

} // namespace

CDlgCreateScript::CDlgCreateScript(CWnd* pParent) : CDialog(IDD, pParent) {
    MapButton(IDC_BROWSE, &CDlgCreateScript::OnBrowse);
    MapButton(IDC_SELECT_ALL, &CDlgCreateScript::OnSelectAll);
    MapButton(IDC_SELECT_NONE, &CDlgCreateScript::OnSelectNone);
}

// The path edit is one of the dialog's controls while it is shown; let go of it before it is destroyed.
CDlgCreateScript::~CDlgCreateScript() {
    DestroyControls();
}

void CDlgCreateScript::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_NO_COLLATION, m_pUnloader->m_bNoCollation);
    DDX_Text(pDX, IDC_PATH, m_pUnloader->m_strPath);
    for (size_t i = 0; i < g_aCategories.size(); ++i) {
        DDX_Check(pDX, g_aCategories[i].nCheckBoxId, m_pUnloader->m_aFiles[i].bEnabled);
        DDX_Text(pDX, g_aCategories[i].nFileEditId, m_pUnloader->m_aFiles[i].strFile);
    }
    DDX_Control(pDX, IDC_PATH, m_edtPath);
}

BOOL CDlgCreateScript::OnInitDialog() {
    CDialog::OnInitDialog();
    m_edtPath.Init(this, IDC_BROWSE, BROWSE_EDIT_FLAGS);
    SelectPathText();
    for (TScriptFile& file : m_pUnloader->m_aFiles)
        file.bEnabled = 1;
    UpdateData(FALSE);
    m_pUnloader->m_bNoCollation = 1;
    for (size_t i = 0; i < g_aCategories.size(); ++i)
        m_pUnloader->m_aFiles[i].strFile = g_aCategories[i].pszDefaultFile;
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDlgCreateScript::ContinueModal() {
    for (const TCategory& category : g_aCategories)
        GetDlgItem(category.nFileEditId)
            ->EnableWindow(IsDlgButtonChecked(category.nCheckBoxId) == BST_CHECKED);
    UpdateData(TRUE);
    GetDlgItem(IDOK)->EnableWindow(CanStart());
    return CDialog::ContinueModal();
}

bool CDlgCreateScript::CanStart() const {
    bool bAnyEnabled = false;
    for (const TScriptFile& file : m_pUnloader->m_aFiles) {
        if (!file.bEnabled)
            continue;
        if (file.strFile.IsEmpty())
            return false;
        bAnyEnabled = true;
    }
    return bAnyEnabled && !m_pUnloader->m_strPath.IsEmpty();
}

void CDlgCreateScript::OnSelectAll() {
    SelectAll(1);
}

void CDlgCreateScript::OnSelectNone() {
    SelectAll(0);
}

void CDlgCreateScript::SelectAll(int bEnabled) {
    for (TScriptFile& file : m_pUnloader->m_aFiles)
        file.bEnabled = bEnabled;
    UpdateData(FALSE);
}

void CDlgCreateScript::OnBrowse() {
    CString strTitle;
    strTitle.LoadString(IDS_BROWSE_TITLE);
    CString strFolder = m_pUnloader->m_strPath;
    if (!BrowseForFolder(strFolder, this, strTitle))
        return;
    m_pUnloader->m_strPath = strFolder;
    UpdateData(FALSE);
    SelectPathText();
}

void CDlgCreateScript::SelectPathText() {
    m_edtPath.SendMessage(EM_SETSEL, 0, -1);
    m_edtPath.SendMessage(EM_SCROLLCARET);
}
