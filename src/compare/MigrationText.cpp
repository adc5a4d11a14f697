#include "compare/MigrationText.h"

#include "platform/Text.h"
#include "platform/Unicode.h"
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

// The temporary table the batch that commits makes: the mark, for the rest of the session, that the
// transaction committed.
const std::string kCommitted = "#sqlscripts_committed";

// The first line of every batch after the transaction: what comes after it runs only where it committed.
const std::string kCommittedGuard =
    "IF OBJECT_ID(N'tempdb.." + kCommitted +
    "') IS NULL THROW 50000, N'The migration''s transaction did not commit: this batch does not run.', 1;";

std::string Line(const std::string& str) {
    return str + LineEnd();
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

// The system type of an alias type's values: its base type, as declared; typed xml untyped.
TModelDataType BaseType(const TModelDataType& type, const TCatalogModel& model) {
    if (type.IsTypedXml()) {
        TModelDataType untyped = type;
        untyped.strXmlSchema.clear();
        untyped.strXmlCollection.clear();
        untyped.bXmlDocument = false;
        return untyped;
    }
    if (!type.IsUserDefined())
        return type;
    const auto it = std::find_if(model.aTypes.begin(), model.aTypes.end(), [&](const TModelType& alias) {
        return !alias.table && FoldCaseUtf8(alias.strSchema) == FoldCaseUtf8(type.strSchema) &&
               FoldCaseUtf8(alias.strName) == FoldCaseUtf8(type.strName);
    });
    return it == model.aTypes.end() ? type : it->base;
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
    const TModelDataType fromType = BaseType(fromColumn.type, context.from);
    const std::string strTo = DataTypeText(BaseType(pTo->type, context.to));
    TStatements aChecks;
    if (IsNarrowing(fromType, BaseType(pTo->type, context.to)) && IsComparable(fromType))
        aChecks.push_back(Stop("EXISTS (SELECT 1 FROM " + TableName(*pTable) + " WHERE " + strColumn +
                                   " IS NOT NULL AND (TRY_CAST(" + strColumn + " AS " + strTo +
                                   ") IS NULL OR CAST(TRY_CAST(" + strColumn + " AS " + strTo + ") AS " +
                                   DataTypeText(fromType) + ") <> " + strColumn + "))",
                               "column " + action.pTo->strName + " holds values that " + TypeText(pTo->type) +
                                   " does not hold: the migration does not change it"));
    if (fromColumn.bNullable && !pTo->bNullable && context.options.dialect.bAlterColumnNullability)
        aChecks.push_back(
            Stop("EXISTS (SELECT 1 FROM " + TableName(*pTable) + " WHERE " + strColumn + " IS NULL)",
                 "column " + action.pTo->strName + " holds NULL, which it is to take no more"));
    return aChecks;
}

// FROM's column with its alias type's base type in place of the type.
TStatements DetachStatements(const TCompareObject& object, const TMigrationContext& context) {
    const auto& [pTable, pColumn] = *ColumnOf(object);
    TModelColumn detached = *pColumn;
    detached.type = BaseType(pColumn->type, context.from);
    const TDdlContext from{context.from, context.planFrom};
    return AlterColumn(object.object, TTablePart<TModelColumn>{pTable, &detached},
                       {from, context.options.dialect, false});
}

TStatements Checked(TStatements aChecks, TStatements aStatements) {
    aChecks.insert(aChecks.end(), std::make_move_iterator(aStatements.begin()),
                   std::make_move_iterator(aStatements.end()));
    return aChecks;
}

// The new table goes on from where FROM's identity stood when the migration ran, rows deleted since the
// diff counted: on a table that has rows, the server hands out the reseed value plus the increment next; on
// one that never had any, the value itself. DBCC CHECKIDENT takes a constant only, hence the text run.
TStatement Reseed(const TModelTable& to, const std::string& strNewName) {
    const auto identity =
        std::find_if(to.aColumns.begin(), to.aColumns.end(),
                     [](const TModelColumn& column) { return column.identity.has_value(); });
    const std::string strNext = "@nLastIdentity + (" + identity->identity->strIncrement + ")";
    return {"IF @nLastIdentity IS NOT NULL\r\nBEGIN\r\n    DECLARE @strReseed nvarchar(max) = N'DBCC "
            "CHECKIDENT (" +
            Doubled(SqlLiteral(strNewName), '\'') + ", RESEED, ' + CONVERT(nvarchar(40), CASE WHEN EXISTS " +
            "(SELECT 1 FROM " + strNewName + ") THEN @nLastIdentity ELSE " + strNext + " END) + N');';\r\n" +
            "    EXEC sys.sp_executesql @strReseed;\r\nEND"};
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
    bool bKeepsPosition = false; // an identity column of FROM's stays one
    for (const TModelColumn& column : to.aColumns) {
        const auto it =
            std::find_if(from.aColumns.begin(), from.aColumns.end(), [&](const TModelColumn& old) {
                return strcasecmp(old.strName.c_str(), column.strName.c_str()) == 0;
            });
        if (it == from.aColumns.end() || it->computed || column.computed || column.IsRowVersion())
            continue;
        aCopied.push_back(QuoteName(column.strName));
        bIdentity = bIdentity || column.identity.has_value();
        bKeepsPosition = bKeepsPosition || (column.identity && it->identity);
    }
    TStatements aCopy;
    if (bKeepsPosition)
        aCopy.push_back({"DECLARE @nLastIdentity numeric(38, 0) = (SELECT CAST(last_value AS numeric(38, 0)) "
                         "FROM sys.identity_columns WHERE object_id = OBJECT_ID(" +
                         UnicodeLiteral(TableName(from)) + "));"});
    if (bIdentity)
        aCopy.push_back({"SET IDENTITY_INSERT " + strNewName + " ON;"});
    if (!aCopied.empty())
        aCopy.push_back({"INSERT INTO " + strNewName + " (" + JoinText(aCopied) + ") SELECT " +
                         JoinText(aCopied) + " FROM " + TableName(from) + ";"});
    if (bIdentity)
        aCopy.push_back({"SET IDENTITY_INSERT " + strNewName + " OFF;"});
    if (bKeepsPosition)
        aCopy.push_back(Reseed(to, strNewName));
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
        return RecreateKind(object.key.eKind)
            .pfnDrop({object.key, object.object}, {context.from, context.planFrom});
    }
    case eMigrationStep::Detach:
        return DetachStatements(*action.pFrom, context);
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
    case eMigrationStep::Rename:
        return {CRenames::Statement({action.pFrom->key, action.pTo->key.strName})};
    }
    return {};
}

