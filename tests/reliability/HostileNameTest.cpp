// Names that try to leave their literal: every statement sent must keep them inside it.
#include "export/ExportTestSupport.h"

#include "backend/SnapshotFaults.h"
#include "scripts/ScriptApi.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace {

const std::vector<std::string>& HostileNames() {
    static const std::vector<std::string> aNames = {
        "it's",
        "a]b[c",
        "x.y.z",
        "t'; DROP TABLE dbo.Orders; --",
        "v] WHERE 1=1; SELECT name FROM sys.sql_logins --",
        "/* open comment",
        "close */ --",
        "\"quoted\"",
        "Заказы 'Клиент'",
        "表'名]",
        std::string(150, '\'') + std::string(150, ']'), // 300 characters
    };
    return aNames;
}

// The statement's shape: literals, delimited identifiers and comments reduced to placeholders. A name that
// stays inside its literal or delimited identifier changes the text but never the shape; an unterminated
// literal or identifier makes the shape "unterminated".
std::string Shape(const std::string& strSql) {
    std::string strShape;
    for (size_t i = 0; i < strSql.size(); ++i) {
        const char ch = strSql[i];
        const char chClose = ch == '\'' ? '\'' : ch == '[' ? ']' : ch == '"' ? '"' : '\0';
        if (chClose == '\0') {
            strShape += ch;
            continue;
        }
        size_t j = i + 1;
        for (; j < strSql.size(); ++j) {
            if (strSql[j] != chClose)
                continue;
            if (j + 1 < strSql.size() && strSql[j + 1] == chClose) {
                ++j;
                continue;
            }
            break;
        }
        if (j >= strSql.size())
            return "unterminated";
        strShape += ch == '\'' ? "'S'" : "[I]";
        i = j;
    }
    return strShape;
}

// GenerateSQLScriptObject lets a failing category lookup leave as the database's exception.
template <typename F> void CallLettingTheLookupFail(F&& call) {
    try {
        call();
    } catch (CDBException* e) {
        e->Delete();
    }
}

class CHostileNameTest : public testing::Test {
protected:
    void SetUp() override {
        AfxSetUiBackend(&m_ui);
        ResetDefinitionLengthForTesting();
        WriteWholeFile(m_dir.File("empty.json"),
                       R"({"format": "sqlscripts-catalog-snapshot", "version": 1, "statements": []})");
        m_db.OpenEx(("SNAPSHOT=" + m_dir.File("empty.json")).c_str(), CDatabase::noOdbcDialog);
        SetSnapshotStatementObserver([this](const std::string& strSql) { m_aStatements.push_back(strSql); });
    }
    void TearDown() override {
        SetSnapshotStatementObserver(nullptr);
        AfxSetUiBackend(nullptr);
    }

    // The statements that one call sends for a name.
    template <typename F> std::vector<std::string> Sent(F&& call) {
        m_aStatements.clear();
        call();
        return m_aStatements;
    }

    CTempDir m_dir;
    CHeadlessUiBackend m_ui;
    CDatabase m_db;
    std::vector<std::string> m_aStatements;
};

// Against an empty catalog each call fails at its first statement, which is recorded here; the same call
// with a plain name (one that needs delimiting too) gives the shape to expect.
TEST_F(CHostileNameTest, EveryCallKeepsTheNameInsideItsLiteral) {
    const std::string strPlain = "plain name";
    const std::vector<std::pair<std::string, std::function<void(const char*)>>> aCalls = [this] {
        std::vector<std::pair<std::string, std::function<void(const char*)>>> aCalls;
        for (int nCategory = 0; nCategory < 13; ++nCategory)
            aCalls.emplace_back(
                "GetSqlScriptObject " + std::to_string(nCategory), [this, nCategory](const char* psz) {
                    CString strScript;
                    GetSqlScriptObject(m_db, static_cast<eSqlTypeObjects>(nCategory), psz, strScript, false);
                });
        aCalls.emplace_back("GenerateSQLScriptObject", [this](const char* psz) {
            CString strScript;
            CallLettingTheLookupFail([&] { GenerateSQLScriptObject(m_db, psz, strScript, false); });
        });
        aCalls.emplace_back("GenerateSQLScriptFields", [this](const char* psz) {
            CString strFields;
            GenerateSQLScriptFields(m_db, psz, strFields);
        });
        return aCalls;
    }();
    for (const auto& [strCall, call] : aCalls) {
        SCOPED_TRACE(strCall);
        call(strPlain.c_str()); // the first call of all also probes the definition length
        const std::vector<std::string> aPlain = Sent([&] { call(strPlain.c_str()); });
        for (const std::string& strName : HostileNames()) {
            SCOPED_TRACE(strName);
            const std::vector<std::string> aSent = Sent([&] { call(strName.c_str()); });
            ASSERT_EQ(aSent.size(), aPlain.size());
            for (size_t i = 0; i < aSent.size(); ++i) {
                EXPECT_NE(Shape(aSent[i]), "unterminated") << aSent[i];
                EXPECT_EQ(Shape(aSent[i]), Shape(aPlain[i])) << aSent[i];
            }
        }
    }
    EXPECT_EQ(GetPooledConnectionCount(), 0);
}

