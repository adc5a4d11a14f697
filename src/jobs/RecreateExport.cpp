// export --recreate and --data-only as a job: the catalog model loaded in a few statements and scripted so
// that applying the files rebuilds every object as it is, with the tables' rows.
#include "backend/DbBackend.h"
#include "jobs/DamagedNames.h"
#include "jobs/DataFiles.h"
#include "jobs/JobFiles.h"
#include "jobs/ObjectName.h"
#include "jobs/OneMoment.h"
#include "jobs/RecreateWarnings.h"
#include "jobs/TablePatterns.h"
#include "model/ModelLoader.h"
#include "recreate/DataPositions.h"
#include "recreate/DatabaseDdl.h"
#include "recreate/DdlText.h"
#include "recreate/RecreateScript.h"
#include "scripts/ExportJobs.h"

#include <algorithm>
#include <cerrno>
#include <set>

namespace {

// A pattern that matches nothing is a mistake in it, or the wrong database: each is named, and nothing is
// written.
bool EveryPatternMatches(const TStepSelection& selection, IJobObserver& observer) {
    static constexpr eJobOption kOptions[] = {eJobOption::Schema, eJobOption::ExcludeSchema,
                                              eJobOption::Object, eJobOption::ExcludeObject};
    for (const TUnmatchedPattern& unmatched : selection.aUnmatched) {
        TJobNotice notice{eJobNotice::UnmatchedPattern};
        notice.eOption = kOptions[static_cast<size_t>(unmatched.eList)];
        notice.strSubject = unmatched.strPattern;
        observer.OnNotice(notice);
    }
    return selection.aUnmatched.empty();
}

// The tables whose steps the patterns pick and whose rows are not left out: those whose rows are written.
std::function<bool(const TModelTable&)> PickedTables(const TRecreatePlan& plan,
                                                     const TStepSelection& selection,
                                                     std::vector<TTablePatternText> aExcluded) {
    std::set<const TModelTable*> setPicked;
    for (size_t nStep = 0; nStep < plan.aSteps.size(); ++nStep)
        if (selection.aPicked[nStep] && plan.aSteps[nStep].key.eKind == eModelKind::Table)
            setPicked.insert(std::get<const TModelTable*>(plan.aSteps[nStep].object));
    return [setPicked = std::move(setPicked), aExcluded = std::move(aExcluded)](const TModelTable& table) {
        return setPicked.count(&table) > 0 && !MatchesAny(table, aExcluded);
    };
}

// Both lists are told about before the run stops.
bool RowPatternsMatch(const TCatalogModel& model, const std::vector<TTablePatternText>& aTables,
                      const std::vector<TTablePatternText>& aExcluded, IJobObserver& observer) {
    const bool bTables = EveryTablePatternMatches({&model}, aTables, eJobOption::DataTables, observer);
    const bool bExcluded =
        EveryTablePatternMatches({&model}, aExcluded, eJobOption::ExcludeDataTables, observer);
    return bTables && bExcluded;
}

bool WithRows(const TRecreateExportOptions& options) {
    return options.bData || options.bDataOnly;
}

std::optional<CNameTemplate> NamesOf(const TRecreateExportOptions& options) {
    if (!options.strNameTemplate)
        return std::nullopt;
    return CNameTemplate(*options.strNameTemplate);
}

// The files of the run in apply order: the picked steps' scripts, after the drops of --clean, and the tables'
// rows; none when a pattern matches nothing or the selection leaves nothing (told).
std::optional<std::vector<TRecreateFile>> PlanFiles(const TCatalogModel& model, const TRecreatePlan& plan,
                                                    const TRecreateExportOptions& options,
                                                    const TDataPositions& positions, IJobObserver& observer) {
    const CNameMatcher matcher(IsCaseSensitiveCollation(model.strCollation));
    const TNamePatterns patterns{options.aSchemas, options.aExcludedSchemas, options.aObjects,
                                 options.aExcludedObjects};
    const TStepSelection selection = SelectSteps(plan, options.aKinds, patterns, matcher);
    const std::vector<TTablePatternText> aTables = TablePatterns(options.aDataTables);
    std::vector<TTablePatternText> aExcluded = TablePatterns(options.aExcludedDataTables);
    if (!EveryPatternMatches(selection, observer) ||
        (WithRows(options) && !RowPatternsMatch(model, aTables, aExcluded, observer)))
        return std::nullopt;
    TRecreateScript script;
    if (!options.bDataOnly) {
        WarnLeftOut(plan, selection, observer);
        WarnRenamed(plan, selection.aSelected, matcher, observer);
        WarnSecurity(model, plan, selection.aSelected, observer);
        script = ScriptSelectedSteps(model, plan, selection.aSelected, options.bClean);
        WarnCycles(script, observer);
    }
    const std::optional<CNameTemplate> names = NamesOf(options);
    std::vector<TRecreateFile> aFiles = names ? RecreateObjectFiles(std::move(script.aSteps), *names)
                                              : RecreateSectionFiles(std::move(script.aSteps));
    if (WithRows(options)) {
        std::vector<TDataStep> aSteps = PlanData(model, TableMatches(aTables), options.bDataOnly,
                                                 PickedTables(plan, selection, std::move(aExcluded)));
        PlaceIdentities(aSteps, positions);
        AddDataFiles(aFiles, std::move(aSteps), names ? &*names : nullptr);
        CheckRowTypes(aFiles);
    }
    // An empty folder would say the database is empty.
    const bool bHasAny = options.bDataOnly ? !model.aTables.empty() : !plan.aSteps.empty();
    if (aFiles.empty() && bHasAny) {
        observer.OnNotice(TJobNotice{eJobNotice::NothingSelected});
        return std::nullopt;
    }
    return aFiles;
}

// Where the identity columns and sequences stand, read with the rows; with bData the sequences start where
// the original's go on.
TDataPositions ReadPositions(CDatabase& db, TCatalogModel& model, const TRecreateExportOptions& options,
                             IJobObserver& observer) {
    if (!WithRows(options))
        return {};
    TDataPositions positions = ReadDataPositions(*db.GetBackend(), model);
    if (!options.bData)
        return positions;
    if (positions.bSequencesUnknown) {
        TJobNotice notice{eJobNotice::SequencesUnknown};
        notice.strReason = positions.strSequencesRefused;
        observer.OnNotice(notice);
    }
    StartSequencesAtPositions(model, positions);
    return positions;
}

// A file the gate kept stopped the run.
eJobEnd Refused(const std::string& strFile, const std::string& strFolder, IJobObserver& observer) {
    TJobNotice notice{eJobNotice::FileExists};
    notice.eOption = eJobOption::ReplaceAll;
    notice.strSubject = strFile;
    notice.strDetail = strFolder;
    observer.OnNotice(notice);
    return eJobEnd::Failed;
}

// Writes the files into the folder, or one after another into the one stream; bStreamBegun once bytes go to
// the program's stream.
eJobEnd WriteFiles(CDatabase& db, const TRecreateExportOptions& options,
                   const std::vector<TRecreateFile>& aFiles, IExportObserver& observer, bool& bStreamBegun) {
    const TDataOptions dataOptions{options.nRowsPerInsert};
    CReplaceGate gate(options.eReplace, observer);
    if (options.strOutput || options.pStream) {
        bStreamBegun = options.pStream != nullptr;
        const std::string strOutput = options.pStream ? std::string() : *options.strOutput;
        const std::optional<std::string> strRefused =
            WriteRecreateStream(options.pStream, strOutput, aFiles, gate, observer,
                                [&](const TDataFile& data, const TRowsSink& sink) {
                                    WriteFileRows(db, data, dataOptions, sink, strOutput, observer);
                                });
        return strRefused ? Refused(*strRefused, OutputFolder(strOutput), observer) : eJobEnd::Done;
    }
    const TFolderWritten written = WriteRecreateFiles(
        options.strDir, aFiles, gate, observer,
        [&] { WriteRows(db, options.strDir, aFiles, dataOptions, observer); }, options.bPrune);
    if (written.strRefused)
        return Refused(*written.strRefused, options.strDir, observer);
    return written.bFailed ? eJobEnd::Failed : eJobEnd::Done;
}

TCatalogModel LoadModel(CDatabase& db, const TRecreateExportOptions& options, bool bParallel,
                        IExportObserver& observer) {
    const ModelLoadProgress progress = [&observer](const std::string& strFamily, size_t nDone,
                                                   size_t nTotal) {
        if (observer.ShouldStop())
            throw CModelError(eModelTask::ReadCatalog, strFamily, "interrupted");
        observer.OnCatalogRead(nDone, nTotal);
    };
    try {
        TCatalogModel model = LoadCatalogModel(db, bParallel ? 3 : 1, progress,
                                               options.bDataOnly ? eModelTablesForRows : eModelWhole);
        observer.OnCatalogDone(true);
        return model;
    } catch (const CModelError&) {
        observer.OnCatalogDone(false);
        throw;
    }
}

// The run once the connection reads as it is to: load, plan, write.
eJobEnd Export(CDatabase& db, const TRecreateExportOptions& options, bool bParallel,
               IExportObserver& observer, bool& bStreamBegun) {
    const CLineFeedScope lineEnds(options.bLineFeeds);
    TCatalogModel model = LoadModel(db, options, bParallel, observer);
    WarnUnrecordedFamilies(db, model, observer);
    if (!WarnUncarried(model, options.bStrict, observer))
        return eJobEnd::Failed;
    const TRecreatePlan plan = PlanRecreate(model);
    if (const std::optional<TJobNotice> damaged = DamagedModelNames(model, plan, db.GetConnect().Str()))
        observer.OnNotice(*damaged);
    if (observer.ShouldStop())
        return eJobEnd::Stopped;
    const TDataPositions positions = ReadPositions(db, model, options, observer);
    std::optional<std::vector<TRecreateFile>> aFiles = PlanFiles(model, plan, options, positions, observer);
    if (!aFiles)
        return eJobEnd::Failed;
    if (options.strCreateDatabase)
        AddDatabaseFile(
            *aFiles, CreateDatabaseScript(*options.strCreateDatabase, ReadDatabaseSettings(*db.GetBackend())),
            options.strNameTemplate.has_value());
    return WriteFiles(db, options, *aFiles, observer, bStreamBegun);
}

} // namespace

