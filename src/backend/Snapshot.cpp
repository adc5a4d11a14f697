#include "backend/Snapshot.h"

#include "backend/SnapshotReader.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

// Snapshots are written with nlohmann-json and read with simdjson, which writes no JSON of its own: its
// escaping and its replacement of bytes that are not UTF-8 would have to be written here by hand.
using ordered_json = nlohmann::ordered_json;

namespace {

// SQL types whose values a snapshot keeps as JSON integers.
bool IsWholeNumberType(SWORD nSqlType) {
    switch (nSqlType) {
    case 4:    // SQL_INTEGER
    case 5:    // SQL_SMALLINT
    case -6:   // SQL_TINYINT
    case -5:   // SQL_BIGINT
    case -7:   // SQL_BIT
    case -150: // SQL Server's sql_variant
        return true;
    default:
        return false;
    }
}

// The value of text written exactly as a 64-bit integer prints (no sign "+", no leading zeros, no "-0").
std::optional<std::int64_t> CanonicalInteger(const std::string& str) {
    std::int64_t nValue = 0;
    const auto [pEnd, ec] = std::from_chars(str.data(), str.data() + str.size(), nValue);
    if (ec != std::errc() || pEnd != str.data() + str.size() || std::to_string(nValue) != str)
        return std::nullopt;
    return nValue;
}

class CSnapshotError {
public:
    explicit CSnapshotError(const std::string& strPath) : m_strPath(strPath) {}
    [[noreturn]] void Throw(const std::string& strProblem) const {
        AfxThrowDBException("HY000", 0, CString("Catalog snapshot " + m_strPath + ": " + strProblem));
    }

private:
    const std::string& m_strPath;
};

// A snapshot file, read rather than mapped: one that another program cuts short meanwhile reads as text
// that ends early, where a mapping would fault.
class CSnapshotFile {
public:
    CSnapshotFile() = default;
    CSnapshotFile(const CSnapshotFile&) = delete;
    CSnapshotFile& operator=(const CSnapshotFile&) = delete;
    ~CSnapshotFile() {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    // False with errno set when the file cannot be read.
    bool Open(const std::string& strPath) {
        m_fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
        if (m_fd < 0)
            return false;
        struct stat info {};
        if (::fstat(m_fd, &info) != 0)
            return false;
        if (!S_ISREG(info.st_mode))
            errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return S_ISREG(info.st_mode);
    }

    size_t Read(char* pBuffer, size_t nSize, size_t nOffset) const {
        size_t nDone = 0;
        while (nDone < nSize) {
            const ssize_t nRead =
                ::pread(m_fd, pBuffer + nDone, nSize - nDone, static_cast<off_t>(nOffset + nDone));
            if (nRead == 0)
                break;
            if (nRead > 0)
                nDone += static_cast<size_t>(nRead);
            else if (errno != EINTR)
                throw TSnapshotProblem{std::string("cannot be read: ") + std::strerror(errno)};
        }
        return nDone;
    }

private:
    int m_fd = -1;
};

ordered_json ValueToJson(const TDbValue& value, SWORD nSqlType) {
    if (!value)
        return nullptr;
    if (!IsWholeNumberType(nSqlType))
        return *value;
    if (const std::optional<std::int64_t> nValue = CanonicalInteger(*value))
        return *nValue;
    return *value;
}

ordered_json StatementToJson(const TSnapshotStatement& stmt) {
    ordered_json item;
    item["sql"] = stmt.strSql;
    if (stmt.error) {
        item["error"] = {{"sqlstate", stmt.error->strSqlState.Str()},
                         {"native", stmt.error->nNativeError},
                         {"message", stmt.error->strMessage.Str()}};
        return item;
    }
    ordered_json columns = ordered_json::array();
    for (const TDbColumn& column : stmt.aColumns)
        columns.push_back({{"name", column.strName}, {"type", column.strTypeName}});
    ordered_json rows = ordered_json::array();
    for (const TDbRow& row : stmt.aRows) {
        ordered_json values = ordered_json::array();
        for (size_t i = 0; i < row.size(); ++i)
            values.push_back(ValueToJson(row[i], i < stmt.aColumns.size() ? stmt.aColumns[i].nSqlType : 0));
        rows.push_back(std::move(values));
    }
    item["columns"] = std::move(columns);
    item["rows"] = std::move(rows);
    return item;
}

} // namespace

std::shared_ptr<const CCatalogSnapshot> CCatalogSnapshot::Load(const std::string& strPath) {
    const CSnapshotError err(strPath);
    CSnapshotFile file;
    if (!file.Open(strPath))
        err.Throw(std::string("cannot be read: ") + std::strerror(errno));
    auto pSnapshot = std::make_shared<CCatalogSnapshot>();
    pSnapshot->m_strPath = strPath;
    try {
        pSnapshot->m_aStatements = ReadSnapshot([&file](char* pBuffer, size_t nSize, size_t nOffset) {
            return file.Read(pBuffer, nSize, nOffset);
        });
    } catch (const TSnapshotProblem& problem) {
        err.Throw(problem.strText);
    }
    pSnapshot->m_index.reserve(pSnapshot->m_aStatements.size());
    for (size_t i = 0; i < pSnapshot->m_aStatements.size(); ++i)
        pSnapshot->m_index.emplace(pSnapshot->m_aStatements[i].strSql, i); // the first answer wins
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

const TSnapshotStatement* CCatalogSnapshot::Find(std::string_view strSql) const {
    const auto it = m_index.find(strSql);
    return it == m_index.end() ? nullptr : &m_aStatements[it->second];
}

void CCatalogSnapshot::Save(const std::string& strPath, const std::vector<TSnapshotStatement>& aStatements,
                            const std::string& strSource) {
    ordered_json doc;
    doc["format"] = kSnapshotFormat;
    doc["version"] = kSnapshotVersion;
    doc["source"] = strSource;
    ordered_json statements = ordered_json::array();
    for (const TSnapshotStatement& stmt : aStatements)
        statements.push_back(StatementToJson(stmt));
    doc["statements"] = std::move(statements);

    const std::string strTemp = strPath + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(strTemp, std::ios::binary | std::ios::trunc);
        out << doc.dump(1, ' ', false, ordered_json::error_handler_t::replace) << '\n';
        out.close();
        if (!out) {
            std::remove(strTemp.c_str());
            AfxThrowFileException(CFileException::genericException, errno, strPath.c_str());
        }
    }
    if (std::rename(strTemp.c_str(), strPath.c_str()) != 0) {
        const int nErr = errno;
        std::remove(strTemp.c_str());
        AfxThrowFileException(CFileException::genericException, nErr, strPath.c_str());
    }
}
