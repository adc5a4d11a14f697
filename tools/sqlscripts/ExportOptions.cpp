#include "Categories.h"
#include "OptionParts.h"
#include "jobs/JobFiles.h"
#include "jobs/KindSelection.h"
#include "jobs/NameTemplate.h"
#include "jobs/ObjectName.h"
#include "platform/Unicode.h"

#include <map>
#include <stdexcept>
#include <unistd.h>

namespace {

const std::string kCategoryList = JoinCategoryNames(AllCategories());

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

std::array<std::string, SQL_CATEGORY_COUNT> FileNames(const ExportOptions& options) {
    std::array<std::string, SQL_CATEGORY_COUNT> files = ModuleCategoryFiles();
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

// The text of --name-template, once it is one.
std::string CheckedNameTemplate(const std::string& text) {
    const std::optional<eNameTemplateFault> fault = CNameTemplate::FaultOf(text);
    if (fault == eNameTemplateFault::UnknownPlaceholder)
        Usage(Format(
            Tr("--name-template knows only the placeholders {category}, {schema} and {name}, got '%s'"),
            text.c_str()));
    if (fault == eNameTemplateFault::NoCategoryOrName)
        Usage(Format(Tr("--name-template needs {category} and {name}, got '%s'"), text.c_str()));
    if (fault)
        Usage(Format(Tr("--name-template names a file inside --dir, got '%s'"), text.c_str()));
    return text;
}

// The kinds --only and --skip name with --recreate.
std::array<bool, MODEL_KIND_COUNT> SelectedRecreateKinds(const ExportOptions& options) {
    const TKindSelection selection = SelectRecreateKinds(options.only, options.skip);
    if (!selection.strUnknown.empty())
        Usage(Format(Tr("with --recreate, --only and --skip take %s; got '%s'"),
                     JoinText(RecreateKindNames()).c_str(), selection.strUnknown.c_str()));
    if (std::find(selection.aKinds.begin(), selection.aKinds.end(), true) == selection.aKinds.end())
        Usage(Tr("--only and --skip leave no category to write"));
    return selection.aKinds;
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
    if (options.lineEnds && !recreate)
        Usage(Format(Tr("%s goes with --recreate or --data-only"), "--line-ends"));
    if (options.output && options.output->empty())
        Usage(Tr("--output names no file"));
    if (options.createDatabase && options.createDatabase->empty())
        Usage(Tr("--create-database names no database"));
    if (options.clean && options.data &&
        !SelectedRecreateKinds(options)[static_cast<size_t>(eModelKind::Table)])
        Usage(Tr(
            "--clean with --data gives the rows to the tables it makes again: --only and --skip must leave "
            "tables"));
}

} // namespace

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
    AddChoice<eReplacePolicy>(
        command, "--replace", [&options](const eReplacePolicy& policy) { options.replace = policy; },
        {{"ask", eReplacePolicy::Ask}, {"all", eReplacePolicy::All}, {"never", eReplacePolicy::Never}},
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
    AddTablePatterns(
        command, "--data-tables", options.dataTables,
        "with --data or --data-only: only the rows of the tables that match one of these "
        "comma-separated SCHEMA.NAME patterns (* for any characters; NAME alone for any schema; a "
        "part in brackets or double quotes may hold dots, commas and blanks); repeatable");
    AddTablePatterns(command, "--exclude-data-tables", options.excludedDataTables,
                     "with --data or --data-only: leave out the rows of the tables that match one of these "
                     "patterns, written as for --data-tables (log and audit tables, say; --data still "
                     "writes the tables); repeatable");
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
    command
        .add_flag("--strict", options.strict,
                  "with --recreate: status 1 before anything is written when the database holds objects or "
                  "properties the scripts do not carry (named in warnings otherwise)")
        ->needs("--recreate");
    AddLineEnds(
        command, [&options](const LineEnds& ends) { options.lineEnds = ends; },
        "the files of --recreate and --data-only")
        ->excludes("--dialog");
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
    if (!options.data && !options.dataOnly && !options.excludedDataTables.empty())
        Usage(Format(Tr("%s goes with --data or --data-only"), "--exclude-data-tables"));
    ExportPlan plan;
    plan.tables = TablePatterns("--data-tables", options.dataTables);
    plan.excludedTables = TablePatterns("--exclude-data-tables", options.excludedDataTables);
    if (options.recreate || options.dataOnly)
        plan.kinds = SelectedRecreateKinds(options);
    else
        plan.categories = EnabledCategories(options);
    plan.files = FileNames(options);
    CheckDistinct(plan, options.layout);
    if (options.layout == Layout::Objects)
        plan.nameTemplate = CheckedNameTemplate(options.nameTemplate.value_or(kDefaultNameTemplate));
    const bool terminal = ::isatty(STDIN_FILENO);
    if (options.replace == eReplacePolicy::Ask && !terminal)
        Usage(Tr(
            "--replace ask asks on the terminal, and stdin is none; give --replace all or --replace never"));
    plan.replace = options.replace.value_or(terminal ? eReplacePolicy::Ask : eReplacePolicy::Never);
    return plan;
}
