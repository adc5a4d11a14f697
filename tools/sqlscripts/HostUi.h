// The host's user interface: the module's messages on stderr, one line each, in the user's language and
// saying which category failed and what became of its files.
#pragma once

#include "ExportOutput.h"
#include "Progress.h"
#include "ui/Ui.h"

#include <atomic>
#include <string>

class HostUi : public CTerminalUiBackend {
public:
    // progress: the status line that messages clear first; null when there is none.
    explicit HostUi(Progress* progress = nullptr) : progress_(progress) {}

    int MessageBox(const CString& strText, UINT nType) override;

    // The export's output, told of the categories whose script failed.
    void SetOutput(ExportOutput* output) { output_ = output; }
    // An export over a live connection stops at a failure that lost the connection.
    void StopOnLostConnection() { stopOnLostConnection_ = true; }
    // The run stops at its first failure, which is said in this line only.
    void StopOnFailure(std::string line) { stopLine_ = std::move(line); }
    // A failure stopped the run: later failures, which follow from it, go unsaid.
    bool Stopped() const { return stopped_; }
    // The module's message for wrong arguments means, for one named object, that the catalog has no such
    // object; qualified: the name looks as if it named another schema than dbo.
    void ExpectObject(std::string name, bool qualified) {
        objectName_ = std::move(name);
        qualified_ = qualified;
    }
    int MessageCount() const { return messageCount_; }

private:
    // The line for a failure that stops the run; empty when it does not stop it.
    std::string StopLine(const std::string& text) const;

    Progress* progress_;
    ExportOutput* output_ = nullptr;
    bool stopOnLostConnection_ = false;
    std::string stopLine_;
    std::string objectName_;
    bool qualified_ = false;
    std::atomic<bool> stopped_{false};
    std::atomic<int> messageCount_{0};
};

// Makes the backend the one all user interface goes through, and restores the one before on every way out.
class UiBackendScope {
public:
    explicit UiBackendScope(CUiBackend* backend) : previous_(AfxGetUiBackend()) { AfxSetUiBackend(backend); }
    UiBackendScope(const UiBackendScope&) = delete;
    UiBackendScope& operator=(const UiBackendScope&) = delete;
    ~UiBackendScope() { AfxSetUiBackend(previous_); }

private:
    CUiBackend* previous_;
};
