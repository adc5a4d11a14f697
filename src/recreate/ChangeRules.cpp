#include "recreate/ChangeRules.h"

#include "platform/Unicode.h"

#include <algorithm>
#include <array>

namespace {

TChangeDecision MadeAgain() {
    return {eChange::MakeAgain, nullptr, {}, {}};
}

// The table of the column is made anew: ALTER COLUMN cannot make the change.
TChangeDecision ColumnRebuilt(const TRuleInput& input, std::string_view strWhy) {
    return {eChange::Rebuild, nullptr, "column " + input.strName + " " + std::string(strWhy), {}};
}

// A computed column holds no values: it is dropped and added again.
TChangeDecision ColumnAltered(const TRuleInput& input) {
    if (RecordOf<TModelColumn>(input.from).computed)
        return MadeAgain();
    return {eChange::AlterInPlace, &AlterColumn, {}, {}};
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

} // namespace

std::string_view OptionName(eMigrationOption eOption) {
    switch (eOption) {
    case eMigrationOption::AllowDataLoss:
        return "--allow-data-loss";
    case eMigrationOption::AllowRebuild:
        return "--allow-rebuild";
    case eMigrationOption::Drop:
        return "--drop";
    case eMigrationOption::None:
        break;
    }
    return {};
}

std::string RefusalLine(const TRefusal& refusal) {
    if (refusal.eOption == eMigrationOption::None)
        return refusal.strReason + ": change it by hand";
    return refusal.strReason + " (" + std::string(OptionName(refusal.eOption)) + " " + refusal.strWithOption +
           ")";
}

TChangeDecision AliasTypeChange(const TRuleInput& input) {
    const TModelType& from = RecordOf<TModelType>(input.from);
    const TModelType& to = RecordOf<TModelType>(input.to);
    TChangeDecision decision = MadeAgain();
    if (IsNarrowing(from.base, to.base))
        decision.aRefusals.push_back({input.toKey, input.strName,
                                      "alias type " + input.strName + " changes from " + TypeText(from.base) +
                                          " to " + TypeText(to.base) +
                                          ", which may not hold every value of the columns of the type",
                                      eMigrationOption::AllowDataLoss, "changes it where every value fits"});
    return decision;
}

TChangeDecision TableStorageChange(const TRuleInput& /*input*/) {
    return {eChange::Rebuild, nullptr, "changes its data space or partitioning", {}};
}

TChangeDecision ColumnTypeChange(const TRuleInput& input) {
    TChangeDecision decision = ColumnAltered(input);
    if (decision.eDecided == eChange::AlterInPlace &&
        IsNarrowing(RecordOf<TModelColumn>(input.from).type, RecordOf<TModelColumn>(input.to).type))
        decision.aRefusals.push_back({input.toKey, input.strName,
                                      "column " + input.strName + " changes from " + input.strOld + " to " +
                                          input.strNew + ", which may not hold every value",
                                      eMigrationOption::AllowDataLoss, "changes it where every value fits"});
    return decision;
}

TChangeDecision ColumnNullabilityChange(const TRuleInput& input) {
    if (!input.dialect.bAlterColumnNullability)
        return ColumnRebuilt(input, "changes its nullability, which this server cannot change in place");
    return ColumnAltered(input);
}

TChangeDecision ColumnCollationChange(const TRuleInput& input) {
    if (!input.dialect.bAlterColumnNullability)
        return ColumnRebuilt(input, "changes its collation, which this server cannot change in place");
    return ColumnAltered(input);
}

TChangeDecision ColumnIdentityChange(const TRuleInput& input) {
    const bool bFrom = RecordOf<TModelColumn>(input.from).identity.has_value();
    const bool bTo = RecordOf<TModelColumn>(input.to).identity.has_value();
    if (bFrom == bTo)
        return ColumnRebuilt(input, "changes its identity");
    return ColumnRebuilt(input, bTo ? "becomes an identity column" : "ceases to be an identity column");
}

TChangeDecision ColumnIdentityOptionChange(const TRuleInput& input) {
    return ColumnRebuilt(input, "changes its identity");
}

TChangeDecision ColumnComputationChange(const TRuleInput& input) {
    const bool bFrom = RecordOf<TModelColumn>(input.from).computed.has_value();
    const bool bTo = RecordOf<TModelColumn>(input.to).computed.has_value();
    if (bFrom == bTo)
        return MadeAgain();
    return ColumnRebuilt(input, bTo ? "becomes computed" : "ceases to be computed");
}

TChangeDecision ColumnStorageChange(const TRuleInput& input) {
    return ColumnRebuilt(input, "changes SPARSE, COLUMN_SET or ROWGUIDCOL");
}

TChangeDecision ColumnMaskChange(const TRuleInput& input) {
    if (RecordOf<TModelColumn>(input.from).computed)
        return MadeAgain();
    return {eChange::AlterInPlace, &AlterColumnMask, {}, {}};
}

TChangeDecision XmlSchemasChange(const TRuleInput& input) {
    if (!ExtendsXmlSchemas(RecordOf<TModelXmlSchemaCollection>(input.from).strText,
                           RecordOf<TModelXmlSchemaCollection>(input.to).strText))
        return MadeAgain();
    return {eChange::AlterInPlace, &AddXmlSchemas, {}, {}};
}

TChangeDecision FullTextColumnsChange(const TRuleInput& input) {
    const auto& aFrom = RecordOf<TModelFullTextIndex>(input.from).aColumns;
    const auto& aTo = RecordOf<TModelFullTextIndex>(input.to).aColumns;
    if (std::none_of(aFrom.begin(), aFrom.end(), [&](const TModelFullTextColumn& column) {
            return std::any_of(aTo.begin(), aTo.end(), [&column](const TModelFullTextColumn& other) {
                return other.IndexedAlike(column);
            });
        }))
        return MadeAgain();
    return {eChange::AlterInPlace, &AlterFullTextIndex, {}, {}};
}

TChangeDecision PolicyPredicatesChange(const TRuleInput& input) {
    const auto& aFrom = RecordOf<TModelSecurityPolicy>(input.from).aPredicates;
    const auto& aTo = RecordOf<TModelSecurityPolicy>(input.to).aPredicates;
    const auto sameTable = [](const TModelSecurityPredicate& a, const TModelSecurityPredicate& b) {
        return a.bBlock == b.bBlock && FoldCaseUtf8(a.strTargetSchema) == FoldCaseUtf8(b.strTargetSchema) &&
               FoldCaseUtf8(a.strTargetTable) == FoldCaseUtf8(b.strTargetTable);
    };
    for (const TModelSecurityPredicate& predicate : aFrom) {
        const bool bKept = std::any_of(aTo.begin(), aTo.end(), [&](const TModelSecurityPredicate& other) {
            return sameTable(predicate, other) && predicate.strOperation == other.strOperation;
        });
        const auto nOnTable =
            std::count_if(aFrom.begin(), aFrom.end(),
                          [&](const TModelSecurityPredicate& other) { return sameTable(predicate, other); });
        if (!bKept && nOnTable > 1)
            return MadeAgain();
    }
    return {eChange::AlterInPlace, &AlterSecurityPolicy, {}, {}};
}

TChangeDecision ModuleChange(const TRuleInput& input) {
    if (!input.dialect.bCreateOrAlter)
        return MadeAgain();
    const std::vector<size_t>& aUsers = input.fromUsers.Users(input.fromKey);
    const bool bSchemaBoundUsers = std::any_of(aUsers.begin(), aUsers.end(), [&](size_t nStep) {
        return IsSchemaBound(input.fromUsers.Plan().aSteps[nStep].object);
    });
    return bSchemaBoundUsers ? MadeAgain() : TChangeDecision{eChange::AlterInPlace, &AlterModule, {}, {}};
}

TChangeDecision TableKindChange(const TRuleInput& /*input*/) {
    return {eChange::Rebuild,
            nullptr,
            "changes whether it is memory-optimized, its durability or its graph kind",
            {}};
}

TChangeDecision ColumnFilestreamChange(const TRuleInput& input) {
    return ColumnRebuilt(input, "changes FILESTREAM");
}

TChangeDecision PartitionChange(const TRuleInput& input) {
    std::vector<std::string> aSchemes;
    if (input.fromKey.eKind == eModelKind::PartitionScheme)
        aSchemes.push_back(input.fromKey.strName);
    for (const TModelPartitionScheme& scheme : input.fromModel.aPartitionSchemes)
        if (input.fromKey.eKind == eModelKind::PartitionFunction &&
            scheme.strFunction == input.fromKey.strName)
            aSchemes.push_back(scheme.strName);
    const auto isPartitioned = [&](const std::string& strDataSpace) {
        return std::find(aSchemes.begin(), aSchemes.end(), strDataSpace) != aSchemes.end();
    };
    TChangeDecision decision = MadeAgain();
    const std::string strKind =
        input.fromKey.eKind == eModelKind::PartitionScheme ? "partition scheme " : "partition function ";
    for (const TModelTable& table : input.fromModel.aTables)
        if (isPartitioned(table.strDataSpace) ||
            std::any_of(table.aIndexes.begin(), table.aIndexes.end(),
                        [&](const TModelIndex& index) { return isPartitioned(index.strDataSpace); }))
            decision.aRefusals.push_back({input.fromKey,
                                          input.strName,
                                          strKind + input.strName + " changes, but table " + table.strSchema +
                                              "." + table.strName + " is partitioned by it",
                                          eMigrationOption::None,
                                          {}});
    return decision;
}

bool IsOutsideTransactions(const TPlanObject& object) {
    return std::visit(
        [](const auto& record) {
            using T = std::decay_t<decltype(record)>;
            if constexpr (std::is_same_v<T, const TModelFilegroup*>)
                return true;
            else if constexpr (std::is_same_v<T, const TModelTable*>)
                return record->bMemoryOptimized;
            else if constexpr (std::is_same_v<T, const TModelType*>)
                return record->table && record->table->bMemoryOptimized;
            else if constexpr (std::is_same_v<T, const TModelModule*>)
                return record->bNativelyCompiled;
            else if constexpr (requires { record.pTable; })
                return record.pTable && record.pTable->bMemoryOptimized; // none for a view's index
            else
                return false;
        },
        object);
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
