// What the user sees of apply on stderr: each record in one line (a refusal with its file, line and the
// server's words; with --verbose the server's other messages), a status line on a terminal or a line per
// applied file with --progress, and the summary. The connections that load rows report from their threads at
// once.
#pragma once

#include "Progress.h"
#include "StatusLine.h"
#include "scripts/ApplyJob.h"

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

class ApplyReport : public IApplyJobObserver {
public:
    explicit ApplyReport(Progress::Mode mode);

    bool ShouldStop() override;
    void OnCancellable() override;
    void OnNotice(const TJobNotice& notice) override;
    void OnConnected(const std::string& server, const std::string& database) override;
    void OnPlanned(const std::vector<TApplyFileInfo>& files) override;
    void OnFileStarted(size_t file) override;
    void OnBatchApplied(size_t file, long rows) override;
    void OnFileApplied(size_t file) override;

    // Clears the status line for good, before the summary.
    void Clear();
    double Seconds() const;
    // "database Sales on SERVER", as the connection says; empty before it is open or where it cannot say.
    const std::string& Target() const { return target_; }

private:
    struct Active {
        size_t file;
        long batches = 0;
        long rows = 0;
    };

    Active* Find(size_t file);
    void Draw(bool force);
    void SayLocked(const std::string& line);

    const Progress::Mode mode_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now(); // of the run
    std::mutex mutex_;
    std::string target_;
    std::vector<TApplyFileInfo> files_; // empty until the run has planned them
    std::vector<Active> active_;        // in the order they started
    long rows_ = 0;
    StatusLine line_;
    bool cleared_ = false;
};
