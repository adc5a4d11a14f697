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
    TDraftColumn* pColumn = FindById(aColumns, &TDraftColumn::nColumnId, nColumnId);
    return pColumn ? &pColumn->column : nullptr;
}

const std::string& TDraftTable::ColumnName(int nColumnId) const {
    const TModelColumn* pColumn = const_cast<TDraftTable*>(this)->FindColumn(nColumnId);
    return pColumn ? pColumn->strName : g_strNoName;
}

TDraftIndex* TDraftTable::FindIndex(int nIndexId) {
    return FindById(aIndexes, &TDraftIndex::nIndexId, nIndexId);
}

const TDraftIndex* TDraftTable::FindIndex(int nIndexId) const {
    return const_cast<TDraftTable*>(this)->FindIndex(nIndexId);
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
