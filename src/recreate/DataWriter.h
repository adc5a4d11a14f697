// A table's rows as INSERT statements: read with a forward-only cursor and written as they come, so that
// memory does not grow with the table.
#pragma once

#include "backend/DbBackend.h"
#include "model/ModelError.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TIdentityPosition {
    std::string strLast; // the last value handed out
    std::string strNext; // what the next row gets: the last value plus the increment
};

struct TDataColumn {
    std::string strName;
    std::string strType; // the system type's name
    int nMaxLength = -1; // bytes, as the catalog gives them: -1 for max
};

struct TDataOrderKey {
    std::string strColumn;
    bool bDescending = false;
};

// The table's identity column, and where the original's stands: the rows alone set it to their highest value
// (lowest where it counts down), which differs from the original's where its last rows were deleted.
struct TDataIdentity {
    size_t nColumn = 0; // in aColumns
    bool bDownward = false;
    std::optional<TIdentityPosition> position; // none where the original handed out no value, or is not known
};

struct TDataTable {
    std::string strSchema;
    std::string strName;
    std::vector<TDataColumn> aColumns; // the columns that take a value, in column order
    std::vector<TDataOrderKey> aOrder; // the rows' order: clustered index keys, then primary key
    std::optional<TDataIdentity> identity;
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

// A GO after the statement that brings a batch to this many rows or bytes, so that no batch grows without
// bound; a statement ends early at that many bytes too.
constexpr long kBatchRows = 1000;
constexpr size_t kBatchBytes = 1 << 20;

struct TDataType;

// Throws CModelError (WriteValue, naming the table, the column and the type) for the first column whose type
// has no literal.
void CheckDataTypes(const TDataTable& table);
// The column's type; throws as CheckDataTypes.
const TDataType& DataTypeOf(const TDataTable& table, const TDataColumn& column);
// Throws CModelError (WriteValue) for a value of the column that is not in a form a literal is known for.
[[noreturn]] void ThrowUnwritable(const TDataTable& table, const TDataColumn& column, const TDbValue& value);

// The statement that reads the table's rows.
std::string DataSelect(const TDataTable& table);

// The table's rows read as DataSelect reads them, in its order. Throws CModelError (ReadRows) when the server
// fails or gives other columns than the select asks for.
class CTableRows {
public:
    CTableRows(CDbConnection& db, const TDataTable& table);
    // The next row's fields, FieldCount of each column in turn; none after the last.
    std::optional<TDbRow> Fetch();

private:
    const TDataTable& m_table;
    std::string m_strSelect;
    std::unique_ptr<CDbResult> m_pResult;
};

// "INSERT INTO [dbo].[T] ([A], [B]) VALUES" and a line end; DEFAULT VALUES for a table without columns.
std::string InsertHead(const TDataTable& table);
// SET IDENTITY_INSERT ... ON; or OFF;
std::string IdentityInsert(const TDataTable& table, bool bOn);

// Writes the table's rows and then, where it differs from theirs, the original's identity position; returns
// how many rows. A table without rows gets its identity position alone, or nothing. Throws CModelError:
// ReadRows when the server fails, WriteValue for a value that no literal gives back exactly (a type without
// one, or a value the driver gave in a form no literal is known for); what the output throws goes through.
long WriteTableData(CDbConnection& db, const TDataTable& table, const TDataOptions& options,
                    CDataOutput& output);
