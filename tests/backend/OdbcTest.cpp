// CDatabase and CRecordset over the SQLite ODBC driver: answers and errors, streaming, long and non-ASCII
// text, diagnostics, and no handle left behind.
#include "platform/PlatformTestSupport.h"

#include <sql.h>

namespace {

using json = nlohmann::json;

constexpr UINT kOpenTypes[] = {CRecordset::snapshot, CRecordset::forwardOnly};

// Binds three columns by position, the text one with a chosen length.
class CItemSet : public CRecordset {
public:
    CItemSet(CDatabase* pDatabase, int nNameLength) : CRecordset(pDatabase), m_nNameLength(nNameLength) {
        m_nFields = 3;
    }
    void DoFieldExchange(CFieldExchange* pFX) override {
        pFX->SetFieldType(CFieldExchange::outputColumn);
        RFX_Long(pFX, "[id]", m_nId);
        RFX_Text(pFX, "[name]", m_strName, m_nNameLength);
        RFX_Long(pFX, "[qty]", m_nQty);
    }
    static json BoundRow(const CRecordset& rs) {
        const auto& set = static_cast<const CItemSet&>(rs);
        return {std::to_string(set.m_nId), set.m_strName.Str(), std::to_string(set.m_nQty)};
    }

    long m_nId = 0;
    CString m_strName;
    int m_nQty = 0;

private:
    int m_nNameLength;
};

class COdbcTest : public testing::Test {
protected:
    // StepAPI=1: the driver steps through rows as they are fetched instead of reading them all at once.
    void SetUp() override {
        m_db.OpenEx((SqliteConnect(m_dir.File("test.db")) + ";StepAPI=1").c_str(), CDatabase::noOdbcDialog);
        RunSqlFile(m_db, FixtureFile("odbc/catalog.sql"));
    }

    // The values of a stream's rows from where it stands up to its end.
    static std::string Rest(CRecordset& rs) {
        std::string str;
        for (; !rs.IsEOF(); rs.MoveNext())
            str += RowOf(rs).dump();
        return str;
    }

    CTempDir m_dir;
    CDatabase m_db;
};

// Each case of odbc/statements.json, read by field values or through bound members ("bound": the
// text's length), answers alike in both cursor types.
TEST_F(COdbcTest, StatementsAnswerAsRecorded) {
    for (const json& expected : json::parse(ReadWholeFile(FixtureFile("odbc/statements.json")))) {
        for (const UINT nOpenType : kOpenTypes) {
            SCOPED_TRACE(expected.dump() + ", open type " + std::to_string(nOpenType));
            if (!expected.contains("bound")) {
                EXPECT_EQ(Answer(m_db, expected["sql"], nOpenType), expected);
                continue;
            }
            CItemSet rs(&m_db, expected["bound"]);
            json answer = Answer(rs, expected["sql"], nOpenType, CItemSet::BoundRow);
            answer["bound"] = expected["bound"];
            EXPECT_EQ(answer, expected);
            EXPECT_FALSE(rs.IsOpen() && answer.contains("error"));
        }
    }
}

TEST_F(COdbcTest, ForwardOnlyStreamsAndIsBufferedWhenAnotherStatementRuns) {
    CRecordset stream(&m_db);
    stream.Open(CRecordset::forwardOnly, "SELECT n FROM numbers WHERE n <= 12 ORDER BY n");
    stream.MoveNext();
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 1) << "the stream reads from its statement";
    EXPECT_EQ(Answer(m_db, "SELECT COUNT(*) FROM numbers")["rows"], json::parse(R"([["100"]])"));
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 0) << "the stream's rest was buffered, its statement freed";

    CRecordset second(&m_db);
    second.Open(CRecordset::forwardOnly, "SELECT n * 2 FROM numbers WHERE n <= 3 ORDER BY n");
    EXPECT_EQ(Answer(m_db, "SELECT n FROM numbers WHERE n = 7", CRecordset::forwardOnly)["rows"],
              json::parse(R"([["7"]])"));
    EXPECT_EQ(Rest(second), R"(["2"]["4"]["6"])");
    EXPECT_EQ(Rest(stream), R"(["2"]["3"]["4"]["5"]["6"]["7"]["8"]["9"]["10"]["11"]["12"])");

    // Snapshots hold their rows, not a statement, so they nest on one connection.
    std::string strNested;
    CRecordset outer(&m_db);
    for (outer.Open(CRecordset::snapshot, "SELECT n FROM numbers WHERE n <= 3"); !outer.IsEOF();
         outer.MoveNext()) {
        CString strN;
        outer.GetFieldValue("n", strN);
        CRecordset inner(&m_db);
        inner.Open(CRecordset::snapshot, ("SELECT n * 10 FROM numbers WHERE n < " + strN.Str()).c_str());
        strNested += Rest(inner) + ";";
    }
    EXPECT_EQ(strNested, R"(;["10"];["10"]["20"];)");
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 0);
}

