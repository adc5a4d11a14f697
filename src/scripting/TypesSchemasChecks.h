// User-defined alias types, schemas, check constraints and column default constraints.
#pragma once

#include "scripting/SQLScript.h"

class CSQLUserTypes : public CSQLObject {
public:
    CString ScriptObject(const char* pszSchema, const char* pszName) override;
    CString ScriptAllObjects() override;
};

// Built from the name alone: a schema needs nothing from the catalog.
class CSQLSchemas : public CSQLObject {
public:
    CString ScriptObject(const char* pszSchema, const char* pszName) override;
    CString ScriptAllObjects() override;
};

// Added without their names and without checking existing rows.
class CSQLChecks : public CSQLObject {
public:
    CString ScriptObject(const char* pszSchema, const char* pszName) override;
    CString ScriptAllObjects() override;
};

class CSQLDriDefaults : public CSQLObject {
public:
    CString ScriptObject(const char* pszSchema, const char* pszName) override;
    CString ScriptAllObjects() override;
};
