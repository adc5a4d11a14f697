#include "DataFiles.h"

#include "ExportObserver.h"

#include <filesystem>

namespace {

// The rows' text into the file, stopping at an interruption.
class FileOutput : public CDataOutput {
public:
    FileOutput(CFileReplacement& file, std::string path) : file_(file), path_(std::move(path)) {}
    void Write(std::string_view text) override {
        if (InterruptionSignal() != 0)
            throw CModelError(eModelTask::WriteFile, path_, "interrupted");
        WritingFile(path_, [&] { file_.Write(text.data(), text.size()); });
    }

private:
    CFileReplacement& file_;
    const std::string path_;
};

void WriteTable(CDatabase& db, const std::filesystem::path& path, DataFile& data,
                const TDataOptions& options) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    WritingFile(path.string(), [&] { data.written = std::make_unique<CFileReplacement>(path.c_str()); });
    FileOutput output(*data.written, path.string());
    output.Write(data.step.strBefore);
    WriteTableData(*db.GetBackend(), data.step.table, options, output);
    output.Write(data.step.strAfter);
}

} // namespace

void CheckRowTypes(const std::vector<RecreateFile>& files) {
    for (const RecreateFile& file : files)
        if (file.data)
            CheckDataTypes(file.data->step.table);
}

void WriteRows(CDatabase& db, const std::string& dir, const std::vector<RecreateFile>& files,
               const TDataOptions& options, Progress& progress) {
    constexpr int kSection = static_cast<int>(eRecreateSection::Data);
    long tables = 0;
    for (const RecreateFile& file : files)
        tables += file.data ? 1 : 0;
    if (tables == 0)
        return;
    progress.Started(kSection);
    progress.ListRead(kSection, tables);
    for (const RecreateFile& file : files) {
        if (!file.data)
            continue;
        WriteTable(db, std::filesystem::path(dir) / file.path, *file.data, options);
        progress.ObjectDone(kSection);
    }
}
