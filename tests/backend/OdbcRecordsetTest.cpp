// CDatabase and CRecordset over the SQLite ODBC driver: cursors, binding, long and non-ASCII text.
#include "platform/PlatformTestSupport.h"

#include <sql.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Texts go in as hex UTF-8: the driver manager passes statement text to this ANSI driver in the
// process's locale encoding, and tests run in the C locale.
constexpr const char* kPrivetMir = "CAST(x'd09fd180d0b8d0b2d0b5d18220d0bcd0b8d180' AS TEXT)"; // Привет мир
constexpr const char* kCjk = "CAST(x'e695b0e68daee5ba93e5afb9e8b1a1' AS TEXT)"; // 数据库对象
constexpr const char* kEmoji = "CAST(x'f09f9880' AS TEXT)";                     // 😀

std::string Repeat(const std::string& strUnit, size_t nTimes) {
    std::string str;
    str.reserve(strUnit.size() * nTimes);
    for (size_t i = 0; i < nTimes; ++i)
        str += strUnit;
    return str;
}

class COdbcTest : public testing::Test {
protected:
    void SetUp() override {
        m_db.OpenEx(SqliteConnect(m_dir.File("test.db")).c_str(), CDatabase::noOdbcDialog);
    }

    void Run(const std::string& strSql) { RunSql(m_db, strSql.c_str()); }

    // Every row of a query, each as its columns' values joined with '|'.
    std::vector<std::string> Rows(const char* pszSql, UINT nOpenType = CRecordset::snapshot) {
        CRecordset rs(&m_db);
        rs.Open(nOpenType, pszSql);
        std::vector<std::string> aRows;
        for (; !rs.IsEOF(); rs.MoveNext())
            aRows.push_back(RowText(rs));
        return aRows;
    }

    static std::string RowText(const CRecordset& rs) {
        std::string str;
        for (short i = 0; i < rs.GetODBCFieldCount(); ++i) {
            CString strValue;
            rs.GetFieldValue(i, strValue);
            str += (i ? "|" : "") + strValue.Str();
        }
        return str;
    }

    CTempDir m_dir;
    CDatabase m_db;
};

// Binds three columns by position, the text one with a chosen length.
class CItemSet : public CRecordset {
public:
    explicit CItemSet(CDatabase* pDatabase, int nNameLength = 255)
        : CRecordset(pDatabase), m_nNameLength(nNameLength) {
        m_nFields = 3;
    }
    CString GetDefaultSQL() override {
        return "SELECT id AS first, name AS second, qty AS third FROM items ORDER BY id";
    }
    void DoFieldExchange(CFieldExchange* pFX) override {
        pFX->SetFieldType(CFieldExchange::outputColumn);
        RFX_Long(pFX, "[id]", m_nId);
        RFX_Text(pFX, "[name]", m_strName, m_nNameLength);
        RFX_Long(pFX, "[qty]", m_nQty);
    }

    long m_nId = 0;
    CString m_strName;
    int m_nQty = 0;

private:
    int m_nNameLength;
};

TEST_F(COdbcTest, GetConnectIsOdbcPrefixAndTheConnectString) {
    const std::string strConnect = SqliteConnect(m_dir.File("test.db"));
    EXPECT_EQ(m_db.GetConnect(), ("ODBC;" + strConnect).c_str());
    EXPECT_TRUE(m_db.IsOpen());
    EXPECT_NE(m_db.m_hdbc, nullptr);

    CDatabase db;
    EXPECT_EQ(db.m_hdbc, nullptr);
    db.OpenEx(("ODBC;" + strConnect).c_str());
    EXPECT_EQ(db.GetConnect(), ("ODBC;" + strConnect).c_str());
    db.Close();
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.m_hdbc, nullptr);
}

