#include "Options.h"

#include "Categories.h"
#include "CliReference.h"
#include "KindSelection.h"
#include "Messages.h"
#include "ObjectName.h"
#include "export/CategoryTable.h"
#include "platform/Text.h"
#include "platform/Unicode.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>
#include <stdexcept>
#include <unistd.h>

namespace {

const std::string kCategoryList = JoinCategoryNames(AllCategories());

[[noreturn]] void Usage(const std::string& message) {
    throw std::invalid_argument(message);
}

// The categories a --only or --skip list names; a list that names none is a mistake.
std::vector<int> ListedCategories(const char* option, const std::string& list) {
    std::vector<int> categories;
    try {
        categories = ParseCategoryList(list);
    } catch (const std::invalid_argument& e) {
        Usage(Format(Tr("%s: unknown category '%s' (categories: %s)"), option, e.what(),
                     kCategoryList.c_str()));
    }
    if (categories.empty())
        Usage(Format(Tr("%s names no category (categories: %s)"), option, kCategoryList.c_str()));
    return categories;
}

std::vector<int> EnabledCategories(const ExportOptions& options) {
    std::vector<int> categories = options.only ? ListedCategories("--only", *options.only) : AllCategories();
    if (options.skip)
        for (const int category : ListedCategories("--skip", *options.skip))
            std::erase(categories, category);
    if (categories.empty())
        Usage(Tr("--only and --skip leave no category to write"));
    return categories;
}

CategoryFileNames FileNames(const ExportOptions& options) {
    CategoryFileNames files;
    for (size_t category = 0; category < files.size(); ++category)
        files[category] = g_aCategories[category].pszDefaultFile;
    for (const std::string& file : options.files) {
        const size_t equals = file.find('=');
        const std::optional<int> category =
            equals == std::string::npos ? std::nullopt : FindCategory(file.substr(0, equals));
        if (!category || equals + 1 == file.size())
            Usage(Format(Tr("--file wants CATEGORY=NAME, got '%s'"), file.c_str()));
        const std::string name = file.substr(equals + 1);
        if (!IsFileInsideFolder(name))
            Usage(Format(Tr("--file %s: the file must be inside --dir"), file.c_str()));
        files[static_cast<size_t>(*category)] = name;
    }
    return files;
}

std::vector<TablePattern> TablePatterns(const std::vector<std::string>& values) {
    std::vector<TablePattern> patterns;
    for (const std::string& value : values)
        for (const std::string& item : SplitNameList(value)) {
            const ObjectName name = ParseObjectName(item);
            if (name.name.empty())
                Usage(Format(
                    Tr("--data-tables '%s': each pattern names a table, as SCHEMA.NAME or NAME with * for "
                       "any characters, the patterns separated by commas"),
                    value.c_str()));
            patterns.push_back({item, {name.schema, name.name}});
        }
    return patterns;
}

// Two categories writing one file (or, a file per object, one folder) would overwrite each other's.
void CheckDistinct(const ExportPlan& plan, Layout layout) {
    std::map<std::string, int> taken;
    for (const int category : plan.categories) {
        std::string file = plan.files[static_cast<size_t>(category)];
        if (layout == Layout::Objects && category != eSqlFullText)
            file = CategoryFolder(file) + "/";
        const auto [it, added] = taken.emplace(FoldCaseUtf8(file), category);
        if (!added)
            Usage(Format(Tr("--file: %s and %s would both write %s"), CategoryName(it->second).c_str(),
                         CategoryName(category).c_str(), file.c_str()));
    }
}

// A whole number from min to max; any other value is named with what is expected.
CLI::Validator WholeNumber(int min, int max) {
    return CLI::Validator(
        [min, max](std::string& value) {
            int number = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
            if (error == std::errc() && end == value.data() + value.size() && number >= min && number <= max)
                return std::string();
            return Format(Tr("'%s' is not a whole number from %d to %d"), value.c_str(), min, max);
        },
        "");
}

// A value that looks like an option (--data-tables --dir out) is one: the option before it lacks its value.
CLI::Validator NotAnOption() {
    return CLI::Validator(
        [](std::string& value) {
            return value.starts_with("-")
                       ? Format(Tr("it is followed by the option %s instead of its value"), value.c_str())
                       : std::string();
        },
        "");
}

// An option whose words stand for the values of an enumeration: they are mapped in one place, and any other
// word is a usage error that lists them.
// The type name and the mapping's "{a,b}" are what the man page and the completions read.
template <class T>
CLI::Option* AddChoice(CLI::App& command, const std::string& name, std::function<void(const T&)> set,
                       const std::vector<std::pair<std::string, T>>& choices, const std::string& help,
                       const std::string& typeName = "TEXT") {
    std::vector<std::string> choiceWords;
    for (const auto& [word, value] : choices)
        choiceWords.push_back(word);
    const std::string words = JoinText(choiceWords, "|");
    const std::string listed = JoinText(choiceWords, ",");
    const CLI::Validator mapping(
        [choices, words](std::string& value) {
            const auto it = std::find_if(choices.begin(), choices.end(),
                                         [&value](const auto& choice) { return choice.first == value; });
            if (it == choices.end())
                return Format(Tr("'%s' is not one of %s"), value.c_str(), words.c_str());
            value = std::to_string(static_cast<int>(it->second));
            return std::string();
        },
        "{" + listed + "}");
    return command.add_option_function<T>(name, std::move(set), help)
        ->transform(mapping)
        ->type_name(typeName)
        ->option_text(typeName == "TEXT" ? words : typeName);
}

CLI::Option* AddTimeout(CLI::App& command, Source& source) {
    return command
        .add_option_function<int>(
            "--timeout", [&source](const int& seconds) { source.timeout = seconds; },
            "seconds the login may take (default 30) and each statement may wait for the server (default: "
            "no limit), 1 to 86400")
        ->type_name("SECONDS")
        ->check(WholeNumber(1, 86400));
}

void AddSourceOptions(CLI::App& command, Source& source, bool withSave) {
    auto* group = command.add_option_group("source", "where the catalog comes from");
    group->add_option("--connect", source.connect, "ODBC connect string of the SQL Server database")
        ->type_name("STR");
    CLI::Option* snapshot =
        group->add_option("--snapshot", source.snapshot, "catalog snapshot file to read instead of a server")
            ->type_name("FILE");
    group->require_option(1);
    if (withSave)
        command
            .add_option("--save-snapshot", source.saveSnapshot,
                        "also record every catalog statement and its answer into this snapshot file")
            ->type_name("FILE")
            ->excludes(snapshot);
    AddTimeout(command, source)->excludes(snapshot);
}

void AddExportOptions(CLI::App& command, ExportOptions& options) {
    command.add_option("--dir", options.dir, "output folder, created when missing")
        ->type_name("DIR")
        ->capture_default_str();
    command
        .add_option_function<std::string>(
            "--only", [&options](const std::string& list) { options.only = list; },
            "write only these comma-separated categories: " + kCategoryList)
        ->type_name("LIST");
    command
        .add_option_function<std::string>(
            "--skip", [&options](const std::string& list) { options.skip = list; },
            "leave out these categories")
        ->type_name("LIST");
    command.add_option("--file", options.files, "file name of a category, as CATEGORY=NAME (repeatable)")
        ->type_name("CATEGORY=NAME");
    command.add_flag("--collation", options.collation, "keep COLLATE clauses in table scripts");
    command.add_flag("--parallel", options.parallel, "work on up to three categories at a time");
    CLI::Option* prefetch = command.add_flag_callback(
        "--prefetch", [&options] { options.prefetch = Prefetch::On; },
        "read each kind of catalog detail in one statement first instead of one statement per object: the "
        "same files, far fewer round trips (the default with --connect; a snapshot replays with the "
        "statements it holds)");
    command
        .add_flag_callback(
            "--no-prefetch", [&options] { options.prefetch = Prefetch::Off; },
            "send the module's own statements, one per object and detail")
        ->excludes(prefetch);
    AddChoice<ReplacePolicy>(
        command, "--replace", [&options](const ReplacePolicy& policy) { options.replace = policy; },
        {{"ask", ReplacePolicy::Ask}, {"all", ReplacePolicy::All}, {"never", ReplacePolicy::Never}},
        "existing files: ask (default on a terminal), all (overwrite), never (default otherwise: stop at the "
        "first existing file)");
    command
        .add_flag("--dialog", options.dialog,
                  "choose categories, file names, folder and COLLATION in the options window (--dir proposes "
                  "the folder); replace questions and messages appear as windows")
        ->excludes("--only", "--skip", "--file", "--collation", "--replace");
    AddChoice<Layout>(
        command, "--layout", [&options](const Layout& layout) { options.layout = layout; },
        {{"categories", Layout::Categories}, {"objects", Layout::Objects}},
        "categories: a file per category (default); objects: a file per object, by default "
        "DIR/<category file without .sql>/<schema>.<name>.sql (full text stays one file)")
        ->excludes("--dialog");
    command
        .add_option_function<std::string>(
            "--name-template", [&options](const std::string& text) { options.nameTemplate = text; },
            std::string("with --layout objects: the object file's path in DIR, from {category}, {schema} and "
                        "{name} (default ") +
                kDefaultNameTemplate + ")")
        ->type_name("TEMPLATE")
        ->excludes("--dialog");
    command
        .add_flag("--prune", options.prune,
                  "with --layout objects or --recreate: remove the files an earlier export into DIR wrote "
                  "that this one does not, for objects that no longer exist (they are only listed otherwise)")
        ->excludes("--dialog");
    AddChoice<Order>(
        command, "--order", [&options](const Order& order) { options.order = order; },
        {{"name", Order::Name}, {"dependencies", Order::Dependencies}},
        "name: objects in name order (default); dependencies: views, triggers, procedures and functions each "
        "after those of their category that they use")
        ->excludes("--dialog");
    CLI::Option* progress =
        command
            .add_flag(
                "--progress", options.progress,
                "a plain line per finished category, for logs, instead of the status line that stderr shows "
                "when it is a terminal")
            ->excludes("--dialog");
    command
        .add_flag("--quiet", options.quiet,
                  "no status line, progress lines or summary line; warnings and errors only")
        ->excludes(progress)
        ->excludes("--dialog");
    command
        .add_flag("--recreate", options.recreate,
                  "scripts that rebuild every object as it is, in files whose name order is the apply order, "
                  "listed in DIR/manifest.txt; --only and --skip then take: " +
                      JoinText(RecreateKindNames()))
        ->excludes("--dialog", "--file", "--collation", "--prefetch", "--no-prefetch", "--order");
    CLI::Option* data =
        command
            .add_flag("--data", options.data,
                      "with --recreate: the rows of every table too, as INSERT statements, a file per table "
                      "after the tables and before their constraints, indexes and foreign keys; identity "
                      "columns and sequences go on where the original's stand")
            ->needs("--recreate");
    command
        .add_flag("--data-only", options.dataOnly,
                  "the rows alone, for a database that has the schema already: a file per table in "
                  "foreign-key order, and the foreign keys of a cycle off while the rows go in")
        ->excludes(data)
        ->excludes("--dialog", "--file", "--collation", "--prefetch", "--no-prefetch", "--order", "--only",
                   "--skip");
    // One value an option, taken as written: the patterns' own brackets are no list of CLI11's.
    command
        .add_option(
            "--data-tables", options.dataTables,
            "with --data or --data-only: only the rows of the tables that match one of these "
            "comma-separated SCHEMA.NAME patterns (* for any characters; NAME alone for any schema; a "
            "part in brackets or double quotes may hold dots, commas and blanks); repeatable")
        ->type_name("PATTERNS")
        ->check(NotAnOption())
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->allow_extra_args(false);
    command
        .add_option_function<int>(
            "--rows-per-insert", [&options](const int& rows) { options.rowsPerInsert = rows; },
            "with --data or --data-only: rows in one INSERT statement, 1 to 1000 (default 100)")
        ->type_name("N")
        ->check(WholeNumber(1, 1000));
    command.add_flag(
        "--consistent", options.consistent,
        "with --data or --data-only: stop before reading anything when the database does not allow the rows "
        "to "
        "be read as of one moment (snapshot isolation); without it they are then read table by table, with a "
        "warning");
    const auto addPatterns = [&command](const char* name, std::vector<std::string>& patterns,
                                        const std::string& help) {
        command.add_option(name, patterns, help + " (repeatable; with --recreate or --data-only)")
            ->type_name("PATTERN")
            ->check(NotAnOption())
            ->allow_extra_args(false);
    };
    addPatterns("--schema", options.schemas,
                "write only the schemas that match PATTERN (* for any characters) and what they hold");
    addPatterns("--exclude-schema", options.excludedSchemas,
                "leave out the schemas that match PATTERN and what they hold");
    addPatterns("--object", options.objects,
                "write only the objects that match SCHEMA.NAME (NAME alone: in any schema), a table with its "
                "parts and triggers");
    addPatterns("--exclude-object", options.excludedObjects,
                "leave out the objects that match SCHEMA.NAME, a table with its parts and triggers");
    command
        .add_option_function<std::string>(
            "--output", [&options](const std::string& file) { options.output = file; },
            "with --recreate or --data-only: every file's content in the manifest's order into one file "
            "(- for standard output) instead of a folder")
        ->type_name("FILE")
        ->excludes("--dir", "--layout", "--name-template", "--prune", "--dialog");
    command
        .add_flag("--clean", options.clean,
                  "with --recreate: drop what the scripts create where it exists before creating it, so that "
                  "they apply again to a database that has it")
        ->needs("--recreate")
        ->excludes("--data-only");
    command
        .add_option_function<std::string>(
            "--create-database", [&options](const std::string& name) { options.createDatabase = name; },
            "with --recreate: a first file that creates the database NAME with the source's collation and "
            "options and switches to it, so that the scripts apply to a new database from master")
        ->type_name("NAME")
        ->needs("--recreate")
        ->excludes("--data-only");
}

void AddApplyOptions(CLI::App& command, Source& source, ApplyOptions& options) {
    command
        .add_option("path", options.path,
                    "a folder an export wrote (its files in the order of its manifest.txt), a .sql file, or "
                    "- for standard input")
        ->required()
        ->type_name("PATH");
    command
        .add_option("--connect", source.connect,
                    "ODBC connect string of the database to apply the scripts to")
        ->required()
        ->type_name("STR");
    AddTimeout(command, source);
    CLI::Option* keepGoing = command.add_flag(
        "--continue", options.keepGoing,
        "go on after a refused batch to the end, saying each refusal; the status is 1 when any was refused");
    command
        .add_flag(
            "--single-transaction", options.singleTransaction,
            "the whole run in one transaction with XACT_ABORT ON: a refusal or Ctrl-C rolls all of it back")
        ->excludes(keepGoing);
    command
        .add_option(
            "--jobs", options.jobs,
            "connections that load the rows (the files of Data/ or NN-Data/) at once, a table or a share "
            "of a table's batches each; everything else runs in order on one")
        ->type_name("N")
        ->check(WholeNumber(1, 64))
        ->capture_default_str();
    AddChoice<Existing>(
        command, "--existing", [&options](const Existing& existing) { options.existing = existing; },
        {{"stop", Existing::Stop}, {"ok", Existing::Ok}},
        "an object the scripts create that the database has already: stop (the default: name them and run "
        "nothing) or ok (apply all the same)");
    CLI::Option* progress = command.add_flag(
        "--progress", options.progress,
        "a plain line per applied file, for logs, instead of the status line that stderr shows when it is a "
        "terminal");
    CLI::Option* quiet =
        command
            .add_flag("--quiet", options.quiet, "errors only: no status line, progress lines or summary line")
            ->excludes(progress);
    command
        .add_flag(
            "--verbose", options.verbose,
            "also the server's messages that are not errors (PRINT) and the rows each statement affected")
        ->excludes(quiet);
}

void AddDiffOptions(CLI::App& command, DiffOptions& options) {
    const std::string sides =
        "a catalog snapshot file, a folder that export --recreate wrote (with --shadow), or an "
        "ODBC connect string";
    command.add_option("from", options.from, "the database as it is: " + sides)
        ->required()
        ->type_name("FROM");
    command.add_option("to", options.to, "the state it is to reach: " + sides)->required()->type_name("TO");
    command
        .add_option(
            "--shadow", options.shadow,
            "ODBC connect string of a server where a folder given as FROM or TO is applied to a scratch "
            "database, read and dropped again")
        ->type_name("STR");
    command
        .add_option_function<std::string>(
            "--script", [&options](const std::string& file) { options.script = file; },
            "write the migration, T-SQL that brings FROM to the state of TO in one transaction, into FILE "
            "(replaced; - for standard output, in place of the lines of differences)")
        ->type_name("FILE");
    command
        .add_option_function<std::string>(
            "--json", [&options](const std::string& file) { options.json = file; },
            "write the differences as JSON into FILE (replaced; - for standard output): change, kind, name, "
            "property, old and new value")
        ->type_name("FILE");
    command.add_flag(
        "--drop", options.drop,
        "drop the objects of their own schema that only FROM has (they are kept and listed otherwise)");
    command.add_flag(
        "--allow-data-loss", options.allowDataLoss,
        "drop tables and columns and narrow column types; the script still stops where a table to drop "
        "holds rows or a value would not fit");
    command.add_flag(
        "--allow-rebuild", options.allowRebuild,
        "rebuild a table whose change T-SQL cannot make in place (a column becoming or ceasing to be "
        "an identity or computed column): a new table, the rows copied, the old one dropped");
    command.add_flag("--restart-sequences", options.restartSequences,
                     "restart a sequence whose start value differs at TO's start value");
}

// What CLI11 lets through, or finds only after the sources' group: unknown arguments, which are named first.
void CheckExtras(CLI::App& command) {
    std::vector<std::string> extra = command.remaining();
    std::erase(extra, "--"); // what ends the options stays behind
    if (!extra.empty())
        Usage(extra.front().starts_with("-")
                  ? Format(Tr("unknown option %s for %s"), extra.front().c_str(), command.get_name().c_str())
                  : Format(Tr("unexpected argument '%s' for %s"), extra.front().c_str(),
                           command.get_name().c_str()));
}

bool Given(const CLI::App& command, const char* option) {
    const CLI::Option* found = command.get_option_no_throw(option);
    return found && found->count() > 0;
}

// What object and fields name comes first, then where the catalog comes from: exactly one of --connect and
// --snapshot, which names something.
void CheckSource(const CLI::App& command, const CommandLine& line) {
    const std::string& name = command.get_name();
    if (name == "demo" || name == "snapshot" || name == "diff")
        return;
    if (name == "object" && line.name.empty())
        Usage(Tr("object needs the NAME of the object to script: sqlscripts object NAME (--connect STR | "
                 "--snapshot FILE)"));
    if (name == "fields" && line.name.empty())
        Usage(
            Tr("fields needs the NAME of a table or view: sqlscripts fields NAME (--connect STR | --snapshot "
               "FILE)"));
    if (Given(command, "--connect") && line.source.connect.empty())
        Usage(Tr("--connect names no connect string"));
    if (name == "apply")
        return;
    if (Given(command, "--snapshot") && line.source.snapshot.empty())
        Usage(Tr("--snapshot names no file"));
    if (line.source.connect.empty() == line.source.snapshot.empty())
        Usage(Tr("give exactly one of --connect and --snapshot"));
}

// The options of --recreate and --data-only that pick what is written and where it goes.
void CheckRecreateOptions(const ExportOptions& options) {
    const bool recreate = options.recreate || options.dataOnly;
    const std::pair<const char*, const std::vector<std::string>*> patterns[] = {
        {"--schema", &options.schemas},
        {"--exclude-schema", &options.excludedSchemas},
        {"--object", &options.objects},
        {"--exclude-object", &options.excludedObjects}};
    for (const auto& [name, list] : patterns) {
        if (!list->empty() && !recreate)
            Usage(Format(Tr("%s goes with --recreate or --data-only"), name));
        if (std::find(list->begin(), list->end(), std::string()) != list->end())
            Usage(Format(Tr("%s wants a pattern, got an empty one"), name));
    }
    if (options.output && !recreate)
        Usage(Format(Tr("%s goes with --recreate or --data-only"), "--output"));
    if (options.output && options.output->empty())
        Usage(Tr("--output names no file"));
    if (options.createDatabase && options.createDatabase->empty())
        Usage(Tr("--create-database names no database"));
    if (options.clean && options.data &&
        !SelectedRecreateKinds(options.only, options.skip)[static_cast<size_t>(eModelKind::Table)])
        Usage(Tr(
            "--clean with --data gives the rows to the tables it makes again: --only and --skip must leave "
            "tables"));
}

int UsageError(const std::string& message) {
    Say(message + " " + Tr("(sqlscripts --help lists the commands and options)"));
    return kExitUsage;
}

} // namespace

