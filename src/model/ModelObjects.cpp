// The families of schema-level objects: the database and the views it has, schemas, types, objects, modules
// and the triggers of the database with the order of triggers, sequences, synonyms, extended properties and
// the references between them; and the targets of properties and
// references resolved from catalog ids to keys.
#include "model/ModelDraft.h"

#include "platform/Unicode.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <tuple>
#include <unordered_set>

// The schemas every database has: never created by a script.
bool IsBuiltInSchema(const std::string& strName) {
    static constexpr std::array<std::string_view, 13> aBuiltIn = {"dbo",
                                                                  "guest",
                                                                  "INFORMATION_SCHEMA",
                                                                  "sys",
                                                                  "db_owner",
                                                                  "db_accessadmin",
                                                                  "db_securityadmin",
                                                                  "db_ddladmin",
                                                                  "db_backupoperator",
                                                                  "db_datareader",
                                                                  "db_datawriter",
                                                                  "db_denydatareader",
                                                                  "db_denydatawriter"};
    return std::find(aBuiltIn.begin(), aBuiltIn.end(), strName) != aBuiltIn.end();
}

namespace {

std::string Trimmed(std::string str) {
    while (!str.empty() && str.back() == ' ')
        str.pop_back();
    return str;
}

// A primary key or unique constraint of a table of the model, which its property (of class 1) names by the
// constraint's object id.
std::optional<std::pair<TModelKey, std::string>> KeyConstraintTarget(const TModelDraft& draft,
                                                                     const TDraftProperty& draftProperty) {
    const TDraftKeyConstraint* pKey = Found(draft.mapKeyConstraints, draftProperty.nMajorId);
    const TDraftTable* pTable = pKey ? draft.Table(pKey->nTableId) : nullptr;
    if (!pTable || pTable->bTableType || draftProperty.nMinorId != 0)
        return std::nullopt;
    const auto isKey = [&](const TDraftIndex& index) {
        return index.index.strName == pKey->strName && index.index.eKind != eModelIndexKind::Index;
    };
    if (std::none_of(pTable->aIndexes.begin(), pTable->aIndexes.end(), isKey))
        return std::nullopt;
    return std::pair(
        TModelKey{eModelKind::Key, pTable->table.strSchema, pTable->table.strName, pKey->strName},
        std::string());
}

// The name under the id of a part (column or parameter) of a module; null when the model has none.
const std::string* ModulePart(const TModelDraft& draft, int nObjectId, int nPartId,
                              std::unordered_map<int, std::string> TDraftModule::*pParts) {
    const TDraftModule* pModule = Found(draft.mapModules, nObjectId);
    return pModule ? Found(pModule->*pParts, nPartId) : nullptr;
}

// The object a property of class 1 is on: the object itself, a table's, view's or function's column, or a
// table's key; none when the model has no such part.
std::optional<std::pair<TModelKey, std::string>> ObjectTarget(const TModelDraft& draft,
                                                              const TDraftProperty& draftProperty) {
    const std::optional<TModelKey> found = draft.KeyOf(draftProperty.nMajorId);
    if (!found)
        return KeyConstraintTarget(draft, draftProperty);
    const TModelKey& key = *found;
    if (draftProperty.nMinorId == 0)
        return std::pair(key, std::string());
    switch (key.eKind) {
    case eModelKind::Table:
    case eModelKind::TableType: {
        const std::string& strColumn =
            draft.Table(draftProperty.nMajorId)->ColumnName(draftProperty.nMinorId);
        return strColumn.empty() ? std::nullopt : std::optional(std::pair(key, strColumn));
    }
    case eModelKind::View:
    case eModelKind::Function: {
        const std::string* pColumn =
            ModulePart(draft, draftProperty.nMajorId, draftProperty.nMinorId, &TDraftModule::mapColumns);
        return pColumn ? std::optional(std::pair(key, *pColumn)) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

// Where a property is, from its class and ids; false when the model has no such object or part.
bool ResolveTarget(const TModelDraft& draft, TDraftProperty& draftProperty) {
    TModelExtendedProperty& property = draftProperty.property;
    switch (draftProperty.nClass) {
    case 0:
        return true;
    case 1: {
        auto target = ObjectTarget(draft, draftProperty);
        if (target)
            std::tie(property.target, property.strColumn) = std::move(*target);
        return target.has_value();
    }
    case 2: {
        const std::optional<TModelKey> module = draft.KeyOf(draftProperty.nMajorId);
        const std::string* pParameter =
            ModulePart(draft, draftProperty.nMajorId, draftProperty.nMinorId, &TDraftModule::mapParameters);
        if (!module || !pParameter)
            return false;
        property.target = *module;
        property.strParameter = *pParameter;
        return true;
    }
    case 3: {
        if (const std::string* pSchema = Found(draft.mapSchemas, draftProperty.nMajorId))
            property.target = TModelKey{eModelKind::Schema, std::string(), std::string(), *pSchema};
        return property.target.has_value();
    }
    case 6: {
        const TDraftType* pType = Found(draft.mapTypes, draftProperty.nMajorId);
        if (!pType || !pType->bUserDefined)
            return false;
        const eModelKind eKind =
            draft.mapTableTypes.count(draftProperty.nMajorId) ? eModelKind::TableType : eModelKind::AliasType;
        property.target = TModelKey{eKind, draft.SchemaName(pType->nSchemaId), std::string(), pType->strName};
        return true;
    }
    case 7: {
        const std::optional<TModelKey> table = draft.KeyOf(draftProperty.nMajorId);
        if (!table || table->eKind != eModelKind::Table)
            return false;
        const TDraftIndex* pIndex = draft.Table(draftProperty.nMajorId)->FindIndex(draftProperty.nMinorId);
        if (pIndex)
            property.target =
                TModelKey{eModelKind::Index, table->strSchema, table->strName, pIndex->index.strName};
        return pIndex != nullptr;
    }
    default:
        return false;
    }
}

// The object or computed column that makes a reference: a module, a table's computed column, a check or a
// default; false for anything else, which nothing is ordered by.
bool ResolveFrom(const TModelDraft& draft, const TDraftReference& draftReference,
                 TModelReference& reference) {
    const std::optional<TModelKey> from = draft.KeyOf(draftReference.nReferencingId);
    if (!from)
        return false;
    reference.from = *from;
    switch (from->eKind) {
    case eModelKind::Table:
    case eModelKind::TableType:
        reference.strColumn =
            draft.Table(draftReference.nReferencingId)->ColumnName(draftReference.nReferencingMinorId);
        return !reference.strColumn.empty();
    case eModelKind::Check:
    case eModelKind::Default:
    case eModelKind::View:
    case eModelKind::Function:
    case eModelKind::Procedure:
    case eModelKind::Trigger:
    case eModelKind::SecurityPolicy:
        return draftReference.nReferencingMinorId == 0;
    default:
        return false;
    }
}

} // namespace

void AddDatabase(CFamilyRows& rows, TModelDraft& draft) {
    if (!rows.Next())
        rows.Fail("the server's answer has no row");
    draft.model.strCollation = rows.Text("collation_name");
    TModelFeatures& features = draft.model.features;
    features.bSequences = !rows.IsNull("sequences_view");
    features.bSynonyms = !rows.IsNull("synonyms_view");
    features.bTableTypes = !rows.IsNull("table_types_view");
    features.bExtendedProperties = !rows.IsNull("extended_properties_view");
    features.bExpressionDependencies = !rows.IsNull("expression_dependencies_view");
}

void AddFeatureViews(CFamilyRows& rows, TModelDraft& draft) {
    if (!rows.Next())
        return;
    TModelFeatures& features = draft.model.features;
    features.bMaskedColumns = !rows.IsNull("masked_columns_view");
    features.bSecurityPolicies = !rows.IsNull("security_policies_view");
    features.bPoliciesWithSchemaBinding = features.bSecurityPolicies && !rows.IsNull("schemabinding_column");
    features.bPoliciesWithoutSchemaBinding =
        features.bSecurityPolicies && !features.bPoliciesWithSchemaBinding;
    features.bTriggerEvents = !rows.IsNull("trigger_events_view");
    features.bStatistics = !rows.IsNull("stats_columns_view");
    features.bIncrementalStatistics = features.bStatistics && !rows.IsNull("incremental_column");
    features.bStatisticsWithoutIncremental = features.bStatistics && !features.bIncrementalStatistics;
}

void AddSchemas(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        TModelSchema schema{rows.Text("name"), rows.Text("owner_name"), IsBuiltInSchema(rows.Text("name"))};
        draft.mapSchemas[rows.Int("schema_id")] = schema.strName;
        draft.model.aSchemas.push_back(std::move(schema));
    }
    std::sort(draft.model.aSchemas.begin(), draft.model.aSchemas.end(),
              [](const TModelSchema& a, const TModelSchema& b) { return a.strName < b.strName; });
}

void AddTypes(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        draft.mapTypes[rows.Int("user_type_id")] = {rows.Int("schema_id"),      rows.Text("name"),
                                                    rows.Int("system_type_id"), rows.Int("max_length"),
                                                    rows.Int("precision"),      rows.Int("scale"),
                                                    rows.Bool("is_nullable"),   rows.Bool("is_user_defined")};
}

void AddTableTypes(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nUserTypeId = rows.Int("user_type_id");
        if (const TDraftType* pType = Found(draft.mapTypes, nUserTypeId)) {
            const int nTableId = rows.Int("type_table_object_id");
            TDraftTable& draftTable = draft.mapTables[nTableId];
            draftTable.bTableType = true;
            TModelTable& table = draftTable.table;
            table.strSchema = draft.SchemaName(pType->nSchemaId);
            table.strName = pType->strName;
            draft.mapTableTypes[nUserTypeId] = nTableId;
        }
    }
}

void AddObjects(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nObjectId = rows.Int("object_id");
        TDraftObject object{rows.Int("schema_id"), rows.Text("name"), Trimmed(rows.Text("type")),
                            rows.Int("parent_object_id")};
        const std::string& strSchema = draft.SchemaName(object.nSchemaId);
        if (object.strType == "U") {
            TModelTable& table = draft.mapTables[nObjectId].table;
            table.strSchema = strSchema;
            table.strName = object.strName;
        } else if (object.strType != "SO" && object.strType != "SN") {
            TDraftModule& module = draft.mapModules[nObjectId];
            module.module.strSchema = strSchema;
            module.module.strName = object.strName;
            module.module.strType = object.strType;
            module.nParentObjectId = object.nParentObjectId;
        }
        draft.mapObjects[nObjectId] = std::move(object);
    }
}

