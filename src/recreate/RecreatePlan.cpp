#include "recreate/RecreatePlan.h"

#include "catalog/SqlIdentifiers.h"
#include "platform/Unicode.h"
#include "recreate/RecreateKinds.h"

#include <algorithm>
#include <optional>

namespace {

// The hash of a key (and a computed column), for the builder's maps, which compare the keys themselves too.
size_t KeyHash(const TModelKey& key, const std::string& strColumn = std::string()) {
    return TModelKeyHash()(key) * 1000003 ^ std::hash<std::string>()(strColumn);
}

TModelKey TableKey(const std::string& strSchema, const std::string& strName) {
    return {eModelKind::Table, strSchema, std::string(), strName};
}

// A procedure, a trigger's body and a function that is not schema-bound may name objects that do not exist
// yet: SQL Server resolves their names when they run.
bool NeedsAreSoft(const TModelModule& module) {
    if (module.bSchemaBound)
        return false;
    return module.strType == "P" || module.strType == "TR" || module.strType == "FN" ||
           module.strType == "TF";
}

template <typename T> const TTablePart<T>& Part(const CPlanBuilder& builder, size_t nStep) {
    return std::get<TTablePart<T>>(builder.Step(nStep).object);
}

// A table type's checks and defaults are part of its CREATE TYPE: what they call is needed by the type.
void NeedTableUses(CPlanBuilder& builder, size_t nStep, const TModelTable& table, bool bTableType) {
    const TModelKey& key = builder.Step(nStep).key;
    for (const TModelColumn& column : table.aColumns) {
        builder.NeedType(nStep, column.type);
        if (!column.computed)
            continue;
        builder.NeedReferences(nStep, key, column.strName, column.computed->strDefinition, false,
                               bTableType ? nullptr : &column);
    }
    if (!bTableType)
        return;
    for (const TModelCheck& check : table.aChecks)
        builder.NeedReferences(nStep, {eModelKind::Check, table.strSchema, table.strName, check.strName}, "",
                               check.strDefinition, false);
    for (const TModelDefault& def : table.aDefaults)
        builder.NeedReferences(nStep, {eModelKind::Default, table.strSchema, table.strName, def.strName}, "",
                               def.strDefinition, false);
}

// The step of the filegroup or partition scheme of that name; NO_STEP for PRIMARY, or none.
size_t DataSpaceStep(const CPlanBuilder& builder, const std::string& strDataSpace) {
    if (strDataSpace.empty())
        return NO_STEP;
    const size_t nScheme = builder.Find({eModelKind::PartitionScheme, "", "", strDataSpace});
    return nScheme != NO_STEP ? nScheme : builder.Find({eModelKind::Filegroup, "", "", strDataSpace});
}

// Memory-optimized rows live in the database's MEMORY_OPTIMIZED_DATA filegroup.
void NeedMemoryFilegroup(CPlanBuilder& builder, size_t nStep, const TModelTable& table) {
    if (!table.bMemoryOptimized)
        return;
    for (const TModelFilegroup& filegroup : builder.Model().aFilegroups)
        if (filegroup.strType == "FX")
            builder.Need(nStep, builder.Find({eModelKind::Filegroup, "", "", filegroup.strName}), false);
}

// Where a table and the keys made with it keep their rows, large values and FILESTREAM data.
void NeedDataSpaces(CPlanBuilder& builder, size_t nStep, const TModelTable& table) {
    for (const std::string* pDataSpace :
         {&table.strDataSpace, &table.strLobDataSpace, &table.strFilestreamDataSpace})
        builder.Need(nStep, DataSpaceStep(builder, *pDataSpace), false);
    for (const TModelIndex& index : table.aIndexes)
        if (index.eKind != eModelIndexKind::Index)
            builder.Need(nStep, DataSpaceStep(builder, index.strDataSpace), false);
    NeedMemoryFilegroup(builder, nStep, table);
}

// The step whose object a property's target is or belongs to: a table for its columns and parts, else the
// target itself; the database's own properties go with no object.
TModelKey PropertyOwner(const TModelExtendedProperty& property) {
    const TModelKey& target = *property.target;
    if (target.eKind == eModelKind::Trigger || target.strTable.empty())
        return target;
    return TableKey(target.strSchema, target.strTable);
}

} // namespace

