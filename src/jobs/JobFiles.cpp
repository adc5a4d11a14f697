#include "jobs/JobFiles.h"

#include "platform/Exceptions.h"
#include "platform/File.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

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

void WritingFile(const std::string& strPath, const std::function<void()>& work) {
    try {
        work();
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        throw CJobFailure(eModelTask::WriteFile, FileNotice(eJobNotice::CannotWrite, strPath, *e));
    }
}

bool IsFileInsideFolder(const std::string& strPath) {
    const fs::path relative(strPath);
    return !strPath.empty() && !relative.is_absolute() && relative.has_filename() &&
           std::none_of(relative.begin(), relative.end(), [](const fs::path& part) { return part == ".."; });
}

int MakeFolder(const std::string& strDir) {
    std::error_code ec;
    fs::create_directories(strDir, ec);
    if (!ec && fs::is_directory(strDir, ec))
        return 0;
    return ec ? ec.value() : ENOTDIR;
}

int FolderObstacle(const std::string& strDir) {
    std::error_code ec;
    for (fs::path path = fs::absolute(strDir, ec); !path.empty(); path = path.parent_path()) {
        if (fs::exists(path, ec))
            return fs::is_directory(path, ec) ? 0 : ENOTDIR;
        if (path == path.parent_path())
            break;
    }
    return 0;
}

void RemoveDebrisIn(const std::string& strDir, IJobObserver& observer) {
    if (const size_t nCount = RemoveStaleTemporaryFiles(strDir.c_str())) {
        TJobNotice notice{eJobNotice::DebrisRemoved};
        notice.strSubject = strDir;
        notice.nCount = static_cast<long>(nCount);
        observer.OnNotice(notice);
    }
}
