// The families of row-level security: policies and their predicates, with the tables they are on named.
#include "model/ModelDraft.h"

#include "platform/Unicode.h"

#include <algorithm>
#include <array>

namespace {

// sys.security_predicates' operation codes, from 1; NULL (0 here) is every operation.
constexpr std::array<const char*, 5> g_apszOperations = {"", "AFTER INSERT", "AFTER UPDATE", "BEFORE UPDATE",
                                                         "BEFORE DELETE"};

std::string Operation(int nOperation) {
    return nOperation > 0 && static_cast<size_t>(nOperation) < g_apszOperations.size()
               ? g_apszOperations[static_cast<size_t>(nOperation)]
               : std::string();
}

} // namespace

// is_schemabinding_enabled reads, as the server documents it, 0 or NULL for a policy bound to its functions
// and 1 for one that is not; a server without the column has every policy bound, SCHEMABINDING's default.
void AddSecurityPolicies(CFamilyRows& rows, TModelDraft& draft) {
    const bool bBindingKnown = draft.model.features.bPoliciesWithSchemaBinding;
    while (rows.Next()) {
        TModelSecurityPolicy& policy = draft.mapSecurityPolicies[rows.Int("object_id")].policy;
        policy.strSchema = draft.SchemaName(rows.Int("schema_id"));
        policy.strName = rows.Text("name");
        policy.bEnabled = rows.Bool("is_enabled");
        policy.bNotForReplication = rows.Bool("is_not_for_replication");
        policy.bSchemaBound = !bBindingKnown || !rows.Bool("is_schemabinding_enabled");
    }
}

void AddSecurityPredicates(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        TDraftSecurityPolicy* pPolicy = Found(draft.mapSecurityPolicies, rows.Int("object_id"));
        const TDraftTable* pTable = draft.Table(rows.Int("target_object_id"));
        if (!pPolicy || !pTable)
            continue;
        pPolicy->aPredicates.emplace_back(
            rows.Int("security_predicate_id"),
            TModelSecurityPredicate{rows.Int("predicate_type") == 1, rows.Text("predicate_definition"),
                                    pTable->table.strSchema, pTable->table.strName,
                                    Operation(rows.Int("operation"))});
    }
}

void FinishSecurityPolicies(TModelDraft& draft) {
    std::vector<TModelSecurityPolicy>& aPolicies = draft.model.aSecurityPolicies;
    for (auto& [nObjectId, draftPolicy] : draft.mapSecurityPolicies) {
        std::sort(draftPolicy.aPredicates.begin(), draftPolicy.aPredicates.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& [nId, predicate] : draftPolicy.aPredicates)
            draftPolicy.policy.aPredicates.push_back(std::move(predicate));
        aPolicies.push_back(std::move(draftPolicy.policy));
    }
    std::sort(aPolicies.begin(), aPolicies.end(),
              [](const TModelSecurityPolicy& a, const TModelSecurityPolicy& b) {
                  return std::pair(FoldCaseUtf8(a.strSchema), FoldCaseUtf8(a.strName)) <
                         std::pair(FoldCaseUtf8(b.strSchema), FoldCaseUtf8(b.strName));
              });
}
