#include "recreate/RecreatePlan.h"

#include "catalog/SqlIdentifiers.h"
#include "scripting/SqlText.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <unordered_map>

namespace {

constexpr size_t NONE = CSqlNameIndex::NONE;

ERecreateCategory BaseCategory(ERecreateKind eKind) {
    switch (eKind) {
    case ERecreateKind::Schema:
        return ERecreateCategory::Schemas;
    case ERecreateKind::Type:
        return ERecreateCategory::Types;
    case ERecreateKind::Sequence:
        return ERecreateCategory::Sequences;
    case ERecreateKind::Synonym:
        return ERecreateCategory::Synonyms;
    case ERecreateKind::Table:
        return ERecreateCategory::Tables;
    case ERecreateKind::Constraint:
        return ERecreateCategory::Constraints;
    case ERecreateKind::Index:
        return ERecreateCategory::Indexes;
    case ERecreateKind::ForeignKey:
        return ERecreateCategory::ForeignKeys;
    case ERecreateKind::View:
    case ERecreateKind::Function:
        return ERecreateCategory::ViewsAndFunctions;
    case ERecreateKind::Procedure:
        return ERecreateCategory::Procedures;
    case ERecreateKind::Trigger:
        return ERecreateCategory::Triggers;
    case ERecreateKind::ExtendedProperties:
        break;
    }
    return ERecreateCategory::ExtendedProperties;
}

ERecreateKind ModuleKind(const TModelModule& module) {
    if (module.strType == "V")
        return ERecreateKind::View;
    if (module.strType == "P")
        return ERecreateKind::Procedure;
    if (module.strType == "TR")
        return ERecreateKind::Trigger;
    return ERecreateKind::Function;
}

// A procedure, a trigger's body and a function that is not schema-bound may name objects that do not exist
// yet: SQL Server resolves their names when they run.
bool NeedsAreSoft(const TModelModule& module) {
    if (module.bSchemaBound)
        return false;
    return module.strType == "P" || module.strType == "TR" || module.strType == "FN" ||
           module.strType == "TF";
}

TPlanStep Step(ERecreateKind eKind, std::string strSchema, std::string strName) {
    TPlanStep step;
    step.eKind = eKind;
    step.strSchema = std::move(strSchema);
    step.strName = std::move(strName);
    return step;
}

std::int64_t ReferenceKey(int nReferencingId, int nMinorId) {
    return (static_cast<std::int64_t>(nReferencingId) << 32) | static_cast<std::uint32_t>(nMinorId);
}

class CPlanBuilder {
public:
    explicit CPlanBuilder(const TCatalogModel& model) : m_model(model) {
        for (const TModelReference& reference : model.aReferences)
            m_mapReferences[ReferenceKey(reference.nReferencingId, reference.nReferencingMinorId)].push_back(
                &reference);
    }

    TRecreatePlan Build() {
        AddSchemasTypesAndSequences();
        AddTables();
        AddModules();
        AddProperties();
        AddNeeds();
        return std::move(m_plan);
    }

private:
    size_t AddStep(TPlanStep step) {
        step.eCategory = BaseCategory(step.eKind);
        m_plan.aSteps.push_back(std::move(step));
        return m_plan.aSteps.size() - 1;
    }

    // A schema-level object that others may name.
    size_t AddNamed(TPlanStep step, int nObjectId) {
        m_names.Add(step.strSchema, step.strName, m_plan.aSteps.size());
        const size_t nStep = AddStep(std::move(step));
        if (nObjectId)
            m_mapObjects.emplace(nObjectId, nStep);
        return nStep;
    }