TEST_F(COdbcTest, PositionalBindingFillsMembersAndNullsGiveEmptyAndZero) {
    Run("CREATE TABLE items (id INTEGER, name TEXT, qty INTEGER)");
    Run("INSERT INTO items VALUES (1, 'alpha', 10)");
    Run("INSERT INTO items VALUES (2, NULL, NULL)");
    Run("INSERT INTO items VALUES (3, 'gamma', -5)");
    Run("INSERT INTO items VALUES (4, '', 2147483648)");

    for (const UINT nOpenType : {CRecordset::snapshot, CRecordset::forwardOnly}) {
        CItemSet rs(&m_db);
        rs.Open(nOpenType);
        std::vector<std::string> aSeen;
        for (; !rs.IsEOF(); rs.MoveNext())
            aSeen.push_back(std::to_string(rs.m_nId) + "|" + rs.m_strName.Str() + "|" +
                            std::to_string(rs.m_nQty));
        // The NULL row follows a full one: its members are reset, not left from the row before.
        EXPECT_EQ(aSeen, (std::vector<std::string>{"1|alpha|10", "2||0", "3|gamma|-5", "4||-2147483648"}))
            << "open type " << nOpenType;
    }
}

TEST_F(COdbcTest, BindingMoreColumnsThanTheResultHasThrows) {
    Run("CREATE TABLE items (id INTEGER, name TEXT)");
    Run("INSERT INTO items VALUES (1, 'alpha')");
    CItemSet rs(&m_db);
    const auto e =
        CatchAs<CDBException>([&] { rs.Open(CRecordset::snapshot, "SELECT id, name FROM items"); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetSqlState(), "07009");
    EXPECT_FALSE(rs.IsOpen());
}

TEST_F(COdbcTest, EmptyResultIsEofAndBof) {
    Run("CREATE TABLE items (id INTEGER, name TEXT, qty INTEGER)");
    CItemSet rs(&m_db);
    rs.Open();
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_TRUE(rs.IsBOF());
    EXPECT_EQ(rs.m_nId, 0);
}

TEST_F(COdbcTest, BoundLengthKeepsTheFirstCharactersOfNonAsciiText) {
    Run("CREATE TABLE items (id INTEGER, name TEXT, qty INTEGER)");
    Run(std::string("INSERT INTO items VALUES (1, ") + kPrivetMir + ", 0)");
    Run(std::string("INSERT INTO items VALUES (2, ") + kCjk + ", 0)");
    Run(std::string("INSERT INTO items VALUES (3, 'a' || ") + kEmoji + " || 'b' || " + kEmoji + ", 0)");
    Run(std::string("INSERT INTO items VALUES (4, 'plain', 0)"));
    struct TCase {
        int nLength;
        std::vector<std::string> aExpected;
    };
    const TCase aCases[] = {
        {255, {"Привет мир", "数据库对象", "a😀b😀", "plain"}},
        {10, {"Привет мир", "数据库对象", "a😀b😀", "plain"}},
        {6, {"Привет", "数据库对象", "a😀b😀", "plain"}},
        {3, {"При", "数据库", "a😀b", "pla"}},
        {2, {"Пр", "数据", "a😀", "pl"}},
        {1, {"П", "数", "a", "p"}},
    };
    for (const TCase& test : aCases) {
        CItemSet rs(&m_db, test.nLength);
        rs.Open();
        std::vector<std::string> aSeen;
        for (; !rs.IsEOF(); rs.MoveNext())
            aSeen.push_back(rs.m_strName.Str());
        EXPECT_EQ(aSeen, test.aExpected) << "bound length " << test.nLength;
    }
}

TEST_F(COdbcTest, NestedSnapshotRecordsetsShareOneConnection) {
    Run("CREATE TABLE parents (id INTEGER, name TEXT)");
    Run("CREATE TABLE children (parent INTEGER, name TEXT)");
    Run("INSERT INTO parents VALUES (1, 'p1'), (2, 'p2'), (3, 'p3')");
    Run("INSERT INTO children VALUES (1, 'c1'), (1, 'c2'), (3, 'c3')");

    CRecordset outer(&m_db);
    outer.Open(CRecordset::snapshot, "SELECT id, name FROM parents ORDER BY id");
    std::string strSeen;
    for (; !outer.IsEOF(); outer.MoveNext()) {
        CString strId, strName;
        outer.GetFieldValue(short(0), strId);
        outer.GetFieldValue("name", strName);
        strSeen += strName.Str() + ":";
        CRecordset inner(&m_db);
        inner.Open(CRecordset::snapshot,
                   ("SELECT name FROM children WHERE parent = " + strId.Str() + " ORDER BY name").c_str());
        for (; !inner.IsEOF(); inner.MoveNext())
            strSeen += RowText(inner) + ",";
        strSeen += ";";
    }
    EXPECT_EQ(strSeen, "p1:c1,c2,;p2:;p3:c3,;");
    // Snapshots hold their rows, not a statement.
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 0);
}

