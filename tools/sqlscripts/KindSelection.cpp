#include "KindSelection.h"

#include "Categories.h"
#include "Messages.h"
#include "platform/Text.h"

#include <algorithm>
#include <stdexcept>

namespace {

void MarkKinds(const std::string& list, bool value, RecreateKindSet& kinds) {
    for (const std::string& name : SplitList(list)) {
        bool known = false;
        for (const TRecreateKind& kind : RecreateKinds())
            if (name == kind.strWord) {
                kinds[static_cast<size_t>(kind.eKind)] = value;
                known = true;
            }
        if (!known)
            throw std::invalid_argument(Format(Tr("with --recreate, --only and --skip take %s; got '%s'"),
                                               JoinText(RecreateKindNames()).c_str(), name.c_str()));
    }
}

} // namespace

std::vector<std::string> RecreateKindNames() {
    std::vector<std::string> names;
    for (const std::string_view word : RecreateKindWords())
        names.emplace_back(word);
    return names;
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
