#include "RecreateFiles.h"

#include "ExportOutput.h"
#include "Manifest.h"
#include "Messages.h"
#include "platform/Exceptions.h"
#include "platform/Unicode.h"
#include "recreate/RecreateKinds.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kDatabaseFile = "Database.sql";

// "NN-Section" and the end given: ".sql" for a section's file.
std::string SectionFileName(eRecreateSection section, const std::string& end = ".sql") {
    return RecreateSectionFileName(section) + end;
}

// A table's parts are named after it; a trigger, a schema-level object of its own, is not.
std::string ObjectFileName(const TRecreateStep& step) {
    if (step.strParent.empty() || RecreateKind(step.eKind).bSchemaObject)
        return EscapeFileName(step.strName);
    return EscapeFileName(step.strParent) + "." + EscapeFileName(step.strName);
}

// The text into the file at its place, once the gate allows it; false when the gate kept a file that
// appeared meanwhile.
bool Write(ReplaceGate& gate, const fs::path& path, const std::string& text, const std::string& relative) {
    bool written = false;
    WritingFile(path.string(), [&] {
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        written = gate.Write(path, relative, text);
    });
    return written;
}

// Puts the rows written under a temporary name in place, as Write does.
bool PutInPlace(ReplaceGate& gate, const fs::path& path, DataFile& data, const std::string& relative) {
    bool put = false;
    WritingFile(path.string(), [&] { put = gate.Put(path, relative, *data.written); });
    return put;
}

} // namespace

void WritingFile(const std::string& path, const std::function<void()>& work) {
    try {
        work();
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        throw CModelError(eModelTask::WriteFile, path, FileFailureReason(*e));
    }
}

std::vector<RecreateFile> RecreateSectionFiles(std::vector<TRecreateStep>&& steps) {
    std::vector<RecreateFile> files;
    for (size_t i = 0; i < steps.size();) {
        size_t end = i, size = 0;
        for (; end < steps.size() && steps[end].eSection == steps[i].eSection; ++end)
            size += steps[end].strText.size();
        RecreateFile& file =
            files.emplace_back(RecreateFile{SectionFileName(steps[i].eSection), std::move(steps[i].strText),
                                            steps[i].eSection, static_cast<long>(end - i), nullptr});
        file.text.reserve(size);
        // Each step's text is let go once copied, so that the steps and their files are not held twice.
        for (++i; i < end; ++i) {
            file.text += steps[i].strText;
            std::string().swap(steps[i].strText);
        }
    }
    return files;
}

std::vector<RecreateFile> RecreateObjectFiles(std::vector<TRecreateStep>&& steps,
                                              const NameTemplate& nameTemplate) {
    std::vector<RecreateFile> files;
    // The drops have no object of their own: they go into one file at the top of the folder.
    const std::string cleanFile = std::string(RecreateSectionName(eRecreateSection::Clean)) + ".sql";
    std::set<std::string> used{FoldCaseUtf8(cleanFile), FoldCaseUtf8(std::string(kDatabaseFile))};
    for (TRecreateStep& step : steps) {
        if (step.eSection == eRecreateSection::Clean && !files.empty() &&
            files.back().section == eRecreateSection::Clean) {
            files.back().text += step.strText;
            ++files.back().objects;
            continue;
        }
        const std::string path = step.eSection == eRecreateSection::Clean
                                     ? cleanFile
                                     : nameTemplate.UniquePath(std::string(RecreateKindFolder(step.eKind)),
                                                               step.strSchema, ObjectFileName(step), used);
        files.push_back({path, std::move(step.strText), step.eSection, 1, nullptr});
    }
    return files;
}

void AddDatabaseFile(std::vector<RecreateFile>& files, std::string text, bool objectFiles) {
    const std::string path = (objectFiles ? "" : "00-") + std::string(kDatabaseFile);
    // Its progress is told with the drops of --clean: both come before every section's objects.
    files.insert(files.begin(), {path, std::move(text), eRecreateSection::Clean, 1, nullptr});
}

