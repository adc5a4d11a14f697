#include "Installed.h"

#include <filesystem>

std::string InstalledOr(const std::string& relative, const std::string& fallback) {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path installed = exe.parent_path().parent_path() / relative;
    return !ec && std::filesystem::exists(installed, ec) ? installed.string() : fallback;
}
