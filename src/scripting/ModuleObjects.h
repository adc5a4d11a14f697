// Views, stored procedures, triggers and scalar functions: their stored definition under the options
// they were created with, after a guarded drop of the existing object.
#pragma once

#include "catalog/SQLRecObjects.h"
#include "scripting/SQLScript.h"

// Room reserved for one module object's script.
constexpr int MODULE_SCRIPT_RESERVE = 16384;

// The QUOTED_IDENTIFIER and ANSI_NULLS batch of the current detail row.
CString GetSetOptionsHeader(const CSQLRecModuleObjects& rs);

template <class Rec> class CSQL_Views_Procedures_Triggers_Functions : public CSQLObject {
public:
    CString ScriptObject(const char* pszSchema, const char* pszName) override {
        if (IsEmptyObjectName(pszName))
            return CString();
        Rec rs;
        if (!OpenDetailRecordset(rs, pszSchema, pszName))
            return CString();
        CString strScript;
        strScript.Preallocate(MODULE_SCRIPT_RESERVE);
        strScript += GetSetOptionsHeader(rs);
        // The catalog's spelling of the names, not the caller's.
        strScript += ScriptDropHeader(rs.m_strSchemaName, rs.m_strName);
        strScript += "\r\n\r\n";
        strScript += rs.m_strDefinition;
        strScript += "\r\nGO\r\n\r\n";
        rs.Close();
        return strScript;
    }

    CString ScriptAllObjects() override {
        return ScriptObjectList<Rec>(*this) + "SET QUOTED_IDENTIFIER ON\r\nSET ANSI_NULLS ON\r\nGO\r\n";
    }

    // The guarded DROP of one object; empty for kinds that are not dropped first.
    virtual CString ScriptDropHeader(const char* pszSchema, const char* pszName) = 0;
};

class CSqlViews : public CSQL_Views_Procedures_Triggers_Functions<CSQLRecViews> {
public:
    CString ScriptDropHeader(const char* pszSchema, const char* pszName) override;
};

class CSqlProcedures : public CSQL_Views_Procedures_Triggers_Functions<CSQLRecProcedures> {
public:
    CString ScriptDropHeader(const char* pszSchema, const char* pszName) override;
};

// A trigger goes with its table, so it is not dropped before being created.
class CSqlTriggers : public CSQL_Views_Procedures_Triggers_Functions<CSQLRecTriggers> {
public:
    CString ScriptDropHeader(const char* pszSchema, const char* pszName) override;
};

class CSqlFunctions : public CSQL_Views_Procedures_Triggers_Functions<CSQLRecFunctions> {
public:
    CString ScriptDropHeader(const char* pszSchema, const char* pszName) override;
};