void AddDataFiles(std::vector<RecreateFile>& files, std::vector<TDataStep> steps,
                  const NameTemplate* nameTemplate) {
    // Named by the table alone, so that a table added or gone renames no other table's file.
    const NameTemplate sectionTemplate(kDefaultNameTemplate);
    const NameTemplate& names = nameTemplate ? *nameTemplate : sectionTemplate;
    const std::string folder = nameTemplate ? std::string(RecreateSectionName(eRecreateSection::Data))
                                            : SectionFileName(eRecreateSection::Data, "");
    std::vector<RecreateFile> dataFiles;
    std::set<std::string> used;
    for (TDataStep& step : steps) {
        const std::string path =
            names.UniquePath(folder, step.table.strSchema, EscapeFileName(step.table.strName), used);
        dataFiles.push_back({path, std::string(), eRecreateSection::Data, 1,
                             std::make_shared<DataFile>(DataFile{std::move(step), nullptr})});
    }
    const auto after = std::find_if(files.begin(), files.end(), [](const RecreateFile& file) {
        return file.section > eRecreateSection::Data;
    });
    files.insert(after, std::make_move_iterator(dataFiles.begin()), std::make_move_iterator(dataFiles.end()));
}

std::vector<std::string> RecreateProgressNames(bool objectFiles) {
    std::vector<std::string> names;
    for (auto section = eRecreateSection::Clean; section <= eRecreateSection::Permissions;
         section = static_cast<eRecreateSection>(static_cast<int>(section) + 1)) {
        names.push_back(objectFiles
                            ? std::string(RecreateSectionName(section))
                            : SectionFileName(section, section == eRecreateSection::Data ? "" : ".sql"));
    }
    return names;
}

namespace {

// The folders the files go into that are not there yet, the output folder included, deepest first.
std::set<fs::path, std::greater<>> MissingFolders(const std::string& dir,
                                                  const std::vector<RecreateFile>& files) {
    std::set<fs::path, std::greater<>> missing;
    std::set<fs::path> seen; // each folder is looked at once, however many files it holds
    const auto add = [&missing, &seen](fs::path folder) {
        std::error_code ec;
        for (; !folder.empty() && seen.insert(folder).second && !fs::exists(folder, ec);
             folder = folder.parent_path())
            missing.insert(folder);
    };
    add(dir);
    for (const RecreateFile& file : files)
        add((fs::path(dir) / file.path).parent_path());
    return missing;
}

// The progress of a section's files, told as the first of them is written.
void StartSection(Progress& progress, const std::vector<RecreateFile>& files, size_t first) {
    const int section = static_cast<int>(files[first].section);
    long objects = 0;
    for (size_t j = first; j < files.size() && files[j].section == files[first].section; ++j)
        objects += files[j].objects;
    progress.Started(section);
    progress.ListRead(section, objects);
}

void FinishFile(Progress& progress, const std::vector<RecreateFile>& files, size_t i) {
    if (i + 1 == files.size() || files[i + 1].section != files[i].section)
        progress.Finished(static_cast<int>(files[i].section), true);
}

std::optional<std::string> WriteFilesAndManifest(const std::string& dir,
                                                 const std::vector<RecreateFile>& files, ReplaceGate& gate,
                                                 Progress& progress, const WriteDataFiles& writeData,
                                                 bool prune, bool& pruneFailed) {
    // Every existing file is asked about before the first is written, so a "no" leaves the folder as it was.
    for (const RecreateFile& file : files)
        if (!gate.Allow(fs::path(dir) / file.path, file.path))
            return file.path;
    // The folder's own error, rather than the first file's that cannot be written in it.
    if (const int error = MakeFolder(dir))
        throw CModelError(eModelTask::MakeFolder, dir, SystemReason(error));
    if (writeData)
        writeData();
    std::vector<std::string> written;
    for (size_t i = 0; i < files.size(); ++i) {
        const RecreateFile& file = files[i];
        const fs::path path = fs::path(dir) / file.path;
        // The rows were counted as they were read; the other files as they are written.
        if (file.data && !PutInPlace(gate, path, *file.data, file.path))
            return file.path;
        if (!file.data) {
            if (i == 0 || files[i - 1].section != file.section)
                StartSection(progress, files, i);
            if (!Write(gate, path, file.text, file.path))
                return file.path;
            for (long n = 0; n < file.objects; ++n)
                progress.ObjectDone(static_cast<int>(file.section));
        }
        written.push_back(file.path);
        FinishFile(progress, files, i);
    }
    // With nothing to write (an empty catalog) the folder is made for the manifest alone.
    std::error_code ec;
    fs::create_directories(dir, ec);
    pruneFailed = !ConcludeManifest(dir, written, prune);
    return std::nullopt;
}

// A run that stops leaves no debris: the rows written under temporary names go, and so do the folders made
// for the files.
void RemoveDebris(const std::vector<RecreateFile>& files, const std::set<fs::path, std::greater<>>& missing) {
    for (const RecreateFile& file : files)
        if (file.data)
            file.data->written.reset();
    std::error_code ec;
    for (const fs::path& folder : missing)
        fs::remove(folder, ec);
}

} // namespace

