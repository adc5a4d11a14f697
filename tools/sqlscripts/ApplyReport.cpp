#include "ApplyReport.h"

#include "ConnectString.h"
#include "ExportOutput.h"
#include "Interruption.h"
#include "Messages.h"

#include <algorithm>

std::string ScriptFailure(const std::string& name, const CException& e) {
    const auto* script = dynamic_cast<const CScriptException*>(&e);
    if (!script)
        return CannotRead(name, e);
    const char* problem = script->m_eProblem == CScriptException::notUtf8 ? Tr("not UTF-8 text")
                          : script->m_eProblem == CScriptException::goCount
                              ? Tr("GO takes a positive whole number as its count")
                              : Tr("GO takes only a count and comments on its line");
    return Format(Tr("%s, line %ld: %s"), name.c_str(), script->m_nLine, problem);
}

ApplyReport::ApplyReport(const TApplyPlan& plan, Progress::Mode mode, bool verbose)
    : plan_(plan), mode_(mode), verbose_(verbose) {}

bool ApplyReport::ShouldStop() {
    return InterruptionSignal() != 0;
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
        SayLocked(Format(Tr("%s applied: %s, %s"), plan_.aFiles[file].file.strName.c_str(),
                         Format(TrN("%lu batch", "%lu batches", batches), batches).c_str(),
                         Format(TrN("%lu row", "%lu rows", rows), rows).c_str()));
    }
    std::erase_if(active_, [file](const Active& a) { return a.file == file; });
    Draw(true);
}

std::string ApplyReport::Where(size_t file, long line) const {
    return plan_.aFiles[file].file.strName + ":" + std::to_string(line);
}

void ApplyReport::OnRefused(size_t file, long line, const CDBException& error) {
    std::lock_guard lock(mutex_);
    SayLocked(Format(Tr("%s: %s (SQLSTATE %s, native error %ld)"), Where(file, line).c_str(),
                     OneLine(error.GetErrorText().Str()).c_str(), error.GetSqlState().GetString(),
                     error.GetNativeError()));
}

void ApplyReport::OnUnreadable(size_t file, const CException& error) {
    std::lock_guard lock(mutex_);
    SayLocked(ScriptFailure(plan_.aFiles[file].file.strName, error));
}

void ApplyReport::OnServerMessage(size_t file, long line, const TDiagRecord& message) {
    if (!verbose_)
        return;
    std::lock_guard lock(mutex_);
    SayLocked(Where(file, line) + ": " + OneLine(message.strMessage.Str()));
}

void ApplyReport::OnRowCount(size_t file, long line, long rows) {
    if (!verbose_)
        return;
    std::lock_guard lock(mutex_);
    const auto count = static_cast<unsigned long>(rows);
    SayLocked(Where(file, line) + ": " + Format(TrN("%lu row affected", "%lu rows affected", count), count));
}

void ApplyReport::Say(const std::string& line) {
    std::lock_guard lock(mutex_);
    SayLocked(line);
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
    if (mode_ != Progress::Mode::StatusLine || cleared_)
        return;
    std::string line = "sqlscripts:";
    for (const Active& active : active_)
        line.append(" ")
            .append(plan_.aFiles[active.file].file.strName)
            .append(" ")
            .append(std::to_string(active.batches))
            .append("/")
            .append(std::to_string(plan_.aFiles[active.file].nBatches))
            .append(",");
    const double seconds = Seconds();
    const auto rows = static_cast<unsigned long>(rows_);
    line.append(" ").append(Format(TrN("%lu row", "%lu rows", rows), rows));
    line.append(", ").append(
        Format(Tr("%.0f rows/s"), seconds > 0 ? static_cast<double>(rows_) / seconds : 0.0));
    line.append("  ").append(Format(Tr("%ld s"), static_cast<long>(seconds)));
    line_.Draw(std::move(line), force);
}
