#include "jobs/RecreateFiles.h"

#include "jobs/JobFiles.h"
#include "jobs/Manifest.h"
#include "jobs/StreamSeal.h"
#include "platform/Exceptions.h"
#include "platform/Unicode.h"
#include "recreate/RecreateKinds.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kDatabaseFile = "Database.sql";

// "NN-Section" and the end given: ".sql" for a section's file.
std::string SectionFileName(eRecreateSection eSection, const std::string& strEnd = ".sql") {
    return RecreateSectionFileName(eSection) + strEnd;
}

// A table's parts are named after it; a trigger, a schema-level object of its own, is not.
std::string ObjectFileName(const TRecreateStep& step) {
    if (step.strParent.empty() || RecreateKind(step.eKind).bSchemaObject)
        return EscapeFileName(step.strName);
    return EscapeFileName(step.strParent) + "." + EscapeFileName(step.strName);
}

// The text into the file at its place, once the gate allows it; false when the gate kept a file that
// appeared meanwhile.
bool Write(CReplaceGate& gate, const fs::path& path, const std::string& strText,
           const std::string& strRelative) {
    bool bWritten = false;
    WritingFile(path.string(), [&] {
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        bWritten = gate.Write(path, strRelative, strText);
    });
    return bWritten;
}

// Puts the rows written under a temporary name in place, as Write does.
bool PutInPlace(CReplaceGate& gate, const fs::path& path, TDataFile& data, const std::string& strRelative) {
    bool bPut = false;
    WritingFile(path.string(), [&] { bPut = gate.Put(path, strRelative, *data.pWritten); });
    return bPut;
}

} // namespace

std::vector<TRecreateFile> RecreateSectionFiles(std::vector<TRecreateStep>&& aSteps) {
    std::vector<TRecreateFile> aFiles;
    for (size_t i = 0; i < aSteps.size();) {
        size_t nEnd = i, nSize = 0;
        for (; nEnd < aSteps.size() && aSteps[nEnd].eSection == aSteps[i].eSection; ++nEnd)
            nSize += aSteps[nEnd].strText.size();
        TRecreateFile& file = aFiles.emplace_back(
            TRecreateFile{SectionFileName(aSteps[i].eSection), std::move(aSteps[i].strText),
                          aSteps[i].eSection, static_cast<long>(nEnd - i), nullptr});
        file.strText.reserve(nSize);
        // Each step's text is let go once copied, so that the steps and their files are not held twice.
        for (++i; i < nEnd; ++i) {
            file.strText += aSteps[i].strText;
            std::string().swap(aSteps[i].strText);
        }
    }
    return aFiles;
}

std::vector<TRecreateFile> RecreateObjectFiles(std::vector<TRecreateStep>&& aSteps,
                                               const CNameTemplate& names) {
    std::vector<TRecreateFile> aFiles;
    // The drops have no object of their own: they go into one file at the top of the folder.
    const std::string strCleanFile = std::string(RecreateSectionName(eRecreateSection::Clean)) + ".sql";
    std::set<std::string> setUsed{FoldCaseUtf8(strCleanFile), FoldCaseUtf8(std::string(kDatabaseFile))};
    for (TRecreateStep& step : aSteps) {
        if (step.eSection == eRecreateSection::Clean && !aFiles.empty() &&
            aFiles.back().eSection == eRecreateSection::Clean) {
            aFiles.back().strText += step.strText;
            ++aFiles.back().nObjects;
            continue;
        }
        const std::string strPath = step.eSection == eRecreateSection::Clean
                                        ? strCleanFile
                                        : names.UniquePath(std::string(RecreateKindFolder(step.eKind)),
                                                           step.strSchema, ObjectFileName(step), setUsed);
        aFiles.push_back({strPath, std::move(step.strText), step.eSection, 1, nullptr});
    }
    return aFiles;
}

namespace {

// The file's name with sections, and with a file per object.
std::string DatabaseFilePath(bool bObjectFiles) {
    return (bObjectFiles ? "" : "00-") + std::string(kDatabaseFile);
}

} // namespace

void AddDatabaseFile(std::vector<TRecreateFile>& aFiles, std::string strText, bool bObjectFiles) {
    const std::string strPath = DatabaseFilePath(bObjectFiles);
    // Its progress is told with the drops of --clean: both come before every section's objects.
    aFiles.insert(aFiles.begin(), {strPath, std::move(strText), eRecreateSection::Clean, 1, nullptr});
}

bool IsDatabaseFile(std::string_view strPath) {
    return strPath == DatabaseFilePath(false) || strPath == DatabaseFilePath(true);
}

