// Runs the built sqlscripts program and collects its exit status and output.
#pragma once

#include "platform/PlatformTestSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

struct THostRun {
    int nStatus = -1; // -1 when the program did not exit normally
    std::string strOut;
    std::string strErr;
};

// Starts the program (sqlscripts unless another is named) with the file actions given, in English whatever
// the user's locale; its process id, or -1 when it could not be started.
inline pid_t SpawnHost(std::vector<std::string> aArgv, std::vector<std::string> aEnv,
                       const posix_spawn_file_actions_t& actions,
                       const char* pszProgram = SQLSCRIPTS_BINARY) {
    // After the case's own: the first of a name is the one a program sees.
    aEnv.insert(aEnv.end(), {"LC_ALL=C.UTF-8", "LANGUAGE="});
    for (char** ppsz = environ; *ppsz; ++ppsz)
        aEnv.emplace_back(*ppsz);
    aArgv.insert(aArgv.begin(), pszProgram);
    std::vector<char*> apszArgv, apszEnv;
    for (auto [pList, pPointers] : {std::pair{&aArgv, &apszArgv}, std::pair{&aEnv, &apszEnv}}) {
        for (std::string& str : *pList)
            pPointers->push_back(str.data());
        pPointers->push_back(nullptr);
    }
    pid_t pid = 0;
    return posix_spawn(&pid, pszProgram, &actions, nullptr, apszArgv.data(), apszEnv.data()) == 0 ? pid : -1;
}

// The exit status of a program started, -1 when it did not exit normally.
inline int WaitHost(pid_t pid) {
    int nWait = 0;
    return pid > 0 && waitpid(pid, &nWait, 0) == pid && WIFEXITED(nWait) ? WEXITSTATUS(nWait) : -1;
}

// Starts the program in strWorkDir with stdin from /dev/null and stdout and stderr into the files given.
inline pid_t StartHost(const std::vector<std::string>& aArgv, const std::string& strWorkDir,
                       const std::string& strOut, const std::string& strErr) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, strOut.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, strErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addchdir_np(&actions, strWorkDir.c_str());
    const pid_t pid = SpawnHost(aArgv, {}, actions);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Runs the program (sqlscripts unless another is named) in strWorkDir with stdin from /dev/null (or the file
// strStdin), or from a terminal on which strTyped is typed.
inline THostRun RunHost(std::vector<std::string> aArgv, const std::string& strWorkDir,
                        std::vector<std::string> aEnv = {}, const std::optional<std::string>& strTyped = {},
                        const std::string& strStdin = "/dev/null",
                        const char* pszProgram = SQLSCRIPTS_BINARY) {
    const CTempDir captured; // apart from the working folder, which a run may list
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const int nTerminal = strTyped ? posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC) : -1;
    if (nTerminal >= 0 && grantpt(nTerminal) == 0 && unlockpt(nTerminal) == 0)
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, ptsname(nTerminal), O_RDWR | O_NOCTTY, 0);
    else
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, strStdin.c_str(), O_RDONLY, 0);
    for (const int nFd : {STDOUT_FILENO, STDERR_FILENO})
        posix_spawn_file_actions_addopen(&actions, nFd, captured.File(std::to_string(nFd)).c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, strWorkDir.c_str());
    const pid_t pid = SpawnHost(std::move(aArgv), std::move(aEnv), actions, pszProgram);
    posix_spawn_file_actions_destroy(&actions);
    if (nTerminal >= 0) {
        const std::string strInput = *strTyped + "\x04"; // ^D: the end of input
        EXPECT_EQ(write(nTerminal, strInput.data(), strInput.size()), static_cast<ssize_t>(strInput.size()));
    }
    THostRun run;
    run.nStatus = WaitHost(pid);
    if (nTerminal >= 0)
        close(nTerminal);
    run.strOut = ReadWholeFile(captured.File(std::to_string(STDOUT_FILENO)));
    run.strErr = ReadWholeFile(captured.File(std::to_string(STDERR_FILENO)));
    return run;
}

// Every regular file under a folder, by its path relative to the folder, with its bytes.
inline std::map<std::string, std::string> FilesUnder(const std::filesystem::path& dir) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> files;
    if (fs::exists(dir))
        for (const auto& entry : fs::recursive_directory_iterator(dir))
            if (entry.is_regular_file())
                files[entry.path().lexically_relative(dir).string()] = ReadWholeFile(entry.path().string());
    return files;
}
