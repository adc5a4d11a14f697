// ALTER TABLE scripts of primary keys and of the foreign keys of a table.
#pragma once

#include "scripting/SQLScript.h"

class CSQLPKeys : public CSQLObject {
public:
    // pszName is the primary key constraint's name.
    CString ScriptObject(const char* pszSchema, const char* pszName) override;
    CString ScriptAllObjects() override;
};

class CSQLForeignKeys : public CSQLObject {
public:
    // pszName is the referencing table's name; all of its foreign keys go into one statement.
    CString ScriptObject(const char* pszSchema, const char* pszName) override;
    CString ScriptAllObjects() override;
};

// The columns of an index as "\t\t[name]" lines joined by ",\r\n".
CString GetKeyColumnList(long nObjectId, long nIndexId);
// The referencing columns of a foreign key, formatted as GetKeyColumnList does.
CString GetForeignKeyColumnList(const char* pszSchema, const char* pszName);
// " CASCADE", " SET NULL" or " SET DEFAULT" for the catalog's referential action codes 1 to 3.
CString GetReferentialActionName(long nAction);