    void AddSchemasTypesAndSequences() {
        for (const TModelSchema& schema : m_model.aSchemas) {
            if (schema.bBuiltIn)
                continue;
            TPlanStep step = Step(ERecreateKind::Schema, std::string(), schema.strName);
            step.pSchema = &schema;
            m_mapSchemaSteps[schema.strName] = AddStep(std::move(step));
        }
        for (const TModelType& type : m_model.aTypes) {
            TPlanStep step = Step(ERecreateKind::Type, type.strSchema, type.strName);
            step.pType = &type;
            step.pTable = m_model.FindTable(type.nTableObjectId);
            m_mapTypes[type.nUserTypeId] = AddNamed(std::move(step), 0);
        }
        for (const TModelSequence& sequence : m_model.aSequences) {
            TPlanStep step = Step(ERecreateKind::Sequence, sequence.strSchema, sequence.strName);
            step.pSequence = &sequence;
            AddNamed(std::move(step), sequence.nObjectId);
        }
        for (const TModelSynonym& synonym : m_model.aSynonyms) {
            TPlanStep step = Step(ERecreateKind::Synonym, synonym.strSchema, synonym.strName);
            step.pSynonym = &synonym;
            AddNamed(std::move(step), synonym.nObjectId);
        }
    }

    void AddTables() {
        for (const TModelTable& table : m_model.aTables) {
            if (table.nTableTypeId)
                continue;
            TPlanStep step = Step(ERecreateKind::Table, table.strSchema, table.strName);
            step.pTable = &table;
            m_mapTableSteps[table.nObjectId] = AddNamed(std::move(step), table.nObjectId);
            for (const TModelCheck& check : table.aChecks)
                AddOwned(table, ERecreateKind::Constraint, check.strName).pCheck = &check;
            for (const TModelDefault& def : table.aDefaults)
                if (IsScriptedDefault(table, def))
                    AddOwned(table, ERecreateKind::Constraint, def.strName).pDefault = &def;
            for (const TModelIndex& index : table.aIndexes)
                if (index.eKind == EModelIndexKind::Index) {
                    AddOwned(table, ERecreateKind::Index, index.strName).pIndex = &index;
                    m_mapIndexSteps[{table.nObjectId, index.nIndexId}] = m_plan.aSteps.size() - 1;
                }
            for (const TModelForeignKey& key : table.aForeignKeys)
                AddOwned(table, ERecreateKind::ForeignKey, key.strName).pForeignKey = &key;
        }
    }

    // A constraint, index or foreign key of a table.
    TPlanStep& AddOwned(const TModelTable& table, ERecreateKind eKind, const std::string& strName) {
        TPlanStep step = Step(eKind, table.strSchema, strName);
        step.pTable = &table;
        step.strParent = table.strName;
        return m_plan.aSteps[AddStep(std::move(step))];
    }

    void AddModules() {
        for (const TModelModule& module : m_model.aModules) {
            TPlanStep step = Step(ModuleKind(module), module.strSchema, module.strName);
            step.pModule = &module;
            if (step.eKind == ERecreateKind::Trigger)
                if (const std::string* pParent = ObjectName(module.nParentObjectId))
                    step.strParent = *pParent;
            AddNamed(std::move(step), module.nObjectId);
        }
    }

    const std::string* ObjectName(int nObjectId) const {
        const auto it = m_mapObjects.find(nObjectId);
        return it == m_mapObjects.end() ? nullptr : &m_plan.aSteps[it->second].strName;
    }

    // One step per object that has properties: a table's cover its columns, constraints and indexes.
    void AddProperties() {
        std::unordered_map<int, size_t> mapConstraintTables;
        for (const auto& [nTableId, nStep] : m_mapTableSteps) {
            const TModelTable& table = *m_plan.aSteps[nStep].pTable;
            for (const TModelCheck& check : table.aChecks)
                mapConstraintTables[check.nObjectId] = nStep;
            for (const TModelDefault& def : table.aDefaults)
                mapConstraintTables[def.nObjectId] = nStep;
            for (const TModelForeignKey& key : table.aForeignKeys)
                mapConstraintTables[key.nObjectId] = nStep;
        }
        std::unordered_map<size_t, size_t>
            mapPropertySteps; // owner step (NONE: the database) to its properties'
        for (const TModelExtendedProperty& property : m_model.aExtendedProperties) {
            const size_t nOwner = property.nClass == 0 ? NONE : PropertyOwner(property, mapConstraintTables);
            if (nOwner == NONE && property.nClass != 0)
                continue;
            auto [it, bNew] = mapPropertySteps.emplace(nOwner, m_plan.aSteps.size());
            if (bNew) {
                TPlanStep step = nOwner == NONE
                                     ? Step(ERecreateKind::ExtendedProperties, std::string(), "database")
                                     : m_plan.aSteps[nOwner];
                step.eKind = ERecreateKind::ExtendedProperties;
                step.aNeeds.clear();
                step.strParent.clear();
                AddStep(std::move(step));
            }
            m_plan.aSteps[it->second].aProperties.push_back(&property);
        }
    }

