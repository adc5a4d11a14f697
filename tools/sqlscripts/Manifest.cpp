#include "Manifest.h"

#include "ExportOutput.h"
#include "Messages.h"
#include "model/ModelError.h"
#include "platform/Exceptions.h"
#include "platform/File.h"

#include <filesystem>
#include <fstream>

std::vector<std::string> ReadManifest(const std::string& dir) {
    std::vector<std::string> files;
    std::ifstream in(std::filesystem::path(dir) / kManifestName);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            files.push_back(line);
    return files;
}

void WriteManifest(const std::string& dir, const std::vector<std::string>& files) {
    std::string text;
    for (const std::string& file : files)
        text.append(file).append("\n");
    const std::filesystem::path path = std::filesystem::path(dir) / kManifestName;
    try {
        WriteFileReplacing(path.c_str(), text.data(), text.size());
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        throw CModelError(eModelTask::WriteFile, path.string(), FileFailureReason(*e));
    }
}
