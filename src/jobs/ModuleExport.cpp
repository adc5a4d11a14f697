// The module's export into files, as a job: the module's CScriptUnloader scripts the categories, and the job
// writes what it hands over (m_bNoCategoryFiles), so that a failed category keeps its file and the leave to
// replace holds when each file takes its name.
#include "backend/DbBackend.h"
#include "backend/Snapshot.h"
#include "export/CategoryTable.h"
#include "jobs/DamagedNames.h"
#include "jobs/JobFiles.h"
#include "jobs/ObjectFiles.h"
#include "platform/Exceptions.h"
#include "scripting/ScriptObserver.h"
#include "scripts/ExportJobs.h"
#include "scripts/ScriptUnloader.h"
#include "ui/Ui.h"

#include <algorithm>
#include <exception>
#include <memory>

namespace {

// The module reports a failure from inside the handler that caught it, so the exception being handled is the
// failure's cause; SQLSTATE class 08 is a connection exception.
bool CausedByLostConnection() {
    const std::exception_ptr cause = std::current_exception();
    if (!cause)
        return false;
    try {
        std::rethrow_exception(cause);
    } catch (const CDBException* e) {
        return e->GetSqlState().Left(2) == "08";
    } catch (...) {
    }
    return false;
}

// The module's messages during the run, as records: each says which category failed and what became of its
// files. A failure that means every later statement fails too ends the run, said once.
class CRunMessages : public CHeadlessUiBackend {
public:
    CRunMessages(IExportObserver& observer, CModuleOutput& output, bool bStopOnLostConnection,
                 const CCatalogSnapshot* pStopAtFirstFailure)
        : m_observer(observer), m_output(output), m_bStopOnLostConnection(bStopOnLostConnection),
          m_pStopAtFirstFailure(pStopAtFirstFailure) {}

    int MessageBox(const CString& strText, UINT nType) override {
        const int nCategory = CModuleOutput::CurrentCategory();
        TJobNotice notice{eJobNotice::ModuleMessage};
        notice.nCategory = nCategory;
        notice.strReason = strText.Str();
        // A statement cancelled by a stop fails as the stop meant it to: the run says how it ended instead.
        if (m_observer.ShouldStop()) {
            if (nCategory >= 0)
                m_output.Failed(nCategory, notice);
            return GetDefaultMessageBoxButton(nType);
        }
        ++m_nFailures;
        if (StopsRun(notice)) {
            if (!m_bStopped.exchange(true))
                m_observer.OnNotice(notice);
            return GetDefaultMessageBoxButton(nType);
        }
        if (nCategory >= 0)
            m_output.Failed(nCategory, notice);
        m_observer.OnNotice(notice);
        return GetDefaultMessageBoxButton(nType);
    }

    // A failure stopped the run: later failures, which follow from it, go unsaid.
    bool Stopped() const { return m_bStopped; }
    int FailureCount() const { return m_nFailures; }

private:
    // Whether the failure ends the run, and the record that says so.
    bool StopsRun(TJobNotice& notice) const {
        if (m_pStopAtFirstFailure) {
            notice.eWhat = eJobNotice::FirstFailure;
            notice.strSubject = m_pStopAtFirstFailure->GetPath();
            return true;
        }
        if (!m_bStopOnLostConnection || !(m_bStopped || CausedByLostConnection()))
            return false;
        notice.eWhat = eJobNotice::ConnectionLost;
        return true;
    }

    IExportObserver& m_observer;
    CModuleOutput& m_output;
    const bool m_bStopOnLostConnection;
    const CCatalogSnapshot* m_pStopAtFirstFailure;
    std::atomic<bool> m_bStopped{false};
    std::atomic<int> m_nFailures{0};
};

// The run as the unloader tells it: progress, the output files, cycles, damaged names, and a stop asked for,
// a file that may not be replaced or a failure that ends the run, which stop it at its next object.
class CModuleRun : public IScriptObserver {
public:
    CModuleRun(IExportObserver& observer, CModuleOutput& output, const CRunMessages& messages)
        : m_observer(observer), m_output(output), m_messages(messages) {}

    bool ShouldStop() override {
        return m_observer.ShouldStop() || m_output.StopsHere() || m_messages.Stopped();
    }
    void OnCategoryStarted(int nCategory) override {
        m_observer.OnPartStarted(nCategory);
        m_output.Start(nCategory);
    }
    void OnObjectListRead(int nCategory, long nTotal) override { m_observer.OnPartSize(nCategory, nTotal); }
    void OnObjectScripted(int nCategory, const char* pszSchema, const char* pszName,
                          const CString& strText) override {
        m_output.Object(nCategory, pszSchema, pszName, strText.Str());
        m_damaged.Note(nCategory, pszSchema, pszName, strText.Str());
        m_observer.OnObjectDone(nCategory);
    }
    void OnReferenceCycle(int nCategory, const std::vector<CString>& aNames) override {
        TJobNotice notice{eJobNotice::CategoryCycle};
        notice.nCategory = nCategory;
        for (const CString& strName : aNames)
            notice.aNames.push_back(strName.Str());
        m_observer.OnNotice(notice);
    }
    void OnCategoryFinished(int nCategory, const CString& strText) override {
        const bool bWritten = m_output.Finish(nCategory, strText.Str());
        if (bWritten) {
            std::lock_guard lock(m_mutex);
            m_aFinished.push_back(nCategory);
        }
        m_observer.OnPartFinished(nCategory, bWritten);
    }

