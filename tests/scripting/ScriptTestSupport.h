// Replaying a catalog snapshot for generator tests, and byte-exact comparison of scripts.
#pragma once

#include "catalog/ConnectionContext.h"
#include "ui/Ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// Opens the snapshot as the host connection of a sequential run and clears the shown messages;
// closes everything again when the test ends.
class CSnapshotCatalog {
public:
    explicit CSnapshotCatalog(const std::string& strPath) {
        ResetDefinitionLengthForTesting();
        AfxSetUiBackend(nullptr);
        AfxGetHeadlessUiBackend().ClearMessages();
        m_db.OpenEx(("SNAPSHOT=" + strPath).c_str(), CDatabase::noOdbcDialog);
        SetConnectionContext(&m_db, false);
    }
    CSnapshotCatalog(const CSnapshotCatalog&) = delete;
    CSnapshotCatalog& operator=(const CSnapshotCatalog&) = delete;
    ~CSnapshotCatalog() {
        CloseAllConnections();
        SetConnectionContext(nullptr, false);
        m_db.Close();
        ResetDefinitionLengthForTesting();
    }

private:
    CDatabase m_db;
};

inline std::string FixturePath(const std::string& strName) {
    return std::string(SCRIPTS_FIXTURES_DIR) + "/" + strName;
}

inline std::string ReadFixtureFile(const std::string& strName) {
    std::ifstream file(FixturePath(strName), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// CR, LF and TAB spelled out so that a difference in invisible characters can be seen.
inline std::string MakeVisible(const std::string& str) {
    std::string strOut;
    for (char ch : str) {
        if (ch == '\r')
            strOut += "\\r";
        else if (ch == '\n')
            strOut += "\\n";
        else if (ch == '\t')
            strOut += "\\t";
        else
            strOut += ch;
    }
    return strOut;
}

// The text cut after each LF, so that every line keeps its own line end.
inline std::vector<std::string> SplitLines(const std::string& str) {
    std::vector<std::string> aLines;
    for (size_t nFrom = 0; nFrom < str.size();) {
        const size_t nEnd = std::min(str.find('\n', nFrom), str.size() - 1);
        aLines.push_back(str.substr(nFrom, nEnd - nFrom + 1));
        nFrom = nEnd + 1;
    }
    return aLines;
}

// Byte-exact comparison that shows the first differing line.
inline testing::AssertionResult SameScript(const char*, const char*, const std::string& strActual,
                                           const std::string& strExpected) {
    if (strActual == strExpected)
        return testing::AssertionSuccess();
    const std::vector<std::string> aActual = SplitLines(strActual);
    const std::vector<std::string> aExpected = SplitLines(strExpected);
    size_t nLine = 0;
    while (nLine < aActual.size() && nLine < aExpected.size() && aActual[nLine] == aExpected[nLine])
        ++nLine;
    auto lineAt = [nLine](const std::vector<std::string>& aLines) {
        return nLine < aLines.size() ? MakeVisible(aLines[nLine]) : std::string("<end of text>");
    };
    return testing::AssertionFailure()
           << "scripts differ at line " << nLine + 1 << "\n  actual:   " << lineAt(aActual)
           << "\n  expected: " << lineAt(aExpected);
}

#define EXPECT_SCRIPT(actual, expected)                                                                      \
    EXPECT_PRED_FORMAT2(SameScript, std::string(actual), std::string(expected))

inline std::vector<TUiMessage> ShownMessages() {
    return AfxGetHeadlessUiBackend().GetMessages();
}
