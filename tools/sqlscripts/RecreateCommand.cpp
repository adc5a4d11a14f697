#include "RecreateCommand.h"

#include "ConnectString.h"
#include "DamagedNames.h"
#include "DataFiles.h"
#include "ExportObserver.h"
#include "ExportOutput.h"
#include "KindSelection.h"
#include "Messages.h"
#include "ObjectName.h"
#include "OneMoment.h"
#include "RecreateFiles.h"
#include "SecurityWarnings.h"
#include "backend/Snapshot.h"
#include "model/ModelLoader.h"
#include "platform/Text.h"
#include "recreate/CreatedName.h"
#include "recreate/DataPositions.h"
#include "recreate/DatabaseDdl.h"
#include "recreate/RecreateScript.h"
#include "recreate/RecreateSelection.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <set>
#include <strings.h>

namespace {

struct ScriptedModel {
    TCatalogModel model;
    TRecreateScript script;
};

// A snapshot recorded by an earlier sqlscripts holds no statement of the families added since: each is said
// once, as the load read it as empty.
void WarnUnrecordedFamilies(CDatabase& db, const TCatalogModel& model) {
    for (const std::string& family : model.aUnrecordedFamilies)
        Say(Format(Tr("warning: catalog snapshot %s holds no %s (recorded by an earlier sqlscripts): read as "
                      "empty"),
                   db.GetBackend()->GetSnapshot()->GetPath().c_str(), family.c_str()));
}

// The model of the connected database, scripted. Throws CModelError when a family cannot be read, or when a
// signal stopped the load.
ScriptedModel LoadAndScript(CDatabase& db, bool parallel, const ModelLoadProgress& progress) {
    TCatalogModel model = LoadCatalogModel(db, parallel ? 3 : 1, progress);
    WarnUnrecordedFamilies(db, model);
    TRecreateScript script = ScriptCatalogModel(model);
    return ScriptedModel{std::move(model), std::move(script)};
}

// The cycles among the steps written: one that --only or --skip leaves out is not the user's concern.
void WarnCycles(const TRecreateScript& script) {
    std::set<std::string> written;
    for (const TRecreateStep& step : script.aSteps)
        written.insert(step.strSchema + "." + step.strName);
    for (const std::vector<std::string>& cycle : script.aCycles)
        if (std::any_of(cycle.begin(), cycle.end(),
                        [&](const std::string& name) { return written.count(name); }))
            Say(Format(
                Tr("warning: objects that use each other in a cycle, written in their usual order: %s"),
                JoinText(cycle).c_str()));
}

// A pattern that matches no table is a mistake in it, or the wrong database: the run stops, naming them all.
bool EveryTablePatternMatches(const TCatalogModel& model, const std::vector<TablePattern>& patterns) {
    std::vector<std::string> unmatched;
    for (const TablePattern& pattern : patterns)
        if (std::none_of(model.aTables.begin(), model.aTables.end(), [&](const TModelTable& table) {
                return MatchesTablePattern(table.strSchema, table.strName, pattern.match);
            }))
            unmatched.push_back(pattern.text);
    if (!unmatched.empty())
        Say(Format(TrN("no table matches the --data-tables pattern %s; nothing was written",
                       "no table matches the --data-tables patterns %s; nothing was written",
                       unmatched.size()),
                   JoinText(unmatched).c_str()));
    return unmatched.empty();
}

TNamePatterns NamePatterns(const ExportOptions& options) {
    return {options.schemas, options.excludedSchemas, options.objects, options.excludedObjects};
}

// A pattern that matches nothing is a mistake in it, or the wrong database: each is named, and nothing is
// written.
bool EveryPatternMatches(const TStepSelection& selection) {
    for (const TUnmatchedPattern& unmatched : selection.aUnmatched) {
        static constexpr const char* kOptions[] = {"--schema", "--exclude-schema", "--object",
                                                   "--exclude-object"};
        const char* option = kOptions[static_cast<size_t>(unmatched.eList)];
        const bool schema = unmatched.eList == eNamePatternList::Schemas ||
                            unmatched.eList == eNamePatternList::ExcludedSchemas;
        Say(Format(schema ? Tr("%s %s matches no schema of the catalog; nothing was written")
                          : Tr("%s %s matches no object of the catalog; nothing was written"),
                   option, unmatched.strPattern.c_str()));
    }
    return selection.aUnmatched.empty();
}

// "table dbo.Orders", "index dbo.Orders.IX_Date", "schema sales". The kinds' words are translated in the po
// files by hand, as the kinds table, being the library's, marks nothing.
std::string StepName(const TPlanStep& step) {
    const TModelKey& key = step.key;
    std::string name = Tr(std::string(RecreateKind(key.eKind).strName).c_str());
    name += " ";
    if (!key.strSchema.empty())
        name += key.strSchema + ".";
    if (!key.strTable.empty() && !RecreateKind(key.eKind).bSchemaObject)
        name += key.strTable + ".";
    return name + key.strName;
}

void WarnLeftOut(const TRecreatePlan& plan, const TStepSelection& selection) {
    if (selection.aLeftOut.empty())
        return;
    std::vector<std::string> names;
    for (const size_t step : selection.aLeftOut)
        names.push_back(StepName(plan.aSteps[step]));
    Say(Format(Tr("warning: the objects written need what the selection leaves out: %s"),
               JoinText(names).c_str()));
}

// A module renamed with sp_rename: its script creates the old name.
void WarnRenamed(const TRecreatePlan& plan, const std::vector<bool>& selected, const CNameMatcher& matcher) {
    for (size_t step = 0; step < plan.aSteps.size(); ++step) {
        const TModelModule* const* module = std::get_if<const TModelModule*>(&plan.aSteps[step].object);
        if (!module || !selected[step])
            continue;
        const std::optional<TCreatedName> created = CreatedOtherName(**module, matcher);
        if (created)
            Say(Format(
                Tr("warning: %s was renamed: its stored text, and so its script, creates %s"),
                StepName(plan.aSteps[step]).c_str(),
                ((created->strSchema.empty() ? "" : created->strSchema + ".") + created->strName).c_str()));
    }
}

// The tables whose steps the patterns pick: those whose rows are written.
std::function<bool(const TModelTable&)> PickedTables(const TRecreatePlan& plan,
                                                     const TStepSelection& selection) {
    std::set<const TModelTable*> picked;
    for (size_t step = 0; step < plan.aSteps.size(); ++step)
        if (selection.aPicked[step] && plan.aSteps[step].key.eKind == eModelKind::Table)
            picked.insert(std::get<const TModelTable*>(plan.aSteps[step].object));
    return [picked = std::move(picked)](const TModelTable& table) { return picked.count(&table) > 0; };
}

// The catalog's families as one line of the progress, read n of total; a signal stops the load.
class CatalogProgress {
public:
    explicit CatalogProgress(Progress::Mode mode) : mode_(mode), progress_(mode, {"catalog"}) {}

