// apply as a job: the scripts a path names read through, the connections opened, the database looked at for
// what the scripts create, and the batches run, with every refusal a record.
#include "scripts/ApplyJob.h"
#include "apply/ScriptApply.h"
#include "apply/TargetCatalog.h"
#include "backend/ConnectString.h"
#include "export/CategoryTable.h"
#include "jobs/DatabaseSource.h"
#include "jobs/JobFiles.h"
#include "jobs/Manifest.h"
#include "jobs/RecreateFiles.h"
#include "jobs/StreamSeal.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace fs = std::filesystem;

namespace {

// A folder of a manifest's path that holds rows: "07-Data" of a category layout, "Data" of an object layout.
bool IsRowsFolder(const std::string& strFolder) {
    const size_t nDash = strFolder.find('-');
    const std::string strNumber = nDash == std::string::npos ? std::string() : strFolder.substr(0, nDash);
    return strFolder == "Data" ||
           (!strNumber.empty() &&
            std::all_of(strNumber.begin(), strNumber.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
            strFolder.substr(nDash + 1) == "Data");
}

bool IsRowsPath(const std::string& strPath) {
    const fs::path parent = fs::path(strPath).parent_path();
    return std::any_of(parent.begin(), parent.end(),
                       [](const fs::path& folder) { return IsRowsFolder(folder.string()); });
}

// The module's own export: a file per category (or a folder per category, with --layout objects), its
// tables as rows of the product's table; not scripts that rebuild a database, so never applied.
bool IsModuleExport(const fs::path& dir) {
    std::error_code ec;
    return std::any_of(g_aCategories.begin(), g_aCategories.end(), [&](const TCategory& category) {
        const fs::path file = dir / category.pszDefaultFile;
        return fs::is_regular_file(file, ec) || fs::is_directory(fs::path(file).replace_extension(), ec);
    });
}

// The files a folder's manifest lists, in its order; the first run of files of rows is the rows' section.
// How the job ends when the folder cannot be applied.
// bStayInDatabase leaves out the file that makes a database.
std::optional<eJobEnd> ManifestFiles(const std::string& strDir, bool bStayInDatabase,
                                     std::vector<TScriptFile>& aFiles, IJobObserver& observer) {
    if (!fs::is_regular_file(fs::path(strDir) / kManifestName)) {
        observer.OnNotice(
            TJobNotice(IsModuleExport(strDir) ? eJobNotice::ModuleExport : eJobNotice::NoManifest, strDir));
        return eJobEnd::Failed;
    }
    bool bRowsPassed = false;
    for (const std::string& strPath : ReadManifest(strDir)) {
        if (!IsFileInsideFolder(strPath)) {
            TJobNotice notice(eJobNotice::ManifestLeavesFolder, strDir);
            notice.strDetail = strPath;
            observer.OnNotice(notice);
            return eJobEnd::Misused;
        }
        if (bStayInDatabase && IsDatabaseFile(strPath))
            continue;
        const bool bRows = !bRowsPassed && IsRowsPath(strPath);
        bRowsPassed = bRowsPassed || (!bRows && !aFiles.empty() && aFiles.back().bRows);
        aFiles.push_back({strPath, (fs::path(strDir) / strPath).string(), nullptr, bRows});
    }
    return std::nullopt;
}

// A script held in memory, named strName (a file's path, or "stdin" for standard input): nothing at all is no
// script, and a stream an export wrote applies only whole, without its closing line. How the job ends when it
// cannot apply.
std::optional<eJobEnd> MemoryScript(const std::string& strName,
                                    const std::shared_ptr<const std::string>& pScript,
                                    std::vector<TScriptFile>& aFiles, TStreamSeal& seal,
                                    IJobObserver& observer) {
    if (pScript->empty()) {
        observer.OnNotice(TJobNotice(eJobNotice::EmptyScript, strName));
        return eJobEnd::Failed;
    }
    seal = ReadStreamSeal(*pScript);
    if (seal.eSeal == eStreamSeal::CutShort || seal.eSeal == eStreamSeal::Altered) {
        observer.OnNotice(TJobNotice(seal.eSeal == eStreamSeal::CutShort ? eJobNotice::StreamCutShort
                                                                         : eJobNotice::StreamAltered,
                                     strName));
        return eJobEnd::Failed;
    }
    TScriptFile& file = aFiles.emplace_back(TScriptFile{strName, std::string(), pScript, false});
    if (seal.eSeal == eStreamSeal::Whole)
        file.nTextLength = seal.nLength;
    return std::nullopt;
}

// A file that holds an export's stream (saved from its standard output), read whole so that it applies only
// whole; none for any other file, or one that cannot be read, which is read as a script of one's own.
std::shared_ptr<const std::string> SavedStream(const std::string& strPath) {
    std::ifstream file(strPath, std::ios::binary);
    std::string strStart(StreamOpeningLine().size(), '\0');
    file.read(strStart.data(), static_cast<std::streamsize>(strStart.size()));
    strStart.resize(static_cast<size_t>(file.gcount()));
    if (!file.good() || !StartsAsStream(strStart))
        return nullptr;
    std::string strText = std::move(strStart);
    strText.append(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return file.bad() ? nullptr : std::make_shared<const std::string>(std::move(strText));
}

// The scripts the options name; how the job ends when there are none to apply.
std::optional<eJobEnd> ScriptFiles(const TApplyJobOptions& options, std::vector<TScriptFile>& aFiles,
                                   TStreamSeal& seal, IJobObserver& observer) {
    if (options.pScript)
        return MemoryScript("stdin", options.pScript, aFiles, seal, observer);
    std::error_code ec;
    if (fs::is_directory(options.strPath, ec))
        return ManifestFiles(options.strPath, options.bStayInDatabase, aFiles, observer);
    if (const std::shared_ptr<const std::string> pStream = SavedStream(options.strPath))
        return MemoryScript(options.strPath, pStream, aFiles, seal, observer);
    aFiles.push_back({options.strPath, options.strPath, nullptr, false});
    return std::nullopt;
}

// Why the script strName cannot be applied: a line that is not UTF-8, a wrong GO line, or a file that cannot
// be read.
TJobNotice ScriptNotice(const std::string& strName, const CException& e) {
    const auto* script = dynamic_cast<const CScriptException*>(&e);
    if (!script)
        return FileNotice(eJobNotice::CannotRead, strName, e);
    TJobNotice notice(script->m_eProblem == CScriptException::notUtf8   ? eJobNotice::NotUtf8
                      : script->m_eProblem == CScriptException::goCount ? eJobNotice::WrongGoCount
                                                                        : eJobNotice::WrongGoLine,
                      strName);
    notice.nLine = script->m_nLine;
    return notice;
}

// Before anything runs: the objects the scripts create that the database has already, at most ten named.
bool NothingExists(CDbConnection& connection, const TApplyPlan& plan, IJobObserver& observer) {
    std::vector<TPlannedObject> aExisting;
    try {
        aExisting = FindExistingObjects(connection, plan);
    } catch (CDBException* e) {
        const CExceptionPtr<> guard(e);
        TJobNotice notice{eJobNotice::ExistingUnknown};
        notice.eOption = eJobOption::ExistingOk;
        notice.strReason = e->GetErrorText().Str();
        observer.OnNotice(notice);
        return false;
    }
    if (aExisting.empty())
        return true;
    constexpr size_t kNamed = 10;
    for (size_t i = 0; i < std::min(aExisting.size(), kNamed); ++i) {
        const TPlannedObject& object = aExisting[i];
        const TScriptName& name = object.object.name;
        TJobNotice notice(eJobNotice::ObjectExists, plan.aFiles[object.nFile].file.strName);
        notice.nLine = object.nLine;
        notice.aItems.push_back(
            {static_cast<int>(object.object.eKind),
             name.strSchema.empty() ? name.strName : name.strSchema + "." + name.strName});
        observer.OnNotice(notice);
    }
    if (aExisting.size() > kNamed) {
        TJobNotice notice{eJobNotice::MoreObjectsExist};
        notice.nCount = static_cast<long>(aExisting.size() - kNamed);
        observer.OnNotice(notice);
    }
    TJobNotice notice{eJobNotice::NothingApplied};
    notice.eOption = eJobOption::ExistingOk;
    observer.OnNotice(notice);
    return false;
}

// A batch that would take the run out of its database, told; false when there is one.
bool StaysInDatabase(const TApplyPlan& plan, IJobObserver& observer) {
    if (plan.aDatabaseChanges.empty())
        return true;
    const TPlannedDatabaseChange& change = plan.aDatabaseChanges.front();
    TJobNotice notice(eJobNotice::LeavesDatabase, plan.aFiles[change.nFile].file.strName);
    notice.nLine = change.nLine;
    notice.strDetail = change.strStatement;
    observer.OnNotice(notice);
    return false;
}

// Where the scripts go; a connect string without a database leaves it to the login, which is said unless a
// script chooses one itself.
void TellTarget(CDatabase& db, const TApplyPlan& plan, IApplyJobObserver& observer) {
    const std::string strConnect = db.GetConnect().Str();
    const std::string strDatabase = db.GetBackend()->GetDatabaseName();
    observer.OnConnected(ServerOf(strConnect), strDatabase);
    if (ConnectValue(strConnect, "DATABASE").empty() && plan.aDatabaseChanges.empty())
        observer.OnNotice(TJobNotice(eJobNotice::DefaultDatabase, strDatabase));
}

bool HasRows(const TApplyPlan& plan) {
    return std::any_of(plan.aFiles.begin(), plan.aFiles.end(),
                       [](const TPlannedFile& file) { return file.file.bRows; });
}

// The connections the run takes, the first for everything and the others for rows; none after telling why,
// with how the job ends.
std::vector<std::unique_ptr<CDatabase>> Connect(const TConnectDatabase& connect, size_t nCount,
                                                IJobObserver& observer, eJobEnd& eEnd) {
    std::vector<std::unique_ptr<CDatabase>> aDatabases;
    for (size_t i = 0; i < nCount; ++i) {
        auto db = std::make_unique<CDatabase>();
        if (!connect(*db))
            return {};
        if (db->GetBackend()->GetSnapshot()) {
            observer.OnNotice(TJobNotice{eJobNotice::SnapshotCannotApply});
            eEnd = eJobEnd::Misused;
            return {};
        }
        aDatabases.push_back(std::move(db));
    }
    return aDatabases;
}

// The run as the apply layer tells it, as records and the job observer's progress.
class CApplyRun : public IApplyObserver {
public:
    CApplyRun(const TApplyPlan& plan, const TApplyJobOptions& options, IApplyJobObserver& observer)
        : m_plan(plan), m_options(options), m_observer(observer) {}

    bool ShouldStop() override { return m_observer.ShouldStop(); }
    void OnFileStarted(size_t nFile) override { m_observer.OnFileStarted(nFile); }
    void OnBatchApplied(size_t nFile, long nRows) override { m_observer.OnBatchApplied(nFile, nRows); }
    void OnFileApplied(size_t nFile) override { m_observer.OnFileApplied(nFile); }
    void OnRefused(size_t nFile, long nLine, const CDBException& error) override {
        TJobNotice notice = At(eJobNotice::Refused, nFile, nLine);
        notice.strReason = error.GetErrorText().Str();
        notice.strDetail = error.GetSqlState().Str();
        notice.nCount = error.GetNativeError();
        m_observer.OnNotice(notice);
    }
    void OnUnreadable(size_t nFile, const CException& error) override {
        m_observer.OnNotice(ScriptNotice(Name(nFile), error));
    }
    void OnServerMessage(size_t nFile, long nLine, const TDiagRecord& message) override {
        if (!m_options.bServerMessages)
            return;
        TJobNotice notice = At(eJobNotice::ServerMessage, nFile, nLine);
        notice.strReason = message.strMessage.Str();
        m_observer.OnNotice(notice);
    }
    void OnRowCount(size_t nFile, long nLine, long nRows) override {
        if (!m_options.bServerMessages)
            return;
        TJobNotice notice = At(eJobNotice::RowCount, nFile, nLine);
        notice.nCount = nRows;
        m_observer.OnNotice(notice);
    }

private:
    const std::string& Name(size_t nFile) const { return m_plan.aFiles[nFile].file.strName; }
    TJobNotice At(eJobNotice eWhat, size_t nFile, long nLine) const {
        TJobNotice notice(eWhat, Name(nFile));
        notice.nLine = nLine;
        return notice;
    }

    const TApplyPlan& m_plan;
    const TApplyJobOptions& m_options;
    IApplyJobObserver& m_observer;
};

// The files whose batches that cannot run inside a transaction wait for the single one to commit, told.
void TellAfterCommit(const TApplyPlan& plan, IJobObserver& observer) {
    TJobNotice notice{eJobNotice::RunsAfterCommit};
    for (const TPlannedFile& file : plan.aFiles)
        if (!file.aOutsideTransaction.empty())
            notice.aNames.push_back(file.file.strName);
    if (!notice.aNames.empty())
        observer.OnNotice(notice);
}

void Run(const TApplyPlan& plan, const std::vector<CDbConnection*>& aConnections,
         const TApplyJobOptions& options, IApplyJobObserver& observer, TApplyJobResult& result) {
    std::vector<TApplyFileInfo> aInfos;
    for (const TPlannedFile& file : plan.aFiles)
        aInfos.push_back({file.file.strName, file.nBatches});
    observer.OnPlanned(aInfos);
    if (options.bSingleTransaction)
        TellAfterCommit(plan, observer);
    observer.OnCancellable();
    CApplyRun run(plan, options, observer);
    TApplyResult applied;
    try {
        applied = ApplyScripts(plan, aConnections, {options.bContinue, options.bSingleTransaction}, run);
    } catch (CDBException* e) {
        const CExceptionPtr<> guard(e);
        TJobNotice notice{eJobNotice::CannotBeginTransaction};
        notice.strReason = e->GetErrorText().Str();
        observer.OnNotice(notice);
        return;
    }
    result.nFiles = applied.nFiles;
    result.nBatches = applied.nBatches;
    result.nRows = applied.nRows;
    result.nRefused = applied.nRefused;
    result.bBroken = applied.bBroken;
    // The single transaction holds the scripts' own.
    result.bRolledBack = !options.bSingleTransaction && (applied.bBroken || applied.bStopped) &&
                         StoppedInOwnTransaction(plan, applied.nBatches);
    result.nBeforeTransaction = result.bRolledBack ? plan.nTransactionBegins : 0;
    result.bCommitted = applied.bCommitted;
    result.eEnd = applied.bStopped                          ? eJobEnd::Stopped
                  : applied.bBroken || applied.nRefused > 0 ? eJobEnd::Failed
                                                            : eJobEnd::Done;
}

} // namespace

TApplyJobResult ApplyScriptFiles(const TConnectDatabase& connect, const TApplyJobOptions& options,
                                 IApplyJobObserver& observer) {
    TApplyJobResult result;
    result.eEnd = eJobEnd::Failed;
    std::vector<TScriptFile> aFiles;
    TStreamSeal seal;
    if (const std::optional<eJobEnd> eEnd = ScriptFiles(options, aFiles, seal, observer)) {
        result.eEnd = *eEnd;
        return result;
    }
    TApplyPlan plan;
    try {
        plan = PlanApply(std::move(aFiles));
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        const auto* script = dynamic_cast<const CScriptException*>(e);
        const auto* file = dynamic_cast<const CFileException*>(e);
        observer.OnNotice(ScriptNotice(script ? script->m_strFile.Str()
                                       : file ? file->m_strFileName.Str()
                                              : options.strPath,
                                       *e));
        return result;
    }
    if (seal.eSeal == eStreamSeal::Whole && plan.aFiles.front().nBatches != seal.nBatches) {
        observer.OnNotice(TJobNotice(eJobNotice::StreamAltered, plan.aFiles.front().file.strName));
        return result;
    }
    if (options.bStayInDatabase && !StaysInDatabase(plan, observer))
        return result;
    const std::vector<std::unique_ptr<CDatabase>> aDatabases =
        Connect(connect, HasRows(plan) ? static_cast<size_t>(options.nJobs) : 1, observer, result.eEnd);
    if (aDatabases.empty())
        return result;
    std::vector<CDbConnection*> aConnections;
    for (const std::unique_ptr<CDatabase>& db : aDatabases)
        aConnections.push_back(db->GetBackend());
    TellTarget(*aDatabases.front(), plan, observer);
    if (!options.bExistingOk && !NothingExists(*aConnections.front(), plan, observer))
        return result;
    Run(plan, aConnections, options, observer, result);
    return result;
}
