#include "RecreateFiles.h"

#include "ExportOutput.h"
#include "Manifest.h"
#include "Messages.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

namespace fs = std::filesystem;

namespace {

// "NN-Category" and the end given: ".sql" for a category's file.
std::string CategoryFileName(ERecreateCategory category, const std::string& end = ".sql") {
    const int number = static_cast<int>(category) + 1;
    return (number < 10 ? "0" : "") + std::to_string(number) + "-" +
           std::string(RecreateCategoryName(category)) + end;
}

// A table's parts are named after it; a trigger, a schema-level object of its own, is not.
std::string ObjectFileName(const TRecreateStep& step) {
    if (step.strParent.empty() || step.eKind == ERecreateKind::Trigger)
        return EscapeFileName(step.strName);
    return EscapeFileName(step.strParent) + "." + EscapeFileName(step.strName);
}

// False when the gate kept a file that appeared meanwhile (refused), or after saying why it failed.
bool Write(ReplaceGate& gate, const fs::path& path, const std::string& text, const std::string& relative,
           bool& refused) {
    try {
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        refused = !gate.Write(path, relative, text);
        return !refused;
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        Say(CannotWrite(path.string(), *e));
        return false;
    }
}

// Puts the rows written under a temporary name in place, as Write does.
bool PutInPlace(ReplaceGate& gate, const fs::path& path, DataFile& data, const std::string& relative,
                bool& refused) {
    try {
        refused = !gate.Put(path, relative, *data.written);
        return !refused;
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        Say(CannotWrite(path.string(), *e));
        return false;
    }
}

} // namespace

std::vector<RecreateFile> RecreateCategoryFiles(std::vector<TRecreateStep>&& steps) {
    std::vector<RecreateFile> files;
    for (size_t i = 0; i < steps.size();) {
        size_t end = i, size = 0;
        for (; end < steps.size() && steps[end].eCategory == steps[i].eCategory; ++end)
            size += steps[end].strText.size();
        RecreateFile& file =
            files.emplace_back(RecreateFile{CategoryFileName(steps[i].eCategory), std::move(steps[i].strText),
                                            steps[i].eCategory, static_cast<long>(end - i), nullptr});
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
    std::set<std::string> used;
    for (TRecreateStep& step : steps) {
        const std::string path = nameTemplate.UniquePath(std::string(RecreateKindName(step.eKind)),
                                                         step.strSchema, ObjectFileName(step), used);
        files.push_back({path, std::move(step.strText), step.eCategory, 1, nullptr});
    }
    return files;
}

void AddDataFiles(std::vector<RecreateFile>& files, std::vector<TDataStep> steps,
                  const NameTemplate* nameTemplate) {
    const std::string folder(RecreateCategoryName(ERecreateCategory::Data));
    const size_t width = std::max<size_t>(3, std::to_string(steps.size()).size());
    std::vector<RecreateFile> dataFiles;
    std::set<std::string> used;
    for (TDataStep& step : steps) {
        const std::string name = EscapeFileName(step.table.strName);
        std::string number = std::to_string(dataFiles.size() + 1);
        number.insert(0, width - number.size(), '0');
        const std::string path =
            nameTemplate ? nameTemplate->UniquePath(folder, step.table.strSchema, name, used)
                         : CategoryFileName(ERecreateCategory::Data,
                                            "/" + number + "-" + EscapeFileName(step.table.strSchema) + "." +
                                                name + ".sql");
        dataFiles.push_back({path, std::string(), ERecreateCategory::Data, 1,
                             std::make_shared<DataFile>(DataFile{std::move(step), nullptr})});
    }
    const auto after = std::find_if(files.begin(), files.end(), [](const RecreateFile& file) {
        return file.category > ERecreateCategory::Data;
    });
    files.insert(after, std::make_move_iterator(dataFiles.begin()), std::make_move_iterator(dataFiles.end()));
}

std::vector<std::string> RecreateProgressNames(bool objectFiles) {
    std::vector<std::string> names;
    for (size_t i = 0; i < RECREATE_CATEGORY_COUNT; ++i) {
        const auto category = static_cast<ERecreateCategory>(i);
        names.push_back(objectFiles
                            ? std::string(RecreateCategoryName(category))
                            : CategoryFileName(category, category == ERecreateCategory::Data ? "" : ".sql"));
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

bool WriteFilesAndManifest(const std::string& dir, const std::vector<RecreateFile>& files, ReplaceGate& gate,
                           Progress& progress, std::string& refusedFile, const WriteDataFiles& writeData) {
    // Every existing file is asked about before the first is written, so a "no" leaves the folder as it was.
    for (const RecreateFile& file : files)
        if (!gate.Allow(fs::path(dir) / file.path, file.path)) {
            refusedFile = file.path;
            return false;
        }
    // The folder's own error, rather than the first file's that cannot be written in it.
    if (!CreateFolder(dir) || (writeData && !writeData()))
        return false;
    std::vector<std::string> written;
    for (size_t i = 0; i < files.size(); ++i) {
        const RecreateFile& file = files[i];
        const int category = static_cast<int>(file.category);
        bool refused = false;
        // The rows were counted as they were read; the other files as they are written.
        if (file.data) {
            if (!PutInPlace(gate, fs::path(dir) / file.path, *file.data, file.path, refused)) {
                refusedFile = refused ? file.path : std::string();
                return false;
            }
        } else {
            if (i == 0 || files[i - 1].category != file.category) {
                long objects = 0;
                for (size_t j = i; j < files.size() && files[j].category == file.category; ++j)
                    objects += files[j].objects;
                progress.Started(category);
                progress.ListRead(category, objects);
            }
            if (!Write(gate, fs::path(dir) / file.path, file.text, file.path, refused)) {
                refusedFile = refused ? file.path : std::string();
                return false;
            }
            for (long n = 0; n < file.objects; ++n)
                progress.ObjectDone(category);
        }
        written.push_back(file.path);
        if (i + 1 == files.size() || files[i + 1].category != file.category)
            progress.Finished(category, true);
    }
    return WriteManifest(dir, written);
}

} // namespace

bool WriteRecreateFiles(const std::string& dir, const std::vector<RecreateFile>& files, ReplaceGate& gate,
                        Progress& progress, std::string& refusedFile, const WriteDataFiles& writeData) {
    refusedFile.clear();
    const std::set<fs::path, std::greater<>> missing = MissingFolders(dir, files);
    const CProvisionalFolders provisional(std::vector<std::string>(missing.begin(), missing.end()));
    if (WriteFilesAndManifest(dir, files, gate, progress, refusedFile, writeData))
        return true;
    // A failed run leaves no debris: the rows written under temporary names go, and so do the folders made
    // for the files that are still empty.
    for (const RecreateFile& file : files)
        if (file.data)
            file.data->written.reset();
    std::error_code ec;
    for (const fs::path& folder : missing)
        fs::remove(folder, ec);
    return false;
}
