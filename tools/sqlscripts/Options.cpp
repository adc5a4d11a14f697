#include "Options.h"

#include "Categories.h"
#include "CliReference.h"
#include "OptionParts.h"

#include <stdexcept>

namespace {

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
    AddPasswordFile(command, source)->excludes(snapshot);
}

// An option not known, with the one it was likely meant to be.
[[noreturn]] void UnknownOption(const CLI::App& command, const std::string& typed) {
    const std::string unknown =
        Format(Tr("unknown option %s for %s"), typed.c_str(), command.get_name().c_str());
    const std::optional<std::string> nearest = NearestOption(command, typed);
    Usage(nearest ? unknown + "; " + Format(Tr("did you mean %s?"), nearest->c_str()) : unknown);
}

// What CLI11 lets through, or finds only after the sources' group: unknown arguments, which are named first.
void CheckExtras(CLI::App& command) {
    std::vector<std::string> extra = command.remaining();
    std::erase(extra, "--"); // what ends the options stays behind
    if (extra.empty())
        return;
    if (extra.front().starts_with("-"))
        UnknownOption(command, extra.front());
    Usage(Format(Tr("unexpected argument '%s' for %s"), extra.front().c_str(), command.get_name().c_str()));
}

// The arguments the command lacks, named as its synopsis names them: "FROM and TO are required".
void CheckArguments(const CLI::App& command) {
    std::vector<std::string> missing;
    for (const CLI::Option* argument :
         command.get_options([](const CLI::Option* option) { return !option->nonpositional(); }))
        if (argument->get_required() && argument->count() == 0)
            missing.push_back(ValueName(*argument));
    if (missing.size() == 1)
        Usage(Format(Tr("%s is required"), missing.front().c_str()));
    if (missing.empty())
        return;
    const std::string last = missing.back();
    missing.pop_back();
    Usage(Format(Tr("%s and %s are required"), JoinText(missing).c_str(), last.c_str()));
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

// The hint names the command's own --help when the arguments name a command.
int UsageError(const std::string& message, const std::string& command = {}) {
    Say(message + " " +
        (command.empty() ? std::string(Tr("(sqlscripts --help lists the commands and options)"))
                         : Format(Tr("(sqlscripts %s --help lists its options)"), command.c_str())));
    return kExitUsage;
}

} // namespace

std::optional<int> ParseCommandLine(int argc, char** argv, CommandLine& line) {
    CLI::App app{"sqlscripts: writes T-SQL scripts that recreate the objects of a SQL Server database, and "
                 "applies them"};
    app.formatter(HelpFormatter());
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
    objectCommand
        ->add_flag(
            "--strict", line.strict,
            "with --recreate: status 1 and no script when the object has parts the scripts do not carry "
            "(named in warnings otherwise)")
        ->needs("--recreate");
    AddLineEnds(
        *objectCommand, [&line](const LineEnds& ends) { line.objectLineEnds = ends; },
        "the --recreate script")
        ->needs("--recreate");

    auto* fieldsCommand =
        app.add_subcommand("fields", "print the column names of a table or view of schema dbo");
    AddSourceOptions(*fieldsCommand, line.source, false);
    fieldsCommand->add_option("name", line.name, "table or view name")->required()->check(nonEmpty);

    auto* diffCommand = app.add_subcommand(
        "diff",
        "compare two databases' catalogs and write the script that brings FROM to the state of TO; exit "
        "status 0 when they describe alike, 1 when they differ, 2 after a usage error or a failure");
    AddDiffOptions(*diffCommand, line.diff);
    AddPasswordFile(*diffCommand, line.source);

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
    const std::string named = argc > 1 && argv[1][0] != '-' ? argv[1] : "";
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0)
            return app.exit(e);
        // A value that is wrong is named before what it left over.
        if (dynamic_cast<const CLI::ValidationError*>(&e))
            return UsageError(e.what(), named);
        try {
            for (const auto& [command, kind] : commands) {
                if (!*command)
                    continue;
                CheckExtras(*command);
                if (!dynamic_cast<const CLI::RequiredError*>(&e))
                    continue;
                CheckSource(*command, line);
                CheckArguments(*command);
            }
        } catch (const std::invalid_argument& usage) {
            return UsageError(usage.what(), named);
        }
        return UsageError(e.what(), named);
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
            if (kind == CommandLine::Command::Diff)
                line.diff.dataTables = TablePatterns("--data-tables", line.diff.dataTables);
            if (kind == CommandLine::Command::Apply && line.applyOptions.singleTransaction &&
                line.applyOptions.jobs > 1)
                Usage(Tr("--single-transaction runs on one connection; it does not go with --jobs"));
        }
    } catch (const std::invalid_argument& e) {
        return UsageError(e.what(), named);
    }
    return std::nullopt;
}
