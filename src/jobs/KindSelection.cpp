#include "jobs/KindSelection.h"

#include "platform/Text.h"
#include "recreate/RecreateKinds.h"

namespace {

// False, with the word kept, for a word that names no kind.
bool MarkKinds(const std::string& strList, bool bValue, TKindSelection& selection) {
    for (const std::string& strWord : SplitList(strList)) {
        bool bKnown = false;
        for (const TRecreateKind& kind : RecreateKinds())
            if (strWord == kind.strWord) {
                selection.aKinds[static_cast<size_t>(kind.eKind)] = bValue;
                bKnown = true;
            }
        if (!bKnown) {
            selection.strUnknown = strWord;
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<std::string> RecreateKindNames() {
    std::vector<std::string> aNames;
    for (const std::string_view strWord : RecreateKindWords())
        aNames.emplace_back(strWord);
    return aNames;
}

TKindSelection SelectRecreateKinds(const std::optional<std::string>& strOnly,
                                   const std::optional<std::string>& strSkip) {
    TKindSelection selection;
    selection.aKinds.fill(!strOnly);
    if (strOnly && !MarkKinds(*strOnly, true, selection))
        return selection;
    if (strSkip)
        MarkKinds(*strSkip, false, selection);
    return selection;
}
