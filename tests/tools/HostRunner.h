// Runs the built sqlscripts program with stdin from /dev/null (no terminal) and collects what it wrote.
#pragma once

#include "platform/PlatformTestSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

struct THostRun {
    int nStatus = -1; // exit status; -1 when the program did not exit normally
    std::string strOut;
    std::string strErr;
};

using TEnvironment = std::vector<std::pair<std::string, std::string>>;

// This process's environment with the given variables set.
inline std::vector<std::string> EnvironmentWith(const TEnvironment& aSet) {
    std::vector<std::string> aEnv;
    for (char** ppsz = environ; *ppsz; ++ppsz)
        aEnv.emplace_back(*ppsz);
    for (const auto& [strName, strValue] : aSet)
        aEnv.push_back(strName + "=" + strValue);
    return aEnv;
}

// Runs the program in strWorkDir; its output goes through files of a folder of its own.
inline THostRun RunHost(const std::vector<std::string>& aArgs, const std::string& strWorkDir,
                        const TEnvironment& aSetEnv = {}) {
    const CTempDir captured; // apart from the working folder, which a run may list or prune
    const std::string strOutPath = captured.File("stdout");
    const std::string strErrPath = captured.File("stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, strOutPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, strErrPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, strWorkDir.c_str());

    std::vector<std::string> aArgv = {SQLSCRIPTS_BINARY};
    aArgv.insert(aArgv.end(), aArgs.begin(), aArgs.end());
    std::vector<char*> apszArgv;
    for (std::string& strArg : aArgv)
        apszArgv.push_back(strArg.data());
    apszArgv.push_back(nullptr);
    std::vector<std::string> aEnv = EnvironmentWith(aSetEnv);
    std::vector<char*> apszEnv;
    for (std::string& strVar : aEnv)
        apszEnv.push_back(strVar.data());
    apszEnv.push_back(nullptr);

    pid_t pid = 0;
    const int nError =
        posix_spawn(&pid, SQLSCRIPTS_BINARY, &actions, nullptr, apszArgv.data(), apszEnv.data());
    posix_spawn_file_actions_destroy(&actions);
    if (nError != 0)
        throw std::runtime_error("cannot start " SQLSCRIPTS_BINARY);
    int nWait = 0;
    waitpid(pid, &nWait, 0);

    THostRun run;
    run.nStatus = WIFEXITED(nWait) ? WEXITSTATUS(nWait) : -1;
    run.strOut = ReadWholeFile(strOutPath);
    run.strErr = ReadWholeFile(strErrPath);
    return run;
}

// Every regular file under a folder, by its path relative to the folder, with its bytes.
inline std::map<std::string, std::string> FilesUnder(const std::filesystem::path& dir) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> files;
    if (!fs::exists(dir))
        return files;
    for (const auto& entry :
         fs::recursive_directory_iterator(dir, fs::directory_options::follow_directory_symlink))
        if (entry.is_regular_file())
            files[entry.path().lexically_relative(dir).string()] = ReadWholeFile(entry.path().string());
    return files;
}
