// The module functions behind the single-object API: category lookup and the common core.
#pragma once

#include "scripts/SqlTypeObjects.h"

// By the object's type in sys.objects; eSqlUnknown for other types or no such object.
eSqlTypeObjects GetObjectCategory(const char* pszName);
bool IsUserType(const char* pszName);
// GetObjectCategory, then user types.
eSqlTypeObjects ResolveObjectCategory(const char* pszName);

// The common core of the two script functions: the generator of the category scripts the object.
TErrState ScriptOneObject(eSqlTypeObjects eType, const char* pszName, CString& strScript, bool bNoCollation);
// The column names of a view of schema "dbo", joined by ",\r\n"; empty when there is no such view.
CString GetViewColumnList(const char* pszName);
