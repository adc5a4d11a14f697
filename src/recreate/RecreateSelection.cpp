#include "recreate/RecreateSelection.h"

#include "recreate/RecreateKinds.h"

#include <algorithm>
#include <unordered_set>

namespace {

// What the patterns look at in a step: its schema, and unless it is a schema its name and, for a table's part
// or trigger, its table. Properties go with the object they are on; the database's own are in no schema.
struct TStepNames {
    const std::string* pSchema = nullptr;
    const std::string* pName = nullptr;
    const std::string* pTable = nullptr;
};

TStepNames NamesOf(const TRecreatePlan& plan, size_t nStep) {
    const TPlanStep* pStep = &plan.aSteps[nStep];
    if (pStep->key.eKind == eModelKind::Property) {
        const size_t nOwner = std::get<TPropertySet>(pStep->object).nOwner;
        if (nOwner == NO_STEP)
            return {};
        pStep = &plan.aSteps[nOwner];
    }
    const TModelKey& key = pStep->key;
    if (key.eKind == eModelKind::Schema)
        return {&key.strName, nullptr, nullptr};
    return {&key.strSchema, &key.strName, key.strTable.empty() ? nullptr : &key.strTable};
}

class CPatternTest {
public:
    CPatternTest(const TNamePatterns& patterns, const CNameMatcher& matcher)
        : m_patterns(patterns), m_matcher(matcher) {}

    bool Matches(eNamePatternList eList, const TStepNames& names, const std::string& strPattern) const {
        if (eList == eNamePatternList::Schemas || eList == eNamePatternList::ExcludedSchemas)
            return names.pSchema && m_matcher.Matches(*names.pSchema, strPattern);
        return names.pName &&
               (m_matcher.MatchesQualified(*names.pSchema, *names.pName, strPattern) ||
                (names.pTable && m_matcher.MatchesQualified(*names.pSchema, *names.pTable, strPattern)));
    }

    bool AnyMatches(eNamePatternList eList, const TStepNames& names) const {
        const std::vector<std::string>& aPatterns = m_patterns.List(eList);
        return std::any_of(aPatterns.begin(), aPatterns.end(),
                           [&](const std::string& strPattern) { return Matches(eList, names, strPattern); });
    }

    // Within what the lists of inclusions name, when they name anything, and outside what the exclusions do.
    // A schema (or its properties) comes with the objects picked in it (bHoldsPicked) when objects are named.
    bool Picks(const TStepNames& names, bool bHoldsPicked) const {
        using enum eNamePatternList;
        const bool bSchema = names.pSchema && !names.pName;
        return (m_patterns.aSchemas.empty() || AnyMatches(Schemas, names)) &&
               (m_patterns.aObjects.empty() || AnyMatches(Objects, names) || (bSchema && bHoldsPicked)) &&
               !AnyMatches(ExcludedSchemas, names) && !AnyMatches(ExcludedObjects, names);
    }

private:
    const TNamePatterns& m_patterns;
    const CNameMatcher& m_matcher;
};

std::vector<size_t> LeftOut(const TRecreatePlan& plan, const TRecreateKindSet& aKinds,
                            const TStepSelection& selection) {
    std::vector<bool> aNeeded(plan.aSteps.size());
    for (size_t nStep = 0; nStep < plan.aSteps.size(); ++nStep)
        if (selection.aSelected[nStep])
            for (const TPlanNeed& need : plan.aSteps[nStep].aNeeds)
                aNeeded[need.nStep] =
                    aNeeded[need.nStep] || (!selection.aPicked[need.nStep] &&
                                            aKinds[static_cast<size_t>(plan.aSteps[need.nStep].key.eKind)]);
    std::vector<size_t> aLeftOut;
    for (const size_t nStep : plan.aOrder)
        if (aNeeded[nStep])
            aLeftOut.push_back(nStep);
    return aLeftOut;
}

} // namespace

const std::vector<std::string>& TNamePatterns::List(eNamePatternList eList) const {
    switch (eList) {
    case eNamePatternList::Schemas:
        return aSchemas;
    case eNamePatternList::ExcludedSchemas:
        return aExcludedSchemas;
    case eNamePatternList::Objects:
        return aObjects;
    case eNamePatternList::ExcludedObjects:
        break;
    }
    return aExcludedObjects;
}

TStepSelection SelectSteps(const TRecreatePlan& plan, const TRecreateKindSet& aKinds,
                           const TNamePatterns& patterns, const CNameMatcher& matcher) {
    const CPatternTest test(patterns, matcher);
    std::vector<TStepNames> aNames;
    aNames.reserve(plan.aSteps.size());
    TStepSelection selection;
    selection.aPicked.resize(plan.aSteps.size());
    // Objects first, then the schemas that hold the ones picked.
    std::unordered_set<std::string> setHolding;
    for (size_t nStep = 0; nStep < plan.aSteps.size(); ++nStep) {
        const TStepNames& names = aNames.emplace_back(NamesOf(plan, nStep));
        if (!names.pName && names.pSchema)
            continue;
        selection.aPicked[nStep] = test.Picks(names, false);
        if (selection.aPicked[nStep] && names.pSchema)
            setHolding.insert(*names.pSchema);
    }
    for (size_t nStep = 0; nStep < plan.aSteps.size(); ++nStep) {
        const TStepNames& names = aNames[nStep];
        if (!names.pName && names.pSchema)
            selection.aPicked[nStep] = test.Picks(names, setHolding.count(*names.pSchema) > 0);
        selection.aSelected.push_back(selection.aPicked[nStep] &&
                                      aKinds[static_cast<size_t>(plan.aSteps[nStep].key.eKind)]);
    }
    for (const eNamePatternList eList : {eNamePatternList::Schemas, eNamePatternList::ExcludedSchemas,
                                         eNamePatternList::Objects, eNamePatternList::ExcludedObjects})
        for (const std::string& strPattern : patterns.List(eList))
            if (std::none_of(aNames.begin(), aNames.end(),
                             [&](const TStepNames& names) { return test.Matches(eList, names, strPattern); }))
                selection.aUnmatched.push_back({eList, strPattern});
    selection.aLeftOut = LeftOut(plan, aKinds, selection);
    return selection;
}
