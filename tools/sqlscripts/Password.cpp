#include "Password.h"

#include "Interruption.h"
#include "Messages.h"
#include "backend/ConnectString.h"
#include "jobs/DiffSides.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr const char* kPasswordVariable = "SQLSCRIPTS_PASSWORD";

bool NamesPassword(const std::string& connect) {
    return FindConnectValue(connect, "PWD") || FindConnectValue(connect, "Password");
}

// A connect string that reaches a server and has no password: no snapshot, no folder.
bool WantsPassword(const std::string& connect) {
    return connect.find('=') != std::string::npos && !FindConnectValue(connect, "SNAPSHOT") &&
           !NamesPassword(connect);
}

std::vector<std::string*> ConnectStrings(CommandLine& line) {
    if (line.command != CommandLine::Command::Diff)
        return {&line.source.connect};
    std::vector<std::string*> connects{&line.diff.shadow};
    for (std::string* side : {&line.diff.from, &line.diff.to})
        if (DiffSideOf(*side).eKind == eDiffSide::Server)
            connects.push_back(side);
    return connects;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The file's first line. A file that others than its owner may read is refused: its password is no secret.
std::string PasswordFromFile(const std::string& path) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "r"));
    struct stat info {};
    if (!file || ::fstat(::fileno(file.get()), &info) != 0)
        throw std::runtime_error(Format(Tr("--password-file %s: %s"), path.c_str(), std::strerror(errno)));
    if ((info.st_mode & (S_IRGRP | S_IROTH)) != 0)
        throw std::runtime_error(
            Format(Tr("--password-file %s can be read by others than its owner (mode %04o); "
                      "make it readable by its owner alone: chmod 600 %s"),
                   path.c_str(), static_cast<unsigned>(info.st_mode & 07777), path.c_str()));
    std::string password;
    for (int ch; (ch = std::fgetc(file.get())) != EOF && ch != '\n';)
        password += static_cast<char>(ch);
    if (!password.empty() && password.back() == '\r')
        password.pop_back();
    if (password.empty())
        throw std::runtime_error(
            Format(Tr("--password-file %s holds no password on its first line"), path.c_str()));
    return password;
}

// Typing shows nothing for as long as it lives.
class EchoOff {
public:
    EchoOff() : saved_(::tcgetattr(STDIN_FILENO, &settings_) == 0) {
        termios quiet = settings_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        if (saved_)
            ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    ~EchoOff() {
        if (saved_)
            ::tcsetattr(STDIN_FILENO, TCSANOW, &settings_);
    }

private:
    termios settings_{};
    const bool saved_;
};

// Asked on the terminal for the user the connect string names; none at the end of input or at Ctrl-C.
std::optional<std::string> AskPassword(const std::string& user) {
    // Ctrl-C now ends the read, which puts the echo back, instead of the program.
    CatchInterruptions();
    std::fprintf(stderr, "%s", Format(Tr("password for %s: "), user.c_str()).c_str());
    std::fflush(stderr);
    std::optional<std::string> password;
    {
        const EchoOff echoOff;
        password = ReadTypedLine();
    }
    std::fputc('\n', stderr);
    return password;
}

// The password the command line asks for; none when it asks for none. Throws std::runtime_error when its
// file is unfit.
std::optional<std::string> GivenPassword(const std::string& passwordFile) {
    if (!passwordFile.empty())
        return PasswordFromFile(passwordFile);
    if (const char* password = std::getenv(kPasswordVariable); password && *password)
        return std::string(password);
    return std::nullopt;
}

} // namespace

std::optional<int> FillPasswords(CommandLine& line) {
    std::vector<std::string*> wanting;
    for (std::string* connect : ConnectStrings(line))
        if (WantsPassword(*connect))
            wanting.push_back(connect);
    if (wanting.empty())
        return std::nullopt;
    std::optional<std::string> password;
    try {
        password = GivenPassword(line.source.passwordFile);
    } catch (const std::runtime_error& e) {
        Say(e.what());
        return kExitUsage;
    }
    const auto withUser = std::find_if(wanting.begin(), wanting.end(), [](const std::string* connect) {
        return FindConnectValue(*connect, "UID").has_value();
    });
    if (!password && withUser != wanting.end() && ::isatty(STDIN_FILENO)) {
        password = AskPassword(ConnectValue(**withUser, "UID"));
        if (!password) {
            Say(InterruptionSignal() ? Tr("interrupted") : Tr("no password was typed"));
            return InterruptionSignal() ? 128 + InterruptionSignal() : kExitFailed;
        }
    }
    if (password)
        for (std::string* connect : wanting)
            *connect = WithConnectValue(*connect, "PWD", *password);
    return std::nullopt;
}
