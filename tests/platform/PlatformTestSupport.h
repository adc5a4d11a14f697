// Shared helpers of the platform tests: temporary folders, SQLite ODBC databases, MFC-style exceptions.
#pragma once

#include "backend/Database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

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

constexpr const char* kSqliteDriver = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";

inline std::string SqliteConnect(const std::string& strDatabase) {
    return std::string("DRIVER=") + kSqliteDriver + ";Database=" + strDatabase;
}

// gtest shows CString values as text.
inline void PrintTo(const CString& str, std::ostream* pOut) {
    *pOut << '"' << str.Str() << '"';
}

// Runs a statement whose result, if any, is of no interest.
inline void RunSql(CDatabase& db, const char* pszSql) {
    CRecordset rs(&db);
    rs.Open(CRecordset::snapshot, pszSql);
}

// Runs f and takes ownership of the TException* it throws; null when it throws nothing.
template <typename TException, typename F> std::unique_ptr<TException> CatchAs(F&& f) {
    try {
        f();
    } catch (TException* e) {
        return std::unique_ptr<TException>(e);
    }
    return nullptr;
}

// Deletes a CException the way MFC code does, for unique_ptr.
struct TExceptionDeleter {
    void operator()(CException* e) const { e->Delete(); }
};

inline std::string ReadWholeFile(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

inline void WriteWholeFile(const std::string& strPath, const std::string& strText) {
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out << strText;
}

// The test program stands in front of a few driver manager calls (OdbcInterpose.cpp): it counts handles
// and can make a well-behaved driver act like the awkward ones met in the field.

// Live ODBC handles of a type (SQL_HANDLE_DBC, SQL_HANDLE_STMT) allocated through this process's calls.
long LiveOdbcHandles(short nHandleType);

struct TFakeDiagnostics {
    std::vector<TDiagRecord> aRecords;
    bool bRepeatPastEnd = false; // answer SQL_SUCCESS with the last record for every record number beyond
};

// While alive, changes how the driver manager seems to behave; the previous behaviour comes back after.
class COdbcQuirks {
public:
    COdbcQuirks();
    COdbcQuirks(const COdbcQuirks&) = delete;
    COdbcQuirks& operator=(const COdbcQuirks&) = delete;
    ~COdbcQuirks();

    // SQLGetData reports SQL_NO_TOTAL instead of the remaining length whenever a value does not fit.
    void ReportNoTotal();
    // SQLGetDiagRecW and SQL_DIAG_NUMBER answer from these records instead of the driver's.
    void FakeDiagnostics(TFakeDiagnostics diagnostics);
};