CPlanBuilder::CPlanBuilder(const TCatalogModel& model) : m_model(model) {
    for (const TModelReference& reference : model.aReferences)
        m_mapReferences[KeyHash(reference.from, reference.strColumn)].push_back(&reference);
}

TRecreatePlan CPlanBuilder::Build() {
    for (const TRecreateKind& kind : RecreateKinds())
        kind.pfnCollect(*this, kind.eKind);
    for (size_t nStep = 0; nStep < m_plan.aSteps.size(); ++nStep) {
        const TModelKey& key = m_plan.aSteps[nStep].key;
        RecreateKind(key.eKind).pfnNeeds(*this, nStep);
        // Every object needs its schema too (after what pfnNeeds puts first); a schema every database has has
        // no step.
        if (!key.strSchema.empty())
            Need(nStep, Find({eModelKind::Schema, std::string(), std::string(), key.strSchema}), false);
    }
    return std::move(m_plan);
}

size_t CPlanBuilder::Add(TModelKey key, TPlanObject object) {
    const size_t nStep = m_plan.aSteps.size();
    const TRecreateKind& kind = RecreateKind(key.eKind);
    if (kind.bSchemaObject)
        m_names.Add(key.strSchema, key.strName, nStep);
    m_mapSteps.emplace(KeyHash(key), nStep);
    m_plan.aSteps.push_back({std::move(key), kind.eSection, std::move(object), {}});
    return nStep;
}

size_t CPlanBuilder::Find(const TModelKey& key) const {
    const auto [itFirst, itEnd] = m_mapSteps.equal_range(KeyHash(key));
    for (auto it = itFirst; it != itEnd; ++it)
        if (m_plan.aSteps[it->second].key == key)
            return it->second;
    return NO_STEP;
}

size_t CPlanBuilder::FindTable(const std::string& strSchema, const std::string& strName) const {
    return Find(TableKey(strSchema, strName));
}

void CPlanBuilder::Need(size_t nStep, size_t nNeeded, bool bSoft) {
    if (nNeeded == NO_STEP || nNeeded == nStep)
        return;
    std::vector<TPlanNeed>& aNeeds = m_plan.aSteps[nStep].aNeeds;
    const auto it = std::find_if(aNeeds.begin(), aNeeds.end(),
                                 [&](const TPlanNeed& need) { return need.nStep == nNeeded; });
    if (it == aNeeds.end())
        aNeeds.push_back({nNeeded, bSoft});
    else
        it->bSoft = it->bSoft && bSoft;
}

void CPlanBuilder::NeedType(size_t nStep, const TModelDataType& type) {
    if (type.IsTypedXml())
        Need(nStep, Find({eModelKind::XmlSchemaCollection, type.strXmlSchema, "", type.strXmlCollection}),
             false);
    if (type.IsUserDefined())
        Need(nStep, m_names.Resolve(type.strSchema, type.strName, type.strSchema), false);
}

void CPlanBuilder::NeedReferences(size_t nStep, const TModelKey& from, const std::string& strColumn,
                                  const std::string& strText, bool bSoft, const TModelColumn* pComputed) {
    const std::string& strSchema = from.strSchema;
    const auto reported = m_mapReferences.find(KeyHash(from, strColumn));
    const auto isMade = [&](const TModelReference* pReference) {
        return pReference->from == from && pReference->strColumn == strColumn;
    };
    if (reported != m_mapReferences.end() &&
        std::any_of(reported->second.begin(), reported->second.end(), isMade)) {
        for (const TModelReference* pReference : reported->second) {
            if (!isMade(pReference))
                continue;
            const size_t nResolved = pReference->resolved ? Find(*pReference->resolved) : NO_STEP;
            NeedNamed(nStep,
                      nResolved != NO_STEP
                          ? nResolved
                          : m_names.Resolve(pReference->strSchema, pReference->strName, strSchema),
                      bSoft, pComputed);
        }
        return;
    }
    for (const TSqlName& name : FindSqlNames(strText.c_str()))
        if (!name.bBare || IsRegularIdentifier(name.strName))
            NeedNamed(nStep, m_names.Resolve(name.strSchema.Str(), name.strName.Str(), strSchema), bSoft,
                      pComputed);
}

