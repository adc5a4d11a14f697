#include "DamagedNames.h"

#include "Categories.h"
#include "Messages.h"
#include "model/CatalogModel.h"
#include "recreate/RecreateKinds.h"
#include "scripts/SqlTypeObjects.h"

#include <algorithm>
#include <functional>
#include <regex>

namespace {

constexpr size_t kMaxNamed = 20;

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

// "kind a, b; kind c", in the kinds' order, the first kMaxNamed of them.
std::string GroupedList(std::vector<std::pair<int, std::string>> items,
                        const std::function<std::string(int)>& label) {
    std::sort(items.begin(), items.end());
    std::string list;
    for (size_t i = 0; i < std::min(items.size(), kMaxNamed); ++i) {
        if (i > 0 && items[i].first == items[i - 1].first)
            list += ", ";
        else
            list += (i > 0 ? "; " : "") + label(items[i].first) + " ";
        list += items[i].second;
    }
    if (items.size() > kMaxNamed)
        list += Format(Tr(" and %zu more"), items.size() - kMaxNamed);
    return list;
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
    const std::string list = GroupedList(
        std::move(objects), [](int category) { return CategoryNames()[static_cast<size_t>(category)]; });
    return Format(Tr("warning: these names came back with '?' for characters that the connection could not "
                     "carry, so their objects may be missing from the scripts or scripted under the damaged "
                     "names: %s. Likely cause: %s"),
                  list.c_str(), LikelyCause(connect).c_str());
}

std::string DamagedModelNames(const TCatalogModel& model, const std::string& connect) {
    std::vector<std::pair<int, std::string>> names;
    const auto note = [&](eModelKind kind, const std::string& name) {
        if (MayBeDamaged(name))
            names.emplace_back(static_cast<int>(kind), name);
    };
    for (const TModelSchema& schema : model.aSchemas)
        note(eModelKind::Schema, schema.strName);
    for (const TModelType& type : model.aTypes)
        note(type.Kind(), type.strSchema + "." + type.strName);
    for (const TModelSequence& sequence : model.aSequences)
        note(eModelKind::Sequence, sequence.strSchema + "." + sequence.strName);
    for (const TModelSynonym& synonym : model.aSynonyms)
        note(eModelKind::Synonym, synonym.strSchema + "." + synonym.strName);
    for (const TModelTable& table : model.aTables) {
        const std::string tableName = table.strSchema + "." + table.strName;
        note(eModelKind::Table, tableName);
        for (const TModelColumn& column : table.aColumns)
            if (!MayBeDamaged(tableName))
                note(eModelKind::Column, tableName + "." + column.strName);
    }
    for (const TModelModule& module : model.aModules)
        note(module.Kind(), module.strSchema + "." + module.strName);
    if (names.empty())
        return {};
    const std::string list = GroupedList(std::move(names), [](int kind) {
        return std::string(RecreateKind(static_cast<eModelKind>(kind)).strName);
    });
    return Format(Tr("warning: these names hold '?' where the server or the connection may have lost a "
                     "character, so their scripts may create other names: %s. Likely cause: %s"),
                  list.c_str(), LikelyCause(connect).c_str());
}
