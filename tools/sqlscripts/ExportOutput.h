// Where an export run's texts go: a file per category, or per object (ObjectFiles). A category's files are
// written once its text is complete, and not at all when its script failed, so that a failure never replaces
// a good file; every file takes its name only when whole, and never in place of an existing one without
// leave. The workers of the parallel run call it at once.
#pragma once

#include "ReplaceGate.h"
#include "scripts/SqlTypeObjects.h"

#include <array>
#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class CException;

// A relative path that stays inside the folder and ends in a file name.
bool IsFileInsideFolder(const std::string& path);
// "cannot write <path>: <the system's reason>".
std::string CannotWrite(const std::string& path, const CException& e);

using CategoryFileNames = std::array<std::string, SQL_CATEGORY_COUNT>;

class ExportOutput {
public:
    // files: the categories' file names, relative to dir.
    ExportOutput(std::string dir, CategoryFileNames files, ReplaceGate& gate);
    virtual ~ExportOutput() = default;
    ExportOutput(const ExportOutput&) = delete;
    ExportOutput& operator=(const ExportOutput&) = delete;

    // The calling thread works on the category from now on. An existing file that may not be replaced stops
    // the run here, before the category is scripted.
    void Start(int category);
    // The category the calling thread works on; -1 outside one.
    static int CurrentCategory();
    virtual void Object(int /*category*/, const std::string& /*schema*/, const std::string& /*name*/,
                        const std::string& /*text*/) {}
    // The category's text is complete: its files are written unless its script failed. True when written.
    bool Finish(int category, const std::string& text);
    // The category's script failed: its files stay as they were. The words that say so.
    std::string Failed(int category);

    // A file that may not be replaced stopped the run.
    bool IsRefused() const { return refusedCategory_.load() != kNone; }
    // Whether the calling thread is to stop: no category starts after a refused file, and the one it belongs
    // to stops, but those before it, which the parallel run may still be working on, go on to their end, as
    // in the sequential run. Takes no lock, as the run asks it before every object.
    bool StopsHere() const;
    // That file, relative to the folder.
    std::string RefusedFile() const;
    // Says which files could not be written, in category order whichever worker wrote them; false when none.
    bool SayWriteFailures() const;
    // After a run that wrote every file of the categories: false when what comes after went wrong (said).
    virtual bool Conclude(const std::vector<int>& /*categories*/, bool /*prune*/) { return true; }

protected:
    // Whether the category's file may be written, asked before it is scripted.
    virtual void StartCategory(int /*category*/) {}
    virtual bool WriteCategory(int category, const std::string& text) = 0;
    virtual std::string KeptWords(int category) const = 0;

    // True when nothing is at the file's place or it may be replaced; otherwise the run is to stop.
    bool Allow(const std::string& relative);
    // Writes one file of the folder; false when it was not: kept (the run is to stop) or not writable.
    bool Write(const std::string& relative, std::string_view text);
    // "<file> left as it was" or "<file> not written".
    std::string FileKeptWords(const std::string& relative) const;
    // Keeps the line that says something was not written, which fails the run.
    void NotWritten(const std::string& line);

    const std::string dir_;
    const CategoryFileNames files_;

private:
    bool Refuse(const std::string& relative);

    ReplaceGate& gate_;
    mutable std::mutex mutex_;
    std::set<int> failed_;
    static constexpr int kNone = -2; // CurrentCategory() is -1 between categories
    std::atomic<int> refusedCategory_{kNone};
    std::string refusedFile_;
    std::vector<std::pair<int, std::string>> notWritten_; // by category
};

// A file per category, as the module writes them.
class CategoryFiles : public ExportOutput {
public:
    using ExportOutput::ExportOutput;

protected:
    void StartCategory(int category) override;
    bool WriteCategory(int category, const std::string& text) override;
    std::string KeptWords(int category) const override;
};
