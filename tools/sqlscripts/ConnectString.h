// How the host shows a driver's diagnostics.
#pragma once

#include <string>

// Several lines of a driver's diagnostics as one line.
std::string OneLine(std::string text);
