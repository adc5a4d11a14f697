// The user's leave to replace existing files (--replace), asked for once per file, and writing that keeps to
// it at the moment each file takes its name, so that a file another writer puts there meanwhile is not
// replaced without leave either.
#pragma once

#include "Progress.h"
#include "platform/File.h"

#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

enum class ReplacePolicy { Ask, All, Never };

class ReplaceGate {
public:
    // progress: the status line that a question clears first; null when there is none.
    ReplaceGate(ReplacePolicy policy, Progress* progress);

    // True when nothing is at the path, or when the policy or the user allows replacing what is there.
    // shown: how the question names the file.
    bool Allow(const std::filesystem::path& path, const std::string& shown);
    // Writes the text to the path; false, with nothing written, when something is there by the time the file
    // takes its name and may not be replaced. Throws CFileException* when the file cannot be written.
    bool Write(const std::filesystem::path& path, const std::string& shown, std::string_view text);
    // The same for a file written already under a temporary name: false when it may not take the path.
    bool Put(const std::filesystem::path& path, const std::string& shown, CFileReplacement& file);

private:
    bool MayReplace(const std::filesystem::path& path);
    bool Ask(const std::string& shown);

    const ReplacePolicy policy_;
    Progress* progress_;
    std::mutex mutex_; // one question at a time, and "yes to all" holds for the rest
    bool all_;
    std::set<std::filesystem::path> allowed_;
};
