// The families of schema-level objects: the database, schemas, types, objects, modules, sequences,
// synonyms, extended properties and the references between them.
#include "model/ModelDraft.h"

#include "platform/Unicode.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_set>

namespace {

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

std::string Trimmed(std::string str) {
    while (!str.empty() && str.back() == ' ')
        str.pop_back();
    return str;
}

} // namespace

void AddDatabase(CFamilyRows& rows, TModelDraft& draft) {
    if (!rows.Next())
        rows.Fail("the server's answer has no row");
    draft.model.strCollation = rows.Text(0);
    TModelFeatures& features = draft.model.features;
    features.bSequences = !rows.IsNull(1);
    features.bSynonyms = !rows.IsNull(2);
    features.bTableTypes = !rows.IsNull(3);
    features.bExtendedProperties = !rows.IsNull(4);
    features.bExpressionDependencies = !rows.IsNull(5);
}

void AddSchemas(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        TModelSchema schema{rows.Int(0), rows.Text(1), rows.Text(2), IsBuiltInSchema(rows.Text(1))};
        draft.mapSchemas[schema.nSchemaId] = schema.strName;
        draft.model.aSchemas.push_back(std::move(schema));
    }
    std::sort(draft.model.aSchemas.begin(), draft.model.aSchemas.end(),
              [](const TModelSchema& a, const TModelSchema& b) { return a.strName < b.strName; });
}

void AddTypes(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        draft.mapTypes[rows.Int(0)] = {rows.Int(1), rows.Text(2), rows.Int(3),  rows.Int(4),
                                       rows.Int(5), rows.Int(6),  rows.Bool(7), rows.Bool(8)};
}

void AddTableTypes(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nUserTypeId = rows.Int(0);
        const auto type = draft.mapTypes.find(nUserTypeId);
        if (type == draft.mapTypes.end())
            continue;
        TModelTable table;
        table.nObjectId = rows.Int(1);
        table.strSchema = draft.SchemaName(type->second.nSchemaId);
        table.strName = type->second.strName;
        table.nTableTypeId = nUserTypeId;
        draft.mapTableTypes[nUserTypeId] = table.nObjectId;
        draft.mapTables[table.nObjectId] = std::move(table);
    }
}

void AddObjects(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nObjectId = rows.Int(0);
        TDraftObject object{rows.Int(1), rows.Text(2), Trimmed(rows.Text(3)), rows.Int(4)};
        const std::string& strSchema = draft.SchemaName(object.nSchemaId);
        if (object.strType == "U") {
            TModelTable& table = draft.mapTables[nObjectId];
            table.nObjectId = nObjectId;
            table.strSchema = strSchema;
            table.strName = object.strName;
        } else if (object.strType != "SO" && object.strType != "SN") {
            TModelModule& module = draft.mapModules[nObjectId];
            module.nObjectId = nObjectId;
            module.strSchema = strSchema;
            module.strName = object.strName;
            module.strType = object.strType;
            module.nParentObjectId = object.nParentObjectId;
        }
        draft.mapObjects[nObjectId] = std::move(object);
    }
}

void AddModules(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const auto it = draft.mapModules.find(rows.Int(0));
        if (it == draft.mapModules.end())
            continue;
        TModelModule& module = it->second;
        module.strDefinition = rows.Text(1);
        module.bAnsiNulls = rows.Bool(2);
        module.bQuotedIdentifier = rows.Bool(3);
        module.bSchemaBound = rows.Bool(4);
    }
}

void AddTriggers(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const auto it = draft.mapModules.find(rows.Int(0));
        if (it == draft.mapModules.end())
            continue;
        it->second.nParentObjectId = rows.Int(1);
        it->second.bDisabled = rows.Bool(2);
    }
}

