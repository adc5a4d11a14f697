// Row-level security policies: made with every predicate, changed predicate by predicate.
#include "platform/Unicode.h"
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"

#include <algorithm>

namespace {

const TModelSecurityPolicy& Policy(const TPlanObject& object) {
    return *std::get<const TModelSecurityPolicy*>(object);
}

std::string OnOff(bool bOn) {
    return bOn ? "ON" : "OFF";
}

std::string PolicyName(const TModelSecurityPolicy& policy) {
    return QuoteName(policy.strSchema, policy.strName);
}

std::string PredicateWord(const TModelSecurityPredicate& predicate) {
    return predicate.bBlock ? "BLOCK PREDICATE " : "FILTER PREDICATE ";
}

std::string TargetName(const TModelSecurityPredicate& predicate) {
    return QuoteName(predicate.strTargetSchema, predicate.strTargetTable);
}

// The same predicate of another policy: of the same kind on the same table for the same operations.
const TModelSecurityPredicate* Matching(const std::vector<TModelSecurityPredicate>& aPredicates,
                                        const TModelSecurityPredicate& predicate) {
    const auto it =
        std::find_if(aPredicates.begin(), aPredicates.end(), [&](const TModelSecurityPredicate& other) {
            return other.bBlock == predicate.bBlock && other.strOperation == predicate.strOperation &&
                   FoldCaseUtf8(other.strTargetSchema) == FoldCaseUtf8(predicate.strTargetSchema) &&
                   FoldCaseUtf8(other.strTargetTable) == FoldCaseUtf8(predicate.strTargetTable);
        });
    return it == aPredicates.end() ? nullptr : &*it;
}

} // namespace

std::string PredicateClause(const TModelSecurityPredicate& predicate) {
    std::string str = PredicateWord(predicate) + predicate.strDefinition + " ON " + TargetName(predicate);
    if (!predicate.strOperation.empty())
        str += " " + predicate.strOperation;
    return str;
}

// STATE is written even where it is ON: the reference reads both ways on what its absence means.
TStatements CreateSecurityPolicy(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelSecurityPolicy& policy = Policy(object.object);
    std::string str = "CREATE SECURITY POLICY " + PolicyName(policy);
    for (size_t i = 0; i < policy.aPredicates.size(); ++i)
        str += (i == 0 ? LineEnd() : "," + LineEnd()) + "    ADD " + PredicateClause(policy.aPredicates[i]);
    str += LineEnd() + "    WITH (STATE = " + OnOff(policy.bEnabled) +
           ", SCHEMABINDING = " + OnOff(policy.bSchemaBound) + ")";
    if (policy.bNotForReplication)
        str += LineEnd() + "    NOT FOR REPLICATION";
    return {{str + ";"}};
}

TStatements AlterSecurityPolicy(const TPlanObject& fromObject, const TPlanObject& toObject,
                                const TAlterContext& /*context*/) {
    const TModelSecurityPolicy& from = Policy(fromObject);
    const TModelSecurityPolicy& to = Policy(toObject);
    std::vector<std::string> aActions;
    for (const TModelSecurityPredicate& predicate : from.aPredicates)
        if (!Matching(to.aPredicates, predicate))
            aActions.push_back("DROP " + PredicateWord(predicate) + "ON " + TargetName(predicate));
    for (const TModelSecurityPredicate& predicate : to.aPredicates) {
        const TModelSecurityPredicate* pFrom = Matching(from.aPredicates, predicate);
        if (!pFrom)
            aActions.push_back("ADD " + PredicateClause(predicate));
        else if (pFrom->strDefinition != predicate.strDefinition)
            aActions.push_back("ALTER " + PredicateClause(predicate));
    }
    if (aActions.empty() && from.bEnabled == to.bEnabled)
        return {};
    std::string str = "ALTER SECURITY POLICY " + PolicyName(to);
    for (size_t i = 0; i < aActions.size(); ++i)
        str += (i == 0 ? LineEnd() : "," + LineEnd()) + "    " + aActions[i];
    if (from.bEnabled != to.bEnabled)
        str += LineEnd() + "    WITH (STATE = " + OnOff(to.bEnabled) + ")";
    return {{str + ";"}};
}
