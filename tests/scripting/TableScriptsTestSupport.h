// Shared by the table, key, index, full-text and dependents tests: a snapshot as the context database,
// the message boxes shown, and a byte-exact script comparison that shows where two scripts part.
#pragma once

#include "catalog/ConnectionContext.h"
#include "platform/Database.h"
#include "platform/Ui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tablescripts_test {

// Path of a fixture of this folder's tests.
inline std::string FixturePath(const char* pszFile) {
    return std::string(SCRIPTS_FIXTURES_DIR) + "/scripting2/" + pszFile;
}

class CSnapshotTest : public testing::Test {
protected:
    void SetUp() override {
        AfxSetUiBackend(nullptr);
        AfxGetHeadlessUiBackend().ClearMessages();
        // The definition length is probed once per process; each test starts over.
        ResetDefinitionLengthForTesting();
    }

    void TearDown() override {
        CloseAllConnections();
        SetConnectionContext(nullptr, false);
        m_db.Close();
    }

    void OpenSnapshot(const std::string& strPath) {
        m_db.OpenEx(("SNAPSHOT=" + strPath).c_str(), CDatabase::noOdbcDialog);
        SetConnectionContext(&m_db, false);
    }

    void OpenFixture(const char* pszFile) { OpenSnapshot(FixturePath(pszFile)); }

    static std::vector<TUiMessage> Messages() { return AfxGetHeadlessUiBackend().GetMessages(); }

    CDatabase m_db;
};

// CR, LF and TAB written as \r, \n and \t, so that a differing blank or line end shows.
inline std::string MakeVisible(const std::string& str) {
    std::string strVisible;
    for (char ch : str) {
        if (ch == '\r')
            strVisible += "\\r";
        else if (ch == '\n')
            strVisible += "\\n";
        else if (ch == '\t')
            strVisible += "\\t";
        else
            strVisible += ch;
    }
    return strVisible;
}

// The line (ending with its LF) that holds byte nPos.
inline std::string LineAt(const std::string& str, size_t nPos) {
    const size_t nStart = nPos == 0 ? 0 : str.rfind('\n', nPos - 1);
    const size_t nFrom = nStart == std::string::npos || nPos == 0 ? 0 : nStart + 1;
    const size_t nEnd = str.find('\n', nPos);
    return str.substr(nFrom, nEnd == std::string::npos ? std::string::npos : nEnd - nFrom + 1);
}

// Byte-for-byte equality; on failure the first differing line of both texts, made visible.
inline testing::AssertionResult SameScript(const std::string& strExpected, const CString& strActualText) {
    const std::string& strActual = strActualText.Str();
    if (strExpected == strActual)
        return testing::AssertionSuccess();
    size_t nPos = 0;
    while (nPos < strExpected.size() && nPos < strActual.size() && strExpected[nPos] == strActual[nPos])
        ++nPos;
    return testing::AssertionFailure() << "scripts differ at byte " << nPos
                                       << "\n  expected line: " << MakeVisible(LineAt(strExpected, nPos))
                                       << "\n  actual line:   " << MakeVisible(LineAt(strActual, nPos));
}

} // namespace tablescripts_test
