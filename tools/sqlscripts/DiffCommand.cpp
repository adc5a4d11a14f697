#include "DiffCommand.h"

#include "ApplyCommand.h"
#include "ConnectString.h"
#include "Interruption.h"
#include "Messages.h"
#include "RecreateFiles.h"
#include "apply/ScriptPlan.h"
#include "backend/DbBackend.h"
#include "backend/Snapshot.h"
#include "compare/DriftCheck.h"
#include "compare/Migration.h"
#include "compare/ServerDialect.h"
#include "compare/TextDiff.h"
#include "model/ModelLoader.h"
#include "platform/Exceptions.h"
#include "platform/File.h"
#include "recreate/RecreateKinds.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>
#include <regex>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kSame = 0;
constexpr int kDifferent = 1;
constexpr int kTrouble = 2;

// One side of the comparison, as its argument names it.
struct Side {
    enum class Kind { Snapshot, Folder, Server };
    Kind kind;
    std::string argument;
};

Side SideOf(const std::string& argument) {
    std::error_code ec;
    if (fs::is_directory(argument, ec))
        return {Side::Kind::Folder, argument};
    if (fs::is_regular_file(argument, ec))
        return {Side::Kind::Snapshot, argument};
    return {Side::Kind::Server, argument};
}

// A key's value in a connect string; empty when it has none.
std::string ConnectValue(const std::string& connect, const char* key) {
    const std::regex pattern(std::string("(^|;)\\s*") + key + "\\s*=\\s*(\\{[^}]*\\}|[^;]*)",
                             std::regex::icase);
    std::smatch found;
    if (!std::regex_search(connect, found, pattern))
        return std::string();
    std::string value = found[2].str();
    return value.size() >= 2 && value.front() == '{' ? value.substr(1, value.size() - 2) : value;
}

// What the header says a side is, without its password.
std::string Describe(const Side& side) {
    switch (side.kind) {
    case Side::Kind::Snapshot:
        return "catalog snapshot " + side.argument;
    case Side::Kind::Folder:
        return "folder " + side.argument + ", applied to a scratch database";
    case Side::Kind::Server:
        break;
    }
    std::string server = ConnectValue(side.argument, "SERVER");
    if (server.empty())
        server = ConnectValue(side.argument, "DSN");
    const std::string database = ConnectValue(side.argument, "DATABASE");
    return (database.empty() ? "the login's default database" : "database " + database) +
           (server.empty() ? std::string() : " on " + server);
}

Source SourceOf(const Side& side) {
    Source source;
    (side.kind == Side::Kind::Snapshot ? source.snapshot : source.connect) = side.argument;
    return source;
}

// The connect string with its DATABASE= replaced by (or, without one, followed by) the database given.
std::string WithDatabase(const std::string& connect, const std::string& database) {
    const std::regex key("(^|;)\\s*DATABASE\\s*=\\s*(\\{[^}]*\\}|[^;]*)", std::regex::icase);
    std::string rest = std::regex_replace(connect, key, "");
    if (!rest.empty() && rest.back() != ';')
        rest += ';';
    return rest + "DATABASE=" + database;
}

// A folder given as a side, applied to a scratch database of the --shadow server and read like a live one.
// The database is dropped again whatever happens after it was made, Ctrl-C included; its name carries the
// process id, so that one left by a run killed outright tells whose it was.
class ShadowDatabase {
public:
    ShadowDatabase(const std::string& shadow, const SourceConnect& connect, int number)
        : shadow_(shadow), connect_(connect),
          name_("sqlscripts_shadow_" + std::to_string(::getpid()) + "_" + std::to_string(number)) {}
    ShadowDatabase(const ShadowDatabase&) = delete;
    ShadowDatabase& operator=(const ShadowDatabase&) = delete;
    ~ShadowDatabase() {
        if (made_)
            Drop();
    }

