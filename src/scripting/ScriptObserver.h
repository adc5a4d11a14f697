// What an export run tells the program that hosts it while it works, and how that program stops it.
#pragma once

#include "../platform/String.h"

#include <vector>

// Set on CScriptUnloader by its host; a run without one works exactly as it always did. The workers of the
// parallel run call it from their threads, up to three at once, so an implementation guards its own state.
class IScriptObserver {
public:
    virtual ~IScriptObserver() = default;

    // Asked before every category and every object: true ends the run there. The category being scripted
    // is then not written; the files already written stay.
    virtual bool ShouldStop() { return false; }
    // The category's generator starts.
    virtual void OnCategoryStarted(int /*nCategory*/) {}
    // The category's list has been read: nTotal objects follow. Full text has no list.
    virtual void OnObjectListRead(int /*nCategory*/, long /*nTotal*/) {}
    // One object's text, exactly as it stands in the category's text (without the batches the category puts
    // around its objects), in the catalog's order. Indexes are named "<table>.<index>".
    virtual void OnObjectScripted(int /*nCategory*/, const char* /*pszSchema*/, const char* /*pszName*/,
                                  const CString& /*strText*/) {}
    // With m_bDependencyOrder: modules of the category that reference each other in a cycle, named
    // "<schema>.<name>", in name order, which they keep.
    virtual void OnReferenceCycle(int /*nCategory*/, const std::vector<CString>& /*aNames*/) {}
    // The category is done: its file is written or, with m_bNoCategoryFiles, its text is complete.
    virtual void OnCategoryFinished(int /*nCategory*/, const CString& /*strText*/) {}
};
