#include "Manifest.h"

#include "ExportOutput.h"
#include "Messages.h"
#include "model/ModelError.h"
#include "platform/Exceptions.h"
#include "platform/File.h"
#include "platform/Text.h"
#include "platform/Unicode.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <unordered_set>

namespace fs = std::filesystem;

namespace {

struct StaleFile {
    std::string path;
    std::string after; // the written file that came before it in the earlier list; empty when none did
};

// A file of the earlier list that this run did not write: still a file inside the folder, and not another
// name of a written one (as it is where the file system ignores letter case).
bool IsStale(const fs::path& dir, const std::string& file,
             const std::multimap<std::string, std::string>& writtenByKey) {
    std::error_code ec;
    if (file == kManifestName || !IsFileInsideFolder(file) || fs::is_directory(dir / file, ec) ||
        !fs::exists(fs::symlink_status(dir / file, ec)))
        return false;
    const auto [first, end] = writtenByKey.equal_range(FoldCaseUtf8(file));
    for (auto it = first; it != end; ++it)
        if (it->second == file || fs::equivalent(dir / file, dir / it->second, ec))
            return false;
    return true;
}

std::vector<StaleFile> StaleFiles(const std::string& dir, const std::vector<std::string>& written) {
    std::multimap<std::string, std::string> writtenByKey;
    const std::unordered_set<std::string> writtenSet(written.begin(), written.end());
    for (const std::string& file : written)
        writtenByKey.emplace(FoldCaseUtf8(file), file);
    std::vector<StaleFile> stale;
    std::unordered_set<std::string> seen;
    std::string after;
    for (const std::string& file : ReadManifest(dir)) {
        if (IsStale(dir, file, writtenByKey) && seen.insert(file).second)
            stale.push_back({file, after});
        else if (writtenSet.count(file))
            after = file;
    }
    return stale;
}

std::vector<std::string> Paths(const std::vector<StaleFile>& files) {
    std::vector<std::string> paths;
    for (const StaleFile& file : files)
        paths.push_back(file.path);
    return paths;
}

// The stale files removed, and the folders between them and dir that they leave empty; those that could not
// be removed are returned.
std::vector<StaleFile> Remove(const std::string& dir, const std::vector<StaleFile>& stale) {
    std::vector<StaleFile> kept, removed;
    for (const StaleFile& file : stale) {
        std::error_code ec;
        if (!fs::remove(fs::path(dir) / file.path, ec) && ec) {
            Say(Format(Tr("cannot remove %s: %s"), file.path.c_str(), SystemReason(ec.value()).c_str()));
            kept.push_back(file);
            continue;
        }
        removed.push_back(file);
        for (fs::path folder = fs::path(file.path).parent_path(); !folder.empty();
             folder = folder.parent_path())
            if (!fs::is_empty(fs::path(dir) / folder, ec) || !fs::remove(fs::path(dir) / folder, ec))
                break;
    }
    if (!removed.empty())
        Say(Format(TrN("removed %zu file an earlier export wrote and this one did not: %s",
                       "removed %zu files an earlier export wrote and this one did not: %s", removed.size()),
                   removed.size(), JoinText(Paths(removed)).c_str()));
    return kept;
}

std::vector<std::string> WithKept(const std::vector<std::string>& written,
                                  const std::vector<StaleFile>& kept) {
    std::multimap<std::string, std::string> byAfter;
    for (const StaleFile& file : kept)
        byAfter.emplace(file.after, file.path);
    std::vector<std::string> files;
    const auto addAfter = [&](const std::string& after) {
        const auto [first, end] = byAfter.equal_range(after);
        for (auto it = first; it != end; ++it)
            files.push_back(it->second);
    };
    addAfter(std::string());
    for (const std::string& file : written) {
        files.push_back(file);
        addAfter(file);
    }
    return files;
}

} // namespace

std::vector<std::string> ReadManifest(const std::string& dir) {
    std::vector<std::string> files;
    std::ifstream in(fs::path(dir) / kManifestName);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            files.push_back(line);
    return files;
}

void WriteManifest(const std::string& dir, const std::vector<std::string>& files) {
    std::string text;
    for (const std::string& file : files)
        text.append(file).append("\n");
    const fs::path path = fs::path(dir) / kManifestName;
    try {
        WriteFileReplacing(path.c_str(), text.data(), text.size());
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        throw CModelError(eModelTask::WriteFile, path.string(), FileFailureReason(*e));
    }
}

bool ConcludeManifest(const std::string& dir, const std::vector<std::string>& written, bool prune) {
    const std::vector<StaleFile> stale = StaleFiles(dir, written);
    std::vector<StaleFile> kept = stale;
    if (prune)
        kept = Remove(dir, stale);
    else if (!stale.empty())
        Say(Format(
            TrN("%zu file an earlier export wrote is not written any more (--prune removes it): %s",
                "%zu files an earlier export wrote are not written any more (--prune removes them): %s",
                stale.size()),
            stale.size(), JoinText(Paths(stale)).c_str()));
    WriteManifest(dir, WithKept(written, kept));
    return !prune || kept.empty();
}
