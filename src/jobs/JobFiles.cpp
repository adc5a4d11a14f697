#include "jobs/JobFiles.h"

#include "platform/Exceptions.h"
#include "platform/File.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace fs = std::filesystem;

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
