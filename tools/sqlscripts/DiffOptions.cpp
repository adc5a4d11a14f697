#include "OptionParts.h"

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
        "drop tables and columns with their rows and values (told as warnings) and narrow column types; "
        "the script still stops where a value would not fit");
    command.add_flag(
        "--allow-rebuild", options.allowRebuild,
        "rebuild a table whose change T-SQL cannot make in place (a column becoming or ceasing to be "
        "an identity or computed column): a new table, the rows copied, the old one dropped");
    command.add_flag("--restart-sequences", options.restartSequences,
                     "restart a sequence whose start value differs at TO's start value");
    AddLineEnds(
        command, [&options](const LineEnds& ends) { options.lineEnds = ends; }, "the --script file")
        ->needs("--script");
    command.add_flag("--no-text", options.noText,
                     "leave out the unified diff of a changed module's text under its line of differences");
    command.add_flag(
        "--no-check", options.noCheck,
        "leave out the script's first batch, which stops it before any change where an object it "
        "touches is no longer as FROM had it");
    command
        .add_option(
            "--rename", options.renames,
            "table OLD=NEW or column TABLE.OLD=NEW (repeatable): FROM's table or column is TO's NEW, and "
            "the migration renames it, rows kept (schema dbo where OLD names none)")
        ->type_name("table|column OLD=NEW");
    AddTablePatterns(command, "--data-tables", options.dataTables,
                     "compare the rows of the tables both sides have that match one of these comma-separated "
                     "SCHEMA.NAME patterns (written as for export --data-tables) by primary key or unique "
                     "index, and migrate them after the schema; repeatable");
    command.add_flag("--strict", options.strict,
                     "status 2 before anything is written when either side holds objects or properties the "
                     "scripts do not carry (named in warnings otherwise)");
}
