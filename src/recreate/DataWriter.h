// A table's rows as INSERT statements: read with a forward-only cursor and written as they come, so that
// memory does not grow with the table.
#pragma once

#include "backend/DbBackend.h"
#include "model/ModelError.h"

#include <string>
#include <string_view>
#include <vector>

struct TDataColumn {
    std::string strName;
    std::string strType; // the system type's name
    int nMaxLength = -1; // bytes, as the catalog gives them: -1 for max
};

struct TDataOrderKey {
    std::string strColumn;
    bool bDescending = false;
};

struct TDataTable {
    std::string strSchema;
    std::string strName;
    std::vector<TDataColumn> aColumns; // the columns that take a value, in column order
    std::vector<TDataOrderKey> aOrder; // the rows' order: clustered index keys, then primary key
    bool bIdentity = false;            // one of aColumns is an identity column
};

struct TDataOptions {
    int nRowsPerInsert = 100;
};

// Where the script goes, a piece at a time.
class CDataOutput {
public:
    virtual ~CDataOutput() = default;
    virtual void Write(std::string_view str) = 0;
};

// Throws CModelError (WriteValue, naming the table, the column and the type) for the first column whose type
// has no literal.
void CheckDataTypes(const TDataTable& table);

// The statement that reads the table's rows.
std::string DataSelect(const TDataTable& table);

// Writes the table's rows; returns how many. Nothing is written for a table without rows. Throws CModelError:
// ReadRows when the server fails, WriteValue for a value that no literal gives back exactly (a type without
// one, or a value the driver gave in a form no literal is known for); what the output throws goes through.
long WriteTableData(CDbConnection& db, const TDataTable& table, const TDataOptions& options,
                    CDataOutput& output);
