// What a per-object recordset asks of the prefetched rows: its family, and its object by id or by the names
// that its statement gives the server.
#pragma once

#include "platform/String.h"

#include <vector>

// The per-object statements that a family's one statement replaces.
enum class EPrefetchFamily : int {
    Columns,
    IndexColumns,
    ForeignKeys,
    ForeignKeyColumns,
    FullTextColumns,
    Modules,
    UserTypes,
    PrimaryKeys,
    Checks,
};
constexpr size_t PREFETCH_FAMILY_COUNT = 9;

struct TPrefetchKey {
    // A statement that takes the object's id (and, for index columns, the index id).
    static TPrefetchKey ById(EPrefetchFamily eFamily, long nObjectId, long nSubId = 0) {
        return {eFamily, nObjectId, nSubId, {}};
    }
    // A statement that takes names, which the server resolves: in the order of the family's name columns.
    static TPrefetchKey ByName(EPrefetchFamily eFamily, std::vector<CString> aNames) {
        return {eFamily, 0, 0, std::move(aNames)};
    }

    EPrefetchFamily eFamily;
    long nObjectId;
    long nSubId;
    std::vector<CString> aNames; // empty for a statement that takes ids
};