// Only a procedure or a trigger runs a procedure: a view or function naming one names something else.
void CPlanBuilder::NeedNamed(size_t nStep, size_t nNeeded, bool bSoft, const TModelColumn* pComputed) {
    if (nNeeded == NO_STEP || nNeeded == nStep)
        return;
    const eModelKind eNeeded = m_plan.aSteps[nNeeded].key.eKind;
    const eModelKind eKind = m_plan.aSteps[nStep].key.eKind;
    if (eNeeded == eModelKind::Procedure && eKind != eModelKind::Procedure && eKind != eModelKind::Trigger)
        return;
    const bool bType = eNeeded == eModelKind::AliasType || eNeeded == eModelKind::TableType;
    Need(nStep, nNeeded, bSoft && !bType);
    if (pComputed)
        m_plan.aComputedNeeds.push_back({nStep, pComputed, nNeeded});
}

void CollectNothing(CPlanBuilder& /*builder*/, eModelKind /*eKind*/) {}

void CollectSchemas(CPlanBuilder& builder, eModelKind eKind) {
    for (const TModelSchema& schema : builder.Model().aSchemas)
        if (!schema.bBuiltIn)
            builder.Add({eKind, std::string(), std::string(), schema.strName}, &schema);
}

void CollectFilegroups(CPlanBuilder& builder, eModelKind eKind) {
    for (const TModelFilegroup& filegroup : builder.Model().aFilegroups)
        if (filegroup.strName != "PRIMARY")
            builder.Add({eKind, std::string(), std::string(), filegroup.strName}, &filegroup);
}

void CollectVersionings(CPlanBuilder& builder, eModelKind eKind) {
    for (const TModelTable& table : builder.Model().aTables)
        if (table.versioning)
            builder.Add({eKind, table.strSchema, table.strName, "SYSTEM_VERSIONING"},
                        TTablePart<TModelVersioning>{&table, &*table.versioning});
}

void CollectFullTextIndexes(CPlanBuilder& builder, eModelKind eKind) {
    for (const TModelTable& table : builder.Model().aTables)
        if (table.fullText)
            builder.Add({eKind, table.strSchema, table.strName, table.strName},
                        TTablePart<TModelFullTextIndex>{&table, &*table.fullText});
    for (const TModelModule& view : builder.Model().aModules)
        if (view.fullText)
            builder.Add({eKind, view.strSchema, view.strName, view.strName},
                        TTablePart<TModelFullTextIndex>{nullptr, &*view.fullText});
}

void CollectTypes(CPlanBuilder& builder, eModelKind eKind) {
    for (const TModelType& type : builder.Model().aTypes)
        if (type.Kind() == eKind)
            builder.Add({eKind, type.strSchema, std::string(), type.strName}, &type);
}

namespace {

template <typename T>
void AddParts(CPlanBuilder& builder, eModelKind eKind, const TModelTable& table, const std::vector<T>& aParts,
              bool (*pfnWanted)(const TModelTable&, const T&)) {
    for (const T& part : aParts)
        if (pfnWanted(table, part))
            builder.Add({eKind, table.strSchema, table.strName, part.strName}, TTablePart<T>{&table, &part});
}

template <typename T> bool Always(const TModelTable&, const T&) {
    return true;
}

// Keys and unique constraints are written inside their table, and so is every index of a memory-optimized
// one.
bool IsIndex(const TModelTable& table, const TModelIndex& index) {
    return index.eKind == eModelIndexKind::Index && !table.bMemoryOptimized;
}

} // namespace

