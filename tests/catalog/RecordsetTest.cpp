// The catalog recordsets' own logic, beside the statements the golden cases replay: which statement a mode
// sends and how many columns it binds, where the parameters go and how they are quoted, "dbo" for an empty
// schema where the statement puts it, the prefetch key, the bound lengths and the definition length probe,
// and the pool's connections taken and given back from many threads at once.
#include "catalog/ConnectionContext.h"
#include "catalog/SQLRecDependents.h"
#include "catalog/SQLRecObjects.h"
#include "catalog/SQLRecTableDetails.h"
#include "platform/PlatformTestSupport.h"

#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

namespace {

using json = nlohmann::json;

class CCatalogTest : public testing::Test {
protected:
    void SetUp() override { ResetDefinitionLengthForTesting(); }
    void TearDown() override {
        CloseAllConnections();
        SetConnectionContext(nullptr, false);
        ResetDefinitionLengthForTesting();
    }

    // Opens the connection on a snapshot of these answers: rows of one or more columns, or an error.
    void Open(const std::vector<std::pair<std::string, json>>& aAnswers, bool bPooled = false) {
        std::string strSnapshot = R"({"format":"sqlscripts-catalog-snapshot","version":2,"source":"test"})"
                                  "\n";
        for (const auto& [strSql, answer] : aAnswers) {
            if (answer.is_string()) {
                strSnapshot +=
                    json({{"sql", strSql},
                          {"error", {{"sqlstate", "42000"}, {"native", 229}, {"message", answer}}}})
                        .dump() +
                    "\n";
                continue;
            }
            json columns = json::array();
            for (size_t i = 0; i < (answer.empty() ? 1 : answer[0].size()); ++i)
                columns.push_back({{"name", "c" + std::to_string(i)}, {"type", "nvarchar"}});
            strSnapshot += json({{"sql", strSql}, {"columns", columns}}).dump() + "\n";
            for (const json& row : answer)
                strSnapshot += row.dump() + "\n";
        }
        if (m_db.IsOpen())
            m_db.Close();
        const std::string strPath = m_temp.File("catalog" + std::to_string(++m_nOpened) + ".json");
        WriteWholeFile(strPath, strSnapshot + "{\"end\":\"complete\"}\n");
        m_db.OpenEx(("SNAPSHOT=" + strPath).c_str(), CDatabase::noOdbcDialog);
        SetConnectionContext(&m_db, bPooled);
    }

