// Names that try to leave their literal. Against an empty catalog each call stops at its first statement
// about the name; hostile/statements.json holds, by name and call (a category, "object", "fields"), the
// statements sent, the name kept inside its literal or delimited identifier. (The host passing names
// through untouched, and a hostile view found and listed, are golden runs: cases/cli/*hostile*.)
#include "platform/PlatformTestSupport.h"

#include "backend/SnapshotFaults.h"
#include "catalog/ConnectionContext.h"
#include "scripts/ScriptApi.h"
#include "ui/Ui.h"

namespace {

TEST(CHostileNameTest, EveryCallSendsTheNameQuoted) {
    CHeadlessUiBackend ui;
    AfxSetUiBackend(&ui);
    ResetDefinitionLengthForTesting();
    CDatabase db;
    db.OpenEx(("SNAPSHOT=" + FixtureFile("snapshots/empty.json")).c_str(), CDatabase::noOdbcDialog);
    std::vector<std::string> aSent;
    SetSnapshotStatementObserver([&](const std::string& strSql) { aSent.push_back(strSql); });
    const auto expected = nlohmann::json::parse(ReadWholeFile(FixtureFile("hostile/statements.json")));
    for (const auto& [strName, calls] : expected.items())
        for (const auto& [strCall, sent] : calls.items()) {
            aSent.clear();
            CString strOut;
            // GenerateSQLScriptObject lets a failing category lookup leave as the database's exception.
            if (strCall == "object")
                CatchAs<CDBException>([&] { GenerateSQLScriptObject(db, strName.c_str(), strOut, false); });
            else if (strCall == "fields")
                GenerateSQLScriptFields(db, strName.c_str(), strOut);
            else
                GetSqlScriptObject(db, static_cast<eSqlTypeObjects>(std::stoi(strCall)), strName.c_str(),
                                   strOut, false);
            EXPECT_EQ(nlohmann::json(aSent), sent) << strName << ", " << strCall;
        }
    SetSnapshotStatementObserver(nullptr);
    AfxSetUiBackend(nullptr);
    EXPECT_EQ(GetPooledConnectionCount(), 0);
}

} // namespace
