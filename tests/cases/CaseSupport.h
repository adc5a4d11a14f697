// Golden cases: a folder of input files and the bytes expected back, one runner per kind of case.
#pragma once

#include "platform/PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// CR, LF and TAB spelled out so that a difference in invisible characters can be seen.
inline std::string MakeVisible(const std::string& str) {
    std::string strOut;
    for (char ch : str)
        strOut += ch == '\r' ? "\\r" : ch == '\n' ? "\\n" : ch == '\t' ? "\\t" : std::string(1, ch);
    return strOut;
}

// The whole line of str around byte nAt, line end included.
inline std::string LineAt(const std::string& str, size_t nAt) {
    const size_t nStart = nAt == 0 ? 0 : str.rfind('\n', nAt - 1) + 1;
    if (nStart >= str.size())
        return "<end of text>";
    const size_t nEnd = str.find('\n', nStart);
    return MakeVisible(str.substr(nStart, nEnd == std::string::npos ? nEnd : nEnd - nStart + 1));
}

// Byte-exact comparison that shows the first differing line.
inline testing::AssertionResult SameScript(const char*, const char*, const std::string& strActual,
                                           const std::string& strExpected) {
    if (strActual == strExpected)
        return testing::AssertionSuccess();
    const size_t nAt =
        std::mismatch(strActual.begin(), strActual.end(), strExpected.begin(), strExpected.end()).first -
        strActual.begin();
    return testing::AssertionFailure()
           << "texts differ at line " << std::count(strActual.begin(), strActual.begin() + nAt, '\n') + 1
           << "\n  actual:   " << LineAt(strActual, nAt) << "\n  expected: " << LineAt(strExpected, nAt);
}

#define EXPECT_SCRIPT(actual, expected)                                                                      \
    EXPECT_PRED_FORMAT2(SameScript, std::string(actual), std::string(expected))

// The case folders of one kind (tests/cases/<kind>/<case>), by name.
inline std::vector<std::string> CaseNames(const std::string& strKind) {
    std::vector<std::string> aNames;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(SCRIPTS_CASES_DIR) + "/" + strKind))
        aNames.push_back(entry.path().filename().string());
    std::sort(aNames.begin(), aNames.end());
    return aNames;
}

inline std::string CaseTestName(const testing::TestParamInfo<std::string>& info) {
    std::string strName = info.param;
    std::replace_if(
        strName.begin(), strName.end(), [](unsigned char ch) { return !std::isalnum(ch); }, '_');
    return strName;
}
