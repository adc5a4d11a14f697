// Golden runs of the sqlscripts program: each folder under cases/cli is one run. Its files: args (one
// argument a line), before/ (copied into the working folder), expected/ (the working folder's files after),
// stdout, stderr, status, env (VAR=value lines); variants (one line of extra arguments per run, the case
// runs once for each); terminal (stdin is a terminal on which these lines are typed, then input ends); stdin
// (the bytes of standard input, a file). A case
// runs under LC_ALL=C.UTF-8; one with stderr.ru runs once more under ru_RU.UTF-8, expecting that on stderr.
// Placeholders (in args, env and variants): {dir} the working folder, {fixtures}, {case}, {sample},
// {program}.
#include "cases/CaseSupport.h"
#include "cases/HostRun.h"

#include <locale.h>
#include <map>
#include <optional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string ReplaceAll(std::string str, const std::string& strFrom, const std::string& strTo) {
    for (size_t nAt = str.find(strFrom); nAt != std::string::npos;
         nAt = str.find(strFrom, nAt + strTo.size()))
        str.replace(nAt, strFrom.size(), strTo);
    return str;
}

std::vector<std::string> Lines(const std::string& strText) {
    std::vector<std::string> aLines;
    std::istringstream in(strText);
    for (std::string strLine; std::getline(in, strLine);)
        aLines.push_back(strLine);
    return aLines;
}

class CliCase : public testing::TestWithParam<std::string> {
protected:
    fs::path Case() const { return fs::path(SCRIPTS_CASES_DIR) / "cli" / GetParam(); }
    std::optional<std::string> CaseFile(const std::string& strName) const {
        return fs::exists(Case() / strName) ? std::optional(ReadWholeFile((Case() / strName).string()))
                                            : std::nullopt;
    }
    std::string Expand(const std::string& str, const fs::path& dir) const {
        std::string strOut = ReplaceAll(str, "{dir}", dir.string());
        strOut = ReplaceAll(strOut, "{fixtures}", SCRIPTS_FIXTURES_DIR);
        strOut = ReplaceAll(strOut, "{case}", Case().string());
        strOut = ReplaceAll(strOut, "{program}", SQLSCRIPTS_BINARY);
        return ReplaceAll(strOut, "{sample}", SQLSCRIPTS_SAMPLE);
    }

    void RunVariant(const std::string& strVariant, const std::string& strLocale,
                    const std::string& strStderr) const {
        const CTempDir temp;
        const fs::path dir = fs::path(temp.File("")).parent_path();
        if (fs::exists(Case() / "before"))
            fs::copy(Case() / "before", dir, fs::copy_options::recursive);
        std::vector<std::string> aArgs, aEnv;
        for (const std::string& strArg : Lines(CaseFile("args").value_or("")))
            aArgs.push_back(Expand(strArg, dir));
        std::istringstream variant(Expand(strVariant, dir));
        for (std::string strArg; variant >> strArg;)
            aArgs.push_back(strArg);
        for (const std::string& strLine : Lines(CaseFile("env").value_or("")))
            aEnv.push_back(Expand(strLine, dir));
        aEnv.push_back("LC_ALL=" + strLocale);

        const THostRun run =
            RunHost(aArgs, dir.string(), aEnv, CaseFile("terminal"),
                    fs::exists(Case() / "stdin") ? (Case() / "stdin").string() : "/dev/null");

        EXPECT_EQ(run.nStatus, std::stoi(CaseFile("status").value_or("0"))) << run.strErr;
        EXPECT_SCRIPT(run.strOut, Expand(CaseFile("stdout").value_or(""), dir));
        EXPECT_SCRIPT(run.strErr, Expand(CaseFile(strStderr).value_or(""), dir));
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
        for (const auto& entry : fs::recursive_directory_iterator(dir))
            EXPECT_FALSE(entry.is_directory() && fs::is_empty(entry.path()))
                << entry.path().lexically_relative(dir) << " is an empty folder left behind";
    }
};

TEST_P(CliCase, Runs) {
    std::vector<std::string> aVariants = Lines(CaseFile("variants").value_or(""));
    if (aVariants.empty())
        aVariants.push_back("");
    for (const std::string& strVariant : aVariants) {
        SCOPED_TRACE("extra arguments: " + strVariant);
        RunVariant(strVariant, "C.UTF-8", "stderr");
    }
    if (!CaseFile("stderr.ru"))
        return;
    const locale_t russian = newlocale(LC_ALL_MASK, "ru_RU.UTF-8", nullptr);
    if (!russian)
        GTEST_SKIP() << "the locale ru_RU.UTF-8 is not installed (make deps generates it)";
    freelocale(russian);
    for (const std::string& strVariant : aVariants) {
        SCOPED_TRACE("in Russian, extra arguments: " + strVariant);
        RunVariant(strVariant, "ru_RU.UTF-8", "stderr.ru");
    }
}

INSTANTIATE_TEST_SUITE_P(Cli, CliCase, testing::ValuesIn(CaseNames("cli")), CaseTestName);

} // namespace
