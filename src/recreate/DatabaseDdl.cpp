#include "recreate/DatabaseDdl.h"

#include "model/ModelError.h"
#include "platform/Exceptions.h"
#include "recreate/DdlText.h"
#include "recreate/Statements.h"

#include <array>
#include <memory>
#include <optional>

namespace {

struct TOptionColumn {
    size_t nColumn;
    std::string_view strOption;
    std::string_view strNewDefault; // what a new database has where the server lists no model database
};

// The columns of kDatabaseOptions after is_source and collation_name, in order; a new database's values
// as the server documents them. The compatibility level of a new one is the server's own: written always
// when the model database is not listed.
constexpr std::array<TOptionColumn, 12> g_aOptions = {{{2, "ANSI_NULL_DEFAULT", "OFF"},
                                                       {3, "ANSI_NULLS", "OFF"},
                                                       {4, "ANSI_PADDING", "OFF"},
                                                       {5, "ANSI_WARNINGS", "OFF"},
                                                       {6, "ARITHABORT", "OFF"},
                                                       {7, "CONCAT_NULL_YIELDS_NULL", "OFF"},
                                                       {8, "NUMERIC_ROUNDABORT", "OFF"},
                                                       {9, "QUOTED_IDENTIFIER", "OFF"},
                                                       {10, "READ_COMMITTED_SNAPSHOT", "OFF"},
                                                       {11, "ALLOW_SNAPSHOT_ISOLATION", "OFF"},
                                                       {12, "RECOVERY", "FULL"},
                                                       {13, "COMPATIBILITY_LEVEL", ""}}};

// A bit as ON or OFF; snapshot_isolation_state is ON while it turns on (3) and OFF while it turns off (2).
std::optional<std::string> OptionValue(const TOptionColumn& column, const TDbValue& value) {
    if (!value)
        return std::nullopt;
    const std::string strValue(*value);
    if (column.strOption == "RECOVERY" || column.strOption == "COMPATIBILITY_LEVEL")
        return strValue;
    return strValue == "1" || strValue == "3" ? "ON" : "OFF";
}

using TOptionValues = std::array<std::optional<std::string>, g_aOptions.size()>;

TOptionValues ReadValues(const TDbRow& row) {
    TOptionValues aValues;
    for (size_t i = 0; i < g_aOptions.size(); ++i)
        aValues[i] = OptionValue(g_aOptions[i], row[g_aOptions[i].nColumn]);
    return aValues;
}

} // namespace

TDatabaseSettings ReadDatabaseSettings(CDbConnection& db) {
    TDatabaseSettings settings;
    std::optional<TOptionValues> source, model;
    try {
        const std::unique_ptr<CDbResult> pResult = db.Execute(std::string(kDatabaseOptions), true);
        while (const std::optional<TDbRow> row = pResult->Fetch()) {
            const bool bSource = (*row)[0] && *(*row)[0] == "1";
            if (bSource && (*row)[1])
                settings.strCollation = std::string(*(*row)[1]);
            (bSource ? source : model) = ReadValues(*row);
        }
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        throw CModelError(eModelTask::ReadCatalog, "database options", e->GetErrorText().Str(),
                          std::string(kDatabaseOptions));
    }
    if (!source)
        throw CModelError(eModelTask::ReadCatalog, "database options",
                          "sys.databases has no row of the database", std::string(kDatabaseOptions));
    for (size_t i = 0; i < g_aOptions.size(); ++i) {
        const std::optional<std::string>& value = (*source)[i];
        const std::optional<std::string> fresh =
            model ? (*model)[i] : std::optional<std::string>(g_aOptions[i].strNewDefault);
        if (value && value != fresh)
            settings.aSettings.push_back({std::string(g_aOptions[i].strOption), *value});
    }
    return settings;
}

std::string CreateDatabaseScript(std::string_view strName, const TDatabaseSettings& settings) {
    const std::string strDatabase = QuoteName(strName);
    std::string strCreate = "CREATE DATABASE " + strDatabase;
    if (!settings.strCollation.empty())
        strCreate += " COLLATE " + settings.strCollation;
    TStatements aStatements{{strCreate + ";"}};
    for (const TDatabaseSetting& setting : settings.aSettings) {
        const std::string strAssign = setting.strOption == "COMPATIBILITY_LEVEL" ? " = " : " ";
        aStatements.push_back({"ALTER DATABASE " + strDatabase + " SET " + setting.strOption + strAssign +
                                   setting.strValue + ";",
                               eBatchPlace::Begins});
    }
    aStatements.push_back({"USE " + strDatabase + ";", eBatchPlace::Begins});
    return ScriptText(std::move(aStatements));
}
