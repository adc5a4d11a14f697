#include "scripting/ModuleObjects.h"

namespace {

const char* OnOff(long nFlag) {
    return nFlag ? "ON" : "OFF";
}

CString FormatDropHeader(const char* pszTemplate, const char* pszSchema, const char* pszName) {
    CString strHeader;
    strHeader.Format(pszTemplate, pszSchema, pszName, pszSchema, pszName);
    return strHeader;
}

} // namespace

CString GetSetOptionsHeader(const CSQLRecModuleObjects& rs) {
    CString strHeader;
    strHeader.Format("SET QUOTED_IDENTIFIER %s\r\nSET ANSI_NULLS %s\r\nGO \r\n\r\n",
                     OnOff(rs.m_nUsesQuotedIdentifier), OnOff(rs.m_nUsesAnsiNulls));
    return strHeader;
}

CString CSqlViews::ScriptDropHeader(const char* pszSchema, const char* pszName) {
    return FormatDropHeader("IF OBJECT_ID( '[%s].[%s]', 'V') IS NOT NULL \r\nDROP VIEW [%s].[%s] \r\nGO\r\n",
                            pszSchema, pszName);
}

CString CSqlProcedures::ScriptDropHeader(const char* pszSchema, const char* pszName) {
    return FormatDropHeader(
        "IF OBJECT_ID( '[%s].[%s]', 'P') IS NOT NULL \r\nDROP PROCEDURE [%s].[%s] \r\nGO\r\n", pszSchema,
        pszName);
}

CString CSqlTriggers::ScriptDropHeader(const char* /*pszSchema*/, const char* /*pszName*/) {
    return CString();
}

CString CSqlFunctions::ScriptDropHeader(const char* pszSchema, const char* pszName) {
    return FormatDropHeader(
        "IF OBJECT_ID( '[%s].[%s]', 'FN') IS NOT NULL \r\nDROP FUNCTION [%s].[%s] \r\nGO\r\n", pszSchema,
        pszName);
}