void AddModules(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        if (TDraftModule* pModule = Found(draft.mapModules, rows.Int("object_id"))) {
            TModelModule& module = pModule->module;
            module.strDefinition = rows.Text("definition");
            module.bAnsiNulls = rows.Bool("uses_ansi_nulls");
            module.bQuotedIdentifier = rows.Bool("uses_quoted_identifier");
            module.bSchemaBound = rows.Bool("is_schema_bound");
        }
    }
}

void AddTriggers(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        if (TDraftModule* pModule = Found(draft.mapModules, rows.Int("object_id"))) {
            pModule->nParentObjectId = rows.Int("parent_id");
            pModule->module.bDisabled = rows.Bool("is_disabled");
        }
    }
}

void AddDatabaseTriggers(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        TModelModule& module = draft.mapModules[rows.Int("object_id")].module;
        module.strName = rows.Text("name");
        module.strType = "TR";
        module.bOnDatabase = true;
        module.bDisabled = rows.Bool("is_disabled");
    }
}

void AddTriggerOrder(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TDraftModule* pModule = Found(draft.mapModules, rows.Int("object_id")))
            pModule->module.aOrder.push_back({rows.Text("type_desc"), rows.Bool("is_first")});
}

void AddSequences(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nObjectId = rows.Int("object_id");
        if (const TDraftObject* pObject = Found(draft.mapObjects, nObjectId))
            draft.mapSequences[nObjectId] = {
                draft.SchemaName(pObject->nSchemaId),
                pObject->strName,
                draft.DataType(rows.Int("user_type_id"), 0, rows.Int("precision"), rows.Int("scale")),
                rows.Text("start_value"),
                rows.Text("increment"),
                rows.Text("minimum_value"),
                rows.Text("maximum_value"),
                rows.Bool("is_cycling"),
                rows.Bool("is_cached"),
                rows.Text("cache_size")};
    }
}