void AddDataFiles(std::vector<TRecreateFile>& aFiles, std::vector<TDataStep> aSteps,
                  const CNameTemplate* pNames) {
    // Named by the table alone, so that a table added or gone renames no other table's file.
    const CNameTemplate sectionNames(kDefaultNameTemplate);
    const CNameTemplate& names = pNames ? *pNames : sectionNames;
    const std::string strFolder = pNames ? std::string(RecreateSectionName(eRecreateSection::Data))
                                         : SectionFileName(eRecreateSection::Data, "");
    std::vector<TRecreateFile> aDataFiles;
    std::set<std::string> setUsed;
    for (TDataStep& step : aSteps) {
        const std::string strPath =
            names.UniquePath(strFolder, step.table.strSchema, EscapeFileName(step.table.strName), setUsed);
        aDataFiles.push_back({strPath, std::string(), eRecreateSection::Data, 1,
                              std::make_shared<TDataFile>(TDataFile{std::move(step), nullptr})});
    }
    const auto after = std::find_if(aFiles.begin(), aFiles.end(), [](const TRecreateFile& file) {
        return file.eSection > eRecreateSection::Data;
    });
    aFiles.insert(after, std::make_move_iterator(aDataFiles.begin()),
                  std::make_move_iterator(aDataFiles.end()));
}

std::vector<std::string> RecreateProgressNames(bool bObjectFiles) {
    std::vector<std::string> aNames;
    for (auto eSection = eRecreateSection::Clean; eSection <= eRecreateSection::DatabaseTriggers;
         eSection = static_cast<eRecreateSection>(static_cast<int>(eSection) + 1)) {
        aNames.push_back(bObjectFiles
                             ? std::string(RecreateSectionName(eSection))
                             : SectionFileName(eSection, eSection == eRecreateSection::Data ? "" : ".sql"));
    }
    return aNames;
}

namespace {

// The folders the files go into that are not there yet, the output folder included, deepest first.
std::set<fs::path, std::greater<>> MissingFolders(const std::string& strDir,
                                                  const std::vector<TRecreateFile>& aFiles) {
    std::set<fs::path, std::greater<>> setMissing;
    std::set<fs::path> setSeen; // each folder is looked at once, however many files it holds
    const auto add = [&setMissing, &setSeen](fs::path folder) {
        std::error_code ec;
        for (; !folder.empty() && setSeen.insert(folder).second && !fs::exists(folder, ec);
             folder = folder.parent_path())
            setMissing.insert(folder);
    };
    add(strDir);
    for (const TRecreateFile& file : aFiles)
        add((fs::path(strDir) / file.strPath).parent_path());
    return setMissing;
}

// The progress of a section's files, told as the first of them is written.
void StartSection(IExportObserver& observer, const std::vector<TRecreateFile>& aFiles, size_t nFirst) {
    const int nSection = static_cast<int>(aFiles[nFirst].eSection);
    long nObjects = 0;
    for (size_t j = nFirst; j < aFiles.size() && aFiles[j].eSection == aFiles[nFirst].eSection; ++j)
        nObjects += aFiles[j].nObjects;
    observer.OnPartStarted(nSection);
    observer.OnPartSize(nSection, nObjects);
}

void FinishFile(IExportObserver& observer, const std::vector<TRecreateFile>& aFiles, size_t i) {
    if (i + 1 == aFiles.size() || aFiles[i + 1].eSection != aFiles[i].eSection)
        observer.OnPartFinished(static_cast<int>(aFiles[i].eSection), true);
}

void ObjectsDone(IExportObserver& observer, const TRecreateFile& file) {
    for (long n = 0; n < file.nObjects; ++n)
        observer.OnObjectDone(static_cast<int>(file.eSection));
}

std::optional<std::string> WriteFilesAndManifest(const std::string& strDir,
                                                 const std::vector<TRecreateFile>& aFiles, CReplaceGate& gate,
                                                 IExportObserver& observer, const TWriteDataFiles& writeData,
                                                 bool bPrune, bool& bPruneFailed) {
    // Every existing file is asked about before the first is written, so a "no" leaves the folder as it was.
    for (const TRecreateFile& file : aFiles)
        if (!gate.Allow(fs::path(strDir) / file.strPath, file.strPath))
            return file.strPath;
    // The folder's own error, rather than the first file's that cannot be written in it.
    if (const int nError = MakeFolder(strDir))
        throw CJobFailure(eModelTask::MakeFolder, FolderNotice(strDir, nError));
    if (writeData)
        writeData();
    std::vector<std::string> aWritten;
    for (size_t i = 0; i < aFiles.size(); ++i) {
        const TRecreateFile& file = aFiles[i];
        const fs::path path = fs::path(strDir) / file.strPath;
        // The rows were counted as they were read; the other files as they are written.
        if (file.pData && !PutInPlace(gate, path, *file.pData, file.strPath))
            return file.strPath;
        if (!file.pData) {
            if (i == 0 || aFiles[i - 1].eSection != file.eSection)
                StartSection(observer, aFiles, i);
            if (!Write(gate, path, file.strText, file.strPath))
                return file.strPath;
            ObjectsDone(observer, file);
        }
        aWritten.push_back(file.strPath);
        FinishFile(observer, aFiles, i);
    }
    // With nothing to write (an empty catalog) the folder is made for the manifest alone.
    std::error_code ec;
    fs::create_directories(strDir, ec);
    bPruneFailed = !ConcludeManifest(strDir, aWritten, bPrune, observer);
    return std::nullopt;
}

// A run that stops leaves no debris: the rows written under temporary names go, and so do the folders made
// for the files.
void RemoveDebris(const std::vector<TRecreateFile>& aFiles,
                  const std::set<fs::path, std::greater<>>& setMissing) {
    for (const TRecreateFile& file : aFiles)
        if (file.pData)
            file.pData->pWritten.reset();
    std::error_code ec;
    for (const fs::path& folder : setMissing)
        fs::remove(folder, ec);
}

} // namespace