std::string Source::ConnectString() const {
    std::string result = snapshot.empty() ? connect : "SNAPSHOT=" + snapshot;
    if (!saveSnapshot.empty())
        result = "SAVE_SNAPSHOT=" + saveSnapshot + ";" + result;
    return result;
}

ExportPlan PlanExport(const ExportOptions& options) {
    if (options.layout != Layout::Objects &&
        ((options.prune && !options.recreate && !options.dataOnly) || options.nameTemplate))
        Usage(Tr("--name-template goes with --layout objects, --prune with --layout objects or --recreate"));
    CheckRecreateOptions(options);
    if (options.layout == Layout::Objects && options.order == Order::Dependencies)
        Usage(Tr("--order dependencies orders the objects inside category files; with --layout objects each "
                 "object has a file of its own"));
    if (options.dir.empty())
        Usage(Tr("--dir names no folder"));
    if (!options.data && !options.dataOnly &&
        (!options.dataTables.empty() || options.rowsPerInsert || options.consistent))
        Usage(Tr("--data-tables, --rows-per-insert and --consistent go with --data or --data-only"));
    ExportPlan plan;
    plan.tables = TablePatterns(options.dataTables);
    if (options.recreate || options.dataOnly)
        SelectedRecreateKinds(options.only, options.skip);
    else
        plan.categories = EnabledCategories(options);
    plan.files = FileNames(options);
    CheckDistinct(plan, options.layout);
    if (options.layout == Layout::Objects)
        plan.nameTemplate.emplace(options.nameTemplate.value_or(kDefaultNameTemplate));
    const bool terminal = ::isatty(STDIN_FILENO);
    if (options.replace == ReplacePolicy::Ask && !terminal)
        Usage(Tr(
            "--replace ask asks on the terminal, and stdin is none; give --replace all or --replace never"));
    plan.replace = options.replace.value_or(terminal ? ReplacePolicy::Ask : ReplacePolicy::Never);
    return plan;
}

