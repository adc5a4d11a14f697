#include "compare/MigrationText.h"

#include "platform/Text.h"
#include "recreate/DdlText.h"
#include "recreate/RecreateKinds.h"

#include <algorithm>
#include <array>
#include <strings.h>

namespace {

// The first line of every batch after the transaction began: once a failure has rolled the transaction back,
// nothing after it runs outside one.
const std::string kGuard =
    "IF @@TRANCOUNT = 0 THROW 50000, N'An earlier statement of this migration failed: it "
    "was rolled back whole, and this batch does not run.', 1;";

std::string Line(const std::string& str) {
    return str + kLineEnd;
}

// Stops the migration with the error: rolled back, as every failure is.
TStatement Stop(const std::string& strCondition, const std::string& strMessage) {
    return {"IF " + strCondition + " THROW 50001, " + UnicodeLiteral(strMessage) + ", 1;"};
}

std::string TableName(const TModelTable& table) {
    return QuoteName(table.strSchema, table.strName);
}

// Types whose values T-SQL cannot compare: no check of their values is written.
bool IsComparable(const TModelDataType& type) {
    static constexpr std::array<std::string_view, 9> aNot = {
        "text", "ntext", "image", "xml", "geography", "geometry", "hierarchyid", "timestamp", "sql_variant"};
    return std::find(aNot.begin(), aNot.end(), type.strSystemName) == aNot.end();
}

const TTablePart<TModelColumn>* ColumnOf(const TCompareObject& object) {
    return std::get_if<TTablePart<TModelColumn>>(&object.object);
}

// The checks before a drop of what only FROM has: a table that holds rows, a column that holds values.
TStatements DropChecks(const TCompareObject& object) {
    if (const TModelTable* const* ppTable = std::get_if<const TModelTable*>(&object.object))
        return {Stop("EXISTS (SELECT 1 FROM " + TableName(**ppTable) + ")",
                     object.strName + " holds rows: the migration does not drop it")};
    const TTablePart<TModelColumn>* pColumn = ColumnOf(object);
    if (!pColumn || pColumn->pPart->computed)
        return {};
    return {Stop("EXISTS (SELECT 1 FROM " + TableName(*pColumn->pTable) + " WHERE " +
                     QuoteName(pColumn->pPart->strName) + " IS NOT NULL)",
                 "column " + object.strName + " holds values: the migration does not drop it")};
}

// A column that takes no value of its own cannot be added to a table that holds rows.
TStatements MakeChecks(const TCompareObject& object, const TMigrationContext& context) {
    const TTablePart<TModelColumn>* pPart = ColumnOf(object);
    if (!pPart)
        return {};
    const TModelTable* pTable = pPart->pTable;
    const TModelColumn* pColumn = pPart->pPart;
    const bool bDefault =
        std::any_of(pTable->aDefaults.begin(), pTable->aDefaults.end(), [&](const TModelDefault& def) {
            return def.strColumn == pColumn->strName && context.planTo.setInlineDefaults.count(&def);
        });
    if (pColumn->bNullable || pColumn->identity || pColumn->computed || bDefault || pColumn->IsRowVersion())
        return {};
    return {Stop("EXISTS (SELECT 1 FROM " + TableName(*pTable) + ")",
                 "column " + object.strName +
                     " takes no NULL and has no default: it cannot be added to a table that holds rows")};
}

// A column changed in place: the values its new type does not hold, and NULL where it is to take none, stop
// the migration.
TStatements AlterChecks(const TMigrationAction& action, const TMigrationContext& context) {
    const TTablePart<TModelColumn>* pPart = ColumnOf(*action.pTo);
    if (!pPart)
        return {};
    const auto& [pTable, pTo] = *pPart;
    const TModelColumn& fromColumn = *ColumnOf(*action.pFrom)->pPart;
    const std::string strColumn = QuoteName(pTo->strName);
    const std::string strTo = DataTypeText(pTo->type);
    TStatements aChecks;
    if (IsNarrowing(fromColumn.type, pTo->type) && IsComparable(fromColumn.type))
        aChecks.push_back(Stop("EXISTS (SELECT 1 FROM " + TableName(*pTable) + " WHERE " + strColumn +
                                   " IS NOT NULL AND (TRY_CAST(" + strColumn + " AS " + strTo +
                                   ") IS NULL OR CAST(TRY_CAST(" + strColumn + " AS " + strTo + ") AS " +
                                   DataTypeText(fromColumn.type) + ") <> " + strColumn + "))",
                               "column " + action.pTo->strName + " holds values that " + TypeText(pTo->type) +
                                   " does not hold: the migration does not change it"));
    if (fromColumn.bNullable && !pTo->bNullable && context.options.dialect.bAlterColumnNullability)
        aChecks.push_back(
            Stop("EXISTS (SELECT 1 FROM " + TableName(*pTable) + " WHERE " + strColumn + " IS NULL)",
                 "column " + action.pTo->strName + " holds NULL, which it is to take no more"));
    return aChecks;
}

TStatements Checked(TStatements aChecks, TStatements aStatements) {
    aChecks.insert(aChecks.end(), std::make_move_iterator(aStatements.begin()),
                   std::make_move_iterator(aStatements.end()));
    return aChecks;
}

// The table made anew with TO's columns under another name, FROM's rows copied in, FROM's table dropped and
// the new one given its name; its keys, constraints, indexes and triggers are made after.
TStatements RebuildStatements(const TMigrationAction& action, const TMigrationContext& context) {
    const TModelTable& from = *std::get<const TModelTable*>(action.pFrom->object);
    const TModelTable& to = *std::get<const TModelTable*>(action.pTo->object);
    const std::string strNew = to.strName + "__rebuilt";
    const std::string strNewName = QuoteName(to.strSchema, strNew);
    TStatements aStatements{ColumnsTableStatement(to, strNew, context.to)};
    std::vector<std::string> aCopied;
    bool bIdentity = false;
    for (const TModelColumn& column : to.aColumns) {
        const auto it =
            std::find_if(from.aColumns.begin(), from.aColumns.end(), [&](const TModelColumn& old) {
                return strcasecmp(old.strName.c_str(), column.strName.c_str()) == 0;
            });
        if (it == from.aColumns.end() || it->computed || column.computed || column.IsRowVersion())
            continue;
        aCopied.push_back(QuoteName(column.strName));
        bIdentity = bIdentity || column.identity.has_value();
    }
    TStatements aCopy;
    for (const TModelColumn& column : from.aColumns)
        if (!to.FindColumn(column.strName) && !column.computed)
            aCopy.push_back(Stop("EXISTS (SELECT 1 FROM " + TableName(from) + " WHERE " +
                                     QuoteName(column.strName) + " IS NOT NULL)",
                                 "column " + from.strSchema + "." + from.strName + "." + column.strName +
                                     " holds values: the migration does not drop it"));
    if (bIdentity)
        aCopy.push_back({"SET IDENTITY_INSERT " + strNewName + " ON;"});
    if (!aCopied.empty())
        aCopy.push_back({"INSERT INTO " + strNewName + " (" + JoinText(aCopied) + ") SELECT " +
                         JoinText(aCopied) + " FROM " + TableName(from) + ";"});
    if (bIdentity)
        aCopy.push_back({"SET IDENTITY_INSERT " + strNewName + " OFF;"});
    if (!aCopy.empty())
        aCopy.front().ePlace = eBatchPlace::Begins;
    aStatements.insert(aStatements.end(), aCopy.begin(), aCopy.end());
    aStatements.push_back({"DROP TABLE " + TableName(from) + ";", eBatchPlace::Begins});
    aStatements.push_back({"EXEC sys.sp_rename " + UnicodeLiteral(to.strSchema + "." + strNew) + ", " +
                               UnicodeLiteral(to.strName) + ", N'OBJECT';",
                           eBatchPlace::Begins});
    return aStatements;
}

} // namespace

