// sqlscripts: scripts a SQL Server database's objects from the terminal.
#include "Categories.h"
#include "ConnectString.h"
#include "ExportObserver.h"
#include "HostUi.h"
#include "ObjectFiles.h"
#include "RecreateCommand.h"
#include "export/CategoryTable.h"
#ifdef SQLSCRIPTS_HAS_GUI
#include "DialogExport.h"
#endif

#include "backend/ConnectSecrets.h"
#include "backend/Database.h"
#include "backend/DbBackend.h"
#include "scripts/ScriptApi.h"
#include "scripts/ScriptUnloader.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct Source {
    std::string connect;
    std::string snapshot;
    std::string saveSnapshot;

    std::string ConnectString() const {
        std::string result = snapshot.empty() ? connect : "SNAPSHOT=" + snapshot;
        if (!saveSnapshot.empty())
            result = "SAVE_SNAPSHOT=" + saveSnapshot + ";" + result;
        return result;
    }
};

struct ExportOptions {
    std::string dir = "scripts";
    std::string only;
    std::string skip;
    std::vector<std::string> files;
    bool collation = false;
    bool parallel = false;
    bool prefetch = false;
    std::string replace;
    bool dialog = false;
    std::string layout = "categories";
    std::string nameTemplate = kDefaultNameTemplate;
    bool prune = false;
    std::string order = "name";
    bool progress = false;
    bool quiet = false;
    bool recreate = false;
    bool data = false;
    bool dataOnly = false;
    std::vector<std::string> dataTables;
    int rowsPerInsert = 100;
};

void AddSourceOptions(CLI::App& command, Source& source, bool withSave) {
    auto* group = command.add_option_group("source", "where the catalog comes from");
    group->add_option("--connect", source.connect, "ODBC connect string of the SQL Server database");
    CLI::Option* snapshot =
        group->add_option("--snapshot", source.snapshot, "catalog snapshot file to read instead of a server");
    group->require_option(1);
    if (withSave)
        command
            .add_option("--save-snapshot", source.saveSnapshot,
                        "also record every catalog statement and its answer into this snapshot file")
            ->excludes(snapshot);
}

void Fail(const std::string& message) {
    std::fprintf(stderr, "sqlscripts: %s\n", message.c_str());
}

// Opens the connection; on failure says why in one line, without the connect string's password.
bool Connect(CDatabase& db, const Source& source) {
    try {
        db.OpenEx(source.ConnectString().c_str(), CDatabase::noOdbcDialog);
        db.SetQueryTimeout(300);
        return true;
    } catch (CException* e) {
        const std::string reason = OneLine(HideConnectSecrets(e->GetErrorText().Str(), source.connect));
        Fail(source.snapshot.empty() ? "cannot connect: " + reason : reason);
        e->Delete();
        return false;
    }
}

ReplacePolicy ParseReplacePolicy(const std::string& value) {
    if (value == "all")
        return ReplacePolicy::All;
    if (value == "never")
        return ReplacePolicy::Never;
    if (value == "ask")
        return ReplacePolicy::Ask;
    return ::isatty(STDIN_FILENO) ? ReplacePolicy::Ask : ReplacePolicy::Never;
}

// Fills the unloader from the options; false with a message for a bad category or file option.
bool FillUnloader(CScriptUnloader& unloader, const ExportOptions& options) {
    try {
        std::vector<int> enabled = options.only.empty()
                                       ? std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}
                                       : ParseCategoryList(options.only);
        for (int category : ParseCategoryList(options.skip))
            std::erase(enabled, category);
        for (int category : enabled)
            unloader.m_aFiles[category].bEnabled = 1;
        for (int category = 0; category < SQL_CATEGORY_COUNT; ++category)
            unloader.m_aFiles[category].strFile = g_aCategories[static_cast<size_t>(category)].pszDefaultFile;
        for (const std::string& file : options.files) {
            const size_t equals = file.find('=');
            const std::optional<int> category =
                equals == std::string::npos ? std::nullopt : FindCategory(file.substr(0, equals));
            if (!category || equals + 1 == file.size())
                throw std::invalid_argument("--file wants CATEGORY=NAME, got '" + file + "'");
            unloader.m_aFiles[*category].strFile = file.substr(equals + 1).c_str();
        }
    } catch (const std::invalid_argument& e) {
        Fail(e.what());
        return false;
    }
    unloader.m_bNoCollation = options.collation ? 0 : 1;
    unloader.m_bPrefetch = options.prefetch ? 1 : 0;
    return true;
}

