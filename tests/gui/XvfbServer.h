// A private X server for the window tests: Xvfb on a display number it picks itself, stopped at the end.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

class CXvfbServer {
public:
    CXvfbServer() = default;
    CXvfbServer(const CXvfbServer&) = delete;
    CXvfbServer& operator=(const CXvfbServer&) = delete;
    ~CXvfbServer() { Stop(); }

    // The Xvfb program on PATH, or empty when it is not installed.
    static std::string Find() {
        std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin");
        std::string strDir;
        while (std::getline(path, strDir, ':')) {
            const std::filesystem::path candidate = std::filesystem::path(strDir) / "Xvfb";
            if (::access(candidate.c_str(), X_OK) == 0)
                return candidate.string();
        }
        return {};
    }

    // Starts the server and waits until it accepts connections; the display name (":N"), or empty.
    std::string Start(const std::string& strProgram) {
        int aPipe[2];
        if (::pipe(aPipe) != 0)
            return {};
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(aPipe[0]);
            const int nNull = ::open("/dev/null", O_WRONLY);
            ::dup2(nNull, STDOUT_FILENO);
            ::dup2(nNull, STDERR_FILENO);
            const std::string strFd = std::to_string(aPipe[1]);
            ::execl(strProgram.c_str(), "Xvfb", "-displayfd", strFd.c_str(), "-screen", "0", "1024x768x24",
                    "-dpi", "96", "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(aPipe[1]);
        // Xvfb writes the display number it chose once it is ready.
        std::string strNumber;
        char ch = 0;
        while (::read(aPipe[0], &ch, 1) == 1 && ch != '\n')
            strNumber += ch;
        ::close(aPipe[0]);
        if (m_pid < 0 || strNumber.empty()) {
            Stop();
            return {};
        }
        return ":" + strNumber;
    }

    void Stop() {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
};
