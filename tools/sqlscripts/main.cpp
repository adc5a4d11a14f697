// sqlscripts: scripts a SQL Server database's objects from the terminal.
#include "ApplyCommand.h"
#include "Categories.h"
#include "ConnectString.h"
#include "DemoCommand.h"
#include "DialogExport.h"
#include "DiffCommand.h"
#include "ExportObserver.h"
#include "HostUi.h"
#include "Interruption.h"
#include "Messages.h"
#include "ObjectFiles.h"
#include "ObjectName.h"
#include "Options.h"
#include "RecreateCommand.h"

#include "backend/ConnectSecrets.h"
#include "backend/Database.h"
#include "backend/DbBackend.h"
#include "backend/Snapshot.h"
#include "catalog/Prefetch.h"
#include "platform/Exceptions.h"
#include "scripts/ScriptApi.h"
#include "scripts/ScriptUnloader.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <strings.h>
#include <unistd.h>

namespace {

// Seconds a login may take without --timeout: long enough for a server across the world, short enough not to
// look like a hang.
constexpr int kDefaultLoginTimeout = 30;

// The folder of --save-snapshot is made as --dir's is, and what a recording that ended early left beside the
// file goes; false after saying why the folder cannot be made.
bool PrepareRecording(const std::string& file) {
    const std::string folder = std::filesystem::path(file).parent_path().string();
    if (!folder.empty() && !CreateFolder(folder))
        return false;
    RemoveDebrisOf(file);
    return true;
}

// Opens the connection; on failure says why in one line, without the connect string's password. A snapshot
// whose recording was cut short is named, since it cannot answer what was asked after that.
bool Connect(CDatabase& db, const Source& source) {
    if (!source.saveSnapshot.empty() && !PrepareRecording(source.saveSnapshot))
        return false;
    try {
        SetDbTimeouts({static_cast<DWORD>(source.timeout.value_or(kDefaultLoginTimeout)),
                       static_cast<DWORD>(source.timeout.value_or(0))});
        db.OpenEx(source.ConnectString().c_str(), CDatabase::noOdbcDialog);
        const CCatalogSnapshot* snapshot = db.GetBackend()->GetSnapshot();
        if (snapshot && !snapshot->GetCutShort().empty())
            Say(Format(
                Tr("warning: the recording of catalog snapshot %s was cut short (%s): statements asked "
                   "after that are not in it"),
                snapshot->GetPath().c_str(), snapshot->GetCutShort().c_str()));
        return true;
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        const std::string reason = OneLine(HideConnectSecrets(e->GetErrorText().Str(), source.connect));
        if (dynamic_cast<CFileException*>(e))
            Say(Format(Tr("cannot record the snapshot: %s"), reason.c_str()));
        else
            Say(source.snapshot.empty() ? Format(Tr("cannot connect: %s"), reason.c_str()) : reason);
        return false;
    }
}

bool HoldsPrefetchStatements(const CCatalogSnapshot& snapshot) {
    for (size_t family = 0; family < PREFETCH_FAMILY_COUNT; ++family)
        if (!snapshot.Find(GetPrefetchSQL(static_cast<EPrefetchFamily>(family)).Str()))
            return false;
    return true;
}

// Prefetch for a server unless --no-prefetch; a snapshot replays with the statements it holds, and asking for
// the kind it lacks is said in one line. Null when the run cannot go on.
std::optional<bool> ChoosePrefetch(CDatabase& db, Prefetch choice, HostUi& ui) {
    const CCatalogSnapshot* snapshot = db.GetBackend()->GetSnapshot();
    if (!snapshot)
        return choice != Prefetch::Off;
    const bool holds = HoldsPrefetchStatements(*snapshot);
    if (choice == Prefetch::On && !holds) {
        Say(Format(Tr("catalog snapshot %s does not hold the prefetch statements (it was recorded with "
                      "--no-prefetch); replay it without --prefetch"),
                   snapshot->GetPath().c_str()));
        return std::nullopt;
    }
    // Recorded with prefetch, it holds few of the statements sent one per object: the first one missing ends
    // the run with this line rather than a failure in every category.
    if (choice == Prefetch::Off && holds)
        ui.StopOnFailure(Format(Tr("catalog snapshot %s was recorded with prefetch and does not hold every "
                                   "statement that --no-prefetch sends; replay it without --no-prefetch"),
                                snapshot->GetPath().c_str()));
    return choice == Prefetch::Off ? false : holds;
}

Progress::Mode ProgressMode(const ExportOptions& options) {
    return Progress::ModeFor(options.quiet, options.progress);
}

void FillUnloader(CScriptUnloader& unloader, const ExportOptions& options, const ExportPlan& plan,
                  const std::vector<int>& categories) {
    for (const int category : categories)
        unloader.m_aFiles[static_cast<size_t>(category)].bEnabled = 1;
    for (size_t category = 0; category < plan.files.size(); ++category)
        unloader.m_aFiles[category].strFile = plan.files[category].c_str();
    unloader.m_bNoCollation = options.collation ? 0 : 1;
    unloader.m_bDependencyOrder = options.order == Order::Dependencies ? 1 : 0;
    // The host writes the files itself, so that a failed category keeps its file and a file is replaced
    // only with leave at the moment it takes its name.
    unloader.m_bNoCategoryFiles = 1;
}

// Says how the run ended: interrupted, stopped at an existing file, failed, or done (with the object files
// left from objects that are gone, and the folder's list of files); the exit status.
int ConcludeExport(const ExportOptions& options, const ExportPlan& plan, const HostUi& ui,
                   const ExportObserver& observer, ExportOutput& output, const std::string& database) {
    RunEnd end{options.dir,
               InterruptionSignal(),
               JoinCategoryNames(observer.Finished()),
               std::nullopt,
               false,
               options.quiet,
               database};
    if (end.signal)
        return ConcludeRun(end);
    const bool failed = output.SayWriteFailures() || ui.MessageCount() > 0;
    if (output.IsRefused()) {
        CutShortSnapshotRecordings("the export stopped at an existing file");
        end.refused = output.RefusedFile();
    }
    end.failed = failed || (!end.refused && !output.Conclude(plan.categories, options.prune));
    return ConcludeRun(end);
}

std::unique_ptr<ExportOutput> MakeOutput(const ExportOptions& options, const ExportPlan& plan,
                                         ReplaceGate& gate) {
    if (plan.nameTemplate)
        return std::make_unique<ObjectFiles>(options.dir, *plan.nameTemplate, plan.files, gate);
    return std::make_unique<CategoryFiles>(options.dir, plan.files, gate);
}

int RunExport(const Source& source, const ExportOptions& options) {
    const ExportPlan plan = PlanExport(options);
    Progress progress(ProgressMode(options), CategoryNames());
    HostUi ui(&progress);
    const UiBackendScope scope(&ui);
    CDatabase db;
    if (!Connect(db, source))
        return kExitFailed;
    const std::optional<bool> prefetch = ChoosePrefetch(db, options.prefetch, ui);
    if (!prefetch || !CreateFolder(options.dir))
        return kExitFailed;
    RemoveDebrisIn(options.dir);
    // A replayed snapshot has no connection to lose: its recorded failures answer single statements.
    if (!db.GetBackend()->GetSnapshot())
        ui.StopOnLostConnection();
    ReplaceGate gate(plan.replace, &progress);
    const std::unique_ptr<ExportOutput> output = MakeOutput(options, plan, gate);
    ui.SetOutput(output.get());
    CScriptUnloader unloader(db, nullptr, options.dir.c_str());
    FillUnloader(unloader, options, plan, output->AllowBeforehand(plan.categories));
    unloader.m_bPrefetch = *prefetch ? 1 : 0;
    ExportObserver observer(progress, *output, ui);
    unloader.SetObserver(&observer);
    CatchInterruptions();
    if (options.parallel)
        unloader.ExecScriptDataThreads();
    else
        unloader.ExecScriptData();
    progress.Clear();
    if (const std::string warning = observer.Damaged().Warning(source.connect); !warning.empty())
        Say(warning);
    return ConcludeExport(options, plan, ui, observer, *output, db.GetBackend()->GetDatabaseName());
}

// The categories, names, folder and COLLATION option come from the options dialog instead of the options.
int RunDialogExport(const Source& source, const ExportOptions& options) {
    std::string error;
    std::unique_ptr<DialogExport> session = DialogExport::Open(error);
    if (!session) {
        Say(Format(Tr("--dialog: %s"), error.c_str()));
        return kExitUsage;
    }
    CDatabase db;
    if (!Connect(db, source))
        return kExitFailed;
    HostUi ui;
    const std::optional<bool> prefetch = ChoosePrefetch(db, options.prefetch, ui);
    if (!prefetch)
        return kExitFailed;
    return session->Run(db, options.dir, options.parallel, *prefetch);
}

int PrintResult(bool ok, const CString& text) {
    if (!ok)
        return kExitFailed;
    std::fwrite(text.GetString(), 1, static_cast<size_t>(text.GetLength()), stdout);
    return kExitOk;
}

// An object the module knows but writes no script for on its own (an index, a unique constraint, full text).
int PrintScript(bool ok, const CString& script, const std::string& name) {
    if (ok && script.IsEmpty())
        Say(Format(Tr("nothing to script for %s"), name.c_str()));
    return PrintResult(ok, script);
}

// The module scripts objects of schema dbo, named without it: dbo.NAME and [dbo].[NAME] are taken as NAME.
// Any other text is the name itself, which may hold dots.
std::string DboObjectName(const std::string& text) {
    const ObjectName name = ParseObjectName(text);
    return strcasecmp(name.schema.c_str(), "dbo") == 0 ? name.name : text;
}

// Runs a call of the module on the connection, with the host's user interface in place.
int OnModule(const Source& source, const std::function<int(CDatabase&, HostUi&)>& call) {
    HostUi ui;
    const UiBackendScope scope(&ui);
    CDatabase db;
    if (!Connect(db, source))
        return kExitFailed;
    return call(db, ui);
}

int RunObject(const CommandLine& line) {
    if (line.recreate)
        return PrintRecreateObject(line.name, [&line](CDatabase& db) { return Connect(db, line.source); });
    const std::string name = DboObjectName(line.name);
    return OnModule(line.source, [&line, &name](CDatabase& db, HostUi& ui) {
        CString script;
        try {
            if (!line.type) {
                ui.ExpectObject(name, !ParseObjectName(name).schema.empty());
                return PrintScript(GenerateSQLScriptObject(db, name.c_str(), script, !line.collation) != 0,
                                   script, name);
            }
            const TErrState result = GetSqlScriptObject(db, static_cast<eSqlTypeObjects>(*line.type),
                                                        name.c_str(), script, !line.collation);
            if (result.nError)
                Say(ModuleText(OneLine(result.strMessage.Str())));
            return PrintScript(result.nError == 0, script, name);
        } catch (CException* e) {
            const CExceptionPtr<> guard(e);
            Say(OneLine(e->GetErrorText().Str()));
            return kExitFailed;
        }
    });
}

int RunFields(const CommandLine& line) {
    const std::string name = DboObjectName(line.name);
    return OnModule(line.source, [&name](CDatabase& db, HostUi&) {
        CString fields;
        if (GenerateSQLScriptFields(db, name.c_str(), fields) && fields.IsEmpty()) {
            Say(Format(Tr("%s is not a table or view of schema dbo"), name.c_str()));
            return kExitFailed;
        }
        return PrintResult(!fields.IsEmpty(), fields);
    });
}

// Rewrites a snapshot of any version this program reads in the version it writes.
int RunSnapshotUpgrade(const CommandLine& line) {
    try {
        CCatalogSnapshot::Load(line.snapshotInput)->SaveAs(line.snapshotOutput);
        return kExitOk;
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        Say(OneLine(e->GetErrorText().Str()));
        return kExitFailed;
    }
}

} // namespace