Progress::Mode ProgressMode(const ExportOptions& options) {
    if (options.quiet)
        return Progress::Mode::Off;
    if (options.progress)
        return Progress::Mode::Lines;
    return ::isatty(STDERR_FILENO) ? Progress::Mode::StatusLine : Progress::Mode::Off;
}

std::string JoinNames(const std::vector<int>& categories) {
    std::string names;
    for (int category : categories)
        names += (names.empty() ? "" : ", ") + CategoryNames()[static_cast<size_t>(category)];
    return names;
}

std::vector<int> EnabledCategories(const CScriptUnloader& unloader) {
    std::vector<int> enabled;
    for (int category = 0; category < SQL_CATEGORY_COUNT; ++category)
        if (unloader.m_aFiles[static_cast<size_t>(category)].bEnabled)
            enabled.push_back(category);
    return enabled;
}

std::unique_ptr<ObjectFiles> MakeObjectFiles(const CScriptUnloader& unloader, const ExportOptions& options,
                                             const NameTemplate& nameTemplate) {
    std::array<std::string, SQL_CATEGORY_COUNT> files;
    for (size_t category = 0; category < files.size(); ++category)
        files[category] = unloader.m_aFiles[category].strFile.Str();
    return std::make_unique<ObjectFiles>(options.dir, nameTemplate, files);
}

// Says how the run ended: interrupted, failed, stopped at an existing file, or done (with the object files
// left from objects that are gone); the exit status.
int ConcludeExport(const ExportOptions& options, const HostUi& ui, const ExportObserver& observer,
                   const ObjectFiles* files, const std::vector<int>& enabled) {
    if (const int signal = InterruptionSignal()) {
        const std::vector<int> finished = observer.Finished();
        Fail(finished.empty() ? "interrupted; no category was written"
                              : "interrupted; categories written: " + JoinNames(finished));
        return 128 + signal;
    }
    const std::vector<std::string> failures = files ? files->Failures() : std::vector<std::string>();
    for (const std::string& failure : failures)
        Fail(failure);
    // Object files are refused by the host itself, category files through the module's question.
    const std::vector<std::string> refused = !files               ? ui.RefusedFiles()
                                             : files->IsRefused() ? std::vector{files->RefusedFile()}
                                                                  : std::vector<std::string>();
    for (const std::string& file : refused)
        Fail(file + " already exists in " + options.dir +
             "; stopped without overwriting it (use --replace all to overwrite existing files)");
    if (!refused.empty() || ui.MessageCount() > 0 || !failures.empty())
        return kExitFailed;
    if (files)
        files->ReportStale(enabled, options.prune);
    if (options.quiet)
        return kExitOk;
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::absolute(options.dir, ec);
    std::fprintf(stderr, "sqlscripts: scripts written to %s\n", (ec ? options.dir : folder.string()).c_str());
    return kExitOk;
}