    size_t PropertyOwner(const TModelExtendedProperty& property,
                         const std::unordered_map<int, size_t>& mapConstraintTables) const {
        const auto find = [](const auto& map, const auto& key) {
            const auto it = map.find(key);
            return it == map.end() ? NONE : it->second;
        };
        switch (property.nClass) {
        case 1: {
            const size_t nStep = find(m_mapObjects, property.nMajorId);
            return nStep != NONE ? nStep : find(mapConstraintTables, property.nMajorId);
        }
        case 3:
            for (const TModelSchema& schema : m_model.aSchemas)
                if (schema.nSchemaId == property.nMajorId)
                    return find(m_mapSchemaSteps, schema.strName);
            return NONE;
        case 6:
            return find(m_mapTypes, property.nMajorId);
        case 7:
            return find(m_mapTableSteps, property.nMajorId);
        default:
            return NONE;
        }
    }

    void AddNeeds() {
        for (size_t nStep = 0; nStep < m_plan.aSteps.size(); ++nStep) {
            const TPlanStep& step = m_plan.aSteps[nStep];
            switch (step.eKind) {
            case ERecreateKind::Type:
                if (step.pTable)
                    AddTableNeeds(nStep, *step.pTable, true);
                break;
            case ERecreateKind::Sequence:
                NeedType(nStep, step.pSequence->type);
                break;
            case ERecreateKind::Table:
                AddTableNeeds(nStep, *step.pTable, false);
                break;
            case ERecreateKind::Constraint:
                AddConstraintNeeds(nStep);
                break;
            case ERecreateKind::Index:
                Need(nStep, m_mapTableSteps.at(step.pTable->nObjectId), false);
                break;
            case ERecreateKind::ForeignKey:
                AddForeignKeyNeeds(nStep);
                break;
            case ERecreateKind::View:
            case ERecreateKind::Function:
            case ERecreateKind::Procedure:
            case ERecreateKind::Trigger:
                AddModuleNeeds(nStep);
                break;
            default:
                break;
            }
        }
    }

    void Need(size_t nStep, size_t nNeeded, bool bSoft) {
        if (nNeeded == NONE || nNeeded == nStep)
            return;
        std::vector<TPlanNeed>& aNeeds = m_plan.aSteps[nStep].aNeeds;
        const auto it = std::find_if(aNeeds.begin(), aNeeds.end(),
                                     [&](const TPlanNeed& need) { return need.nStep == nNeeded; });
        if (it == aNeeds.end())
            aNeeds.push_back({nNeeded, bSoft});
        else
            it->bSoft = it->bSoft && bSoft;
    }

    void NeedType(size_t nStep, const TModelDataType& type) {
        if (type.IsUserDefined())
            Need(nStep, m_names.Resolve(type.strSchema, type.strName, type.strSchema), false);
    }

    // A table type's checks and defaults are part of its CREATE TYPE: what they call is needed by the type.
    void AddTableNeeds(size_t nStep, const TModelTable& table, bool bTableType) {
        for (const TModelColumn& column : table.aColumns) {
            NeedType(nStep, column.type);
            if (column.computed)
                NeedReferences(nStep, table.nObjectId, column.nColumnId, column.computed->strDefinition,
                               table.strSchema, false);
        }
        if (!bTableType)
            return;
        for (const TModelCheck& check : table.aChecks)
            NeedReferences(nStep, check.nObjectId, 0, check.strDefinition, table.strSchema, false);
        for (const TModelDefault& def : table.aDefaults)
            NeedReferences(nStep, def.nObjectId, 0, def.strDefinition, table.strSchema, false);
    }

    void AddConstraintNeeds(size_t nStep) {
        const TPlanStep& step = m_plan.aSteps[nStep];
        Need(nStep, m_mapTableSteps.at(step.pTable->nObjectId), false);
        if (step.pCheck)
            NeedReferences(nStep, step.pCheck->nObjectId, 0, step.pCheck->strDefinition, step.strSchema,
                           false);
        else
            NeedReferences(nStep, step.pDefault->nObjectId, 0, step.pDefault->strDefinition, step.strSchema,
                           false);
    }

