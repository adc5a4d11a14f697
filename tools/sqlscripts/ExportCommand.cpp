#include "ExportCommand.h"

#include "Categories.h"
#include "Interruption.h"
#include "Messages.h"
#include "Notices.h"
#include "Progress.h"
#include "ReplaceQuestion.h"
#include "Session.h"
#include "scripts/ExportJobs.h"

#include <cstdio>
#include <filesystem>

namespace {

// What the user sees of an export job on stderr: the progress of its parts and of the catalog's reading,
// each record as a line, and the question about an existing file. Ctrl-C and SIGTERM stop it.
class ExportView : public IExportObserver {
public:
    ExportView(Progress::Mode mode, std::vector<std::string> parts)
        : mode_(mode), progress_(mode, std::move(parts)), catalog_(mode, {"catalog"}) {}

    bool ShouldStop() override { return InterruptionSignal() != 0; }
    void OnCancellable() override { CatchInterruptions(); }
    // A recording says why it holds less than the run would have asked.
    void OnStopping() override { CutShortRecordingsBySignal(); }
    void OnNotice(const TJobNotice& notice) override {
        const ProgressPause pause(&progress_);
        Say(NoticeLine(notice));
    }
    eReplaceAnswer AskReplace(const std::string& shown) override { return AskToReplace(shown, &progress_); }
    void OnCatalogRead(size_t done, size_t total) override {
        if (done == 1) {
            catalog_.Started(0);
            catalog_.ListRead(0, static_cast<long>(total));
        }
        catalog_.ObjectDone(0);
        statements_ = total;
    }
    void OnCatalogDone(bool whole) override {
        catalog_.Clear();
        if (whole && mode_ == Progress::Mode::Lines)
            Say(Format(TrN("catalog read, %zu statement", "catalog read, %zu statements", statements_),
                       statements_));
    }
    void OnPartStarted(int part) override { progress_.Started(part); }
    void OnPartSize(int part, long objects) override { progress_.ListRead(part, objects); }
    void OnObjectDone(int part) override { progress_.ObjectDone(part); }
    void OnPartFinished(int part, bool written) override { progress_.Finished(part, written); }

    // Clears the status line for good, before the last line.
    void Clear() { progress_.Clear(); }

private:
    const Progress::Mode mode_;
    Progress progress_;
    Progress catalog_;
    size_t statements_ = 0;
};

Progress::Mode ProgressMode(const ExportOptions& options) {
    return Progress::ModeFor(options.quiet, options.progress);
}

// Says how an export ended (interrupted, failed, or written into its folder, naming the database when it is
// known); the exit status.
int Concluded(ExportView& view, const TExportResult& result, bool quiet) {
    view.Clear();
    if (result.eEnd == eJobEnd::Stopped) {
        Say(result.bStreamCut         ? Tr("interrupted; the stream on standard output was cut short: it has "
                                                   "no closing line, and apply refuses it")
            : result.aWritten.empty() ? Tr("interrupted; no category was written")
                                      : Format(Tr("interrupted; categories written: %s"),
                                               JoinCategoryNames(result.aWritten).c_str()));
        return 128 + InterruptionSignal();
    }
    if (result.eEnd != eJobEnd::Done)
        return kExitFailed;
    if (!quiet) {
        std::error_code ec;
        const std::filesystem::path folder = std::filesystem::absolute(result.strWrittenTo, ec);
        const std::string shown = ec ? result.strWrittenTo : folder.string();
        Say(result.strDatabase.empty() ? Format(Tr("scripts written to %s"), shown.c_str())
                                       : Format(Tr("scripts of database %s written to %s"),
                                                result.strDatabase.c_str(), shown.c_str()));
    }
    return kExitOk;
}

TModuleExportOptions ModuleJob(const ExportOptions& options, const ExportPlan& plan,
                               const PrefetchChoice& prefetch) {
    TModuleExportOptions job;
    job.strDir = options.dir;
    job.aCategories = plan.categories;
    job.aFiles = plan.files;
    job.strNameTemplate = plan.nameTemplate;
    job.eReplace = plan.replace;
    job.bPrune = options.prune;
    job.bCollation = options.collation;
    job.bDependencyOrder = options.order == Order::Dependencies;
    job.bParallel = options.parallel;
    job.bPrefetch = prefetch.prefetch;
    job.bStopAtFirstFailure = prefetch.stopAtFirstFailure;
    return job;
}

TRecreateExportOptions RecreateJob(const ExportOptions& options, const ExportPlan& plan) {
    TRecreateExportOptions job;
    job.strDir = options.dir;
    if (options.output == "-")
        job.pStream = stdout;
    else
        job.strOutput = options.output;
    job.strNameTemplate = plan.nameTemplate;
    job.eReplace = plan.replace;
    job.bPrune = options.prune;
    job.bParallel = options.parallel;
    job.aKinds = plan.kinds;
    job.aSchemas = options.schemas;
    job.aExcludedSchemas = options.excludedSchemas;
    job.aObjects = options.objects;
    job.aExcludedObjects = options.excludedObjects;
    job.bClean = options.clean;
    job.strCreateDatabase = options.createDatabase;
    job.bData = options.data;
    job.bDataOnly = options.dataOnly;
    job.aDataTables = plan.tables;
    job.aExcludedDataTables = plan.excludedTables;
    job.nRowsPerInsert = options.rowsPerInsert.value_or(100);
    job.bConsistent = options.consistent;
    job.bStrict = options.strict;
    job.bLineFeeds = options.lineEnds == LineEnds::Lf;
    return job;
}

} // namespace

int RunExport(const Source& source, const ExportOptions& options) {
    const ExportPlan plan = PlanExport(options);
    ExportView view(ProgressMode(options), CategoryNames());
    CDatabase db;
    const std::optional<PrefetchChoice> prefetch = ConnectForExport(db, source, options.prefetch);
    if (!prefetch)
        return kExitFailed;
    const TExportResult result = ExportModuleScripts(db, ModuleJob(options, plan, *prefetch), view);
    return Concluded(view, result, options.quiet);
}

int ExportRecreate(const ExportOptions& options, const HostConnect& connect) {
    const ExportPlan plan = PlanExport(options);
    ExportView view(ProgressMode(options), RecreateProgressNames(plan.nameTemplate.has_value()));
    const TExportResult result = ExportRecreate(connect, RecreateJob(options, plan), view);
    return Concluded(view, result, options.quiet || options.output == "-");
}

int PrintRecreateObject(const std::string& name, bool strict, LineEnds lineEnds, const HostConnect& connect) {
    CDatabase db;
    if (!connect(db))
        return kExitFailed;
    ExportView view(Progress::Mode::Off, {});
    const TObjectScript script = FindRecreateObject(db, name, view, strict, lineEnds == LineEnds::Lf);
    if (script.eEnd != eJobEnd::Done) {
        TExportResult result;
        result.eEnd = script.eEnd;
        return Concluded(view, result, true);
    }
    std::fwrite(script.strText.data(), 1, script.strText.size(), stdout);
    return kExitOk;
}