    CTempDir m_temp;
    int m_nOpened = 0;
    CDatabase m_db;
};

struct TModeCase {
    const char* pszCase;
    std::function<std::unique_ptr<CSQLRecBase>()> make;
    UINT nFields;
    const char* pszPart;                // where the statement places the parameters, as the server reads it
    const char* pszSchema;              // the schema member after the statement is made
    std::vector<std::string> aKeyNames; // the prefetch key's names; none: no key
};

template <typename T>
std::function<std::unique_ptr<CSQLRecBase>()> Detail(const char* pszName, const char* pszSchema,
                                                     bool bDetail = true) {
    return [=] {
        auto pRecordset = std::make_unique<T>();
        pRecordset->SetDetail(bDetail);
        pRecordset->m_strParamName = pszName;
        pRecordset->m_strParamSchema = pszSchema;
        return pRecordset;
    };
}

template <typename T> std::function<std::unique_ptr<CSQLRecBase>()> List() {
    return Detail<T>("", "", false);
}

TEST_F(CCatalogTest, EachModeSendsItsStatementWithTheParametersQuotedAndBindsItsColumns) {
    Open({});
    const TModeCase aCases[] = {
        {"module list", List<CSQLRecViews>(), 2, "WHERE OBJ.type = 'V' ORDER BY", "", {}},
        {"module detail, schema left out",
         Detail<CSQLRecTriggers>("it's", ""),
         5,
         "WHERE OBJ.type = 'TR' AND OBJ.name = 'it''s' AND SCH.name = 'dbo' ",
         "dbo",
         {"TR", "dbo", "it's"}},
        {"user type list", List<CSQLRecUserTypes>(), 2, "WHERE TYPES.is_user_defined = 1 ORDER BY", "", {}},
        {"user type detail",
         Detail<CSQLRecUserTypes>("Phone", "o'sales"),
         9,
         "TYPES.name = 'Phone' AND TYPES.schema_id = SCHEMA_ID('o''sales')",
         "o'sales",
         {"o'sales", "Phone"}},
        {"primary key list", List<CSQLRecPKeys>(), 2, "WHERE PK.type = 'PK' ORDER BY", "", {}},
        {"primary key detail",
         Detail<CSQLRecPKeys>("PK_Orders", ""),
         7,
         "PK.name = 'PK_Orders' AND PK.schema_id = SCHEMA_ID('dbo')",
         "dbo",
         {"dbo", "PK_Orders"}},
        {"check detail, names delimited where needed",
         Detail<CSQLRecChecks>("CK it's", "my]schema"),
         5,
         "WHERE CH.object_id = OBJECT_ID('[my]]schema].[CK it''s]')",
         "my]schema",
         {"my]schema", "CK it's"}},
        {"check detail, schema left out",
         Detail<CSQLRecChecks>("CK_Qty", ""),
         5,
         "OBJECT_ID('dbo.CK_Qty')",
         "dbo",
         {"dbo", "CK_Qty"}},
        {"default constraint detail, no prefetch",
         Detail<CSQLRecDriDefaults>("DF_x", ""),
         5,
         "DEF.name = 'DF_x' AND DEF.schema_id = SCHEMA_ID('dbo')",
         "dbo",
         {}},
        {"foreign key list", List<CSQLRecForeignKeys>(), 2, "FROM sys.foreign_keys FK ORDER BY", "", {}},
        {"foreign keys of a table",
         Detail<CSQLRecForeignKeys>("Order Lines", ""),
         9,
         "WHERE FK.parent_object_id = OBJECT_ID( 'dbo.[Order Lines]' )",
         "dbo",
         {"dbo", "Order Lines"}},
        {"table's children, schema left out",
         Detail<CSQLRecChildsTrig>("Orders", ""),
         2,
         "OBJ.parent_object_id = OBJECT_ID('dbo.Orders')",
         "dbo",
         {}},
        {"object type, schema left out to the server",
         Detail<CSQLRecGetObjectType>("Orders", ""),
         1,
         "OBJECT_ID('.Orders')",
         "",
         {}},
        {"view's columns by bare or delimited names",
         Detail<CSQLRecViewCountFields>("my view", ""),
         0,
         "FROM dbo.[my view] WHERE 1=0",
         "dbo",
         {}},
    };
    for (const TModeCase& c : aCases) {
        const std::unique_ptr<CSQLRecBase> pRecordset = c.make();
        const std::string strSql = pRecordset->GetDefaultSQL().Str();
        EXPECT_NE(strSql.find(c.pszPart), std::string::npos) << c.pszCase << ": " << strSql;
        EXPECT_EQ(pRecordset->m_nFields, c.nFields) << c.pszCase;
        EXPECT_EQ(pRecordset->m_strParamSchema.Str(), c.pszSchema) << c.pszCase;
        const std::optional<TPrefetchKey> key = pRecordset->GetPrefetchKey();
        std::vector<std::string> aKeyNames;
        for (const CString& strName : key ? key->aNames : std::vector<CString>())
            aKeyNames.push_back(strName.Str());
        EXPECT_EQ(aKeyNames, c.aKeyNames) << c.pszCase;
    }
}

// Statements of one table or index take what the caller set: the columns' schema gets no "dbo", and ids are
// placed as numbers.
TEST_F(CCatalogTest, TableDetailsTakeTheirParametersAsGiven) {
    Open({});
    CSQLRecColumns columns;
    columns.m_strTableName = "Orders";
    EXPECT_NE(columns.GetDefaultSQL().Str().find("WHERE COL.object_id = OBJECT_ID('.Orders') ORDER BY"),
              std::string::npos);
    EXPECT_TRUE(columns.m_strTableSchema.IsEmpty());
    CSQLRecIndexColumns indexColumns;
    indexColumns.m_nObjectId = 1977058079;
    indexColumns.m_nIndexId = 2;
    EXPECT_NE(
        indexColumns.GetDefaultSQL().Str().find("INDCOL.object_id = 1977058079 AND INDCOL.index_id = 2 "),
        std::string::npos);
    const std::optional<TPrefetchKey> key = indexColumns.GetPrefetchKey();
    ASSERT_TRUE(key);
    EXPECT_EQ(key->nObjectId, 1977058079);
    EXPECT_EQ(key->nSubId, 2);
}

// A bound length counts characters: a definition is cut to the probed length, a name to 255, never inside a
// character's UTF-8 bytes.
TEST_F(CCatalogTest, BoundLengthsCutTextAtWholeCharacters) {
    Open({});
    CSQLRecViews statements; // a view's statements, as the recordset makes them
    statements.m_strParamName = "v";
    const std::string strList = statements.GetListSQL().Str();
    const std::string strDetail = statements.GetDetailSQL().Str();
    Open({{GetDefinitionLengthSQL("sys.sql_modules").Str(), json::parse("[[5]]")},
          {strDetail, json::array({{"v", "dbo", "ab😀Жcdef", 1, 0}})},
          {strList, json::array({{RepeatText("Ж", 300), "dbo"}})}});
    ResetDefinitionLengthForTesting();
    CSQLRecViews detail;
    detail.SetDetail(true);
    detail.m_strParamName = "v";
    detail.Open();
    EXPECT_EQ(detail.m_strDefinition.Str(), "ab😀Жc");
    EXPECT_EQ(detail.m_nUsesAnsiNulls, 1);
    EXPECT_EQ(detail.m_nUsesQuotedIdentifier, 0);
    CSQLRecViews list;
    list.Open();
    EXPECT_EQ(list.m_strName.Str(), RepeatText("Ж", 255));
}

// The length is probed once per process; a probe that gives no length (0, NULL, an error, no answer) gives
// 256.
TEST_F(CCatalogTest, TheDefinitionLengthIsProbedOnceAndIs256WithoutAnAnswer) {
    const std::string strSql = GetDefinitionLengthSQL("sys.sql_modules").Str();
    const std::pair<json, int> aProbes[] = {{json::parse("[[734]]"), 734},
                                            {json::parse("[[0]]"), 256},
                                            {json::parse("[[null]]"), 256},
                                            {json::array(), 256},
                                            {"permission denied", 256}};
    for (const auto& [answer, nLength] : aProbes) {
        Open({{strSql, answer},
              {GetDefinitionLengthSQL("sys.computed_columns").Str(), json::parse("[[99]]")}});
        ResetDefinitionLengthForTesting();
        EnsureDefinitionLength(&m_db, "sys.sql_modules");
        EnsureDefinitionLength(&m_db, "sys.computed_columns");
        EXPECT_EQ(GetDefinitionLength(), nLength) << answer.dump();
    }
}

// Each thread takes a connection no other thread holds; given back, it serves the next; the pool grows only
// to the most held at once.
TEST_F(CCatalogTest, ThePoolGivesEachThreadAConnectionOfItsOwn) {
    Open({}, true);
    constexpr int kThreads = 6;
    std::mutex mutex;
    std::set<CDatabase*> setHeld;
    int nShared = 0;
    std::vector<std::thread> aThreads;
    for (int i = 0; i < kThreads; ++i)
        aThreads.emplace_back([&] {
            for (int n = 0; n < 200; ++n) {
                CDatabase* pConnection = AcquireConnection();
                {
                    const std::lock_guard lock(mutex);
                    nShared += !setHeld.insert(pConnection).second || pConnection == &m_db;
                }
                std::this_thread::yield();
                {
                    const std::lock_guard lock(mutex);
                    setHeld.erase(pConnection);
                }
                ReleaseConnection(pConnection);
            }
        });
    for (std::thread& thread : aThreads)
        thread.join();
    EXPECT_EQ(nShared, 0);
    EXPECT_GE(GetPooledConnectionCount(), 1);
    EXPECT_LE(GetPooledConnectionCount(), kThreads);
    // Every connection was given back: as many as the pool holds are taken again without a new one.
    const int nPooled = GetPooledConnectionCount();
    std::set<CDatabase*> setTaken;
    for (int i = 0; i < nPooled; ++i)
        setTaken.insert(AcquireConnection());
    EXPECT_EQ(static_cast<int>(setTaken.size()), nPooled);
    EXPECT_EQ(GetPooledConnectionCount(), nPooled);
    ReleaseConnection(&m_db); // not the pool's: nothing happens
    EXPECT_EQ(GetPooledConnectionCount(), nPooled);
}

} // namespace
