// What the host may say about a connect string without giving its secrets away.
#pragma once

#include <string>

// The text with every password of the connect string (PWD=, Password=) replaced by "***".
std::string HideSecrets(std::string text, const std::string& connect);
// Several lines of a driver's diagnostics as one line.
std::string OneLine(std::string text);
