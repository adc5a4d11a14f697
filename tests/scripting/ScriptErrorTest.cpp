#include "ui/Ui.h"
#include "scripting/SQLScript.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

class ScriptErrorTest : public testing::Test {
protected:
    void SetUp() override {
        AfxSetUiBackend(nullptr);
        AfxGetHeadlessUiBackend().ClearMessages();
    }

    static std::vector<TUiMessage> Messages() { return AfxGetHeadlessUiBackend().GetMessages(); }
};

} // namespace

TEST_F(ScriptErrorTest, LongMessageIsCutTo255CharactersAfterPrefix) {
    std::string strMessage;
    for (int i = 0; i < 300; ++i)
        strMessage += i < 250 ? "a" : "ж"; // the cut falls among two-byte characters
    CDBException e("42000", 102, strMessage);
    ReportScriptError(&e);

    std::string strExpected = "Ошибка создания скрипта. " + std::string(250, 'a');
    for (int i = 0; i < 5; ++i)
        strExpected += "ж";
    const std::vector<TUiMessage> aMessages = Messages();
    ASSERT_EQ(aMessages.size(), 1u);
    EXPECT_EQ(aMessages[0].strText, strExpected.c_str());
    EXPECT_EQ(aMessages[0].nType, MB_OK);
}

TEST_F(ScriptErrorTest, MissingOrEmptyMessageIsUnknownError) {
    CDBException e("HY000", 0, "");
    EXPECT_EQ(FormatScriptError(&e), "Неопознанная ошибка");
    EXPECT_EQ(FormatScriptError(nullptr), "Неопознанная ошибка");
    CDBException eShort("HY000", 0, "Invalid object name 'x'.");
    EXPECT_EQ(FormatScriptError(&eShort), "Ошибка создания скрипта. Invalid object name 'x'.");
}

// A generator whose list fails with an exception that is not an MFC one.
class CThrowingScript : public CSQLObject {
public:
    CString ScriptObject(const char*, const char*) override { throw std::runtime_error("boom"); }
    CString ScriptAllObjects() override { return CString(); }
};

// Stands in for a list recordset: two rows, no database.
class CTwoRowList {
public:
    void Open(UINT, const char*, DWORD) {}
    BOOL IsEOF() const { return m_nRow >= 2; }
    void MoveNext() { ++m_nRow; }

    CString m_strSchemaName = "dbo";
    CString m_strName = "x";

private:
    int m_nRow = 0;
};

TEST_F(ScriptErrorTest, NonMfcExceptionInListIsReportedOnceAsUnknown) {
    CThrowingScript script;
    EXPECT_TRUE(ScriptObjectList<CTwoRowList>(script).IsEmpty());
    const std::vector<TUiMessage> aMessages = Messages();
    ASSERT_EQ(aMessages.size(), 1u);
    EXPECT_EQ(aMessages[0].strText, "Неопознанная ошибка");
}

TEST_F(ScriptErrorTest, ShowScriptMessageShowsTextAsGiven) {
    ShowScriptMessage("Выгрузка завершена");
    const std::vector<TUiMessage> aMessages = Messages();
    ASSERT_EQ(aMessages.size(), 1u);
    EXPECT_EQ(aMessages[0].strText, "Выгрузка завершена");
}
