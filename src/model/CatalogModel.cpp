#include "model/CatalogModel.h"

#include <algorithm>

namespace {

template <typename T>
const T* Find(const std::vector<T>& aRecords, const std::unordered_map<int, size_t>& map, int nId) {
    const auto it = map.find(nId);
    return it == map.end() ? nullptr : &aRecords[it->second];
}

template <typename T, typename Key>
void Index(const std::vector<T>& aRecords, std::unordered_map<int, size_t>& map, Key key) {
    map.clear();
    for (size_t i = 0; i < aRecords.size(); ++i)
        map.emplace(aRecords[i].*key, i);
}

} // namespace

const TModelColumn* TModelTable::FindColumn(int nColumnId) const {
    const auto it = std::find_if(aColumns.begin(), aColumns.end(),
                                 [&](const TModelColumn& column) { return column.nColumnId == nColumnId; });
    return it == aColumns.end() ? nullptr : &*it;
}

const TModelIndex* TModelTable::FindIndex(int nIndexId) const {
    const auto it = std::find_if(aIndexes.begin(), aIndexes.end(),
                                 [&](const TModelIndex& index) { return index.nIndexId == nIndexId; });
    return it == aIndexes.end() ? nullptr : &*it;
}

const TModelTable* TCatalogModel::FindTable(int nObjectId) const {
    return Find(aTables, m_mapTables, nObjectId);
}

const TModelModule* TCatalogModel::FindModule(int nObjectId) const {
    return Find(aModules, m_mapModules, nObjectId);
}

const TModelType* TCatalogModel::FindType(int nUserTypeId) const {
    return Find(aTypes, m_mapTypes, nUserTypeId);
}

void TCatalogModel::BuildIndex() {
    Index(aTables, m_mapTables, &TModelTable::nObjectId);
    Index(aModules, m_mapModules, &TModelModule::nObjectId);
    Index(aTypes, m_mapTypes, &TModelType::nUserTypeId);
}
