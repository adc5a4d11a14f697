#include "model/ModelDraft.h"

#include <algorithm>

namespace {

const std::string g_strNoName;

// The item of that id, or null.
template <typename T, typename Id> T* FindById(std::vector<T>& aItems, Id id, int nId) {
    const auto it =
        std::find_if(aItems.begin(), aItems.end(), [&](const T& item) { return item.*id == nId; });
    return it == aItems.end() ? nullptr : &*it;
}

} // namespace

TModelColumn* TDraftTable::FindColumn(int nColumnId) {
    const auto it = std::find(aColumnIds.begin(), aColumnIds.end(), nColumnId);
    return it == aColumnIds.end() ? nullptr : &table.aColumns[static_cast<size_t>(it - aColumnIds.begin())];
}

const std::string& TDraftTable::ColumnName(int nColumnId) const {
    if (const TModelColumn* pColumn = const_cast<TDraftTable*>(this)->FindColumn(nColumnId))
        return pColumn->strName;
    const auto it = mapGraphColumns.find(nColumnId);
    return it == mapGraphColumns.end() ? g_strNoName : it->second;
}

TDraftIndex* TDraftTable::FindIndex(int nIndexId) {
    return FindById(aIndexes, &TDraftIndex::nIndexId, nIndexId);
}

const TDraftIndex* TDraftTable::FindIndex(int nIndexId) const {
    return const_cast<TDraftTable*>(this)->FindIndex(nIndexId);
}

const std::string& TDraftModule::ColumnName(int nColumnId) const {
    const std::string* pName = Found(mapColumns, nColumnId);
    return pName ? *pName : g_strNoName;
}

TDraftIndex* TDraftModule::FindIndex(int nIndexId) {
    return FindById(aIndexes, &TDraftIndex::nIndexId, nIndexId);
}

const std::string& TModelDraft::SchemaName(int nSchemaId) const {
    const std::string* pName = Found(mapSchemas, nSchemaId);
    return pName ? *pName : g_strNoName;
}

TDraftTable* TModelDraft::Table(int nObjectId) {
    return Found(mapTables, nObjectId);
}

const TDraftTable* TModelDraft::Table(int nObjectId) const {
    return Found(mapTables, nObjectId);
}

namespace {

// The key of the part of that id among the table's parts of one kind.
template <typename TDraft, typename T>
std::optional<TModelKey> PartKey(const TModelTable& table, const std::vector<TDraft>& aParts,
                                 T TDraft::*pRecord, eModelKind eKind, int nObjectId) {
    for (const TDraft& part : aParts)
        if (part.nObjectId == nObjectId)
            return TModelKey{eKind, table.strSchema, table.strName, (part.*pRecord).strName};
    return std::nullopt;
}

} // namespace

std::optional<TModelKey> TModelDraft::KeyOf(int nObjectId) const {
    if (const TDraftTable* pTable = Table(nObjectId))
        return TModelKey{pTable->bTableType ? eModelKind::TableType : eModelKind::Table,
                         pTable->table.strSchema, std::string(), pTable->table.strName};
    if (const TDraftModule* pModule = Found(mapModules, nObjectId)) {
        const TModelModule& module = pModule->module;
        return TModelKey{module.Kind(), module.strSchema, module.strParent, module.strName};
    }
    if (const TModelSequence* pSequence = Found(mapSequences, nObjectId))
        return TModelKey{eModelKind::Sequence, pSequence->strSchema, std::string(), pSequence->strName};
    if (const TModelSynonym* pSynonym = Found(mapSynonyms, nObjectId))
        return TModelKey{eModelKind::Synonym, pSynonym->strSchema, std::string(), pSynonym->strName};
    if (const TDraftSecurityPolicy* pPolicy = Found(mapSecurityPolicies, nObjectId))
        return TModelKey{eModelKind::SecurityPolicy, pPolicy->policy.strSchema, std::string(),
                         pPolicy->policy.strName};
    const int* pTableId = Found(mapConstraintTables, nObjectId);
    if (!pTableId)
        return std::nullopt;
    const TDraftTable& table = *Table(*pTableId);
    if (auto key = PartKey(table.table, table.aChecks, &TDraftCheck::check, eModelKind::Check, nObjectId))
        return key;
    if (auto key = PartKey(table.table, table.aDefaults, &TDraftDefault::def, eModelKind::Default, nObjectId))
        return key;
    return PartKey(table.table, table.aForeignKeys, &TDraftForeignKey::key, eModelKind::ForeignKey,
                   nObjectId);
}

TModelDataType TModelDraft::DataType(int nUserTypeId, int nMaxLength, int nPrecision, int nScale) const {
    TModelDataType type;
    type.nMaxLength = nMaxLength;
    type.nPrecision = nPrecision;
    type.nScale = nScale;
    const TDraftType* pType = Found(mapTypes, nUserTypeId);
    if (!pType)
        return type;
    type.strName = pType->strName;
    type.strSystemName = type.strName;
    if (!pType->bUserDefined)
        return type;
    type.strSchema = SchemaName(pType->nSchemaId);
    const TDraftType* pBase = Found(mapTypes, pType->nSystemTypeId);
    type.strSystemName = pBase ? pBase->strName : std::string();
    return type;
}

TModelDataType TModelDraft::SystemDataType(const std::string& strName, int nPrecision, int nScale) const {
    for (const auto& [nId, type] : mapTypes)
        if (!type.bUserDefined && type.strName == strName)
            return DataType(nId, type.nMaxLength, nPrecision, nScale);
    return {strName, std::string(), strName, 0, nPrecision, nScale};
}