void CollectTableParts(CPlanBuilder& builder, eModelKind eKind) {
    for (const TModelTable& table : builder.Model().aTables) {
        if (eKind == eModelKind::Check)
            AddParts(builder, eKind, table, table.aChecks, &Always<TModelCheck>);
        else if (eKind == eModelKind::Default)
            AddParts(builder, eKind, table, table.aDefaults, &IsScriptedDefault);
        else if (eKind == eModelKind::Index)
            AddParts(builder, eKind, table, table.aIndexes, &IsIndex);
        else if (eKind == eModelKind::EdgeConstraint)
            AddParts(builder, eKind, table, table.aEdgeConstraints, &Always<TModelEdgeConstraint>);
        else if (eKind == eModelKind::Statistic)
            AddParts(builder, eKind, table, table.aStatistics, &Always<TModelStatistic>);
        else
            AddParts(builder, eKind, table, table.aForeignKeys, &Always<TModelForeignKey>);
    }
    if (eKind != eModelKind::Index)
        return;
    for (const TModelModule& view : builder.Model().aModules)
        for (const TModelIndex& index : view.aIndexes)
            builder.Add({eKind, view.strSchema, view.strName, index.strName},
                        TTablePart<TModelIndex>{nullptr, &index});
}

void CollectModules(CPlanBuilder& builder, eModelKind eKind) {
    for (const TModelModule& module : builder.Model().aModules)
        if (module.Kind() == eKind)
            builder.Add({eKind, module.strSchema,
                         eKind == eModelKind::Trigger ? module.strParent : std::string(), module.strName},
                        &module);
}

// One step per object that has properties, after that object's: a table's cover its columns, constraints and
// indexes. Properties of an object that has no step (a schema every database has) are left out.
void CollectProperties(CPlanBuilder& builder, eModelKind eKind) {
    std::vector<std::pair<size_t, TPropertySet>> aSets; // by the owner's step (NO_STEP: the database)
    std::unordered_map<size_t, size_t> mapSets;
    for (const TModelExtendedProperty& property : builder.Model().aExtendedProperties) {
        const size_t nOwner = property.target ? builder.Find(PropertyOwner(property)) : NO_STEP;
        if (nOwner == NO_STEP && property.target)
            continue;
        const auto [it, bNew] = mapSets.emplace(nOwner, aSets.size());
        if (bNew)
            aSets.emplace_back(nOwner, TPropertySet{{}, nOwner});
        aSets[it->second].second.aProperties.push_back(&property);
    }
    for (auto& [nOwner, set] : aSets) {
        const TModelKey owner =
            nOwner == NO_STEP ? TModelKey{eKind, "", "", "database"} : builder.Step(nOwner).key;
        builder.Add({eKind, owner.strSchema, std::string(), owner.strName}, std::move(set));
    }
}

void NeedNothing(CPlanBuilder& /*builder*/, size_t /*nStep*/) {}

void NeedTableTypeParts(CPlanBuilder& builder, size_t nStep) {
    const TModelTable& table = *std::get<const TModelType*>(builder.Step(nStep).object)->table;
    NeedTableUses(builder, nStep, table, true);
    NeedMemoryFilegroup(builder, nStep, table);
}

void NeedSequenceType(CPlanBuilder& builder, size_t nStep) {
    builder.NeedType(nStep, std::get<const TModelSequence*>(builder.Step(nStep).object)->type);
}

void NeedColumnUses(CPlanBuilder& builder, size_t nStep) {
    const TModelTable& table = *std::get<const TModelTable*>(builder.Step(nStep).object);
    NeedTableUses(builder, nStep, table, false);
    NeedDataSpaces(builder, nStep, table);
}

void NeedOwnTable(CPlanBuilder& builder, size_t nStep) {
    const TModelKey& key = builder.Step(nStep).key;
    builder.Need(nStep, builder.FindTable(key.strSchema, key.strTable), false);
}

void NeedFullTextIndexUses(CPlanBuilder& builder, size_t nStep) {
    NeedOwnTable(builder, nStep);
    const auto& [pTable, pIndex] = Part<TModelFullTextIndex>(builder, nStep);
    const TModelKey& key = builder.Step(nStep).key;
    if (!pTable)
        builder.Need(nStep,
                     builder.Find({eModelKind::Index, key.strSchema, key.strTable, pIndex->strKeyIndex}),
                     false);
    const TModelIndex* pKey = pTable ? pTable->FindIndex(pIndex->strKeyIndex) : nullptr;
    if (pKey && pKey->eKind == eModelIndexKind::Index)
        builder.Need(nStep,
                     builder.Find({eModelKind::Index, pTable->strSchema, pTable->strName, pKey->strName}),
                     false);
    builder.Need(nStep, builder.Find({eModelKind::FullTextCatalog, "", "", pIndex->strCatalog}), false);
    builder.Need(nStep, builder.Find({eModelKind::FullTextStoplist, "", "", pIndex->strStoplist}), false);
    builder.Need(nStep, builder.Find({eModelKind::SearchPropertyList, "", "", pIndex->strPropertyList}),
                 false);
}

