#include "ExportOutput.h"

#include "ExportObserver.h"
#include "Messages.h"
#include "platform/Exceptions.h"
#include "platform/File.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace {

thread_local int t_category = -1;

} // namespace

bool IsFileInsideFolder(const std::string& path) {
    const std::filesystem::path relative(path);
    return !path.empty() && !relative.is_absolute() && relative.has_filename() &&
           std::none_of(relative.begin(), relative.end(),
                        [](const std::filesystem::path& part) { return part == ".."; });
}

ExportOutput::ExportOutput(std::string dir, CategoryFileNames files, ReplaceGate& gate)
    : dir_(std::move(dir)), files_(std::move(files)), gate_(gate) {}

void ExportOutput::Start(int category) {
    t_category = category;
    StartCategory(category);
}

int ExportOutput::CurrentCategory() {
    return t_category;
}

bool ExportOutput::Finish(int category, const std::string& text) {
    bool failed = false;
    {
        std::lock_guard lock(mutex_);
        failed = failed_.count(category) > 0;
    }
    const bool written = !failed && WriteCategory(category, text);
    t_category = -1;
    return written;
}

std::string ExportOutput::Failed(int category) {
    {
        std::lock_guard lock(mutex_);
        failed_.insert(category);
    }
    return KeptWords(category);
}

bool ExportOutput::StopsHere() const {
    const int refused = refusedCategory_.load();
    return refused != kNone && (t_category < 0 || t_category >= refused);
}

std::string ExportOutput::RefusedFile() const {
    std::lock_guard lock(mutex_);
    return refusedFile_;
}

bool ExportOutput::SayWriteFailures() const {
    std::lock_guard lock(mutex_);
    std::vector<std::pair<int, std::string>> lines = notWritten_;
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [category, line] : lines)
        Say(line);
    return !lines.empty();
}

bool ExportOutput::Allow(const std::string& relative) {
    return gate_.Allow(std::filesystem::path(dir_) / relative, relative) || Refuse(relative);
}

bool ExportOutput::Write(const std::string& relative, std::string_view text) {
    const std::filesystem::path path = std::filesystem::path(dir_) / relative;
    try {
        return gate_.Write(path, relative, text) || Refuse(relative);
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        NotWritten(CannotWrite(path.string(), *e));
        return false;
    }
}

void ExportOutput::NotWritten(const std::string& line) {
    std::lock_guard lock(mutex_);
    notWritten_.emplace_back(t_category, line);
}

// Why a file could not be written or read: the system's reason in the user's language, else the exception's
// text.
std::string FileFailureReason(const CException& e) {
    const auto* file = dynamic_cast<const CFileException*>(&e);
    return file && file->m_lOsError ? SystemReason(static_cast<int>(file->m_lOsError))
                                    : e.GetErrorText().Str();
}

std::string CannotWrite(const std::string& path, const CException& e) {
    return Format(Tr("cannot write %s: %s"), path.c_str(), FileFailureReason(e).c_str());
}

std::string CannotRead(const std::string& path, const CException& e) {
    return Format(Tr("cannot read %s: %s"), path.c_str(), FileFailureReason(e).c_str());
}

namespace {

bool SayNoFolder(const std::string& dir, int error) {
    Say(Format(Tr("cannot create the folder %s: %s"), dir.c_str(), SystemReason(error).c_str()));
    return false;
}

} // namespace

int MakeFolder(const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!ec && std::filesystem::is_directory(dir, ec))
        return 0;
    return ec ? ec.value() : ENOTDIR;
}

bool CreateFolder(const std::string& dir) {
    const int error = MakeFolder(dir);
    return error == 0 || SayNoFolder(dir, error);
}

bool CanCreateFolder(const std::string& dir) {
    std::error_code ec;
    for (std::filesystem::path path = std::filesystem::absolute(dir, ec); !path.empty();
         path = path.parent_path()) {
        if (std::filesystem::exists(path, ec))
            return std::filesystem::is_directory(path, ec) || SayNoFolder(dir, ENOTDIR);
        if (path == path.parent_path())
            break;
    }
    return true;
}

void RemoveDebrisIn(const std::string& dir) {
    if (const size_t count = RemoveStaleTemporaryFiles(dir.c_str()))
        Say(Format(TrN("removed %zu temporary file that a run which ended early left in %s",
                       "removed %zu temporary files that runs which ended early left in %s", count),
                   count, dir.c_str()));
}

void RemoveDebrisOf(const std::string& file) {
    if (const size_t count = RemoveStaleTemporaryFilesOf(file.c_str()))
        Say(Format(TrN("removed %zu temporary file that a run which ended early left beside %s",
                       "removed %zu temporary files that runs which ended early left beside %s", count),
                   count, file.c_str()));
}

int ConcludeRun(const RunEnd& end) {
    // A recording says why it holds less than the run would have asked (the file keeps these words as they
    // are).
    if (end.signal) {
        CutShortRecordingsBySignal();
        Say(end.writtenBeforeInterruption.empty()
                ? Tr("interrupted; no category was written")
                : Format(Tr("interrupted; categories written: %s"), end.writtenBeforeInterruption.c_str()));
        return 128 + end.signal;
    }
    if (end.refused) {
        Say(Format(
            Tr("%s already exists in %s; stopped without overwriting it (use --replace all to overwrite "
               "existing files)"),
            end.refused->c_str(), end.dir.c_str()));
        return 1;
    }
    if (end.failed)
        return 1;
    if (!end.quiet) {
        std::error_code ec;
        const std::filesystem::path folder = std::filesystem::absolute(end.dir, ec);
        const std::string shown = ec ? end.dir : folder.string();
        Say(end.database.empty()
                ? Format(Tr("scripts written to %s"), shown.c_str())
                : Format(Tr("scripts of database %s written to %s"), end.database.c_str(), shown.c_str()));
    }
    return 0;
}

// The first file kept is the one that stopped the run.
bool ExportOutput::Refuse(const std::string& relative) {
    std::lock_guard lock(mutex_);
    int none = kNone;
    if (refusedCategory_.compare_exchange_strong(none, t_category))
        refusedFile_ = relative;
    return false;
}

void ExportOutput::RefuseBeforehand(const std::string& relative) {
    std::lock_guard lock(mutex_);
    refusedBeforehand_ = true;
    refusedFile_ = relative;
}

std::string ExportOutput::FileKeptWords(const std::string& relative) const {
    std::error_code ec;
    return Format(std::filesystem::exists(std::filesystem::path(dir_) / relative, ec)
                      ? Tr("%s left as it was")
                      : Tr("%s not written"),
                  relative.c_str());
}

std::vector<int> CategoryFiles::AllowBeforehand(const std::vector<int>& categories) {
    std::vector<int> allowed;
    for (const int category : categories) {
        const std::string& file = files_[static_cast<size_t>(category)];
        if (!gate_.Allow(std::filesystem::path(dir_) / file, file)) {
            RefuseBeforehand(file);
            break;
        }
        allowed.push_back(category);
    }
    return allowed;
}

void CategoryFiles::StartCategory(int category) {
    Allow(files_[static_cast<size_t>(category)]);
}

bool CategoryFiles::WriteCategory(int category, const std::string& text) {
    return Write(files_[static_cast<size_t>(category)], text);
}

std::string CategoryFiles::KeptWords(int category) const {
    return FileKeptWords(files_[static_cast<size_t>(category)]);
}
