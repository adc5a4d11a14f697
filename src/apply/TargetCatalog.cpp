#include "apply/TargetCatalog.h"

#include "platform/Unicode.h"
#include "recreate/CreateWords.h"

#include <algorithm>
#include <map>
#include <memory>

namespace {

using TRows = std::vector<std::vector<std::string>>;

TRows Rows(CDbConnection& connection, const std::string& strSql) {
    const std::unique_ptr<CDbResult> pResult = connection.Execute(strSql, true);
    TRows aRows;
    while (const std::optional<TDbRow> row = pResult->Fetch()) {
        std::vector<std::string>& aValues = aRows.emplace_back();
        for (const TDbValue& value : *row)
            aValues.emplace_back(*value);
    }
    return aRows;
}

// The schema that a name written without one is created in.
std::string DefaultSchema(CDbConnection& connection) {
    const TRows aRows = Rows(connection, "SELECT CAST(SCHEMA_NAME() AS nvarchar(128))");
    return aRows.empty() || aRows[0].empty() || aRows[0][0].empty() ? "dbo" : aRows[0][0];
}

std::string FoldedKey(const std::string& strSchema, const std::string& strName) {
    return FoldCaseUtf8(strSchema) + "." + FoldCaseUtf8(strName);
}

// The names of one name space, as the statement that lists them gives them.
std::set<std::string> ExistingNames(CDbConnection& connection, std::string_view strNames) {
    std::set<std::string> names;
    for (const std::vector<std::string>& row : Rows(connection, std::string(strNames)))
        names.insert(FoldedKey(row.at(0), row.at(1)));
    return names;
}

// An object's name space (the statement that lists its names) and its name there; a name without a schema
// is in the default one.
using TObjectKey = std::pair<std::string_view, std::string>;

TObjectKey ObjectKey(const TCreatedObject& object, const std::string& strDefaultSchema) {
    const TCreateWord& create = CreateWordOf(object.eKind);
    const std::string strSchema = !create.bInSchema               ? std::string()
                                  : object.name.strSchema.empty() ? strDefaultSchema
                                                                  : object.name.strSchema;
    return {create.strNames, FoldedKey(strSchema, object.name.strName)};
}

bool IsDroppedFirst(const TPlannedObject& planned,
                    const std::multimap<TObjectKey, const TPlannedObject*>& mapDrops, const TObjectKey& key) {
    const auto [first, end] = mapDrops.equal_range(key);
    return std::any_of(first, end, [&planned](const auto& drop) {
        return std::pair(drop.second->nFile, drop.second->nLine) <= std::pair(planned.nFile, planned.nLine);
    });
}

} // namespace

std::vector<TPlannedObject> FindExistingObjects(CDbConnection& connection, const TApplyPlan& plan) {
    std::vector<TPlannedObject> aExisting;
    if (plan.aCreated.empty())
        return aExisting;
    const std::string strDefaultSchema = DefaultSchema(connection);
    std::multimap<TObjectKey, const TPlannedObject*> mapDrops;
    for (const TPlannedObject& dropped : plan.aDropped)
        mapDrops.emplace(ObjectKey(dropped.object, strDefaultSchema), &dropped);
    std::map<std::string_view, std::set<std::string>> mapNames; // by the statement that lists them
    for (const TPlannedObject& planned : plan.aCreated) {
        const TCreateWord& create = CreateWordOf(planned.object.eKind);
        const TObjectKey key = ObjectKey(planned.object, strDefaultSchema);
        if (create.strNames.empty() || IsDroppedFirst(planned, mapDrops, key))
            continue;
        const auto [it, bNew] = mapNames.try_emplace(create.strNames);
        if (bNew)
            it->second = ExistingNames(connection, create.strNames);
        if (it->second.count(key.second))
            aExisting.push_back(planned);
    }
    return aExisting;
}

CTargetTables::CTargetTables(CDbConnection& connection) : m_strDefaultSchema(DefaultSchema(connection)) {
    for (const std::vector<std::string>& row :
         Rows(connection, "SELECT CAST(OBJECT_SCHEMA_NAME(parent_object_id) AS nvarchar(128)), "
                          "CAST(OBJECT_NAME(parent_object_id) AS nvarchar(128)), "
                          "CAST(OBJECT_SCHEMA_NAME(referenced_object_id) AS nvarchar(128)), "
                          "CAST(OBJECT_NAME(referenced_object_id) AS nvarchar(128)) "
                          "FROM sys.foreign_keys WHERE is_disabled = 0"))
        m_references.emplace(FoldedKey(row.at(0), row.at(1)), FoldedKey(row.at(2), row.at(3)));
    for (const std::vector<std::string>& row :
         Rows(connection, "SELECT CAST(OBJECT_SCHEMA_NAME(object_id) AS nvarchar(128)), "
                          "CAST(OBJECT_NAME(object_id) AS nvarchar(128)) "
                          "FROM sys.identity_columns"))
        m_identityTables.insert(FoldedKey(row.at(0), row.at(1)));
}

std::string CTargetTables::Key(const TScriptName& name) const {
    return FoldedKey(name.strSchema.empty() ? m_strDefaultSchema : name.strSchema, name.strName);
}

bool CTargetTables::References(const TScriptName& table, const TScriptName& referenced) const {
    return m_references.count({Key(table), Key(referenced)}) > 0;
}

bool CTargetTables::HasIdentity(const TScriptName& table) const {
    return m_identityTables.count(Key(table)) > 0;
}