void NeedFunctionAndFilegroups(CPlanBuilder& builder, size_t nStep) {
    const TModelPartitionScheme& scheme = *std::get<const TModelPartitionScheme*>(builder.Step(nStep).object);
    builder.Need(nStep, builder.Find({eModelKind::PartitionFunction, "", "", scheme.strFunction}), false);
    for (const std::string& strFilegroup : scheme.aFilegroups)
        builder.Need(nStep, builder.Find({eModelKind::Filegroup, "", "", strFilegroup}), false);
}

void NeedVersionedTables(CPlanBuilder& builder, size_t nStep) {
    const auto& [pTable, pVersioning] = Part<TModelVersioning>(builder, nStep);
    builder.Need(nStep, builder.FindTable(pTable->strSchema, pTable->strName), false);
    builder.Need(nStep, builder.FindTable(pVersioning->strHistorySchema, pVersioning->strHistoryTable),
                 false);
    if (const TModelTable* pHistory =
            builder.Model().FindTable(pVersioning->strHistorySchema, pVersioning->strHistoryTable))
        for (const TModelIndex& index : pHistory->aIndexes)
            builder.Need(
                nStep,
                builder.Find({eModelKind::Index, pHistory->strSchema, pHistory->strName, index.strName}),
                false);
}

void NeedConnectedNodes(CPlanBuilder& builder, size_t nStep) {
    NeedOwnTable(builder, nStep);
    for (const TModelConnection& connection :
         Part<TModelEdgeConstraint>(builder, nStep).pPart->aConnections) {
        builder.Need(nStep, builder.FindTable(connection.strFromSchema, connection.strFromTable), false);
        builder.Need(nStep, builder.FindTable(connection.strToSchema, connection.strToTable), false);
    }
}

// A view's indexes come after the view, and its unique clustered one before the others, which the server
// builds on it.
void NeedIndexOwner(CPlanBuilder& builder, size_t nStep) {
    const auto& [pTable, pIndex] = Part<TModelIndex>(builder, nStep);
    const TModelKey& key = builder.Step(nStep).key;
    builder.Need(nStep,
                 pTable ? builder.FindTable(key.strSchema, key.strTable)
                        : builder.Find({eModelKind::View, key.strSchema, "", key.strTable}),
                 false);
    builder.Need(nStep, DataSpaceStep(builder, pIndex->strDataSpace), false);
    if (pTable) {
        NeedXmlIndexBase(builder, nStep, *pTable, *pIndex);
        return;
    }
    const TModelModule* pView = builder.Model().FindModule(key.strSchema, key.strTable);
    if (pIndex->bClustered || !pView || pView->aIndexes.empty() || !pView->aIndexes.front().bClustered)
        return;
    builder.Need(
        nStep,
        builder.Find({eModelKind::Index, key.strSchema, key.strTable, pView->aIndexes.front().strName}),
        false);
}

void NeedConstraintUses(CPlanBuilder& builder, size_t nStep) {
    NeedOwnTable(builder, nStep);
    const TPlanStep& step = builder.Step(nStep);
    const std::string& strDefinition = step.key.eKind == eModelKind::Check
                                           ? Part<TModelCheck>(builder, nStep).pPart->strDefinition
                                           : Part<TModelDefault>(builder, nStep).pPart->strDefinition;
    builder.NeedReferences(nStep, step.key, std::string(), strDefinition, false);
}

void NeedReferencedKey(CPlanBuilder& builder, size_t nStep) {
    NeedOwnTable(builder, nStep);
    const TModelForeignKey& key = *Part<TModelForeignKey>(builder, nStep).pPart;
    builder.Need(nStep, builder.FindTable(key.strReferencedSchema, key.strReferencedTable), false);
    builder.Need(
        nStep,
        builder.Find({eModelKind::Index, key.strReferencedSchema, key.strReferencedTable, key.strKeyIndex}),
        false);
}

