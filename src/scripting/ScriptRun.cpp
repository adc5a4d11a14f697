#include "scripting/ScriptRun.h"

#include "scripting/SqlText.h"
#include "scripting/StableOrder.h"

#include <algorithm>

namespace {

// For each object, the other objects of the list that its text names outside comments and strings.
TReferences FindReferences(const std::vector<TScriptedObject>& aObjects) {
    CSqlNameIndex index;
    for (size_t i = 0; i < aObjects.size(); ++i)
        index.Add(aObjects[i].strSchema.Str(), aObjects[i].strName.Str(), i);
    TReferences aReferences(aObjects.size());
    for (size_t i = 0; i < aObjects.size(); ++i) {
        std::vector<size_t>& aUsed = aReferences[i];
        for (const TSqlName& name : FindSqlNames(aObjects[i].strText)) {
            const size_t j =
                index.Resolve(name.strSchema.Str(), name.strName.Str(), aObjects[i].strSchema.Str());
            if (j != CSqlNameIndex::NONE && j != i)
                aUsed.push_back(j);
        }
        std::sort(aUsed.begin(), aUsed.end());
        aUsed.erase(std::unique(aUsed.begin(), aUsed.end()), aUsed.end());
    }
    return aReferences;
}

} // namespace

void CScriptRun::ListRead(long nTotal) const {
    if (m_pObserver)
        m_pObserver->OnObjectListRead(m_nCategory, nTotal);
}

void CScriptRun::ObjectScripted(const TScriptedObject& object) const {
    if (m_pObserver)
        m_pObserver->OnObjectScripted(m_nCategory, object.strSchema, object.strName, object.strText);
}

CString CScriptRun::JoinInDependencyOrder(const std::vector<TScriptedObject>& aObjects) const {
    const TReferences aReferences = FindReferences(aObjects);
    CString strText;
    std::vector<size_t> aInCycles;
    for (const std::vector<size_t>& aMembers : OrderByReferences(aReferences)) {
        for (size_t i : aMembers)
            strText += aObjects[i].strText;
        if (aMembers.size() > 1)
            aInCycles.insert(aInCycles.end(), aMembers.begin(), aMembers.end());
    }
    if (aInCycles.empty() || !m_pObserver)
        return strText;
    std::sort(aInCycles.begin(), aInCycles.end());
    std::vector<CString> aNames;
    for (size_t i : aInCycles)
        aNames.push_back(aObjects[i].strSchema + "." + aObjects[i].strName);
    m_pObserver->OnReferenceCycle(m_nCategory, aNames);
    return strText;
}
