// CREATE INDEX scripts of the clustered and nonclustered indexes of user tables, primary keys aside.
#pragma once

#include "scripting/SQLScript.h"

class CSQLRecIndexes;

class CSQLIndexes : public CSQLObject {
public:
    // The export asks for all indexes at once; a single index has no script of its own.
    CString ScriptObject(const char*, const char*) override { return CString(); }
    // All indexes, or empty text after a reported failure.
    CString ScriptAllObjects() override;
    // The one index of that name on that table, or empty text; failures pass to the caller.
    CString ScriptTableIndex(const char* pszSchema, const char* pszTable, const char* pszIndex);

private:
    static CString ScriptIndex(const CSQLRecIndexes& rs);
};
