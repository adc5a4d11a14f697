// One category of an export run as the object loops of its generator see it, when the run is watched by
// its host or orders modules by their references. The default run has none, and its loops are unchanged.
#pragma once

#include "backend/Database.h"
#include "scripting/ScriptObserver.h"

#include <vector>

struct TScriptedObject {
    CString strSchema;
    CString strName;
    CString strText;
};

class CScriptRun {
public:
    CScriptRun(IScriptObserver* pObserver, int nCategory, bool bDependencyOrder)
        : m_pObserver(pObserver), m_nCategory(nCategory), m_bDependencyOrder(bDependencyOrder) {}

    bool ShouldStop() const { return m_pObserver && m_pObserver->ShouldStop(); }
    void ListRead(long nTotal) const;
    void ObjectScripted(const TScriptedObject& object) const;
    bool IsDependencyOrder() const { return m_bDependencyOrder; }
    // The texts joined, each object after the objects of the list that it references and in list order
    // otherwise; objects in a reference cycle keep list order and are told to the observer.
    CString JoinInDependencyOrder(const std::vector<TScriptedObject>& aObjects) const;

private:
    IScriptObserver* m_pObserver;
    int m_nCategory;
    bool m_bDependencyOrder;
};
