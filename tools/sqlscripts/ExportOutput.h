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
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class CException;

// A relative path that stays inside the folder and ends in a file name.
bool IsFileInsideFolder(const std::string& path);
// "cannot write <path>: <the system's reason>".
std::string CannotWrite(const std::string& path, const CException& e);
// Why a file could not be written: the system's reason in the user's language, else the exception's text.
std::string FileFailureReason(const CException& e);
// "cannot read <path>: <the system's reason>".
std::string CannotRead(const std::string& path, const CException& e);

// Makes the output folder: the system's error number when it cannot be made, 0 once it is there.
int MakeFolder(const std::string& dir);
// Makes the output folder; false after saying why it cannot be made.
bool CreateFolder(const std::string& dir);
// Whether the output folder is there or can be made: nothing that is not a folder stands on its path. False
// after saying so, as CreateFolder would.
bool CanCreateFolder(const std::string& dir);
// Removes the temporary files that runs which ended early (killed, say) left in the folder, or beside the
// file, and says how many.
void RemoveDebrisIn(const std::string& dir);
void RemoveDebrisOf(const std::string& file);
// How an export into a folder ended.
struct RunEnd {
    std::string dir;
    int signal = 0;                        // the signal that stopped the run (Ctrl-C, SIGTERM); 0 for none
    std::string writtenBeforeInterruption; // the categories written before it, named; empty when none
    std::optional<std::string> refused;    // the existing file that stopped the run
    bool failed = false;                   // what failed was said already
    bool quiet = false;                    // no line for a run that succeeded
    std::string database;                  // the database read, named in that line; empty when not known
};
// Says how the run ended (interrupted, stopped at an existing file, or written into its folder, naming the
// database when it is known) and returns the exit status: 128 + the signal, 1, or 0.
int ConcludeRun(const RunEnd& end);

using CategoryFileNames = std::array<std::string, SQL_CATEGORY_COUNT>;

class ExportOutput {
public:
    // files: the categories' file names, relative to dir.
    ExportOutput(std::string dir, CategoryFileNames files, ReplaceGate& gate);
    virtual ~ExportOutput() = default;
    ExportOutput(const ExportOutput&) = delete;
    ExportOutput& operator=(const ExportOutput&) = delete;

    // Asks about each category's file before the run, in category order, so that which categories a refused
    // file leaves out never depends on how the parallel run's workers happen to go: the categories before
    // the first refused file. Object files, named by their objects, are asked about as they come.
    virtual std::vector<int> AllowBeforehand(const std::vector<int>& categories) { return categories; }
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
    bool IsRefused() const { return refusedBeforehand_ || refusedCategory_.load() != kNone; }
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
    ReplaceGate& gate_;

    // The run is to leave out the category's file, and those after it, before it starts.
    void RefuseBeforehand(const std::string& relative);

private:
    bool Refuse(const std::string& relative);

    mutable std::mutex mutex_;
    std::set<int> failed_;
    static constexpr int kNone = -2; // CurrentCategory() is -1 between categories
    std::atomic<int> refusedCategory_{kNone};
    bool refusedBeforehand_ = false; // set before the workers start
    std::string refusedFile_;
    std::vector<std::pair<int, std::string>> notWritten_; // by category
};

// A file per category, as the module writes them.
class CategoryFiles : public ExportOutput {
public:
    using ExportOutput::ExportOutput;

    std::vector<int> AllowBeforehand(const std::vector<int>& categories) override;

protected:
    void StartCategory(int category) override;
    bool WriteCategory(int category, const std::string& text) override;
    std::string KeptWords(int category) const override;
};
