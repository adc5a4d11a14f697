#include "backend/SnapshotWriter.h"

#include "backend/SnapshotContent.h"
#include "platform/Unicode.h"

#include <simdjson.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <strings.h>

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

// Text written exactly as a 64-bit integer prints (no sign "+", no leading zeros, no "-0"), which a JSON
// integer gives back alike.
bool IsCanonicalInteger(std::string_view str) {
    std::int64_t nValue = 0;
    const auto [pEnd, ec] = std::from_chars(str.data(), str.data() + str.size(), nValue);
    const std::string_view strDigits = str.substr(str.starts_with('-') ? 1 : 0);
    return ec == std::errc() && pEnd == str.data() + str.size() &&
           (!strDigits.starts_with('0') || str == "0");
}

// Eight bytes at once: whether any is a control character, a quote or a backslash.
bool NeedsEscape(std::uint64_t n) {
    constexpr std::uint64_t kOnes = 0x0101010101010101, kHigh = 0x8080808080808080;
    const auto hasZero = [](std::uint64_t x) { return (x - kOnes) & ~x & kHigh; };
    return ((n - 0x20 * kOnes) & ~n & kHigh) | hasZero(n ^ ('"' * kOnes)) | hasZero(n ^ ('\\' * kOnes));
}

// str as a JSON string: quotes, backslashes and control characters escaped, bytes that are not UTF-8
// replaced by U+FFFD.
void AppendString(std::string& strOut, std::string_view str) {
    std::string strValid;
    if (!simdjson::validate_utf8(str.data(), str.size())) {
        const std::u16string strWide = Utf8ToUtf16(str);
        AppendUtf16AsUtf8(strValid, strWide.data(), strWide.size());
        str = strValid;
    }
    strOut += '"';
    size_t nDone = 0;
    for (size_t i = 0; i < str.size(); ++i) {
        std::uint64_t n = 0;
        if (i + sizeof n <= str.size()) {
            std::memcpy(&n, str.data() + i, sizeof n);
            if (!NeedsEscape(n)) {
                i += sizeof n - 1;
                continue;
            }
        }
        const auto ch = static_cast<unsigned char>(str[i]);
        if (ch >= 0x20 && ch != '"' && ch != '\\')
            continue;
        strOut.append(str, nDone, i - nDone);
        nDone = i + 1;
        constexpr std::string_view kShort = "\bb\tt\nn\ff\rr\"\"\\\\"; // each with its letter
        if (const size_t n = kShort.find(static_cast<char>(ch)); n % 2 == 0) {
            strOut += '\\';
            strOut += kShort[n + 1];
            continue;
        }
        char szEscape[8];
        std::snprintf(szEscape, sizeof szEscape, "\\u%04x", ch);
        strOut += szEscape;
    }
    strOut.append(str, nDone);
    strOut += '"';
}

// "name": and a string, after a comma unless it is the object's first member.
void AppendMember(std::string& strOut, const char* pszName, std::string_view str) {
    strOut += strOut.back() == '{' ? "\"" : ",\"";
    strOut += pszName;
    strOut += "\":";
    AppendString(strOut, str);
}

[[noreturn]] void ThrowFileError(int nError, const std::string& strPath) {
    AfxThrowFileException(CFileException::genericException, nError, strPath.c_str());
}

} // namespace

CSnapshotWriter::CSnapshotWriter(const std::string& strPath, const std::string& strSource,
                                 const std::string& strDatabase)
    : m_strPath(strPath), m_temporary(strPath.c_str()) {
    m_out.open(m_temporary.Get().Str(), std::ios::binary | std::ios::trunc);
    if (!m_out)
        ThrowFileError(errno, m_strPath);
    m_strLine = "{";
    AppendMember(m_strLine, "format", kSnapshotFormat);
    m_strLine += ",\"version\":" + std::to_string(kSnapshotVersion);
    AppendMember(m_strLine, "source", strSource);
    if (!strDatabase.empty())
        AppendMember(m_strLine, "database", strDatabase);
    WriteLine("}");
}

CSnapshotWriter::CSnapshotWriter(TSpool, const std::string& strBeside)
    : m_strPath(strBeside), m_temporary(strBeside.c_str()) {
    m_out.open(m_temporary.Get().Str(), std::ios::binary | std::ios::trunc);
    if (!m_out)
        ThrowFileError(errno, m_temporary.Get().Str());
}

void CSnapshotWriter::Append(CSnapshotWriter& spool) {
    spool.m_out.close();
    std::ifstream in(spool.m_temporary.Get().Str(), std::ios::binary);
    if (!spool.m_out || !in || !(m_out << in.rdbuf()))
        ThrowFileError(errno, m_strPath);
}

CSnapshotWriter::~CSnapshotWriter() {
    if (m_bFinished)
        return;
    m_out.close();
    std::remove(m_temporary);
}

void CSnapshotWriter::WriteStatement(std::string_view strSql, const std::vector<TDbColumn>& aColumns) {
    m_strLine = "{";
    AppendMember(m_strLine, "sql", strSql);
    m_strLine += ",\"columns\":[";
    m_aWholeNumbers.clear();
    for (const TDbColumn& column : aColumns) {
        m_strLine += m_aWholeNumbers.empty() ? "{" : ",{";
        AppendMember(m_strLine, "name", column.strName);
        AppendMember(m_strLine, "type", column.strTypeName);
        m_strLine += '}';
        m_aWholeNumbers.push_back(IsWholeNumberColumn(column));
    }
    WriteLine("]}");
}

void CSnapshotWriter::WriteRow(TDbRow row) {
    m_strLine = "[";
    for (size_t i = 0; i < row.size(); ++i) {
        if (i > 0)
            m_strLine += ',';
        const std::string_view str = *row[i];
        if (!row[i])
            m_strLine += "null";
        else if (i < m_aWholeNumbers.size() && m_aWholeNumbers[i] && IsCanonicalInteger(str))
            m_strLine += str;
        else
            AppendString(m_strLine, str);
    }
    WriteLine("]");
}

void CSnapshotWriter::WriteError(std::string_view strSql, const TDiagRecord& error) {
    m_strLine = "{";
    AppendMember(m_strLine, "sql", strSql);
    m_strLine += ",\"error\":{";
    AppendMember(m_strLine, "sqlstate", error.strSqlState.Str());
    m_strLine += ",\"native\":" + std::to_string(error.nNativeError);
    AppendMember(m_strLine, "message", error.strMessage.Str());
    WriteLine("}}");
}

void CSnapshotWriter::Finish(const std::string& strCutShort) {
    m_strLine = "{";
    AppendMember(m_strLine, "end", strCutShort.empty() ? "complete" : "cut short");
    if (!strCutShort.empty())
        AppendMember(m_strLine, "reason", strCutShort);
    WriteLine("}");
    m_out.close();
    if (!m_out)
        ThrowFileError(errno, m_strPath);
    if (std::rename(m_temporary, m_strPath.c_str()) != 0)
        ThrowFileError(errno, m_strPath);
    m_bFinished = true;
}

void CSnapshotWriter::WriteLine(const char* pszEnd) {
    m_strLine += pszEnd;
    m_strLine += '\n';
    m_out.write(m_strLine.data(), static_cast<std::streamsize>(m_strLine.size()));
}
