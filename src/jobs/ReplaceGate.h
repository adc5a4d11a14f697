// The leave to replace existing files, asked for once per file, and writing that keeps to it at the moment
// each file takes its name, so that a file another writer puts there meanwhile is not replaced without leave
// either.
#pragma once

#include "platform/File.h"
#include "scripts/ExportJobs.h"

#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

class CReplaceGate {
public:
    // observer: asked about each existing file under eReplacePolicy::Ask.
    CReplaceGate(eReplacePolicy ePolicy, IExportObserver& observer);

    // True when nothing is at the path, or when the policy or the answer allows replacing what is there.
    // strShown: how the question names the file.
    bool Allow(const std::filesystem::path& path, const std::string& strShown);
    // Writes the text to the path; false, with nothing written, when something is there by the time the file
    // takes its name and may not be replaced. Throws CFileException* when the file cannot be written.
    bool Write(const std::filesystem::path& path, const std::string& strShown, std::string_view strText);
    // The same for a file written already under a temporary name: false when it may not take the path.
    bool Put(const std::filesystem::path& path, const std::string& strShown, CFileReplacement& file);

private:
    bool MayReplace(const std::filesystem::path& path);

    const eReplacePolicy m_ePolicy;
    IExportObserver& m_observer;
    std::mutex m_mutex; // one question at a time, and "yes to all" holds for the rest
    bool m_bAll;
    std::set<std::filesystem::path> m_setAllowed;
};
