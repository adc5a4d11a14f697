// The generator interface shared by every object kind, the category list routine and the error report.
#pragma once

#include "backend/Database.h"
#include "platform/Exceptions.h"
#include "platform/String.h"
#include "platform/Sync.h"
#include "scripting/ScriptRun.h"

#include <vector>

// The root of the generators. Keep the order of the virtual operations: it is the slot order.
class CSQLScript {
public:
    virtual ~CSQLScript() = default;
    // The script of one object; empty text for a null or empty name. Database errors pass out.
    virtual CString ScriptObject(const char* pszSchema, const char* pszName) = 0;
    // The whole category's text; failures are reported, never let out.
    virtual CString ScriptAllObjects() = 0;
    virtual CString ScriptDependents(const char* pszSchema, const char* pszName) = 0;

    // The export run's category when its host watches the run or modules go in dependency order; null
    // otherwise, and then the object loops run as they always did.
    const CScriptRun* m_pRun = nullptr;
};

// The base of every generator: only tables have dependents.
class CSQLObject : public CSQLScript {
public:
    CString ScriptDependents(const char* pszSchema, const char* pszName) override;
};

// Room reserved for a category's text, so that an ordinary category never regrows it.
constexpr int SCRIPT_LIST_RESERVE = 1048576;
// Room for the message of a failure: 255 characters and the terminator.
constexpr UINT SCRIPT_ERROR_MESSAGE_MAX = 256;

inline bool IsEmptyObjectName(const char* pszName) {
    return !pszName || !*pszName;
}

// Opens the detail row of one object; false when the catalog has no such object.
template <class Rec> bool OpenDetailRecordset(Rec& rs, const char* pszSchema, const char* pszName) {
    rs.SetDetail(true);
    rs.m_strParamName = pszName;
    rs.m_strParamSchema = pszSchema;
    rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
    return !rs.IsEOF();
}

// At most one of the module's message boxes is open at a time, across all threads.
CCriticalSection& GetScriptMessageLock();

// The exception's message (at most 255 characters) after string 28008, or string 28006 when the
// message is empty or there is no exception.
CString FormatScriptError(const CException* pException);
// Shows the text in a modal message box under the message lock.
void ShowScriptMessage(const CString& strText);
// Shows FormatScriptError's text under the message lock. The caller still owns the exception.
void ReportScriptError(const CException* pException = nullptr);

// The rows of a watched or ordered run's list. The list is read whole when opened, so that its length is
// known; the run may stop between two objects; scriptCurrent gives the current row's object.
template <class Rec, class TScriptCurrent>
CString ScriptRunList(const CScriptRun& run, Rec& rs, TScriptCurrent scriptCurrent) {
    rs.Open(CRecordset::snapshot, nullptr, CRecordset::none);
    if constexpr (requires { rs.GetRowCount(); })
        run.ListRead(rs.GetRowCount());
    std::vector<TScriptedObject> aObjects;
    CString strText;
    strText.Preallocate(SCRIPT_LIST_RESERVE);
    for (; !rs.IsEOF() && !run.ShouldStop(); rs.MoveNext()) {
        TScriptedObject object = scriptCurrent(rs);
        run.ObjectScripted(object);
        if (run.IsDependencyOrder())
            aObjects.push_back(std::move(object));
        else
            strText += object.strText;
    }
    if (run.IsDependencyOrder())
        return run.JoinInDependencyOrder(aObjects);
    return strText;
}

// Scripts every row of the list recordset Rec through the generator's ScriptObject, with the row's
// schema and name members as arguments. Any failure is reported once and empties the whole list.
template <class Rec>
CString ScriptObjectList(CSQLScript& script, CString Rec::*pSchema = &Rec::m_strSchemaName,
                         CString Rec::*pName = &Rec::m_strName) {
    try {
        Rec rs;
        if (script.m_pRun)
            return ScriptRunList(*script.m_pRun, rs, [&script, pSchema, pName](const Rec& row) {
                return TScriptedObject{row.*pSchema, row.*pName,
                                       script.ScriptObject(row.*pSchema, row.*pName)};
            });
        CString strResult;
        strResult.Preallocate(SCRIPT_LIST_RESERVE);
        rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
        while (!rs.IsEOF()) {
            strResult += script.ScriptObject(rs.*pSchema, rs.*pName);
            rs.MoveNext();
        }
        return strResult;
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        ReportScriptError(e);
    } catch (...) {
        ReportScriptError();
    }
    return CString();
}