namespace {

// Stoplists and search property lists could change inside the transaction, but go with the indexes that use
// them: dropped after them, made before them.
bool IsFullText(const TMigrationAction& action) {
    const eModelKind eKind = (action.pTo ? action.pTo : action.pFrom)->key.eKind;
    return eKind == eModelKind::FullTextCatalog || eKind == eModelKind::FullTextIndex ||
           eKind == eModelKind::FullTextStoplist || eKind == eModelKind::SearchPropertyList;
}

// A stoplist or search property list cannot go while an index uses it, and an index that keeps another list
// or none is changed after the commit: the list goes last. Nothing makes one again, as its words or
// properties change in place.
bool IsListToGo(const TMigrationAction& action) {
    if (action.eStep != eMigrationStep::Drop)
        return false;
    const eModelKind eKind = action.pFrom->key.eKind;
    return eKind == eModelKind::SearchPropertyList || eKind == eModelKind::FullTextStoplist;
}

} // namespace

std::string MigrationScript(const std::vector<TMigrationAction>& aActions, const TMigrationContext& context,
                            const std::optional<TStatement>& driftCheck) {
    std::vector<const TMigrationAction*> aBefore, aInside, aAfter, aLast;
    for (const TMigrationAction& action : aActions)
        (!IsFullText(action)          ? aInside
         : IsListToGo(action)         ? aLast
         : IsTakenApart(action.eStep) ? aBefore
                                      : aAfter)
            .push_back(&action);
    const bool bFullText = !aBefore.empty() || !aAfter.empty() || !aLast.empty();
    std::string strScript;
    for (const std::string& strLine : context.options.aHeader)
        strScript += Line("-- " + strLine);
    strScript +=
        Line("-- The migration is one transaction (SET XACT_ABORT ON): a statement that fails rolls back "
             "everything before it, and every batch after it stops at its first line without running.");
    if (bFullText)
        strScript +=
            Line("-- Full-text catalogs and indexes cannot change inside a transaction: those to go are "
                 "dropped before it begins, those to come or to change are made after it commits, and "
                 "only where it committed, full-text stoplists with them. A full-text index dropped before a "
                 "transaction that rolled "
                 "back stays dropped: diff run again makes it again.");
    if (!aLast.empty())
        strScript += Line("-- Full-text stoplists and search property lists to go are dropped last, once no "
                          "full-text index "
                          "uses them.");
    for (const TMigrationAction* pAction : aBefore)
        AppendBatches(strScript, ActionStatements(*pAction, context));
    strScript += Line("SET XACT_ABORT ON;") + Line("BEGIN TRANSACTION;") + GoLine();
    if (driftCheck)
        AppendBatches(strScript, {*driftCheck}, kGuard);
    for (const TMigrationAction* pAction : aInside)
        AppendBatches(strScript, ActionStatements(*pAction, context), kGuard);
    AppendBatches(strScript, context.options.aRowStatements, kGuard);
    strScript += Line(kGuard) + Line("COMMIT TRANSACTION;");
    if (bFullText)
        strScript += Line("CREATE TABLE " + kCommitted + " (n int);");
    strScript += GoLine();
    for (const std::vector<const TMigrationAction*>* pActions : {&aAfter, &aLast})
        for (const TMigrationAction* pAction : *pActions)
            AppendBatches(strScript, ActionStatements(*pAction, context), kCommittedGuard);
    return strScript;
}
