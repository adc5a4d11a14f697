#include "compare/ModelComparison.h"

#include "compare/Renames.h"
#include "platform/Unicode.h"
#include "recreate/RecreateKinds.h"

#include <future>

namespace {

// Collects the objects of a model, each under the key the other model's is looked for by: the plan's steps
// of the kinds that are compared, a table with its parts, and each extended property alone.
class CObjectCollector {
public:
    CObjectCollector(const TCatalogModel& model, const TRecreatePlan& plan, const CRenames* pRenames)
        : m_model(model), m_plan(plan), m_pRenames(pRenames) {}

    std::vector<TCompareObject> Collect() {
        for (const TPlanStep& step : m_plan.aSteps) {
            if (const TModelTable* const* ppTable = std::get_if<const TModelTable*>(&step.object))
                AddTable(**ppTable);
            else if (IsOwnStep(step) || IsViewIndex(step))
                Add(step.key, step.object);
        }
        for (const TModelExtendedProperty& property : m_model.aExtendedProperties)
            AddProperty(property);
        return std::move(m_aObjects);
    }

private:
    // A step of a compared kind that stands for one object: a table's parts come with it, and a set of
    // properties as one property each.
    static bool IsOwnStep(const TPlanStep& step) {
        return !RecreateKind(step.key.eKind).aProperties.empty() &&
               std::visit(
                   [](const auto& record) {
                       using T = std::decay_t<decltype(record)>;
                       return std::is_pointer_v<T> && !std::is_same_v<T, const TModelExtendedProperty*>;
                   },
                   step.object);
    }

    // A view's index stands alone: a table's come with their table.
    static bool IsViewIndex(const TPlanStep& step) {
        const auto* pIndex = std::get_if<TTablePart<TModelIndex>>(&step.object);
        return pIndex && !pIndex->pTable;
    }

    void Add(TModelKey key, TPlanObject object) {
        TCompareObject& added = m_aObjects.emplace_back();
        // A trigger is an object of its schema: its table is a property, not part of its name. A table has
        // one SYSTEM_VERSIONING and one full-text index at most, named by the table.
        added.strName = key.eKind == eModelKind::Schema    ? DisplayName({key.strName})
                        : key.eKind == eModelKind::Trigger ? DisplayName({key.strSchema, key.strName})
                        : key.eKind == eModelKind::Versioning || key.eKind == eModelKind::FullTextIndex
                            ? DisplayName({key.strSchema, key.strTable})
                            : DisplayName({key.strSchema, key.strTable, key.strName});
        added.strMatch = Match(key);
        added.key = std::move(key);
        added.object = object;
    }

    void AddTable(const TModelTable& table) {
        Add({eModelKind::Table, table.strSchema, "", table.strName}, &table);
        const auto part = [&](eModelKind eKind, const std::string& strName) {
            return TModelKey{eKind, table.strSchema, table.strName, strName};
        };
        for (const TModelColumn& column : table.aColumns)
            Add(part(eModelKind::Column, column.strName), TTablePart<TModelColumn>{&table, &column});
        for (const TModelIndex& index : table.aIndexes)
            Add(part(index.eKind == eModelIndexKind::Index ? eModelKind::Index : eModelKind::Key,
                     index.strName),
                TTablePart<TModelIndex>{&table, &index});
        for (const TModelCheck& check : table.aChecks)
            Add(part(eModelKind::Check, check.strName), TTablePart<TModelCheck>{&table, &check});
        // A default is known by its column, which has one at most: a default SQL Server named is named anew
        // in every database.
        for (const TModelDefault& def : table.aDefaults)
            if (IsScriptedDefault(table, def)) {
                Add(part(eModelKind::Default, def.strName), TTablePart<TModelDefault>{&table, &def});
                m_aObjects.back().strMatch = Match(part(eModelKind::Default, def.strColumn));
            }
        for (const TModelForeignKey& key : table.aForeignKeys)
            Add(part(eModelKind::ForeignKey, key.strName), TTablePart<TModelForeignKey>{&table, &key});
        for (const TModelEdgeConstraint& constraint : table.aEdgeConstraints)
            Add(part(eModelKind::EdgeConstraint, constraint.strName),
                TTablePart<TModelEdgeConstraint>{&table, &constraint});
        if (table.versioning)
            Add(part(eModelKind::Versioning, "SYSTEM_VERSIONING"),
                TTablePart<TModelVersioning>{&table, &*table.versioning});
        for (const TModelStatistic& statistic : table.aStatistics)
            Add(part(eModelKind::Statistic, statistic.strName),
                TTablePart<TModelStatistic>{&table, &statistic});
        if (table.fullText)
            Add(part(eModelKind::FullTextIndex, table.strName),
                TTablePart<TModelFullTextIndex>{&table, &*table.fullText});
    }

