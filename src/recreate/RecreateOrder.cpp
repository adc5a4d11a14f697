// The plan's sections and apply order.
#include "recreate/RecreatePlan.h"

#include "platform/Unicode.h"
#include "recreate/RecreateKinds.h"
#include "scripting/StableOrder.h"

#include <algorithm>

namespace {

class COrderer {
public:
    explicit COrderer(TRecreatePlan& plan) : m_plan(plan) {}

    void Order() {
        PullTableFunctions();
        RaiseSections();
        InlineDefaults();
        OrderSteps();
    }

private:
    // Views and functions that a table's computed columns, checks or defaults use, and what those use in
    // turn, come before the tables.
    void PullTableFunctions() {
        std::vector<size_t> aPending;
        for (const TPlanStep& step : m_plan.aSteps)
            if (RecreateKind(step.key.eKind).bMadeWithTables)
                for (const TPlanNeed& need : step.aNeeds)
                    aPending.push_back(need.nStep);
        while (!aPending.empty()) {
            TPlanStep& step = m_plan.aSteps[aPending.back()];
            aPending.pop_back();
            if (step.eSection != eRecreateSection::ViewsAndFunctions)
                continue;
            step.eSection = eRecreateSection::TableFunctions;
            for (const TPlanNeed& need : step.aNeeds)
                aPending.push_back(need.nStep);
        }
    }

    TReferences References() const {
        TReferences aReferences(m_plan.aSteps.size());
        for (size_t i = 0; i < m_plan.aSteps.size(); ++i)
            for (const TPlanNeed& need : m_plan.aSteps[i].aNeeds)
                aReferences[i].push_back(need.nStep);
        return aReferences;
    }

    // A step comes no earlier than the latest section of what it needs; steps that need each other share
    // the latest of theirs.
    void RaiseSections() {
        for (const std::vector<size_t>& aGroup : OrderByReferences(References())) {
            eRecreateSection eSection = eRecreateSection::Schemas;
            for (size_t nStep : aGroup) {
                eSection = std::max(eSection, m_plan.aSteps[nStep].eSection);
                for (const TPlanNeed& need : m_plan.aSteps[nStep].aNeeds)
                    eSection = std::max(eSection, m_plan.aSteps[need.nStep].eSection);
            }
            for (size_t nStep : aGroup)
                m_plan.aSteps[nStep].eSection = eSection;
        }
    }

    // A default goes into its column's definition when everything it calls comes in an earlier section than
    // its table. Checks, and the other defaults, are added by ALTER TABLE in steps of their own: a check the
    // server refuses then costs that check alone, and rows loaded before them are checked once.
    void InlineDefaults() {
        for (TPlanStep& step : m_plan.aSteps) {
            if (step.key.eKind != eModelKind::Default)
                continue;
            const size_t nTable = step.aNeeds.front().nStep;
            const eRecreateSection eTable = m_plan.aSteps[nTable].eSection;
            const bool bInline =
                std::all_of(step.aNeeds.begin(), step.aNeeds.end(), [&](const TPlanNeed& need) {
                    return need.nStep == nTable || m_plan.aSteps[need.nStep].eSection < eTable;
                });
            if (bInline)
                m_plan.setInlineDefaults.insert(std::get<TTablePart<TModelDefault>>(step.object).pPart);
        }
    }

    bool IsWritten(const TPlanStep& step) const {
        return step.key.eKind != eModelKind::Default ||
               !m_plan.setInlineDefaults.count(std::get<TTablePart<TModelDefault>>(step.object).pPart);
    }

    // Section, the kind's priority, then names without regard to case (exact spelling to part equal ones).
    std::string SortKey(const TPlanStep& step) const {
        const TModelKey& key = step.key;
        std::string strKey;
        strKey += static_cast<char>('a' + static_cast<int>(step.eSection));
        strKey += static_cast<char>('a' + RecreateKind(key.eKind).nPriority);
        const std::string& strFirst = key.strTable.empty() ? key.strName : key.strTable;
        strKey += FoldCaseUtf8(key.strSchema) + '\0' + FoldCaseUtf8(strFirst) + '\0' +
                  FoldCaseUtf8(key.strName) + '\0' + key.strSchema + '\0' + strFirst + '\0' + key.strName;
        return strKey;
    }

    void OrderSteps() {
        std::vector<std::pair<std::string, size_t>> aKeyed;
        for (size_t i = 0; i < m_plan.aSteps.size(); ++i)
            if (IsWritten(m_plan.aSteps[i]))
                aKeyed.emplace_back(SortKey(m_plan.aSteps[i]), i);
        std::sort(aKeyed.begin(), aKeyed.end());
        std::vector<size_t> aList, aPosition(m_plan.aSteps.size(), NO_STEP);
        for (const auto& [strKey, nStep] : aKeyed) {
            aPosition[nStep] = aList.size();
            aList.push_back(nStep);
        }
        TReferences aHard(aList.size()), aAll(aList.size());
        for (size_t i = 0; i < aList.size(); ++i)
            for (const TPlanNeed& need : m_plan.aSteps[aList[i]].aNeeds) {
                const size_t j = aPosition[need.nStep];
                if (j == NO_STEP)
                    continue;
                aAll[i].push_back(j);
                if (!need.bSoft)
                    aHard[i].push_back(j);
            }
        for (const std::vector<size_t>& aGroup : OrderByReferences(aAll)) {
            if (aGroup.size() == 1) {
                m_plan.aOrder.push_back(aList[aGroup.front()]);
                continue;
            }
            OrderCycle(aGroup, aHard, aList);
        }
    }

    // Steps that need each other: ordered by their hard needs alone; what still forms a cycle keeps the
    // list's order and is reported.
    void OrderCycle(const std::vector<size_t>& aGroup, const TReferences& aHard,
                    const std::vector<size_t>& aList) {
        std::vector<size_t> aMembers = aGroup;
        std::sort(aMembers.begin(), aMembers.end());
        TReferences aInside(aMembers.size());
        for (size_t i = 0; i < aMembers.size(); ++i)
            for (size_t j : aHard[aMembers[i]]) {
                const auto it = std::lower_bound(aMembers.begin(), aMembers.end(), j);
                if (it != aMembers.end() && *it == j)
                    aInside[i].push_back(static_cast<size_t>(it - aMembers.begin()));
            }
        for (const std::vector<size_t>& aPart : OrderByReferences(aInside)) {
            std::vector<size_t> aSteps;
            for (size_t i : aPart)
                aSteps.push_back(aList[aMembers[i]]);
            m_plan.aOrder.insert(m_plan.aOrder.end(), aSteps.begin(), aSteps.end());
            if (aSteps.size() > 1)
                m_plan.aCycles.push_back(std::move(aSteps));
        }
    }

    TRecreatePlan& m_plan;
};

} // namespace

void OrderPlan(TRecreatePlan& plan) {
    COrderer(plan).Order();
}
