// What the user sees of apply on stderr: each refusal in one line (file, line, the server's words), the
// server's other messages with --verbose, a status line on a terminal or a line per applied file with
// --progress, and the summary. The connections that load rows report from their threads at once.
#pragma once

#include "Progress.h"
#include "StatusLine.h"
#include "apply/ScriptApply.h"

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

// Why the script that messages call name cannot be applied: a line that is not UTF-8, a wrong GO line, or a
// file that cannot be read.
std::string ScriptFailure(const std::string& name, const CException& e);

class ApplyReport : public IApplyObserver {
public:
    ApplyReport(const TApplyPlan& plan, Progress::Mode mode, bool verbose);

    bool ShouldStop() override;
    void OnFileStarted(size_t file) override;
    void OnBatchApplied(size_t file, long rows) override;
    void OnFileApplied(size_t file) override;
    void OnRefused(size_t file, long line, const CDBException& error) override;
    void OnUnreadable(size_t file, const CException& error) override;
    void OnServerMessage(size_t file, long line, const TDiagRecord& message) override;
    void OnRowCount(size_t file, long line, long rows) override;

    // A line of its own, the status line kept out of its way.
    void Say(const std::string& line);
    // Clears the status line for good, before the summary.
    void Clear();
    double Seconds() const;

private:
    struct Active {
        size_t file;
        long batches = 0;
        long rows = 0;
    };

    Active* Find(size_t file);
    void Draw(bool force);
    void SayLocked(const std::string& line);
    std::string Where(size_t file, long line) const;

    const TApplyPlan& plan_;
    const Progress::Mode mode_;
    const bool verbose_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::mutex mutex_;
    std::vector<Active> active_; // in the order they started
    long rows_ = 0;
    StatusLine line_;
    bool cleared_ = false;
};
