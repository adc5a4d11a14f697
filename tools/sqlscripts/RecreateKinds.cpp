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

std::string RecreateKindList() {
    std::string list;
    for (size_t kind = 0; kind < kKindOptionNames.size(); ++kind)
        if (kind == 0 || std::string_view(kKindOptionNames[kind]) != kKindOptionNames[kind - 1])
            list += (list.empty() ? "" : ", ") + std::string(kKindOptionNames[kind]);
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
