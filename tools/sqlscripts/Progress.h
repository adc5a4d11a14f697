// What the user sees of a running export on stderr: a status line kept up to date on a terminal, one line per
// finished category for logs, or nothing. The workers of the parallel run report to it at once.
#pragma once

#include "StatusLine.h"

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

class Progress {
public:
    enum class Mode { Off, StatusLine, Lines };

    // names: how each category is called on the line, by category index.
    Progress(Mode mode, std::vector<std::string> names);

    // --quiet: nothing; --progress: lines; else the status line when stderr is a terminal.
    static Mode ModeFor(bool quiet, bool lines);

    void Started(int category);
    void ListRead(int category, long total);
    void ObjectDone(int category);
    // written: false when the category's files were left as they were.
    void Finished(int category, bool written);

    // Other output (a message, a question) clears the status line and holds it back until Resume.
    void Suspend();
    void Resume();
    // Clears the status line for good, before the summary.
    void Clear();

private:
    struct Active {
        int category;
        long done = 0;
        long total = -1; // not known before the list is read
    };

    Active* Find(int category);
    void Draw(bool force);

    const Mode mode_;
    const std::vector<std::string> names_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::mutex mutex_;
    std::vector<Active> active_; // in the order they started
    StatusLine line_;
    int suspended_ = 0;
};

// Keeps the status line off the terminal while a message or a question is on it.
class ProgressPause {
public:
    explicit ProgressPause(Progress* progress) : progress_(progress) {
        if (progress_)
            progress_->Suspend();
    }
    ProgressPause(const ProgressPause&) = delete;
    ProgressPause& operator=(const ProgressPause&) = delete;
    ~ProgressPause() {
        if (progress_)
            progress_->Resume();
    }

private:
    Progress* progress_;
};