    ModelLoadProgress Callback() {
        return [this](const std::string& family, size_t done, size_t total) {
            if (InterruptionSignal())
                throw CModelError(eModelTask::ReadCatalog, family, "interrupted");
            if (done == 1) {
                progress_.Started(0);
                progress_.ListRead(0, static_cast<long>(total));
            }
            progress_.ObjectDone(0);
            total_ = total;
        };
    }

    // read: the whole catalog was read, which is then said.
    void Done(bool read) {
        progress_.Clear();
        if (read && mode_ == Progress::Mode::Lines)
            Say(Format(TrN("catalog read, %zu statement", "catalog read, %zu statements", total_), total_));
    }

private:
    Progress::Mode mode_;
    Progress progress_;
    size_t total_ = 0;
};

// Runs a command of the model: a failure is said in one line, an interruption as the end of the run says it.
int RunningModel(const std::function<int()>& command) {
    try {
        return command();
    } catch (const CModelError& e) {
        RunEnd end;
        end.signal = InterruptionSignal();
        if (end.signal)
            return ConcludeRun(end);
        Say(ModelErrorLine(e));
        return kExitFailed;
    }
}

bool SameName(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

// Steps that create an object of the schema on their own, not a table's part.
bool IsSchemaObject(const TRecreateStep& step) {
    return RecreateKind(step.eKind).bSchemaObject;
}

// The steps whose name matches: exactly first, then without regard to case; one schema given or found.
std::vector<const TRecreateStep*> Matching(const std::vector<TRecreateStep>& steps, const ObjectName& wanted,
                                           bool (*accept)(const TRecreateStep&)) {
    for (const bool exact : {true, false}) {
        std::vector<const TRecreateStep*> found;
        for (const TRecreateStep& step : steps) {
            const auto same = [&](const std::string& a, const std::string& b) {
                return exact ? a == b : SameName(a, b);
            };
            if (accept(step) && same(step.strName, wanted.name) &&
                (wanted.schema.empty() || same(step.strSchema, wanted.schema)))
                found.push_back(&step);
        }
        if (!found.empty())
            return found;
    }
    return {};
}

// Without a schema, dbo's object is meant when several schemas have one of that name.
std::vector<const TRecreateStep*> PreferDbo(std::vector<const TRecreateStep*> found) {
    if (found.size() < 2)
        return found;
    std::vector<const TRecreateStep*> dbo;
    for (const TRecreateStep* step : found)
        if (step->strSchema == "dbo")
            dbo.push_back(step);
    return dbo.size() == 1 ? dbo : found;
}

bool IsPrincipal(const TRecreateStep& step) {
    return step.eKind == eModelKind::User || step.eKind == eModelKind::Role ||
           step.eKind == eModelKind::ApplicationRole;
}

std::string ObjectScript(const std::vector<TRecreateStep>& steps, const TRecreateStep& object) {
    std::string text;
    for (const TRecreateStep& step : steps) {
        const bool part = step.strSchema == object.strSchema && step.strParent == object.strName &&
                          object.eKind == eModelKind::Table && !IsSchemaObject(step);
        const bool properties = step.eKind == eModelKind::Property && step.strSchema == object.strSchema &&
                                step.strName == object.strName;
        // A principal's roles and, for a role, its members.
        const bool membership = IsPrincipal(object) && step.eKind == eModelKind::RoleMember &&
                                (step.strParent == object.strName || step.strName == object.strName);
        if (&step == &object || part || properties || membership)
            text += step.strText;
    }
    return text;
}

int PrintFound(const std::vector<TRecreateStep>& steps, const std::vector<const TRecreateStep*>& found,
               const std::string& name) {
    if (found.size() > 1) {
        std::vector<std::string> names;
        for (const TRecreateStep* step : found)
            names.push_back(step->strSchema + "." + (step->strParent.empty() ? "" : step->strParent + ".") +
                            step->strName);
        Say(Format(Tr("%s names several objects (%s); give its schema as SCHEMA.NAME"), name.c_str(),
                   JoinText(names).c_str()));
        return kExitFailed;
    }
    const std::string text = ObjectScript(steps, *found.front());
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitOk;
}

// The files of the run in apply order: the picked steps' scripts, after the drops of --clean, and the tables'
// rows; none when a pattern matches nothing (said).
std::optional<std::vector<RecreateFile>> PlanFiles(const TCatalogModel& model, const ExportOptions& options,
                                                   const ExportPlan& plan, const RecreateKindSet& kinds,
                                                   const TDataPositions& positions) {
    const TRecreatePlan recreatePlan = PlanRecreate(model);
    const CNameMatcher matcher(IsCaseSensitiveCollation(model.strCollation));
    const TStepSelection selection = SelectSteps(recreatePlan, kinds, NamePatterns(options), matcher);
    if (!EveryPatternMatches(selection) ||
        ((options.data || options.dataOnly) && !EveryTablePatternMatches(model, plan.tables)))
        return std::nullopt;
    TRecreateScript script;
    if (!options.dataOnly) {
        WarnLeftOut(recreatePlan, selection);
        WarnRenamed(recreatePlan, selection.aSelected, matcher);
        WarnSecurity(model, recreatePlan, selection.aSelected);
        script = ScriptSelectedSteps(model, recreatePlan, selection.aSelected, options.clean);
        WarnCycles(script);
    }
    std::vector<RecreateFile> files = plan.nameTemplate
                                          ? RecreateObjectFiles(std::move(script.aSteps), *plan.nameTemplate)
                                          : RecreateSectionFiles(std::move(script.aSteps));
    if (options.data || options.dataOnly) {
        std::vector<TTablePattern> patterns;
        for (const TablePattern& pattern : plan.tables)
            patterns.push_back(pattern.match);
        std::vector<TDataStep> steps =
            PlanData(model, patterns, options.dataOnly, PickedTables(recreatePlan, selection));
        PlaceIdentities(steps, positions);
        AddDataFiles(files, std::move(steps), plan.nameTemplate ? &*plan.nameTemplate : nullptr);
        CheckRowTypes(files);
    }
    return files;
}

// Where the identity columns and sequences stand, read with the rows; with --data the sequences start where
// the original's go on.
TDataPositions ReadPositions(CDatabase& db, TCatalogModel& model, const ExportOptions& options) {
    if (!options.data && !options.dataOnly)
        return {};
    TDataPositions positions = ReadDataPositions(*db.GetBackend(), model);
    if (!options.data)
        return positions;
    if (positions.bSequencesUnknown && positions.strSequencesRefused.empty())
        Say(Tr(
            "warning: the server does not say where its sequences stand (it has no sys.sequences): they are "
            "written with their declared start"));
    else if (positions.bSequencesUnknown)
        Say(Format(Tr("warning: where the sequences stand cannot be read (%s): they are written with their "
                      "declared start"),
                   OneLine(positions.strSequencesRefused).c_str()));
    StartSequencesAtPositions(model, positions);
    return positions;
}

// Writes the files into the folder, or one after another into --output's stream.
void WriteFiles(CDatabase& db, const ExportOptions& options, const ExportPlan& plan,
                const std::vector<RecreateFile>& files, Progress& progress, RunEnd& end) {
    const TDataOptions dataOptions{options.rowsPerInsert.value_or(100)};
    ReplaceGate gate(plan.replace, &progress);
    if (options.output) {
        end.refused = WriteRecreateStream(*options.output, files, gate, progress,
                                          [&](const DataFile& data, const RowsSink& sink) {
                                              WriteFileRows(db, data, dataOptions, sink, *options.output);
                                          });
        if (end.refused)
            end.dir = OutputFolder(*options.output);
        return;
    }
    const FolderWritten written = WriteRecreateFiles(
        options.dir, files, gate, progress, [&] { WriteRows(db, options.dir, files, dataOptions, progress); },
        options.prune);
    end.refused = written.refused;
    end.failed = written.failed;
}

} // namespace

int ExportRecreate(const ExportOptions& options, Progress::Mode progressMode,
                   const RecreateConnect& connect) {
    const ExportPlan plan = PlanExport(options);
    const RecreateKindSet kinds = SelectedRecreateKinds(options.only, options.skip);
    // The folder is made only when the run has succeeded, but a path that cannot be one fails before the
    // catalog is read.
    if (!options.output && !CanCreateFolder(options.dir))
        return kExitFailed;
    RemoveDebrisIn(options.dir);
    CDatabase db;
    if (!connect(db))
        return kExitFailed;
    bool parallel = options.parallel;
    if (options.data || options.dataOnly) {
        const std::optional<Moment> moment = BeginOneMoment(db, options.consistent);
        if (!moment)
            return kExitFailed;
        // Other connections would read other moments.
        parallel = parallel && *moment == Moment::TableByTable;
    }
    CatchInterruptions();
    return RunningModel([&] {
        CatalogProgress catalogProgress(progressMode);
        TCatalogModel model = [&] {
            try {
                return LoadCatalogModel(db, parallel ? 3 : 1, catalogProgress.Callback(),
                                        options.dataOnly ? eModelTablesForRows : eModelWhole);
            } catch (const CModelError&) {
                catalogProgress.Done(false);
                throw;
            }
        }();
        catalogProgress.Done(true);
        WarnUnrecordedFamilies(db, model);
        if (const std::string damaged = DamagedModelNames(model, db.GetConnect().Str()); !damaged.empty())
            Say(damaged);
        RunEnd end;
        end.dir = options.output.value_or(options.dir);
        end.database = db.GetBackend()->GetDatabaseName();
        end.quiet = options.quiet || options.output == "-";
        end.signal = InterruptionSignal();
        if (end.signal)
            return ConcludeRun(end);
        const TDataPositions positions = ReadPositions(db, model, options);
        std::optional<std::vector<RecreateFile>> files = PlanFiles(model, options, plan, kinds, positions);
        if (!files)
            return kExitFailed;
        if (options.createDatabase)
            AddDatabaseFile(
                *files, CreateDatabaseScript(*options.createDatabase, ReadDatabaseSettings(*db.GetBackend())),
                plan.nameTemplate.has_value());
        Progress progress(progressMode, RecreateProgressNames(plan.nameTemplate.has_value()));
        WriteFiles(db, options, plan, *files, progress, end);
        progress.Clear();
        return ConcludeRun(end);
    });
}

int PrintRecreateObject(const std::string& name, const RecreateConnect& connect) {
    CDatabase db;
    if (!connect(db))
        return kExitFailed;
    return RunningModel([&] {
        const ScriptedModel scripted = LoadAndScript(db, false, {});
        const ObjectName wanted = ParseObjectName(name);
        const std::vector<TRecreateStep>& steps = scripted.script.aSteps;
        std::vector<const TRecreateStep*> found = PreferDbo(Matching(steps, wanted, &IsSchemaObject));
        if (found.empty())
            found = Matching(steps, wanted, [](const TRecreateStep& step) {
                return !step.strParent.empty() && step.eKind != eModelKind::Property &&
                       RecreateKind(step.eKind).strWord != "security";
            });
        if (found.empty() && wanted.schema.empty())
            found = Matching(steps, wanted,
                             [](const TRecreateStep& step) { return step.eKind == eModelKind::Schema; });
        if (found.empty() && wanted.schema.empty())
            found = Matching(steps, wanted, &IsPrincipal);
        if (found.empty()) {
            Say(Format(Tr("no object %s in the catalog"), name.c_str()));
            return kExitFailed;
        }
        return PrintFound(steps, found, name);
    });
}
