#include "RecreateCommand.h"

#include "ConnectString.h"
#include "DataFiles.h"
#include "ExportObserver.h"
#include "ExportOutput.h"
#include "KindSelection.h"
#include "Messages.h"
#include "ObjectName.h"
#include "OneMoment.h"
#include "RecreateFiles.h"
#include "model/ModelLoader.h"
#include "platform/Text.h"
#include "recreate/RecreateScript.h"

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

// The model of the connected database, scripted. Throws CModelError when a family cannot be read, or when a
// signal stopped the load.
ScriptedModel LoadAndScript(CDatabase& db, bool parallel, const ModelLoadProgress& progress,
                            EModelScope scope = eModelWhole) {
    TCatalogModel model = LoadCatalogModel(db, parallel ? 3 : 1, progress, scope);
    TRecreateScript script = ScriptCatalogModel(model);
    return ScriptedModel{std::move(model), std::move(script)};
}

// The cycles among the steps written: one that --only or --skip leaves out is not the user's concern.
void WarnCycles(const TRecreateScript& script, const std::vector<TRecreateStep>& steps) {
    std::set<std::string> written;
    for (const TRecreateStep& step : steps)
        written.insert(step.strSchema + "." + step.strName);
    for (const std::vector<std::string>& cycle : script.aCycles)
        if (std::any_of(cycle.begin(), cycle.end(),
                        [&](const std::string& name) { return written.count(name); }))
            Say(Format(
                Tr("warning: objects that use each other in a cycle, written in their usual order: %s"),
                JoinText(cycle).c_str()));
}

// A pattern that matches no table is a mistake in it, or the wrong database: the run stops, naming them all.
bool EveryPatternMatches(const TCatalogModel& model, const std::vector<TablePattern>& patterns) {
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

std::vector<TRecreateStep> Selected(std::vector<TRecreateStep> steps, const RecreateKindSet& kinds) {
    std::erase_if(steps, [&](const TRecreateStep& step) { return !kinds[static_cast<size_t>(step.eKind)]; });
    return steps;
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

std::string ObjectScript(const std::vector<TRecreateStep>& steps, const TRecreateStep& object) {
    std::string text;
    for (const TRecreateStep& step : steps) {
        const bool part = step.strSchema == object.strSchema && step.strParent == object.strName &&
                          object.eKind == eModelKind::Table && !IsSchemaObject(step);
        const bool properties = step.eKind == eModelKind::Property && step.strSchema == object.strSchema &&
                                step.strName == object.strName;
        if (&step == &object || part || properties)
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

} // namespace

int ExportRecreate(const ExportOptions& options, Progress::Mode progressMode,
                   const RecreateConnect& connect) {
    const ExportPlan plan = PlanExport(options);
    const RecreateKindSet kinds = SelectedRecreateKinds(options.only, options.skip);
    // The folder is made only when the run has succeeded, but a path that cannot be one fails before the
    // catalog is read.
    if (!CanCreateFolder(options.dir))
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
        ScriptedModel scripted = [&] {
            try {
                return LoadAndScript(db, parallel, catalogProgress.Callback(),
                                     options.dataOnly ? eModelTablesForRows : eModelWhole);
            } catch (const CModelError&) {
                catalogProgress.Done(false);
                throw;
            }
        }();
        catalogProgress.Done(true);
        RunEnd end;
        end.dir = options.dir;
        end.database = db.GetBackend()->GetDatabaseName();
        end.quiet = options.quiet;
        end.signal = InterruptionSignal();
        if (end.signal)
            return ConcludeRun(end);
        if ((options.data || options.dataOnly) && !EveryPatternMatches(scripted.model, plan.tables))
            return kExitFailed;
        std::vector<TRecreateStep> steps = options.dataOnly
                                               ? std::vector<TRecreateStep>()
                                               : Selected(std::move(scripted.script.aSteps), kinds);
        WarnCycles(scripted.script, steps);
        std::vector<RecreateFile> files = plan.nameTemplate
                                              ? RecreateObjectFiles(std::move(steps), *plan.nameTemplate)
                                              : RecreateSectionFiles(std::move(steps));
        if (options.data || options.dataOnly) {
            std::vector<TTablePattern> patterns;
            for (const TablePattern& pattern : plan.tables)
                patterns.push_back(pattern.match);
            AddDataFiles(files, PlanData(scripted.model, patterns, options.dataOnly),
                         plan.nameTemplate ? &*plan.nameTemplate : nullptr);
            CheckRowTypes(files);
        }
        Progress progress(progressMode, RecreateProgressNames(plan.nameTemplate.has_value()));
        ReplaceGate gate(plan.replace, &progress);
        end.refused = WriteRecreateFiles(options.dir, files, gate, progress, [&] {
            WriteRows(db, options.dir, files, TDataOptions{options.rowsPerInsert.value_or(100)}, progress);
        });
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
                return !step.strParent.empty() && step.eKind != eModelKind::Property;
            });
        if (found.empty() && wanted.schema.empty())
            found = Matching(steps, wanted,
                             [](const TRecreateStep& step) { return step.eKind == eModelKind::Schema; });
        if (found.empty()) {
            Say(Format(Tr("no object %s in the catalog"), name.c_str()));
            return kExitFailed;
        }
        return PrintFound(steps, found, name);
    });
}
