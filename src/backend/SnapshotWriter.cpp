#include "backend/SnapshotWriter.h"

#include "backend/SnapshotContent.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <strings.h>
#include <unistd.h>

// Snapshots are written with nlohmann-json and read with simdjson, which writes no JSON of its own: its
// escaping and its replacement of bytes that are not UTF-8 would have to be written here by hand.
using ordered_json = nlohmann::ordered_json;

namespace {

constexpr const char* kWholeNumberTypes[] = {"int",    "integer", "smallint",   "tinyint",
                                             "bigint", "bit",     "sql_variant"};

// Columns whose values a snapshot keeps as JSON integers: by ODBC type, or for columns read back from a
// snapshot, which keeps only the server's type name, by that name.
bool IsWholeNumberColumn(const TDbColumn& column) {
    switch (column.nSqlType) {
    case 4:    // SQL_INTEGER
    case 5:    // SQL_SMALLINT
    case -6:   // SQL_TINYINT
    case -5:   // SQL_BIGINT
    case -7:   // SQL_BIT
    case -150: // SQL Server's sql_variant
        return true;
    case 0:
        return std::any_of(std::begin(kWholeNumberTypes), std::end(kWholeNumberTypes),
                           [&](const char* psz) { return strcasecmp(column.strTypeName.c_str(), psz) == 0; });
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

ordered_json ValueToJson(const TDbValue& value, bool bWholeNumber) {
    if (!value)
        return nullptr;
    if (!bWholeNumber)
        return *value;
    if (const std::optional<std::int64_t> nValue = CanonicalInteger(*value))
        return *nValue;
    return *value;
}

std::string Dump(const ordered_json& line) {
    return line.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}

[[noreturn]] void ThrowFileError(int nError, const std::string& strPath) {
    AfxThrowFileException(CFileException::genericException, nError, strPath.c_str());
}

} // namespace

CSnapshotWriter::CSnapshotWriter(const std::string& strPath, const std::string& strSource)
    : m_strPath(strPath), m_strTemp(strPath + ".tmp" + std::to_string(::getpid())) {
    m_out.open(m_strTemp, std::ios::binary | std::ios::trunc);
    if (!m_out)
        ThrowFileError(errno, m_strPath);
    ordered_json header;
    header["format"] = kSnapshotFormat;
    header["version"] = kSnapshotVersion;
    header["source"] = strSource;
    WriteLine(Dump(header));
}

CSnapshotWriter::CSnapshotWriter(TSpool, const std::string& strBeside) : m_strPath(strBeside) {
    static std::atomic<unsigned long> nNext{0};
    m_strTemp = strBeside + ".spool" + std::to_string(::getpid()) + "-" + std::to_string(nNext++);
    m_out.open(m_strTemp, std::ios::binary | std::ios::trunc);
    if (!m_out)
        ThrowFileError(errno, m_strTemp);
}

void CSnapshotWriter::Append(CSnapshotWriter& spool) {
    spool.m_out.close();
    std::ifstream in(spool.m_strTemp, std::ios::binary);
    if (!spool.m_out || !in || !(m_out << in.rdbuf()))
        ThrowFileError(errno, m_strPath);
}

CSnapshotWriter::~CSnapshotWriter() {
    if (m_bFinished)
        return;
    m_out.close();
    std::remove(m_strTemp.c_str());
}

void CSnapshotWriter::WriteStatement(const std::string& strSql, const std::vector<TDbColumn>& aColumns) {
    ordered_json line;
    line["sql"] = strSql;
    ordered_json& columns = line["columns"] = ordered_json::array();
    m_aWholeNumbers.clear();
    for (const TDbColumn& column : aColumns) {
        columns.push_back({{"name", column.strName}, {"type", column.strTypeName}});
        m_aWholeNumbers.push_back(IsWholeNumberColumn(column));
    }
    WriteLine(Dump(line));
}

void CSnapshotWriter::WriteRow(const TDbRow& row) {
    ordered_json values = ordered_json::array();
    for (size_t i = 0; i < row.size(); ++i)
        values.push_back(ValueToJson(row[i], i < m_aWholeNumbers.size() && m_aWholeNumbers[i]));
    WriteLine(Dump(values));
}

void CSnapshotWriter::WriteError(const std::string& strSql, const TDiagRecord& error) {
    ordered_json line;
    line["sql"] = strSql;
    line["error"] = {{"sqlstate", error.strSqlState.Str()},
                     {"native", error.nNativeError},
                     {"message", error.strMessage.Str()}};
    WriteLine(Dump(line));
}

void CSnapshotWriter::Finish(const std::string& strCutShort) {
    ordered_json end;
    end["end"] = strCutShort.empty() ? "complete" : "cut short";
    if (!strCutShort.empty())
        end["reason"] = strCutShort;
    WriteLine(Dump(end));
    m_out.close();
    if (!m_out)
        ThrowFileError(errno, m_strPath);
    if (std::rename(m_strTemp.c_str(), m_strPath.c_str()) != 0)
        ThrowFileError(errno, m_strPath);
    m_bFinished = true;
}

void CSnapshotWriter::WriteLine(const std::string& strLine) {
    m_out << strLine << '\n';
}
