#include "compare/MigrationText.h"

#include "platform/Text.h"
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"
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

using TBatches = std::vector<std::string>;

// The batches of a writer's text, each without its GO line.
TBatches Batches(const std::string& strText) {
    TBatches aBatches;
    size_t nStart = 0;
    for (size_t nGo = strText.find(kGo); nGo != std::string::npos;
         nGo = strText.find(kGo, nGo + kGo.size())) {
        if (nGo != 0 && strText[nGo - 1] != '\n')
            continue;
        aBatches.push_back(strText.substr(nStart, nGo - nStart));
        nStart = nGo + kGo.size();
    }
    if (nStart < strText.size())
        aBatches.push_back(strText.substr(nStart));
    return aBatches;
}

TPlanStep StepOf(const TCompareObject& object) {
    return {object.key, RecreateKind(object.key.eKind).eSection, object.object, {}};
}

template <typename T> const TTablePart<T>& Part(const TCompareObject& object) {
    return std::get<TTablePart<T>>(object.object);
}

std::string Line(const std::string& str) {
    return str + kLineEnd;
}

// Stops the migration with the error: rolled back, as every failure is.
std::string Stop(const std::string& strCondition, const std::string& strMessage) {
    return Line("IF " + strCondition + " THROW 50001, " + UnicodeLiteral(strMessage) + ", 1;");
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

// The integer types, narrowest first.
int IntegerRank(const std::string& strType) {
    static constexpr std::array<std::string_view, 4> aRanks = {"tinyint", "smallint", "int", "bigint"};
    const auto it = std::find(aRanks.begin(), aRanks.end(), strType);
    return it == aRanks.end() ? -1 : static_cast<int>(it - aRanks.begin());
}

// A length in characters for the string types, in bytes for the binary ones; -1 for max.
int Length(const TModelDataType& type) {
    if (type.nMaxLength < 0)
        return -1;
    return type.strSystemName.front() == 'n' ? type.nMaxLength / 2 : type.nMaxLength;
}

bool IsString(const std::string& strType) {
    return strType == "char" || strType == "varchar" || strType == "nchar" || strType == "nvarchar";
}

bool NoShorter(const TModelDataType& from, const TModelDataType& to) {
    return Length(to) < 0 || (Length(from) >= 0 && Length(to) >= Length(from));
}

// Statements of the module's definition as it is stored, run through sp_executesql so that a batch begins
// with the guard; with bOrAlter, CREATE OR ALTER in place of its CREATE.
TBatches ModuleBatches(const TModelModule& module, bool bOrAlter) {
    std::string strDefinition = module.strDefinition;
    if (bOrAlter) {
        const size_t nCreate = FirstWordAt(strDefinition);
        strDefinition.insert(nCreate + 6, " OR ALTER");
    }
    TBatches aBatches = Batches(SetOptions(module.bAnsiNulls, module.bQuotedIdentifier));
    aBatches.push_back(Line("EXEC sys.sp_executesql " + UnicodeLiteral(strDefinition) + ";"));
    if (module.Kind() == eModelKind::Trigger && module.bDisabled)
        aBatches.push_back(Line("DISABLE TRIGGER " + QuoteName(module.strSchema, module.strName) + " ON " +
                                QuoteName(module.strSchema, module.strParent) + ";"));
    if (!module.bAnsiNulls || !module.bQuotedIdentifier)
        for (std::string& strBatch : Batches(SetOptions(true, true)))
            aBatches.push_back(std::move(strBatch));
    return aBatches;
}

TBatches DropBatches(const TCompareObject& object, const TMigrationContext& context, bool bRemoved) {
    const TDdlContext ddl{context.from, context.planFrom};
    const eModelKind eKind = object.key.eKind;
    if (eKind == eModelKind::Property)
        return {DropProperty(*std::get<const TModelExtendedProperty*>(object.object), context.from)};
    TBatches aBatches = Batches(RecreateKind(eKind).pfnDrop(StepOf(object), ddl));
    if (!bRemoved)
        return aBatches;
    if (eKind == eModelKind::Table) {
        const TModelTable& table = *std::get<const TModelTable*>(object.object);
        aBatches.front().insert(0, Stop("EXISTS (SELECT 1 FROM " + TableName(table) + ")",
                                        object.strName + " holds rows: the migration does not drop it"));
    } else if (eKind == eModelKind::Column && !Part<TModelColumn>(object).pPart->computed) {
        const auto& [pTable, pColumn] = Part<TModelColumn>(object);
        aBatches.front().insert(
            0, Stop("EXISTS (SELECT 1 FROM " + TableName(*pTable) + " WHERE " + QuoteName(pColumn->strName) +
                        " IS NOT NULL)",
                    "column " + object.strName + " holds values: the migration does not drop it"));
    }
    return aBatches;
}

TBatches MakeBatches(const TCompareObject& object, const TMigrationContext& context) {
    const TDdlContext ddl{context.to, context.planTo};
    const eModelKind eKind = object.key.eKind;
    if (eKind == eModelKind::Property)
        return {AddProperty(*std::get<const TModelExtendedProperty*>(object.object), context.to)};
    if (eKind == eModelKind::View || eKind == eModelKind::Function || eKind == eModelKind::Procedure ||
        eKind == eModelKind::Trigger)
        return ModuleBatches(*std::get<const TModelModule*>(object.object), false);
    TBatches aBatches = Batches(RecreateKind(eKind).pfnCreate(StepOf(object), ddl));
    if (eKind != eModelKind::Column)
        return aBatches;
    // A column that takes no value of its own cannot be added to a table that holds rows.
    const TModelTable* const pTable = Part<TModelColumn>(object).pTable;
    const TModelColumn* const pColumn = Part<TModelColumn>(object).pPart;
    const bool bDefault =
        std::any_of(pTable->aDefaults.begin(), pTable->aDefaults.end(), [&](const TModelDefault& def) {
            return def.strColumn == pColumn->strName && context.planTo.setInlineDefaults.count(&def);
        });
    if (!pColumn->bNullable && !pColumn->identity && !pColumn->computed && !bDefault &&
        !pColumn->IsRowVersion())
        aBatches.front().insert(
            0, Stop("EXISTS (SELECT 1 FROM " + TableName(*pTable) + ")",
                    "column " + object.strName +
                        " takes no NULL and has no default: it cannot be added to a table that "
                        "holds rows"));
    return aBatches;
}

TBatches AlterColumnBatches(const TMigrationAction& action, const TMigrationContext& context) {
    const auto& [pTable, pTo] = Part<TModelColumn>(*action.pTo);
    const TModelColumn& fromColumn = *Part<TModelColumn>(*action.pFrom).pPart;
    const std::string strColumn = QuoteName(pTo->strName);
    const std::string strTo = DataTypeText(pTo->type);
    std::string str;
    if (IsNarrowing(fromColumn.type, pTo->type) && IsComparable(fromColumn.type))
        str += Stop("EXISTS (SELECT 1 FROM " + TableName(*pTable) + " WHERE " + strColumn +
                        " IS NOT NULL AND (TRY_CAST(" + strColumn + " AS " + strTo +
                        ") IS NULL OR CAST(TRY_CAST(" + strColumn + " AS " + strTo + ") AS " +
                        DataTypeText(fromColumn.type) + ") <> " + strColumn + "))",
                    "column " + action.pTo->strName + " holds values that " +
                        action.pTo->aProperties[0].strValue +
                        " does not hold: the migration does not change it");
    const TServerDialect& dialect = context.options.dialect;
    if (fromColumn.bNullable && !pTo->bNullable && dialect.bAlterColumnNullability)
        str += Stop("EXISTS (SELECT 1 FROM " + TableName(*pTable) + " WHERE " + strColumn + " IS NULL)",
                    "column " + action.pTo->strName + " holds NULL, which it is to take no more");
    str += AlterTable(*pTable) + " ALTER COLUMN " + strColumn + " " + strTo;
    if (dialect.bAlterColumnNullability) {
        if (!pTo->strCollation.empty() &&
            strcasecmp(pTo->strCollation.c_str(), context.to.strCollation.c_str()) != 0)
            str += " COLLATE " + pTo->strCollation;
        str += pTo->bNullable ? " NULL" : " NOT NULL";
    }
    return {Line(str + ";")};
}

// ALTER SEQUENCE with the options that differ alone.
TBatches AlterSequenceBatches(const TMigrationAction& action, const TMigrationContext& context) {
    const TModelSequence& from = *std::get<const TModelSequence*>(action.pFrom->object);
    const TModelSequence& to = *std::get<const TModelSequence*>(action.pTo->object);
    std::string str = "ALTER SEQUENCE " + QuoteName(to.strSchema, to.strName);
    if (context.options.bRestartSequences && from.strStart != to.strStart)
        str += " RESTART WITH " + to.strStart;
    if (from.strIncrement != to.strIncrement)
        str += " INCREMENT BY " + to.strIncrement;
    if (from.strMinimum != to.strMinimum)
        str += " MINVALUE " + to.strMinimum;
    if (from.strMaximum != to.strMaximum)
        str += " MAXVALUE " + to.strMaximum;
    if (from.bCycling != to.bCycling)
        str += to.bCycling ? " CYCLE" : " NO CYCLE";
    if (from.bCached != to.bCached || from.strCacheSize != to.strCacheSize)
        str += !to.bCached ? " NO CACHE" : to.strCacheSize.empty() ? " CACHE" : " CACHE " + to.strCacheSize;
    return {Line(str + ";")};
}

// The table made anew with TO's columns under another name, FROM's rows copied in, FROM's table dropped and
// the new one given its name; its keys, constraints, indexes and triggers are made after.
TBatches RebuildBatches(const TMigrationAction& action, const TMigrationContext& context) {
    const TModelTable& from = *std::get<const TModelTable*>(action.pFrom->object);
    const TModelTable& to = *std::get<const TModelTable*>(action.pTo->object);
    const std::string strNew = to.strName + "__rebuilt";
    const std::string strNewName = QuoteName(to.strSchema, strNew);
    TBatches aBatches{ColumnsTableStatement(to, strNew, context.to)};
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
    std::string strCopy;
    for (const TModelColumn& column : from.aColumns)
        if (!to.FindColumn(column.strName) && !column.computed)
            strCopy += Stop("EXISTS (SELECT 1 FROM " + TableName(from) + " WHERE " +
                                QuoteName(column.strName) + " IS NOT NULL)",
                            "column " + from.strSchema + "." + from.strName + "." + column.strName +
                                " holds values: the migration does not drop it");
    if (bIdentity)
        strCopy += Line("SET IDENTITY_INSERT " + strNewName + " ON;");
    if (!aCopied.empty())
        strCopy += Line("INSERT INTO " + strNewName + " (" + JoinText(aCopied) + ") SELECT " +
                        JoinText(aCopied) + " FROM " + TableName(from) + ";");
    if (bIdentity)
        strCopy += Line("SET IDENTITY_INSERT " + strNewName + " OFF;");
    if (!strCopy.empty())
        aBatches.push_back(strCopy);
    aBatches.push_back(Line("DROP TABLE " + TableName(from) + ";"));
    aBatches.push_back(Line("EXEC sys.sp_rename " + UnicodeLiteral(to.strSchema + "." + strNew) + ", " +
                            UnicodeLiteral(to.strName) + ", N'OBJECT';"));
    return aBatches;
}

} // namespace

