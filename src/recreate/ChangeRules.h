// What a migration does when a property of an object differs. Each kind's rules, each bound to one of its
// properties, decide: altered in place (with the statements that do it), made again, or the table rebuilt
// (with the reason); a decision may be refused unless an option allows it. Of the rules whose property
// differs, the heaviest decision is the object's, the first rule of that weight giving its statements, reason
// and refusals; a property that no rule is bound to makes the object again.
#pragma once

#include "recreate/DdlWriter.h"
#include "recreate/KindProperties.h"

#include <string>
#include <string_view>
#include <vector>

// Lightest first.
enum class eChange { AlterInPlace, MakeAgain, Rebuild };

// What the person running a migration allows.
enum class eMigrationOption { None, AllowDataLoss, AllowRebuild, Drop };

// A change that the migration does not make unless an option allows it: no script is written.
struct TRefusal {
    TModelKey object;      // what it is refused for
    std::string strName;   // the object as lines name it
    std::string strReason; // a sentence naming the object: "dropping column dbo.T.C loses its values"
    eMigrationOption eOption =
        eMigrationOption::None; // what allows it; None: nothing does, it is done by hand
    std::string strWithOption;  // what the migration does where it is allowed: "drops it where it holds none"
};

// "--allow-data-loss"; empty for None.
std::string_view OptionName(eMigrationOption eOption);
// The line diff prints: the reason, then the option that allows it and what the migration then does, or
// that it is done by hand.
std::string RefusalLine(const TRefusal& refusal);

using TAlterWriter = TStatements (*)(const TPlanObject& from, const TPlanObject& to,
                                     const TAlterContext& context);

struct TChangeDecision {
    eChange eDecided = eChange::MakeAgain;
    TAlterWriter pfnAlter = nullptr; // AlterInPlace: what changes the object
    std::string strReason;           // Rebuild: why its table is made anew, naming the object
    std::vector<TRefusal> aRefusals; // what it is refused for without an option
};

// What a rule decides by: the property's values as shown, both records, FROM's model and what uses its
// objects, and the server the migration runs on.
struct TRuleInput {
    const TModelKey& fromKey;
    const TModelKey& toKey;
    const std::string& strName; // the object as lines name it, spelled as TO does
    const TPlanObject& from;
    const TPlanObject& to;
    const std::string& strOld;
    const std::string& strNew;
    const TCatalogModel& fromModel;
    const CPlanUsers& fromUsers;
    const TServerDialect& dialect;
};

struct TKindRule {
    eProperty eOn;
    TChangeDecision (*pfnDecide)(const TRuleInput& input);
};

// The rules the kinds table binds (ChangeRules.cpp).
// Changed in place by pfnAlter, whatever else.
template <TAlterWriter pfnAlter> TChangeDecision AlteredBy(const TRuleInput& /*input*/) {
    return {eChange::AlterInPlace, pfnAlter, {}, {}};
}
// An alias type is made again, the columns of the type taking its base type meanwhile; a narrower base type
// is refused without --allow-data-loss.
TChangeDecision AliasTypeChange(const TRuleInput& input);
// A table moved to another data space or partitioned otherwise is rebuilt.
TChangeDecision TableStorageChange(const TRuleInput& input);
// A column's type, nullability or collation is altered in place where the server takes it; a narrower type is
// refused without --allow-data-loss. A computed column is made again.
TChangeDecision ColumnTypeChange(const TRuleInput& input);
TChangeDecision ColumnNullabilityChange(const TRuleInput& input);
TChangeDecision ColumnCollationChange(const TRuleInput& input);
// What ALTER COLUMN cannot change rebuilds the table: identity, computed or not, SPARSE, COLUMN_SET,
// ROWGUIDCOL.
TChangeDecision ColumnIdentityChange(const TRuleInput& input);
TChangeDecision ColumnIdentityOptionChange(const TRuleInput& input);
TChangeDecision ColumnComputationChange(const TRuleInput& input);
TChangeDecision ColumnStorageChange(const TRuleInput& input);
// A column's mask is added, changed or dropped in place, unless the column is computed.
TChangeDecision ColumnMaskChange(const TRuleInput& input);
// A policy's predicates are added, changed and dropped in place where ALTER SECURITY POLICY can name each;
// a block predicate dropped from a table that has others is not, and the policy is made again.
TChangeDecision PolicyPredicatesChange(const TRuleInput& input);
// A collection's schemas are added to in place, where TO's text is FROM's and more; a schema or component
// changed or removed makes the collection again, with what it types.
TChangeDecision XmlSchemasChange(const TRuleInput& input);
// A full-text index's columns are dropped and added in place where it keeps one of them as it is, so that
// it never stands without a column; else the index is made again.
TChangeDecision FullTextColumnsChange(const TRuleInput& input);
// A module is altered by CREATE OR ALTER where the server takes it and no schema-bound module uses it, else
// made again.
TChangeDecision ModuleChange(const TRuleInput& input);

// A table that becomes or ceases to be memory-optimized, changes its durability, or becomes a node or edge
// table or ceases to be one, is rebuilt; so is a column that becomes or ceases to be FILESTREAM.
TChangeDecision TableKindChange(const TRuleInput& input);
TChangeDecision ColumnFilestreamChange(const TRuleInput& input);
// A partition function or scheme is made again; while tables or indexes are partitioned by it, T-SQL cannot,
// and the migration is refused.
TChangeDecision PartitionChange(const TRuleInput& input);

// What T-SQL does not create, change or drop inside a transaction, as a migration runs: filegroups, and
// memory-optimized tables and table types with their parts.
bool IsOutsideTransactions(const TPlanObject& object);

// Whether a column of TO's type may not hold every value of FROM's.
bool IsNarrowing(const TModelDataType& from, const TModelDataType& to);