void AddStandardSequences(CFamilyRows& rows, TModelDraft& draft) {
    std::unordered_set<std::string> setIdentitySequences;
    for (const auto& [nObjectId, table] : draft.mapTables)
        for (const TModelColumn& column : table.table.aColumns)
            if (column.identity)
                setIdentitySequences.insert(
                    FoldCaseUtf8(table.table.strSchema) + '\0' +
                    FoldCaseUtf8(table.table.strName + "_" + column.strName + "_seq"));
    std::unordered_map<std::string, int> mapSequenceIds;
    for (const auto& [nObjectId, object] : draft.mapObjects)
        if (object.strType == "SO")
            mapSequenceIds[FoldCaseUtf8(draft.SchemaName(object.nSchemaId)) + '\0' +
                           FoldCaseUtf8(object.strName)] = nObjectId;
    int nUnknownId = 0;
    while (rows.Next()) {
        const std::string strSchema = rows.Text("SEQUENCE_SCHEMA");
        const std::string strName = rows.Text("SEQUENCE_NAME");
        const std::string strKey = FoldCaseUtf8(strSchema) + '\0' + FoldCaseUtf8(strName);
        if (setIdentitySequences.count(strKey))
            continue;
        const auto id = mapSequenceIds.find(strKey);
        const std::string strCycle = rows.Text("CYCLE_OPTION");
        // The standard view says nothing of the cache: the server's default.
        draft.mapSequences[id == mapSequenceIds.end() ? --nUnknownId : id->second] = {
            strSchema,
            strName,
            draft.SystemDataType(rows.Text("DATA_TYPE"), rows.Int("NUMERIC_PRECISION"),
                                 rows.Int("NUMERIC_SCALE")),
            rows.Text("START_VALUE"),
            rows.Text("INCREMENT"),
            rows.Text("MINIMUM_VALUE"),
            rows.Text("MAXIMUM_VALUE"),
            strCycle == "1" || strCycle == "YES",
            true,
            std::string()};
    }
}