std::vector<std::string> ActionBatches(const TMigrationAction& action, const TMigrationContext& context) {
    switch (action.eStep) {
    case eMigrationStep::Drop:
        return DropBatches(*action.pFrom, context, action.bRemoved);
    case eMigrationStep::Make:
        return MakeBatches(*action.pTo, context);
    case eMigrationStep::AlterColumn:
        return AlterColumnBatches(action, context);
    case eMigrationStep::AlterSchema: {
        const TModelSchema& schema = *std::get<const TModelSchema*>(action.pTo->object);
        return {Line("ALTER AUTHORIZATION ON SCHEMA::" + QuoteName(schema.strName) + " TO " +
                     QuoteName(schema.strOwner) + ";")};
    }
    case eMigrationStep::AlterSequence:
        return AlterSequenceBatches(action, context);
    case eMigrationStep::AlterModule:
        return ModuleBatches(*std::get<const TModelModule*>(action.pTo->object), true);
    case eMigrationStep::ToggleTrigger: {
        const TModelModule& trigger = *std::get<const TModelModule*>(action.pTo->object);
        return {Line(std::string(trigger.bDisabled ? "DISABLE" : "ENABLE") + " TRIGGER " +
                     QuoteName(trigger.strSchema, trigger.strName) + " ON " +
                     QuoteName(trigger.strSchema, trigger.strParent) + ";")};
    }
    case eMigrationStep::UpdateProperty:
        return {UpdateProperty(*std::get<const TModelExtendedProperty*>(action.pTo->object), context.to)};
    case eMigrationStep::Rebuild:
        return RebuildBatches(action, context);
    }
    return {};
}