int main(int argc, char** argv) {
    const InterruptionWatch watch;
    InitMessages();
    CommandLine line;
    if (const std::optional<int> status = ParseCommandLine(argc, argv, line))
        return *status;
    switch (line.command) {
    case CommandLine::Command::Export:
        if (line.exportOptions.recreate || line.exportOptions.dataOnly)
            return ExportRecreate(line.exportOptions, ProgressMode(line.exportOptions),
                                  [&line](CDatabase& db) { return Connect(db, line.source); });
        return line.exportOptions.dialog ? RunDialogExport(line.source, line.exportOptions)
                                         : RunExport(line.source, line.exportOptions);
    case CommandLine::Command::Object:
        return RunObject(line);
    case CommandLine::Command::Fields:
        return RunFields(line);
    case CommandLine::Command::Diff:
        return RunDiff(line.diff, [](CDatabase& db, const Source& source) { return Connect(db, source); });
    case CommandLine::Command::Demo:
        return RunDemo(line.demoDir, [](CDatabase& db, const Source& source) { return Connect(db, source); });
    case CommandLine::Command::SnapshotUpgrade:
        return RunSnapshotUpgrade(line);
    case CommandLine::Command::Apply:
        return RunApply(line.applyOptions, [&line](CDatabase& db) { return Connect(db, line.source); });
    }
    return kExitFailed;
}
