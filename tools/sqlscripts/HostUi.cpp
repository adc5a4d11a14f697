#include "HostUi.h"

#include "ConnectString.h"
#include "export/DlgReplaceFile.h"
#include "platform/Exceptions.h"

#include <cstdio>
#include <exception>

namespace {

constexpr int ID_YES_TO_ALL = 23013;
constexpr int ID_NO = 23010;

// The module reports a failure from inside the handler that caught it, so the exception being handled is
// the failure's cause; SQLSTATE class 08 is a connection exception.
bool CausedByLostConnection() {
    const std::exception_ptr cause = std::current_exception();
    if (!cause)
        return false;
    try {
        std::rethrow_exception(cause);
    } catch (const CDBException* e) {
        return e->GetSqlState().Left(2) == "08";
    } catch (...) {
    }
    return false;
}

// The status line stays off the terminal while a message or a question is on it.
class SuspendedProgress {
public:
    explicit SuspendedProgress(Progress* progress) : progress_(progress) {
        if (progress_)
            progress_->Suspend();
    }
    SuspendedProgress(const SuspendedProgress&) = delete;
    SuspendedProgress& operator=(const SuspendedProgress&) = delete;
    ~SuspendedProgress() {
        if (progress_)
            progress_->Resume();
    }

private:
    Progress* progress_;
};

} // namespace

HostUi::HostUi(ReplacePolicy policy, Progress* progress) : policy_(policy), progress_(progress) {
    if (policy_ != ReplacePolicy::Ask)
        SetDialogDriver([this](CDialog& dlg) { Answer(dlg); });
}

int HostUi::MessageBox(const CString& strText, UINT nType) {
    ++messageCount_;
    const SuspendedProgress suspended(progress_);
    // Every later statement would fail the same way, each with its message and an empty category: the run
    // stops at its next object instead (ExportObserver), writing no file of the category it is in.
    if (stopOnLostConnection_ && (connectionLost_ || CausedByLostConnection())) {
        if (!connectionLost_.exchange(true))
            std::fprintf(stderr, "sqlscripts: %s (connection lost: export stopped)\n",
                         OneLine(strText.Str()).c_str());
        return IDOK;
    }
    return CTerminalUiBackend::MessageBox(CString("sqlscripts: " + OneLine(strText.Str())), nType);
}

INT_PTR HostUi::RunModal(CDialog& dlg) {
    const SuspendedProgress suspended(progress_);
    const INT_PTR nResult =
        policy_ == ReplacePolicy::Ask ? CTerminalUiBackend::RunModal(dlg) : CHeadlessUiBackend::RunModal(dlg);
    // A file left alone stopped the run, whoever answered: the policy, the user, or nobody (no terminal).
    if (dlg.GetTemplateID() == CDlgReplaceFile::IDD) {
        const auto& replace = static_cast<const CDlgReplaceFile&>(dlg);
        if (!replace.m_bYes && !replace.m_bYesToAll)
            refusedFiles_.push_back(replace.m_strFileName.Str());
    }
    return nResult;
}

void HostUi::Answer(CDialog& dlg) {
    if (dlg.GetTemplateID() != CDlgReplaceFile::IDD)
        return;
    if (policy_ == ReplacePolicy::All) {
        dlg.ClickButton(ID_YES_TO_ALL);
        return;
    }
    dlg.ClickButton(ID_NO);
}