std::string MigrationScript(const std::vector<std::string>& aHeader,
                            const std::vector<std::string>& aBatches) {
    std::string strScript;
    for (const std::string& strLine : aHeader)
        strScript += Line("-- " + strLine);
    strScript +=
        Line("-- The migration is one transaction (SET XACT_ABORT ON): a statement that fails rolls back "
             "everything before it, and every batch after it stops at its first line without running.");
    strScript += Line("SET XACT_ABORT ON;") + Line("BEGIN TRANSACTION;") + kGo;
    for (const std::string& strBatch : aBatches)
        strScript += Line(kGuard) + strBatch + kGo;
    return strScript + Line(kGuard) + Line("COMMIT TRANSACTION;") + kGo;
}

bool IsNarrowing(const TModelDataType& from, const TModelDataType& to) {
    if (from == to)
        return false;
    if (from.IsUserDefined() || to.IsUserDefined())
        return true;
    const std::string& strFrom = from.strSystemName;
    const std::string& strTo = to.strSystemName;
    if (IntegerRank(strFrom) >= 0 && IntegerRank(strTo) >= 0)
        return IntegerRank(strTo) < IntegerRank(strFrom);
    if (IsString(strFrom) && IsString(strTo))
        return (strFrom.front() == 'n' && strTo.front() != 'n') || !NoShorter(from, to);
    if ((strFrom == "binary" || strFrom == "varbinary") && (strTo == "binary" || strTo == "varbinary"))
        return !NoShorter(from, to);
    if (strFrom != strTo)
        return true;
    if (strTo == "decimal" || strTo == "numeric")
        return to.nScale < from.nScale || to.nPrecision - to.nScale < from.nPrecision - from.nScale;
    return to.nScale < from.nScale || to.nPrecision < from.nPrecision;
}
