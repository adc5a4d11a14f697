#include "platform/Snapshot.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <unistd.h>

using json = nlohmann::json;
using ordered_json = nlohmann::ordered_json;

namespace {

constexpr const char* kFormat = "sqlscripts-catalog-snapshot";
constexpr int kVersion = 1;

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

TDbValue ValueFromJson(const json& value, const CSnapshotError& err, const std::string& strWhere) {
    switch (value.type()) {
    case json::value_t::null:
        return std::nullopt;
    case json::value_t::string:
        return value.get_ref<const std::string&>();
    case json::value_t::boolean:
        return std::string(value.get<bool>() ? "1" : "0");
    case json::value_t::number_integer:
    case json::value_t::number_unsigned:
    case json::value_t::number_float:
        return value.dump();
    default:
        err.Throw(strWhere + ": a value must be a string, a number or null");
    }
}

const json& Member(const json& object, const char* pszKey, json::value_t type, const char* pszTypeName,
                   const CSnapshotError& err, const std::string& strWhere) {
    const auto it = object.find(pszKey);
    if (it == object.end())
        err.Throw(strWhere + ": \"" + pszKey + "\" is missing");
    const bool bMatches = it->type() == type || (type == json::value_t::number_integer && it->is_number_integer());
    if (!bMatches)
        err.Throw(strWhere + ": \"" + pszKey + "\" must be " + pszTypeName);
    return *it;
}

TSnapshotStatement StatementFromJson(const json& item, size_t nIndex, const CSnapshotError& err) {
    const std::string strWhere = "statement " + std::to_string(nIndex + 1);
    if (!item.is_object())
        err.Throw(strWhere + ": must be an object");
    TSnapshotStatement stmt;
    stmt.strSql = Member(item, "sql", json::value_t::string, "a string", err, strWhere).get<std::string>();
    if (const auto it = item.find("error"); it != item.end()) {
        if (!it->is_object())
            err.Throw(strWhere + ": \"error\" must be an object");
        const std::string strErr = strWhere + " error";
        TDiagRecord rec;
        rec.strSqlState = Member(*it, "sqlstate", json::value_t::string, "a string", err, strErr).get<std::string>();
        rec.nNativeError = Member(*it, "native", json::value_t::number_integer, "an integer", err, strErr).get<long>();
        rec.strMessage = Member(*it, "message", json::value_t::string, "a string", err, strErr).get<std::string>();
        stmt.error = std::move(rec);
        return stmt;
    }
    for (const json& col : Member(item, "columns", json::value_t::array, "an array", err, strWhere)) {
        if (!col.is_object())
            err.Throw(strWhere + ": each column must be an object");
        TDbColumn column;
        column.strName = Member(col, "name", json::value_t::string, "a string", err, strWhere).get<std::string>();
        if (const auto itType = col.find("type"); itType != col.end() && itType->is_string())
            column.strTypeName = itType->get<std::string>();
        stmt.aColumns.push_back(std::move(column));
    }
    const json& rows = Member(item, "rows", json::value_t::array, "an array", err, strWhere);
    stmt.aRows.reserve(rows.size());
    for (size_t nRow = 0; nRow < rows.size(); ++nRow) {
        const std::string strRow = strWhere + " row " + std::to_string(nRow + 1);
        if (!rows[nRow].is_array() || rows[nRow].size() != stmt.aColumns.size())
            err.Throw(strRow + ": must be an array of " + std::to_string(stmt.aColumns.size()) + " values");
        TDbRow row;
        row.reserve(stmt.aColumns.size());
        for (const json& value : rows[nRow])
            row.push_back(ValueFromJson(value, err, strRow));
        stmt.aRows.push_back(std::move(row));
    }
    return stmt;
}

std::string LineAndColumn(const std::string& strText, size_t nByte) {
    nByte = std::min(nByte, strText.size());
    size_t nLine = 1, nLineStart = 0;
    for (size_t i = 0; i < nByte; ++i) {
        if (strText[i] == '\n') {
            ++nLine;
            nLineStart = i + 1;
        }
    }
    return "line " + std::to_string(nLine) + ", column " + std::to_string(nByte - nLineStart + 1);
}

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
    std::ifstream in(strPath, std::ios::binary);
    if (!in)
        err.Throw(std::string("cannot be read: ") + std::strerror(errno));
    std::ostringstream buffer;
    buffer << in.rdbuf();
    const std::string strText = buffer.str();

    json doc;
    try {
        doc = json::parse(strText);
    } catch (const json::parse_error& e) {
        err.Throw("not valid JSON at " + LineAndColumn(strText, e.byte > 0 ? e.byte - 1 : 0));
    } catch (const json::out_of_range&) {
        // A number beyond what a double holds: the parser gives no position for it.
        err.Throw("not valid JSON: a number is out of range");
    }
    if (!doc.is_object())
        err.Throw("the top level must be an object");
    if (Member(doc, "format", json::value_t::string, "a string", err, "header").get<std::string>() != kFormat)
        err.Throw(std::string("\"format\" must be \"") + kFormat + "\"");
    if (Member(doc, "version", json::value_t::number_integer, "an integer", err, "header").get<int>() != kVersion)
        err.Throw("unsupported \"version\" (this program reads version 1)");
    const json& statements = Member(doc, "statements", json::value_t::array, "an array", err, "header");

    auto pSnapshot = std::make_shared<CCatalogSnapshot>();
    pSnapshot->m_strPath = strPath;
    pSnapshot->m_aStatements.reserve(statements.size());
    for (size_t i = 0; i < statements.size(); ++i)
        pSnapshot->m_aStatements.push_back(StatementFromJson(statements[i], i, err));
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
    doc["format"] = kFormat;
    doc["version"] = kVersion;
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
