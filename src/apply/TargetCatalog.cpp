#include "apply/TargetCatalog.h"

#include "platform/Unicode.h"
#include "recreate/CreateWords.h"

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

// Schemas, types and the objects of sys.objects each have names of their own (in eNameSpace's order, after
// None). Names are asked for as nvarchar, as the model does, so that they compare with the scripts' on a
// server that types them varchar.
std::set<std::string> ExistingNames(CDbConnection& connection, eNameSpace eNames) {
    static const char* const s_apszSql[] = {
        "", "SELECT '', CAST(name AS nvarchar(128)) FROM sys.schemas",
        "SELECT CAST(s.name AS nvarchar(128)), CAST(t.name AS nvarchar(128)) FROM sys.types t JOIN "
        "sys.schemas s ON s.schema_id = t.schema_id "
        "WHERE t.is_user_defined = 1",
        "SELECT CAST(s.name AS nvarchar(128)), CAST(o.name AS nvarchar(128)) FROM sys.objects o JOIN "
        "sys.schemas s ON s.schema_id = o.schema_id "
        "WHERE o.is_ms_shipped = 0"};
    std::set<std::string> names;
    for (const std::vector<std::string>& row : Rows(connection, s_apszSql[static_cast<int>(eNames)]))
        names.insert(FoldedKey(row.at(0), row.at(1)));
    return names;
}

} // namespace

std::vector<TPlannedObject> FindExistingObjects(CDbConnection& connection, const TApplyPlan& plan) {
    std::vector<TPlannedObject> aExisting;
    if (plan.aCreated.empty())
        return aExisting;
    const std::string strDefaultSchema = DefaultSchema(connection);
    std::map<eNameSpace, std::set<std::string>> mapNames;
    for (const TPlannedObject& planned : plan.aCreated) {
        const eNameSpace eNames = CreateWordOf(planned.object.eKind).eNames;
        if (eNames == eNameSpace::None)
            continue;
        const auto [it, bNew] = mapNames.try_emplace(eNames);
        if (bNew)
            it->second = ExistingNames(connection, eNames);
        const TScriptName& name = planned.object.name;
        const std::string strSchema = eNames == eNameSpace::Schemas ? std::string()
                                      : name.strSchema.empty()      ? strDefaultSchema
                                                                    : name.strSchema;
        if (it->second.count(FoldedKey(strSchema, name.strName)))
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
