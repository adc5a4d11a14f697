// CDatabase and CRecordset over the SQLite ODBC driver: answers and errors, streaming, long and non-ASCII
// text, diagnostics, no handle left behind, no password shown.
#include "platform/PlatformTestSupport.h"

#include "backend/ConnectSecrets.h"
#include "backend/DbBackend.h"

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
    int m_nNameLength;
};

// The values of a stream's rows from where it stands up to its end.
std::string Rest(CRecordset& rs) {
    std::string str;
    for (; !rs.IsEOF(); rs.MoveNext())
        str += RowOf(rs).dump();
    return str;
}

class COdbcTest : public testing::Test {
protected:
    // StepAPI=1: the driver steps through rows as they are fetched instead of reading them all at once.
    void SetUp() override {
        m_db.OpenEx((SqliteConnect(m_dir.File("test.db")) + ";StepAPI=1").c_str(), CDatabase::noOdbcDialog);
        RunSqlFile(m_db, FixtureFile("odbc/catalog.sql"));
    }

    CTempDir m_dir;
    CDatabase m_db;
};

// Each case of odbc/statements.json, read by field values or through bound members ("bound": the
// text's length), answers alike in both cursor types.
TEST_F(COdbcTest, StatementsAnswerAsRecorded) {
    for (const json& expected : json::parse(ReadWholeFile(FixtureFile("odbc/statements.json"))))
        for (const UINT nOpenType : kOpenTypes) {
            json answer = expected.contains("bound") ? Answer(CItemSet(&m_db, expected["bound"]),
                                                              expected["sql"], nOpenType, CItemSet::BoundRow)
                                                     : Answer(m_db, expected["sql"], nOpenType);
            if (expected.contains("bound"))
                answer["bound"] = expected["bound"];
            EXPECT_EQ(answer, expected) << "open type " << nOpenType;
        }
}

// A stream reads from its statement until another statement runs on the connection: then its rest is
// buffered and the statement freed, and a failure while buffering belongs to the stream. Snapshots hold
// rows, not statements, and nest. A stream outlives its database. No failure leaves a statement behind.
TEST_F(COdbcTest, StreamsAndHandles) {
    CRecordset stream(&m_db);
    stream.Open(CRecordset::forwardOnly, "SELECT n FROM numbers WHERE n <= 12 ORDER BY n");
    stream.MoveNext();
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 1);
    EXPECT_EQ(Answer(m_db, "SELECT COUNT(*) FROM numbers")["rows"], json::parse(R"([["100"]])"));
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 0);
    CRecordset second(&m_db);
    second.Open(CRecordset::forwardOnly, "SELECT n * 2 FROM numbers WHERE n <= 3 ORDER BY n");
    CRecordset failing(&m_db);
    failing.Open(CRecordset::forwardOnly, "SELECT abs(n) FROM extremes"); // fails on the second row
    EXPECT_EQ(Answer(m_db, "SELECT n FROM numbers WHERE n = 7", CRecordset::forwardOnly)["rows"],
              json::parse(R"([["7"]])"));
    EXPECT_EQ(Rest(second), R"(["2"]["4"]["6"])");
    EXPECT_EQ(Rest(stream), R"(["2"]["3"]["4"]["5"]["6"]["7"]["8"]["9"]["10"]["11"]["12"])");
    const auto e = CatchAs<CDBException>([&] { failing.MoveNext(); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_strError.Str(), "[SQLite]integer overflow (1)");
    EXPECT_EQ(e->m_strStatement, "SELECT abs(n) FROM extremes");

    std::string strNested;
    CRecordset outer(&m_db);
    for (outer.Open(CRecordset::snapshot, "SELECT n FROM numbers WHERE n <= 3"); !outer.IsEOF();
         outer.MoveNext())
        strNested +=
            Answer(m_db, "SELECT n * 10 FROM numbers WHERE n < " + RowOf(outer)[0].get<std::string>())["rows"]
                .dump();
    EXPECT_EQ(strNested, R"([][["10"]][["10"],["20"]])");

    CRecordset survivor;
    survivor.m_pDatabase = &m_db;
    survivor.Open(CRecordset::forwardOnly, "SELECT n FROM numbers WHERE n > 97 ORDER BY n");
    for (const UINT nOpenType : kOpenTypes)
        for (const char* pszSql : {"SELECT * FROM no_such_table", "SELECT abs(n) FROM extremes"})
            EXPECT_TRUE(Answer(m_db, pszSql, nOpenType).contains("error"));
    { CRecordset(&m_db).Open(CRecordset::forwardOnly, "SELECT n FROM numbers"); } // closed mid-way
    m_db.Close();
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 0);
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_DBC), 0);
    EXPECT_EQ(Rest(survivor), R"(["98"]["99"]["100"])");
}

