// Passwords kept out of the command line, where ps and the shell's history would show them: from a file that
// only its owner reads, from SQLSCRIPTS_PASSWORD, or typed on the terminal.
#pragma once

#include "Options.h"

#include <optional>

// Puts a password into each server connect string of the command line that names none (no PWD= or
// Password=): the first line of --password-file, else SQLSCRIPTS_PASSWORD, else, when one of them has UID=
// and stdin is a terminal, one asked for there without echo. A connect string's own password wins. The exit
// status when the program ends here instead (said on stderr).
std::optional<int> FillPasswords(CommandLine& line);