    // The categories written, in category order.
    std::vector<int> Finished() const {
        std::lock_guard lock(m_mutex);
        std::vector<int> aFinished = m_aFinished;
        std::sort(aFinished.begin(), aFinished.end());
        return aFinished;
    }
    const CDamagedNames& Damaged() const { return m_damaged; }

private:
    IExportObserver& m_observer;
    CModuleOutput& m_output;
    const CRunMessages& m_messages;
    mutable std::mutex m_mutex;
    std::vector<int> m_aFinished;
    CDamagedNames m_damaged;
};

std::unique_ptr<CModuleOutput> MakeOutput(const TModuleExportOptions& options, CReplaceGate& gate) {
    if (options.strNameTemplate)
        return std::make_unique<CObjectFiles>(options.strDir, CNameTemplate(*options.strNameTemplate),
                                              options.aFiles, gate);
    return std::make_unique<CCategoryFiles>(options.strDir, options.aFiles, gate);
}

void FillUnloader(CScriptUnloader& unloader, const TModuleExportOptions& options,
                  const std::vector<int>& aCategories) {
    for (const int nCategory : aCategories)
        unloader.m_aFiles[static_cast<size_t>(nCategory)].bEnabled = 1;
    for (size_t nCategory = 0; nCategory < options.aFiles.size(); ++nCategory)
        unloader.m_aFiles[nCategory].strFile = options.aFiles[nCategory].c_str();
    unloader.m_bNoCollation = options.bCollation ? 0 : 1;
    unloader.m_bDependencyOrder = options.bDependencyOrder ? 1 : 0;
    unloader.m_bPrefetch = options.bPrefetch ? 1 : 0;
    unloader.m_bNoCategoryFiles = 1;
}

// How the run ended, after it: a stop, write failures, a file kept, or the folder's list written.
eJobEnd Conclude(const TModuleExportOptions& options, CModuleOutput& output, const CRunMessages& messages,
                 IExportObserver& observer) {
    if (observer.ShouldStop()) {
        observer.OnStopping();
        return eJobEnd::Stopped;
    }
    const bool bFailed = output.TellWriteFailures(observer) || messages.FailureCount() > 0;
    if (output.IsRefused()) {
        CutShortSnapshotRecordings("the export stopped at an existing file");
        TJobNotice notice{eJobNotice::FileExists};
        notice.eOption = eJobOption::ReplaceAll;
        notice.strSubject = output.RefusedFile();
        notice.strDetail = options.strDir;
        observer.OnNotice(notice);
        return eJobEnd::Failed;
    }
    if (bFailed || !output.Conclude(options.aCategories, options.bPrune, observer))
        return eJobEnd::Failed;
    return eJobEnd::Done;
}

} // namespace

std::array<std::string, SQL_CATEGORY_COUNT> ModuleCategoryFiles() {
    std::array<std::string, SQL_CATEGORY_COUNT> aFiles;
    for (size_t nCategory = 0; nCategory < aFiles.size(); ++nCategory)
        aFiles[nCategory] = g_aCategories[nCategory].pszDefaultFile;
    return aFiles;
}

TExportResult ExportModuleScripts(CDatabase& db, const TModuleExportOptions& options,
                                  IExportObserver& observer) {
    TExportResult result;
    result.strWrittenTo = options.strDir;
    if (const int nError = MakeFolder(options.strDir)) {
        observer.OnNotice(FolderNotice(options.strDir, nError));
        result.eEnd = eJobEnd::Failed;
        return result;
    }
    RemoveDebrisIn(options.strDir, observer);
    CReplaceGate gate(options.eReplace, observer);
    const std::unique_ptr<CModuleOutput> output = MakeOutput(options, gate);
    // A replayed snapshot has no connection to lose: its recorded failures answer single statements.
    const CCatalogSnapshot* pSnapshot = db.GetBackend()->GetSnapshot();
    CRunMessages messages(observer, *output, !pSnapshot, options.bStopAtFirstFailure ? pSnapshot : nullptr);
    CScriptUnloader unloader(db, nullptr, options.strDir.c_str());
    FillUnloader(unloader, options, output->AllowBeforehand(options.aCategories));
    CModuleRun run(observer, *output, messages);
    unloader.SetObserver(&run);
    observer.OnCancellable();
    {
        const CUiBackendScope scope(&messages);
        if (options.bParallel)
            unloader.ExecScriptDataThreads();
        else
            unloader.ExecScriptData();
    }
    if (const std::optional<TJobNotice> damaged = run.Damaged().Notice(db.GetConnect().Str()))
        observer.OnNotice(*damaged);
    result.strDatabase = db.GetBackend()->GetDatabaseName();
    result.aWritten = run.Finished();
    result.eEnd = Conclude(options, *output, messages, observer);
    return result;
}
