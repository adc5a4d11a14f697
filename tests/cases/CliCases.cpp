// Golden runs of the sqlscripts program: each folder under cases/cli is one run. Its files: args (one
// argument a line), before/ (copied into the working folder), expected/ (the working folder's files after),
// stdout, stderr, status, env (VAR=value lines); variants (one line of extra arguments per run, the case
// runs once for each); terminal (stdin is a terminal on which these lines are typed, then input ends).
// Placeholders: {dir} the working folder, {fixtures}, {case}, {sample}, {program}.
#include "cases/CaseSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <optional>
#include <sstream>

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct THostRun {
    int nStatus = -1; // -1 when the program did not exit normally
    std::string strOut;
    std::string strErr;
};

// Runs the program in strWorkDir with stdin from /dev/null, or from a terminal on which strTyped is typed.
THostRun RunHost(std::vector<std::string> aArgv, const std::string& strWorkDir, std::vector<std::string> aEnv,
                 const std::optional<std::string>& strTyped) {
    const CTempDir captured; // apart from the working folder, which a run may list
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const int nTerminal = strTyped ? posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC) : -1;
    if (nTerminal >= 0 && grantpt(nTerminal) == 0 && unlockpt(nTerminal) == 0)
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, ptsname(nTerminal), O_RDWR | O_NOCTTY, 0);
    else
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    for (const int nFd : {STDOUT_FILENO, STDERR_FILENO})
        posix_spawn_file_actions_addopen(&actions, nFd, captured.File(std::to_string(nFd)).c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, strWorkDir.c_str());
    for (char** ppsz = environ; *ppsz; ++ppsz)
        aEnv.emplace_back(*ppsz); // after the case's own: the first of a name is the one a program sees
    aArgv.insert(aArgv.begin(), SQLSCRIPTS_BINARY);
    std::vector<char*> apszArgv, apszEnv;
    for (auto [pList, pPointers] : {std::pair{&aArgv, &apszArgv}, std::pair{&aEnv, &apszEnv}}) {
        for (std::string& str : *pList)
            pPointers->push_back(str.data());
        pPointers->push_back(nullptr);
    }
    pid_t pid = 0;
    const int nError =
        posix_spawn(&pid, SQLSCRIPTS_BINARY, &actions, nullptr, apszArgv.data(), apszEnv.data());
    posix_spawn_file_actions_destroy(&actions);
    if (nTerminal >= 0) {
        const std::string strInput = *strTyped + "\x04"; // ^D: the end of input
        EXPECT_EQ(write(nTerminal, strInput.data(), strInput.size()), static_cast<ssize_t>(strInput.size()));
    }
    int nWait = 0;
    if (nError == 0)
        waitpid(pid, &nWait, 0);
    if (nTerminal >= 0)
        close(nTerminal);
    THostRun run;
    run.nStatus = nError == 0 && WIFEXITED(nWait) ? WEXITSTATUS(nWait) : -1;
    run.strOut = ReadWholeFile(captured.File(std::to_string(STDOUT_FILENO)));
    run.strErr = ReadWholeFile(captured.File(std::to_string(STDERR_FILENO)));
    return run;
}

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

// Every regular file under a folder, by its path relative to the folder, with its bytes.
std::map<std::string, std::string> FilesUnder(const fs::path& dir) {
    std::map<std::string, std::string> files;
    if (fs::exists(dir))
        for (const auto& entry : fs::recursive_directory_iterator(dir))
            if (entry.is_regular_file())
                files[entry.path().lexically_relative(dir).string()] = ReadWholeFile(entry.path().string());
    return files;
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

    void RunVariant(const std::string& strVariant) const {
        const CTempDir temp;
        const fs::path dir = fs::path(temp.File("")).parent_path();
        if (fs::exists(Case() / "before"))
            fs::copy(Case() / "before", dir, fs::copy_options::recursive);
        std::vector<std::string> aArgs, aEnv;
        for (const std::string& strArg : Lines(CaseFile("args").value_or("")))
            aArgs.push_back(Expand(strArg, dir));
        std::istringstream variant(strVariant);
        for (std::string strArg; variant >> strArg;)
            aArgs.push_back(strArg);
        for (const std::string& strLine : Lines(CaseFile("env").value_or("")))
            aEnv.push_back(Expand(strLine, dir));

        const THostRun run = RunHost(aArgs, dir.string(), aEnv, CaseFile("terminal"));

        EXPECT_EQ(run.nStatus, std::stoi(CaseFile("status").value_or("0"))) << run.strErr;
        EXPECT_SCRIPT(run.strOut, Expand(CaseFile("stdout").value_or(""), dir));
        EXPECT_SCRIPT(run.strErr, Expand(CaseFile("stderr").value_or(""), dir));
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
};

TEST_P(CliCase, Runs) {
    std::vector<std::string> aVariants = Lines(CaseFile("variants").value_or(""));
    if (aVariants.empty())
        aVariants.push_back("");
    for (const std::string& strVariant : aVariants) {
        SCOPED_TRACE("extra arguments: " + strVariant);
        RunVariant(strVariant);
    }
}

INSTANTIATE_TEST_SUITE_P(Cli, CliCase, testing::ValuesIn(CaseNames("cli")), CaseTestName);

} // namespace