TEST_F(COdbcTest, ForwardOnlyStreamsAndIsBufferedWhenAnotherStatementRuns) {
    Run("CREATE TABLE numbers (n INTEGER)");
    Run("WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 100) "
        "INSERT INTO numbers SELECT n FROM c");

    CRecordset stream(&m_db);
    stream.Open(CRecordset::forwardOnly, "SELECT n FROM numbers ORDER BY n");
    std::vector<std::string> aSeen;
    for (int i = 0; i < 10; ++i, stream.MoveNext())
        aSeen.push_back(RowText(stream));
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 1) << "the stream reads from its statement";

    EXPECT_EQ(Rows("SELECT COUNT(*) FROM numbers"), std::vector<std::string>{"100"});
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 0)
        << "the stream's rest was buffered and its statement freed";

    // A second stream opened mid-way through the first, on the same connection.
    CRecordset second(&m_db);
    second.Open(CRecordset::forwardOnly, "SELECT n * 2 FROM numbers WHERE n <= 3 ORDER BY n");
    EXPECT_EQ(Rows("SELECT n FROM numbers WHERE n = 7", CRecordset::forwardOnly),
              std::vector<std::string>{"7"});
    std::vector<std::string> aSecond;
    for (; !second.IsEOF(); second.MoveNext())
        aSecond.push_back(RowText(second));
    EXPECT_EQ(aSecond, (std::vector<std::string>{"2", "4", "6"}));

    for (; !stream.IsEOF(); stream.MoveNext())
        aSeen.push_back(RowText(stream));
    ASSERT_EQ(aSeen.size(), 100u);
    for (size_t i = 0; i < aSeen.size(); ++i)
        EXPECT_EQ(aSeen[i], std::to_string(i + 1));
    EXPECT_EQ(LiveOdbcHandles(SQL_HANDLE_STMT), 0);
}

TEST_F(COdbcTest, ForwardOnlyStatementWithoutResultGivesNoRows) {
    EXPECT_TRUE(Rows("CREATE TABLE t (n INTEGER)", CRecordset::forwardOnly).empty());
    EXPECT_TRUE(Rows("INSERT INTO t VALUES (1)", CRecordset::forwardOnly).empty());
    EXPECT_EQ(Rows("SELECT n FROM t"), std::vector<std::string>{"1"});
}