    // The folder applied to a new scratch database: kSame when done, else the status after saying why.
    int Apply(const std::string& folder) {
        if (!Run("CREATE DATABASE [" + name_ + "]"))
            return kTrouble;
        made_ = true;
        ApplyOptions options;
        options.path = folder;
        options.existing = Existing::Ok;
        options.quiet = true;
        const int status = RunApply(options, [this](CDatabase& db) { return connect_(db, Scratch()); });
        if (status == kExitOk)
            return kSame;
        if (InterruptionSignal() == 0)
            Say(Format(Tr("%s could not be applied to a scratch database of the --shadow server"),
                       folder.c_str()));
        return status == kExitFailed ? kTrouble : status;
    }

    Source Scratch() const {
        Source source;
        source.connect = WithDatabase(shadow_, name_);
        return source;
    }

private:
    // One statement on a connection to the --shadow server of its own; false after saying why. A server may
    // refuse a CREATE or DROP DATABASE for a moment while another one runs, so it is tried three times.
    bool Run(const std::string& sql) const {
        std::string refusal;
        for (int attempt = 1; attempt <= 3; ++attempt) {
            if (attempt > 1)
                std::this_thread::sleep_for(std::chrono::milliseconds(300 * attempt));
            CDatabase db;
            Source source;
            source.connect = shadow_;
            if (!connect_(db, source))
                return false;
            try {
                db.GetBackend()->Execute(sql, true);
                return true;
            } catch (CException* e) {
                const CExceptionPtr<> guard(e);
                refusal = OneLine(e->GetErrorText().Str());
            }
            if (InterruptionSignal() != 0 && !made_)
                break;
        }
        Say(Format(Tr("the --shadow server refused %s: %s"), sql.c_str(), refusal.c_str()));
        return false;
    }

    void Drop() const {
        const InterruptionCleanup cleanup;
        if (!Run("DROP DATABASE [" + name_ + "]"))
            Say(Format(Tr("warning: the scratch database %s is left on the --shadow server; drop it by hand"),
                       name_.c_str()));
    }

    std::string shadow_;
    const SourceConnect& connect_;
    std::string name_;
    bool made_ = false;
};

// A snapshot recorded by an export without --recreate holds the module's statements, not the model's: false
// after saying how to record one.
bool HoldsModel(CDatabase& db, const Side& side) {
    const CCatalogSnapshot* snapshot = db.GetBackend()->GetSnapshot();
    if (!snapshot || snapshot->Find(ModelStatements(TModelFeatures())[0]->strSql))
        return true;
    Say(Format(Tr("catalog snapshot %s holds no catalog model; record one with sqlscripts export --recreate "
                  "--save-snapshot FILE"),
               side.argument.c_str()));
    return false;
}

struct LoadedSide {
    TCatalogModel model;
    std::optional<TServerDialect> dialect;
    std::optional<TObjectHashes> hashes; // what the script checks the target against
};

// What loading a side came to: its model, or the exit status after what stopped it was said. A catalog that
// cannot be read throws CModelError, which RunDiff says.
struct Loaded {
    std::optional<LoadedSide> side;
    int status = kTrouble;
};

// The side's model and what its server takes.
Loaded Load(const Side& side, const SourceConnect& connect) {
    CDatabase db;
    if (!connect(db, SourceOf(side)) || !HoldsModel(db, side))
        return {};
    LoadedSide loaded{LoadCatalogModel(db), std::nullopt, std::nullopt};
    loaded.dialect = AskServerDialect(db);
    loaded.hashes = ReadObjectHashes(*db.GetBackend());
    return {std::move(loaded), kSame};
}

std::string KindName(const TModelDifference& difference) {
    return std::string(RecreateKind(difference.Object().key.eKind).strName);
}

// A value a line can show: one line, not too long to read; empty ones as "(none)".
bool IsShown(const std::string& value) {
    constexpr size_t kLongest = 60;
    return value.size() <= kLongest && value.find_first_of("\r\n") == std::string::npos;
}

std::string Shown(const std::string& value) {
    return value.empty() ? "(none)" : value;
}