FolderWritten WriteRecreateFiles(const std::string& dir, const std::vector<RecreateFile>& files,
                                 ReplaceGate& gate, Progress& progress, const WriteDataFiles& writeData,
                                 bool prune) {
    const std::set<fs::path, std::greater<>> missing = MissingFolders(dir, files);
    const CProvisionalFolders provisional(std::vector<std::string>(missing.begin(), missing.end()));
    try {
        FolderWritten written;
        written.refused = WriteFilesAndManifest(dir, files, gate, progress, writeData, prune, written.failed);
        if (written.refused)
            RemoveDebris(files, missing);
        return written;
    } catch (const CModelError&) {
        RemoveDebris(files, missing);
        throw;
    }
}

std::string OutputFolder(const std::string& output) {
    const fs::path folder = fs::path(output).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

namespace {

// Where the one stream goes: standard output, or a file that takes its name once whole.
class Stream {
public:
    explicit Stream(const std::string& output) : output_(output) {
        if (output_ != "-")
            WritingFile(output_, [&] { file_ = std::make_unique<CFileReplacement>(output_.c_str()); });
    }

    void Write(std::string_view text) {
        if (!file_) {
            if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size())
                throw CModelError(eModelTask::WriteFile, Tr("standard output"), SystemReason(errno));
            return;
        }
        WritingFile(output_, [&] { file_->Write(text.data(), text.size()); });
    }

    // False when the gate kept a file that appeared meanwhile.
    bool Finish(ReplaceGate& gate) {
        if (!file_) {
            if (std::fflush(stdout) != 0)
                throw CModelError(eModelTask::WriteFile, Tr("standard output"), SystemReason(errno));
            return true;
        }
        bool put = false;
        WritingFile(output_, [&] { put = gate.Put(output_, Shown(output_), *file_); });
        return put;
    }

    static std::string Shown(const std::string& output) { return fs::path(output).filename().string(); }

private:
    const std::string output_;
    std::unique_ptr<CFileReplacement> file_;
};

} // namespace

std::optional<std::string> WriteRecreateStream(const std::string& output,
                                               const std::vector<RecreateFile>& files, ReplaceGate& gate,
                                               Progress& progress, const WriteFileRowsTo& writeRows) {
    if (output != "-" && !gate.Allow(output, Stream::Shown(output)))
        return Stream::Shown(output);
    Stream stream(output);
    const RowsSink sink = [&stream](std::string_view text) { stream.Write(text); };
    for (size_t i = 0; i < files.size(); ++i) {
        const RecreateFile& file = files[i];
        if (i == 0 || files[i - 1].section != file.section)
            StartSection(progress, files, i);
        if (file.data)
            writeRows(*file.data, sink);
        else
            stream.Write(file.text);
        for (long n = 0; n < file.objects; ++n)
            progress.ObjectDone(static_cast<int>(file.section));
        FinishFile(progress, files, i);
    }
    if (!stream.Finish(gate))
        return Stream::Shown(output);
    return std::nullopt;
}
