// Where the program finds its data: installed under the prefix it runs from, or else in the tree it was built
// in.
#pragma once

#include <string>

// <prefix>/<relative> when the program runs installed from <prefix>/bin and that exists; otherwise fallback.
std::string InstalledOr(const std::string& relative, const std::string& fallback);
