// Golden runs of the sqlscripts program: each folder under cases/cli is one run (args, files placed before,
// the files, output and exit status expected after). Adding a case is adding a folder.
#include "scripting/ScriptTestSupport.h"
#include "tools/HostRunner.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kCasesDir = fs::path(SCRIPTS_CASES_DIR) / "cli";

std::string ReplaceAll(std::string str, const std::string& strFrom, const std::string& strTo) {
    for (size_t nAt = str.find(strFrom); nAt != std::string::npos;
         nAt = str.find(strFrom, nAt + strTo.size()))
        str.replace(nAt, strFrom.size(), strTo);
    return str;
}

std::vector<std::string> Lines(const std::string& strText) {
    std::vector<std::string> aLines;
    for (std::string strLine : SplitLines(strText)) {
        if (!strLine.empty() && strLine.back() == '\n')
            strLine.pop_back();
        aLines.push_back(strLine);
    }
    return aLines;
}

class CliCase : public testing::TestWithParam<std::string> {
protected:
    fs::path Case() const { return kCasesDir / GetParam(); }
    std::string CaseFile(const std::string& strName, const std::string& strDefault = "") const {
        return fs::exists(Case() / strName) ? ReadWholeFile((Case() / strName).string()) : strDefault;
    }
    std::string Expand(const std::string& str) const {
        std::string strOut = ReplaceAll(str, "{dir}", m_dir.File("").substr(0, m_dir.File("").size() - 1));
        strOut = ReplaceAll(strOut, "{fixtures}", SCRIPTS_FIXTURES_DIR);
        strOut = ReplaceAll(strOut, "{case}", Case().string());
        return ReplaceAll(strOut, "{sample}", SQLSCRIPTS_SAMPLE);
    }

    CTempDir m_dir;
};

TEST_P(CliCase, Runs) {
    const fs::path dir = m_dir.File("");
    if (fs::exists(Case() / "before"))
        fs::copy(Case() / "before", dir, fs::copy_options::recursive);
    std::vector<std::string> aArgs;
    for (const std::string& strArg : Lines(CaseFile("args")))
        aArgs.push_back(Expand(strArg));
    std::vector<std::pair<std::string, std::string>> aEnv;
    for (const std::string& strLine : Lines(CaseFile("env")))
        aEnv.emplace_back(strLine.substr(0, strLine.find('=')),
                          Expand(strLine.substr(strLine.find('=') + 1)));

    const THostRun run = RunHost(aArgs, dir.string(), aEnv);

    EXPECT_EQ(run.nStatus, std::stoi(CaseFile("status", "0"))) << run.strErr;
    EXPECT_SCRIPT(run.strOut, Expand(CaseFile("stdout")));
    EXPECT_SCRIPT(run.strErr, Expand(CaseFile("stderr")));
    if (!fs::exists(Case() / "expected"))
        return;
    const std::map<std::string, std::string> expected = FilesUnder(Case() / "expected");
    const std::map<std::string, std::string> actual = FilesUnder(dir);
    for (const auto& [strName, strText] : expected) {
        ASSERT_TRUE(actual.count(strName)) << strName << " was not written";
        EXPECT_SCRIPT(actual.at(strName), strText) << strName;
    }
    for (const auto& [strName, strText] : actual)
        EXPECT_TRUE(expected.count(strName)) << strName << " was written but is not expected";
}

std::vector<std::string> CaseNames() {
    std::vector<std::string> aNames;
    for (const auto& entry : fs::directory_iterator(kCasesDir))
        aNames.push_back(entry.path().filename().string());
    std::sort(aNames.begin(), aNames.end());
    return aNames;
}

std::string CaseTestName(const testing::TestParamInfo<std::string>& info) {
    std::string strName;
    for (char ch : info.param)
        strName += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return strName;
}

INSTANTIATE_TEST_SUITE_P(Cli, CliCase, testing::ValuesIn(CaseNames()), CaseTestName);

} // namespace
