#include "Interruption.h"

#include "Messages.h"
#include "backend/DbBackend.h"
#include "platform/File.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace {

// How long a run that was cancelled has to end on its own.
constexpr std::chrono::milliseconds kGrace{1000};

std::atomic<int> g_signal{0};
std::atomic<bool> g_caught{false};
std::mutex g_endMutex;
bool g_ended = false; // the program ends its own way; guarded by g_endMutex
std::mutex g_cleanupMutex;
std::condition_variable g_cleanupDone;
int g_cleanups = 0; // under way; guarded by g_cleanupMutex
constexpr std::chrono::seconds kCleanupGrace{10};

sigset_t Interruptions() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

const char* CutShortReason(int signal) {
    return signal == SIGINT ? "the export was interrupted (Ctrl-C)" : "the export was stopped (SIGTERM)";
}

// A second signal, or the grace run out.
void AwaitRunEnd(const sigset_t& set) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(kGrace);
    const timespec grace{seconds.count(),
                         std::chrono::duration_cast<std::chrono::nanoseconds>(kGrace - seconds).count()};
    while (sigtimedwait(&set, nullptr, &grace) < 0 && errno == EINTR) {
    }
}

// Ends the program without waiting for its other threads, which may be stuck in the driver.
[[noreturn]] void EndNow(int signal) {
    FinishSnapshotRecordings(CutShortReason(signal));
    RemoveTemporaryFiles();
    Say(g_caught ? Tr("interrupted; the run ended without waiting for the server's answer")
                 : Tr("interrupted"));
    std::fflush(stderr);
    ::_exit(128 + signal);
}

void Watch(sigset_t set) {
    int signal = 0;
    while (sigwait(&set, &signal) != 0) {
    }
    g_signal.store(signal);
    if (g_caught) {
        // The driver may wait for the server to take the cancel: not on this thread, which ends the program
        // if the run does not end.
        std::thread(CancelAllDbConnections).detach();
        AwaitRunEnd(set);
        std::unique_lock lock(g_cleanupMutex);
        g_cleanupDone.wait_for(lock, kCleanupGrace, [] { return g_cleanups == 0; });
    }
    std::lock_guard lock(g_endMutex);
    if (!g_ended)
        EndNow(signal);
}

} // namespace

InterruptionWatch::InterruptionWatch() {
    const sigset_t set = Interruptions();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread(Watch, set).detach();
}

InterruptionWatch::~InterruptionWatch() {
    std::lock_guard lock(g_endMutex);
    g_ended = true;
}

void CleanupBegun() {
    std::lock_guard lock(g_cleanupMutex);
    ++g_cleanups;
}

void CleanupEnded() {
    {
        std::lock_guard lock(g_cleanupMutex);
        --g_cleanups;
    }
    g_cleanupDone.notify_all();
}

void CatchInterruptions() {
    g_caught.store(true);
}

int InterruptionSignal() {
    return g_signal.load();
}

void CutShortRecordingsBySignal() {
    CutShortSnapshotRecordings(CutShortReason(InterruptionSignal()));
}