    void AddForeignKeyNeeds(size_t nStep) {
        const TPlanStep& step = m_plan.aSteps[nStep];
        const TModelForeignKey& key = *step.pForeignKey;
        Need(nStep, m_mapTableSteps.at(step.pTable->nObjectId), false);
        const auto table = m_mapTableSteps.find(key.nReferencedObjectId);
        if (table != m_mapTableSteps.end())
            Need(nStep, table->second, false);
        const auto index = m_mapIndexSteps.find({key.nReferencedObjectId, key.nKeyIndexId});
        if (index != m_mapIndexSteps.end())
            Need(nStep, index->second, false);
    }

    void AddModuleNeeds(size_t nStep) {
        const TModelModule& module = *m_plan.aSteps[nStep].pModule;
        if (module.strType == "TR") {
            const auto parent = m_mapObjects.find(module.nParentObjectId);
            if (parent != m_mapObjects.end())
                Need(nStep, parent->second, false);
        }
        NeedReferences(nStep, module.nObjectId, 0, module.strDefinition, module.strSchema,
                       NeedsAreSoft(module));
    }

    // What an expression or module uses: the references the server reports for it, else the names its text
    // holds, keywords written bare left out. A type a module names (a table-valued parameter's) is needed
    // whatever the module.
    void NeedReferences(size_t nStep, int nReferencingId, int nMinorId, const std::string& strText,
                        const std::string& strSchema, bool bSoft) {
        const auto reported = m_mapReferences.find(ReferenceKey(nReferencingId, nMinorId));
        if (reported != m_mapReferences.end()) {
            for (const TModelReference* pReference : reported->second) {
                const auto object = m_mapObjects.find(pReference->nReferencedId);
                const size_t nNeeded = object != m_mapObjects.end()
                                           ? object->second
                                           : m_names.Resolve(pReference->strReferencedSchema,
                                                             pReference->strReferencedName, strSchema);
                NeedNamed(nStep, nNeeded, bSoft);
            }
            return;
        }
        for (const TSqlName& name : FindSqlNames(strText.c_str()))
            if (!name.bBare || IsRegularIdentifier(name.strName))
                NeedNamed(nStep, m_names.Resolve(name.strSchema.Str(), name.strName.Str(), strSchema), bSoft);
    }

    // Only a procedure or a trigger runs a procedure: a view or function naming one names something else.
    void NeedNamed(size_t nStep, size_t nNeeded, bool bSoft) {
        if (nNeeded == NONE)
            return;
        const ERecreateKind eNeeded = m_plan.aSteps[nNeeded].eKind;
        const ERecreateKind eKind = m_plan.aSteps[nStep].eKind;
        if (eNeeded == ERecreateKind::Procedure && eKind != ERecreateKind::Procedure &&
            eKind != ERecreateKind::Trigger)
            return;
        Need(nStep, nNeeded, bSoft && eNeeded != ERecreateKind::Type);
    }

    const TCatalogModel& m_model;
    TRecreatePlan m_plan;
    std::unordered_map<std::int64_t, std::vector<const TModelReference*>> m_mapReferences;
    CSqlNameIndex m_names; // schema-level objects that others may name
    std::unordered_map<int, size_t> m_mapObjects;
    std::unordered_map<int, size_t> m_mapTypes;
    std::unordered_map<int, size_t> m_mapTableSteps;
    std::unordered_map<std::string, size_t> m_mapSchemaSteps;
    std::map<std::pair<int, int>, size_t> m_mapIndexSteps;
};

} // namespace

bool IsScriptedDefault(const TModelTable& table, const TModelDefault& def) {
    const TModelColumn* pColumn = table.FindColumn(def.nColumnId);
    return !pColumn || !pColumn->IsRowVersion();
}

TRecreatePlan PlanRecreate(const TCatalogModel& model) {
    TRecreatePlan plan = CPlanBuilder(model).Build();
    OrderPlan(plan);
    return plan;
}
