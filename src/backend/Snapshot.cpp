#include "backend/Snapshot.h"

#include "backend/SnapshotReader.h"
#include "backend/SnapshotWriter.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class CSnapshotError {
public:
    explicit CSnapshotError(const std::string& strPath) : m_strPath(strPath) {}
    [[noreturn]] void Throw(const std::string& strProblem) const {
        AfxThrowDBException("HY000", 0, CString("Catalog snapshot " + m_strPath + ": " + strProblem));
    }

private:
    const std::string& m_strPath;
};

// Why the file at strPath cannot be read as a snapshot, or nothing.
std::optional<std::string> Unreadable(const std::string& strPath) {
    struct stat info {};
    if (::stat(strPath.c_str(), &info) != 0)
        return std::strerror(errno);
    if (!S_ISREG(info.st_mode))
        return std::strerror(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    return std::nullopt;
}

} // namespace

std::shared_ptr<const CCatalogSnapshot> CCatalogSnapshot::Load(const std::string& strPath) {
    const CSnapshotError err(strPath);
    if (const std::optional<std::string> strWhy = Unreadable(strPath))
        err.Throw("cannot be read: " + *strWhy);
    const int fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        err.Throw(std::string("cannot be read: ") + std::strerror(errno));
    const std::unique_ptr<const int, void (*)(const int*)> closer(&fd, [](const int* p) { ::close(*p); });
    struct stat info {};
    ::fstat(fd, &info);
    auto pSnapshot = std::make_shared<CCatalogSnapshot>();
    pSnapshot->m_strPath = strPath;
    pSnapshot->m_content.pText =
        std::make_unique<CSnapshotText>(fd, static_cast<size_t>(info.st_size), strPath);
    pSnapshot->m_content = ReadSnapshot(std::move(pSnapshot->m_content), strPath);
    const std::vector<TSnapshotEntry>& aEntries = pSnapshot->m_content.aEntries;
    pSnapshot->m_index.reserve(aEntries.size());
    for (size_t i = 0; i < aEntries.size(); ++i)
        pSnapshot->m_index.emplace(aEntries[i].strSql, i); // the first answer wins
    return pSnapshot;
}

std::shared_ptr<const CCatalogSnapshot> CCatalogSnapshot::Open(const std::string& strPath) {
    // A file's entry is locked while it loads: a file opened twice at once loads once, two files load at
    // once.
    struct TLoaded {
        std::mutex mutex;
        std::weak_ptr<const CCatalogSnapshot> pSnapshot;
    };
    static std::mutex mutex;
    static std::map<std::string, TLoaded> loaded;
    std::error_code ec;
    const std::string strKey = std::filesystem::weakly_canonical(strPath, ec).string();
    TLoaded* pLoaded = nullptr;
    {
        std::lock_guard lock(mutex);
        pLoaded = &loaded[ec ? strPath : strKey];
    }
    std::lock_guard lock(pLoaded->mutex);
    if (auto pSnapshot = pLoaded->pSnapshot.lock())
        return pSnapshot;
    auto pSnapshot = Load(strPath);
    pLoaded->pSnapshot = pSnapshot;
    return pSnapshot;
}

const TSnapshotEntry* CCatalogSnapshot::Find(std::string_view strSql) const {
    const auto it = m_index.find(strSql);
    return it == m_index.end() ? nullptr : &m_content.aEntries[it->second];
}

TDbRow CCatalogSnapshot::GetRow(const TSnapshotEntry& entry, size_t nRow) const {
    const size_t nColumns = entry.pColumns->size();
    return m_content.values.Get(entry.nFirstValue + nRow * nColumns, nColumns);
}

void CCatalogSnapshot::SaveAs(const std::string& strPath) const {
    CSnapshotWriter writer(strPath, m_content.strSource, m_content.strDatabase);
    for (const TSnapshotEntry& entry : m_content.aEntries) {
        if (entry.pError) {
            writer.WriteError(entry.strSql, *entry.pError);
            continue;
        }
        writer.WriteStatement(entry.strSql, *entry.pColumns);
        for (size_t i = 0; i < entry.nRows; ++i)
            writer.WriteRow(GetRow(entry, i));
    }
    writer.Finish(m_content.strCutShort);
}

void CCatalogSnapshot::Save(const std::string& strPath, const std::vector<TSnapshotStatement>& aStatements,
                            const std::string& strSource) {
    CSnapshotWriter writer(strPath, strSource);
    std::vector<TDbValue> aValues;
    for (const TSnapshotStatement& stmt : aStatements) {
        if (stmt.error) {
            writer.WriteError(stmt.strSql, *stmt.error);
            continue;
        }
        writer.WriteStatement(stmt.strSql, stmt.aColumns);
        for (const TDbRowText& row : stmt.aRows)
            writer.WriteRow(ViewRow(row, aValues));
    }
    writer.Finish("");
}
