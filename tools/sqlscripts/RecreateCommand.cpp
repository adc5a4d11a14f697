#include "RecreateCommand.h"

#include "ConnectString.h"
#include "DataFiles.h"
#include "ExportObserver.h"
#include "ExportOutput.h"
#include "Messages.h"
#include "ObjectName.h"
#include "OneMoment.h"
#include "RecreateFiles.h"
#include "RecreateKinds.h"
#include "model/ModelLoader.h"
#include "recreate/RecreateScript.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <set>
#include <strings.h>

namespace {

// Thrown by the load's progress when Ctrl-C or SIGTERM asks the run to stop.
struct Interrupted {};

struct ScriptedModel {
    TCatalogModel model;
    TRecreateScript script;
};

// The model of the connected database, scripted; nullopt after saying why it could not be read, or when a
// signal stopped the load.
std::optional<ScriptedModel> LoadAndScript(CDatabase& db, bool parallel, const ModelLoadProgress& progress) {
    try {
        TCatalogModel model = LoadCatalogModel(db, parallel ? 3 : 1, progress);
        TRecreateScript script = ScriptCatalogModel(model);
        return ScriptedModel{std::move(model), std::move(script)};
    } catch (const Interrupted&) {
        return std::nullopt;
    } catch (const CModelLoadError& e) {
        // A statement cancelled by Ctrl-C: the run says how it ended instead.
        if (!InterruptionSignal())
            Say(Format(Tr("cannot read the catalog's %s: %s"), e.Family().c_str(),
                       OneLine(e.Reason()).c_str()));
        return std::nullopt;
    }
}

// The cycles among the steps written: one that --only or --skip leaves out is not the user's concern.
void WarnCycles(const TRecreateScript& script, const std::vector<TRecreateStep>& steps) {
    std::set<std::string> written;
    for (const TRecreateStep& step : steps)
        written.insert(step.strSchema + "." + step.strName);
    for (const std::vector<std::string>& cycle : script.aCycles) {
        if (std::none_of(cycle.begin(), cycle.end(),
                         [&](const std::string& name) { return written.count(name); }))
            continue;
        std::string names;
        for (const std::string& name : cycle)
            names += (names.empty() ? "" : ", ") + name;
        Say(Format(Tr("warning: objects that use each other in a cycle, written in their usual order: %s"),
                   names.c_str()));
    }
}

// A pattern that matches no table is a mistake in it, or the wrong database: the run stops, naming them all.
bool EveryPatternMatches(const TCatalogModel& model, const std::vector<TablePattern>& patterns) {
    std::string unmatched;
    size_t count = 0;
    for (const TablePattern& pattern : patterns) {
        const bool matched =
            std::any_of(model.aTables.begin(), model.aTables.end(), [&](const TModelTable& table) {
                return table.nTableTypeId == 0 &&
                       MatchesTablePattern(table.strSchema, table.strName, pattern.match);
            });
        if (!matched && ++count)
            unmatched += (unmatched.empty() ? "" : ", ") + pattern.text;
    }
    if (count > 0)
        Say(Format(TrN("no table matches the --data-tables pattern %s; nothing was written",
                       "no table matches the --data-tables patterns %s; nothing was written", count),
                   unmatched.c_str()));
    return count == 0;
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
        return [this](const std::string&, size_t done, size_t total) {
            if (InterruptionSignal())
                throw Interrupted();
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

bool SameName(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

// Steps that create an object of the schema on their own, not a table's part.
bool IsSchemaObject(const TRecreateStep& step) {
    return step.eKind != ERecreateKind::ExtendedProperties && step.eKind != ERecreateKind::Schema &&
           (step.strParent.empty() || step.eKind == ERecreateKind::Trigger);
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
                          object.eKind == ERecreateKind::Table && step.eKind != ERecreateKind::Trigger;
        const bool properties = step.eKind == ERecreateKind::ExtendedProperties &&
                                step.strSchema == object.strSchema && step.strName == object.strName;
        if (&step == &object || part || properties)
            text += step.strText;
    }
    return text;
}

int PrintFound(const std::vector<TRecreateStep>& steps, const std::vector<const TRecreateStep*>& found,
               const std::string& name) {
    if (found.size() > 1) {
        std::string names;
        for (const TRecreateStep* step : found)
            names += (names.empty() ? "" : ", ") + step->strSchema + "." +
                     (step->strParent.empty() ? "" : step->strParent + ".") + step->strName;
        Say(Format(Tr("%s names several objects (%s); give its schema as SCHEMA.NAME"), name.c_str(),
                   names.c_str()));
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
    CatalogProgress catalogProgress(progressMode);
    std::optional<ScriptedModel> scripted = LoadAndScript(db, parallel, catalogProgress.Callback());
    catalogProgress.Done(scripted.has_value());
    if (const int signal = InterruptionSignal()) {
        CutShortRecordingsBySignal();
        Say(Tr("interrupted; no category was written"));
        return 128 + signal;
    }
    if (!scripted ||
        ((options.data || options.dataOnly) && !EveryPatternMatches(scripted->model, plan.tables)))
        return kExitFailed;
    std::vector<TRecreateStep> steps =
        options.dataOnly ? std::vector<TRecreateStep>() : Selected(std::move(scripted->script.aSteps), kinds);
    WarnCycles(scripted->script, steps);
    std::vector<RecreateFile> files = plan.nameTemplate
                                          ? RecreateObjectFiles(std::move(steps), *plan.nameTemplate)
                                          : RecreateCategoryFiles(std::move(steps));
    if (options.data || options.dataOnly) {
        std::vector<TTablePattern> patterns;
        for (const TablePattern& pattern : plan.tables)
            patterns.push_back(pattern.match);
        AddDataFiles(files, PlanData(scripted->model, patterns, options.dataOnly),
                     plan.nameTemplate ? &*plan.nameTemplate : nullptr);
        if (!CanWriteRows(files))
            return kExitFailed;
    }
    Progress progress(progressMode, RecreateProgressNames(plan.nameTemplate.has_value()));
    ReplaceGate gate(plan.replace, &progress);
    std::string refused;
    const bool written = WriteRecreateFiles(options.dir, files, gate, progress, refused, [&] {
        return WriteRows(db, options.dir, files, TDataOptions{options.rowsPerInsert.value_or(100)}, progress);
    });
    progress.Clear();
    if (const int signal = InterruptionSignal(); !written && signal != 0) {
        CutShortRecordingsBySignal();
        return 128 + signal;
    }
    if (!written) {
        if (!refused.empty())
            SayRefused(refused, options.dir);
        return kExitFailed;
    }
    if (!options.quiet)
        SayWritten(options.dir, db.GetBackend()->GetDatabaseName());
    return kExitOk;
}

int PrintRecreateObject(const std::string& name, const RecreateConnect& connect) {
    CDatabase db;
    if (!connect(db))
        return kExitFailed;
    const std::optional<ScriptedModel> scripted = LoadAndScript(db, false, {});
    if (!scripted)
        return kExitFailed;
    const ObjectName wanted = ParseObjectName(name);
    const std::vector<TRecreateStep>& steps = scripted->script.aSteps;
    std::vector<const TRecreateStep*> found = PreferDbo(Matching(steps, wanted, &IsSchemaObject));
    if (found.empty())
        found = Matching(steps, wanted, [](const TRecreateStep& step) {
            return !step.strParent.empty() && step.eKind != ERecreateKind::ExtendedProperties;
        });
    if (found.empty() && wanted.schema.empty())
        found = Matching(steps, wanted,
                         [](const TRecreateStep& step) { return step.eKind == ERecreateKind::Schema; });
    if (found.empty()) {
        Say(Format(Tr("no object %s in the catalog"), name.c_str()));
        return kExitFailed;
    }
    return PrintFound(steps, found, name);
}