// A refusal: its object as the differences name one, why, and the option that allows it.
nlohmann::ordered_json RefusalJson(const TRefusal& refusal) {
    nlohmann::ordered_json entry;
    entry["kind"] = std::string(RecreateKind(refusal.object.eKind).strName);
    entry["name"] = refusal.strName;
    entry["schema"] = refusal.object.strSchema;
    entry["table"] = refusal.object.strTable;
    entry["object"] = refusal.object.strName;
    entry["reason"] = refusal.strReason;
    if (refusal.eOption == eMigrationOption::None)
        entry["option"] = nullptr;
    else
        entry["option"] = std::string(OptionName(refusal.eOption));
    entry["with option"] = refusal.strWithOption;
    return entry;
}

std::vector<std::string> Lines(const std::vector<TMigrationItem>& items, bool text) {
    std::vector<std::string> lines;
    for (const TMigrationItem& item : items) {
        const TModelDifference& difference = *item.pDifference;
        const std::string object = KindName(difference) + " " + difference.Object().strName;
        if (difference.eChange != eDiffChange::Changed) {
            lines.push_back((difference.eChange == eDiffChange::Added ? "+ "
                             : item.bKept                             ? "- kept: "
                                                                      : "- ") +
                            object);
            continue;
        }
        for (const TPropertyChange& change : difference.aChanges) {
            const bool shown = IsShown(change.strOld) && IsShown(change.strNew);
            lines.push_back("~ " + object + ": " + std::string(change.pProperty->strLabel) +
                            (shown ? " " + Shown(change.strOld) + " -> " + Shown(change.strNew) : std::string()));
            // A text too long for the line shows how it changed under it.
            if (text && !shown && change.pProperty->eId == eProperty::Definition)
                for (const std::string& line : UnifiedDiff(change.strOld, change.strNew))
                    lines.push_back("    " + line);
        }
    }
    return lines;
}

// The differences, and the refusals where there are any.
std::string Json(const std::vector<TMigrationItem>& items, const std::vector<TRefusal>& refusals) {
    nlohmann::ordered_json differences = nlohmann::ordered_json::array();
    for (const TMigrationItem& item : items) {
        const TModelDifference& difference = *item.pDifference;
        const TCompareObject& object = difference.Object();
        nlohmann::ordered_json entry;
        entry["change"] = difference.eChange == eDiffChange::Added     ? "added"
                          : difference.eChange == eDiffChange::Changed ? "changed"
                          : item.bKept                                 ? "kept"
                                                                       : "removed";
        entry["kind"] = KindName(difference);
        entry["name"] = object.strName;
        entry["schema"] = object.key.strSchema;
        entry["table"] = object.key.strTable;
        entry["object"] = object.key.strName;
        if (difference.eChange != eDiffChange::Changed) {
            differences.push_back(entry);
            continue;
        }
        for (const TPropertyChange& change : difference.aChanges) {
            entry["property"] = change.pProperty->strLabel;
            entry["old"] = change.strOld;
            entry["new"] = change.strNew;
            differences.push_back(entry);
        }
    }
    nlohmann::ordered_json json{{"differences", differences}};
    if (!refusals.empty()) {
        nlohmann::ordered_json& refused = json["refusals"] = nlohmann::ordered_json::array();
        for (const TRefusal& refusal : refusals)
            refused.push_back(RefusalJson(refusal));
    }
    return json.dump(2) + "\n";
}

// The text into the file, or onto standard output for "-".
void Emit(const std::string& file, const std::string& text) {
    if (file == "-")
        std::fwrite(text.data(), 1, text.size(), stdout);
    else
        WritingFile(file, [&] { WriteFileReplacing(file.c_str(), text.data(), text.size()); });
}

// When the script was made: SOURCE_DATE_EPOCH where a build or a test fixes it, else now.
std::string MadeAt() {
    std::time_t time = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    if (const char* fixed = std::getenv("SOURCE_DATE_EPOCH"))
        time = static_cast<std::time_t>(std::strtoll(fixed, nullptr, 10));
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", std::gmtime(&time));
    return text;
}

// The model of a side, a folder applied to its scratch database first.
Loaded LoadSide(const Side& side, const DiffOptions& options, const SourceConnect& connect, int number) {
    if (side.kind != Side::Kind::Folder)
        return Load(side, connect);
    ShadowDatabase shadow(options.shadow, connect, number);
    if (const int status = shadow.Apply(side.argument); status != kSame)
        return {std::nullopt, status};
    return Load(Side{Side::Kind::Server, shadow.Scratch().connect}, connect);
}