// The exact texts of the object-type probe: the name delimited, its quote doubled for the literal.
TEST_F(CHostileNameTest, TheTypeProbeSendsTheDelimitedName) {
    const struct {
        std::string strName;
        std::string strSql;
    } aCases[] = {
        {"it's", "SELECT O.type FROM sys.objects O WHERE O.object_id = OBJECT_ID('dbo.[it''s]') "},
        {"a]b[c", "SELECT O.type FROM sys.objects O WHERE O.object_id = OBJECT_ID('dbo.[a]]b[c]') "},
        {"x.y.z", "SELECT O.type FROM sys.objects O WHERE O.object_id = OBJECT_ID('dbo.[x.y.z]') "},
        {"t'; DROP TABLE dbo.Orders; --", "SELECT O.type FROM sys.objects O WHERE O.object_id = "
                                          "OBJECT_ID('dbo.[t''; DROP TABLE dbo.Orders; --]') "},
        {"表'名]", "SELECT O.type FROM sys.objects O WHERE O.object_id = OBJECT_ID('dbo.[表''名]]]') "},
        {"Заказы", "SELECT O.type FROM sys.objects O WHERE O.object_id = OBJECT_ID('dbo.Заказы') "},
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.strName);
        const std::vector<std::string> aSent = Sent([&] {
            CString strScript;
            CallLettingTheLookupFail(
                [&] { GenerateSQLScriptObject(m_db, c.strName.c_str(), strScript, false); });
        });
        EXPECT_EQ(aSent, std::vector<std::string>{c.strSql});
    }
}

// A view with a hostile name, found and listed: each statement must be exactly the recorded one.
TEST_F(CHostileNameTest, TheColumnsOfAViewWithAHostileNameAreListed) {
    nlohmann::json doc = {{"format", "sqlscripts-catalog-snapshot"}, {"version", 1}};
    const auto statement = [](const std::string& strSql, const std::vector<std::string>& aColumns,
                              nlohmann::json rows) {
        nlohmann::json columns = nlohmann::json::array();
        for (const std::string& strColumn : aColumns)
            columns.push_back({{"name", strColumn}});
        return nlohmann::json{{"sql", strSql}, {"columns", std::move(columns)}, {"rows", std::move(rows)}};
    };
    doc["statements"] = {
        statement("SELECT O.type FROM sys.objects O WHERE O.object_id = OBJECT_ID('dbo.[v]]; DROP VIEW x; "
                  "--''s]') ",
                  {"type"}, {{"V "}}),
        statement(
            "SELECT OBJ.name, SCH.name AS SchemaName,  MOD.definition, MOD.uses_ansi_nulls, "
            "MOD.uses_quoted_identifier FROM sys.objects AS OBJ INNER JOIN sys.sql_modules AS MOD ON "
            "OBJ.object_id = MOD.object_id INNER JOIN sys.schemas SCH ON OBJ.schema_id = SCH.schema_id "
            "WHERE OBJ.type = 'V' AND OBJ.name = 'v]; DROP VIEW x; --''s' AND SCH.name = 'dbo' ORDER BY "
            "OBJ.name ASC ",
            {"name", "SchemaName", "definition", "uses_ansi_nulls", "uses_quoted_identifier"},
            {{"v]; DROP VIEW x; --'s", "dbo", "CREATE VIEW v AS SELECT 1 AS Id", 1, 1}}),
        statement("SELECT * FROM dbo.[v]]; DROP VIEW x; --'s] WHERE 1=0", {"Id"}, nlohmann::json::array()),
    };
    WriteWholeFile(m_dir.File("view.json"), doc.dump());
    CDatabase db;
    db.OpenEx(("SNAPSHOT=" + m_dir.File("view.json")).c_str(), CDatabase::noOdbcDialog);
    CString strFields;
    EXPECT_EQ(GenerateSQLScriptFields(db, "v]; DROP VIEW x; --'s", strFields), 1);
    EXPECT_EQ(strFields.Str(), "Id");
    for (const TUiMessage& message : m_ui.GetMessages())
        ADD_FAILURE() << message.strText.Str();
}

// The host passes the name through untouched: the statement it reports is the delimited one.
TEST_F(CHostileNameTest, TheHostSendsTheSameStatement) {
    const std::string strCommand = std::string(SQLSCRIPTS_BINARY) + " object --snapshot " +
                                   m_dir.File("empty.json") + " -- \"t'; DROP TABLE x; --\" 2>&1";
    std::FILE* pPipe = ::popen(strCommand.c_str(), "r");
    ASSERT_NE(pPipe, nullptr);
    std::string strOutput;
    char szBuffer[512];
    while (const size_t nRead = std::fread(szBuffer, 1, sizeof szBuffer, pPipe))
        strOutput.append(szBuffer, nRead);
    const int nStatus = ::pclose(pPipe);
    EXPECT_TRUE(WIFEXITED(nStatus));
    EXPECT_EQ(WEXITSTATUS(nStatus), 1);
    EXPECT_NE(strOutput.find("\"SELECT O.type FROM sys.objects O WHERE O.object_id = "
                             "OBJECT_ID('dbo.[t''; DROP TABLE x; --]') \""),
              std::string::npos)
        << strOutput;
}

} // namespace
