#include "jobs/Manifest.h"

#include "jobs/JobFiles.h"
#include "platform/Exceptions.h"
#include "platform/File.h"
#include "platform/Unicode.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <unordered_set>

namespace fs = std::filesystem;

namespace {

struct TStaleFile {
    std::string strPath;
    std::string strAfter; // the written file that came before it in the earlier list; empty when none did
};

// A file of the earlier list that this run did not write: still a file inside the folder, and not another
// name of a written one (as it is where the file system ignores letter case).
bool IsStale(const fs::path& dir, const std::string& strFile,
             const std::multimap<std::string, std::string>& mapWrittenByKey) {
    std::error_code ec;
    if (strFile == kManifestName || !IsFileInsideFolder(strFile) || fs::is_directory(dir / strFile, ec) ||
        !fs::exists(fs::symlink_status(dir / strFile, ec)))
        return false;
    const auto [first, end] = mapWrittenByKey.equal_range(FoldCaseUtf8(strFile));
    for (auto it = first; it != end; ++it)
        if (it->second == strFile || fs::equivalent(dir / strFile, dir / it->second, ec))
            return false;
    return true;
}

std::vector<TStaleFile> StaleFiles(const std::string& strDir, const std::vector<std::string>& aWritten) {
    std::multimap<std::string, std::string> mapWrittenByKey;
    const std::unordered_set<std::string> setWritten(aWritten.begin(), aWritten.end());
    for (const std::string& strFile : aWritten)
        mapWrittenByKey.emplace(FoldCaseUtf8(strFile), strFile);
    std::vector<TStaleFile> aStale;
    std::unordered_set<std::string> setSeen;
    std::string strAfter;
    for (const std::string& strFile : ReadManifest(strDir)) {
        if (IsStale(strDir, strFile, mapWrittenByKey) && setSeen.insert(strFile).second)
            aStale.push_back({strFile, strAfter});
        else if (setWritten.count(strFile))
            strAfter = strFile;
    }
    return aStale;
}

TJobNotice StaleNotice(eJobNotice eWhat, const std::vector<TStaleFile>& aFiles) {
    TJobNotice notice{eWhat};
    notice.eOption = eJobOption::Prune;
    for (const TStaleFile& file : aFiles)
        notice.aNames.push_back(file.strPath);
    return notice;
}

// The stale files removed, and the folders between them and strDir that they leave empty; those that could
// not be removed are returned.
std::vector<TStaleFile> Remove(const std::string& strDir, const std::vector<TStaleFile>& aStale,
                               IJobObserver& observer) {
    std::vector<TStaleFile> aKept, aRemoved;
    for (const TStaleFile& file : aStale) {
        std::error_code ec;
        if (!fs::remove(fs::path(strDir) / file.strPath, ec) && ec) {
            TJobNotice notice{eJobNotice::CannotRemove};
            notice.strSubject = file.strPath;
            notice.nSystemError = ec.value();
            observer.OnNotice(notice);
            aKept.push_back(file);
            continue;
        }
        aRemoved.push_back(file);
        for (fs::path folder = fs::path(file.strPath).parent_path(); !folder.empty();
             folder = folder.parent_path())
            if (!fs::is_empty(fs::path(strDir) / folder, ec) || !fs::remove(fs::path(strDir) / folder, ec))
                break;
    }
    if (!aRemoved.empty())
        observer.OnNotice(StaleNotice(eJobNotice::StaleFilesRemoved, aRemoved));
    return aKept;
}

std::vector<std::string> WithKept(const std::vector<std::string>& aWritten,
                                  const std::vector<TStaleFile>& aKept) {
    std::multimap<std::string, std::string> mapByAfter;
    for (const TStaleFile& file : aKept)
        mapByAfter.emplace(file.strAfter, file.strPath);
    std::vector<std::string> aFiles;
    const auto addAfter = [&](const std::string& strAfter) {
        const auto [first, end] = mapByAfter.equal_range(strAfter);
        for (auto it = first; it != end; ++it)
            aFiles.push_back(it->second);
    };
    addAfter(std::string());
    for (const std::string& strFile : aWritten) {
        aFiles.push_back(strFile);
        addAfter(strFile);
    }
    return aFiles;
}

} // namespace

std::vector<std::string> ReadManifest(const std::string& strDir) {
    std::vector<std::string> aFiles;
    std::ifstream in(fs::path(strDir) / kManifestName);
    for (std::string strLine; std::getline(in, strLine);)
        if (!strLine.empty())
            aFiles.push_back(strLine);
    return aFiles;
}

void WriteManifest(const std::string& strDir, const std::vector<std::string>& aFiles) {
    std::string strText;
    for (const std::string& strFile : aFiles)
        strText.append(strFile).append("\n");
    const fs::path path = fs::path(strDir) / kManifestName;
    WritingFile(path.string(), [&] { WriteFileReplacing(path.c_str(), strText.data(), strText.size()); });
}

bool ConcludeManifest(const std::string& strDir, const std::vector<std::string>& aWritten, bool bPrune,
                      IJobObserver& observer) {
    const std::vector<TStaleFile> aStale = StaleFiles(strDir, aWritten);
    std::vector<TStaleFile> aKept = aStale;
    if (bPrune)
        aKept = Remove(strDir, aStale, observer);
    else if (!aStale.empty())
        observer.OnNotice(StaleNotice(eJobNotice::StaleFilesKept, aStale));
    WriteManifest(strDir, WithKept(aWritten, aKept));
    return !bPrune || aKept.empty();
}