// Far longer than the 4096-unit fetch buffer; with surrogate pairs (odd chunk length) straddling chunks.
// Whole when the bound length allows it, with or without the driver telling the remaining length; cut to
// 4097 characters otherwise.
TEST_F(COdbcTest, LongTextIsReadWholeOrCutToTheBoundLength) {
    const struct {
        const char* pszSqlUnit;
        std::string strUnit;
        size_t nRepeat;
        size_t nCutRepeat; // 4097 characters: whole units, then the tail
        const char* pszCutTail;
    } aTexts[] = {{"'ab'", "ab", 524288, 2048, "a"},
                  {"CAST(x'f09f9880' AS TEXT)", "😀", 5000, 4097, ""},
                  {"'a' || CAST(x'f09f9880' AS TEXT)", "a😀", 4000, 2048, "a"},
                  {"CAST(x'd0b6' AS TEXT)", "ж", 300000, 4097, ""},
                  {"'x'", "x", 4095, 4095, ""},
                  {"'x'", "x", 4096, 4096, ""}};
    const auto Repeat = [](const std::string& strUnit, size_t nTimes) {
        std::string str;
        while (nTimes--)
            str += strUnit;
        return str;
    };
    for (const auto& text : aTexts) {
        SCOPED_TRACE(text.strUnit + " x " + std::to_string(text.nRepeat));
        RunSql(m_db, "UPDATE items SET name = replace(hex(zeroblob(" + std::to_string(text.nRepeat) +
                         ")), '00', " + text.pszSqlUnit + ") WHERE id = 1");
        const std::string strWhole = Repeat(text.strUnit, text.nRepeat);
        const std::string strCut = Repeat(text.strUnit, text.nCutRepeat) + text.pszCutTail;
        const std::tuple<int, bool, UINT> aReads[] = {{2'000'000, false, CRecordset::snapshot},
                                                      {2'000'000, false, CRecordset::forwardOnly},
                                                      {2'000'000, true, CRecordset::snapshot},
                                                      {2'000'000, true, CRecordset::forwardOnly},
                                                      {4097, false, CRecordset::snapshot}};
        for (const auto& [nLength, bNoTotal, nOpenType] : aReads) {
            COdbcQuirks quirks;
            if (bNoTotal)
                quirks.ReportNoTotal();
            CItemSet rs(&m_db, nLength);
            rs.Open(nOpenType, "SELECT id, name, qty FROM items ORDER BY id");
            const std::string& strExpected = nLength == 4097 ? strCut : strWhole;
            EXPECT_TRUE(rs.m_strName.Str() == strExpected)
                << "no total " << bNoTotal << ", length " << nLength << ", open type " << nOpenType << ": "
                << rs.m_strName.GetLength() << " bytes, expected " << strExpected.size();
            EXPECT_EQ(rs.m_nQty, 10);
        }
    }
}

