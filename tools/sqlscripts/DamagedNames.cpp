#include "DamagedNames.h"

#include "Categories.h"
#include "Messages.h"
#include "scripts/SqlTypeObjects.h"

#include <algorithm>
#include <regex>

namespace {

constexpr size_t kMaxNamed = 20;

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD"; // U+FFFD

bool MayBeDamaged(std::string_view name) {
    return name.find('?') != std::string_view::npos ||
           name.find(kReplacementCharacter) != std::string_view::npos;
}

// The module writes no script for an object it cannot find by its name; a table keeps its frame, empty.
bool FoundNothing(int category, const std::string& text) {
    return text.empty() || (category == eSqlTables && text.find("CREATE TABLE") == std::string::npos);
}

// FreeTDS carries every character of a name only with ClientCharset=UTF-8; where the connect string asks
// for it, the server's code page is what lost them.
std::string LikelyCause(const std::string& connect) {
    static const std::regex utf8("(^|;)\\s*ClientCharset\\s*=\\s*UTF-?8\\s*(;|$)", std::regex::icase);
    if (std::regex_search(connect, utf8))
        return Tr("the server keeps names in a code page that lacks those characters (the connect string "
                  "already has ClientCharset=UTF-8)");
    return Tr(
        "a connect string without ClientCharset=UTF-8, or a server that keeps names in a code page that "
        "lacks those characters");
}

} // namespace

void DamagedNames::Note(int category, const char* schema, const char* name, const std::string& text) {
    const std::string object = std::string(schema) + "." + name;
    if (!MayBeDamaged(object))
        return;
    const std::lock_guard lock(mutex_);
    objects_.emplace_back(category, object);
    foundNothing_ = foundNothing_ || FoundNothing(category, text) ||
                    object.find(kReplacementCharacter) != std::string::npos;
}

std::string DamagedNames::Warning(const std::string& connect) const {
    std::vector<std::pair<int, std::string>> objects;
    {
        const std::lock_guard lock(mutex_);
        if (!foundNothing_)
            return {};
        objects = objects_;
    }
    std::sort(objects.begin(), objects.end());
    std::string list;
    for (size_t i = 0; i < std::min(objects.size(), kMaxNamed); ++i) {
        if (i > 0 && objects[i].first == objects[i - 1].first)
            list += ", ";
        else
            list += (i > 0 ? "; " : "") + CategoryNames()[static_cast<size_t>(objects[i].first)] + " ";
        list += objects[i].second;
    }
    if (objects.size() > kMaxNamed)
        list += Format(Tr(" and %zu more"), objects.size() - kMaxNamed);
    return Format(Tr("warning: these names came back with '?' for characters that the connection could not "
                     "carry, so their objects may be missing from the scripts or scripted under the damaged "
                     "names: %s. Likely cause: %s"),
                  list.c_str(), LikelyCause(connect).c_str());
}
