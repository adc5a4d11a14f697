// Records of small hand-made catalog models, with what the tests do not care about left at its default.
#pragma once

#include "model/CatalogModel.h"

#include <string>

namespace model_parts {

inline TModelColumn Column(const std::string& strName, const std::string& strType = "int") {
    TModelColumn column;
    column.strName = strName;
    column.type = {strType, "", strType, 4, 10, 0};
    return column;
}

inline TModelIndex Index(const std::string& strName, eModelIndexKind eKind, const std::string& strColumn) {
    TModelIndex index;
    index.strName = strName;
    index.eKind = eKind;
    index.bClustered = eKind == eModelIndexKind::PrimaryKey;
    index.bUnique = true;
    index.aKeys = {{strColumn, false}};
    return index;
}

inline TModelTable Table(const std::string& strSchema, const std::string& strName) {
    TModelTable table;
    table.strSchema = strSchema;
    table.strName = strName;
    table.aColumns.push_back(Column("Id"));
    table.aIndexes.push_back(Index("PK_" + strName, eModelIndexKind::PrimaryKey, "Id"));
    return table;
}

inline TModelForeignKey ForeignKey(const std::string& strName, const std::string& strSchema,
                                   const std::string& strTable, const std::string& strKeyIndex) {
    TModelForeignKey key;
    key.strName = strName;
    key.strReferencedSchema = strSchema;
    key.strReferencedTable = strTable;
    key.strKeyIndex = strKeyIndex;
    key.aColumns = {{"ParentId", "Id"}};
    return key;
}

inline TModelModule Module(const std::string& strName, const std::string& strType,
                           const std::string& strDefinition, bool bSchemaBound = false) {
    TModelModule module;
    module.strSchema = "dbo";
    module.strName = strName;
    module.strType = strType;
    module.strDefinition = strDefinition;
    module.bSchemaBound = bSchemaBound;
    return module;
}

} // namespace model_parts