// Every diagnostic record is kept, a long message is read whole, and a driver that answers for any record
// number (repeating the last one) is not read past the number it reported.
TEST_F(COdbcTest, DiagnosticsAreReadAsTheDriverReportsThem) {
    const std::string strLong = std::string(3000, 'm') + "конец";
    for (const bool bRepeatPastEnd : {false, true}) {
        COdbcQuirks quirks;
        quirks.FakeDiagnostics({{{"42S02", 208, "Invalid object name 'x'."},
                                 {"42000", 8180, "Statement(s) could not be prepared."},
                                 {"01000", 0, strLong}},
                                bRepeatPastEnd});
        CRecordset rs(&m_db);
        const auto e =
            CatchAs<CDBException>([&] { rs.Open(CRecordset::snapshot, "SELECT * FROM no_such_table"); });
        ASSERT_NE(e, nullptr);
        ASSERT_EQ(e->m_aRecords.size(), 3u);
        EXPECT_EQ(e->m_aRecords[1].strSqlState, "42000");
        EXPECT_EQ(e->m_aRecords[1].nNativeError, 8180);
        EXPECT_EQ(e->GetSqlState(), "42S02");
        EXPECT_EQ(e->GetNativeError(), 208);
        EXPECT_EQ(e->m_strError.Str(),
                  "Invalid object name 'x'.\nStatement(s) could not be prepared.\n" + strLong);
        EXPECT_EQ(e->m_strStateNativeOrigin, "State:42S02,Native:208,Origin:\nState:42000,Native:8180,Origin:"
                                             "\nState:01000,Native:0,Origin:\n");
        EXPECT_EQ(e->m_nRetCode, SQL_ERROR);
        EXPECT_FALSE(rs.IsOpen());
    }
}

TEST_F(COdbcTest, ConnectingAndFailingToConnect) {
    const std::string strConnect = SqliteConnect(m_dir.File("other.db"));
    CDatabase db;
    db.OpenEx(("ODBC;" + strConnect).c_str());
    EXPECT_EQ(db.GetConnect().Str(), "ODBC;" + strConnect);
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_DBC), 2);
    for (const std::string& strBad :
         {"DRIVER=" + m_dir.File("no-such-driver.so"), SqliteConnect(m_dir.File("none/x.db"))}) {
        SCOPED_TRACE(strBad);
        const auto e = CatchAs<CDBException>([&] { db.OpenEx(strBad.c_str(), CDatabase::noOdbcDialog); });
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->GetSqlState().GetLength(), 5);
        EXPECT_FALSE(e->m_strError.IsEmpty());
        EXPECT_FALSE(db.IsOpen());
        EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_DBC), 1) << "the failed connection's handle is freed";
    }
    CRecordset rs(&db);
    EXPECT_EQ(Answer(rs, "SELECT 1")["error"]["sqlstate"], "08003");
    m_db.Close();
    EXPECT_FALSE(m_db.IsOpen());
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_DBC), 0);
}

// Each failure path ends with no statement handle left; a stream's failure while its rest is buffered for
// another statement belongs to the stream, which reports it instead of a premature end.
TEST_F(COdbcTest, HandlesAreFreedOnEveryFailurePath) {
    const char* pszFailsMidway = "SELECT abs(n) FROM extremes"; // on the second row
    {
        CRecordset stream(&m_db);
        stream.Open(CRecordset::forwardOnly, pszFailsMidway);
        EXPECT_NE(CatchAs<CDBException>([&] { stream.MoveNext(); }), nullptr);
        stream.Close();
        EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 0) << "failed fetch while streaming";
    }
    {
        CRecordset stream(&m_db);
        stream.Open(CRecordset::forwardOnly, pszFailsMidway);
        EXPECT_EQ(Answer(m_db, "SELECT 1")["rows"], json::parse(R"([["1"]])"));
        EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 0)
            << "failed buffering of a stream for another statement";
        const auto e = CatchAs<CDBException>([&] { stream.MoveNext(); });
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->m_strError.Str(), "[SQLite]integer overflow (1)");
    }
    {
        CRecordset stream(&m_db);
        stream.Open(CRecordset::forwardOnly, "SELECT n FROM numbers");
    }
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 0) << "stream closed mid-way";
    for (const UINT nOpenType : kOpenTypes)
        for (const char* pszSql : {"SELECT * FROM no_such_table", pszFailsMidway}) {
            Answer(m_db, pszSql, nOpenType);
            EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 0) << pszSql << ", open type " << nOpenType;
        }
}

TEST(COdbcStreamTest, StreamOutlivingItsDatabaseKeepsItsRows) {
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
    for (; !stream.IsEOF(); stream.MoveNext())
        strSeen += RowOf(stream).dump();
    EXPECT_EQ(strSeen, R"(["2"]["3"])");
}

} // namespace
