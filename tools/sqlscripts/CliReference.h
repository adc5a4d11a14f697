// The man page's generated sections, the shell's completions and --help, read from the same option
// definitions, so that all of them follow every command and option added there.
#pragma once

#include <CLI/CLI.hpp>

#include <memory>
#include <optional>
#include <string>

// Serves the hidden first arguments of the program: `--man-page SECTION` prints that part of the man page in
// roff (synopsis, commands, categories), `--complete WORD...` the completions of the last word, one a line.
// Empty when argv asks for neither.
std::optional<int> ServeCliReference(const CLI::App& app, int argc, const char* const* argv);

// What the synopsis calls an option's value or an argument: FROM, PATH, DIR.
std::string ValueName(const CLI::Option& option);
// The long option of the command that the mistyped one was meant to be, when one is near enough:
// --recreat -> --recreate.
std::optional<std::string> NearestOption(const CLI::App& command, const std::string& typed);
// --help as CLI11 writes it, with the options an option needs or excludes on a line of their own under it.
std::shared_ptr<CLI::Formatter> HelpFormatter();
