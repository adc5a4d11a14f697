// What identifies an object of a catalog whatever database it comes from: its kind, schema and name, and for
// what belongs to a table, the table. Two models loaded from different databases are matched by these keys,
// never by catalog ids.
#pragma once

#include <compare>
#include <cstddef>
#include <string>

// The kinds of objects a model holds, the first ones in their usual apply order, the security kinds after
// them (users and roles being made before the schemas they own and the rest after everything else), then
// the kinds added since, which the kinds table places.
enum class eModelKind {
    Schema,
    AliasType,
    TableType,
    Sequence,
    Synonym,
    Table,
    Column, // a table's column, made with its table or added to it
    Key,    // a table's primary key or unique constraint, made with its table or added to it
    Check,
    Default,
    Index,
    ForeignKey,
    View,
    Function,
    Procedure,
    Trigger,
    Property,
    User,
    Role,
    ApplicationRole,
    RoleMember, // a member of a role: the role as the table, the member as the name
    Owner,      // an object's owner where it is not its schema's
    Permission, // the permissions on one securable: the database, a schema, an object, a type, a principal
    Filegroup,  // the database's own, in no schema, as partition functions and schemes are
    PartitionFunction,
    PartitionScheme,
    Versioning,     // a table's SYSTEM_VERSIONING, a part of it named so: its history table a property
    EdgeConstraint, // an edge table's CONNECTION constraint
    SecurityPolicy,
    DatabaseTrigger, // a trigger of the database, fired by DDL: no schema
    Statistic,       // statistics a user made on a table's columns: the table as the table
};
constexpr size_t MODEL_KIND_COUNT = static_cast<size_t>(eModelKind::Statistic) + 1;

struct TModelKey {
    eModelKind eKind = eModelKind::Schema;
    std::string strSchema; // empty for a schema
    std::string strTable;  // the table (or a trigger's table or view) that a part belongs to; empty otherwise
    std::string strName;

    auto operator<=>(const TModelKey&) const = default;
};

// A hash of the key, for unordered maps of keys.
struct TModelKeyHash {
    size_t operator()(const TModelKey& key) const;
};

// What an object is matched by in a model of another database: its kind, schema, table and name, compared
// without regard to case as SQL Server's usual collations compare names.
std::string MatchKey(const TModelKey& key);
