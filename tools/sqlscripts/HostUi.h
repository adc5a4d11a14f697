// The host's user interface: module messages on stderr, and the replace question answered as the user chose.
#pragma once

#include "ui/Ui.h"

#include <string>
#include <vector>

enum class ReplacePolicy { Ask, All, Never };

class HostUi : public CTerminalUiBackend {
public:
    explicit HostUi(ReplacePolicy policy);

    int MessageBox(const CString& strText, UINT nType) override;
    INT_PTR RunModal(CDialog& dlg) override;

    // A failure caused by a lost connection ends the program at once (an export over a live connection).
    void StopOnLostConnection() { stopOnLostConnection_ = true; }
    int MessageCount() const { return messageCount_; }
    // Files that were left alone: the policy said never, the user said no, or nobody could be asked.
    const std::vector<std::string>& RefusedFiles() const { return refusedFiles_; }

private:
    void Answer(CDialog& dlg);

    ReplacePolicy policy_;
    bool stopOnLostConnection_ = false;
    int messageCount_ = 0;
    std::vector<std::string> refusedFiles_;
};