    // A property is named by what it is on: "MS_Description on table dbo.Orders.Amount", "Unit on procedure
    // dbo.pStock.@nQty".
    void AddProperty(const TModelExtendedProperty& property) {
        TModelKey key{eModelKind::Property, "", "", property.strName};
        std::string strOn = "the database";
        std::string strMatch = "database";
        if (property.target) {
            const TModelKey& target = *property.target;
            key.strSchema = target.strSchema;
            key.strTable = target.strTable.empty() ? target.strName : target.strTable;
            strOn = std::string(RecreateKind(target.eKind).strName) + " " +
                    (target.eKind == eModelKind::Schema
                         ? DisplayName({target.strName})
                         : DisplayName({target.strSchema, target.strTable, target.strName, property.strColumn,
                                        property.strParameter}));
            strMatch = Match(target) + '\0' + FoldCaseUtf8(ColumnAsInTo(target, property.strColumn)) + '\0' +
                       FoldCaseUtf8(property.strParameter);
        }
        Add(key, &property);
        TCompareObject& added = m_aObjects.back();
        added.strName = DisplayName({property.strName}) + " on " + strOn;
        added.strMatch += '\0' + strMatch;
    }

    std::string Match(const TModelKey& key) const {
        return MatchKey(m_pRenames ? m_pRenames->AsInTo(key) : key);
    }

    // A property's column, on its table.
    std::string ColumnAsInTo(const TModelKey& target, const std::string& strColumn) const {
        if (!m_pRenames || strColumn.empty())
            return strColumn;
        return m_pRenames->AsInTo({eModelKind::Column, target.strSchema, target.strName, strColumn}).strName;
    }

    const TCatalogModel& m_model;
    const TRecreatePlan& m_plan;
    const CRenames* m_pRenames;
    std::vector<TCompareObject> m_aObjects;
};

std::vector<TModelDifference> Removed(const std::vector<TCompareObject>& aFrom, const TObjectIndex& mapTo) {
    std::vector<TModelDifference> aRemoved;
    for (const TCompareObject& from : aFrom)
        if (!mapTo.count(from.strMatch))
            aRemoved.push_back({eDiffChange::Removed, &from, nullptr, {}});
    return aRemoved;
}

// The properties of the kind whose values differ, in the kinds table's order.
std::vector<TPropertyChange> ChangedProperties(const TCompareObject& from, const TCompareObject& to,
                                               const TCatalogModel& fromModel, const TCatalogModel& toModel) {
    std::vector<TPropertyChange> aChanges;
    for (const TKindProperty& property : RecreateKind(to.key.eKind).aProperties) {
        if (property.pfnSame && property.pfnSame(from.object, to.object))
            continue;
        std::string strOld = property.pfnValue(from.object, fromModel);
        std::string strNew = property.pfnValue(to.object, toModel);
        if (strOld != strNew)
            aChanges.push_back({&property, std::move(strOld), std::move(strNew)});
    }
    return aChanges;
}

} // namespace

std::vector<TCompareObject> CompareObjects(const TCatalogModel& model, const TRecreatePlan& plan,
                                           const CRenames* pRenames) {
    return CObjectCollector(model, plan, pRenames).Collect();
}

TObjectIndex IndexObjects(const std::vector<TCompareObject>& aObjects) {
    TObjectIndex mapObjects;
    mapObjects.reserve(aObjects.size());
    for (const TCompareObject& object : aObjects)
        mapObjects.emplace(object.strMatch, &object);
    return mapObjects;
}

std::vector<TModelDifference> CompareModels(const TCompareSide& from, const TCompareSide& to) {
    // What only FROM has is looked for on a thread of its own, beside the rest.
    std::future<std::vector<TModelDifference>> removed =
        std::async(std::launch::async, [&] { return Removed(from.aObjects, to.mapObjects); });
    std::vector<TModelDifference> aDifferences;
    for (const TCompareObject& object : to.aObjects) {
        const auto it = from.mapObjects.find(object.strMatch);
        if (it == from.mapObjects.end()) {
            aDifferences.push_back({eDiffChange::Added, nullptr, &object, {}});
            continue;
        }
        std::vector<TPropertyChange> aChanges = ChangedProperties(*it->second, object, from.model, to.model);
        if (!aChanges.empty())
            aDifferences.push_back({eDiffChange::Changed, it->second, &object, std::move(aChanges)});
    }
    for (TModelDifference& difference : removed.get())
        aDifferences.push_back(std::move(difference));
    return aDifferences;
}
