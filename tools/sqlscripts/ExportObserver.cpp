#include "ExportObserver.h"

#include "scripts/SqlTypeObjects.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>

namespace {

std::atomic<int> g_signal{0};

extern "C" void RememberSignal(int signal) {
    g_signal.store(signal);
}

} // namespace

void CatchInterruptions() {
    struct sigaction action {};
    action.sa_handler = RememberSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a replace question waiting for its answer gives up at once, as Ctrl-C should make it.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int InterruptionSignal() {
    return g_signal.load();
}

ExportObserver::ExportObserver(Progress& progress, ObjectFiles* files, std::vector<std::string> names,
                               const HostUi& ui)
    : progress_(progress), files_(files), ui_(ui), names_(std::move(names)) {}

bool ExportObserver::ShouldStop() {
    return InterruptionSignal() != 0 || (files_ && files_->IsRefused()) || ui_.ConnectionLost();
}

void ExportObserver::OnCategoryStarted(int category) {
    progress_.Started(category);
}

void ExportObserver::OnObjectListRead(int category, long total) {
    progress_.ListRead(category, total);
}

void ExportObserver::OnObjectScripted(int category, const char* schema, const char* name,
                                      const CString& text) {
    if (files_)
        files_->WriteObject(category, schema, name, text.Str());
    damaged_.Note(category, schema, name, text.Str());
    progress_.ObjectDone(category);
}

void ExportObserver::OnReferenceCycle(int category, const std::vector<CString>& names) {
    std::string line;
    for (const CString& name : names)
        line += (line.empty() ? "" : ", ") + name.Str();
    progress_.Suspend();
    std::fprintf(stderr, "sqlscripts: warning: %s that use each other in a cycle keep name order: %s\n",
                 names_[static_cast<size_t>(category)].c_str(), line.c_str());
    progress_.Resume();
}

void ExportObserver::OnCategoryFinished(int category, const CString& text) {
    // Full text is one block that drops all its indexes before it creates any: it has no objects to split.
    if (files_ && category == eSqlFullText && !files_->WriteWhole(category, text.Str()))
        return;
    {
        std::lock_guard lock(mutex_);
        finished_.push_back(category);
    }
    progress_.Finished(category);
}

std::vector<int> ExportObserver::Finished() const {
    std::lock_guard lock(mutex_);
    std::vector<int> finished = finished_;
    std::sort(finished.begin(), finished.end());
    return finished;
}
