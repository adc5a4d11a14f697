// What system-versioned and graph tables have beside their CREATE TABLE: SYSTEM_VERSIONING, the period's
// changes, the statements around their rows, and edge constraints.
#include "platform/Text.h"
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"

namespace {

template <typename T> const TTablePart<T>& Part(const TPlanObject& object) {
    return std::get<TTablePart<T>>(object);
}

std::string TableName(const TModelTable& table) {
    return QuoteName(table.strSchema, table.strName);
}

std::string RetentionOption(const TModelVersioning& versioning) {
    return "HISTORY_RETENTION_PERIOD = " +
           (versioning.strRetention.empty() ? std::string("INFINITE") : versioning.strRetention);
}

// Where a hidden period column shows again once its period is added back.
std::string IfShown(const TModelTable& table, const TModelColumn& column) {
    return "IF EXISTS (SELECT 1 FROM sys.columns WHERE object_id = OBJECT_ID(" +
           UnicodeLiteral(TableName(table)) + ") AND name = " + UnicodeLiteral(column.strName) +
           " AND is_hidden = 0) ";
}

} // namespace

TStatements DropPeriod(const TModelTable& table) {
    return {{AlterTable(table) + " DROP PERIOD FOR SYSTEM_TIME;"}};
}

TStatements AddPeriod(const TModelTable& table) {
    TStatements aStatements{{AlterTable(table) + " ADD PERIOD FOR SYSTEM_TIME (" +
                             QuoteName(table.period->strStart) + ", " + QuoteName(table.period->strEnd) +
                             ");"}};
    for (const TModelColumn& column : table.aColumns)
        if (column.bHidden)
            aStatements.push_back({IfShown(table, column) + AlterTable(table) + " ALTER COLUMN " +
                                   QuoteName(column.strName) + " ADD HIDDEN;"});
    return aStatements;
}

TStatements VersioningOff(const TModelTable& table) {
    return {{"IF OBJECTPROPERTY(OBJECT_ID(" + UnicodeLiteral(TableName(table)) +
             "), 'TableTemporalType') = 2 " + AlterTable(table) + " SET (SYSTEM_VERSIONING = OFF);"}};
}

// The retention only where the server said it is finite: ON without it keeps the history for ever, on every
// version that has SYSTEM_VERSIONING.
TStatements VersioningOn(const TModelTable& table) {
    const TModelVersioning& versioning = *table.versioning;
    std::string str = AlterTable(table) + " SET (SYSTEM_VERSIONING = ON (HISTORY_TABLE = " +
                      QuoteName(versioning.strHistorySchema, versioning.strHistoryTable) +
                      ", DATA_CONSISTENCY_CHECK = ON";
    if (!versioning.strRetention.empty())
        str += ", " + RetentionOption(versioning);
    return {{str + "));"}};
}

TStatements CreateVersioning(TDdlObject object, const TDdlContext& /*context*/) {
    return VersioningOn(*Part<TModelVersioning>(object.object).pTable);
}

TStatements DropVersioning(TDdlObject object, const TDdlContext& /*context*/) {
    return VersioningOff(*Part<TModelVersioning>(object.object).pTable);
}

TStatements DropTable(TDdlObject object, const TDdlContext& context) {
    const TModelTable& table = *std::get<const TModelTable*>(object.object);
    TStatements aStatements = table.versioning ? VersioningOff(table) : TStatements();
    for (TStatement& statement : DropSchemaObject(object, context))
        aStatements.push_back(std::move(statement));
    return aStatements;
}

TStatements CreateEdgeConstraint(TDdlObject object, const TDdlContext& /*context*/) {
    const auto& [pTable, pConstraint] = Part<TModelEdgeConstraint>(object.object);
    std::vector<std::string> aConnections;
    for (const TModelConnection& connection : pConstraint->aConnections)
        aConnections.push_back(QuoteName(connection.strFromSchema, connection.strFromTable) + " TO " +
                               QuoteName(connection.strToSchema, connection.strToTable));
    return {{AlterTable(*pTable) + " ADD CONSTRAINT " + QuoteName(pConstraint->strName) + " CONNECTION (" +
             JoinText(aConnections) + ")" + (pConstraint->bOnDeleteCascade ? " ON DELETE CASCADE" : "") +
             ";"}};
}

TStatements AlterRetention(const TPlanObject& /*from*/, const TPlanObject& to,
                           const TAlterContext& /*context*/) {
    const auto& [pTable, pVersioning] = Part<TModelVersioning>(to);
    return {{AlterTable(*pTable) + " SET (SYSTEM_VERSIONING = ON (" + RetentionOption(*pVersioning) + "));"}};
}

TStatements AlterPeriod(const TPlanObject& fromObject, const TPlanObject& toObject,
                        const TAlterContext& /*context*/) {
    const TModelTable& from = *std::get<const TModelTable*>(fromObject);
    const TModelTable& to = *std::get<const TModelTable*>(toObject);
    TStatements aStatements = from.period ? DropPeriod(to) : TStatements();
    if (to.period)
        aStatements.push_back(AddPeriod(to).front());
    return aStatements;
}

TStatements AlterColumnHidden(const TPlanObject& /*from*/, const TPlanObject& to,
                              const TAlterContext& /*context*/) {
    const auto& [pTable, pColumn] = Part<TModelColumn>(to);
    return {{AlterTable(*pTable) + " ALTER COLUMN " + QuoteName(pColumn->strName) +
             (pColumn->bHidden ? " ADD HIDDEN;" : " DROP HIDDEN;")}};
}

TStatements AlteredElsewhere(const TPlanObject& /*from*/, const TPlanObject& /*to*/,
                             const TAlterContext& /*context*/) {
    return {};
}