void NeedModuleUses(CPlanBuilder& builder, size_t nStep) {
    const TPlanStep& step = builder.Step(nStep);
    const TModelModule& module = *std::get<const TModelModule*>(step.object);
    if (module.Kind() == eModelKind::Trigger) {
        const size_t nTable = builder.FindTable(module.strSchema, module.strParent);
        builder.Need(nStep,
                     nTable != NO_STEP
                         ? nTable
                         : builder.Find({eModelKind::View, module.strSchema, "", module.strParent}),
                     false);
    }
    builder.NeedReferences(nStep, step.key, std::string(), module.strDefinition, NeedsAreSoft(module));
}

// The functions are needed whatever the policy's schema binding: the predicates are checked when it is made.
void NeedPolicyUses(CPlanBuilder& builder, size_t nStep) {
    const TPlanStep& step = builder.Step(nStep);
    const TModelSecurityPolicy& policy = *std::get<const TModelSecurityPolicy*>(step.object);
    std::string strCalls;
    for (const TModelSecurityPredicate& predicate : policy.aPredicates) {
        builder.Need(nStep, builder.FindTable(predicate.strTargetSchema, predicate.strTargetTable), false);
        strCalls += predicate.strDefinition + "\n";
    }
    builder.NeedReferences(nStep, step.key, std::string(), strCalls, false);
}

bool IsScriptedDefault(const TModelTable& table, const TModelDefault& def) {
    const TModelColumn* pColumn = table.FindColumn(def.strColumn);
    return !pColumn || !pColumn->IsRowVersion();
}

TRecreatePlan PlanRecreate(const TCatalogModel& model) {
    TRecreatePlan plan = CPlanBuilder(model).Build();
    OrderPlan(plan);
    return plan;
}

namespace {

// The columns of a table that its expressions name, its column names folded once for all of them.
class CColumnNamer {
public:
    explicit CColumnNamer(const TModelTable& table) : m_table(table) {
        for (const TModelColumn& column : table.aColumns)
            m_aFolded.push_back(FoldCaseUtf8(column.strName));
    }

    // What the expression names by a bare name; strColumn, a check's own column, whatever its text.
    void Add(std::vector<TColumnUse>& aUses, size_t nStep, const TModelColumn* pComputed,
             const std::string& strText, const std::string& strColumn) const {
        std::vector<std::string> aNamed;
        if (!strColumn.empty())
            aNamed.push_back(FoldCaseUtf8(strColumn));
        for (const TSqlName& name : FindSqlNames(strText.c_str()))
            if (name.strSchema.IsEmpty())
                aNamed.push_back(FoldCaseUtf8(name.strName.Str()));
        for (size_t i = 0; i < m_aFolded.size(); ++i)
            if (std::find(aNamed.begin(), aNamed.end(), m_aFolded[i]) != aNamed.end())
                aUses.push_back({&m_table.aColumns[i], nStep, pComputed});
    }

private:
    const TModelTable& m_table;
    std::vector<std::string> m_aFolded;
};

// What the checks and computed columns of the plan's tables name, in step order.
std::vector<TColumnUse> ColumnUsesOf(const TRecreatePlan& plan) {
    std::vector<TColumnUse> aUses;
    std::optional<CColumnNamer> namer;
    const TModelTable* pNamed = nullptr;
    const auto namerOf = [&](const TModelTable& table) -> const CColumnNamer& {
        if (pNamed != &table)
            namer.emplace(table);
        pNamed = &table;
        return *namer;
    };
    for (size_t nStep = 0; nStep < plan.aSteps.size(); ++nStep) {
        const TPlanObject& object = plan.aSteps[nStep].object;
        if (const TModelTable* const* ppTable = std::get_if<const TModelTable*>(&object)) {
            for (const TModelColumn& column : (*ppTable)->aColumns)
                if (column.computed)
                    namerOf(**ppTable).Add(aUses, nStep, &column, column.computed->strDefinition,
                                           std::string());
        } else if (const auto* pCheck = std::get_if<TTablePart<TModelCheck>>(&object)) {
            namerOf(*pCheck->pTable)
                .Add(aUses, nStep, nullptr, pCheck->pPart->strDefinition, pCheck->pPart->strColumn);
        }
    }
    return aUses;
}

} // namespace

