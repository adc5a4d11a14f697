// The host's view of an export run: progress, the object files, cycle warnings, names that came back damaged,
// and Ctrl-C, SIGTERM or a lost connection, which stop the run at its next object.
#pragma once

#include "DamagedNames.h"
#include "HostUi.h"
#include "ObjectFiles.h"
#include "Progress.h"
#include "scripting/ScriptObserver.h"

#include <mutex>
#include <string>
#include <vector>

// From now on SIGINT and SIGTERM are remembered instead of ending the process.
void CatchInterruptions();
// The signal that asked the run to stop; 0 when none did.
int InterruptionSignal();

class ExportObserver : public IScriptObserver {
public:
    // files: null when the categories are written as files of their own; names: by category index; ui: the
    // host's, which may have seen the connection lost.
    ExportObserver(Progress& progress, ObjectFiles* files, std::vector<std::string> names, const HostUi& ui);

    bool ShouldStop() override;
    void OnCategoryStarted(int category) override;
    void OnObjectListRead(int category, long total) override;
    void OnObjectScripted(int category, const char* schema, const char* name, const CString& text) override;
    void OnReferenceCycle(int category, const std::vector<CString>& names) override;
    void OnCategoryFinished(int category, const CString& text) override;

    // The categories done, in category order.
    std::vector<int> Finished() const;
    const DamagedNames& Damaged() const { return damaged_; }

private:
    Progress& progress_;
    ObjectFiles* files_;
    const HostUi& ui_;
    const std::vector<std::string> names_;
    mutable std::mutex mutex_;
    std::vector<int> finished_;
    DamagedNames damaged_;
};
