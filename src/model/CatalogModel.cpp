#include "model/CatalogModel.h"

#include "platform/Unicode.h"

#include <algorithm>

namespace {

template <typename T>
const T* Find(const std::vector<T>& aRecords, const std::unordered_map<std::string, size_t>& map,
              const std::string& strSchema, const std::string& strName) {
    const auto it = map.find(SchemaNameKey(strSchema, strName));
    return it == map.end() ? nullptr : &aRecords[it->second];
}

template <typename T>
void Index(const std::vector<T>& aRecords, std::unordered_map<std::string, size_t>& map) {
    map.clear();
    for (size_t i = 0; i < aRecords.size(); ++i)
        map.emplace(SchemaNameKey(aRecords[i].strSchema, aRecords[i].strName), i);
}

template <typename T> const T* FindNamed(const std::vector<T>& aRecords, const std::string& strName) {
    const auto it = std::find_if(aRecords.begin(), aRecords.end(),
                                 [&](const T& record) { return record.strName == strName; });
    return it == aRecords.end() ? nullptr : &*it;
}

} // namespace

std::string SchemaNameKey(const std::string& strSchema, const std::string& strName) {
    std::string strKey;
    strKey.reserve(strSchema.size() + 1 + strName.size());
    return strKey.append(strSchema).append(1, '\0').append(strName);
}

const TModelColumn* TModelTable::FindColumn(const std::string& strColumn) const {
    return FindNamed(aColumns, strColumn);
}

const TModelIndex* TModelTable::FindIndex(const std::string& strIndex) const {
    return FindNamed(aIndexes, strIndex);
}

eModelKind TModelModule::Kind() const {
    if (strType == "V")
        return eModelKind::View;
    if (strType == "P")
        return eModelKind::Procedure;
    if (strType == "TR")
        return bOnDatabase ? eModelKind::DatabaseTrigger : eModelKind::Trigger;
    return eModelKind::Function;
}

const TModelTable* TCatalogModel::FindTable(const std::string& strSchema, const std::string& strName) const {
    return Find(aTables, m_mapTables, strSchema, strName);
}

const TModelModule* TCatalogModel::FindModule(const std::string& strSchema,
                                              const std::string& strName) const {
    return Find(aModules, m_mapModules, strSchema, strName);
}

void TCatalogModel::BuildIndex() {
    Index(aTables, m_mapTables);
    Index(aModules, m_mapModules);
}

size_t TModelKeyHash::operator()(const TModelKey& key) const {
    size_t nHash = static_cast<size_t>(key.eKind);
    for (const std::string* pPart : {&key.strSchema, &key.strTable, &key.strName})
        nHash = nHash * 1000003 ^ std::hash<std::string>()(*pPart);
    return nHash;
}

std::string MatchKey(const TModelKey& key) {
    return std::string(1, static_cast<char>('a' + static_cast<int>(key.eKind))) +
           FoldCaseUtf8(key.strSchema) + '\0' + FoldCaseUtf8(key.strTable) + '\0' + FoldCaseUtf8(key.strName);
}
