// One guard for the generators' own loops: a failure is reported once and the whole text is dropped.
#pragma once

#include "scripting/SQLScript.h"

template <class TBuild> CString ScriptOrReport(TBuild build) {
    try {
        return build();
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        ReportScriptError(e);
    } catch (...) {
        ReportScriptError(nullptr);
    }
    return CString();
}
