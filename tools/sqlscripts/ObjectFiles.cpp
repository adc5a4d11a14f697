#include "ObjectFiles.h"

#include "Categories.h"
#include "Manifest.h"
#include "Messages.h"
#include "model/ModelError.h"
#include "platform/Unicode.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <utility>

namespace fs = std::filesystem;

namespace {

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
            const std::string part = text.substr(pos, next - pos);
            if (part.find_first_of("{}") != std::string::npos)
                throw std::invalid_argument(
                    Format(Tr("--name-template knows only the placeholders {category}, "
                              "{schema} and {name}, got '%s'"),
                           text.c_str()));
            parts_.push_back({Kind::Text, part});
            pos = next;
            continue;
        }
        parts_.push_back({static_cast<Kind>(which + 1), std::string()});
        hasCategory |= which == 0;
        hasName |= which == 2;
        pos += kPlaceholders[which].size();
    }
    if (!hasCategory || !hasName)
        throw std::invalid_argument(
            Format(Tr("--name-template needs {category} and {name}, got '%s'"), text.c_str()));
    if (!IsFileInsideFolder(text))
        throw std::invalid_argument(
            Format(Tr("--name-template names a file inside --dir, got '%s'"), text.c_str()));
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

std::string NameTemplate::UniquePath(const std::string& category, const std::string& schema,
                                     const std::string& name, std::set<std::string>& used) const {
    std::string path = Path(category, schema, name);
    for (int n = 2; !used.insert(FoldCaseUtf8(path)).second; ++n)
        path = Path(category, schema, name + "~" + std::to_string(n));
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

std::string CategoryFolder(const std::string& file) {
    return file.size() > 4 && file.ends_with(".sql") ? file.substr(0, file.size() - 4) : file;
}

ObjectFiles::ObjectFiles(std::string dir, NameTemplate nameTemplate, const CategoryFileNames& files,
                         ReplaceGate& gate)
    : ExportOutput(std::move(dir), files, gate), template_(std::move(nameTemplate)) {
    for (size_t i = 0; i < files_.size(); ++i) {
        folders_[i] = CategoryFolder(files_[i]);
        patterns_.push_back(i == eSqlFullText ? std::regex(RegexEscape(files_[i]))
                                              : template_.Pattern(folders_[i], i != eSqlSchemas));
    }
}

void ObjectFiles::Object(int category, const std::string& schema, const std::string& name,
                         const std::string& text) {
    if (text.empty())
        return;
    Category& objects = categories_[static_cast<size_t>(category)];
    const std::string& folder = folders_[static_cast<size_t>(category)];
    const std::string path = template_.UniquePath(folder, schema, EscapeFileName(name), objects.used);
    if (objects.objects.empty())
        objects.firstText = text;
    objects.objects.push_back({path, text.size()});
    Allow(path);
}

bool ObjectFiles::WriteCategory(int category, const std::string& text) {
    Category& objects = categories_[static_cast<size_t>(category)];
    if (category == eSqlFullText) {
        const std::string& file = files_[static_cast<size_t>(category)];
        const bool written = Write(file, text);
        if (written)
            objects.written.push_back(file);
        return written;
    }
    const std::vector<Pending> pending = std::exchange(objects.objects, {});
    size_t total = 0;
    for (const Pending& object : pending)
        total += object.length;
    const size_t start = pending.empty() ? 0 : text.find(std::exchange(objects.firstText, {}));
    if (start == std::string::npos || start + total > text.size()) {
        NotWritten(Format(Tr("%s: the objects' texts are not those of the category; no file written"),
                          CategoryName(category).c_str()));
        return false;
    }
    const std::string_view before(text.data(), start);
    const std::string_view after(text.data() + start + total, text.size() - start - total);
    bool written = true;
    for (size_t at = start; const Pending& object : pending) {
        if (StopsHere())
            return false;
        std::string file;
        file.reserve(before.size() + object.length + after.size());
        file.append(before).append(text, at, object.length).append(after);
        at += object.length;
        std::error_code ec;
        fs::create_directories((fs::path(dir_) / object.path).parent_path(), ec);
        if (Write(object.path, file))
            objects.written.push_back(object.path);
        else
            written = false;
    }
    return written;
}

std::string ObjectFiles::KeptWords(int category) const {
    return category == eSqlFullText ? FileKeptWords(files_[static_cast<size_t>(category)])
                                    : std::string(Tr("its object files left as they were"));
}

int ObjectFiles::CategoryOf(const std::string& relative) const {
    for (size_t i = 0; i < patterns_.size(); ++i)
        if (std::regex_match(relative, patterns_[i]))
            return static_cast<int>(i);
    return -1;
}

bool ObjectFiles::Conclude(const std::vector<int>& categories, bool prune) {
    std::set<std::string> written;
    for (const Category& objects : categories_)
        for (const std::string& file : objects.written)
            written.insert(FoldCaseUtf8(file));
    std::array<std::vector<std::string>, SQL_CATEGORY_COUNT> kept;
    std::vector<std::string> others;
    std::set<std::pair<std::string, int>> stale;
    std::error_code ec;
    for (const std::string& file : ReadManifest(dir_)) {
        if (written.count(FoldCaseUtf8(file)) || !fs::exists(fs::path(dir_) / file, ec))
            continue;
        const int category = CategoryOf(file);
        if (category < 0)
            others.push_back(file);
        else if (std::find(categories.begin(), categories.end(), category) != categories.end())
            stale.emplace(file, category);
        else
            kept[static_cast<size_t>(category)].push_back(file);
    }
    for (const auto& [file, category] : stale) {
        if (!prune)
            Say(Format(Tr("%s: its object no longer exists (--prune removes it)"), file.c_str()));
        else if (fs::remove(fs::path(dir_) / file, ec))
            Say(Format(Tr("removed %s: its object no longer exists"), file.c_str()));
        else
            Say(Format(Tr("cannot remove %s: %s"), file.c_str(), SystemReason(ec.value()).c_str()));
        if (!prune || ec)
            kept[static_cast<size_t>(category)].push_back(file);
    }
    std::vector<std::string> manifest;
    for (const eSqlTypeObjects category : ApplyOrder()) {
        const Category& objects = categories_[static_cast<size_t>(category)];
        manifest.insert(manifest.end(), objects.written.begin(), objects.written.end());
        manifest.insert(manifest.end(), kept[category].begin(), kept[category].end());
    }
    manifest.insert(manifest.end(), others.begin(), others.end());
    try {
        WriteManifest(dir_, manifest);
        return true;
    } catch (const CModelError& e) {
        Say(ModelErrorLine(e));
        return false;
    }
}
