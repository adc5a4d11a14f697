#include "scripting/ScriptRun.h"

#include "platform/Unicode.h"
#include "scripting/SqlText.h"
#include "scripting/StableOrder.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace {

constexpr size_t NONE = static_cast<size_t>(-1);

// Names compare without regard to case: the catalog's collation is not known here, and on a case-sensitive
// database this at worst orders two objects that did not need it.
std::string NameKey(const CString& strSchema, const CString& strName) {
    return FoldCaseUtf8(strSchema.Str()) + '\0' + FoldCaseUtf8(strName.Str());
}

class CNameIndex {
public:
    explicit CNameIndex(const std::vector<TScriptedObject>& aObjects) {
        for (size_t i = 0; i < aObjects.size(); ++i)
            m_index.emplace(NameKey(aObjects[i].strSchema, aObjects[i].strName), i);
    }

    // As the server resolves a name: a qualified one in its schema, an unqualified one in the referencing
    // object's schema first, then in dbo.
    size_t Resolve(const TSqlName& name, const CString& strOwnSchema) const {
        if (!name.strSchema.IsEmpty())
            return Find(name.strSchema, name.strName);
        const size_t nOwn = Find(strOwnSchema, name.strName);
        return nOwn != NONE ? nOwn : Find("dbo", name.strName);
    }

private:
    size_t Find(const CString& strSchema, const CString& strName) const {
        const auto it = m_index.find(NameKey(strSchema, strName));
        return it == m_index.end() ? NONE : it->second;
    }

    std::unordered_map<std::string, size_t> m_index;
};

// For each object, the other objects of the list that its text names outside comments and strings.
TReferences FindReferences(const std::vector<TScriptedObject>& aObjects) {
    const CNameIndex index(aObjects);
    TReferences aReferences(aObjects.size());
    for (size_t i = 0; i < aObjects.size(); ++i) {
        std::vector<size_t>& aUsed = aReferences[i];
        for (const TSqlName& name : FindSqlNames(aObjects[i].strText)) {
            const size_t j = index.Resolve(name, aObjects[i].strSchema);
            if (j != NONE && j != i)
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
