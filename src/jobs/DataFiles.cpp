#include "jobs/DataFiles.h"

#include "jobs/JobFiles.h"

#include <filesystem>

namespace {

// The rows' text into the sink, ending at a stop; what the file layer throws names the file.
class CSinkOutput : public CDataOutput {
public:
    CSinkOutput(const TRowsSink& sink, std::string strPath, IJobObserver& observer)
        : m_sink(sink), m_strPath(std::move(strPath)), m_observer(observer) {}
    void Write(std::string_view strText) override {
        if (m_observer.ShouldStop())
            throw CModelError(eModelTask::WriteFile, m_strPath, "interrupted");
        WritingFile(m_strPath, [&] { m_sink(strText); });
    }

private:
    const TRowsSink& m_sink;
    const std::string m_strPath;
    IJobObserver& m_observer;
};

void WriteTable(CDatabase& db, const std::filesystem::path& path, TDataFile& data,
                const TDataOptions& options, IJobObserver& observer) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    WritingFile(path.string(), [&] { data.pWritten = std::make_unique<CFileReplacement>(path.c_str()); });
    CFileReplacement& file = *data.pWritten;
    WriteFileRows(
        db, data, options, [&file](std::string_view strText) { file.Write(strText.data(), strText.size()); },
        path.string(), observer);
}

} // namespace

void WriteFileRows(CDatabase& db, const TDataFile& data, const TDataOptions& options, const TRowsSink& sink,
                   const std::string& strPath, IJobObserver& observer) {
    CSinkOutput output(sink, strPath, observer);
    output.Write(data.step.strBefore);
    WriteTableData(*db.GetBackend(), data.step.table, options, output);
    output.Write(data.step.strAfter);
}

void CheckRowTypes(const std::vector<TRecreateFile>& aFiles) {
    for (const TRecreateFile& file : aFiles)
        if (file.pData)
            CheckDataTypes(file.pData->step.table);
}

void WriteRows(CDatabase& db, const std::string& strDir, const std::vector<TRecreateFile>& aFiles,
               const TDataOptions& options, IExportObserver& observer) {
    constexpr int kSection = static_cast<int>(eRecreateSection::Data);
    long nTables = 0;
    for (const TRecreateFile& file : aFiles)
        nTables += file.pData ? 1 : 0;
    if (nTables == 0)
        return;
    observer.OnPartStarted(kSection);
    observer.OnPartSize(kSection, nTables);
    for (const TRecreateFile& file : aFiles) {
        if (!file.pData)
            continue;
        WriteTable(db, std::filesystem::path(strDir) / file.strPath, *file.pData, options, observer);
        observer.OnObjectDone(kSection);
    }
}
