#include "RecreateKinds.h"

#include "Categories.h"
#include "Messages.h"

#include <algorithm>
#include <stdexcept>

namespace {

// What --only and --skip call each kind; a table's constraints go with it.
constexpr std::array<const char*, RECREATE_KIND_COUNT> kKindOptionNames = {
    "schemas", "types", "sequences", "synonyms", "tables",   "tables",    "indexes",
    "fk",      "views", "functions", "procs",    "triggers", "properties"};

void MarkKinds(const std::string& list, bool value, RecreateKindSet& kinds) {
    for (const std::string& name : SplitList(list)) {
        bool known = false;
        for (size_t kind = 0; kind < kinds.size(); ++kind)
            if (name == kKindOptionNames[kind]) {
                kinds[kind] = value;
                known = true;
            }
        if (!known)
            throw std::invalid_argument(Format(Tr("with --recreate, --only and --skip take %s; got '%s'"),
                                               RecreateKindList().c_str(), name.c_str()));
    }
}

} // namespace

const std::vector<std::string>& RecreateKindNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> unique;
        for (const char* name : kKindOptionNames)
            if (unique.empty() || unique.back() != name)
                unique.emplace_back(name);
        return unique;
    }();
    return names;
}

std::string RecreateKindList() {
    std::string list;
    for (const std::string& name : RecreateKindNames())
        list += (list.empty() ? "" : ", ") + name;
    return list;
}

RecreateKindSet SelectedRecreateKinds(const std::optional<std::string>& only,
                                      const std::optional<std::string>& skip) {
    RecreateKindSet kinds;
    kinds.fill(!only);
    if (only)
        MarkKinds(*only, true, kinds);
    if (skip)
        MarkKinds(*skip, false, kinds);
    if (std::find(kinds.begin(), kinds.end(), true) == kinds.end())
        throw std::invalid_argument(Tr("--only and --skip leave no category to write"));
    return kinds;
}
