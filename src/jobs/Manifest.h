// DIR/manifest.txt: the files that exports wrote into a folder, relative to it and '/'-separated, one a line
// (LF), in the order in which they apply to a database. It is written last, through a temporary file, and
// only by a run that succeeded, so that it lists only whole files that an export wrote.
#pragma once

#include "scripts/JobNotice.h"

#include <string>
#include <vector>

inline constexpr const char* kManifestName = "manifest.txt";

// The folder's list; empty when it has none.
std::vector<std::string> ReadManifest(const std::string& strDir);
// Throws CJobFailure when the list cannot be written.
void WriteManifest(const std::string& strDir, const std::vector<std::string>& aFiles);

// After a run that wrote the files aWritten (paths as the manifest gives them): the files of the folder's
// list that it did not write and that are still there are named in one record, or with bPrune removed (with
// the folders they leave empty) and named; no other file is touched. Then the list is written anew: the files
// written, and the ones kept, each after the file it came after in the earlier list. False when a file could
// not be removed (told). Throws CJobFailure when the list cannot be written.
bool ConcludeManifest(const std::string& strDir, const std::vector<std::string>& aWritten, bool bPrune,
                      IJobObserver& observer);