// The rows of a table, read a block at a time where every column has a bound, are the rows read a value at
// a time: each case of odbc/statements.json that answers rows, date-times whose fractions have more digits
// than the driver says the column keeps, and ten thousand rows over many blocks. Binary data read in blocks
// is its hex digits (this driver's own text of it adds X''). A statement run in the middle buffers the rest,
// and the row read last stays as it was.
TEST_F(COdbcTest, TableRowsReadInBlocksAreTheRowsReadValueByValue) {
    const auto rows = [](CDbResult& result) {
        json aRows = json::array();
        while (const std::optional<TDbRow> row = result.Fetch()) {
            json& values = aRows.emplace_back(json::array());
            for (const TDbValue& value : *row)
                values.push_back(value ? json(std::string(*value)) : json());
        }
        return aRows;
    };
    RunSql(m_db, "CREATE TABLE typed (b varbinary(4), t datetime)");
    RunSql(m_db, "INSERT INTO typed VALUES (x'00ff10ab', '2020-02-29 12:34:56.123'), (x'', '0001-01-01 "
                 "00:00:00'), (NULL, NULL), (x'7f', '9999-12-31 23:59:59.5')");
    std::vector<std::string> aSql = {
        "SELECT a.n * 1000 + b.n, a.n * 0.5, 'x' || b.n FROM numbers a, numbers b", "SELECT t FROM typed"};
    for (const json& expected : json::parse(ReadWholeFile(FixtureFile("odbc/statements.json"))))
        if (!expected.contains("error") && !expected.contains("bound"))
            aSql.push_back(expected["sql"]);
    CDbConnection& connection = *m_db.GetBackend();
    for (const std::string& strSql : aSql)
        EXPECT_EQ(rows(*connection.ExecuteStream(strSql)), rows(*connection.Execute(strSql, true))) << strSql;
    EXPECT_EQ(rows(*connection.ExecuteStream("SELECT b FROM typed")),
              json::parse(R"([["00FF10AB"], [""], [null], ["7F"]])"));

    const std::unique_ptr<CDbResult> pStream =
        connection.ExecuteStream("SELECT n, 'n' || n FROM numbers ORDER BY n");
    const TDbRow first = *pStream->Fetch();
    EXPECT_EQ(rows(*connection.Execute("SELECT COUNT(*) FROM numbers", true)), json::parse(R"([["100"]])"));
    EXPECT_EQ(*first[1], "n1");
    EXPECT_EQ(rows(*pStream).size(), 99u);
}

// Each text of odbc/long-texts.json ("repeat" times "unit") is far longer than the 4096-unit fetch buffer,
// some with surrogate pairs (odd chunk length) straddling chunks. Read whole when the bound length allows
// it, whether or not the driver tells the remaining length; else cut to 4097 characters ("cut_repeat" units
// and the "tail").
TEST_F(COdbcTest, LongTextIsReadWholeOrCutToTheBoundLength) {
    for (const json& text : json::parse(ReadWholeFile(FixtureFile("odbc/long-texts.json")))) {
        RunSql(m_db, "UPDATE items SET name = replace(hex(zeroblob(" + text["repeat"].dump() + ")), '00', " +
                         text["sql_unit"].get<std::string>() + ") WHERE id = 1");
        const std::tuple<int, bool, UINT> aReads[] = {{2'000'000, false, CRecordset::snapshot},
                                                      {2'000'000, false, CRecordset::forwardOnly},
                                                      {2'000'000, true, CRecordset::snapshot},
                                                      {2'000'000, true, CRecordset::forwardOnly},
                                                      {4097, false, CRecordset::snapshot}};
        for (const auto& [nLength, bNoTotal, nOpenType] : aReads) {
            const COdbcQuirks quirks({bNoTotal, {}, false});
            CItemSet rs(&m_db, nLength);
            rs.Open(nOpenType, "SELECT id, name, qty FROM items ORDER BY id");
            const std::string strExpected = nLength == 4097 ? RepeatText(text["unit"], text["cut_repeat"]) +
                                                                  text["tail"].get<std::string>()
                                                            : RepeatText(text["unit"], text["repeat"]);
            EXPECT_TRUE(rs.m_strName.Str() == strExpected && rs.m_nQty == 10)
                << text.dump() << ", no total " << bNoTotal << ", length " << nLength << ", open type "
                << nOpenType << ": " << rs.m_strName.GetLength() << " bytes";
        }
    }
}

