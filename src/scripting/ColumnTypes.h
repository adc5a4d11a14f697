// The bracketed T-SQL type text of a column or of a user type's base type.
#pragma once

#include "platform/String.h"

#include <string>

struct TSqlTypeInfo {
    CString strTypeName; // as the catalog writes it; written back unchanged
    int nMaxLength = 0;  // bytes; -1 means MAX
    int nPrecision = 0;
    int nScale = 0;
    BOOL bUserDefined = FALSE; // a user type's name is written bare
};

// The family tests compare whole names without regard to case.
bool IsCharType(const char* pszTypeName);
bool IsNCharType(const char* pszTypeName);
bool IsBinaryType(const char* pszTypeName);
bool IsNumericType(const char* pszTypeName);

// The length a column of the type declares: "max", or the byte length, or for the n-types the length in
// characters.
std::string DeclaredLength(const char* pszTypeName, int nMaxLength);

CString FormatSqlType(const TSqlTypeInfo& info);
