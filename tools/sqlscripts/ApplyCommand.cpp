#include "ApplyCommand.h"

#include "ApplyReport.h"
#include "ConnectString.h"
#include "ExportOutput.h"
#include "Interruption.h"
#include "Manifest.h"
#include "Messages.h"
#include "apply/TargetCatalog.h"
#include "backend/DbBackend.h"
#include "recreate/CreateWords.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

// A folder of a manifest's path that holds rows: "07-Data" of a category layout, "Data" of an object layout.
bool IsRowsFolder(const std::string& folder) {
    const size_t dash = folder.find('-');
    const std::string number = dash == std::string::npos ? std::string() : folder.substr(0, dash);
    return folder == "Data" || (!number.empty() && std::all_of(number.begin(), number.end(), [](char c) {
               return c >= '0' && c <= '9';
           }) && folder.substr(dash + 1) == "Data");
}

bool IsRowsPath(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return std::any_of(parent.begin(), parent.end(),
                       [](const fs::path& folder) { return IsRowsFolder(folder.string()); });
}

// The files a folder's manifest lists, in its order; the first run of files of rows is the rows' section.
// The exit status when the folder cannot be applied.
int ManifestFiles(const std::string& dir, std::vector<TScriptFile>& files) {
    if (!fs::is_regular_file(fs::path(dir) / kManifestName)) {
        Say(Format(Tr("%s holds no %s: give a folder an export wrote, a .sql file or -"), dir.c_str(),
                   kManifestName));
        return kExitFailed;
    }
    bool rowsPassed = false;
    for (const std::string& path : ReadManifest(dir)) {
        if (!IsFileInsideFolder(path)) {
            Say(Format(Tr("%s/%s names %s, which is not a file inside the folder"), dir.c_str(),
                       kManifestName, path.c_str()));
            return kExitUsage;
        }
        const bool rows = !rowsPassed && IsRowsPath(path);
        rowsPassed = rowsPassed || (!rows && !files.empty() && files.back().bRows);
        files.push_back({path, (fs::path(dir) / path).string(), nullptr, rows});
    }
    return kExitOk;
}

std::shared_ptr<const std::string> ReadStandardInput() {
    auto text = std::make_shared<std::string>();
    char buffer[1 << 16];
    for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;)
        text->append(buffer, read);
    return text;
}

// The scripts PATH names; the exit status when there are none to apply.
int ScriptFiles(const std::string& path, std::vector<TScriptFile>& files) {
    if (path == "-") {
        files.push_back({"stdin", std::string(), ReadStandardInput(), false});
        return kExitOk;
    }
    std::error_code error;
    if (fs::is_directory(path, error))
        return ManifestFiles(path, files);
    files.push_back({path, path, nullptr, false});
    return kExitOk;
}

// What the kinds table calls what a CREATE makes (a literal, ended as C text), in the user's language.
const char* KindName(eModelKind kind) {
    return Tr(CreateWordOf(kind).strNoun.data());
}

std::string QualifiedName(const TScriptName& name) {
    return name.strSchema.empty() ? name.strName : name.strSchema + "." + name.strName;
}

// Before anything runs: the objects the scripts create that the database has already, at most ten named.
bool NothingExists(CDbConnection& connection, const TApplyPlan& plan) {
    std::vector<TPlannedObject> existing;
    try {
        existing = FindExistingObjects(connection, plan);
    } catch (CDBException* e) {
        const CExceptionPtr<> guard(e);
        Say(Format(Tr("cannot see which objects the database has already: %s (--existing ok applies the "
                      "scripts without looking)"),
                   OneLine(e->GetErrorText().Str()).c_str()));
        return false;
    }
    if (existing.empty())
        return true;
    constexpr size_t kNamed = 10;
    for (size_t i = 0; i < std::min(existing.size(), kNamed); ++i) {
        const TPlannedObject& object = existing[i];
        Say(Format(Tr("%s %s exists already (%s:%ld creates it)"), KindName(object.object.eKind),
                   QualifiedName(object.object.name).c_str(), plan.aFiles[object.nFile].file.strName.c_str(),
                   object.nLine));
    }
    if (existing.size() > kNamed) {
        const auto more = static_cast<unsigned long>(existing.size() - kNamed);
        Say(Format(TrN("and %lu more object", "and %lu more objects", more), more));
    }
    Say(Tr(
        "nothing applied: the database has objects that the scripts create (--existing ok applies them all "
        "the same)"));
    return false;
}

