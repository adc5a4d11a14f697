// The man page's generated sections and the shell's completions, read from the same option definitions as
// --help, so that both follow every command and option added there.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>

// Serves the hidden first arguments of the program: `--man-page SECTION` prints that part of the man page in
// roff (synopsis, commands, categories), `--complete WORD...` the completions of the last word, one a line.
// Empty when argv asks for neither.
std::optional<int> ServeCliReference(const CLI::App& app, int argc, const char* const* argv);
