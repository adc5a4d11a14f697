// What each of the three single-object calls does when it cannot script: the result, the text it leaves
// and the message boxes it shows.
#include "api/ApiTestSupport.h"

#include "scripts/ScriptApi.h"

#include <ostream>
#include <string>

namespace {

const std::string kDeniedMessage = "The SELECT permission was denied on the object 'columns'.";

std::string Repeat(const std::string& str, int nTimes) {
    std::string strOut;
    for (int i = 0; i < nTimes; ++i)
        strOut += str;
    return strOut;
}

class ScriptApiFailureTest : public CApiTest {};

TEST_F(ScriptApiFailureTest, ConnectionNeverOpenedIsRefusedBeforeAnythingElse) {
    CDatabase closed;
    SetConnectionContext(&m_db, false);

    CString strScript = "keep";
    const TErrState state = GetSqlScriptObject(closed, eSqlTables, "Orders", strScript, true);
    EXPECT_EQ(state.nError, 1);
    EXPECT_EQ(state.strMessage.Str(), kBadConnection);
    EXPECT_EQ(strScript.Str(), "keep");
    EXPECT_THAT(ShownBoxes(), IsEmpty());

    EXPECT_EQ(GenerateSQLScriptObject(closed, "Orders", strScript, true), 0);
    EXPECT_EQ(strScript.Str(), "keep");
    EXPECT_THAT(ShownBoxes(), ElementsAre(kBadConnection));

    CString strFields = "keep";
    EXPECT_EQ(GenerateSQLScriptFields(closed, "Orders", strFields), 0);
    EXPECT_EQ(strFields.Str(), "keep");
    EXPECT_THAT(ShownBoxes(), ElementsAre(kBadConnection, kBadConnection));

    // The calls stopped before taking over the connection context.
    EXPECT_EQ(GetContextDatabase(), &m_db);
}

TEST_F(ScriptApiFailureTest, MissingNameIsRefusedWithoutTouchingTheText) {
    for (const char* pszName : {static_cast<const char*>(nullptr), ""}) {
        SCOPED_TRACE(pszName ? "empty name" : "null name");
        CString strScript = "keep";
        const TErrState state = GetSqlScriptObject(m_db, eSqlTables, pszName, strScript, true);
        EXPECT_EQ(state.nError, 1);
        EXPECT_EQ(state.strMessage.Str(), kBadParameters);
        EXPECT_EQ(strScript.Str(), "keep");

        EXPECT_EQ(GenerateSQLScriptObject(m_db, pszName, strScript, true), 0);
        EXPECT_EQ(strScript.Str(), "keep");

        CString strFields = "keep";
        EXPECT_EQ(GenerateSQLScriptFields(m_db, pszName, strFields), 0);
        EXPECT_EQ(strFields.Str(), "keep");
    }
    EXPECT_THAT(ShownBoxes(), IsEmpty());
}

TEST_F(ScriptApiFailureTest, UnknownCategory) {
    CString strScript = "keep";
    const TErrState state = GetSqlScriptObject(m_db, eSqlUnknown, "Orders", strScript, true);
    EXPECT_EQ(state.nError, 1);
    EXPECT_EQ(state.strMessage.Str(), kBadParameters);
    EXPECT_EQ(strScript.Str(), "keep");
    EXPECT_THAT(ShownBoxes(), IsEmpty());

    // Only in another schema than dbo, and no user type of that name either.
    EXPECT_EQ(GenerateSQLScriptObject(m_db, "Elsewhere", strScript, true), 0);
    EXPECT_EQ(strScript.Str(), "keep");
    EXPECT_THAT(ShownBoxes(), ElementsAre(kBadParameters));

    // Not an error for the column list: success, and the caller's text stays.
    CString strFields = "keep";
    EXPECT_EQ(GenerateSQLScriptFields(m_db, "Elsewhere", strFields), 1);
    EXPECT_EQ(strFields.Str(), "keep");
    EXPECT_THAT(ShownBoxes(), ElementsAre(kBadParameters));
}

TEST_F(ScriptApiFailureTest, CategoryAboveUnknownScriptsNothingAndSucceeds) {
    for (int nCategory : {14, 15, 200}) {
        SCOPED_TRACE(nCategory);
        CString strScript = "keep";
        const TErrState state =
            GetSqlScriptObject(m_db, static_cast<eSqlTypeObjects>(nCategory), "Orders", strScript, true);
        EXPECT_EQ(state.nError, 0);
        EXPECT_EQ(state.strMessage.Str(), "");
        EXPECT_EQ(strScript.Str(), "");
    }
    EXPECT_THAT(ShownBoxes(), IsEmpty());
}

// A database error while scripting: 28008 and the driver's message, cut to what a buffer of 256
// characters holds, or 28006 when the driver gave no message.
struct TScriptingError {
    const char* pszTable;
    std::string strText;
};

void PrintTo(const TScriptingError& error, std::ostream* pOut) {
    *pOut << error.pszTable;
}

class ScriptApiScriptingErrorTest : public CApiTest, public ::testing::WithParamInterface<TScriptingError> {};

TEST_P(ScriptApiScriptingErrorTest, StatedCategoryReturnsTheErrorAndShowsNothing) {
    CString strScript = "keep";
    const TErrState state = GetSqlScriptObject(m_db, eSqlTables, GetParam().pszTable, strScript, false);
    EXPECT_EQ(state.nError, 1);
    EXPECT_EQ(state.strMessage.Str(), GetParam().strText);
    EXPECT_EQ(strScript.Str(), "");
    EXPECT_THAT(ShownBoxes(), IsEmpty());
}

TEST_P(ScriptApiScriptingErrorTest, FoundCategoryShowsTheError) {
    CString strScript = "keep";
    EXPECT_EQ(GenerateSQLScriptObject(m_db, GetParam().pszTable, strScript, false), 0);
    EXPECT_EQ(strScript.Str(), "");
    EXPECT_THAT(ShownBoxes(), ElementsAre(GetParam().strText));
}

TEST_P(ScriptApiScriptingErrorTest, ColumnListShowsTheError) {
    CString strFields = "keep";
    EXPECT_EQ(GenerateSQLScriptFields(m_db, GetParam().pszTable, strFields), 0);
    EXPECT_EQ(strFields.Str(), "");
    EXPECT_THAT(ShownBoxes(), ElementsAre(GetParam().strText));
}

INSTANTIATE_TEST_SUITE_P(Errors, ScriptApiScriptingErrorTest,
                         ::testing::Values(TScriptingError{"Broken", kScriptError + kDeniedMessage},
                                           TScriptingError{"Silent", kUnknownError},
                                           TScriptingError{"Verbose", kScriptError + Repeat("Ж", 255)}),
                         [](const auto& info) { return std::string(info.param.pszTable); });

TEST_F(ScriptApiFailureTest, FailedCategoryLookupLeavesTheScriptCallWithPoolClosed) {
    FillPool();
    CString strScript = "keep";
    try {
        GenerateSQLScriptObject(m_db, "LookupFails", strScript, true);
        ADD_FAILURE() << "the lookup error did not leave the call";
    } catch (CDBException* e) {
        EXPECT_EQ(e->GetSqlState().Str(), "08S01");
        EXPECT_EQ(e->GetErrorText().Str(), "Communication link failure");
        e->Delete();
    }
    EXPECT_EQ(GetPooledConnectionCount(), 0);
    EXPECT_EQ(strScript.Str(), "keep");
    EXPECT_THAT(ShownBoxes(), IsEmpty());
}

TEST_F(ScriptApiFailureTest, FailedCategoryLookupIsAnErrorOfTheColumnList) {
    FillPool();
    CString strFields = "keep";
    EXPECT_EQ(GenerateSQLScriptFields(m_db, "LookupFails", strFields), 0);
    EXPECT_EQ(strFields.Str(), "");
    EXPECT_THAT(ShownBoxes(), ElementsAre(std::string(kScriptError) + "Communication link failure"));
    EXPECT_EQ(GetPooledConnectionCount(), 0);
}

// Every call that gets past its first checks ends with the pool closed, whether it succeeded or not.
TEST_F(ScriptApiFailureTest, EveryCallClosesThePool) {
    CString strText;
    FillPool();
    EXPECT_EQ(GetSqlScriptObject(m_db, eSqlTables, "Orders", strText, true).nError, 0);
    EXPECT_EQ(GetPooledConnectionCount(), 0);
    FillPool();
    EXPECT_EQ(GetSqlScriptObject(m_db, eSqlTables, "Broken", strText, true).nError, 1);
    EXPECT_EQ(GetPooledConnectionCount(), 0);
    FillPool();
    EXPECT_EQ(GenerateSQLScriptObject(m_db, "Orders", strText, true), 1);
    EXPECT_EQ(GetPooledConnectionCount(), 0);
    FillPool();
    EXPECT_EQ(GenerateSQLScriptObject(m_db, "Elsewhere", strText, true), 0);
    EXPECT_EQ(GetPooledConnectionCount(), 0);
    FillPool();
    EXPECT_EQ(GenerateSQLScriptFields(m_db, "vABC", strText), 1);
    EXPECT_EQ(GetPooledConnectionCount(), 0);
    // And leaves the context on the host connection without the pool.
    EXPECT_EQ(GetContextDatabase(), &m_db);
    EXPECT_FALSE(IsPoolEnabled());
}

} // namespace