TEST_F(COdbcTest, ColumnDescriptionsOfAnEmptyViewResult) {
    Run("CREATE TABLE items (id INTEGER, name TEXT, qty INTEGER)");
    Run("CREATE VIEW v AS SELECT id, name AS Title, qty * 2 AS Twice FROM items");
    CRecordset rs(&m_db);
    rs.Open(CRecordset::snapshot, "SELECT * FROM v WHERE 1=0");
    EXPECT_TRUE(rs.IsEOF());
    ASSERT_EQ(rs.GetODBCFieldCount(), 3);
    std::vector<std::string> aNames;
    for (short i = 0; i < rs.GetODBCFieldCount(); ++i) {
        CODBCFieldInfo info;
        rs.GetODBCFieldInfo(i, info);
        aNames.push_back(info.m_strName.Str());
    }
    EXPECT_EQ(aNames, (std::vector<std::string>{"id", "Title", "Twice"}));
    CODBCFieldInfo info;
    const auto e = CatchAs<CDBException>([&] { rs.GetODBCFieldInfo(3, info); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetSqlState(), "07009");
}

struct TLongText {
    const char* pszName;
    std::string strSqlUnit; // SQL expression of one repeated unit
    std::string strUnit;    // the same unit as UTF-8
    size_t nRepeat;
    friend void PrintTo(const TLongText& text, std::ostream* pOut) { *pOut << text.pszName; }
};

class COdbcLongTextTest : public COdbcTest, public testing::WithParamInterface<TLongText> {};

// Far longer than the 4096-unit fetch buffer; with surrogate pairs (odd chunk length) straddling chunks.
INSTANTIATE_TEST_SUITE_P(Values, COdbcLongTextTest,
                         testing::Values(TLongText{"OneMegabyteAscii", "'ab'", "ab", 524288},
                                         TLongText{"EmojiPairs", kEmoji, "😀", 5000},
                                         TLongText{"LetterAndEmoji", std::string("'a' || ") + kEmoji, "a😀",
                                                   4000},
                                         TLongText{"Cyrillic", "CAST(x'd0b6' AS TEXT)", "ж", 300000},
                                         TLongText{"ExactlyOneChunk", "'x'", "x", 4095},
                                         TLongText{"OneUnitMore", "'x'", "x", 4096}),
                         [](const testing::TestParamInfo<TLongText>& info) { return info.param.pszName; });

TEST_P(COdbcLongTextTest, ReadWholeWhenTheBoundLengthAllowsIt) {
    const TLongText& text = GetParam();
    Run("CREATE TABLE items (id INTEGER, name TEXT, qty INTEGER)");
    Run("INSERT INTO items VALUES (1, replace(hex(zeroblob(" + std::to_string(text.nRepeat) + ")), '00', " +
        text.strSqlUnit + "), 7)");
    const std::string strExpected = Repeat(text.strUnit, text.nRepeat);

    for (const bool bNoTotal : {false, true}) {
        COdbcQuirks quirks;
        if (bNoTotal)
            quirks.ReportNoTotal();
        for (const UINT nOpenType : {CRecordset::snapshot, CRecordset::forwardOnly}) {
            CItemSet rs(&m_db, 2'000'000);
            rs.Open(nOpenType);
            ASSERT_FALSE(rs.IsEOF());
            EXPECT_TRUE(rs.m_strName.Str() == strExpected)
                << "no total " << bNoTotal << ", open type " << nOpenType << ": " << rs.m_strName.GetLength()
                << " bytes, expected " << strExpected.size();
            EXPECT_EQ(rs.m_nQty, 7);
        }
    }
}

TEST_P(COdbcLongTextTest, CutToTheBoundLength) {
    const TLongText& text = GetParam();
    Run("CREATE TABLE items (id INTEGER, name TEXT, qty INTEGER)");
    Run("INSERT INTO items VALUES (1, replace(hex(zeroblob(" + std::to_string(text.nRepeat) + ")), '00', " +
        text.strSqlUnit + "), 7)");
    CItemSet rs(&m_db, 4097);
    rs.Open();
    // 4097 characters: whole units, and for "a😀" the letter of one more.
    const std::string strExpected = text.strUnit == "a😀" ? Repeat("a😀", 2048) + "a"
                                    : text.strUnit == "ab"
                                        ? Repeat("ab", 2048) + "a"
                                        : Repeat(text.strUnit, std::min<size_t>(4097, text.nRepeat));
    EXPECT_TRUE(rs.m_strName.Str() == strExpected) << rs.m_strName.GetLength() << " bytes";
}

} // namespace
