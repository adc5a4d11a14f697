#include "DataFiles.h"

#include "ExportObserver.h"

#include <filesystem>

namespace {

// The rows' text into the sink, stopping at an interruption; what the file layer throws names the file.
class SinkOutput : public CDataOutput {
public:
    SinkOutput(const RowsSink& sink, std::string path) : sink_(sink), path_(std::move(path)) {}
    void Write(std::string_view text) override {
        if (InterruptionSignal() != 0)
            throw CModelError(eModelTask::WriteFile, path_, "interrupted");
        WritingFile(path_, [&] { sink_(text); });
    }

private:
    const RowsSink& sink_;
    const std::string path_;
};

void WriteTable(CDatabase& db, const std::filesystem::path& path, DataFile& data,
                const TDataOptions& options) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    WritingFile(path.string(), [&] { data.written = std::make_unique<CFileReplacement>(path.c_str()); });
    CFileReplacement& file = *data.written;
    WriteFileRows(
        db, data, options, [&file](std::string_view text) { file.Write(text.data(), text.size()); },
        path.string());
}

} // namespace

void WriteFileRows(CDatabase& db, const DataFile& data, const TDataOptions& options, const RowsSink& sink,
                   const std::string& path) {
    SinkOutput output(sink, path);
    output.Write(data.step.strBefore);
    WriteTableData(*db.GetBackend(), data.step.table, options, output);
    output.Write(data.step.strAfter);
}

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