// A side loading on a thread of its own, what it says held until Said says it: the sides load at once, and
// what they say is said as though one had loaded after the other.
class SideLoading {
public:
    SideLoading(const Side& side, const DiffOptions& options, const SourceConnect& connect, int number)
        : loading_(std::async(std::launch::async, [this, side, &options, &connect, number] {
              const HeldMessages held(lines_);
              return LoadSide(side, options, connect, number);
          })) {}

    // Its lines said, what it came to; what it threw is thrown after them.
    Loaded Said() {
        loading_.wait();
        for (const std::string& line : lines_)
            Say(line);
        return loading_.get();
    }

private:
    std::vector<std::string> lines_;
    std::future<Loaded> loading_;
};

// The migration from one side's model to the other's, written and listed as the options ask: the status.
int Migrate(const DiffOptions& options, const Side& fromSide, const Side& toSide, const LoadedSide& from,
            const LoadedSide& to) {
    TMigrationOptions migration;
    migration.bDrop = options.drop;
    migration.bAllowDataLoss = options.allowDataLoss;
    migration.bAllowRebuild = options.allowRebuild;
    migration.bRestartSequences = options.restartSequences;
    if (!options.noCheck)
        migration.fromHashes = from.hashes;
    migration.dialect = from.dialect.value_or(to.dialect.value_or(TServerDialect()));
    migration.aHeader = {std::string(kMigrationFirstWords.substr(3)) + SQLSCRIPTS_VERSION " at " + MadeAt(),
                         "From: " + Describe(fromSide), "To:   " + Describe(toSide)};
    const CMigration plan(from.model, to.model, migration);
    if (options.json)
        Emit(*options.json, Json(plan.Items(), plan.Refusals()));
    if (options.script && !plan.Refusals().empty()) {
        for (const TRefusal& refusal : plan.Refusals())
            Say(RefusalLine(refusal));
        return kTrouble;
    }
    for (const TRefusal& loss : plan.Warnings())
        Say(Format(Tr("warning: %s"), RefusalLine(loss).c_str()));
    if (options.script)
        Emit(*options.script, plan.Script());
    if (options.script != "-" && options.json != "-")
        for (const std::string& line : Lines(plan.Items(), !options.noText))
            std::printf("%s\n", line.c_str());
    return plan.Items().empty() ? kSame : kDifferent;
}

int Compare(const DiffOptions& options, const SourceConnect& connect) {
    const Side fromSide = SideOf(options.from), toSide = SideOf(options.to);
    for (const Side& side : {fromSide, toSide})
        if (side.kind == Side::Kind::Folder && options.shadow.empty()) {
            Say(Format(Tr("%s is a folder: --shadow names the server to apply it to in a scratch database"),
                       side.argument.c_str()));
            return kTrouble;
        }
    CatchInterruptions();
    // FROM's lines first, and nothing of TO's when FROM failed.
    SideLoading loadingFrom(fromSide, options, connect, 1), loadingTo(toSide, options, connect, 2);
    Loaded from = loadingFrom.Said();
    if (!from.side)
        return from.status;
    Loaded to = loadingTo.Said();
    if (!to.side)
        return to.status;
    const int status = Migrate(options, fromSide, toSide, *from.side, *to.side);
    // The models are let go at once, FROM's on a thread of its own: at 10,000 tables, one after the other
    // took a tenth of the run.
    std::thread letGo([side = std::move(from.side)] {});
    to.side.reset();
    letGo.join();
    return status;
}

} // namespace

int RunDiff(const DiffOptions& options, const SourceConnect& connect) {
    if (options.script && options.json && *options.script == "-" && *options.json == "-") {
        Say(Tr("--script - and --json - both ask for standard output"));
        return kTrouble;
    }
    try {
        return Compare(options, connect);
    } catch (const CModelError& e) {
        if (const int signal = InterruptionSignal()) {
            Say(Tr("interrupted"));
            return 128 + signal;
        }
        Say(ModelErrorLine(e));
        return kTrouble;
    }
}
