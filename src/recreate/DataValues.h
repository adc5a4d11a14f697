// Column values as T-SQL literals: how a value of each system type is read, and the literal that gives the
// server back exactly that value.
#pragma once

#include "backend/DbBackend.h"

#include <string>
#include <string_view>

enum class eDataKind {
    Number,   // integers, bit, decimal, numeric, money: the driver's digits, all of them
    Float,    // float: the shortest text that reads back to the same double
    Real,     // real: the shortest text that reads back to the same single
    Text,     // char, varchar, nchar, nvarchar, text, ntext, xml
    Binary,   // binary, varbinary, image
    Date,     // date
    Time,     // time
    DateTime, // datetime, smalldatetime, datetime2, datetimeoffset
    Guid,     // uniqueidentifier
    Variant,  // sql_variant: the value in its base type, read with the type's properties
    Clr       // hierarchyid, geometry, geography: read as bytes and converted back
};

struct TDataType {
    std::string_view strName;
    eDataKind eKind;
};

// The type of a system type name; null for a type whose values cannot be written back.
const TDataType* FindDataType(std::string_view strTypeName);

// How many fields of a row one column of the type takes.
size_t FieldCount(const TDataType& type);

// Appends the select-list items that read a column of the type; strColumn is delimited already, nMaxLength
// the column's length in bytes as the catalog gives it (-1 for max).
void AppendSelectItems(std::string& strSelect, const std::string& strColumn, const TDataType& type,
                       int nMaxLength);

// Appends the literal of one value from its FieldCount fields. False, with strOut as it may have grown, when
// the fields are not the text the type gives: no literal is right then.
bool AppendLiteral(std::string& strOut, const TDataType& type, const TDbValue* pFields);