TStatements ActionStatements(const TMigrationAction& action, const TMigrationContext& context) {
    switch (action.eStep) {
    case eMigrationStep::Drop: {
        const TCompareObject& object = *action.pFrom;
        return Checked(action.bRemoved ? DropChecks(object) : TStatements(),
                       RecreateKind(object.key.eKind)
                           .pfnDrop({object.key, object.object}, {context.from, context.planFrom}));
    }
    case eMigrationStep::Make: {
        const TCompareObject& object = *action.pTo;
        return Checked(MakeChecks(object, context),
                       RecreateKind(object.key.eKind)
                           .pfnCreate({object.key, object.object}, {context.to, context.planTo}));
    }
    case eMigrationStep::Alter: {
        const TDdlContext to{context.to, context.planTo};
        return Checked(AlterChecks(action, context),
                       action.pfnAlter(action.pFrom->object, action.pTo->object,
                                       {to, context.options.dialect, context.options.bRestartSequences}));
    }
    case eMigrationStep::Rebuild:
        return RebuildStatements(action, context);
    }
    return {};
}

std::string MigrationScript(const std::vector<TMigrationAction>& aActions, const TMigrationContext& context) {
    std::string strScript;
    for (const std::string& strLine : context.options.aHeader)
        strScript += Line("-- " + strLine);
    strScript +=
        Line("-- The migration is one transaction (SET XACT_ABORT ON): a statement that fails rolls back "
             "everything before it, and every batch after it stops at its first line without running.");
    strScript += Line("SET XACT_ABORT ON;") + Line("BEGIN TRANSACTION;") + kGo;
    for (const TMigrationAction& action : aActions)
        AppendBatches(strScript, ActionStatements(action, context), kGuard);
    return strScript + Line(kGuard) + Line("COMMIT TRANSACTION;") + kGo;
}
