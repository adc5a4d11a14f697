// Stand-alone default and rule objects, re-created by a guarded EXEC of their stored definition.
#pragma once

#include "catalog/SQLRecObjects.h"
#include "scripting/SQLScript.h"

// Copies pszText into strResult without its block comments (nested) and line comments (with their
// line end). Markers count everywhere, also inside strings. A null text leaves strResult as it is.
void StripSqlComments(const char* pszText, CString& strResult);

template <class Rec> class CSQL_Defaults_Rules : public CSQLObject {
public:
    CString ScriptObject(const char* pszSchema, const char* pszName) override {
        if (IsEmptyObjectName(pszName))
            return CString();
        Rec rs;
        if (!OpenDetailRecordset(rs, pszSchema, pszName))
            return CString();
        CString strDefinition;
        StripSqlComments(rs.m_strDefinition, strDefinition);
        strDefinition.Trim();
        // With QUOTED_IDENTIFIER off the double-quoted argument is a string literal.
        CString strScript;
        strScript.Format("IF OBJECT_ID('[%s]', '%s') IS NULL \r\n\tEXEC(\"%s\")\r\nGO\r\n\r\n", pszName,
                         rs.GetObjectTypeCode(), strDefinition);
        rs.Close();
        return strScript;
    }

    CString ScriptAllObjects() override {
        return CString("SET QUOTED_IDENTIFIER OFF \r\nGO \r\n\r\n") + ScriptObjectList<Rec>(*this);
    }
};

// The Defaults category, which also turns QUOTED_IDENTIFIER back on.
class CSQLDefaults : public CSQL_Defaults_Rules<CSQLRecDefaults> {
public:
    CString ScriptAllObjects() override;
};

typedef CSQL_Defaults_Rules<CSQLRecRules> CSQLRules;