struct CPlanUsers::TIndex {
    std::unordered_map<TModelKey, size_t, TModelKeyHash> mapSteps;
    std::vector<std::vector<size_t>> aUsers; // by step
    std::vector<TColumnUse> aColumnUses;
    std::unordered_multimap<const TModelColumn*, const TColumnUse*> mapColumnUses;
};

CPlanUsers::CPlanUsers(const TRecreatePlan& plan) : m_plan(plan) {}

CPlanUsers::~CPlanUsers() = default;

const CPlanUsers::TIndex& CPlanUsers::Index() const {
    if (m_pIndex)
        return *m_pIndex;
    m_pIndex = std::make_unique<TIndex>();
    TIndex& index = *m_pIndex;
    index.aUsers.resize(m_plan.aSteps.size());
    for (size_t nStep = 0; nStep < m_plan.aSteps.size(); ++nStep) {
        index.mapSteps.emplace(m_plan.aSteps[nStep].key, nStep);
        for (const TPlanNeed& need : m_plan.aSteps[nStep].aNeeds)
            if (need.nStep < index.aUsers.size())
                index.aUsers[need.nStep].push_back(nStep);
    }
    index.aColumnUses = ColumnUsesOf(m_plan);
    for (const TColumnUse& use : index.aColumnUses)
        index.mapColumnUses.emplace(use.pColumn, &use);
    return index;
}

size_t CPlanUsers::Step(const TModelKey& key) const {
    const TIndex& index = Index();
    const auto it = index.mapSteps.find(key);
    return it == index.mapSteps.end() ? NO_STEP : it->second;
}

bool CPlanUsers::NeedsSoftly(size_t nUser, size_t nNeeded) const {
    const std::vector<TPlanNeed>& aNeeds = m_plan.aSteps[nUser].aNeeds;
    const auto it = std::find_if(aNeeds.begin(), aNeeds.end(),
                                 [&](const TPlanNeed& need) { return need.nStep == nNeeded; });
    return it != aNeeds.end() && it->bSoft;
}

const std::vector<size_t>& CPlanUsers::Users(const TModelKey& key) const {
    static const std::vector<size_t> aNone;
    const TIndex& index = Index();
    const auto it = index.mapSteps.find(key);
    return it == index.mapSteps.end() ? aNone : index.aUsers[it->second];
}

std::vector<const TColumnUse*> CPlanUsers::ColumnUses(const TModelColumn& column) const {
    std::vector<const TColumnUse*> aUses;
    const auto [itFirst, itEnd] = Index().mapColumnUses.equal_range(&column);
    for (auto it = itFirst; it != itEnd; ++it)
        aUses.push_back(it->second);
    std::sort(aUses.begin(), aUses.end());
    return aUses;
}

bool IsSchemaBound(const TPlanObject& object) {
    if (std::holds_alternative<const TModelSecurityPolicy*>(object))
        return true;
    const TModelModule* const* ppModule = std::get_if<const TModelModule*>(&object);
    return ppModule && (*ppModule)->bSchemaBound;
}

// A primary XML index is made on the table's clustered primary key, a secondary one from its primary.
void NeedXmlIndexBase(CPlanBuilder& builder, size_t nStep, const TModelTable& table,
                      const TModelIndex& index) {
    if (index.strXmlType.empty())
        return;
    const TModelKey& key = builder.Step(nStep).key;
    const auto it = std::find_if(table.aIndexes.begin(), table.aIndexes.end(), [&](const TModelIndex& other) {
        return other.eKind == eModelIndexKind::PrimaryKey;
    });
    if (index.strXmlType == "PRIMARY" && it != table.aIndexes.end())
        builder.Need(nStep, builder.Find({eModelKind::Key, key.strSchema, key.strTable, it->strName}), false);
    else if (!index.strUsingXmlIndex.empty())
        builder.Need(nStep,
                     builder.Find({eModelKind::Index, key.strSchema, key.strTable, index.strUsingXmlIndex}),
                     false);
}
