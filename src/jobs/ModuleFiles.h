// Where the module's export run puts its texts: a file per category (CCategoryFiles), or per object
// (CObjectFiles). A category's files are written once its text is complete, and not at all when its script
// failed, so that a failure never replaces a good file; every file takes its name only when whole, and never
// in place of an existing one without leave. The workers of the parallel run call it at once.
#pragma once

#include "jobs/ReplaceGate.h"
#include "scripts/SqlTypeObjects.h"

#include <array>
#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

using TCategoryFiles = std::array<std::string, SQL_CATEGORY_COUNT>;

class CModuleOutput {
public:
    // aFiles: the categories' file names, relative to strDir.
    CModuleOutput(std::string strDir, TCategoryFiles aFiles, CReplaceGate& gate);
    virtual ~CModuleOutput() = default;
    CModuleOutput(const CModuleOutput&) = delete;
    CModuleOutput& operator=(const CModuleOutput&) = delete;

    // Asks about each category's file before the run, in category order, so that which categories a refused
    // file leaves out never depends on how the parallel run's workers happen to go: the categories before
    // the first refused file. Object files, named by their objects, are asked about as they come.
    virtual std::vector<int> AllowBeforehand(const std::vector<int>& aCategories) { return aCategories; }
    // The calling thread works on the category from now on. An existing file that may not be replaced stops
    // the run here, before the category is scripted.
    void Start(int nCategory);
    // The category the calling thread works on; -1 outside one.
    static int CurrentCategory();
    virtual void Object(int /*nCategory*/, const std::string& /*strSchema*/, const std::string& /*strName*/,
                        const std::string& /*strText*/) {}
    // The category's text is complete: its files are written unless its script failed. True when written.
    bool Finish(int nCategory, const std::string& strText);
    // The category's script failed: its files stay as they were, which the record gets told.
    void Failed(int nCategory, TJobNotice& notice);

    // A file that may not be replaced stopped the run.
    bool IsRefused() const { return m_bRefusedBeforehand || m_nRefusedCategory.load() != kNone; }
    // Whether the calling thread is to stop: no category starts after a refused file, and the one it belongs
    // to stops, but those before it, which the parallel run may still be working on, go on to their end, as
    // in the sequential run. Takes no lock, as the run asks it before every object.
    bool StopsHere() const;
    // That file, relative to the folder.
    std::string RefusedFile() const;
    // Tells which files could not be written, in category order whichever worker wrote them; false when none.
    bool TellWriteFailures(IJobObserver& observer) const;
    // After a run that wrote every file of the categories: false when what comes after went wrong (told).
    virtual bool Conclude(const std::vector<int>& /*aCategories*/, bool /*bPrune*/,
                          IJobObserver& /*observer*/) {
        return true;
    }

protected:
    // Whether the category's file may be written, asked before it is scripted.
    virtual void StartCategory(int /*nCategory*/) {}
    virtual bool WriteCategory(int nCategory, const std::string& strText) = 0;
    virtual void KeptFiles(int nCategory, TJobNotice& notice) const = 0;

    // True when nothing is at the file's place or it may be replaced; otherwise the run is to stop.
    bool Allow(const std::string& strRelative);
    // Writes one file of the folder; false when it was not: kept (the run is to stop) or not writable.
    bool Write(const std::string& strRelative, std::string_view strText);
    // The record says the file is there as it was, or was not written.
    void KeptFile(const std::string& strRelative, TJobNotice& notice) const;
    // Keeps the record of something not written, which fails the run.
    void NotWritten(TJobNotice notice);
    // The run is to leave out the category's file, and those after it, before it starts.
    void RefuseBeforehand(const std::string& strRelative);

    const std::string m_strDir;
    const TCategoryFiles m_aFiles;
    CReplaceGate& m_gate;

private:
    bool Refuse(const std::string& strRelative);

    mutable std::mutex m_mutex;
    std::set<int> m_setFailed;
    static constexpr int kNone = -2; // CurrentCategory() is -1 between categories
    std::atomic<int> m_nRefusedCategory{kNone};
    bool m_bRefusedBeforehand = false; // set before the workers start
    std::string m_strRefusedFile;
    std::vector<std::pair<int, TJobNotice>> m_aNotWritten; // by category
};

// A file per category, as the module writes them.
class CCategoryFiles : public CModuleOutput {
public:
    using CModuleOutput::CModuleOutput;

    std::vector<int> AllowBeforehand(const std::vector<int>& aCategories) override;

protected:
    void StartCategory(int nCategory) override;
    bool WriteCategory(int nCategory, const std::string& strText) override;
    void KeptFiles(int nCategory, TJobNotice& notice) const override;
};