void AddSequences(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nObjectId = rows.Int(0);
        const auto object = draft.mapObjects.find(nObjectId);
        if (object == draft.mapObjects.end())
            continue;
        TModelSequence& sequence = draft.mapSequences[nObjectId];
        sequence.nObjectId = nObjectId;
        sequence.strSchema = draft.SchemaName(object->second.nSchemaId);
        sequence.strName = object->second.strName;
        sequence.type = draft.DataType(rows.Int(1), 0, rows.Int(2), rows.Int(3));
        sequence.strStart = rows.Text(4);
        sequence.strIncrement = rows.Text(5);
        sequence.strMinimum = rows.Text(6);
        sequence.strMaximum = rows.Text(7);
        sequence.bCycling = rows.Bool(8);
        sequence.bCached = rows.Bool(9);
        sequence.strCacheSize = rows.Text(10);
    }
}

void AddStandardSequences(CFamilyRows& rows, TModelDraft& draft) {
    std::unordered_set<std::string> setIdentitySequences;
    for (const auto& [nObjectId, table] : draft.mapTables)
        for (const TModelColumn& column : table.aColumns)
            if (column.identity)
                setIdentitySequences.insert(FoldCaseUtf8(table.strSchema) + '\0' +
                                            FoldCaseUtf8(table.strName + "_" + column.strName + "_seq"));
    std::unordered_map<std::string, int> mapSequenceIds;
    for (const auto& [nObjectId, object] : draft.mapObjects)
        if (object.strType == "SO")
            mapSequenceIds[FoldCaseUtf8(draft.SchemaName(object.nSchemaId)) + '\0' +
                           FoldCaseUtf8(object.strName)] = nObjectId;
    int nUnknownId = 0;
    while (rows.Next()) {
        const std::string strKey = FoldCaseUtf8(rows.Text(0)) + '\0' + FoldCaseUtf8(rows.Text(1));
        if (setIdentitySequences.count(strKey))
            continue;
        const auto id = mapSequenceIds.find(strKey);
        const int nObjectId = id == mapSequenceIds.end() ? --nUnknownId : id->second;
        TModelSequence& sequence = draft.mapSequences[nObjectId];
        sequence.nObjectId = nObjectId;
        sequence.strSchema = rows.Text(0);
        sequence.strName = rows.Text(1);
        sequence.type = draft.SystemDataType(rows.Text(2), rows.Int(3), rows.Int(4));
        sequence.strStart = rows.Text(5);
        sequence.strIncrement = rows.Text(6);
        sequence.strMinimum = rows.Text(7);
        sequence.strMaximum = rows.Text(8);
        sequence.bCycling = rows.Text(9) == "1" || rows.Text(9) == "YES";
    }
}

void AddSynonyms(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nObjectId = rows.Int(0);
        const auto object = draft.mapObjects.find(nObjectId);
        if (object == draft.mapObjects.end())
            continue;
        draft.mapSynonyms[nObjectId] = {nObjectId, draft.SchemaName(object->second.nSchemaId),
                                        object->second.strName, rows.Text(1)};
    }
}

void AddExtendedProperties(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        draft.model.aExtendedProperties.push_back(
            {rows.Int(0), rows.Int(1), rows.Int(2), rows.Text(3), rows.Value(4), rows.Text(5)});
    std::sort(draft.model.aExtendedProperties.begin(), draft.model.aExtendedProperties.end(),
              [](const TModelExtendedProperty& a, const TModelExtendedProperty& b) {
                  return std::tie(a.nClass, a.nMajorId, a.nMinorId, a.strName) <
                         std::tie(b.nClass, b.nMajorId, b.nMinorId, b.strName);
              });
}

// Only references to objects (class 1) order anything: types are found through the columns' types.
void AddReferences(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (rows.Int(3) == 1)
            draft.model.aReferences.push_back(
                {rows.Int(0), rows.Int(1), rows.Int(2), rows.Text(4), rows.Text(5)});
    std::sort(draft.model.aReferences.begin(), draft.model.aReferences.end(),
              [](const TModelReference& a, const TModelReference& b) {
                  return std::tie(a.nReferencingId, a.nReferencingMinorId, a.nReferencedId,
                                  a.strReferencedSchema, a.strReferencedName) <
                         std::tie(b.nReferencingId, b.nReferencingMinorId, b.nReferencedId,
                                  b.strReferencedSchema, b.strReferencedName);
              });
}
