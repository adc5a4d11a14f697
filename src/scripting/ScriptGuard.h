// One guard for the generators' own loops: a failure is reported once and the whole text is dropped.
#pragma once

#include "scripting/SQLScript.h"

template <class TBuild> CString ScriptOrReport(TBuild build) {
    try {
        return build();
    } catch (CException* pException) {
        ReportScriptError(pException);
        pException->Delete();
    } catch (...) {
        ReportScriptError(nullptr);
    }
    return CString();
}
