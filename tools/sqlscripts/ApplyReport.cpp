#include "ApplyReport.h"

#include "Interruption.h"
#include "Messages.h"
#include "Notices.h"

#include <algorithm>

ApplyReport::ApplyReport(Progress::Mode mode) : mode_(mode) {}

bool ApplyReport::ShouldStop() {
    return InterruptionSignal() != 0;
}

void ApplyReport::OnCancellable() {
    CatchInterruptions();
}

void ApplyReport::OnNotice(const TJobNotice& notice) {
    std::lock_guard lock(mutex_);
    SayLocked(NoticeLine(notice));
}

void ApplyReport::OnConnected(const std::string& server, const std::string& database) {
    std::lock_guard lock(mutex_);
    if (database.empty())
        return;
    target_ = server.empty() ? Format(Tr("database %s"), database.c_str())
                             : Format(Tr("database %s on %s"), database.c_str(), server.c_str());
    if (mode_ != Progress::Mode::Off)
        SayLocked(Format(Tr("applying to %s"), target_.c_str()));
}

void ApplyReport::OnPlanned(const std::vector<TApplyFileInfo>& files) {
    std::lock_guard lock(mutex_);
    files_ = files;
    start_ = std::chrono::steady_clock::now();
}

ApplyReport::Active* ApplyReport::Find(size_t file) {
    const auto it = std::find_if(active_.begin(), active_.end(),
                                 [file](const Active& active) { return active.file == file; });
    return it == active_.end() ? nullptr : &*it;
}

void ApplyReport::OnFileStarted(size_t file) {
    std::lock_guard lock(mutex_);
    active_.push_back({file});
    Draw(true);
}

void ApplyReport::OnBatchApplied(size_t file, long rows) {
    std::lock_guard lock(mutex_);
    rows_ += rows;
    if (Active* active = Find(file)) {
        ++active->batches;
        active->rows += rows;
    }
    Draw(false);
}

void ApplyReport::OnFileApplied(size_t file) {
    std::lock_guard lock(mutex_);
    const Active* active = Find(file);
    if (mode_ == Progress::Mode::Lines && active) {
        const auto batches = static_cast<unsigned long>(active->batches);
        const auto rows = static_cast<unsigned long>(active->rows);
        SayLocked(Format(Tr("%s applied: %s, %s"), files_[file].strName.c_str(),
                         Format(TrN("%lu batch", "%lu batches", batches), batches).c_str(),
                         Format(TrN("%lu row", "%lu rows", rows), rows).c_str()));
    }
    std::erase_if(active_, [file](const Active& a) { return a.file == file; });
    Draw(true);
}

void ApplyReport::SayLocked(const std::string& line) {
    line_.Erase();
    ::Say(line);
    Draw(true);
}

void ApplyReport::Clear() {
    std::lock_guard lock(mutex_);
    line_.Erase();
    cleared_ = true;
}

double ApplyReport::Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

// Called with the lock held.
void ApplyReport::Draw(bool force) {
    if (mode_ != Progress::Mode::StatusLine || cleared_ || files_.empty())
        return;
    std::string line = "sqlscripts:";
    for (const Active& active : active_)
        line.append(" ")
            .append(files_[active.file].strName)
            .append(" ")
            .append(std::to_string(active.batches))
            .append("/")
            .append(std::to_string(files_[active.file].nBatches))
            .append(",");
    const double seconds = Seconds();
    const auto rows = static_cast<unsigned long>(rows_);
    line.append(" ").append(Format(TrN("%lu row", "%lu rows", rows), rows));
    line.append(", ").append(
        Format(Tr("%.0f rows/s"), seconds > 0 ? static_cast<double>(rows_) / seconds : 0.0));
    line.append("  ").append(Format(Tr("%ld s"), static_cast<long>(seconds)));
    line_.Draw(std::move(line), force);
}
