#include "ObjectFiles.h"

#include "export/ScriptFiles.h"
#include "platform/Exceptions.h"
#include "platform/File.h"
#include "platform/Unicode.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

constexpr int kSchemas = 6;
constexpr std::string_view kPlaceholders[] = {"{category}", "{schema}", "{name}"};

bool IsSeparator(char ch) {
    return ch == '.' || ch == '/';
}

std::string RegexEscape(const std::string& text) {
    std::string out;
    for (char ch : text) {
        if (std::string_view("\\^$.|?*+()[]{}").find(ch) != std::string_view::npos)
            out += '\\';
        out += ch;
    }
    return out;
}

std::string ErrorText(CException* e) {
    const std::string text = e->GetErrorText().Str();
    e->Delete();
    return text;
}

} // namespace

NameTemplate::NameTemplate(const std::string& text) {
    bool hasCategory = false, hasName = false;
    for (size_t pos = 0; pos < text.size();) {
        size_t next = std::string::npos, which = 0;
        for (size_t i = 0; i < std::size(kPlaceholders); ++i) {
            const size_t at = text.find(kPlaceholders[i], pos);
            if (at < next) {
                next = at;
                which = i;
            }
        }
        if (next != pos) {
            parts_.push_back({Kind::Text, text.substr(pos, next - pos)});
            pos = next;
            continue;
        }
        parts_.push_back({static_cast<Kind>(which + 1), std::string()});
        hasCategory |= which == 0;
        hasName |= which == 2;
        pos += kPlaceholders[which].size();
    }
    if (!hasCategory || !hasName)
        throw std::invalid_argument("--name-template needs {category} and {name}, got '" + text + "'");
    const fs::path path(text);
    if (path.is_absolute() ||
        std::any_of(path.begin(), path.end(), [](const fs::path& p) { return p == ".."; }))
        throw std::invalid_argument("--name-template names a path inside --dir, got '" + text + "'");
}

std::string NameTemplate::Path(const std::string& category, const std::string& schema,
                               const std::string& name) const {
    std::string path;
    bool dropSeparator = false;
    for (const Part& part : parts_) {
        if (part.kind == Kind::Text)
            path += dropSeparator && IsSeparator(part.text[0]) ? part.text.substr(1) : part.text;
        else if (part.kind == Kind::Category)
            path += category;
        else if (part.kind == Kind::Schema)
            path += EscapeFileName(schema);
        else
            path += name;
        dropSeparator = part.kind == Kind::Schema && schema.empty();
    }
    return path;
}

std::regex NameTemplate::Pattern(const std::string& category, bool withSchema) const {
    std::string pattern;
    bool dropSeparator = false;
    for (const Part& part : parts_) {
        if (part.kind == Kind::Text)
            pattern +=
                RegexEscape(dropSeparator && IsSeparator(part.text[0]) ? part.text.substr(1) : part.text);
        else if (part.kind == Kind::Category)
            pattern += RegexEscape(category);
        else if (part.kind == Kind::Schema)
            pattern += withSchema ? "[^/]+" : "";
        else
            pattern += "[^/]+";
        dropSeparator = part.kind == Kind::Schema && !withSchema;
    }
    return std::regex(pattern);
}

std::string EscapeFileName(const std::string& name) {
    if (name == "." || name == "..")
        return name == "." ? "%2E" : "%2E%2E";
    std::string out;
    for (char ch : name) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte == 0x7F ||
            std::string_view("/\\:*?\"<>|%~").find(ch) != std::string_view::npos) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            out += hex;
            continue;
        }
        out += ch;
    }
    return out;
}

ObjectFiles::ObjectFiles(std::string dir, NameTemplate nameTemplate,
                         const std::array<std::string, 13>& categoryFiles)
    : dir_(std::move(dir)), template_(std::move(nameTemplate)), files_(categoryFiles) {
    for (size_t i = 0; i < files_.size(); ++i) {
        const std::string& file = files_[i];
        const bool sql = file.size() > 4 && file.compare(file.size() - 4, 4, ".sql") == 0;
        folders_[i] = sql ? file.substr(0, file.size() - 4) : file;
    }
}

bool ObjectFiles::WriteObject(int category, const std::string& schema, const std::string& name,
                              const std::string& text) {
    if (text.empty())
        return true;
    std::lock_guard lock(mutex_);
    const std::string& folder = folders_[static_cast<size_t>(category)];
    const std::string escaped = EscapeFileName(name);
    std::string path = template_.Path(folder, schema, escaped);
    for (int n = 2; !used_[static_cast<size_t>(category)].insert(FoldCaseUtf8(path)).second; ++n)
        path = template_.Path(folder, schema, escaped + "~" + std::to_string(n));
    return Write(path, text);
}

bool ObjectFiles::WriteWhole(int category, const std::string& text) {
    std::lock_guard lock(mutex_);
    return Write(files_[static_cast<size_t>(category)], text);
}

// Called with the lock held, so that one question at a time is asked and "yes to all" holds for the rest.
bool ObjectFiles::Write(const std::string& relative, const std::string& text) {
    const fs::path path = fs::path(dir_) / relative;
    written_.insert(FoldCaseUtf8(relative));
    if (!replaceAll_ && IsFileExist(path.c_str())) {
        const TReplaceAnswer answer = AskReplaceFile(nullptr, CString(path.string()));
        if (!answer.bReplace) {
            refusedFile_ = relative;
            refused_.store(true);
            return false;
        }
        replaceAll_ = answer.bReplaceAll;
    }
    try {
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        WriteFileReplacing(path.c_str(), text.data(), text.size());
    } catch (CException* e) {
        failures_.push_back("cannot write " + relative + ": " + ErrorText(e));
    }
    return true;
}

std::string ObjectFiles::RefusedFile() const {
    std::lock_guard lock(mutex_);
    return refusedFile_;
}

std::vector<std::string> ObjectFiles::Failures() const {
    std::lock_guard lock(mutex_);
    return failures_;
}

void ObjectFiles::ReportStale(const std::vector<int>& categories, bool prune) const {
    std::vector<std::regex> patterns;
    for (int category : categories)
        patterns.push_back(template_.Pattern(folders_[static_cast<size_t>(category)], category != kSchemas));
    std::set<std::string> stale;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir_, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file())
            continue;
        const std::string relative = it->path().lexically_relative(dir_).generic_string();
        if (written_.count(FoldCaseUtf8(relative)))
            continue;
        if (std::any_of(patterns.begin(), patterns.end(),
                        [&](const std::regex& pattern) { return std::regex_match(relative, pattern); }))
            stale.insert(relative);
    }
    for (const std::string& relative : stale) {
        if (!prune) {
            std::fprintf(stderr, "sqlscripts: %s: its object no longer exists (--prune removes it)\n",
                         relative.c_str());
            continue;
        }
        if (fs::remove(fs::path(dir_) / relative, ec))
            std::fprintf(stderr, "sqlscripts: removed %s: its object no longer exists\n", relative.c_str());
        else
            std::fprintf(stderr, "sqlscripts: cannot remove %s: %s\n", relative.c_str(),
                         ec.message().c_str());
    }
}
