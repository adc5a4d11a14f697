// The commands and options of sqlscripts, declared in one place, and the export they ask for. Every option is
// checked before anything is read or written: a wrong one is a usage error that names it.
#pragma once

#include "scripts/ExportJobs.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

enum class Layout { Categories, Objects };
enum class Order { Name, Dependencies };
// BySource: on for a server; for a snapshot, as it was recorded.
enum class Prefetch { BySource, On, Off };
// How the lines the scripts write end: CR LF as the module's, or LF.
enum class LineEnds { CrLf, Lf };

struct Source {
    std::string connect;
    std::string snapshot;
    std::string saveSnapshot;
    std::optional<int> timeout; // seconds for the login and for each statement
    std::string passwordFile;   // whose first line is the password of a connect string that names none
};

struct ExportOptions {
    std::string dir = "scripts";
    std::optional<std::string> only;
    std::optional<std::string> skip;
    std::vector<std::string> files;
    bool collation = false;
    bool parallel = false;
    Prefetch prefetch = Prefetch::BySource;
    std::optional<eReplacePolicy> replace;
    bool dialog = false;
    Layout layout = Layout::Categories;
    std::optional<std::string> nameTemplate;
    bool prune = false;
    Order order = Order::Name;
    bool progress = false;
    bool quiet = false;
    bool recreate = false;
    bool data = false;                   // with --recreate, the tables' rows too
    bool dataOnly = false;               // the rows alone, for a database that has the schema
    std::vector<std::string> dataTables; // SCHEMA.NAME patterns of the tables whose rows; all when empty
    std::vector<std::string> excludedDataTables; // patterns of the tables whose rows are left out
    std::optional<int> rowsPerInsert;            // 100 when not given
    bool consistent = false;                     // rows as of one moment, or no run
    bool strict = false; // with --recreate: what the scripts do not carry stops the run
    // SCHEMA.NAME patterns of what --recreate and --data-only write: schemas and objects to write (all when
    // none) and to leave out.
    std::vector<std::string> schemas;
    std::vector<std::string> excludedSchemas;
    std::vector<std::string> objects;
    std::vector<std::string> excludedObjects;
    std::optional<std::string> output; // one file, "-" for standard output, instead of the folder
    bool clean = false;                // with --recreate, drops first of what the scripts create
    // With --recreate, the database a first file creates and switches to.
    std::optional<std::string> createDatabase;
    std::optional<LineEnds> lineEnds; // with --recreate or --data-only
};

// apply: what to do when the database has an object the scripts create.
enum class Existing { Stop, Ok };

// apply: scripts run against a database.
struct ApplyOptions {
    std::string path;       // a folder with a manifest, a script file, or "-" for standard input
    bool keepGoing = false; // --continue
    bool singleTransaction = false;
    int jobs = 1;
    Existing existing = Existing::Stop;
    bool progress = false;
    bool quiet = false;
    bool verbose = false;
};

// An export as the options ask for it.
struct ExportPlan {
    std::vector<int> categories;
    std::vector<std::string> tables;         // the --data-tables patterns, one each
    std::vector<std::string> excludedTables; // the --exclude-data-tables patterns, one each
    std::array<std::string, SQL_CATEGORY_COUNT> files;
    std::optional<std::string> nameTemplate;    // with --layout objects
    std::array<bool, MODEL_KIND_COUNT> kinds{}; // with --recreate or --data-only
    eReplacePolicy replace = eReplacePolicy::Never;
};

// Throws std::invalid_argument with the usage error.
ExportPlan PlanExport(const ExportOptions& options);

// sqlscripts diff FROM TO: what each is, and what the run writes.
struct DiffOptions {
    std::string from;
    std::string to;
    std::string shadow;                // the server a folder is applied to, in a scratch database
    std::optional<std::string> script; // the migration's file; "-" for standard output
    std::optional<std::string> json;   // the differences for programs; "-" for standard output
    bool drop = false;
    bool allowDataLoss = false;
    bool allowRebuild = false;
    bool restartSequences = false;
    bool noText = false;                // no unified diff of a changed module's text under its line
    bool noCheck = false;               // no check at the script's start that the target is still FROM
    bool strict = false;                // what the scripts do not carry stops the run
    LineEnds lineEnds = LineEnds::CrLf; // the migration's
    std::vector<std::pair<std::string, std::string>> renames; // --rename table|column OLD=NEW
    std::vector<std::string> dataTables; // the --data-tables patterns, one each: whose rows are compared
};

struct CommandLine {
    enum class Command { Export, Object, Fields, Diff, Demo, SnapshotUpgrade, Apply };

    Command command = Command::Demo;
    Source source;
    ExportOptions exportOptions;
    ApplyOptions applyOptions;
    std::string name;                         // object, fields
    std::optional<int> type;                  // object --type
    bool collation = false;                   // object --collation
    bool recreate = false;                    // object --recreate
    bool strict = false;                      // object --recreate --strict
    LineEnds objectLineEnds = LineEnds::CrLf; // object --recreate --line-ends
    std::string demoDir = "sqlscripts-demo";
    std::string snapshotInput;  // snapshot upgrade
    std::string snapshotOutput; // snapshot upgrade
    DiffOptions diff;
};

// Parses the arguments into command; the exit status when the program ends here instead (help, version, a
// usage error, said on stderr).
std::optional<int> ParseCommandLine(int argc, char** argv, CommandLine& command);

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
