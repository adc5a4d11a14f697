#include "Progress.h"

#include "Messages.h"

#include <algorithm>
#include <unistd.h>

Progress::Progress(Mode mode, std::vector<std::string> names) : mode_(mode), names_(std::move(names)) {}

Progress::Mode Progress::ModeFor(bool quiet, bool lines) {
    if (quiet)
        return Mode::Off;
    if (lines)
        return Mode::Lines;
    return ::isatty(STDERR_FILENO) ? Mode::StatusLine : Mode::Off;
}

Progress::Active* Progress::Find(int category) {
    const auto it = std::find_if(active_.begin(), active_.end(),
                                 [category](const Active& active) { return active.category == category; });
    return it == active_.end() ? nullptr : &*it;
}

void Progress::Started(int category) {
    if (mode_ == Mode::Off)
        return;
    std::lock_guard lock(mutex_);
    active_.push_back({category});
    Draw(true);
}

void Progress::ListRead(int category, long total) {
    if (mode_ == Mode::Off)
        return;
    std::lock_guard lock(mutex_);
    if (Active* active = Find(category))
        active->total = total;
    Draw(true);
}

void Progress::ObjectDone(int category) {
    if (mode_ == Mode::Off)
        return;
    std::lock_guard lock(mutex_);
    if (Active* active = Find(category))
        ++active->done;
    Draw(false);
}

void Progress::Finished(int category, bool written) {
    if (mode_ == Mode::Off)
        return;
    std::lock_guard lock(mutex_);
    const Active* active = Find(category);
    if (mode_ == Mode::Lines && written) {
        const char* name = names_[static_cast<size_t>(category)].c_str();
        if (active && active->total >= 0)
            Say(Format(TrN("%s written, %ld object", "%s written, %ld objects",
                           static_cast<unsigned long>(active->done)),
                       name, active->done));
        else
            Say(Format(Tr("%s written"), name));
    }
    std::erase_if(active_, [category](const Active& a) { return a.category == category; });
    Draw(true);
}

void Progress::Suspend() {
    if (mode_ != Mode::StatusLine)
        return;
    std::lock_guard lock(mutex_);
    ++suspended_;
    line_.Erase();
}

void Progress::Resume() {
    if (mode_ != Mode::StatusLine)
        return;
    std::lock_guard lock(mutex_);
    --suspended_;
    Draw(true);
}

void Progress::Clear() {
    if (mode_ != Mode::StatusLine)
        return;
    std::lock_guard lock(mutex_);
    line_.Erase();
    suspended_ = 1;
}

// Called with the lock held.
void Progress::Draw(bool force) {
    if (mode_ != Mode::StatusLine || suspended_ > 0)
        return;
    if (active_.empty()) {
        line_.Erase();
        return;
    }
    std::string line = "sqlscripts:";
    for (const Active& active : active_) {
        line.append(" ").append(names_[static_cast<size_t>(active.category)]);
        if (active.total >= 0)
            line.append(" ")
                .append(std::to_string(active.done))
                .append("/")
                .append(std::to_string(active.total));
        line += ",";
    }
    line.pop_back();
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start_).count();
    line.append("  ").append(Format(Tr("%ld s"), static_cast<long>(elapsed)));
    line_.Draw(std::move(line), force);
}
