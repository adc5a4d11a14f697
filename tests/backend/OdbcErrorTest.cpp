// Failures over the SQLite ODBC driver: the diagnostics a CDBException carries, and no handle left behind.
#include "platform/PlatformTestSupport.h"

#include <sql.h>

#include <gtest/gtest.h>

namespace {

class COdbcErrorTest : public testing::Test {
protected:
    // StepAPI=1: the driver steps through rows as they are fetched instead of reading them all at once.
    void SetUp() override { m_db.OpenEx((SqliteConnect(m_dir.File("test.db")) + ";StepAPI=1").c_str()); }

    std::unique_ptr<CDBException> FailingOpen(CRecordset& rs, const char* pszSql,
                                              UINT nOpenType = CRecordset::snapshot) {
        return CatchAs<CDBException>([&] { rs.Open(nOpenType, pszSql); });
    }

    CTempDir m_dir;
    CDatabase m_db;
};

TEST_F(COdbcErrorTest, FailingStatementCarriesTheDriversDiagnostics) {
    struct TCase {
        const char* pszSql;
        const char* pszMessage;
    };
    const TCase aCases[] = {
        {"SELECT * FROM no_such_table", "[SQLite]no such table: no_such_table (1)"},
        {"SELEC 1", "[SQLite]near \"SELEC\": syntax error (1)"},
    };
    for (const TCase& test : aCases) {
        CRecordset rs(&m_db);
        const auto e = CatchAs<CDBException>([&] { rs.Open(CRecordset::snapshot, test.pszSql); });
        ASSERT_NE(e, nullptr) << test.pszSql;
        ASSERT_EQ(e->m_aRecords.size(), 1u) << test.pszSql;
        EXPECT_EQ(e->GetSqlState(), "HY000");
        EXPECT_EQ(e->GetNativeError(), 1);
        EXPECT_EQ(e->m_strError, test.pszMessage);
        EXPECT_EQ(e->m_strStateNativeOrigin, "State:HY000,Native:1,Origin:\n");
        EXPECT_EQ(e->m_nRetCode, SQL_ERROR);
        EXPECT_FALSE(rs.IsOpen());
    }
}

TEST_F(COdbcErrorTest, EveryDiagnosticRecordIsKept) {
    COdbcQuirks quirks;
    quirks.FakeDiagnostics({{{"42S02", 208, "Invalid object name 'x'."},
                             {"42000", 8180, "Statement(s) could not be prepared."},
                             {"01000", 0, "Объект не найден"}}});
    CRecordset rs(&m_db);
    const auto e = FailingOpen(rs, "SELECT * FROM no_such_table");
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(e->m_aRecords.size(), 3u);
    EXPECT_EQ(e->m_aRecords[1].strSqlState, "42000");
    EXPECT_EQ(e->m_aRecords[1].nNativeError, 8180);
    EXPECT_EQ(e->m_aRecords[2].strMessage, "Объект не найден");
    EXPECT_EQ(e->GetSqlState(), "42S02");
    EXPECT_EQ(e->GetNativeError(), 208);
    EXPECT_EQ(e->m_strError,
              "Invalid object name 'x'.\nStatement(s) could not be prepared.\nОбъект не найден");
    EXPECT_EQ(
        e->m_strStateNativeOrigin,
        "State:42S02,Native:208,Origin:\nState:42000,Native:8180,Origin:\nState:01000,Native:0,Origin:\n");
}

TEST_F(COdbcErrorTest, RecordsPastTheReportedNumberAreNotRead) {
    // Some driver and manager pairs answer SQL_SUCCESS for any record number, repeating the last one.
    COdbcQuirks quirks;
    quirks.FakeDiagnostics({{{"42S02", 208, "Invalid object name 'x'."}}, true});
    CRecordset rs(&m_db);
    const auto e = FailingOpen(rs, "SELECT * FROM no_such_table");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_aRecords.size(), 1u);
    EXPECT_EQ(e->m_strError, "Invalid object name 'x'.");
}

TEST_F(COdbcErrorTest, LongDiagnosticMessageIsReadWhole) {
    const std::string strLong = std::string(3000, 'm') + "конец";
    COdbcQuirks quirks;
    quirks.FakeDiagnostics({{{"HY000", 1, strLong}}});
    CRecordset rs(&m_db);
    const auto e = FailingOpen(rs, "SELECT * FROM no_such_table");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_strError, strLong.c_str());
}

TEST_F(COdbcErrorTest, FreeTdsClosedSocketIsALostConnection) {
    // FreeTDS reports it under 01000 with its own numbers: 20004 read failed, 20006 write failed, 20017 EOF.
    for (const long nNative : {20004L, 20006L, 20017L, 0L}) {
        COdbcQuirks quirks;
        quirks.FakeDiagnostics({{{"01000", nNative, "Unexpected EOF from the server"}}});
        CRecordset rs(&m_db);
        const auto e = FailingOpen(rs, "SELECT * FROM no_such_table");
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->GetSqlState(), nNative ? "08S01" : "01000") << nNative;
        EXPECT_EQ(e->m_strError, "Unexpected EOF from the server");
    }
}

