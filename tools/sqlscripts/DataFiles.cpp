#include "DataFiles.h"

#include "ConnectString.h"
#include "ExportObserver.h"
#include "Messages.h"

#include <filesystem>

namespace {

// The rows' text into the file, stopping at an interruption.
class FileOutput : public CDataOutput {
public:
    explicit FileOutput(CFileReplacement& file) : file_(file) {}
    void Write(std::string_view text) override {
        if (InterruptionSignal() != 0)
            throw new CDataException("interrupted");
        file_.Write(text.data(), text.size());
    }

private:
    CFileReplacement& file_;
};

void WriteTable(CDatabase& db, const std::filesystem::path& path, DataFile& data,
                const TDataOptions& options) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    data.written = std::make_unique<CFileReplacement>(path.c_str());
    FileOutput output(*data.written);
    output.Write(data.step.strBefore);
    WriteTableData(*db.GetBackend(), data.step.table, options, output);
    output.Write(data.step.strAfter);
}

} // namespace

bool CanWriteRows(const std::vector<RecreateFile>& files) {
    for (const RecreateFile& file : files) {
        try {
            if (file.data)
                CheckDataTypes(file.data->step.table);
        } catch (CException* e) {
            const CExceptionPtr<> guard(e);
            Say(e->GetErrorText().Str());
            return false;
        }
    }
    return true;
}

bool WriteRows(CDatabase& db, const std::string& dir, const std::vector<RecreateFile>& files,
               const TDataOptions& options, Progress& progress) {
    constexpr int kCategory = static_cast<int>(ERecreateCategory::Data);
    long tables = 0;
    for (const RecreateFile& file : files)
        tables += file.data ? 1 : 0;
    if (tables == 0)
        return true;
    progress.Started(kCategory);
    progress.ListRead(kCategory, tables);
    for (const RecreateFile& file : files) {
        if (!file.data)
            continue;
        const TDataTable& table = file.data->step.table;
        try {
            WriteTable(db, std::filesystem::path(dir) / file.path, *file.data, options);
        } catch (CException* e) {
            const CExceptionPtr<> guard(e);
            // The writer's own failures name the table and column already.
            const std::string reason = OneLine(e->GetErrorText().Str());
            if (InterruptionSignal() != 0)
                Say(Tr("interrupted; no category was written"));
            else if (dynamic_cast<CDataException*>(e))
                Say(reason);
            else
                Say(Format(Tr("rows of %s.%s: %s"), table.strSchema.c_str(), table.strName.c_str(),
                           reason.c_str()));
            return false;
        }
        progress.ObjectDone(kCategory);
    }
    return true;
}
