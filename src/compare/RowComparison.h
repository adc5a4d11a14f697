// The rows of a table both sides have, compared by key: each side's rows read in key order, as --data reads
// them, and merged as two streams, so that only the rows that differ are held; and the statements that make
// FROM's rows TO's, their values written as --data writes them.
#pragma once

#include "backend/DbBackend.h"
#include "model/CatalogModel.h"
#include "recreate/DataWriter.h"
#include "recreate/Statements.h"

#include <optional>
#include <string>
#include <vector>

// A table whose rows are compared: what each side reads, and where the key and the compared values are in
// what it reads.
struct TRowTable {
    std::string strName; // as lines name it: "dbo.Status"
    TDataTable from;
    TDataTable to;
    std::vector<size_t> aKeyFrom; // the key's columns, in from.aColumns and to.aColumns
    std::vector<size_t> aKeyTo;
    std::vector<std::pair<size_t, size_t>> aCompared; // the other columns both sides have: (from, to)
};

// Why a table's rows cannot be compared; throws CModelError (ReadRows) naming the table: it has no primary
// key and no unique index, its key is not the same on both sides, or its key has a type whose order is not
// followed here.
TRowTable RowTableOf(const TModelTable& from, const TModelTable& to);

enum class eRowChange { Added, Removed, Changed };

struct TValueChange {
    size_t nColumn = 0; // in to.aColumns
    std::string strOld; // literals
    std::string strNew;
};

struct TRowDifference {
    eRowChange eChange = eRowChange::Changed;
    std::vector<std::string> aKey;      // the key's literals: FROM's for a removed row, else TO's
    std::vector<std::string> aValues;   // Added: every column's literal, in to.aColumns' order
    std::vector<TValueChange> aChanges; // Changed
};

// "(4)", "(1, 'a')": the key as lines show it.
std::string RowKeyText(const TRowDifference& row);

// Each side's rows of the table read in key order and merged: the rows only one side has and those whose
// values differ, in key order. Throws CModelError (ReadRows) when a side fails or gives its rows in an order
// the comparison does not follow, (WriteValue) for a value no literal gives back.
std::vector<TRowDifference> CompareRows(CDbConnection& from, CDbConnection& to, const TRowTable& table);

struct TTableRowDifferences {
    TRowTable table;
    std::vector<TRowDifference> aRows;
};

// The statements that make FROM's rows TO's, each batch of at most a thousand rows: the rows inserted from
// the first table to the last (tables are given parents first), with IDENTITY_INSERT on for a table's inserts
// where it has an identity column, then updated, then deleted from the last table to the first. So a row
// that moves to a new parent finds it there, and a parent goes once nothing of TO's refers to it.
TStatements RowStatements(const std::vector<TTableRowDifferences>& aTables);
