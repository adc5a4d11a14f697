// Golden single-object calls: each folder under cases/object holds calls.json, a catalog snapshot of
// tests/fixtures ("snapshot") and a table of calls made on it in order ("calls"), with the files of the
// texts they must give. A row: "call" (GetSqlScriptObject, GenerateSQLScriptObject,
// GenerateSQLScriptFields, ResolveObjectCategory, or ScriptDependents of a table), "name" (null for none),
// "category" (eSql... or a number), "schema", "collation", "connection": "closed"; and what it must give:
// "file" or "text" (else the caller's text "keep" stays), "returns" (1), "error" (the TErrState message;
// none: success), "boxes" (the message boxes shown), "throws" (SQLSTATE), "pooled" (connections left in the
// pool, which holds one idle connection before each exported call: 0).
#include "cases/CaseSupport.h"

#include "api/SingleObject.h"
#include "catalog/ConnectionContext.h"
#include "scripting/Tables.h"
#include "scripts/ScriptApi.h"
#include "ui/Ui.h"

#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

const char* const kCategories[] = {"eSqlDefaults", "eSqlUdt",        "eSqlTables",  "eSqlPK",
                                   "eSqlFK",       "eSqlFullText",   "eSqlSchemas", "eSqlViews",
                                   "eSqlTriggers", "eSqlStoredProc", "eSqlIndexes", "eSqlChecks",
                                   "eSqlUdf",      "eSqlUnknown"};

eSqlTypeObjects Category(const json& row) {
    const json& value = row.at("category");
    if (value.is_number())
        return static_cast<eSqlTypeObjects>(value.get<int>());
    return static_cast<eSqlTypeObjects>(std::find(std::begin(kCategories), std::end(kCategories), value) -
                                        std::begin(kCategories));
}

// Makes the call of the row on db; its text goes to strText.
void Call(const json& row, CDatabase& db, CString& strText) {
    const std::string strCall = row.at("call");
    const json name = row.value("name", json());
    const std::string strName = name.is_null() ? "" : name.get<std::string>();
    const char* pszName = name.is_null() ? nullptr : strName.c_str();
    const bool bNoCollation = !row.value("collation", false);
    if (strCall == "GetSqlScriptObject") {
        const TErrState state = GetSqlScriptObject(db, Category(row), pszName, strText, bNoCollation);
        EXPECT_EQ(state.nError, row.contains("error") ? 1 : 0);
        EXPECT_EQ(state.strMessage.Str(), row.value("error", ""));
    } else if (strCall == "GenerateSQLScriptObject") {
        EXPECT_EQ(GenerateSQLScriptObject(db, pszName, strText, bNoCollation), row.value("returns", 1));
    } else if (strCall == "GenerateSQLScriptFields") {
        EXPECT_EQ(GenerateSQLScriptFields(db, pszName, strText), row.value("returns", 1));
    } else if (strCall == "ResolveObjectCategory") {
        EXPECT_EQ(ResolveObjectCategory(pszName), Category(row));
    } else {
        ASSERT_EQ(strCall, "ScriptDependents");
        strText = CSQLTable().ScriptDependents(row.value("schema", "").c_str(), pszName);
    }
}

class ObjectCase : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        ResetDefinitionLengthForTesting();
        AfxSetUiBackend(nullptr);
    }
    void TearDown() override {
        CloseAllConnections();
        SetConnectionContext(nullptr, false);
        AfxGetHeadlessUiBackend().ClearMessages();
    }
};

TEST_P(ObjectCase, GivesTheExpectedTexts) {
    const std::string strCase = std::string(SCRIPTS_CASES_DIR) + "/object/" + GetParam() + "/";
    const json calls = json::parse(ReadWholeFile(strCase + "calls.json"));
    CDatabase db;
    db.OpenEx(("SNAPSHOT=" SCRIPTS_FIXTURES_DIR "/" + calls.at("snapshot").get<std::string>()).c_str());
    CDatabase closed;
    for (const json& row : calls.at("calls")) {
        SCOPED_TRACE(row.dump());
        AfxGetHeadlessUiBackend().ClearMessages();
        SetConnectionContext(&db, true);
        if (row.at("call").get<std::string>().front() == 'G') // the exported Get.. and Generate.. calls
            ReleaseConnection(AcquireConnection());
        SetConnectionContext(&db, false);
        CString strText = "keep";
        try {
            Call(row, row.value("connection", "") == "closed" ? closed : db, strText);
            EXPECT_FALSE(row.contains("throws"));
        } catch (CDBException* e) {
            EXPECT_EQ(e->GetSqlState().Str(), row.value("throws", "")) << e->GetErrorText().Str();
            e->Delete();
        }
        const std::string strFile = strCase + row.value("file", "");
        ASSERT_TRUE(!row.contains("file") || std::filesystem::exists(strFile)) << strFile;
        EXPECT_SCRIPT(strText.Str(),
                      row.contains("file") ? ReadWholeFile(strFile) : row.value("text", "keep"));
        std::vector<std::string> aBoxes;
        for (const TUiMessage& message : AfxGetHeadlessUiBackend().GetMessages()) {
            EXPECT_EQ(message.nType, MB_OK);
            aBoxes.push_back(message.strText.Str());
        }
        EXPECT_EQ(aBoxes, row.value("boxes", std::vector<std::string>()));
        EXPECT_EQ(GetPooledConnectionCount(), row.value("pooled", 0));
    }
}

INSTANTIATE_TEST_SUITE_P(Object, ObjectCase, testing::ValuesIn(CaseNames("object")), CaseTestName);

} // namespace
