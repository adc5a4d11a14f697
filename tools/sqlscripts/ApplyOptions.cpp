#include "OptionParts.h"

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
    AddPasswordFile(command, source);
    CLI::Option* keepGoing = command.add_flag(
        "--continue", options.keepGoing,
        "go on after a refused batch to the end, saying each refusal; the status is 1 when any was refused");
    command
        .add_flag(
            "--single-transaction", options.singleTransaction,
            "the whole run in one transaction with XACT_ABORT ON: a refusal or Ctrl-C rolls all of it back; "
            "the batches that change full-text catalogs, indexes, stoplists and search property lists run "
            "after it commits, as SQL Server changes catalogs and indexes in none")
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