std::optional<int> ParseCommandLine(int argc, char** argv, CommandLine& line) {
    CLI::App app{"sqlscripts: writes T-SQL scripts that recreate the objects of a SQL Server database, and "
                 "applies them"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "sqlscripts " SQLSCRIPTS_VERSION);

    auto* exportCommand = app.add_subcommand(
        "export",
        "write the scripts of a database's objects into a folder, a file per category or per object");
    AddSourceOptions(*exportCommand, line.source, true);
    AddExportOptions(*exportCommand, line.exportOptions);

    const CLI::Validator nonEmpty(
        [](const std::string& value) {
            return value.empty() ? std::string("must not be empty") : std::string();
        },
        "NAME");
    std::vector<std::pair<std::string, int>> categories;
    for (const int category : AllCategories())
        categories.emplace_back(CategoryName(category), category);
    auto* objectCommand = app.add_subcommand("object", "print the script of one object of schema dbo");
    AddSourceOptions(*objectCommand, line.source, false);
    objectCommand->add_option("name", line.name, "object name")->required()->check(nonEmpty);
    AddChoice<int>(
        *objectCommand, "--type", [&line](const int& type) { line.type = type; }, categories,
        "the object's category, found in the catalog when not given", "CATEGORY");
    objectCommand->add_flag("--collation", line.collation, "keep COLLATE clauses in a table script");
    objectCommand
        ->add_flag(
            "--recreate", line.recreate,
            "the faithful script of [SCHEMA.]NAME, of any schema: what export --recreate writes for it")
        ->excludes("--type", "--collation");

    auto* fieldsCommand =
        app.add_subcommand("fields", "print the column names of a table or view of schema dbo");
    AddSourceOptions(*fieldsCommand, line.source, false);
    fieldsCommand->add_option("name", line.name, "table or view name")->required()->check(nonEmpty);

    auto* diffCommand = app.add_subcommand(
        "diff",
        "compare two databases' catalogs and write the script that brings FROM to the state of TO; exit "
        "status 0 when they describe alike, 1 when they differ, 2 after a usage error or a failure");
    AddDiffOptions(*diffCommand, line.diff);

    auto* demoCommand = app.add_subcommand(
        "demo", "show the job on two bundled versions of a small database, without a server: version 1 "
                "exported with --recreate --data, what diff finds, the migration");
    demoCommand->add_option("--dir", line.demoDir, "output folder")->type_name("DIR")->capture_default_str();

    auto* snapshotCommand = app.add_subcommand("snapshot", "work on a catalog snapshot file");
    AddChoice<CommandLine::Command>(
        *snapshotCommand, "action", [](const CommandLine::Command&) {},
        {{"upgrade", CommandLine::Command::SnapshotUpgrade}},
        "upgrade: rewrite the snapshot (of version 1, say) in the version this program writes")
        ->required();
    snapshotCommand->add_option("input", line.snapshotInput, "the snapshot to read")->required();
    snapshotCommand->add_option("output", line.snapshotOutput, "the file to write (may be the input)")
        ->required();

    auto* applyCommand = app.add_subcommand(
        "apply", "run scripts against a database: a folder an export wrote, in the order of its manifest, a "
                 "file, or standard input, split into batches at GO lines");
    AddApplyOptions(*applyCommand, line.source, line.applyOptions);

    const std::pair<CLI::App*, CommandLine::Command> commands[] = {
        {exportCommand, CommandLine::Command::Export},
        {objectCommand, CommandLine::Command::Object},
        {fieldsCommand, CommandLine::Command::Fields},
        {diffCommand, CommandLine::Command::Diff},
        {demoCommand, CommandLine::Command::Demo},
        {snapshotCommand, CommandLine::Command::SnapshotUpgrade},
        {applyCommand, CommandLine::Command::Apply},
    };
    for (const auto& [command, kind] : commands)
        command->allow_extras();
    if (argc > 1 && argv[1][0] != '-' &&
        std::none_of(std::begin(commands), std::end(commands),
                     [argv](const auto& command) { return command.first->get_name() == argv[1]; }))
        return UsageError(
            Format(Tr("unknown command '%s' (commands: export, object, fields, diff, demo, snapshot, apply)"),
                   argv[1]));
    if (const std::optional<int> served = ServeCliReference(app, argc, argv))
        return *served;
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0)
            return app.exit(e);
        // A value that is wrong is named before what it left over.
        if (dynamic_cast<const CLI::ValidationError*>(&e))
            return UsageError(e.what());
        try {
            for (const auto& [command, kind] : commands) {
                if (!*command)
                    continue;
                CheckExtras(*command);
                if (dynamic_cast<const CLI::RequiredError*>(&e))
                    CheckSource(*command, line);
            }
        } catch (const std::invalid_argument& usage) {
            return UsageError(usage.what());
        }
        return UsageError(e.what());
    }
    try {
        for (const auto& [command, kind] : commands) {
            if (!*command)
                continue;
            line.command = kind;
            CheckExtras(*command);
            CheckSource(*command, line);
            if (kind == CommandLine::Command::Export && !line.exportOptions.dialog)
                PlanExport(line.exportOptions);
            if (kind == CommandLine::Command::Apply && line.applyOptions.singleTransaction &&
                line.applyOptions.jobs > 1)
                Usage(Tr("--single-transaction runs on one connection; it does not go with --jobs"));
        }
    } catch (const std::invalid_argument& e) {
        return UsageError(e.what());
    }
    return std::nullopt;
}
