// Files and folders as the jobs write them.
#pragma once

#include "jobs/JobFailure.h"

#include <functional>
#include <string>

// Runs work, which writes the file at strPath: what the file layer throws becomes a CJobFailure naming it.
void WritingFile(const std::string& strPath, const std::function<void()>& work);
// A relative path that stays inside the folder and ends in a file name.
bool IsFileInsideFolder(const std::string& strPath);
// Makes the folder and those above it: the system's error number when it cannot be made, 0 once it is there.
int MakeFolder(const std::string& strDir);
// Whether the folder is there or can be made: nothing that is not a folder stands on its path; ENOTDIR when
// something does.
int FolderObstacle(const std::string& strDir);
// Removes the temporary files that runs which ended early (killed, say) left in the folder, saying how many.
void RemoveDebrisIn(const std::string& strDir, IJobObserver& observer);
