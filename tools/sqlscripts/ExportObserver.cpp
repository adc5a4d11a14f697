#include "ExportObserver.h"

#include "Categories.h"
#include "Messages.h"
#include "platform/Text.h"

#include <algorithm>

ExportObserver::ExportObserver(Progress& progress, ExportOutput& output, const HostUi& ui)
    : progress_(progress), output_(output), ui_(ui) {}

bool ExportObserver::ShouldStop() {
    return InterruptionSignal() != 0 || output_.StopsHere() || ui_.Stopped();
}

void ExportObserver::OnCategoryStarted(int category) {
    progress_.Started(category);
    output_.Start(category);
}

void ExportObserver::OnObjectListRead(int category, long total) {
    progress_.ListRead(category, total);
}

void ExportObserver::OnObjectScripted(int category, const char* schema, const char* name,
                                      const CString& text) {
    output_.Object(category, schema, name, text.Str());
    damaged_.Note(category, schema, name, text.Str());
    progress_.ObjectDone(category);
}

void ExportObserver::OnReferenceCycle(int category, const std::vector<CString>& names) {
    std::vector<std::string> items;
    for (const CString& name : names)
        items.push_back(name.Str());
    const ProgressPause pause(&progress_);
    Say(Format(Tr("warning: %s that use each other in a cycle keep name order: %s"),
               CategoryName(category).c_str(), JoinText(items).c_str()));
}

void ExportObserver::OnCategoryFinished(int category, const CString& text) {
    const bool written = output_.Finish(category, text.Str());
    if (written) {
        std::lock_guard lock(mutex_);
        finished_.push_back(category);
    }
    progress_.Finished(category, written);
}

std::vector<int> ExportObserver::Finished() const {
    std::lock_guard lock(mutex_);
    std::vector<int> finished = finished_;
    std::sort(finished.begin(), finished.end());
    return finished;
}
