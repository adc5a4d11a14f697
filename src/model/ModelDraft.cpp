#include "model/ModelDraft.h"

namespace {

const std::string g_strNoName;

} // namespace

const std::string& TModelDraft::SchemaName(int nSchemaId) const {
    const auto it = mapSchemas.find(nSchemaId);
    return it == mapSchemas.end() ? g_strNoName : it->second;
}

TModelTable* TModelDraft::Table(int nObjectId) {
    const auto it = mapTables.find(nObjectId);
    return it == mapTables.end() ? nullptr : &it->second;
}

TModelDataType TModelDraft::DataType(int nUserTypeId, int nMaxLength, int nPrecision, int nScale) const {
    TModelDataType type;
    type.nMaxLength = nMaxLength;
    type.nPrecision = nPrecision;
    type.nScale = nScale;
    const auto it = mapTypes.find(nUserTypeId);
    if (it == mapTypes.end())
        return type;
    type.strName = it->second.strName;
    type.strSystemName = type.strName;
    if (!it->second.bUserDefined)
        return type;
    type.strSchema = SchemaName(it->second.nSchemaId);
    const auto base = mapTypes.find(it->second.nSystemTypeId);
    type.strSystemName = base == mapTypes.end() ? std::string() : base->second.strName;
    return type;
}

TModelDataType TModelDraft::SystemDataType(const std::string& strName, int nPrecision, int nScale) const {
    for (const auto& [nId, type] : mapTypes)
        if (!type.bUserDefined && type.strName == strName)
            return DataType(nId, type.nMaxLength, nPrecision, nScale);
    return {strName, std::string(), strName, 0, nPrecision, nScale};
}
