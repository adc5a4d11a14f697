#include "CatalogTestSupport.h"

#include "catalog/SQLRecObjects.h"
#include "catalog/SQLRecTableDetails.h"

#include <cstdlib>
#include <filesystem>

namespace {

void ExpectReadsOrders(CSQLRecTables& rs) {
    rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.m_strName, "Orders");
}

// A snapshot reached through a symbolic link that the test can take away and put back.
class CRemovableSnapshot {
public:
    CRemovableSnapshot() {
        char szTemplate[] = "/tmp/catalog-pool-XXXXXX";
        m_dir = mkdtemp(szTemplate);
        m_link = m_dir / "catalog.json";
        Restore();
    }
    CRemovableSnapshot(const CRemovableSnapshot&) = delete;
    CRemovableSnapshot& operator=(const CRemovableSnapshot&) = delete;
    ~CRemovableSnapshot() { std::filesystem::remove_all(m_dir); }

    void Remove() { std::filesystem::remove(m_link); }
    void Restore() { std::filesystem::create_symlink(CatalogFixture("pool.json"), m_link); }
    std::string ConnectString() const { return "SNAPSHOT=" + m_link.string(); }

private:
    std::filesystem::path m_dir;
    std::filesystem::path m_link;
};

} // namespace

TEST(ConnectionPoolTest, WithoutThePoolRecordsetsShareTheHostConnection) {
    CSnapshotHost host("pool.json");
    EXPECT_EQ(GetContextConnectString(), "SNAPSHOT=" + CatalogFixture("pool.json"));
    CSQLRecTables rs;
    EXPECT_EQ(rs.m_pDatabase, &host.m_db);
    EXPECT_EQ(rs.m_nDefaultType, static_cast<UINT>(CRecordset::snapshot));
    ExpectReadsOrders(rs);
    EXPECT_EQ(GetPooledConnectionCount(), 0);
}

TEST(ConnectionPoolTest, EachLiveRecordsetHoldsItsOwnConnectionAndFreedOnesAreReused) {
    CSnapshotHost host("pool.json", true);
    CDatabase* pFirst = nullptr;
    CDatabase* pSecond = nullptr;
    {
        CSQLRecTables rs1;
        pFirst = rs1.m_pDatabase;
        EXPECT_NE(pFirst, &host.m_db);
        EXPECT_EQ(rs1.m_nDefaultType, static_cast<UINT>(CRecordset::forwardOnly));
        EXPECT_EQ(pFirst->GetQueryTimeout(), 300u);
        EXPECT_EQ(GetPooledConnectionCount(), 1);
        {
            CSQLRecTables rs2;
            pSecond = rs2.m_pDatabase;
            EXPECT_NE(pSecond, pFirst);
            EXPECT_NE(pSecond, &host.m_db);
            EXPECT_EQ(GetPooledConnectionCount(), 2);
            ExpectReadsOrders(rs1);
            ExpectReadsOrders(rs2);
        }
        CSQLRecTables rs3;
        EXPECT_EQ(rs3.m_pDatabase, pSecond);
    }
    CSQLRecTables rs4;
    EXPECT_EQ(rs4.m_pDatabase, pFirst);
    EXPECT_EQ(GetPooledConnectionCount(), 2);
}

TEST(ConnectionPoolTest, UnopenableConnectStringFallsBackToTheHostAndTriesAgain) {
    ResetDefinitionLengthForTesting();
    CloseAllConnections();
    CRemovableSnapshot snapshot;
    CDatabase host;
    host.OpenEx(snapshot.ConnectString().c_str(), CDatabase::noOdbcDialog);
    SetConnectionContext(&host, true);
    snapshot.Remove();
    for (int nAttempt = 0; nAttempt < 2; ++nAttempt) {
        CSQLRecTables rs;
        EXPECT_EQ(rs.m_pDatabase, &host);
        EXPECT_EQ(GetPooledConnectionCount(), 0);
        ExpectReadsOrders(rs);
    }
    snapshot.Restore();
    {
        CSQLRecTables rs;
        EXPECT_NE(rs.m_pDatabase, &host);
        EXPECT_EQ(GetPooledConnectionCount(), 1);
    }
    CloseAllConnections();
    SetConnectionContext(nullptr, false);
}

TEST(ConnectionPoolTest, CloseAllConnectionsEmptiesThePool) {
    CSnapshotHost host("pool.json", true);
    CloseAllConnections();
    EXPECT_EQ(GetPooledConnectionCount(), 0);
    {
        CSQLRecTables rs1;
        CSQLRecTables rs2;
    }
    EXPECT_EQ(GetPooledConnectionCount(), 2);
    CloseAllConnections();
    EXPECT_EQ(GetPooledConnectionCount(), 0);
    CSQLRecTables rs;
    EXPECT_NE(rs.m_pDatabase, &host.m_db);
    EXPECT_EQ(GetPooledConnectionCount(), 1);
    ExpectReadsOrders(rs);
}

TEST(DefinitionLengthTest, ProbeGivesTheLongestDefinitionInBytesOrZero) {
    const struct {
        const char* pszFixture;
        const char* pszTable;
        int nExpected;
    } aCases[] = {
        {"probe_null.json", "sys.sql_modules", 0},
        {"probe_2000.json", "sys.default_constraints", 2000},
        {"probe_error.json", "sys.computed_columns", 0},
        {"probe_error.json", "sys.sql_modules", 0},
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(std::string(c.pszFixture) + " " + c.pszTable);
        CSnapshotHost host(c.pszFixture);
        EXPECT_EQ(ProbeDefinitionLength(&host.m_db, c.pszTable), c.nExpected);
    }
}

TEST(DefinitionLengthTest, EmptyTableGives256AndLongerTextIsCut) {
    CSnapshotHost host("probe_null.json");
    CSQLRecViews rs;
    EXPECT_EQ(GetDefinitionLength(), 256);
    CSQLRecChecks checks;
    EXPECT_EQ(GetDefinitionLength(), 256);
    rs.SetDetail(true);
    rs.m_strParamName = "vWide";
    rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.m_strDefinition.GetLength(), 256);
    EXPECT_EQ(rs.m_nUsesQuotedIdentifier, 1);
}

TEST(DefinitionLengthTest, FirstProbeFixesTheLengthForEveryDefinitionColumn) {
    CSnapshotHost host("probe_2000.json");
    CSQLRecDriDefaults rs;
    EXPECT_EQ(GetDefinitionLength(), 2000);
    CSQLRecViews views;
    views.SetDetail(true);
    EXPECT_EQ(GetDefinitionLength(), 2000);
    rs.SetDetail(true);
    rs.m_strParamName = "DF_Long";
    rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.m_strDefinition.GetLength(), 1000);
}

TEST(DefinitionLengthTest, RejectedProbeGives256) {
    CSnapshotHost host("probe_error.json");
    CSQLRecColumns rs;
    EXPECT_EQ(GetDefinitionLength(), 256);
}