int RunExport(const Source& source, const ExportOptions& options) {
    std::optional<NameTemplate> nameTemplate;
    try {
        nameTemplate.emplace(options.nameTemplate);
    } catch (const std::invalid_argument& e) {
        Fail(e.what());
        return kExitUsage;
    }
    const ReplacePolicy policy = ParseReplacePolicy(options.replace);
    Progress progress(ProgressMode(options), CategoryNames());
    HostUi ui(policy, &progress);
    AfxSetUiBackend(&ui);
    CDatabase db;
    if (!Connect(db, source))
        return kExitFailed;
    // A replayed snapshot has no connection to lose: its recorded failures answer single statements.
    if (!db.GetBackend()->GetSnapshot())
        ui.StopOnLostConnection();
    CScriptUnloader unloader(db, nullptr, options.dir.c_str());
    if (!FillUnloader(unloader, options))
        return kExitUsage;
    std::unique_ptr<ObjectFiles> files;
    if (options.layout == "objects") {
        files = MakeObjectFiles(unloader, options, *nameTemplate);
        unloader.m_bNoCategoryFiles = 1;
    }
    unloader.m_bDependencyOrder = options.order == "dependencies" ? 1 : 0;
    ExportObserver observer(progress, files.get(), CategoryNames(), ui);
    unloader.SetObserver(&observer);
    CatchInterruptions();
    if (options.parallel)
        unloader.ExecScriptDataThreads();
    else
        unloader.ExecScriptData();
    progress.Clear();
    AfxSetUiBackend(nullptr);
    return ConcludeExport(options, ui, observer, files.get(), EnabledCategories(unloader));
}

// The categories, names, folder and COLLATION option come from the options dialog instead of the options.
int RunDialogExport(const Source& source, const ExportOptions& options) {
#ifdef SQLSCRIPTS_HAS_GUI
    std::string error;
    std::unique_ptr<DialogExport> session = DialogExport::Open(error);
    if (!session) {
        Fail("--dialog: " + error);
        return kExitUsage;
    }
    CDatabase db;
    if (!Connect(db, source))
        return kExitFailed;
    return session->Run(db, options.dir, options.parallel, options.prefetch);
#else
    (void)source;
    (void)options;
    Fail("--dialog needs a graphical display, and this build has none (wxWidgets 3.2 was not found)");
    return kExitUsage;
#endif
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
        Fail("nothing to script for " + name);
    return PrintResult(ok, script);
}

int RunObject(const Source& source, const std::string& name, const std::string& type, bool collation) {
    HostUi ui(ReplacePolicy::Never);
    AfxSetUiBackend(&ui);
    CDatabase db;
    if (!Connect(db, source))
        return kExitFailed;
    CString script;
    try {
        if (type.empty())
            return PrintScript(GenerateSQLScriptObject(db, name.c_str(), script, !collation) != 0, script,
                               name);
        const TErrState result = GetSqlScriptObject(db, static_cast<eSqlTypeObjects>(*FindCategory(type)),
                                                    name.c_str(), script, !collation);
        if (result.nError)
            Fail(result.strMessage.Str());
        return PrintScript(result.nError == 0, script, name);
    } catch (CException* e) {
        Fail(OneLine(e->GetErrorText().Str()));
        e->Delete();
        return kExitFailed;
    }
}

int RunFields(const Source& source, const std::string& name) {
    HostUi ui(ReplacePolicy::Never);
    AfxSetUiBackend(&ui);
    CDatabase db;
    if (!Connect(db, source))
        return kExitFailed;
    CString fields;
    if (GenerateSQLScriptFields(db, name.c_str(), fields) && fields.IsEmpty()) {
        Fail(name + " is not a table or view of schema dbo");
        return kExitFailed;
    }
    return PrintResult(!fields.IsEmpty(), fields);
}

int RunRecreateExport(const Source& source, const ExportOptions& options) {
    HostUi ui(ParseReplacePolicy(options.replace));
    AfxSetUiBackend(&ui);
    const RecreateExportOptions recreate{options.dir,
                                         options.only,
                                         options.skip,
                                         options.parallel,
                                         options.layout == "objects",
                                         options.nameTemplate,
                                         ProgressMode(options),
                                         options.quiet,
                                         options.data,
                                         options.dataOnly,
                                         options.dataTables,
                                         options.rowsPerInsert};
    const int status = ExportRecreate(recreate, [&](CDatabase& db) { return Connect(db, source); });
    AfxSetUiBackend(nullptr);
    return status;
}