std::string FilesAndBatches(const TApplyResult& result) {
    const auto files = static_cast<unsigned long>(result.nFiles);
    const auto batches = static_cast<unsigned long>(result.nBatches);
    return Format(TrN("%lu file", "%lu files", files), files) + ", " +
           Format(TrN("%lu batch", "%lu batches", batches), batches);
}

// Says how the run ended; the exit status.
int Conclude(const ApplyOptions& options, const TApplyResult& result, double seconds) {
    if (result.bStopped || result.bBroken) {
        const std::string applied =
            options.singleTransaction ? std::string(Tr("the transaction was rolled back: nothing applied"))
                                      : Format(Tr("applied before it: %s"), FilesAndBatches(result).c_str());
        Say(result.bStopped ? Format(Tr("interrupted; %s"), applied.c_str())
                            : Format(Tr("stopped; %s"), applied.c_str()));
        return result.bStopped ? 128 + InterruptionSignal() : kExitFailed;
    }
    const auto rows = static_cast<unsigned long>(result.nRows);
    if (!options.quiet)
        Say(Format(Tr("applied %s, %s in %.1f s"), FilesAndBatches(result).c_str(),
                   Format(TrN("%lu row", "%lu rows", rows), rows).c_str(), seconds));
    if (result.nRefused == 0)
        return kExitOk;
    Say(Format(TrN("%lu batch refused", "%lu batches refused", static_cast<unsigned long>(result.nRefused)),
               static_cast<unsigned long>(result.nRefused)));
    return kExitFailed;
}

bool HasRows(const TApplyPlan& plan) {
    return std::any_of(plan.aFiles.begin(), plan.aFiles.end(),
                       [](const TPlannedFile& file) { return file.file.bRows; });
}

// The connections the run takes, the first for everything and the others for rows; none after saying why.
std::vector<std::unique_ptr<CDatabase>> Connect(const ApplyConnect& connect, size_t count, int& status) {
    std::vector<std::unique_ptr<CDatabase>> databases;
    for (size_t i = 0; i < count; ++i) {
        auto db = std::make_unique<CDatabase>();
        if (!connect(*db)) {
            status = kExitFailed;
            return {};
        }
        if (db->GetBackend()->GetSnapshot()) {
            Say(Tr("apply runs scripts on a server: a catalog snapshot (SNAPSHOT=) cannot run them"));
            status = kExitUsage;
            return {};
        }
        databases.push_back(std::move(db));
    }
    return databases;
}

} // namespace

int RunApply(const ApplyOptions& options, const ApplyConnect& connect) {
    std::vector<TScriptFile> files;
    if (const int status = ScriptFiles(options.path, files))
        return status;
    TApplyPlan plan;
    try {
        plan = PlanApply(std::move(files));
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        const auto* script = dynamic_cast<const CScriptException*>(e);
        const auto* file = dynamic_cast<const CFileException*>(e);
        Say(ScriptFailure(script ? script->m_strFile.Str()
                          : file ? file->m_strFileName.Str()
                                 : options.path,
                          *e));
        return kExitFailed;
    }
    int status = kExitOk;
    const std::vector<std::unique_ptr<CDatabase>> databases =
        Connect(connect, HasRows(plan) ? static_cast<size_t>(options.jobs) : 1, status);
    if (databases.empty())
        return status;
    std::vector<CDbConnection*> connections;
    for (const std::unique_ptr<CDatabase>& db : databases)
        connections.push_back(db->GetBackend());
    if (options.existing == Existing::Stop && !NothingExists(*connections.front(), plan))
        return kExitFailed;
    ApplyReport report(plan, Progress::ModeFor(options.quiet, options.progress), options.verbose);
    CatchInterruptions();
    TApplyResult result;
    try {
        result = ApplyScripts(plan, connections, {options.keepGoing, options.singleTransaction}, report);
    } catch (CDBException* e) {
        const CExceptionPtr<> guard(e);
        report.Clear();
        Say(Format(Tr("cannot begin the transaction: %s"), OneLine(e->GetErrorText().Str()).c_str()));
        return kExitFailed;
    }
    report.Clear();
    return Conclude(options, result, report.Seconds());
}