TFolderWritten WriteRecreateFiles(const std::string& strDir, const std::vector<TRecreateFile>& aFiles,
                                  CReplaceGate& gate, IExportObserver& observer,
                                  const TWriteDataFiles& writeData, bool bPrune) {
    const std::set<fs::path, std::greater<>> setMissing = MissingFolders(strDir, aFiles);
    const CProvisionalFolders provisional(std::vector<std::string>(setMissing.begin(), setMissing.end()));
    try {
        TFolderWritten written;
        written.strRefused =
            WriteFilesAndManifest(strDir, aFiles, gate, observer, writeData, bPrune, written.bFailed);
        if (written.strRefused)
            RemoveDebris(aFiles, setMissing);
        return written;
    } catch (const CModelError&) {
        RemoveDebris(aFiles, setMissing);
        throw;
    }
}

std::string OutputFolder(const std::string& strOutput) {
    const fs::path folder = fs::path(strOutput).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

namespace {

// Where the one stream goes: the caller's stream, between its opening and closing lines, or a file that
// takes its name once whole.
class CStream {
public:
    CStream(std::FILE* pStream, const std::string& strOutput) : m_pStream(pStream), m_strOutput(strOutput) {
        if (!m_pStream) {
            WritingFile(m_strOutput,
                        [&] { m_pFile = std::make_unique<CFileReplacement>(m_strOutput.c_str()); });
            return;
        }
        Write(StreamOpeningLine());
    }

    void Write(std::string_view strText) {
        if (m_pStream) {
            Put(strText);
            m_seal.Add(strText);
            return;
        }
        WritingFile(m_strOutput, [&] { m_pFile->Write(strText.data(), strText.size()); });
    }

    void FileEnded() { m_seal.FileEnded(); }

    // False when the gate kept a file that appeared meanwhile.
    bool Finish(CReplaceGate& gate) {
        if (m_pStream) {
            Put(m_seal.ClosingLine());
            if (std::fflush(m_pStream) != 0)
                throw StreamFailure();
            return true;
        }
        bool bPut = false;
        WritingFile(m_strOutput, [&] { bPut = gate.Put(m_strOutput, Shown(m_strOutput), *m_pFile); });
        return bPut;
    }

    static std::string Shown(const std::string& strOutput) { return fs::path(strOutput).filename().string(); }

private:
    void Put(std::string_view strText) {
        if (std::fwrite(strText.data(), 1, strText.size(), m_pStream) != strText.size())
            throw StreamFailure();
    }

    // The caller's stream is named by no path.
    static CJobFailure StreamFailure() {
        TJobNotice notice{eJobNotice::CannotWrite};
        notice.nSystemError = errno;
        return CJobFailure(eModelTask::WriteFile, notice);
    }

    std::FILE* m_pStream;
    const std::string m_strOutput;
    std::unique_ptr<CFileReplacement> m_pFile;
    CStreamSeal m_seal; // of the caller's stream
};

} // namespace

std::optional<std::string> WriteRecreateStream(std::FILE* pStream, const std::string& strOutput,
                                               const std::vector<TRecreateFile>& aFiles, CReplaceGate& gate,
                                               IExportObserver& observer, const TWriteFileRowsTo& writeRows) {
    if (!pStream && !gate.Allow(strOutput, CStream::Shown(strOutput)))
        return CStream::Shown(strOutput);
    CStream stream(pStream, strOutput);
    const TRowsSink sink = [&stream](std::string_view strText) { stream.Write(strText); };
    for (size_t i = 0; i < aFiles.size(); ++i) {
        const TRecreateFile& file = aFiles[i];
        if (i == 0 || aFiles[i - 1].eSection != file.eSection)
            StartSection(observer, aFiles, i);
        if (file.pData)
            writeRows(*file.pData, sink);
        else
            stream.Write(file.strText);
        stream.FileEnded();
        ObjectsDone(observer, file);
        FinishFile(observer, aFiles, i);
    }
    if (!stream.Finish(gate))
        return CStream::Shown(strOutput);
    return std::nullopt;
}
