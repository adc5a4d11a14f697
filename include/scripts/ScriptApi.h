// Scripting one named object of schema "dbo", or listing the columns of a table or view.
#pragma once

#include "backend/Database.h"
#include "scripts/SqlTypeObjects.h"

// The script of a named object of a stated category; shows nothing, returns the error.
TErrState GetSqlScriptObject(CDatabase& db, eSqlTypeObjects eType, const char* pszName, CString& strScript,
                             bool bNoCollation);
// The script of a named object whose category the module finds; errors are shown. Nonzero on success.
int GenerateSQLScriptObject(CDatabase& db, const char* pszName, CString& strScript, bool bNoCollation);
// The column names of a table or view, joined by ",\r\n"; errors are shown. Nonzero on success.
int GenerateSQLScriptFields(CDatabase& db, const char* pszName, CString& strFields);
