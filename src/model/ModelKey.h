// What identifies an object of a catalog whatever database it comes from: its kind, schema and name, and for
// what belongs to a table, the table. Two models loaded from different databases are matched by these keys,
// never by catalog ids.
#pragma once

#include <compare>
#include <cstddef>
#include <string>

// The kinds of objects a model holds; listed in CatalogModel.h next to their records, so that a new kind is
// one place.
enum class eModelKind;

struct TModelKey {
    eModelKind eKind{};    // a schema
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