// Every diagnostic record is kept, a long message is read whole, and a driver that answers for any record
// number (repeating the last one) is not read past the number it reported.
TEST_F(COdbcTest, DiagnosticsAreReadAsTheDriverReportsThem) {
    const std::string strLong = std::string(3000, 'm') + "конец";
    for (const bool bRepeatPastEnd : {false, true}) {
        const COdbcQuirks quirks({false,
                                  {{"42S02", 208, "Invalid object name 'x'."},
                                   {"42000", 8180, "Statement(s) could not be prepared."},
                                   {"01000", 0, strLong}},
                                  bRepeatPastEnd});
        const auto e = CatchAs<CDBException>([&] { RunSql(m_db, "SELECT * FROM no_such_table"); });
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->GetSqlState(), "42S02");
        EXPECT_EQ(e->GetNativeError(), 208);
        EXPECT_EQ(e->m_strError.Str(),
                  "Invalid object name 'x'.\nStatement(s) could not be prepared.\n" + strLong);
        EXPECT_EQ(e->m_strStateNativeOrigin, "State:42S02,Native:208,Origin:\nState:42000,Native:8180,Origin:"
                                             "\nState:01000,Native:0,Origin:\n");
    }
    // FreeTDS reports a socket that failed or closed under 01000 with its own numbers (20004 read, 20006
    // write, 20017 end of file), and the next statement as HY000 on a connection it says is dead: both are a
    // lost connection, ODBC's 08S01.
    for (const long nNative : {20004L, 20006L, 20017L, 0L}) {
        const COdbcQuirks quirks(
            {false, {{nNative ? "01000" : "HY000", nNative, "lost"}}, false, nNative == 0});
        const auto e = CatchAs<CDBException>([&] { RunSql(m_db, "SELECT * FROM no_such_table"); });
        EXPECT_TRUE(e && e->GetSqlState() == "08S01" && e->m_strError == "lost") << nNative;
    }
}

TEST_F(COdbcTest, ConnectingAndFailingToConnect) {
    const std::string strConnect = SqliteConnect(m_dir.File("other.db"));
    CDatabase db;
    db.OpenEx(("ODBC;" + strConnect).c_str());
    EXPECT_EQ(db.GetConnect().Str(), "ODBC;" + strConnect);
    for (const std::string& strBad :
         {"DRIVER=" + m_dir.File("no-such-driver.so"), SqliteConnect(m_dir.File("none/x.db"))}) {
        const auto e = CatchAs<CDBException>([&] { db.OpenEx(strBad.c_str(), CDatabase::noOdbcDialog); });
        ASSERT_NE(e, nullptr) << strBad;
        EXPECT_EQ(e->GetSqlState().GetLength(), 5);
        EXPECT_FALSE(e->m_strError.IsEmpty());
        EXPECT_FALSE(db.IsOpen());
        EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_DBC), 1) << "the failed connection's handle is freed";
    }
    EXPECT_EQ(Answer(db, "SELECT 1")["error"]["sqlstate"], "08003");
    // A driver that quotes the password in its login error.
    const COdbcQuirks quirks(
        {false, {{"28000", 18456, "Login failed: 'TopSecret42' is not the password"}}, false});
    const auto e = CatchAs<CDBException>([&] { db.OpenEx("DRIVER=/nonexistent/driver.so;PWD=TopSecret42"); });
    EXPECT_EQ(e ? e->GetErrorText().Str() : "", "Login failed: '***' is not the password");
}

// Errors quote no password of the connect string, wherever it stands in them. (The recorded snapshot and
// the host's output are golden cases: snapshots/recorded.json, cases/cli/password-hidden-*.)
TEST(CSecretTest, PasswordsAreMaskedInText) {
    const char* aszCases[][3] = {
        {"Login failed: DRIVER=x;UID=sa;PWD=TopSecret42;", "DRIVER=x;UID=sa;PWD=TopSecret42",
         "Login failed: DRIVER=x;UID=sa;PWD=***;"},
        {"bad password 'TopSecret42'", "uid=sa;pwd=TopSecret42", "bad password '***'"},
        {"echo: Password={Top;Secret}", "Password={Top;Secret};Server=s", "echo: Password=***"},
        {"echo: password=Other1; PWD=Other2", "Server=s", "echo: password=***; PWD=***"},
        {"bad hush", "DSN=Sales;Password = hush ;UID=reader", "bad ***"},
        {"bad {a;b}=c} and a;b}=c", "DSN=Sales;PWD={a;b}=c};UID=reader", "bad *** and ***"},
        {"bad reader", "DSN=Sales;PWD=;UID=reader", "bad reader"},
        {"echo: PWD={a;b}}c}; UID=sa", "PWD={a;b}}c}", "echo: PWD=***; UID=sa"},
        // A password is masked where it stands as a token of its own, and one too short is not looked for.
        {"Login failed for user \"sa\" / Unable to connect to data source", "UID=sa;PWD=o",
         "Login failed for user \"sa\" / Unable to connect to data source"},
        {"Database 'x' does not exist", "PWD=x", "Database 'x' does not exist"},
        {"Login failed for user 'sa'", "UID=sa;PWD=ogin", "Login failed for user 'sa'"},
        {"Logins failed, Login", "UID=sa;PWD=Login", "Logins failed, ***"},
        {"said 'p@ss!' to x", "PWD=p@ss!", "said '***' to x"},
        {"nothing to hide", "DSN=Sales", "nothing to hide"}};
    for (const auto& c : aszCases)
        EXPECT_EQ(HideConnectSecrets(c[0], c[1]), c[2]) << c[0];
}

} // namespace
