// What ends a job, as a record: the jobs' own failures, and the model's, which they catch.
#pragma once

#include "model/ModelError.h"
#include "scripts/JobNotice.h"

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
