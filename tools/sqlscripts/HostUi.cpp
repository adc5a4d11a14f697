#include "HostUi.h"

#include "export/DlgReplaceFile.h"

namespace {
constexpr int ID_YES_TO_ALL = 23013;
constexpr int ID_NO = 23010;
} // namespace

HostUi::HostUi(ReplacePolicy policy) : policy_(policy) {
    if (policy_ != ReplacePolicy::Ask)
        SetDialogDriver([this](CDialog& dlg) { Answer(dlg); });
}

int HostUi::MessageBox(const CString& strText, UINT nType) {
    ++messageCount_;
    return CTerminalUiBackend::MessageBox(strText, nType);
}

INT_PTR HostUi::RunModal(CDialog& dlg) {
    if (policy_ == ReplacePolicy::Ask)
        return CTerminalUiBackend::RunModal(dlg);
    return CHeadlessUiBackend::RunModal(dlg);
}

void HostUi::Answer(CDialog& dlg) {
    if (dlg.GetTemplateID() != CDlgReplaceFile::IDD)
        return;
    if (policy_ == ReplacePolicy::All) {
        dlg.ClickButton(ID_YES_TO_ALL);
        return;
    }
    refusedFiles_.push_back(static_cast<CDlgReplaceFile&>(dlg).m_strFileName.Str());
    dlg.ClickButton(ID_NO);
}
