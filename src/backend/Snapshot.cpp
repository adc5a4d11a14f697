#include "backend/Snapshot.h"

#include "backend/SnapshotReader.h"
#include "backend/SnapshotWriter.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sys/stat.h>

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
    // Read rather than mapped: a file that another program cuts short meanwhile reads as text that ends
    // early, where a mapping would fault.
    std::vector<char> aBuffer(size_t(1) << 20); // fewer, larger reads
    std::ifstream file;
    file.rdbuf()->pubsetbuf(aBuffer.data(), static_cast<std::streamsize>(aBuffer.size()));
    file.open(strPath, std::ios::binary);
    auto pSnapshot = std::make_shared<CCatalogSnapshot>();
    pSnapshot->m_strPath = strPath;
    try {
        pSnapshot->m_content = ReadSnapshot(file, strPath);
    } catch (const std::ios_base::failure& e) {
        err.Throw(std::string("cannot be read: ") + e.what());
    }
    if (file.bad())
        err.Throw("cannot be read");
    const std::vector<TSnapshotEntry>& aEntries = pSnapshot->m_content.aEntries;
    pSnapshot->m_index.reserve(aEntries.size());
    for (size_t i = 0; i < aEntries.size(); ++i)
        pSnapshot->m_index.emplace(aEntries[i].strSql, i); // the first answer wins
    return pSnapshot;
}

std::shared_ptr<const CCatalogSnapshot> CCatalogSnapshot::Open(const std::string& strPath) {
    static std::mutex mutex;
    static std::map<std::string, std::weak_ptr<const CCatalogSnapshot>> loaded;
    std::error_code ec;
    const std::string strKey = std::filesystem::weakly_canonical(strPath, ec).string();
    std::lock_guard lock(mutex);
    std::weak_ptr<const CCatalogSnapshot>& entry = loaded[ec ? strPath : strKey];
    if (auto pSnapshot = entry.lock())
        return pSnapshot;
    auto pSnapshot = Load(strPath);
    entry = pSnapshot;
    return pSnapshot;
}

const TSnapshotEntry* CCatalogSnapshot::Find(std::string_view strSql) const {
    const auto it = m_index.find(strSql);
    return it == m_index.end() ? nullptr : &m_content.aEntries[it->second];
}

void CCatalogSnapshot::GetRow(const TSnapshotEntry& entry, size_t nRow, TDbRow& row) const {
    const size_t nColumns = entry.pColumns->size();
    row.resize(nColumns);
    for (size_t i = 0; i < nColumns; ++i) {
        const std::optional<std::string_view> value =
            m_content.values.Get(entry.nFirstValue + nRow * nColumns + i);
        if (!value)
            row[i].reset();
        else if (row[i])
            row[i]->assign(*value);
        else
            row[i].emplace(*value);
    }
}

void CCatalogSnapshot::SaveAs(const std::string& strPath) const {
    CSnapshotWriter writer(strPath, m_content.strSource);
    TDbRow row;
    for (const TSnapshotEntry& entry : m_content.aEntries) {
        if (entry.pError) {
            writer.WriteError(entry.strSql, *entry.pError);
            continue;
        }
        writer.WriteStatement(entry.strSql, *entry.pColumns);
        for (size_t i = 0; i < entry.nRows; ++i) {
            GetRow(entry, i, row);
            writer.WriteRow(row);
        }
    }
    writer.Finish(m_content.strCutShort);
}

void CCatalogSnapshot::Save(const std::string& strPath, const std::vector<TSnapshotStatement>& aStatements,
                            const std::string& strSource) {
    CSnapshotWriter writer(strPath, strSource);
    for (const TSnapshotStatement& stmt : aStatements) {
        if (stmt.error) {
            writer.WriteError(stmt.strSql, *stmt.error);
            continue;
        }
        writer.WriteStatement(stmt.strSql, stmt.aColumns);
        for (const TDbRow& row : stmt.aRows)
            writer.WriteRow(row);
    }
    writer.Finish("");
}