TEST(COdbcConnectTest, ConnectStringThatCannotConnectThrows) {
    CTempDir dir;
    const std::string aConnects[] = {
        "DRIVER=" + dir.File("no-such-driver.so") + ";Database=" + dir.File("x.db"),
        SqliteConnect(dir.File("no-such-folder/x.db")),
    };
    for (const std::string& strConnect : aConnects) {
        CDatabase db;
        const auto e = CatchAs<CDBException>([&] { db.OpenEx(strConnect.c_str(), CDatabase::noOdbcDialog); });
        ASSERT_NE(e, nullptr) << strConnect;
        EXPECT_FALSE(e->m_aRecords.empty());
        EXPECT_EQ(e->GetSqlState().GetLength(), 5);
        EXPECT_FALSE(e->m_strError.IsEmpty());
        EXPECT_FALSE(db.IsOpen());
        EXPECT_EQ(db.m_hdbc, nullptr);
        EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_DBC), 0) << strConnect;
    }
}

TEST(COdbcConnectTest, FailedReopenLeavesTheDatabaseClosed) {
    CTempDir dir;
    CDatabase db;
    db.OpenEx(SqliteConnect(dir.File("x.db")).c_str());
    const auto e = CatchAs<CDBException>([&] { db.OpenEx(SqliteConnect(dir.File("none/x.db")).c_str()); });
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_DBC), 0);
}

TEST(COdbcConnectTest, RecordsetOnAClosedDatabaseThrows) {
    CDatabase db;
    CRecordset rs(&db);
    const auto e = CatchAs<CDBException>([&] { rs.Open(CRecordset::snapshot, "SELECT 1"); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetSqlState(), "08003");
}

// Each path ends with no statement handle left, and closing the database frees the connection handle.
TEST_F(COdbcErrorTest, HandlesAreFreedOnEveryFailurePath) {
    RunSql(m_db, "CREATE TABLE t (n INTEGER)");
    RunSql(m_db, "INSERT INTO t VALUES (5), (-9223372036854775807 - 1), (7)");
    // abs() of the smallest integer fails on the second row, after the statement has started.
    const char* pszFailsMidway = "SELECT abs(n) FROM t";

    for (const UINT nOpenType : {CRecordset::snapshot, CRecordset::forwardOnly}) {
        CRecordset rs(&m_db);
        EXPECT_NE(FailingOpen(rs, "SELECT * FROM no_such_table", nOpenType), nullptr);
        EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 0) << "failed execution, open type " << nOpenType;
    }
    {
        CRecordset rs(&m_db);
        const auto e = FailingOpen(rs, pszFailsMidway);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->m_strError, "[SQLite]integer overflow (1)");
        EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 0) << "failed fetch while buffering";
    }
    {
        CRecordset stream(&m_db);
        stream.Open(CRecordset::forwardOnly, pszFailsMidway);
        EXPECT_NE(CatchAs<CDBException>([&] { stream.MoveNext(); }), nullptr);
        stream.Close();
        EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 0) << "failed fetch while streaming";
    }
    {
        // The stream's failure while its rest is buffered for another statement belongs to the stream:
        // the other statement runs, and the stream reports the failure instead of a premature end.
        CRecordset stream(&m_db);
        stream.Open(CRecordset::forwardOnly, pszFailsMidway);
        CRecordset other(&m_db);
        other.Open(CRecordset::snapshot, "SELECT 1");
        EXPECT_FALSE(other.IsEOF());
        EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 0)
            << "failed buffering of a stream for another statement";
        const auto e = CatchAs<CDBException>([&] { stream.MoveNext(); });
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->m_strError.Str(), "[SQLite]integer overflow (1)");
    }
    {
        CRecordset stream(&m_db);
        stream.Open(CRecordset::forwardOnly, "SELECT n FROM t");
        EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 1);
    }
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 0) << "stream closed mid-way";
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_DBC), 1);
    m_db.Close();
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_DBC), 0);
}

TEST(COdbcConnectTest, StreamOutlivingItsDatabaseKeepsItsRows) {
    CTempDir dir;
    CRecordset stream;
    {
        CDatabase db;
        db.OpenEx(SqliteConnect(dir.File("x.db")).c_str());
        RunSql(db, "CREATE TABLE t (n INTEGER)");
        RunSql(db, "INSERT INTO t VALUES (1), (2), (3)");
        stream.m_pDatabase = &db;
        stream.Open(CRecordset::forwardOnly, "SELECT n FROM t ORDER BY n");
        stream.MoveNext();
    }
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 0);
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_DBC), 0);
    std::string strSeen;
    for (; !stream.IsEOF(); stream.MoveNext()) {
        CString strValue;
        stream.GetFieldValue(short(0), strValue);
        strSeen += strValue.Str();
    }
    EXPECT_EQ(strSeen, "23");
}

} // namespace