std::array<bool, MODEL_KIND_COUNT> EveryModelKind() {
    std::array<bool, MODEL_KIND_COUNT> aKinds;
    aKinds.fill(true);
    return aKinds;
}

TExportResult ExportRecreate(const TConnectDatabase& connect, const TRecreateExportOptions& options,
                             IExportObserver& observer) {
    TExportResult result;
    result.strWrittenTo = options.strOutput.value_or(options.strDir);
    result.eEnd = eJobEnd::Failed;
    // The folder is made only when the run has succeeded, but a path that cannot be one fails before the
    // catalog is read.
    if (!options.strOutput && !options.pStream)
        if (const int nError = FolderObstacle(options.strDir)) {
            observer.OnNotice(FolderNotice(options.strDir, nError));
            return result;
        }
    RemoveDebrisIn(options.strDir, observer);
    CDatabase db;
    if (!connect(db))
        return result;
    bool bParallel = options.bParallel;
    if (WithRows(options)) {
        const std::optional<eMoment> moment = BeginOneMoment(db, options.bConsistent, observer);
        if (!moment)
            return result;
        // Other connections would read other moments.
        bParallel = bParallel && *moment == eMoment::TableByTable;
    }
    observer.OnCancellable();
    bool bStreamBegun = false;
    try {
        result.eEnd = Export(db, options, bParallel, observer, bStreamBegun);
        result.strDatabase = db.GetBackend()->GetDatabaseName();
    } catch (const CModelError& e) {
        result.eEnd = observer.ShouldStop() ? eJobEnd::Stopped : eJobEnd::Failed;
        if (result.eEnd == eJobEnd::Failed)
            observer.OnNotice(NoticeOf(e));
    }
    result.bStreamCut = bStreamBegun && result.eEnd != eJobEnd::Done;
    if (result.eEnd == eJobEnd::Stopped)
        observer.OnStopping();
    return result;
}
