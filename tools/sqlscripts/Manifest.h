// DIR/manifest.txt: the files that exports wrote into a folder, relative to it and '/'-separated, one a line
// (LF), in the order in which they apply to a database. It is written last, through a temporary file, and
// only by a run that succeeded, so that it lists only whole files that an export wrote.
#pragma once

#include <string>
#include <vector>

inline constexpr const char* kManifestName = "manifest.txt";

// The folder's list; empty when it has none.
std::vector<std::string> ReadManifest(const std::string& dir);
// Throws CModelError when the list cannot be written.
void WriteManifest(const std::string& dir, const std::vector<std::string>& files);
