// The host's user interface: module messages on stderr, and the replace question answered as the user chose.
#pragma once

#include "Progress.h"
#include "ui/Ui.h"

#include <atomic>
#include <string>
#include <vector>

enum class ReplacePolicy { Ask, All, Never };

class HostUi : public CTerminalUiBackend {
public:
    // progress: the status line that messages and questions clear first; null when there is none.
    explicit HostUi(ReplacePolicy policy, Progress* progress = nullptr);

    int MessageBox(const CString& strText, UINT nType) override;
    INT_PTR RunModal(CDialog& dlg) override;

    // An export over a live connection stops at a failure that lost the connection.
    void StopOnLostConnection() { stopOnLostConnection_ = true; }
    // Such a failure was reported: the run is to stop, and later failures, which follow from it, go unsaid.
    bool ConnectionLost() const { return connectionLost_; }
    int MessageCount() const { return messageCount_; }
    // Files that were left alone: the policy said never, the user said no, or nobody could be asked.
    const std::vector<std::string>& RefusedFiles() const { return refusedFiles_; }

private:
    void Answer(CDialog& dlg);

    ReplacePolicy policy_;
    Progress* progress_;
    bool stopOnLostConnection_ = false;
    std::atomic<bool> connectionLost_{false};
    int messageCount_ = 0;
    std::vector<std::string> refusedFiles_;
};