void AddSynonyms(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nObjectId = rows.Int("object_id");
        if (const TDraftObject* pObject = Found(draft.mapObjects, nObjectId))
            draft.mapSynonyms[nObjectId] = {draft.SchemaName(pObject->nSchemaId), pObject->strName,
                                            rows.Text("base_object_name")};
    }
}

void AddExtendedProperties(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        draft.aProperties.push_back({rows.Int("class"),
                                     rows.Int("major_id"),
                                     rows.Int("minor_id"),
                                     {std::nullopt, std::string(), std::string(), rows.Text("name"),
                                      rows.Value("value"), rows.Text("base_type")}});
}

void AddParameters(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TDraftModule* pModule = Found(draft.mapModules, rows.Int("object_id")))
            pModule->mapParameters[rows.Int("parameter_id")] = rows.Text("name");
}

void AddKeyConstraints(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        draft.mapKeyConstraints[rows.Int("object_id")] = {rows.Int("parent_object_id"), rows.Text("name")};
}

// Only references to objects (class 1) order anything: types are found through the columns' types.
void AddReferences(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (rows.Int("referenced_class") == 1)
            draft.aReferences.push_back({rows.Int("referencing_id"), rows.Int("referencing_minor_id"),
                                         rows.Int("referenced_id"), rows.Text("referenced_schema_name"),
                                         rows.Text("referenced_entity_name")});
}

void FinishTriggers(TModelDraft& draft) {
    for (auto& [nObjectId, module] : draft.mapModules) {
        std::vector<TModelTriggerOrder>& aOrder = module.module.aOrder;
        std::sort(aOrder.begin(), aOrder.end(), [](const TModelTriggerOrder& a, const TModelTriggerOrder& b) {
            return a.strStatement < b.strStatement;
        });
        if (module.module.Kind() == eModelKind::Trigger)
            if (const TDraftObject* pParent = Found(draft.mapObjects, module.nParentObjectId))
                module.module.strParent = pParent->strName;
    }
}

void FinishProperties(TModelDraft& draft) {
    std::sort(draft.aProperties.begin(), draft.aProperties.end(),
              [](const TDraftProperty& a, const TDraftProperty& b) {
                  return std::tie(a.nClass, a.nMajorId, a.nMinorId, a.property.strName) <
                         std::tie(b.nClass, b.nMajorId, b.nMinorId, b.property.strName);
              });
    for (TDraftProperty& property : draft.aProperties)
        if (ResolveTarget(draft, property))
            draft.model.aExtendedProperties.push_back(std::move(property.property));
    std::vector<TDraftProperty>().swap(draft.aProperties);
}

void FinishReferences(TModelDraft& draft) {
    std::sort(draft.aReferences.begin(), draft.aReferences.end(),
              [](const TDraftReference& a, const TDraftReference& b) {
                  return std::tie(a.nReferencingId, a.nReferencingMinorId, a.nReferencedId,
                                  a.strReferencedSchema, a.strReferencedName) <
                         std::tie(b.nReferencingId, b.nReferencingMinorId, b.nReferencedId,
                                  b.strReferencedSchema, b.strReferencedName);
              });
    for (const TDraftReference& draftReference : draft.aReferences) {
        TModelReference reference;
        if (!ResolveFrom(draft, draftReference, reference))
            continue;
        reference.strSchema = draftReference.strReferencedSchema;
        reference.strName = draftReference.strReferencedName;
        reference.resolved = draft.KeyOf(draftReference.nReferencedId);
        draft.model.aReferences.push_back(std::move(reference));
    }
    std::vector<TDraftReference>().swap(draft.aReferences);
}
