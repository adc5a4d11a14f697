#include "export/DlgReplaceFile.h"

namespace {
constexpr int IDC_NO = 23010;
constexpr int IDC_QUESTION = 23012;
constexpr int IDC_YES_TO_ALL = 23013;
constexpr int IDC_YES = 23014;
} // namespace

CDlgReplaceFile::CDlgReplaceFile(CWnd* pParent) : CDialog(IDD, pParent) {
    MapButton(IDC_YES, &CDlgReplaceFile::OnYes);
    MapButton(IDC_YES_TO_ALL, &CDlgReplaceFile::OnYesToAll);
    MapButton(IDC_NO, &CDlgReplaceFile::OnNo);
}

BOOL CDlgReplaceFile::OnInitDialog() {
    CDialog::OnInitDialog();
    GetDlgItem(IDC_YES_TO_ALL)->EnableWindow(!m_bNoYesToAll);
    CWnd* pQuestion = GetDlgItem(IDC_QUESTION);
    CString strFormat;
    pQuestion->GetWindowText(strFormat);
    CString strText;
    strText.Format(strFormat, m_strFileName);
    pQuestion->SetWindowText(strText);
    return TRUE;
}

void CDlgReplaceFile::OnYes() {
    m_bYes = true;
    OnOK();
}

void CDlgReplaceFile::OnYesToAll() {
    m_bYesToAll = true;
    OnOK();
}

void CDlgReplaceFile::OnNo() {
    m_bNo = true;
    OnOK();
}