std::string SampleSnapshot() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path installed =
        exe.parent_path().parent_path() / "share/sqlscripts/samples/sample.json";
    if (!ec && std::filesystem::exists(installed))
        return installed.string();
    return SQLSCRIPTS_SAMPLES_DIR "/sample.json";
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"sqlscripts: writes T-SQL scripts that recreate the objects of a SQL Server database"};
    app.failure_message([](const CLI::App*, const CLI::Error& e) {
        return "sqlscripts: " + std::string(e.what()) +
               " (sqlscripts --help lists the commands and options)\n";
    });
    app.require_subcommand(1);
    app.set_version_flag("--version", "sqlscripts " SQLSCRIPTS_VERSION);

    Source source;
    ExportOptions options;
    auto* exportCommand = app.add_subcommand("export", "write one script file per object category");
    AddSourceOptions(*exportCommand, source, true);
    exportCommand->add_option("--dir", options.dir, "output folder, created when missing")
        ->capture_default_str();
    const std::string categoryHelp = "comma-separated categories: defaults, udt, tables, pk, fk, fulltext, "
                                     "schemas, views, triggers, procs, indexes, checks, udf";
    exportCommand->add_option("--only", options.only, "write only these " + categoryHelp);
    exportCommand->add_option("--skip", options.skip, "leave out these categories");
    exportCommand->add_option("--file", options.files,
                              "file name of a category, as CATEGORY=NAME (repeatable)");
    exportCommand->add_flag("--collation", options.collation, "keep COLLATE clauses in table scripts");
    exportCommand->add_flag("--parallel", options.parallel, "work on up to three categories at a time");
    exportCommand->add_flag(
        "--prefetch", options.prefetch,
        "read each kind of catalog detail in one statement first instead of one statement "
        "per object: the same files, far fewer round trips (for any server not on this "
        "machine; a snapshot must have been recorded with --prefetch)");
    exportCommand
        ->add_option("--replace", options.replace,
                     "existing files: ask (default on a terminal), all (overwrite), never (default "
                     "otherwise: stop at the first existing file)")
        ->check(CLI::IsMember({"ask", "all", "never"}));
    exportCommand
        ->add_flag(
            "--dialog", options.dialog,
            "choose categories, file names, folder and COLLATION in the options window (--dir proposes "
            "the folder); replace questions and messages appear as windows")
        ->excludes("--only", "--skip", "--file", "--collation", "--replace");
    exportCommand
        ->add_option("--layout", options.layout,
                     "categories: a file per category (default); objects: a file per object, by default "
                     "DIR/<category file without .sql>/<schema>.<name>.sql (full text stays one file)")
        ->check(CLI::IsMember({"categories", "objects"}))
        ->excludes("--dialog");
    exportCommand
        ->add_option(
            "--name-template", options.nameTemplate,
            "with --layout objects: the object file's path in DIR, from {category}, {schema} and {name}")
        ->capture_default_str()
        ->excludes("--dialog");
    exportCommand
        ->add_flag("--prune", options.prune,
                   "with --layout objects: remove the files left from objects that no longer exist (they are "
                   "only listed otherwise)")
        ->excludes("--dialog");
    exportCommand
        ->add_option("--order", options.order,
                     "name: objects in name order (default); dependencies: views, triggers, procedures and "
                     "functions each after those of their category that they use")
        ->check(CLI::IsMember({"name", "dependencies"}))
        ->excludes("--dialog");
    CLI::Option* progressFlag =
        exportCommand
            ->add_flag("--progress", options.progress,
                       "a plain line per finished category, for logs, instead of the status line that stderr "
                       "shows when it is a terminal")
            ->excludes("--dialog");
    exportCommand
        ->add_flag("--quiet", options.quiet,
                   "no status line, progress lines or summary line; warnings and errors only")
        ->excludes(progressFlag)
        ->excludes("--dialog");
    exportCommand
        ->add_flag(
            "--recreate", options.recreate,
            "scripts that rebuild every object as it is, in files whose name order is the apply order, "
            "listed in DIR/manifest.txt; --only and --skip then take: schemas, types, sequences, synonyms, "
            "tables, indexes, fk, views, functions, procs, triggers, properties")
        ->excludes("--dialog", "--file", "--collation", "--prefetch", "--prune", "--order");
    CLI::Option* dataFlag =
        exportCommand
            ->add_flag("--data", options.data,
                       "with --recreate: the rows of every table too, as INSERT statements, a file per table "
                       "after the tables and before their constraints, indexes and foreign keys")
            ->needs("--recreate");
    exportCommand
        ->add_flag("--data-only", options.dataOnly,
                   "the rows alone, for a database that has the schema already: a file per table in "
                   "foreign-key order, and the foreign keys of a cycle off while the rows go in")
        ->excludes(dataFlag)
        ->excludes("--dialog", "--file", "--collation", "--prefetch", "--prune", "--order", "--only",
                   "--skip");
    exportCommand
        ->add_option("--data-tables", options.dataTables,
                     "with --data or --data-only: only the rows of the tables that match one of these "
                     "comma-separated SCHEMA.NAME patterns (* for any characters; NAME alone for any schema)")
        ->delimiter(',');
    exportCommand
        ->add_option("--rows-per-insert", options.rowsPerInsert,
                     "with --data or --data-only: rows in one INSERT statement, 1 to 1000")
        ->check(CLI::Range(1, 1000))
        ->capture_default_str();

    const CLI::Validator nonEmpty(
        [](const std::string& value) {
            return value.empty() ? std::string("must not be empty") : std::string();
        },
        "NAME");
    std::string name;
    std::string type;
    bool collation = false;
    auto* objectCommand = app.add_subcommand("object", "print the script of one object of schema dbo");
    AddSourceOptions(*objectCommand, source, false);
    objectCommand->add_option("name", name, "object name")->required()->check(nonEmpty);
    objectCommand->add_option("--type", type, "the object's category, found in the catalog when not given")
        ->check(CLI::IsMember(CategoryNames()));
    objectCommand->add_flag("--collation", collation, "keep COLLATE clauses in a table script");
    bool recreateObject = false;
    objectCommand
        ->add_flag(
            "--recreate", recreateObject,
            "the faithful script of [SCHEMA.]NAME, of any schema: what export --recreate writes for it")
        ->excludes("--type", "--collation");

    auto* fieldsCommand =
        app.add_subcommand("fields", "print the column names of a table or view of schema dbo");
    AddSourceOptions(*fieldsCommand, source, false);
    fieldsCommand->add_option("name", name, "table or view name")->required()->check(nonEmpty);

    std::string demoDir = "sqlscripts-demo";
    auto* demoCommand = app.add_subcommand("demo", "export the bundled sample catalog into a folder");
    demoCommand->add_option("--dir", demoDir, "output folder")->capture_default_str();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kExitOk : kExitUsage;
    }

    if (*exportCommand) {
        if (options.layout != "objects" && (options.prune || exportCommand->count("--name-template") > 0)) {
            Fail("--prune and --name-template go with --layout objects");
            return kExitUsage;
        }
        if (options.layout == "objects" && options.order == "dependencies") {
            Fail("--order dependencies orders the objects inside category files; with --layout objects each "
                 "object has a file of its own");
            return kExitUsage;
        }
        if (!options.data && !options.dataOnly &&
            (exportCommand->count("--data-tables") > 0 || exportCommand->count("--rows-per-insert") > 0)) {
            Fail("--data-tables and --rows-per-insert go with --data or --data-only");
            return kExitUsage;
        }
        if (options.recreate || options.dataOnly)
            return RunRecreateExport(source, options);
        return options.dialog ? RunDialogExport(source, options) : RunExport(source, options);
    }
    if (*objectCommand && recreateObject)
        return PrintRecreateObject(name, [&](CDatabase& db) { return Connect(db, source); });
    if (*objectCommand)
        return RunObject(source, name, type, collation);
    if (*fieldsCommand)
        return RunFields(source, name);
    Source sample;
    sample.snapshot = SampleSnapshot();
    ExportOptions demo;
    demo.dir = demoDir;
    demo.replace = "all";
    return RunExport(sample, demo);
}
