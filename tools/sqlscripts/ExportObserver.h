// The host's view of an export run: progress, the output files, cycle warnings, names that came back
// damaged, and Ctrl-C, SIGTERM, a file that may not be replaced or a failure that ends the run, which stop
// it at its next object.
#pragma once

#include "DamagedNames.h"
#include "ExportOutput.h"
#include "HostUi.h"
#include "Interruption.h"
#include "Progress.h"
#include "scripting/ScriptObserver.h"

#include <mutex>
#include <vector>

class ExportObserver : public IScriptObserver {
public:
    ExportObserver(Progress& progress, ExportOutput& output, const HostUi& ui);

    bool ShouldStop() override;
    void OnCategoryStarted(int category) override;
    void OnObjectListRead(int category, long total) override;
    void OnObjectScripted(int category, const char* schema, const char* name, const CString& text) override;
    void OnReferenceCycle(int category, const std::vector<CString>& names) override;
    void OnCategoryFinished(int category, const CString& text) override;

    // The categories written, in category order.
    std::vector<int> Finished() const;
    const DamagedNames& Damaged() const { return damaged_; }

private:
    Progress& progress_;
    ExportOutput& output_;
    const HostUi& ui_;
    mutable std::mutex mutex_;
    std::vector<int> finished_;
    DamagedNames damaged_;
};
