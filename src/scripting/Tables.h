// CREATE TABLE scripts of tables, and their INSERT form for the product's table kv_TableScripts.
#pragma once

#include "scripting/SQLScript.h"

class CSQLRecColumns;

class CSQLTable : public CSQLObject {
public:
    CString ScriptObject(const char* pszSchema, const char* pszName) override;
    CString ScriptAllObjects() override;
    CString ScriptDependents(const char* pszSchema, const char* pszName) override;
    virtual CString ScriptCreateTable(const char* pszSchema, const char* pszName);

    CString ScriptColumn(CSQLRecColumns& rs) const;
    CString ScriptColumnType(const CSQLRecColumns& rs) const;
    CString ScriptIdentity(const CSQLRecColumns& rs) const;
    // The column names of the table in schema dbo, bare, one per line.
    CString GetColumnList(const char* pszName) const;

    // Nonzero: columns that have a collation carry a COLLATE clause.
    BOOL m_bScriptCollation = FALSE;

protected:
    // The ScriptObject texts of one kind of the table's dependents.
    template <class TGenerator, class TRecChilds>
    static CString ScriptChildObjects(const char* pszSchema, const char* pszName);
};

class CSQLTableInsertScript : public CSQLTable {
public:
    CString ScriptObject(const char* pszSchema, const char* pszName) override;
    CString ScriptAllObjects() override;
};
