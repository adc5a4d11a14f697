#include "ReplaceGate.h"

#include "Interruption.h"
#include "Messages.h"
#include "platform/File.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <poll.h>
#include <unistd.h>

ReplaceGate::ReplaceGate(ReplacePolicy policy, Progress* progress)
    : policy_(policy), progress_(progress), all_(policy == ReplacePolicy::All) {}

bool ReplaceGate::Allow(const std::filesystem::path& path, const std::string& shown) {
    std::lock_guard lock(mutex_);
    std::error_code ec;
    if (all_ || allowed_.count(path) || !std::filesystem::exists(std::filesystem::symlink_status(path, ec)))
        return true;
    if (policy_ != ReplacePolicy::Ask || !Ask(shown))
        return false;
    allowed_.insert(path);
    return true;
}

bool ReplaceGate::MayReplace(const std::filesystem::path& path) {
    std::lock_guard lock(mutex_);
    return all_ || allowed_.count(path);
}

bool ReplaceGate::Write(const std::filesystem::path& path, const std::string& shown, std::string_view text) {
    if (!MayReplace(path) && WriteFileNew(path.c_str(), text.data(), text.size()))
        return true;
    if (!Allow(path, shown))
        return false;
    WriteFileReplacing(path.c_str(), text.data(), text.size());
    return true;
}

bool ReplaceGate::Put(const std::filesystem::path& path, const std::string& shown, CFileReplacement& file) {
    if (!MayReplace(path) && file.CommitIfFree())
        return true;
    if (!Allow(path, shown))
        return false;
    file.Commit();
    return true;
}

namespace {

// A line typed on the terminal; none at the end of input, or once Ctrl-C or SIGTERM stops the run (which a
// thread of its own takes, so the read is not interrupted).
std::optional<std::string> ReadAnswer() {
    constexpr int kLookEveryMs = 100;
    std::string line;
    while (!InterruptionSignal()) {
        pollfd in{STDIN_FILENO, POLLIN, 0};
        if (::poll(&in, 1, kLookEveryMs) <= 0)
            continue;
        char ch = 0;
        const ssize_t count = ::read(STDIN_FILENO, &ch, 1);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return std::nullopt;
        if (ch == '\n')
            return line;
        line += ch;
    }
    return std::nullopt;
}

} // namespace

// As the module's replace dialog asks it; end of input, and Ctrl-C, answer "Cancel". Called with the lock
// held.
bool ReplaceGate::Ask(const std::string& shown) {
    if (!::isatty(STDIN_FILENO))
        return false;
    const ProgressPause pause(progress_);
    std::fprintf(stderr, "%s\n  %s\n  %s\n", Tr("Confirm file replacement"),
                 Format(Tr("The folder already holds the file %s"), shown.c_str()).c_str(),
                 Tr("Replace the existing file?"));
    for (;;) {
        std::fprintf(stderr, "[1] %s  [2] %s  [3] %s  [4] %s: ", Tr("Yes"), Tr("Yes to all"), Tr("No"),
                     Tr("Cancel"));
        std::fflush(stderr);
        const std::optional<std::string> line = ReadAnswer();
        if (!line)
            return false;
        switch (std::strtoul(line->c_str(), nullptr, 10)) {
        case 1:
            return true;
        case 2:
            all_ = true;
            return true;
        case 3:
        case 4:
            return false;
        default:
            break;
        }
    }
}
