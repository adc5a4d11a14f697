#include "jobs/JobFailure.h"

#include "platform/Exceptions.h"

#include <cstring>

namespace {

// What the model's error says of its reason: the system's words in the C locale, or the exception's.
std::string ReasonText(const TJobNotice& notice) {
    return notice.nSystemError ? std::strerror(notice.nSystemError) : notice.strReason;
}

} // namespace

CJobFailure::CJobFailure(eModelTask eTask, TJobNotice notice)
    : CModelError(eTask, notice.strSubject, ReasonText(notice)), m_notice(std::move(notice)) {}

TJobNotice NoticeOf(const CModelError& error) {
    if (const auto* failure = dynamic_cast<const CJobFailure*>(&error))
        return failure->Notice();
    TJobNotice notice(eJobNotice::ReadCatalogFailed, error.Subject());
    notice.strReason = error.Reason();
    switch (error.Task()) {
    case eModelTask::ReadCatalog:
        break;
    case eModelTask::ReadRows:
        notice.eWhat = eJobNotice::ReadRowsFailed;
        break;
    case eModelTask::WriteValue:
        // The library's own words name the table, the column and its type.
        notice.eWhat = eJobNotice::ValueUnwritable;
        notice.strReason = error.what();
        break;
    case eModelTask::WriteFile:
        notice.eWhat = eJobNotice::CannotWrite;
        break;
    case eModelTask::MakeFolder:
        notice.eWhat = eJobNotice::FolderUnusable;
        break;
    }
    return notice;
}

TJobNotice FileNotice(eJobNotice eWhat, const std::string& strPath, const CException& e) {
    TJobNotice notice{eWhat};
    notice.strSubject = strPath;
    const auto* file = dynamic_cast<const CFileException*>(&e);
    notice.nSystemError = file ? static_cast<int>(file->m_lOsError) : 0;
    if (!notice.nSystemError)
        notice.strReason = e.GetErrorText().Str();
    return notice;
}

TJobNotice FolderNotice(const std::string& strDir, int nError) {
    TJobNotice notice{eJobNotice::FolderUnusable};
    notice.strSubject = strDir;
    notice.nSystemError = nError;
    return notice;
}
