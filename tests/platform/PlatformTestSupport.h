// Shared helpers of the tests: temporary folders, whole files, SQLite ODBC databases, MFC-style exceptions,
// and what a statement answers.
#pragma once

#include "backend/Database.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

// A fresh folder under the system's temporary folder, removed with everything in it.
class CTempDir {
public:
    CTempDir() {
        std::string strTemplate =
            (std::filesystem::temp_directory_path() / "sqlscripts-test-XXXXXX").string();
        if (!::mkdtemp(strTemplate.data()))
            throw std::runtime_error("mkdtemp failed");
        m_path = strTemplate;
    }
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;
    ~CTempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::string File(const std::string& strName) const { return (m_path / strName).string(); }

private:
    std::filesystem::path m_path;
};

inline std::string ReadWholeFile(const std::string& strPath) {
    std::ostringstream buffer;
    buffer << std::ifstream(strPath, std::ios::binary).rdbuf();
    return buffer.str();
}

inline void WriteWholeFile(const std::string& strPath, const std::string& strText) {
    std::ofstream(strPath, std::ios::binary | std::ios::trunc) << strText;
}

// What a shell command wrote on its standard output.
inline std::string CommandOutput(const std::string& strCommand) {
    std::string strOut;
    if (std::FILE* pPipe = ::popen(strCommand.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pPipe)) > 0;)
            strOut.append(buffer, n);
        ::pclose(pPipe);
    }
    return strOut;
}

inline std::string FixtureFile(const std::string& strName) {
    return std::string(SCRIPTS_FIXTURES_DIR) + "/" + strName;
}

inline std::string RepeatText(const std::string& strUnit, size_t nTimes) {
    std::string str;
    while (nTimes--)
        str += strUnit;
    return str;
}

// gtest shows CString values as text.
inline void PrintTo(const CString& str, std::ostream* pOut) {
    *pOut << '"' << str.Str() << '"';
}

// Runs f and takes ownership of the TException* it throws; null when it throws nothing.
template <typename TException, typename F> CExceptionPtr<TException> CatchAs(F&& f) {
    try {
        f();
    } catch (TException* e) {
        return CExceptionPtr<TException>(e);
    }
    return nullptr;
}

inline std::string SqliteConnect(const std::string& strDatabase) {
    return "DRIVER=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so;SyncPragma=OFF;Database=" + strDatabase;
}

// Runs a statement whose result, if any, is of no interest; or each line of a file so.
inline void RunSql(CDatabase& db, const std::string& strSql) {
    CRecordset(&db).Open(CRecordset::snapshot, strSql.c_str());
}
inline void RunSqlFile(CDatabase& db, const std::string& strPath) {
    std::istringstream sql(ReadWholeFile(strPath));
    for (std::string strStatement; std::getline(sql, strStatement);)
        RunSql(db, strStatement);
}

// The current row's values as text.
inline nlohmann::json RowOf(const CRecordset& rs) {
    nlohmann::json row = nlohmann::json::array();
    for (short i = 0; i < rs.GetODBCFieldCount(); ++i) {
        CString strValue;
        rs.GetFieldValue(i, strValue);
        row.push_back(strValue.Str());
    }
    return row;
}

// What a statement answers, written as a snapshot statement: {"sql", "columns": [names], "rows": [rows]}
// or {"sql", "error": {"sqlstate", "native", "message"}}; pfnRowOf reads a row.
inline nlohmann::json Answer(CRecordset&& rs, const std::string& strSql,
                             UINT nOpenType = CRecordset::snapshot,
                             nlohmann::json (*pfnRowOf)(const CRecordset&) = RowOf) {
    nlohmann::json answer = {
        {"sql", strSql}, {"columns", nlohmann::json::array()}, {"rows", nlohmann::json::array()}};
    const auto e = CatchAs<CDBException>([&] {
        for (rs.Open(nOpenType, strSql.c_str()); answer["columns"].size() < size_t(rs.GetODBCFieldCount());) {
            CODBCFieldInfo info;
            rs.GetODBCFieldInfo(static_cast<short>(answer["columns"].size()), info);
            answer["columns"].push_back(info.m_strName.Str());
        }
        for (; !rs.IsEOF(); rs.MoveNext())
            answer["rows"].push_back(pfnRowOf(rs));
    });
    if (!e)
        return answer;
    nlohmann::json error = {{"sqlstate", e->GetSqlState().Str()},
                            {"native", e->GetNativeError()},
                            {"message", e->m_strError.Str()}};
    // An error names the statement that failed; only one that names another shows it.
    if (e->m_strStatement != strSql.c_str())
        error["statement"] = e->m_strStatement.Str();
    return {{"sql", strSql}, {"error", error}};
}
inline nlohmann::json Answer(CDatabase& db, const std::string& strSql,
                             UINT nOpenType = CRecordset::snapshot) {
    return Answer(CRecordset(&db), strSql, nOpenType);
}

// Live ODBC handles of a type (SQL_HANDLE_DBC, SQL_HANDLE_STMT) allocated through this process's calls.
long LiveOdbcHandles(short nHandleType);

// While alive, the driver manager seems to act like the awkward ones met in the field (OdbcInterpose.cpp).
struct TOdbcQuirks {
    bool bReportNoTotal = false; // SQLGetData: SQL_NO_TOTAL instead of the remaining length of a long value
    std::vector<TDiagRecord> aFakeDiagnostics; // SQLGetDiagRecW and SQL_DIAG_NUMBER answer these, if any
    bool bRepeatPastEnd = false;  // and SQL_SUCCESS with the last one for any record number beyond
    bool bConnectionDead = false; // SQL_ATTR_CONNECTION_DEAD: the driver found its connection dead
};
inline TOdbcQuirks g_odbcQuirks;
struct COdbcQuirks {
    explicit COdbcQuirks(const TOdbcQuirks& quirks) { g_odbcQuirks = quirks; }
    ~COdbcQuirks() { g_odbcQuirks = TOdbcQuirks(); }
};
