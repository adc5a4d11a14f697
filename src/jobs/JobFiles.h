// Files and folders as the jobs write them, and what goes wrong with them as records.
#pragma once

#include "model/ModelError.h"
#include "scripts/JobNotice.h"

#include <functional>
#include <string>

class CException;

// A failure that ends a job, with its record. It is a CModelError too, so that a caller of the model's work
// catches it with the model's own failures.
class CJobFailure : public CModelError {
public:
    CJobFailure(eModelTask eTask, TJobNotice notice);

    const TJobNotice& Notice() const { return m_notice; }

private:
    TJobNotice m_notice;
};

// The record of a failure of the model's work (a CJobFailure's own).
TJobNotice NoticeOf(const CModelError& error);
// The record eWhat of a file that could not be written or read: the system's error, else the exception's
// words.
TJobNotice FileNotice(eJobNotice eWhat, const std::string& strPath, const CException& e);
// The record of a folder that cannot be made.
TJobNotice FolderNotice(const std::string& strDir, int nError);
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
